#pragma once
// A check of every site at once: for every role of sites.ini its base
// address, and one light request of a source of that role — a listing's
// first page, else a search for the source's check word — answered or not,
// with its rows, milliseconds and reason. All roles are asked together, and
// after them every site a definition file added, under its own name.
#include "sources/engine/source_engine.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumorra {

struct SourceEntry;

struct SiteCheckLine {
    enum class State {
        Checking,
        Answered,    // rows came
        Empty,       // the page came without rows
        Failed,
        NotChecked,  // no source of its own, no address, or the agreement not accepted
    };
    QString role;                        // or the name of a site a definition file added
    QString base;                        // sites.ini's address (an added site's own); empty when unset
    const SourceEntry* source = nullptr; // the source that asks it
    State state = State::Checking;
    int rows = 0;
    qint64 ms = 0;
    QString reason;

    // Checked: a request was made.
    bool checked() const { return state != State::NotChecked; }
};

// "checking", "ok", "empty", "failed", "skipped"
QString siteCheckStateName(SiteCheckLine::State state);
// "检查中", "正常", "无结果", "失败", "未检查"
QString siteCheckStateText(SiteCheckLine::State state);

// The source that checks `role`: its first listing, else its first search.
const SourceEntry* checkingSource(const QString& role);
// The request that checks with `source`: the first page, one service.
SourceRequest checkRequest(const SourceEntry& source);

class SiteCheck : public QObject {
    Q_OBJECT
public:
    explicit SiteCheck(QObject* parent = nullptr);
    ~SiteCheck() override;

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    // Checks every role; the online-video sites only when `agreementAccepted`.
    void start(bool agreementAccepted);
    bool isRunning() const { return m_running; }
    const QList<SiteCheckLine>& lines() const { return m_lines; }
    // Every checked site answered with rows (and at least one was checked).
    bool allAnswered() const;

signals:
    void started();
    void lineChanged(int index);
    void finished();

private:
    void ended(int index, const SourceOutcome& outcome);
    void timedOut();
    void stop();
    void endIfDone();

    QList<SiteCheckLine> m_lines;
    QList<SourceEngine*> m_engines;
    QTimer m_timeout;
    QElapsedTimer m_clock;
    int m_timeoutMs = 60000;
    bool m_running = false;
};

} // namespace lumorra

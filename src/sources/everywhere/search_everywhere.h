#pragma once
// One keyword on every keyword source at once. Each source's own engine
// runs its own requests, all together and without the window's pacing; rows
// are merged into one list as they arrive, and every source has a line of
// its own: searching, rows, none or failed, with its rows, time and reason.
// A source that fails or stalls is named; the others' rows still come.
//
//     search->start(keyword, SearchEverywhere::keywordSources(agreed));
//     connect(search, &SearchEverywhere::rowsAdded, view, …);    // appended
//     connect(search, &SearchEverywhere::rowsChanged, view, …);  // merged into
//     connect(search, &SearchEverywhere::sourceChanged, …);       // a source's line
//     connect(search, &SearchEverywhere::finished, …);            // once per start
//
// A start while a search runs supersedes it: nothing of the old one arrives
// after the new one's started().
#include "sources/engine/source_engine.h"
#include "sources/everywhere/merged_results.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lumorra {

struct SourceEntry;

struct SourceRun {
    enum class State { Searching, Rows, None, Failed };
    const SourceEntry* source = nullptr;
    State state = State::Searching;
    int rows = 0;          // rows the source gave (before merging)
    qint64 ms = 0;         // from the start to its end (so far, while searching)
    QString reason;        // failed: why; none: the site's not-found text, if any
    QStringList problems;  // parts that failed while it went on
};

// "searching", "rows", "none", "failed": the command line's and JSON's words.
QString sourceRunStateName(SourceRun::State state);
// The window's words: "搜索中", "有结果", "无结果", "失败".
QString sourceRunStateText(SourceRun::State state);

class SearchEverywhere : public QObject {
    Q_OBJECT
public:
    explicit SearchEverywhere(QObject* parent = nullptr);
    ~SearchEverywhere() override;

    // Every keyword source of the table, in table order; the online-video
    // ones only when the usage agreement is accepted.
    static QList<const SourceEntry*> keywordSources(bool agreementAccepted);
    // The text shown when there is nothing to search for; empty when
    // `keyword` can be searched.
    static QString refusalOf(const QString& keyword);

    // A source still running this long after the start is ended as failed.
    static constexpr int kDefaultTimeoutMs = 90000;
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

    void start(const QString& keyword, const QList<const SourceEntry*>& sources);
    // Ends every running source as cancelled; finished() follows.
    void cancel();

    // Rows `source` gave, merged and announced as the engines' rows are
    // (its line counts them when it is one of the search's sources).
    void takeRows(const SourceEntry& source, const QList<ListRow>& rows);

    bool isRunning() const { return m_running; }
    QString keyword() const { return m_keyword; }
    const MergedResults& results() const { return m_results; }
    const QList<SourceRun>& sourceRuns() const { return m_runs; }
    // Sources that ended with rows, none, failed.
    int countIn(SourceRun::State state) const;

signals:
    void started();                              // results and lines are new
    void rowsAdded(int first, int count);
    // Merged rows that changed: a source, a size, a date, a link; their
    // names too when `namesChanged`.
    void rowsChanged(const QList<int>& rows, bool namesChanged);
    void sourceChanged(int index);               // a line of sourceRuns()
    void finished();

private:
    struct Running;
    void sourceEnded(int index, const SourceOutcome& outcome);
    void timedOut();
    void stopEngines();
    void endIfDone();

    QString m_keyword;
    MergedResults m_results;
    QList<SourceRun> m_runs;
    QList<SourceEngine*> m_engines;   // by line; null once ended
    QTimer m_timeout;
    int m_timeoutMs = kDefaultTimeoutMs;
    QElapsedTimer m_clock;
    bool m_running = false;
};

} // namespace lumorra

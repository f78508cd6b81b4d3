#pragma once
// The flow of one source — a keyword search, a listing or a resolver — as an
// object that knows nothing of widgets. The window's pages, the command line
// and everything built on them start the same engine and listen to it:
//
//     engine->start(request);
//     connect(engine, &SourceEngine::rows, list, …);      // appended, in order
//     connect(engine, &SourceEngine::status, …);          // the status line's texts
//     connect(engine, &SourceEngine::finished, …);        // exactly once per start
//
// A start while a run is under way supersedes it: the old run ends with
// Superseded before the new one begins, and nothing of it arrives after.
#include "core/list_row.h"

#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

namespace lumorra {

struct FetchResult;
struct SiteDefinition;

// What a run is asked for. Each engine reads the fields its source needs.
struct SourceRequest {
    QString keyword;                    // as typed; the engine encodes it for its site
    QString page = QStringLiteral("1"); // the page box's text (or a board number)
    QString address;                    // a resolver's detail page
    QList<int> services;                // the cloud-disk boxes ticked, in box order
    int variant = 0;                    // the table row's own number (a category)
};

struct SourceOutcome {
    enum class Kind { Rows, NoRows, Failed, Superseded, Cancelled };
    Kind kind = Kind::NoRows;
    QString reason;      // Failed: what the status line says; NoRows: the not-found text, if any
    int httpStatus = 0;  // of the page that failed, when one came
    QString address;     // the page that failed, when one did
    int rowCount = 0;    // rows emitted by this run
    qint64 elapsedMs = 0;

    bool hasRows() const { return kind == Kind::Rows; }
    bool failed() const { return kind == Kind::Failed; }
    // Rows or none: the run came to its own end.
    bool completed() const { return kind == Kind::Rows || kind == Kind::NoRows; }
};

QString outcomeKindName(SourceOutcome::Kind kind); // "rows", "none", "failed", …

// The one wording of a page that did not come, for every source's status
// line, built from the fetcher's reason: "资源获取失败(网络请求超时)" …
QString failedPageText(const FetchResult& result);

class SourceEngine : public QObject {
    Q_OBJECT
public:
    explicit SourceEngine(QObject* parent = nullptr);
    ~SourceEngine() override;

    void start(const SourceRequest& request);
    // Why `request` cannot start (a keyword missing …), in the status
    // line's words; empty when it can. start() on such a request says it
    // and ends the run as Failed at once; a page checks first and leaves
    // its list and button alone.
    virtual QString refusalOf(const SourceRequest& request) const;
    // Ends the running run with Cancelled; nothing of it arrives after.
    void cancel();

    bool isRunning() const { return m_running; }
    const SourceRequest& request() const { return m_request; }
    // Rows emitted by the running (or the last) run.
    int rowCount() const { return m_rowCount; }

    // The site definition it reads pages by: its own site's by default, a
    // table row's (a site added by a definition file) when that sets one.
    void setSite(const QString& name) { m_site = name; }
    QString site() const { return m_site; }
    const SiteDefinition& definition() const;
    // The base address of that site (sites.ini, or the definition's own).
    QString siteBase() const;

signals:
    void status(const QString& text);
    void rows(const QList<lumorra::ListRow>& rows);
    void progress(int done, int total);
    // A part of the work failed and the run goes on without it (a service
    // that did not answer, a result page skipped): named for the command
    // line's stderr and the per-source status.
    void problem(const QString& text);
    void finished(const lumorra::SourceOutcome& outcome);

protected:
    // The run's first step; may end the run at once (a keyword missing).
    virtual void begin(const SourceRequest& request) = 0;
    // Drops whatever the run has pending (fetches, armed steps): the run is
    // being superseded or cancelled. After it nothing of the run may emit.
    virtual void halt() = 0;

    void say(const QString& text) { emit status(text); }
    void addRows(const QList<ListRow>& newRows);
    void report(int done, int total) { emit progress(done, total); }
    void warn(const QString& text) { emit problem(text); }

    // Endings. Each ends the run once; a second call does nothing.
    void finishRows();                                // Rows, or NoRows when none came
    void finishNone(const QString& reason = QString());
    void fail(const QString& reason, int httpStatus = 0, const QString& address = QString());
    // A page that did not come: says failedPageText() (or `text` when the
    // source words it itself) and fails with the fetcher's reason.
    void failPage(const FetchResult& result, const QString& text = QString());

    // Counts starts, for steps that run later and must still be this run's.
    quint64 runNumber() const { return m_run; }

private:
    void end(SourceOutcome::Kind kind, const QString& reason, int httpStatus, const QString& address = QString());

    SourceRequest m_request;
    QString m_site;
    QElapsedTimer m_clock;
    quint64 m_run = 0;
    int m_rowCount = 0;
    bool m_running = false;
};

} // namespace lumorra

Q_DECLARE_METATYPE(lumorra::SourceOutcome)

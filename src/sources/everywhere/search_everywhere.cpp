#include "sources/everywhere/search_everywhere.h"

#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/source_table.h"

namespace lumorra {

QString sourceRunStateName(SourceRun::State state)
{
    switch (state) {
    case SourceRun::State::Searching: return QStringLiteral("searching");
    case SourceRun::State::Rows: return QStringLiteral("rows");
    case SourceRun::State::None: return QStringLiteral("none");
    case SourceRun::State::Failed: return QStringLiteral("failed");
    }
    return {};
}

QString sourceRunStateText(SourceRun::State state)
{
    switch (state) {
    case SourceRun::State::Searching: return QStringLiteral("搜索中");
    case SourceRun::State::Rows: return QStringLiteral("有结果");
    case SourceRun::State::None: return QStringLiteral("无结果");
    case SourceRun::State::Failed: return QStringLiteral("失败");
    }
    return {};
}

SearchEverywhere::SearchEverywhere(QObject* parent) : QObject(parent)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &SearchEverywhere::timedOut);
}

SearchEverywhere::~SearchEverywhere()
{
    // Engines are children; they must not report into a half-destroyed search.
    for (SourceEngine* engine : std::as_const(m_engines))
        if (engine)
            engine->disconnect(this);
}

QList<const SourceEntry*> SearchEverywhere::keywordSources(bool agreementAccepted)
{
    QList<const SourceEntry*> out;
    for (const SourceEntry& s : sourceTable())
        if (s.verb == SourceVerb::Search && s.create && (agreementAccepted || !s.has(NeedsAgreement)))
            out << &s;
    return out;
}

QString SearchEverywhere::refusalOf(const QString& keyword)
{
    return keyword.trimmed().isEmpty() ? QStringLiteral("请输入要搜索的关键字") : QString();
}

int SearchEverywhere::countIn(SourceRun::State state) const
{
    return int(std::count_if(m_runs.begin(), m_runs.end(), [state](const SourceRun& r) { return r.state == state; }));
}

void SearchEverywhere::start(const QString& keyword, const QList<const SourceEntry*>& sources)
{
    stopEngines();
    m_keyword = keyword;
    m_results.clear();
    m_runs.clear();
    m_running = true;
    m_clock.start();
    for (const SourceEntry* source : sources) {
        SourceRun run;
        run.source = source;
        m_runs << run;
    }
    emit started();
    if (const QString refusal = refusalOf(keyword); !refusal.isEmpty() || sources.isEmpty()) {
        for (int i = 0; i < m_runs.size(); ++i) {
            m_runs[i].state = SourceRun::State::Failed;
            m_runs[i].reason = refusal;
            emit sourceChanged(i);
        }
        m_running = false;
        emit finished();
        return;
    }

    SourceRequest request;
    request.keyword = keyword;
    for (int i = 0; i < clouddisk::kServiceCount; ++i)
        request.services << i;
    // Engines are made first and started after, so a source that ends at
    // once (a keyword its site refuses) finds every line in place.
    for (int i = 0; i < m_runs.size(); ++i) {
        const SourceEntry& source = *m_runs[i].source;
        SourceEngine* engine = source.createEngine(Pacing::immediate(), this);
        m_engines << engine;
        connect(engine, &SourceEngine::rows, this,
                [this, &source](const QList<ListRow>& rows) { takeRows(source, rows); });
        connect(engine, &SourceEngine::problem, this, [this, i](const QString& text) {
            m_runs[i].problems << text;
            m_runs[i].ms = m_clock.elapsed();
            emit sourceChanged(i);
        });
        connect(engine, &SourceEngine::finished, this,
                [this, i](const SourceOutcome& outcome) { sourceEnded(i, outcome); });
    }
    m_timeout.start(m_timeoutMs);
    for (int i = 0; i < m_engines.size() && m_running; ++i) {
        SourceRequest r = request;
        r.variant = m_runs[i].source->variant;
        if (SourceEngine* engine = m_engines[i])
            engine->start(r);
    }
}

void SearchEverywhere::takeRows(const SourceEntry& source, const QList<ListRow>& rows)
{
    const MergedResults::Change change = m_results.add(source, rows);
    if (!change.changed.isEmpty())
        emit rowsChanged(change.changed, change.namesChanged);
    if (change.newCount > 0)
        emit rowsAdded(change.firstNew, change.newCount);
    for (int i = 0; i < m_runs.size(); ++i) {
        if (m_runs[i].source != &source || m_runs[i].state != SourceRun::State::Searching)
            continue;
        m_runs[i].rows += int(rows.size());
        m_runs[i].ms = m_clock.elapsed();
        emit sourceChanged(i);
    }
}

void SearchEverywhere::sourceEnded(int index, const SourceOutcome& outcome)
{
    SourceRun& run = m_runs[index];
    run.ms = outcome.elapsedMs;
    switch (outcome.kind) {
    case SourceOutcome::Kind::Rows: run.state = SourceRun::State::Rows; break;
    case SourceOutcome::Kind::NoRows:
        run.state = SourceRun::State::None;
        run.reason = outcome.reason;
        break;
    case SourceOutcome::Kind::Failed:
        run.state = SourceRun::State::Failed;
        run.reason = outcome.reason;
        if (!outcome.address.isEmpty())
            run.reason += QStringLiteral(" (") + outcome.address + u')';
        break;
    case SourceOutcome::Kind::Superseded:
    case SourceOutcome::Kind::Cancelled:
        // Ended from here (superseded, cancelled, timed out): the line is
        // already written.
        return;
    }
    if (SourceEngine* engine = m_engines.value(index)) {
        m_engines[index] = nullptr;
        engine->deleteLater();
    }
    emit sourceChanged(index);
    endIfDone();
}

void SearchEverywhere::timedOut()
{
    const QString reason = QStringLiteral("超时：%1 秒内没有完成").arg((m_timeoutMs + 999) / 1000);
    for (int i = 0; i < m_runs.size(); ++i) {
        if (m_runs[i].state != SourceRun::State::Searching)
            continue;
        m_runs[i].state = SourceRun::State::Failed;
        m_runs[i].reason = reason;
        m_runs[i].ms = m_clock.elapsed();
        if (SourceEngine* engine = m_engines.value(i)) {
            m_engines[i] = nullptr;
            engine->disconnect(this);
            engine->cancel();
            engine->deleteLater();
        }
        emit sourceChanged(i);
    }
    endIfDone();
}

void SearchEverywhere::cancel()
{
    if (!m_running)
        return;
    const qint64 now = m_clock.elapsed();
    stopEngines();
    for (int i = 0; i < m_runs.size(); ++i) {
        if (m_runs[i].state != SourceRun::State::Searching)
            continue;
        m_runs[i].state = SourceRun::State::Failed;
        m_runs[i].reason = QStringLiteral("已取消");
        m_runs[i].ms = now;
        emit sourceChanged(i);
    }
    m_running = false;
    emit finished();
}

void SearchEverywhere::stopEngines()
{
    m_timeout.stop();
    for (SourceEngine* engine : std::as_const(m_engines)) {
        if (!engine)
            continue;
        // Nothing of a superseded search may arrive, not even its ending.
        engine->disconnect(this);
        engine->cancel();
        engine->deleteLater();
    }
    m_engines.clear();
}

void SearchEverywhere::endIfDone()
{
    if (!m_running || countIn(SourceRun::State::Searching) > 0)
        return;
    m_timeout.stop();
    m_running = false;
    emit finished();
}

} // namespace lumorra

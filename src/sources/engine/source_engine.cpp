#include "sources/engine/source_engine.h"

#include "net/page_fetcher.h"
#include "sources/definitions/site_definitions.h"

namespace lumorra {

QString outcomeKindName(SourceOutcome::Kind kind)
{
    switch (kind) {
    case SourceOutcome::Kind::Rows: return QStringLiteral("rows");
    case SourceOutcome::Kind::NoRows: return QStringLiteral("none");
    case SourceOutcome::Kind::Failed: return QStringLiteral("failed");
    case SourceOutcome::Kind::Superseded: return QStringLiteral("superseded");
    case SourceOutcome::Kind::Cancelled: return QStringLiteral("cancelled");
    }
    return {};
}

QString failedPageText(const FetchResult& result)
{
    QString reason = pageFailureText(result);
    if (reason.isEmpty()) // a page came, but not one the source can read
        reason = QStringLiteral("未获取到页面内容");
    return QStringLiteral("资源获取失败(") + reason + QStringLiteral("),请稍后再试..");
}

SourceEngine::SourceEngine(QObject* parent) : QObject(parent)
{
    static const int registered = [] {
        qRegisterMetaType<SourceOutcome>();
        qRegisterMetaType<QList<ListRow>>();
        return 0;
    }();
    Q_UNUSED(registered);
}

SourceEngine::~SourceEngine() = default;

const SiteDefinition& SourceEngine::definition() const
{
    return SiteDefinitions::current().of(m_site);
}

QString SourceEngine::siteBase() const
{
    return SiteDefinitions::baseOf(definition());
}

void SourceEngine::start(const SourceRequest& request)
{
    if (m_running) {
        halt();
        end(SourceOutcome::Kind::Superseded, QString(), 0);
    }
    ++m_run;
    m_request = request;
    m_rowCount = 0;
    m_running = true;
    m_clock.start();
    if (const QString refusal = refusalOf(m_request); !refusal.isEmpty()) {
        say(refusal);
        fail(refusal);
        return;
    }
    begin(m_request);
}

QString SourceEngine::refusalOf(const SourceRequest&) const
{
    return {};
}

void SourceEngine::cancel()
{
    if (!m_running)
        return;
    halt();
    end(SourceOutcome::Kind::Cancelled, QString(), 0);
}

void SourceEngine::addRows(const QList<ListRow>& newRows)
{
    if (!m_running)
        return;
    m_rowCount += int(newRows.size());
    emit rows(newRows);
}

void SourceEngine::finishRows()
{
    end(m_rowCount > 0 ? SourceOutcome::Kind::Rows : SourceOutcome::Kind::NoRows, QString(), 0);
}

void SourceEngine::finishNone(const QString& reason)
{
    end(m_rowCount > 0 ? SourceOutcome::Kind::Rows : SourceOutcome::Kind::NoRows, reason, 0);
}

void SourceEngine::fail(const QString& reason, int httpStatus, const QString& address)
{
    end(SourceOutcome::Kind::Failed, reason, httpStatus, address);
}

void SourceEngine::failPage(const FetchResult& result, const QString& text)
{
    const QString shown = text.isEmpty() ? failedPageText(result) : text;
    say(shown);
    fail(shown, result.status, result.url);
}

void SourceEngine::end(SourceOutcome::Kind kind, const QString& reason, int httpStatus, const QString& address)
{
    if (!m_running)
        return;
    m_running = false;
    SourceOutcome outcome;
    outcome.kind = kind;
    outcome.reason = reason;
    outcome.httpStatus = httpStatus;
    outcome.address = address;
    outcome.rowCount = m_rowCount;
    outcome.elapsedMs = m_clock.isValid() ? m_clock.elapsed() : 0;
    emit finished(outcome);
}

} // namespace lumorra

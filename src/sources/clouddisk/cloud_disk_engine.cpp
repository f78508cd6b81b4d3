#include "sources/clouddisk/cloud_disk_engine.h"

#include "net/url_encoding.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/definitions/site_definition.h"
#include "text/memory_release.h"

#include <utility>

namespace lumorra {

namespace {

QList<int> validServices(const QList<int>& services)
{
    QList<int> out;
    for (int s : services)
        if (s >= 0 && s < clouddisk::kServiceCount && !out.contains(s))
            out << s;
    return out;
}

} // namespace

CloudDiskEngine::CloudDiskEngine(const Pacing& pacing, QObject* parent)
    : SourceEngine(parent),
      m_cutStep(new PacedStep(pacing, QStringLiteral("Timer17"), 100, this, [this] { cutTick(); })),
      m_notFoundStep(new PacedStep(pacing, QStringLiteral("Timer18"), 1000, this, [this] { notFoundTick(); }))
{
    setSite(QStringLiteral("clouddisk"));
    // The memory release switches every window timer off; left so, a search
    // whose last page is already in would never list it nor end.
    m_releaseHook = addReleaseHook([this] {
        if (!isRunning())
            return;
        if (!m_waiting.isEmpty())
            m_cutStep->arm();
        m_notFoundStep->arm();
    });
}

CloudDiskEngine::~CloudDiskEngine()
{
    removeReleaseHook(m_releaseHook);
}

QString CloudDiskEngine::refusalOf(const SourceRequest& request) const
{
    return clouddisk::inputProblem(request.keyword, !validServices(request.services).isEmpty());
}

void CloudDiskEngine::begin(const SourceRequest& request)
{
    say(clouddisk::searchingText(request.keyword));
    m_answered = 0;
    m_failed = 0;
    m_failure.clear();
    m_failureStatus = 0;
    m_waiting.clear();
    m_services = validServices(request.services);
    m_outcomes.clear();

    const QString base = siteBase();
    // The structure-safe encoder: "C#" or "a&b" stays one keyword.
    const QString keyword = encodeKeyword(request.keyword);
    QStringList urls;
    for (int service : std::as_const(m_services)) {
        clouddisk::ServiceOutcome pending;
        pending.service = service;
        m_outcomes << pending;
        const QString host = clouddisk::serviceHost(definition(), service);
        urls << clouddisk::searchUrl(definition(), base, host, keyword, request.page);
    }
    report(0, int(m_services.size()));
    // A page that is in before its turn would be held whole while a slower
    // service before it answers: it is cut at once and only its rows wait.
    m_requests.startCutting<Reply>(
        urls, fetchModeOf(definition()), this,
        [this, services = m_services](int i, const FetchResult& r) {
            return Reply{clouddisk::cutServiceAnswer(definition(), services.value(i, -1), r), r.status};
        },
        [this](int i, Reply reply) { take(i, std::move(reply)); }, [this] { finishIfDone(); });
}

void CloudDiskEngine::halt()
{
    m_requests.cancel();
    m_waiting.clear();
    m_cutStep->disarm();
    m_notFoundStep->disarm();
}

void CloudDiskEngine::take(int order, Reply reply)
{
    const int service = m_services.value(order, -1);
    clouddisk::ServiceAnswer& answer = reply.answer;
    if (order >= 0 && order < m_outcomes.size())
        m_outcomes[order] = answer.outcome;
    if (!answer.outcome.failure.isEmpty()) {
        // One unreachable service does not end the search; an error page or
        // an empty answer is no result page either, whatever it holds.
        ++m_failed;
        m_failure = answer.outcome.failure;
        m_failureStatus = reply.httpStatus;
        warn(clouddisk::serviceStatusLine(answer.outcome));
    } else {
        ++m_answered;
        m_serviceName = clouddisk::serviceCaption(service);
        if (!answer.rows.isEmpty()) {
            m_waiting.append(std::move(answer.rows));
            m_cutStep->arm();
        }
        m_notFoundStep->arm();
    }
    report(order + 1, int(m_services.size()));
    emit serviceTaken(service);
}

void CloudDiskEngine::cutTick()
{
    m_cutStep->disarm();
    if (m_waiting.isEmpty())
        return;
    // Every page that came since the last tick, in box order: none is lost,
    // however fast the pages arrive.
    QList<ListRow> rows;
    for (const QList<clouddisk::CloudDiskRow>& page : std::exchange(m_waiting, {})) {
        for (const clouddisk::CloudDiskRow& row : page) {
            rows << clouddisk::listRow(row);
            m_diskKind = row.kind;
        }
    }
    addRows(rows);
    say(clouddisk::finishedText(m_diskKind));
    finishIfDone();
}

void CloudDiskEngine::notFoundTick()
{
    // Looked at before the last service is in, the check waits for it: the
    // end of the batch arms it again.
    m_notFoundStep->disarm();
    if (allHandled())
        conclude();
}

void CloudDiskEngine::finishIfDone()
{
    if (!isRunning() || !allHandled())
        return;
    if (rowCount() > 0 || m_answered == 0)
        conclude();
    else
        m_notFoundStep->arm();   // answered, without a record: the check reports it
}

void CloudDiskEngine::conclude()
{
    if (!isRunning())
        return;
    m_cutStep->disarm();
    m_notFoundStep->disarm();
    if (rowCount() > 0) {
        finishRows();   // the last cut has said its text
        return;
    }
    if (m_answered == 0) {
        const QString text = clouddisk::allFailedText(m_failure.isEmpty() ? fetchErrorText(FetchError::Refused)
                                                                           : m_failure);
        say(text);
        fail(text, m_failureStatus);
        return;
    }
    const QString none = clouddisk::notFoundText(m_serviceName);
    say(none);
    if (m_failed > 0)
        fail(QStringLiteral("no rows, and %1 of the services did not answer").arg(m_failed));
    else
        finishNone(none);
}

} // namespace lumorra

#include "engine_run.h"

#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "test_server.h"

#include <QCoreApplication>
#include <QSignalSpy>

namespace lumorra::testing {

QStringList EngineRun::column(const QString& key) const
{
    QStringList out;
    for (const ListRow& row : rows)
        out << row.cell(key);
    return out;
}

EngineRun runEngine(SourceEngine& engine, const SourceRequest& request, int timeoutMs)
{
    EngineRun run;
    QObject context;
    QObject::connect(&engine, &SourceEngine::rows, &context, [&run](const QList<ListRow>& rows) { run.rows += rows; });
    QObject::connect(&engine, &SourceEngine::status, &context, [&run](const QString& t) { run.statuses << t; });
    QObject::connect(&engine, &SourceEngine::problem, &context, [&run](const QString& t) { run.problems << t; });
    QObject::connect(&engine, &SourceEngine::progress, &context, [&run](int, int) { ++run.progressSignals; });
    QObject::connect(&engine, &SourceEngine::finished, &context,
                     [&run](const SourceOutcome& o) { run.outcomes << o; });
    QSignalSpy finished(&engine, &SourceEngine::finished);
    engine.start(request);
    if (finished.isEmpty())
        finished.wait(timeoutMs);
    // Anything the run still had queued would show now.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return run;
}

std::unique_ptr<SourceEngine> tableEngine(SourceVerb verb, const QString& id, const Pacing& pacing)
{
    const SourceEntry* entry = findSourceEntry(verb, id);
    return std::unique_ptr<SourceEngine>(entry ? entry->createEngine(pacing, nullptr) : nullptr);
}

void useTestSites(int fetchTimeoutMs)
{
    TestServer& server = TestServer::shared();
    SiteConfig::current().pointAllAt(server.baseUrl());
    server.sites().clearProgram();
    PageFetcher::instance().setTimeoutMs(fetchTimeoutMs);
}

} // namespace lumorra::testing

#include "cli/cli_sites.h"

#include "cli/cli_sources.h"
#include "cli/console_run.h"
#include "cli/saved_page_server.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "sources/definitions/site_definitions.h"
#include "sources/source_table.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace lumorra::cli {

namespace {

void printProblems(const QList<DefinitionProblem>& problems, const QString& consequence)
{
    for (const DefinitionProblem& p : problems)
        writeText(stderr,
            QStringLiteral("lumorra-cli: site definition %1%2\n").arg(stderrText(p.text()), consequence));
}

QStringList sourcesOf(const QString& site)
{
    QStringList ids;
    for (const SourceEntry& e : sourceTable())
        if (e.site == site)
            ids << sourceVerbName(e.verb) + u' ' + e.id;
    return ids;
}

// The first source of the table that reads `site`: its search, else its
// first listing.
const Source* sourceOfSite(const QString& site)
{
    for (const SourceEntry& e : sourceTable())
        if (e.site == site && e.verb != SourceVerb::Resolve)
            if (const Source* s = findSource(e.verb == SourceVerb::Search ? Verb::Search : Verb::List, e.id))
                return s;
    return nullptr;
}

} // namespace

int runSiteList(OutputFormat format)
{
    const SiteDefinitions& defs = SiteDefinitions::current();
    const QStringList keys{QStringLiteral("site"), QStringLiteral("scheme"), QStringLiteral("role"),
        QStringLiteral("base"), QStringLiteral("origin"), QStringLiteral("sources")};
    QList<ListRow> rows;
    for (const SiteDefinitionPtr& d : defs.all()) {
        ListRow r(d->name);
        r.set(QStringLiteral("site"), d->name)
            .set(QStringLiteral("scheme"), d->scheme)
            .set(QStringLiteral("role"), d->role)
            .set(QStringLiteral("base"), SiteDefinitions::baseOf(*d))
            .set(QStringLiteral("origin"), d->origin)
            .set(QStringLiteral("sources"), sourcesOf(d->name).join(QStringLiteral(", ")));
        rows << r;
    }
    writeText(stdout, formatRows(keys, rows, format));
    printProblems(defs.problems(), QStringLiteral(" (not used)"));
    return defs.problems().isEmpty() ? kExitRows : kExitFetchFailed;
}

int runSiteTest(const SiteTestOptions& options)
{
    SiteDefinitions& defs = SiteDefinitions::current();
    const DefinitionRead read = defs.readUserFile(options.file);
    if (!read.ok()) {
        printProblems(read.problems, QString());
        return kExitFetchFailed;
    }
    QByteArray page;
    if (!options.page.isEmpty()) {
        QFile f(options.page);
        if (!f.open(QIODevice::ReadOnly)) {
            writeText(stderr, QStringLiteral("lumorra-cli: site test: cannot read %1\n").arg(options.page));
            return kExitFetchFailed;
        }
        page = f.readAll();
    }
    const SiteDefinition& tried = *read.definition;
    const QString realBase = SiteDefinitions::baseOf(tried);
    // Ask the loopback server instead of the site: the definition keeps
    // every other part, and no role of sites.ini points anywhere else.
    auto local = std::make_shared<SiteDefinition>(tried);
    SavedPageServer server(page, !options.page.isEmpty());
    if (!server.listen()) {
        writeText(stderr, QStringLiteral("lumorra-cli: site test: cannot listen on 127.0.0.1\n"));
        return kExitFetchFailed;
    }
    local->base = server.base();
    defs.put(local);
    for (const QString& role : SiteConfig::roles())
        SiteConfig::current().setBase(role, server.base());

    const Source* source = sourceOfSite(tried.name);
    if (!source) {
        writeText(
            stderr, QStringLiteral("lumorra-cli: site test: no source reads the site %1\n").arg(tried.name));
        return kExitFetchFailed;
    }
    Request request;
    request.variant = source->variant;
    request.keyword = options.keyword;
    if (request.keyword.isEmpty() && source->entry)
        request.keyword = source->entry->checkWord;
    if (source->options & Services)
        for (int i = 0; i < 24; ++i)
            request.services << i;

    QStringList asked;
    const QString shownBase = realBase.isEmpty() ? QStringLiteral("{base}") : realBase;
    QObject::connect(&server, &SavedPageServer::asked, &server, [&](const QString& target) {
        asked << shownBase + target;
        if (!options.page.isEmpty())
            writeText(
                stderr, QStringLiteral("lumorra-cli: site test: asked %1\n").arg(stderrText(asked.last())));
    });

    // The rows are printed here, with the site's own base in their
    // addresses; without a page only the addresses are wanted, and the run's
    // failure on the missing page goes nowhere.
    std::FILE* sink = std::fopen("/dev/null", "w");
    const QString command = verbName(source->verb) + u' ' + source->name;
    ConsoleRun run(
        command, columnsOf(*source), options.format, false, sink, options.page.isEmpty() ? sink : stderr);
    writeText(stderr,
        QStringLiteral("lumorra-cli: site test: %1 (%2) by %3\n")
            .arg(command, tried.scheme, stderrText(options.file)));
    QTimer::singleShot(0, &run, [&run, source, request] { source->run(run, *source, request); });
    const int status = QCoreApplication::exec();
    PageFetcher::instance().shutdown();
    std::fclose(sink);
    if (!options.page.isEmpty()) {
        if (status == kExitRows || status == kExitNoRows) {
            QList<ListRow> rows = run.rows();
            for (ListRow& row : rows)
                for (const QString& key : columnsOf(*source))
                    if (row.cell(key).contains(server.base()))
                        row.set(key, row.cell(key).replace(server.base(), shownBase));
            writeText(stdout, formatRows(columnsOf(*source), rows, options.format));
        }
        return status;
    }
    for (const QString& a : std::as_const(asked))
        writeText(stdout, a + u'\n');
    return asked.isEmpty() ? kExitNoRows : kExitRows;
}

} // namespace lumorra::cli

// lumorra-cli: the program's sources and resolvers from a terminal, for
// scripts and for people on a server. The same URL builders, cutters,
// fetcher and sites.ini as the window; --demo runs against the bundled
// sample sites.
#include "core/usage_agreement.h"
#include "cli/cli_everywhere.h"
#include "cli/cli_serve.h"
#include "cli/cli_sites.h"
#include "cli/cli_sources.h"
#include "cli/console_run.h"
#include "net/page_fetcher.h"
#include "core/program_dir.h"
#include "sample_sites.h"
#include "site_setup.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_query.h"
#include "sources/definitions/site_definitions.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/source_table.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <unistd.h>

using namespace lumorra;
using namespace lumorra::cli;

namespace {

const char kOptionsHelp[] =
    "Options:\n"
    "  --json           print a JSON array of objects keyed by column key\n"
    "  --sources LIST   search all: only these sources (\"torrent,magnet-a\")\n"
    "  --page N         the result page (for bt-board: the board number)\n"
    "  --services LIST  cloud disk: the services to ask, by box index 0-23\n"
    "                   (\"0,3,7\"); --all (the default) asks all 24\n"
    "  --agree          you have read the usage agreement of the online-video\n"
    "                   sources and accept it (kept, as the window's box keeps it)\n"
    "  --demo           use the bundled sample sites\n"
    "  --sites FILE     read the site addresses from FILE instead of sites.ini\n"
    "  -h, --help       this help; also after a command: \"search torrent --help\"\n"
    "  --version        the program's version\n";

const char kEverywhereHelp[] =
    "  search all KEYWORD [--sources a,b,…] [--json] [--agree]\n"
    "                   one keyword on every keyword source at once, one row per\n"
    "                   resource (columns xh mc dx rq link zzdz source); on stderr\n"
    "                   one line per source: id, rows, ms, then ok or the reason.\n"
    "                   Exit 0 rows, 1 none found, 2 every source failed.\n"
    "  check [--json] [--agree]\n"
    "                   one light request to every site of sites.ini at once:\n"
    "                   role, base, source, state, rows, ms, reason. Exit 0 when\n"
    "                   every checked site answered with rows, else 2.\n"
    "  serve [--listen HOST:PORT] [--api-key KEY] [--agree]\n"
    "                   a Torznab feed of the torrent and magnet sources for\n"
    "                   torrent clients and media managers (Jackett's layout:\n"
    "                   /api/v2.0/indexers/{all|id}/results/torznab/api), on\n"
    "                   127.0.0.1:9119 unless --listen names another address;\n"
    "                   without --api-key a key is generated once and kept in\n"
    "                   the program directory. Prints the address and the key,\n"
    "                   logs each answer on stderr, ends on SIGTERM or SIGINT.\n";

const char kSiteHelp[] =
    "  site list [--json]\n"
    "                   every site definition in force: site, scheme, role, base,\n"
    "                   origin (shipped, or the file of the user's sites folder\n"
    "                   that replaced or added it) and the sources that read it;\n"
    "                   files that were refused on stderr with file:line (exit 2).\n"
    "  site test FILE [--page SAVED.html] [--keyword K] [--json]\n"
    "                   reads a definition file as the program would; prints the\n"
    "                   address its source asks, or with --page the rows its\n"
    "                   source cuts from that saved page. Never uses the network.\n";

const char kExitHelp[] =
    "Exit status: 0 rows were printed, 1 none were found, 2 a page did not arrive\n"
    "(the reason on stderr), 64 the command cannot be run as written.\n";

QString usageLine(const Source& s)
{
    QString line = QStringLiteral("lumorra-cli ") + verbName(s.verb) + u' ' + s.name;
    switch (s.verb) {
    case Verb::Search: line += QStringLiteral(" KEYWORD"); break;
    case Verb::List: break;
    case Verb::Resolve: line += QStringLiteral(" URL"); break;
    case Verb::Export: line += QStringLiteral(" KEYWORD FILE"); break;
    }
    if (s.options & Services)
        line += QStringLiteral(" [--services 0,3,7|--all]");
    if (s.options & Paged)
        line += QStringLiteral(" [--page N]");
    if (s.verb != Verb::Export)
        line += QStringLiteral(" [--json]");
    if (s.options & NeedsAgreement)
        line += QStringLiteral(" [--agree]");
    return line;
}

QString generalHelp()
{
    QString text = QStringLiteral(
        "Usage: lumorra-cli [--demo | --sites FILE] COMMAND SOURCE ARGUMENTS [--json]\n\n"
        "Runs one of Lumorra's sources or resolvers and prints its rows: a header line\n"
        "of column keys, then one tab-separated line per row (a tab, line break or\n"
        "backslash inside a field is written \\t, \\n, \\r or \\\\).\n\nCommands:\n");
    for (Verb verb : {Verb::Search, Verb::List, Verb::Resolve, Verb::Export}) {
        for (const Source& s : sources()) {
            if (s.verb != verb)
                continue;
            text += QStringLiteral("  ") + usageLine(s).mid(12);
            if (!s.run)
                text += QStringLiteral("   (not available yet)");
            text += u'\n';
        }
    }
    text += QString::fromUtf8(kEverywhereHelp) + QString::fromUtf8(kSiteHelp);
    text += u'\n' + QString::fromUtf8(kOptionsHelp) + u'\n' + QString::fromUtf8(kExitHelp);
    text += QStringLiteral("\nThe site addresses come from sites.ini in %1 (or the sample sites when\n"
                           "there is none); a site definition file there in sites/ (NAME.yaml)\n"
                           "replaces the shipped one of its name or adds a site.\n")
                .arg(programDir());
    return text;
}

QString verbHelp(Verb verb)
{
    QString text = QStringLiteral("Usage: lumorra-cli ") + verbName(verb) + QStringLiteral(" SOURCE …\n\nSources:\n");
    for (const Source& s : sources()) {
        if (s.verb != verb)
            continue;
        text += QStringLiteral("  %1  %2%3\n")
                    .arg(s.name, -20)
                    .arg(s.summary, s.run ? QString() : QStringLiteral(" — not available yet"));
    }
    text += QStringLiteral("\n\"lumorra-cli %1 SOURCE --help\" tells more about one.\n").arg(verbName(verb));
    return text;
}

QString sourceHelp(const Source& s)
{
    QString text = QStringLiteral("Usage: ") + usageLine(s) + QStringLiteral("\n\n") + s.summary + u'\n';
    if (!s.run)
        text += QStringLiteral("\nThis source is not available yet in this version.\n");
    if (s.verb == Verb::Export) {
        text += QStringLiteral("\nWrites the rows the search finds to FILE exactly as the window's export\n"
                               "\"导出数据\" does (GB18030, CR LF); prints nothing on stdout.\n");
    } else {
        text += QStringLiteral("\nColumns:\n");
        for (const auto& [key, caption] : columnCaptions(s))
            text += QStringLiteral("  %1  %2\n").arg(key, -5).arg(caption);
    }
    if (s.options & NeedsAgreement) {
        text += QStringLiteral("\nLike the window's online-video page, this source runs only once the usage\n"
                               "agreement is accepted (--agree, or the box 阅读并同意遵守使用协议):\n\n")
            + usageAgreementText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
    }
    if (s.options & Services) {
        text += QStringLiteral("\nServices (box index, caption):\n");
        for (int i = 0; i < clouddisk::kServiceCount; ++i)
            text += QStringLiteral("  %1  %2\n").arg(i, 2).arg(clouddisk::serviceCaption(i));
        text += QStringLiteral("A service that does not answer is reported on stderr.\n");
    }
    text += u'\n' + QString::fromUtf8(kExitHelp);
    return text;
}

enum class Mode { OneSource, SearchAll, Check, Serve, SiteList, SiteTest };

struct Invocation {
    Mode mode = Mode::OneSource;
    QList<const SourceEntry*> allSources;   // search all: the chosen ones (empty: every one)
    ServeOptions serve;
    SiteTestOptions siteTest;
    bool help = false;
    QString helpText;
    QString usageError;
    const Source* source = nullptr;
    Request request;
    OutputFormat format = OutputFormat::Table;
    SiteSetup sites;
    bool agree = false;
};

// "0,3,7" → box indices in box order; false on anything else.
bool parseServices(const QString& text, QList<int>* out)
{
    QList<int> services;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int i = part.trimmed().toInt(&ok);
        if (!ok || i < 0 || i >= clouddisk::kServiceCount)
            return false;
        if (!services.contains(i))
            services << i;
    }
    std::sort(services.begin(), services.end());
    *out = services;
    return !services.isEmpty();
}

// `arguments` with the program name first, as QCoreApplication gives them.
Invocation parseArguments(const QStringList& arguments)
{
    Invocation inv;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption page(QStringLiteral("page"), QString(), QStringLiteral("N"));
    const QCommandLineOption services(QStringLiteral("services"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption all(QStringLiteral("all"), QString());
    const QCommandLineOption demo(QStringLiteral("demo"), QString());
    const QCommandLineOption sites(QStringLiteral("sites"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption agree(QStringLiteral("agree"), QString());
    const QCommandLineOption sourceList(QStringLiteral("sources"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption listen(QStringLiteral("listen"), QString(), QStringLiteral("HOST:PORT"));
    const QCommandLineOption apiKey(QStringLiteral("api-key"), QString(), QStringLiteral("KEY"));
    const QCommandLineOption keyword(QStringLiteral("keyword"), QString(), QStringLiteral("K"));
    parser.addOptions({help, version, json, page, services, all, demo, sites, agree, sourceList, listen, apiKey, keyword});
    if (!parser.parse(arguments)) {
        inv.usageError = parser.errorText();
        return inv;
    }
    if (parser.isSet(version)) {
        inv.help = true;
        inv.helpText = QStringLiteral("lumorra-cli %1\n").arg(QStringLiteral(LUMORRA_VERSION_TEXT));
        return inv;
    }

    QStringList words = parser.positionalArguments();
    bool wantsHelp = parser.isSet(help);
    if (!words.isEmpty() && words.first() == QLatin1String("help")) {
        words.removeFirst();
        wantsHelp = true;
    }
    if (words.isEmpty()) {
        if (wantsHelp) {
            inv.help = true;
            inv.helpText = generalHelp();
        } else {
            inv.usageError = QStringLiteral("a command is needed (search, list, resolve, export, check or serve)");
        }
        return inv;
    }
    auto takeCommonOptions = [&] {
        if (parser.isSet(json))
            inv.format = OutputFormat::Json;
        if (parser.isSet(demo) && parser.isSet(sites))
            inv.usageError = QStringLiteral("--demo and --sites exclude each other");
        inv.sites.demo = parser.isSet(demo);
        inv.sites.sitesFile = parser.value(sites);
        inv.sites.announceRequestedDemo = false;
        inv.agree = parser.isSet(agree);
    };
    if (words.first() == QLatin1String("site")) {
        const QString what = words.value(1);
        inv.mode = what == QLatin1String("test") ? Mode::SiteTest : Mode::SiteList;
        if (wantsHelp) {
            inv.help = true;
            inv.helpText = QStringLiteral("Usage: lumorra-cli [--demo | --sites FILE] ")
                + QString::fromUtf8(kSiteHelp).mid(2);
            return inv;
        }
        for (const QCommandLineOption* o : {&services, &all, &sourceList, &listen, &apiKey, &agree})
            if (parser.isSet(*o))
                inv.usageError = QStringLiteral("site takes no --") + o->names().constLast();
        if (what == QLatin1String("list")) {
            if (words.size() > 2)
                inv.usageError = QStringLiteral("site list takes no arguments");
            if (parser.isSet(page) || parser.isSet(keyword))
                inv.usageError = QStringLiteral("--page and --keyword belong to \"site test\"");
        } else if (what == QLatin1String("test")) {
            if (words.size() != 3)
                inv.usageError = QStringLiteral("site test needs exactly one definition FILE");
            inv.siteTest.file = words.value(2);
            inv.siteTest.page = parser.value(page);
            inv.siteTest.keyword = parser.value(keyword);
        } else {
            inv.usageError = QStringLiteral("site needs \"list\" or \"test FILE\"");
        }
        if (inv.usageError.isEmpty())
            takeCommonOptions();
        inv.siteTest.format = inv.format;
        return inv;
    }
    if (parser.isSet(keyword)) {
        inv.usageError = QStringLiteral("--keyword belongs to \"site test\"");
        return inv;
    }
    if (words.first() == QLatin1String("serve")) {
        inv.mode = Mode::Serve;
        if (wantsHelp) {
            inv.help = true;
            inv.helpText = QStringLiteral("Usage: lumorra-cli [--demo | --sites FILE] ")
                + QString::fromUtf8(kEverywhereHelp).section(QStringLiteral("  serve"), 1).prepend(QStringLiteral("serve"));
            return inv;
        }
        if (words.size() > 1)
            inv.usageError = QStringLiteral("serve takes no arguments (\"%1\")").arg(words.mid(1).join(u' '));
        for (const QCommandLineOption* o : {&page, &services, &all, &json, &sourceList})
            if (parser.isSet(*o))
                inv.usageError = QStringLiteral("serve takes no --") + o->names().constLast();
        if (parser.isSet(listen) && !parseListen(parser.value(listen), &inv.serve))
            inv.usageError = QStringLiteral("--listen needs HOST:PORT (\"127.0.0.1:9119\"), not \"%1\"")
                                 .arg(parser.value(listen));
        if (parser.isSet(apiKey)) {
            inv.serve.apiKey = parser.value(apiKey).trimmed();
            if (inv.serve.apiKey.size() < 8 || inv.serve.apiKey.contains(QRegularExpression(QStringLiteral("[^A-Za-z0-9._~-]"))))
                inv.usageError = QStringLiteral("--api-key needs at least 8 letters, digits or ._~-");
        }
        if (inv.usageError.isEmpty())
            takeCommonOptions();
        return inv;
    }
    if (parser.isSet(listen) || parser.isSet(apiKey)) {
        inv.usageError = QStringLiteral("--listen and --api-key belong to \"serve\"");
        return inv;
    }
    const bool searchAll = words.size() >= 2 && words.at(0) == QLatin1String("search") && words.at(1) == QLatin1String("all");
    if (words.first() == QLatin1String("check") || searchAll) {
        inv.mode = searchAll ? Mode::SearchAll : Mode::Check;
        const QString command = searchAll ? QStringLiteral("search all") : QStringLiteral("check");
        if (wantsHelp) {
            inv.help = true;
            inv.helpText = QStringLiteral("Usage: lumorra-cli ") + QString::fromUtf8(kEverywhereHelp).mid(2);
            return inv;
        }
        for (const QCommandLineOption* o : {&page, &services, &all})
            if (parser.isSet(*o))
                inv.usageError = command + QStringLiteral(" takes no --") + o->names().constLast();
        if (searchAll) {
            inv.request.keyword = words.mid(2).join(u' ');
            if (const QString refusal = SearchEverywhere::refusalOf(inv.request.keyword); !refusal.isEmpty())
                inv.usageError = command + QStringLiteral(" needs a KEYWORD");
            QString bad;
            if (parser.isSet(sourceList) && !parseSourceList(parser.value(sourceList), &inv.allSources, &bad))
                inv.usageError = QStringLiteral("--sources: \"%1\" is not a keyword source (%2)")
                                     .arg(bad, [] {
                                         QStringList ids;
                                         for (const SourceEntry* e : SearchEverywhere::keywordSources(true))
                                             ids << e->id;
                                         return ids.join(u',');
                                     }());
        } else {
            if (words.size() > 1)
                inv.usageError = command + QStringLiteral(" takes no arguments (\"%1\")").arg(words.mid(1).join(u' '));
            if (parser.isSet(sourceList))
                inv.usageError = command + QStringLiteral(" takes no --sources");
        }
        if (inv.usageError.isEmpty())
            takeCommonOptions();
        return inv;
    }
    if (parser.isSet(sourceList)) {
        inv.usageError = QStringLiteral("--sources belongs to \"search all\"");
        return inv;
    }
    Verb verb;
    if (!verbFromName(words.first(), &verb)) {
        inv.usageError = QStringLiteral("unknown command \"%1\"").arg(words.first());
        return inv;
    }
    if (words.size() < 2) {
        if (wantsHelp) {
            inv.help = true;
            inv.helpText = verbHelp(verb);
        } else {
            inv.usageError = QStringLiteral("%1 needs a source; \"lumorra-cli %1 --help\" lists them")
                                 .arg(verbName(verb));
        }
        return inv;
    }
    const Source* source = findSource(verb, words.at(1));
    if (!source) {
        inv.usageError = QStringLiteral("%1 has no source \"%2\"; \"lumorra-cli %1 --help\" lists them")
                             .arg(verbName(verb), words.at(1));
        return inv;
    }
    inv.source = source;
    if (wantsHelp) {
        inv.help = true;
        inv.helpText = sourceHelp(*source);
        return inv;
    }

    const QString command = verbName(verb) + u' ' + source->name;
    const QStringList rest = words.mid(2);
    Request& request = inv.request;
    request.variant = source->variant;
    switch (verb) {
    case Verb::Search:
        // Words after the source make one keyword, as a shell splits them.
        request.keyword = rest.join(u' ');
        if (request.keyword.isEmpty())
            inv.usageError = command + QStringLiteral(" needs a KEYWORD");
        break;
    case Verb::List:
        if (!rest.isEmpty())
            inv.usageError = command + QStringLiteral(" takes no KEYWORD (\"%1\")").arg(rest.join(u' '));
        break;
    case Verb::Resolve: {
        // As the fetcher reads it: a detail address may end in a blank.
        const QUrl url(rest.value(0));
        if (rest.size() != 1)
            inv.usageError = command + QStringLiteral(" needs exactly one URL");
        else if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            inv.usageError = command + QStringLiteral(": \"%1\" is not an http or https address").arg(rest.value(0));
        request.url = rest.value(0);
        break;
    }
    case Verb::Export:
        if (rest.size() != 2)
            inv.usageError = command + QStringLiteral(" needs a KEYWORD and a FILE");
        request.keyword = rest.value(0);
        request.file = rest.value(1);
        break;
    }
    if (!inv.usageError.isEmpty())
        return inv;

    if (parser.isSet(page)) {
        bool ok = false;
        const int n = parser.value(page).toInt(&ok);
        if (!(source->options & Paged))
            inv.usageError = command + QStringLiteral(" has no pages (--page)");
        else if (!ok || n < 1 || n > source->maxPage)
            inv.usageError = QStringLiteral("--page needs a number from 1 to %1, not \"%2\"")
                                 .arg(source->maxPage)
                                 .arg(parser.value(page));
        request.page = n;
    }
    if (parser.isSet(services) || parser.isSet(all)) {
        if (!(source->options & Services))
            inv.usageError = command + QStringLiteral(" takes no --services or --all");
        else if (parser.isSet(services) && parser.isSet(all))
            inv.usageError = QStringLiteral("--services and --all exclude each other");
        else if (parser.isSet(services) && !parseServices(parser.value(services), &request.services))
            inv.usageError = QStringLiteral("--services needs box indices from 0 to %1 (\"0,3,7\"), not \"%2\"")
                                 .arg(clouddisk::kServiceCount - 1)
                                 .arg(parser.value(services));
    }
    if ((source->options & Services) && request.services.isEmpty()) {
        for (int i = 0; i < clouddisk::kServiceCount; ++i)
            request.services << i;
    }
    if ((source->options & Services) && inv.usageError.isEmpty()) {
        // The window's own input checks.
        const QString problem = clouddisk::inputProblem(request.keyword, !request.services.isEmpty());
        if (!problem.isEmpty())
            inv.usageError = command + QStringLiteral(": ") + problem;
    }
    if (!source->run && inv.usageError.isEmpty())
        inv.usageError = command + QStringLiteral(" is not available yet in this version");
    if (parser.isSet(json) && verb == Verb::Export)
        inv.usageError = command + QStringLiteral(" writes FILE and prints no rows (--json)");
    if (inv.usageError.isEmpty())
        takeCommonOptions();
    return inv;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumorra-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMORRA_VERSION_TEXT));
    // Failures are reported by the command itself, once, in its own words.
    QLoggingCategory::setFilterRules(QStringLiteral("lumorra.net=false"));

    const Invocation inv = parseArguments(app.arguments());
    if (inv.help) {
        writeText(stdout, inv.helpText);
        return 0;
    }
    if (!inv.usageError.isEmpty()) {
        // It quotes the words it was given, a pasted address among them.
        writeText(stderr, QStringLiteral("lumorra-cli: ") + stderrText(inv.usageError) + QStringLiteral("\n"));
        if (!inv.source)
            writeText(stderr, QStringLiteral("Try \"lumorra-cli --help\".\n"));
        else
            writeText(stderr, QStringLiteral("Usage: ") + usageLine(*inv.source) + u'\n');
        return kExitUsage;
    }

    // The online-video sources follow the window's agreement box, kept in
    // the same settings file.
    if (inv.agree && !acceptAgreement())
        writeText(stderr, QStringLiteral("lumorra-cli: the accepted agreement cannot be kept in %1\n").arg(programDir()));
    const bool agreed = inv.agree || agreementAccepted();
    QList<const SourceEntry*> allSources = inv.allSources;
    if (inv.mode == Mode::SearchAll) {
        if (allSources.isEmpty()) {
            allSources = SearchEverywhere::keywordSources(agreed);
        } else if (!agreed) {
            for (const SourceEntry* s : std::as_const(allSources)) {
                if (!s->has(NeedsAgreement))
                    continue;
                writeText(stderr, QStringLiteral("lumorra-cli: ") + agreementRequiredText()
                                  + QStringLiteral(" Read it (\"lumorra-cli search %1 --help\") and accept it with --agree.\n")
                                        .arg(s->id));
                return kExitUsage;
            }
        }
    }
    if (inv.mode == Mode::OneSource && (inv.source->options & NeedsAgreement) && !agreed) {
        writeText(stderr, QStringLiteral("lumorra-cli: ") + agreementRequiredText()
                          + QStringLiteral(" Read it (\"lumorra-cli %1 %2 --help\") and accept it with --agree.\n")
                                .arg(verbName(inv.source->verb), inv.source->name));
        return kExitUsage;
    }

    // A definition the user's folder holds that cannot be read is said once,
    // before anything runs on the shipped one.
    if (inv.mode != Mode::SiteList)
        for (const DefinitionProblem& p : SiteDefinitions::current().problems())
            writeText(stderr, QStringLiteral("lumorra-cli: site definition ") + stderrText(p.text())
                              + QStringLiteral(" (not used)\n"));

    // Trying a definition file needs no site: it never leaves loopback.
    if (inv.mode == Mode::SiteTest && !inv.sites.demo && inv.sites.sitesFile.isEmpty())
        return runSiteTest(inv.siteTest);

    std::unique_ptr<SampleSites> sampleSites;
    const bool sitesReady = setUpSites(inv.sites, &sampleSites, [](const QString& line) {
        writeText(stderr, QStringLiteral("lumorra-cli: ") + stderrText(line) + u'\n'); // sites.ini's own lines
    });
    if (!sitesReady)
        return kExitFetchFailed;

    if (inv.mode == Mode::SiteList || inv.mode == Mode::SiteTest) {
        const int status = inv.mode == Mode::SiteList ? runSiteList(inv.format) : runSiteTest(inv.siteTest);
        if (sampleSites)
            sampleSites->stop();
        return status;
    }
    if (inv.mode != Mode::OneSource) {
        ServeOptions serve = inv.serve;
        serve.agreementAccepted = agreed;
        const int status = inv.mode == Mode::SearchAll ? runSearchAll(inv.request.keyword, allSources, inv.format)
                         : inv.mode == Mode::Check     ? runSiteCheck(agreed, inv.format)
                                                       : runFeedServer(serve);
        PageFetcher::instance().shutdown();
        if (sampleSites)
            sampleSites->stop();
        return status;
    }

    const Source& source = *inv.source;
    ConsoleRun run(verbName(source.verb) + u' ' + source.name, columnsOf(source), inv.format,
                   ::isatty(STDERR_FILENO) == 1);
    const Request request = inv.request;
    QTimer::singleShot(0, &run, [&run, &source, request] { source.run(run, source, request); });
    const int status = app.exec();

    PageFetcher::instance().shutdown();
    if (sampleSites)
        sampleSites->stop();
    return status;
}

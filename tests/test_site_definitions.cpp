// Sites as definition files: the shipped definitions give exactly the rows
// the compiled cutters gave (kept in data/site_definitions/rows), a user's
// file replaces a marker and the source follows it, a new site's file adds
// a source to the command line and the search over every source, and every
// kind of broken file is reported with its line while the shipped one stays.
#include "net/site_config.h"
#include "sources/definitions/site_definitions.h"
#include "sources/source_table.h"

#include "engine_run.h"
#include "fetch_now.h"
#include "test_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace lumorra;
using namespace lumorra::testing;

namespace {

const QString kData = QStringLiteral(LUMORRA_TEST_DATA "/site_definitions");

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

QString shippedText(const QString& name)
{
    return QString::fromUtf8(SiteDefinitions::shippedFile(name));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestSiteDefinitions : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_sitesIni;

    CliResult cli(const QStringList& args, const QString& home = QString())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LUMORRA_HOME"), home.isEmpty() ? m_home.path() : home);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(LUMORRA_CLI_PATH), args);
        CliResult r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QString userFolder() const { return SiteDefinitions::userFolder(m_home.path()); }

private slots:
    void initTestCase()
    {
        useTestSites(5000);
        QString sites = QStringLiteral("[sites]\n");
        for (const QString& role : SiteConfig::roles())
            sites += role + u'=' + TestServer::shared().roleUrl(role) + u'\n';
        m_sitesIni = m_home.filePath(QStringLiteral("sites.ini"));
        writeFile(m_sitesIni, sites.toUtf8());
        SiteDefinitions::current().loadShipped();
    }

    void cleanup()
    {
        QDir(userFolder()).removeRecursively();
        SiteDefinitions::current().loadShipped();
    }

    // Every shipped file reads cleanly, and every source of the table has
    // the definition its engine cuts by.
    void everyShippedDefinitionReads()
    {
        const SiteDefinitions& defs = SiteDefinitions::current();
        QVERIFY2(defs.problems().isEmpty(), qPrintable(defs.problems().value(0).text()));
        for (const QString& name : SiteDefinitions::shippedNames()) {
            const SiteDefinitionPtr d = defs.find(name);
            QVERIFY2(d, qPrintable(name));
            QVERIFY(d->isShipped());
            QCOMPARE(d->scheme, name);
            QCOMPARE(siteOfRole(d->role), name);
        }
        for (const SourceEntry& e : sourceTable())
            QVERIFY2(defs.find(e.site), qPrintable(e.id));
    }

    void fieldSteps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("found");
        const auto row = [](const char* tag, const char* steps, const char* page, int record,
                             const char* field, bool found) {
            QTest::newRow(tag) << QString::fromUtf8(steps) << QString::fromUtf8(page) << record
                               << QString::fromUtf8(field) << found;
        };
        row("the record's own piece", "- piece: '<b>'\n- upto: '</b>'\n- erase: '<'", "<b>a</b><b>c</b>", 2,
            "c", true);
        row("a record without its piece is empty", "- piece: '<b>'\n- prefix: 'p'", "<b>a</b>", 2, "", true);
        row("a fixed piece", "- piece: '<i>'\n- piece: {marker: '=', n: 2}\n- before: ';'", "<i>a=1;b=2;", 1,
            "2", true);
        row("base in a prefix", "- piece: 'h=\"'\n- upto: '\"'\n- erase: '\"'\n- prefix: '{base}/x/'",
            "h=\"7\"", 1, "http://s/x/7", true);
        row("after", "- piece: '['\n- after: ':'\n- upto: ']'\n- erase: ']'", "[k:v]", 1, "v", true);
        row("before-if-any, none", "- piece: '['\n- before-if-any: '&'\n- upto: ']'", "[ab]", 1, "ab]", true);
        row("before-if-any, one", "- piece: '['\n- before-if-any: '&'", "[a&b]", 1, "a", true);
        row("replace and trim",
            "- piece: '['\n- upto: ']'\n- replace: {from: '&nbsp;', to: ' '}\n- erase: ']'\n- trim",
            "[ a&nbsp;b ]", 1, "a b", true);
        row("erase a list", "- piece: '['\n- erase: [']', '<i>']", "[<i>x]", 1, "x", true);
        row("a pattern keeps a failed step",
            "- piece: '['\n- upto: '|'\n- preg: {pattern: 'x', to: 'y'}\n- suffix: 'z'", "[abc", 1, "z",
            false);
        row("a pattern with a group", "- piece: '['\n- preg: {pattern: '<A HREF=(\\w+)>', to: '$1'}",
            "[<a href=q>", 1, "q", true);
    }

    // The steps of a field, as a user's file writes them.
    void fieldSteps()
    {
        QFETCH(QString, steps);
        QFETCH(QString, page);
        QFETCH(int, record);
        QFETCH(QString, field);
        QFETCH(bool, found);
        QString file = QStringLiteral("scheme: torrent-index\nfields:\n  f:\n");
        for (const QString& line : steps.split(u'\n'))
            file += QStringLiteral("    ") + line + u'\n';
        const DefinitionRead read = readDefinition(file.toUtf8(), QStringLiteral("steps.yaml"));
        QVERIFY2(read.ok(), qPrintable(read.problems.value(0).text()));
        const FieldCut& cut = read.definition->field(QStringLiteral("f"));
        QCOMPARE(cut.cut(CutPage(page), record, QStringLiteral("http://s")), field);
        if (cut.recordMarker().isEmpty() || CutPage(page).hasPiece(cut.recordMarker(), record))
            QCOMPARE(cut.apply(Cut(page), record, QStringLiteral("http://s")).found(), found);
    }

    void shippedDefinitionsGiveTodaysRows_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QFile cases(kData + QStringLiteral("/cases.tsv"));
        QVERIFY(cases.open(QIODevice::ReadOnly));
        const QString server = TestServer::shared().baseUrl();
        for (const QString& line : QString::fromUtf8(cases.readAll()).split(u'\n')) {
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            QStringList args = line.split(u'\t');
            const QString name = args.takeFirst();
            for (QString& a : args)
                a.replace(QStringLiteral("{server}"), server);
            QFile rows(kData + QStringLiteral("/rows/") + name + QStringLiteral(".tsv"));
            QVERIFY2(rows.open(QIODevice::ReadOnly), qPrintable(name));
            QTest::newRow(qPrintable(name)) << args << QString::fromUtf8(rows.readAll());
        }
    }

    // The command line runs the same engines as the window's pages, so its
    // rows are the sources' rows, page for page.
    void shippedDefinitionsGiveTodaysRows()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const CliResult r = cli(QStringList{QStringLiteral("--sites"), m_sitesIni} + args
            + QStringList{QStringLiteral("--agree")});
        QCOMPARE(r.status, 0);
        QCOMPARE(
            QString(r.out).replace(TestServer::shared().baseUrl(), QStringLiteral("{server}")), expected);
    }

    void brokenFilesAreReportedAndTheShippedOneStays_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from"); // in the shipped torrent-index text …
        QTest::addColumn<QString>("to");   // … replaced by this (or, with no from, the whole file)
        QTest::addColumn<QString>("report");

        const auto row
            = [](const char* tag, const char* file, const char* from, const char* to, const char* report) {
                  QTest::newRow(tag) << QString::fromUtf8(file) << QString::fromUtf8(from)
                                     << QString::fromUtf8(to) << QString::fromUtf8(report);
              };
        row("does not parse", "torrent-index.yaml",
            "    - upto: '</td>'\n    - erase: '<'\n  rq:", "    - upto: '</td>'\n    - erase: [<'\n  rq:",
            "torrent-index.yaml:20: end of sequence flow not found");
        row("unknown step", "torrent-index.yaml",
            "    - upto: '</td>'\n    - erase: '<'\n  rq:", "    - uptoo: '</td>'\n    - erase: '<'\n  rq:",
            "torrent-index.yaml:18: fields: mc: unknown step 'uptoo'");
        row("a field missing", "torrent-index.yaml",
            "  fhdz:", "  fhdz_:", "fields: 'fhdz' is missing (the 'torrent-index' scheme needs it)");
        row("an address missing", "torrent-index.yaml", "  search: '{base}", "  find: '{base}",
            "urls: 'search' is missing");
        row("unknown key", "torrent-index.yaml", "record: 'magnet:?'", "recrd: 'magnet:?'",
            "torrent-index.yaml:13: unknown key 'recrd'");
        row("empty marker", "torrent-index.yaml", "    - piece: '<td class=\"date\">'", "    - piece: ''",
            "torrent-index.yaml:21: fields: rq: piece: an empty marker never occurs");
        row("bad pattern", "torrent-index.yaml", "    - prefix: 'magnet:'",
            "    - preg: {pattern: '(', to: ''}", "fields: fhdz: preg: the pattern does not compile");
        row("a field twice", "torrent-index.yaml", "  rq:\n", "  mc:\n",
            "torrent-index.yaml:20: fields: 'mc' is written twice");
        row("wrong fetch kind", "torrent-index.yaml", "fetch: GetBody", "fetch: GetPage",
            "torrent-index.yaml:5: fetch: 'GetPage' is none of GetBody, GetBodyPlain, Transfer");
        row("wrong shape", "torrent-index.yaml",
            "urls:\n  # {keyword} comes escaped; {page} is the page box's text, escaped too.\n  search: "
            "'{base}/search/{keyword}/{page}'\n",
            "urls: 3\n", "torrent-index.yaml:8: urls: a list of");
        row("another role", "torrent-index.yaml", "role: TorrentIndexSite", "role: TorrentRssSite",
            "role: 'TorrentRssSite', but this site is TorrentIndexSite");
        row("new site of no scheme", "mirror.yaml", "", "scheme: torrent-indexx\nrecord: 'x'\n",
            "mirror.yaml: scheme: 'torrent-indexx' is no shipped site's");
        row("new site without its scheme's fields", "mirror.yaml", "",
            "scheme: torrent-index\nrecord: 'x'\nurls:\n  search: '{base}/s'\n", "fields: 'mc' is missing");
        row("not a set of keys", "torrent-index.yaml", "", "- just\n- a list\n",
            "torrent-index.yaml:1: a definition is a set");
        row("nested too deeply", "torrent-index.yaml", "",
            "scheme: [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[\n",
            "torrent-index.yaml:1: nested more than 32 levels deep");
        // Brackets in markers and comments nest nothing: forty '[' are fine.
        row("markers full of brackets", "mirror.yaml", "",
            "scheme: torrent-index\n# [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[\nrecord: "
            "'[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[['\n",
            "mirror.yaml:1: urls: 'search' is missing");
    }

    void brokenFilesAreReportedAndTheShippedOneStays()
    {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, report);
        QString text = to;
        if (!from.isEmpty()) {
            text = shippedText(QStringLiteral("torrent-index"));
            QVERIFY2(text.contains(from), "the case no longer matches the shipped file");
            text.replace(from, to);
        }
        writeFile(userFolder() + u'/' + file, text.toUtf8());
        SiteDefinitions& defs = SiteDefinitions::current();
        defs.load(userFolder());
        // Only that file's, and among them the one asked for (a new site
        // lacking its scheme's fields hears of each).
        QVERIFY(!defs.problems().isEmpty());
        QStringList reports;
        for (const DefinitionProblem& p : defs.problems()) {
            QCOMPARE(QFileInfo(p.file).fileName(), file);
            reports << p.text();
        }
        QVERIFY2(reports.filter(report).size() == 1, qPrintable(reports.join(u'\n')));
        QVERIFY(defs.of(QStringLiteral("torrent-index")).isShipped());
        QVERIFY(!defs.find(QStringLiteral("mirror")));
        QCOMPARE(defs.all().size(), SiteDefinitions::shippedNames().size());
        // The command line says so too, and runs on the shipped definition.
        const CliResult r = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("search"),
            QStringLiteral("torrent"), QStringLiteral("ubuntu")});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains(QStringLiteral("lumorra-cli: site definition ")) && r.err.contains(report),
            qPrintable(r.err));
        QVERIFY(r.out.count(u'\n') > 1);
    }

    // A user's file with the name cell's marker changed: the torrent search
    // cuts names where the file says, and the shipped marker comes back
    // once the file is gone.
    void anOverrideChangesAMarkerAndTheSourceFollows()
    {
        const SourceRequest request{QStringLiteral("ubuntu")};
        const std::unique_ptr<SourceEngine> engine
            = tableEngine(SourceVerb::Search, QStringLiteral("torrent"));
        const EngineRun shipped = runEngine(*engine, request);
        QVERIFY(shipped.rows.size() > 1);
        QVERIFY(shipped.column(QStringLiteral("mc")) != shipped.column(QStringLiteral("rq")));

        QString text = shippedText(QStringLiteral("torrent-index"));
        text.replace(QStringLiteral("    - piece: '<td class=\"name\">'"),
            QStringLiteral("    - piece: '<td class=\"date\">'"));
        writeFile(userFolder() + QStringLiteral("/torrent-index.yaml"), text.toUtf8());
        SiteDefinitions::current().load(userFolder());
        QVERIFY(SiteDefinitions::current().problems().isEmpty());
        QCOMPARE(SiteDefinitions::current().of(QStringLiteral("torrent-index")).origin,
            QFileInfo(userFolder() + QStringLiteral("/torrent-index.yaml")).absoluteFilePath());
        const EngineRun changed = runEngine(*engine, request);
        QCOMPARE(changed.column(QStringLiteral("mc")), shipped.column(QStringLiteral("rq")));
        QCOMPARE(changed.column(QStringLiteral("fhdz")), shipped.column(QStringLiteral("fhdz")));

        SiteDefinitions::current().loadShipped();
        QCOMPARE(
            runEngine(*engine, request).column(QStringLiteral("mc")), shipped.column(QStringLiteral("mc")));
    }

    // A mirror of the torrent index written as a file of the user's folder:
    // listed with its origin, searchable alone and by the search over every
    // source, where its rows merge with the index's own.
    void aNewSiteIsListedAndSearched()
    {
        QString text = shippedText(QStringLiteral("torrent-index"));
        text.replace(QStringLiteral("role: TorrentIndexSite\n"),
            QStringLiteral("role: TorrentIndexSite\nbase: '{TorrentIndexSite}'\ncaption: 种子镜像\n"));
        const QString path = userFolder() + QStringLiteral("/torrent-mirror.yaml");
        writeFile(path, text.toUtf8());

        const CliResult list
            = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("site"), QStringLiteral("list")});
        QCOMPARE(list.status, 0);
        QVERIFY2(list.out.contains(QStringLiteral("torrent-mirror\ttorrent-index\tTorrentIndexSite\t")
                     + TestServer::shared().roleUrl(QStringLiteral("TorrentIndexSite")) + u'\t'
                     + QFileInfo(path).absoluteFilePath() + QStringLiteral("\tsearch torrent-mirror\n")),
            qPrintable(list.out));
        QVERIFY(list.out.contains(QStringLiteral("torrent-index\ttorrent-index\tTorrentIndexSite\t")));
        QVERIFY(list.out.contains(QStringLiteral("\tshipped\tsearch torrent\n")));

        const CliResult alone = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("search"),
            QStringLiteral("torrent-mirror"), QStringLiteral("ubuntu")});
        const CliResult index = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("search"),
            QStringLiteral("torrent"), QStringLiteral("ubuntu")});
        QCOMPARE(alone.status, 0);
        QCOMPARE(alone.out, index.out);

        const CliResult all = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("search"),
            QStringLiteral("all"), QStringLiteral("ubuntu")});
        QCOMPARE(all.status, 0);
        QVERIFY2(all.err.contains(QStringLiteral("torrent-mirror\t")), qPrintable(all.err));
        QVERIFY2(all.out.contains(QStringLiteral("torrent,torrent-mirror")), qPrintable(all.out));

        // The check asks it too, under its own name and base.
        const CliResult check = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("check")});
        QVERIFY2(check.out.contains(QStringLiteral("\ntorrent-mirror\t")
                     + TestServer::shared().roleUrl(QStringLiteral("TorrentIndexSite"))
                     + QStringLiteral("\ttorrent-mirror\tok\t")),
            qPrintable(check.out));
    }

    // site test: the address a definition asks, and the rows it cuts from a
    // page saved from its site, both without the site.
    void siteTestReadsASavedPage()
    {
        const QString file = m_home.filePath(QStringLiteral("torrent-index.yaml"));
        writeFile(file, SiteDefinitions::shippedFile(QStringLiteral("torrent-index")));
        const QString base = TestServer::shared().roleUrl(QStringLiteral("TorrentIndexSite"));

        const CliResult address = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("site"),
            QStringLiteral("test"), file, QStringLiteral("--keyword"), QStringLiteral("ubuntu")});
        QCOMPARE(address.status, 0);
        QCOMPARE(address.out, base + QStringLiteral("/search/ubuntu/1\n"));

        const FetchResult saved = fetchNow(base + QStringLiteral("/search/ubuntu/1"));
        QVERIFY(saved.hasPage());
        const QString page = m_home.filePath(QStringLiteral("saved.html"));
        writeFile(page, saved.body);
        const CliResult rows
            = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("site"), QStringLiteral("test"),
                file, QStringLiteral("--page"), page, QStringLiteral("--keyword"), QStringLiteral("ubuntu")});
        const CliResult search = cli({QStringLiteral("--sites"), m_sitesIni, QStringLiteral("search"),
            QStringLiteral("torrent"), QStringLiteral("ubuntu")});
        QCOMPARE(rows.status, 0);
        QCOMPARE(rows.out, search.out);
        QVERIFY(rows.err.contains(QStringLiteral("asked ") + base + QStringLiteral("/search/ubuntu/1")));

        writeFile(file, "scheme: torrent-index\nfields: 3\n");
        const CliResult broken = cli({QStringLiteral("site"), QStringLiteral("test"), file});
        QCOMPARE(broken.status, 2);
        QVERIFY2(broken.err.contains(QStringLiteral("torrent-index.yaml:2: fields: a list of")),
            qPrintable(broken.err));
    }
};

QTEST_GUILESS_MAIN(TestSiteDefinitions)
#include "test_site_definitions.moc"

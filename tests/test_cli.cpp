// lumorra-cli against the sample sites: for the same page it prints exactly
// the rows the window lists (every source, every resolver, the export file),
// its exit statuses and messages, its help, its output formats, and its
// progress line, which only a terminal gets.
#include "cli/cli_output.h"
#include "cli/cli_sources.h"
#include "cli/console_run.h"
#include "lists/ed2k_extraction.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "pages/emule/emule_handlers.h"
#include "pages/film/film_listings.h"
#include "pages/torrent/bt_sources.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "pages/torrent/torrent_search.h"
#include "pages/video/qvod_film_source.h"
#include "pages/video/qvod_search_source.h"
#include "pages/video/torrent_tag_source.h"

#include "file_bytes.h"
#include "modal_answerer.h"
#include "program_window.h"
#include "test_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace lumorra;
using lumorra::testing::ModalAnswerer;
using lumorra::testing::ProgramWindow;
using lumorra::testing::readFileBytes;
using lumorra::testing::TestServer;

namespace {

struct CliResult {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// How the window is made to list a page, and the command that lists it.
struct ListedPage {
    const char* name;
    QStringList cli;
    const char* list;
    std::function<void(QWidget* form1)> fill;   // boxes, page numbers
    const char* button;
    // Connects the end of the window's work to a spy.
    std::function<QSignalSpy*(QWidget* form1)> ended;
};

// A resolver: a row of a listed page resolved by the window and by the CLI.
struct Resolution {
    const char* name;
    int page;                   // index into listedPages()
    const char* addressKey;     // the row's cell the CLI is given
    std::function<void(QWidget* form1)> trigger;
    std::function<QSignalSpy*(QWidget* form1)> ended;
    std::function<QList<QStringList>(QWidget* form1)> shown;   // rows of (dz[, gx])
};

QLineEdit* edit(QWidget* f, const char* name)
{
    return f->findChild<QLineEdit*>(QLatin1String(name));
}

// The online-video page works once its agreement box is ticked.
void agree(QWidget* f)
{
    f->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(true);
}

const QList<ListedPage>& listedPages()
{
    static const QList<ListedPage> pages = {
        {"clouddisk page 2", {"search", "clouddisk", "电影", "--services", "18,0,5,1", "--page", "2"}, "ListView1",
         [](QWidget* f) {
             edit(f, "Text1")->setText(QStringLiteral("电影"));
             edit(f, "Text3")->setText(QStringLiteral("2"));
             for (int i = 0; i < 24; ++i)
                 f->findChild<QCheckBox*>(QStringLiteral("Check2(%1)").arg(i))->setChecked(i == 0 || i == 1 || i == 5 || i == 18);
         },
         "Command1", [](QWidget* f) { return new QSignalSpy(f->findChild<CloudDiskSearch*>(), &CloudDiskSearch::searchEnded); }},
        {"torrent page 2", {"search", "torrent", "ubuntu", "--page", "2"}, "ListView2",
         [](QWidget* f) {
             edit(f, "Text2")->setText(QStringLiteral("ubuntu"));
             edit(f, "Text4")->setText(QStringLiteral("2"));
         },
         "Command2(0)", [](QWidget* f) { return new QSignalSpy(f->findChild<TorrentSearches*>(), &TorrentSearches::searchEnded); }},
        {"rss", {"search", "rss", "电影"}, "ListView4",
         [](QWidget* f) { edit(f, "Text8")->setText(QStringLiteral("电影")); },
         "Command2(1)", [](QWidget* f) { return new QSignalSpy(f->findChild<TorrentSearches*>(), &TorrentSearches::searchEnded); }},
        {"film resource", {"search", "film", "星际"}, "ListView13",
         [](QWidget* f) {
             edit(f, "Text13")->setText(QStringLiteral("星际"));
             edit(f, "Text14")->setText(QStringLiteral("1"));
         },
         "Command2(2)", [](QWidget* f) { return new QSignalSpy(f->findChild<TorrentSearches*>(), &TorrentSearches::searchEnded); }},
        {"magnet channel 1", {"search", "magnet-a", "ubuntu"}, "ListView19",
         [](QWidget* f) {
             edit(f, "Text21")->setText(QStringLiteral("ubuntu"));
             f->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(0);
             f->findChild<MagnetSearch*>()->setMagnetPageNumber(1);
         },
         "Command21(3)", [](QWidget* f) { return new QSignalSpy(f->findChild<MagnetSearch*>(), &MagnetSearch::searchEnded); }},
        {"magnet channel 2 with detail pages", {"search", "magnet-b", "ubuntu"}, "ListView19",
         [](QWidget* f) {
             edit(f, "Text21")->setText(QStringLiteral("ubuntu"));
             f->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(1);
             f->findChild<MagnetSearch*>()->setMagnetPageNumber(1);
         },
         "Command21(3)", [](QWidget* f) { return new QSignalSpy(f->findChild<MagnetSearch*>(), &MagnetSearch::searchEnded); }},
        {"emule index search page 2", {"search", "emule", "电影", "--page", "2"}, "ListView15",
         [](QWidget* f) {
             edit(f, "Text16")->setText(QStringLiteral("电影"));
             edit(f, "Text17")->setText(QStringLiteral("2"));
         },
         "Command27(12)", [](QWidget* f) { return new QSignalSpy(EmuleSources::of(f), &EmuleSources::searchEnded); }},
        {"emule search site page 2", {"search", "emule-search", "音乐", "--page", "2"}, "ListView17",
         [](QWidget* f) {
             edit(f, "Text19")->setText(QStringLiteral("音乐"));
             edit(f, "Text20")->setText(QStringLiteral("2"));
         },
         "Command27(13)", [](QWidget* f) { return new QSignalSpy(EmuleSources::of(f), &EmuleSources::searchEnded); }},
        {"emule films", {"list", "emule-films"}, "ListView6",
         [](QWidget* f) { EmuleSources::of(f)->setPageNumber(EmuleCategory::Films, 1); },
         "Command21(0)", [](QWidget* f) { return new QSignalSpy(EmuleSources::of(f), &EmuleSources::listingLoaded); }},
        {"emule cartoons page 3", {"list", "emule-cartoons", "--page", "3"}, "ListView12",
         [](QWidget* f) { EmuleSources::of(f)->setPageNumber(EmuleCategory::Cartoons, 3); },
         "Command41(0)", [](QWidget* f) { return new QSignalSpy(EmuleSources::of(f), &EmuleSources::listingLoaded); }},
        {"bt board 2", {"list", "bt-board", "--page", "2"}, "ListView18",
         [](QWidget* f) { BtSources::of(f)->setBoardNumber(2); },
         "Command3(0)", [](QWidget* f) { return new QSignalSpy(BtSources::of(f), &BtSources::boardEnded); }},
        {"bt films page 1", {"list", "bt-films"}, "ListView16",
         [](QWidget* f) { BtSources::of(f)->setBtFilmPageNumber(1); },
         "Commandz3(0)", [](QWidget* f) { return new QSignalSpy(BtSources::of(f), &BtSources::filmsEnded); }},
        {"film listing", {"list", "films-western"}, "ListView5", [](QWidget*) {},
         "Command14(2)", [](QWidget* f) { return new QSignalSpy(FilmListings::of(f), &FilmListings::listingLoaded); }},
        {"qvod channel page 2", {"list", "qvod-channel", "--page", "2", "--agree"}, "ListView3",
         [](QWidget* f) {
             agree(f);
             f->findChild<QvodFilmSource*>()->setPageNumber(2);
         },
         "Command53(3)", [](QWidget* f) { return new QSignalSpy(f->findChild<QvodFilmSource*>(), &QvodFilmSource::listingLoaded); }},
        {"qvod category page 2", {"list", "qvod-category", "--page", "2", "--agree"}, "ListView14",
         [](QWidget* f) {
             agree(f);
             f->findChild<QvodSearchSource*>()->setPageNumber(2);
         },
         "Command53(7)", [](QWidget* f) { return new QSignalSpy(f->findChild<QvodSearchSource*>(), &QvodSearchSource::listingLoaded); }},
        {"qvod keyword over three pages", {"search", "qvod", "星际", "--agree"}, "ListView14",
         [](QWidget* f) {
             agree(f);
             edit(f, "Text15")->setText(QStringLiteral("星际"));
         },
         "Command53(10)", [](QWidget* f) { return new QSignalSpy(f->findChild<QvodSearchSource*>(), &QvodSearchSource::searchEnded); }},
        {"torrent tag", {"search", "tag", "ubuntu", "--agree"}, "ListView20",
         [](QWidget* f) {
             agree(f);
             edit(f, "Text22")->setText(QStringLiteral("ubuntu"));
             findResultList(f, QStringLiteral("ListView20"))->clearRows();   // the window adds on top of what it lists
         },
         "Command53(15)", [](QWidget* f) { return new QSignalSpy(f->findChild<TorrentTagSource*>(), &TorrentTagSource::searchEnded); }},
    };
    return pages;
}

int pageIndex(const char* name)
{
    for (int i = 0; i < listedPages().size(); ++i)
        if (qstrcmp(listedPages()[i].name, name) == 0)
            return i;
    return -1;
}

QList<QStringList> listBoxRows(QWidget* f, const char* box)
{
    QList<QStringList> rows;
    auto* list = f->findChild<QListWidget*>(QLatin1String(box));
    for (int i = 0; list && i < list->count(); ++i)
        rows << QStringList{list->item(i)->text()};
    return rows;
}

const QList<Resolution>& resolutions()
{
    static const QList<Resolution> r = {
        {"ed2k", pageIndex("emule films"), "zzdz", [](QWidget* f) { kctqzz_Click(f); },
         [](QWidget* f) { return new QSignalSpy(Ed2kExtraction::of(f), &Ed2kExtraction::extracted); },
         [](QWidget*) { return QList<QStringList>{{QApplication::clipboard()->text()}}; }},
        {"qvod", pageIndex("film resource"), "zzdz",
         [](QWidget* f) { f->findChild<FilmResourceDetail*>()->ListView13_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(f->findChild<FilmResourceDetail*>(), &FilmResourceDetail::resolved); },
         [](QWidget* f) { return listBoxRows(f, "List2"); }},
        {"film", pageIndex("film listing"), "zzdz", [](QWidget* f) { FilmListings::of(f)->ListView5_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(FilmListings::of(f), &FilmListings::filmLinkEnded); },
         [](QWidget* f) { return listBoxRows(f, "List3"); }},
        {"bt", pageIndex("bt films page 1"), "dz", [](QWidget* f) { BtSources::of(f)->ListView16_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(BtSources::of(f), &BtSources::magnetEnded); },
         [](QWidget* f) {
             QString updated = f->findChild<QLabel*>(QStringLiteral("Label38"))->text();
             updated.remove(QStringLiteral("更新日期："));
             return QList<QStringList>{{edit(f, "Text18")->text(), updated}};
         }},
        {"tag", pageIndex("torrent tag"), "dz", [](QWidget* f) { f->findChild<TorrentTagSource*>()->ListView20_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(f->findChild<TorrentTagSource*>(), &TorrentTagSource::detailResolved); },
         [](QWidget* f) { return QList<QStringList>{{edit(f, "Text23(1)")->text(), edit(f, "Text23(0)")->text()}}; }},
        {"qvod", pageIndex("qvod keyword over three pages"), "dz",
         [](QWidget* f) { f->findChild<QvodSearchSource*>()->ListView14_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(f->findChild<QvodSearchSource*>(), &QvodSearchSource::detailResolved); },
         [](QWidget* f) { return QList<QStringList>{{f->findChild<QvodSearchSource*>()->currentQvodAddress()}}; }},
        {"qvod", pageIndex("qvod channel page 2"), "dz",
         [](QWidget* f) { f->findChild<QvodFilmSource*>()->ListView3_DblClick(); },
         [](QWidget* f) { return new QSignalSpy(f->findChild<QvodFilmSource*>(), &QvodFilmSource::detailResolved); },
         [](QWidget* f) { return QList<QStringList>{{edit(f, "Text11")->text()}}; }},
    };
    return r;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void rowsMatchTheWindow_data();
    void rowsMatchTheWindow();
    void resolversMatchTheWindow_data();
    void resolversMatchTheWindow();
    void exportMatchesTheWindow();
    void exitStatusesAndMessages_data();
    void exitStatusesAndMessages();
    void everyCommandHasHelp();
    void tableAndJsonText();
    void controlCharactersAreEscaped_data();
    void controlCharactersAreEscaped();
    void progressOnlyOnATerminal();
    void qvodSearchSkipsAMissedPage();
    void searchAllAndCheck();

private:
    QWidget* form1() const { return m_window->get(); }
    // Runs the command with LUMORRA_HOME in `home` (the test's own directory
    // when empty).
    CliResult runCli(const QStringList& args, const QString& sitesFile = QString(), const QString& home = QString()) const;
    // The window lists `page`; false when its end never came.
    bool listInWindow(const ListedPage& page);
    // The window's rows of `list` under the command's columns.
    QList<QStringList> windowRows(const QString& list, const QStringList& keys) const;

    std::unique_ptr<ProgramWindow> m_window;
    QTemporaryDir m_dir;
    QString m_sites;         // every role on the shared test server
    QString m_deadSites;     // every role on a port nobody listens on
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_window = std::make_unique<ProgramWindow>();
    QVERIFY(m_window->isValid());
    PageFetcher::instance().setTimeoutSeconds(10);
    QVERIFY(m_window->waitUntilUnlocked());

    auto writeSites = [this](const QString& name, const std::function<QString(const QString&)>& urlOf) {
        QString text = QStringLiteral("[sites]\nFetchTimeoutSeconds=10\n");
        for (const QString& role : SiteConfig::roles())
            text += role + u'=' + urlOf(role) + u'\n';
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
            return QString();
        return path;
    };
    m_sites = writeSites(QStringLiteral("sites.ini"),
                         [](const QString& role) { return TestServer::shared().roleUrl(role); });
    m_deadSites = writeSites(QStringLiteral("dead.ini"), [](const QString& role) {
        return QStringLiteral("http://127.0.0.1:1") + SiteConfig::samplePrefix(role);
    });
    QVERIFY(!m_sites.isEmpty() && !m_deadSites.isEmpty());
}

void TestCli::cleanupTestCase()
{
    m_window.reset();
}

CliResult TestCli::runCli(const QStringList& args, const QString& sitesFile, const QString& home) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMORRA_HOME"), home.isEmpty() ? m_dir.path() : home);
    p.setProcessEnvironment(env);
    QStringList all = args;
    if (!sitesFile.isEmpty())
        all << QStringLiteral("--sites") << sitesFile;
    p.start(QStringLiteral(LUMORRA_CLI_PATH), all);
    CliResult r;
    if (!p.waitForFinished(90000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool TestCli::listInWindow(const ListedPage& page)
{
    page.fill(form1());
    std::unique_ptr<QSignalSpy> spy(page.ended(form1()));
    form1()->findChild<QPushButton*>(QLatin1String(page.button))->click();
    return spy->wait(20000) || spy->count() > 0;
}

QList<QStringList> TestCli::windowRows(const QString& listName, const QStringList& keys) const
{
    QList<QStringList> rows;
    ResultList* list = findResultList(form1(), listName);
    for (int i = 0; list && i < list->rowCount(); ++i) {
        QStringList cells;
        for (const QString& key : keys)
            cells << (key == QLatin1String("xh") ? list->topLevelItem(i)->text(0) : list->cell(list->topLevelItem(i), key));
        rows << cells;
    }
    return rows;
}

// The rows of a --json answer under `keys`; every object must carry
// exactly those keys.
static QList<QStringList> jsonRows(const QByteArray& out, const QStringList& keys, QString* problem)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    QList<QStringList> rows;
    if (!doc.isArray()) {
        *problem = QStringLiteral("not a JSON array: ") + error.errorString();
        return rows;
    }
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        QStringList sortedKeys = keys;
        sortedKeys.sort();
        if (o.keys() != sortedKeys)
            *problem = QStringLiteral("keys %1").arg(o.keys().join(u','));
        QStringList cells;
        for (const QString& key : keys)
            cells << o.value(key).toString();
        rows << cells;
    }
    return rows;
}

void TestCli::rowsMatchTheWindow_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < listedPages().size(); ++i)
        QTest::newRow(listedPages()[i].name) << i;
}

void TestCli::rowsMatchTheWindow()
{
    QFETCH(int, index);
    const ListedPage& page = listedPages()[index];
    QVERIFY(listInWindow(page));
    const ResultList* list = findResultList(form1(), QLatin1String(page.list));
    QVERIFY2(list && list->rowCount() > 0, "the window listed nothing");

    const cli::Source* source = cli::findSource(page.cli[0] == QLatin1String("search") ? cli::Verb::Search : cli::Verb::List,
                                                page.cli[1]);
    QVERIFY(source);
    const QStringList keys = cli::columnsOf(*source);
    const QList<QStringList> expected = windowRows(QLatin1String(page.list), keys);

    // Both formats, the same rows.
    const CliResult table = runCli(page.cli, m_sites);
    QCOMPARE(table.status, 0);
    QVERIFY2(table.err.isEmpty(), table.err.constData());
    QList<QStringList> tableRows;
    const QStringList lines = QString::fromUtf8(table.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), keys.join(u'\t'));
    for (const QString& line : lines.mid(1))
        tableRows << line.split(u'\t');
    QCOMPARE(tableRows, expected);

    const CliResult json = runCli(page.cli + QStringList{QStringLiteral("--json")}, m_sites);
    QCOMPARE(json.status, 0);
    QString problem;
    QCOMPARE(jsonRows(json.out, keys, &problem), expected);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestCli::resolversMatchTheWindow_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < resolutions().size(); ++i) {
        const Resolution& r = resolutions()[i];
        QTest::addRow("%s from %s", r.name, listedPages()[r.page].name) << i;
    }
}

void TestCli::resolversMatchTheWindow()
{
    QFETCH(int, index);
    const Resolution& r = resolutions()[index];
    const ListedPage& page = listedPages()[r.page];
    QVERIFY(listInWindow(page));
    ResultList* list = findResultList(form1(), QLatin1String(page.list));
    QVERIFY(list && list->rowCount() > 0);
    list->clearSelection();
    list->topLevelItem(0)->setSelected(true);
    const QString address = list->cell(list->topLevelItem(0), QLatin1String(r.addressKey));

    std::unique_ptr<QSignalSpy> spy(r.ended(form1()));
    r.trigger(form1());
    QVERIFY(spy->wait(15000) || spy->count() > 0);
    const QList<QStringList> shown = r.shown(form1());
    QVERIFY2(!shown.isEmpty() && !shown.first().first().isEmpty(), "the window resolved nothing");

    QStringList args{QStringLiteral("resolve"), QLatin1String(r.name), address, QStringLiteral("--json")};
    const CliResult result = runCli(args, m_sites);
    QCOMPARE(result.status, 0);
    const cli::Source* source = cli::findSource(cli::Verb::Resolve, QLatin1String(r.name));
    QVERIFY(source);
    QString problem;
    QList<QStringList> rows = jsonRows(result.out, cli::columnsOf(*source), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].takeFirst(), QString::number(i + 1));
    }
    QCOMPARE(rows, shown);
}

void TestCli::exportMatchesTheWindow()
{
    const ListedPage& page = listedPages()[pageIndex("clouddisk page 2")];
    QVERIFY(listInWindow(page));
    QFile::remove(CloudDiskSearch::exportPath());
    {
        ModalAnswerer answerer;   // "成功导出网盘资源数据!"
        form1()->findChild<CloudDiskSearch*>()->dcsj_Click();
        QCOMPARE(answerer.count(), 1);
    }
    const QByteArray written = readFileBytes(CloudDiskSearch::exportPath());
    QVERIFY(!written.isEmpty());

    const QString file = m_dir.filePath(QStringLiteral("export.txt"));
    const CliResult r = runCli({QStringLiteral("export"), QStringLiteral("clouddisk"), QStringLiteral("电影"), file,
                                QStringLiteral("--services"), QStringLiteral("0,1,5,18"), QStringLiteral("--page"),
                                QStringLiteral("2")},
                               m_sites);
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(readFileBytes(file), written);

    // Nothing to export: no file, status 1.
    const QString none = m_dir.filePath(QStringLiteral("none.txt"));
    QCOMPARE(runCli({QStringLiteral("export"), QStringLiteral("clouddisk"), QStringLiteral("无此资源"), none}, m_sites).status, 1);
    QVERIFY(!QFile::exists(none));
}

void TestCli::exitStatusesAndMessages_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("deadSites");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stderrHas");
    QTest::addColumn<bool>("stdoutEmpty");

    QTest::newRow("no rows") << QStringList{"search", "torrent", "nothing-like-this"} << false << 1 << QString() << false;
    QTest::newRow("film site's no-result page") << QStringList{"search", "film", "无此影片"} << false << 1 << QString() << false;
    QTest::newRow("page never arrives") << QStringList{"search", "torrent", "ubuntu"} << true << 2
                                        << QStringLiteral("无法连接到服务器") << true;
    QTest::newRow("every service unreachable") << QStringList{"search", "clouddisk", "电影", "--services", "0,3"} << true << 2
                                               << QStringLiteral("QQ旋风") << true;
    QTest::newRow("error page") << QStringList{"resolve", "ed2k", "%1/emule-index/no/such/page"} << false << 2
                                << QStringLiteral("HTTP 404") << true;
    QTest::newRow("unknown command") << QStringList{"find", "torrent", "x"} << false << 64 << QStringLiteral("unknown command") << true;
    QTest::newRow("unknown source") << QStringList{"search", "nowhere", "x"} << false << 64 << QStringLiteral("no source") << true;
    QTest::newRow("no keyword") << QStringList{"search", "torrent"} << false << 64 << QStringLiteral("KEYWORD") << true;
    QTest::newRow("cloud-disk keyword too short") << QStringList{"search", "clouddisk", "电"} << false << 64
                                                  << QStringLiteral("请至少输入两位关键字..") << true;
    QTest::newRow("page out of range") << QStringList{"list", "bt-board", "--page", "9"} << false << 64
                                       << QStringLiteral("1 to 8") << true;
    QTest::newRow("a feed has no pages") << QStringList{"search", "rss", "x", "--page", "2"} << false << 64
                                         << QStringLiteral("no pages") << true;
    QTest::newRow("service out of range") << QStringList{"search", "clouddisk", "电影", "--services", "24"} << false << 64
                                          << QStringLiteral("--services") << true;
    QTest::newRow("not an address") << QStringList{"resolve", "qvod", "ftp://x/y"} << false << 64
                                    << QStringLiteral("not an http") << true;
    QTest::newRow("agreement not accepted") << QStringList{"search", "tag", "ubuntu"} << false << 64
                                            << QStringLiteral("请先阅读使用协议并严格遵守!") << true;
    QTest::newRow("unknown option") << QStringList{"search", "torrent", "x", "--colour"} << false << 64
                                    << QStringLiteral("colour") << true;
    QTest::newRow("search all, none found") << QStringList{"search", "all", "nothing-like-this", "--sources", "torrent"}
                                            << false << 1 << QStringLiteral("torrent\t0\t") << false;
    QTest::newRow("search all, every source failed") << QStringList{"search", "all", "ubuntu", "--sources", "rss,magnet-a"}
                                                     << true << 2 << QStringLiteral("无法连接到服务器") << false;
    QTest::newRow("search all, not a keyword source") << QStringList{"search", "all", "x", "--sources", "torrent,bt-board"}
                                                      << false << 64 << QStringLiteral("\"bt-board\" is not a keyword source")
                                                      << true;
    QTest::newRow("search all, no keyword") << QStringList{"search", "all"} << false << 64 << QStringLiteral("KEYWORD") << true;
    QTest::newRow("search all, an online-video source without the agreement")
        << QStringList{"search", "all", "x", "--sources", "tag"} << false << 64 << QStringLiteral("请先阅读使用协议并严格遵守!")
        << true;
    QTest::newRow("check takes no source") << QStringList{"check", "torrent"} << false << 64
                                           << QStringLiteral("takes no arguments") << true;
}

void TestCli::exitStatusesAndMessages()
{
    QFETCH(QStringList, args);
    QFETCH(bool, deadSites);
    QFETCH(int, status);
    QFETCH(QString, stderrHas);
    QFETCH(bool, stdoutEmpty);
    for (QString& a : args)
        a.replace(QStringLiteral("%1"), TestServer::shared().baseUrl());
    // A home of its own: no agreement accepted there yet.
    QTemporaryDir home;
    const CliResult r = runCli(args, deadSites ? m_deadSites : m_sites, home.path());
    QCOMPARE(r.status, status);
    const QString err = QString::fromUtf8(r.err);
    if (stderrHas.isEmpty())
        QVERIFY2(err.isEmpty(), qPrintable(err));
    else
        QVERIFY2(err.contains(stderrHas), qPrintable(err));
    if (stdoutEmpty)
        QVERIFY2(r.out.isEmpty(), r.out.constData());
    else
        QVERIFY(r.out.startsWith("xh\t"));   // the header line alone
}

void TestCli::everyCommandHasHelp()
{
    const CliResult general = runCli({QStringLiteral("--help")});
    QCOMPARE(general.status, 0);
    for (const cli::Source& s : cli::sources()) {
        const QString verb = cli::verbName(s.verb);
        const QString line = verb + u' ' + s.name;
        QVERIFY2(QString::fromUtf8(general.out).contains(line), qPrintable(line));
        const CliResult help = runCli({verb, s.name, QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        const QString text = QString::fromUtf8(help.out);
        QVERIFY2(text.startsWith(QStringLiteral("Usage: lumorra-cli ") + line), qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("not available yet")), s.run == nullptr);
        if (s.verb != cli::Verb::Export)
            for (const QString& key : cli::columnsOf(s))
                QVERIFY2(text.contains(QStringLiteral("\n  ") + key + u' '), qPrintable(line + u' ' + key));
    }
    for (const char* verb : {"search", "list", "resolve", "export"}) {
        const CliResult help = runCli({QLatin1String(verb), QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith(QByteArray("Usage: lumorra-cli ") + verb));
    }
}

void TestCli::tableAndJsonText()
{
    using cli::OutputFormat;
    ListRow odd(QStringLiteral("1"));
    odd.set(QStringLiteral("mc"), QStringLiteral("a\tb\\c\nd\re")).set(QStringLiteral("dz"), QStringLiteral("\"引号\"\x01"));
    const QStringList keys{QStringLiteral("xh"), QStringLiteral("mc"), QStringLiteral("dz"), QStringLiteral("dx")};

    QCOMPARE(cli::formatRows(keys, {odd}, OutputFormat::Table),
        QStringLiteral("xh\tmc\tdz\tdx\n1\ta\\tb\\\\c\\nd\\re\t\"引号\"\\x01\t\n").toUtf8());
    QCOMPARE(cli::formatRows(keys, {}, OutputFormat::Table), QByteArray("xh\tmc\tdz\tdx\n"));
    QCOMPARE(cli::formatRows(keys, {}, OutputFormat::Json), QByteArray("[]\n"));

    const QByteArray json = cli::formatRows(keys, {odd, ListRow(QStringLiteral("2"))}, OutputFormat::Json);
    const QJsonArray rows = QJsonDocument::fromJson(json).array();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].toObject().value(QStringLiteral("mc")).toString(), odd.cell(QStringLiteral("mc")));
    QCOMPARE(rows[0].toObject().value(QStringLiteral("dz")).toString(), odd.cell(QStringLiteral("dz")));
    QCOMPARE(rows[1].toObject().value(QStringLiteral("dx")).toString(), QString());
    QVERIFY(json.contains("引号"));   // UTF-8 text, not \u escapes
}

void TestCli::controlCharactersAreEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field"); // tab-separated field, and a line on stderr
    QTest::addColumn<QString>("json");  // inside the quotes
    QTest::newRow("C0") << QStringLiteral("a\x01"
                                          "b\x1f")
                        << QStringLiteral("a\\x01b\\x1f") << QStringLiteral("a\\u0001b\\u001f");
    QTest::newRow("ESC sequence") << QStringLiteral("\x1b[2J\x1b]0;t\x07")
                                  << QStringLiteral("\\x1b[2J\\x1b]0;t\\x07")
                                  << QStringLiteral("\\u001b[2J\\u001b]0;t\\u0007");
    QTest::newRow("NUL") << QString(QChar(0)) << QStringLiteral("\\x00") << QStringLiteral("\\u0000");
    QTest::newRow("tab, line ends, backslash")
        << QStringLiteral("\t\n\r\\") << QStringLiteral("\\t\\n\\r\\\\") << QStringLiteral("\\t\\n\\r\\\\");
    QTest::newRow("DEL") << QStringLiteral("x\x7f") << QStringLiteral("x\\x7f") << QStringLiteral("x\\u007f");
    QTest::newRow("C1") << QStringLiteral("\u0080\u009b31m\u009f") << QStringLiteral("\\x80\\x9b31m\\x9f")
                        << QStringLiteral("\\u0080\\u009b31m\\u009f");
    QTest::newRow("printable neighbours")
        << QStringLiteral(" ~\u00a0电影") << QStringLiteral(" ~\u00a0电影") << QStringLiteral(" ~\u00a0电影");
    QTest::newRow("line separators") << QStringLiteral("\u2028\u2029") << QStringLiteral("\u2028\u2029")
                                     << QStringLiteral("\\u2028\\u2029");
}

void TestCli::controlCharactersAreEscaped()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QFETCH(QString, json);
    ListRow row(QStringLiteral("1"));
    row.set(QStringLiteral("mc"), text);
    const QStringList keys{QStringLiteral("xh"), QStringLiteral("mc")};
    QCOMPARE(cli::formatRows(keys, {row}, cli::OutputFormat::Table),
        (QStringLiteral("xh\tmc\n1\t") + field + u'\n').toUtf8());
    const QByteArray array = cli::formatRows(keys, {row}, cli::OutputFormat::Json);
    QCOMPARE(array,
        (QStringLiteral("[\n  {\"xh\": \"1\", \"mc\": \"") + json + QStringLiteral("\"}\n]\n")).toUtf8());
    QCOMPARE(
        QJsonDocument::fromJson(array).array().at(0).toObject().value(QStringLiteral("mc")).toString(), text);

    // What reaches stderr: a failure naming a page's address, and the
    // progress line's last name.
    std::FILE* err = std::tmpfile();
    QVERIFY(err);
    {
        cli::ConsoleRun run(QStringLiteral("search x"), keys, cli::OutputFormat::Table, true, stdout, err);
        run.warn(QStringLiteral("no page (http://h/") + text + u')');
        run.progress(1, 2, text);
    }
    std::rewind(err);
    QByteArray written(4096, '\0');
    written.truncate(qsizetype(std::fread(written.data(), 1, size_t(written.size()), err)));
    std::fclose(err);
    QCOMPARE(written,
        (QStringLiteral("lumorra-cli: search x: no page (http://h/") + field
            + QStringLiteral(")\n\r\x1b[K[############------------] 1/2 ") + field)
            .toUtf8());
}

void TestCli::progressOnlyOnATerminal()
{
    const QStringList args{QStringLiteral("search"), QStringLiteral("clouddisk"), QStringLiteral("ubuntu"),
                           QStringLiteral("--all"), QStringLiteral("--sites"), m_sites};

    // Not a terminal: nothing but the rows.
    const CliResult piped = runCli(args);
    QCOMPARE(piped.status, 0);
    QVERIFY2(piped.err.isEmpty(), piped.err.constData());

    // A terminal on stderr: a counter of the 24 services.
    int master = -1, slave = -1;
    QVERIFY(::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMORRA_HOME"), m_dir.path());
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([slave] { ::dup2(slave, STDERR_FILENO); });
    p.start(QStringLiteral(LUMORRA_CLI_PATH), args);
    QVERIFY(p.waitForFinished(60000));
    ::close(slave);
    QCOMPARE(p.exitCode(), 0);
    QByteArray drawn;
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    char buf[4096];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;)
        drawn.append(buf, n);
    ::close(master);
    QVERIFY2(drawn.contains("24/24"), drawn.constData());
    QVERIFY(drawn.contains("[#"));
    // The bar is gone again before the rows are read.
    QVERIFY(drawn.endsWith("\r\x1b[K"));
    // The rows are the same either way.
    QCOMPARE(p.readAllStandardOutput(), piped.out);
}


void TestCli::qvodSearchSkipsAMissedPage()
{
    // The window lists the pages that came when a further page does not;
    // the command line gives the same rows and names the missed page.
    Answer drop;
    drop.drop = true;
    const std::string missed = "/qvod-search/vod-search-wd-星际-p-1.html";
    TestServer::shared().sites().program(missed, drop);
    QTemporaryDir home;
    const CliResult r = runCli({QStringLiteral("search"), QStringLiteral("qvod"), QStringLiteral("星际"),
                                QStringLiteral("--agree"), QStringLiteral("--json")},
                               m_sites, home.path());
    TestServer::shared().sites().unprogram(missed);
    QCOMPARE(r.status, 0);
    const QString err = QString::fromUtf8(r.err);
    QVERIFY2(err.contains(QStringLiteral("page skipped: 无法连接到服务器")), qPrintable(err));
    QStringList names;
    for (const QJsonValue& row : QJsonDocument::fromJson(r.out).array())
        names << row[QStringLiteral("mc")].toString();
    QCOMPARE(names, (QStringList{QStringLiteral("星际之门"), QStringLiteral("星际争霸"), QStringLiteral("星际宝贝"),
                                 QStringLiteral("星际传奇3"), QStringLiteral("星际迷航：暗黑无界"),
                                 QStringLiteral("星际穿越")}));
}

void TestCli::searchAllAndCheck()
{
    QTemporaryDir home;
    const CliResult r = runCli({QStringLiteral("search"), QStringLiteral("all"), QStringLiteral("ubuntu"),
                                QStringLiteral("--sources"), QStringLiteral("tag,magnet-b,torrent,magnet-a"),
                                QStringLiteral("--agree")},
                               m_sites, home.path());
    QCOMPARE(r.status, 0);
    QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("xh\tmc\tdx\trq\tlink\tzzdz\tsource"));
    // 5 + 3 + 3 + 3 rows, two resources listed twice.
    QCOMPARE(lines.size(), 12);
    QStringList sources;
    for (const QString& line : std::as_const(lines)) {
        QCOMPARE(line.count(u'\t'), 6);
        sources << line.section(u'\t', 6);
    }
    QCOMPARE(sources.count(QStringLiteral("magnet-a,magnet-b")), 1);
    QCOMPARE(sources.count(QStringLiteral("torrent,tag")), 1);
    // One line per source on stderr, as each ends.
    QStringList err = QString::fromUtf8(r.err).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(err.size(), 4);
    err.sort();
    const QStringList ids{"magnet-a", "magnet-b", "tag", "torrent"};
    const QStringList rows{"3", "3", "3", "5"};
    for (int i = 0; i < err.size(); ++i) {
        const QStringList f = err[i].split(u'\t');
        QCOMPARE(f.size(), 4);
        QCOMPARE(f[0], ids[i]);
        QCOMPARE(f[1], rows[i]);
        QVERIFY(f[2].toInt() >= 0);
        QCOMPARE(f[3], QStringLiteral("ok"));
    }
    const CliResult json = runCli({QStringLiteral("search"), QStringLiteral("all"), QStringLiteral("ubuntu"),
                                   QStringLiteral("--sources"), QStringLiteral("torrent,rss"), QStringLiteral("--json")},
                                  m_sites, home.path());
    QCOMPARE(json.status, 0);
    const QJsonArray objects = QJsonDocument::fromJson(json.out).array();
    QCOMPARE(objects.size(), 9);
    QCOMPARE(objects.first().toObject().keys(),
             (QStringList{"dx", "link", "mc", "rq", "source", "xh", "zzdz"}));
    // The feed's sizes come trimmed; its torrent address is the link.
    const auto feedRow = std::find_if(objects.begin(), objects.end(), [](const QJsonValue& v) {
        return v.toObject().value("source").toString() == QLatin1String("rss");
    });
    QVERIFY(feedRow != objects.end());
    QCOMPARE(feedRow->toObject().value("dx").toString(), QStringLiteral("4.69 GB"));
    QVERIFY(feedRow->toObject().value("link").toString().endsWith(QLatin1String(".torrent")));

    const CliResult check = runCli({QStringLiteral("check"), QStringLiteral("--agree")}, m_sites, home.path());
    QCOMPARE(check.status, 0);
    lines = QString::fromUtf8(check.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("role\tbase\tsource\tstate\trows\tms\treason"));
    QCOMPARE(lines.size(), SiteConfig::roles().size());
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\w+\thttp://127.0.0.1:\\d+/[a-z-]+\t[a-z-]+\tok\t[1-9]"))).size(),
             13);
    QCOMPARE(lines.filter(QStringLiteral("\tskipped\t\t\t没有可检查的来源")).size(), 6);
    const CliResult dead = runCli({QStringLiteral("check")}, m_deadSites, home.path());
    QCOMPARE(dead.status, 2);
    QVERIFY2(QString::fromUtf8(dead.err).contains(QStringLiteral("TorrentIndexSite: 资源获取失败(无法连接到服务器)")),
             dead.err.constData());
}

QTEST_MAIN(TestCli)
#include "test_cli.moc"

// The pure parts of the cloud-disk search: input checks, the request
// address, the service table, cutting a result page into rows and the
// classification table.
#include "net/url_encoding.h"
#include "sources/clouddisk/cloud_disk_hosts.h"
#include "sources/clouddisk/cloud_disk_parse.h"
#include "sources/clouddisk/cloud_disk_query.h"

#include <QSet>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

using namespace lumorra;
using namespace lumorra::clouddisk;

namespace {

// One search-engine record as the markers expect it.
QString record(const QString& title, const QString& url)
{
    return QStringLiteral("{\"order\":1,\"title\":\"%1\",\"url\":\"%2\",\"src\":\"disk\"}").arg(title, url);
}

QString resultPage(const QStringList& records)
{
    return QStringLiteral("<html><head><title>site:pan.baidu.com 电影_搜索结果</title></head><body>"
                          "<script>var r = {\"query\":\"site:pan.baidu.com 电影\",\"data\":[")
        + records.join(QLatin1Char(',')) + QStringLiteral("]};</script></body></html>");
}

} // namespace

class TestCloudDiskParse : public QObject {
    Q_OBJECT
private slots:
    void inputChecks_data();
    void inputChecks();
    void searchUrlIsExact();
    void serviceTable();
    void classification_data();
    void classification();
    void cutsRecordsInPageOrder();
    void fieldsAreTakenAsTheyStand();
    void missingPiecesGiveEmptyFields();
    void unmatchedTitleTakesItsServiceKind();
    void recordsStopAtTheSixteenBitCount_data();
    void recordsStopAtTheSixteenBitCount();
    void texts();
};

void TestCloudDiskParse::inputChecks_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("expected");
    const QString empty = QStringLiteral("请输入要搜索的资源名称..");
    const QString shortText = QStringLiteral("请至少输入两位关键字..");
    const QString noBox = QStringLiteral("请选择至少一个网盘进行搜索..");
    // The keyword checks come before the box check.
    QTest::newRow("empty, nothing ticked") << QString() << false << empty;
    QTest::newRow("empty, ticked") << QString() << true << empty;
    QTest::newRow("one Chinese character") << QStringLiteral("影") << false << shortText;
    QTest::newRow("one letter") << QStringLiteral("a") << true << shortText;
    QTest::newRow("nothing ticked") << QStringLiteral("电影") << false << noBox;
    QTest::newRow("two characters, ticked") << QStringLiteral("电影") << true << QString();
    // Counted in 16-bit units: a character outside the basic plane is two.
    QTest::newRow("one surrogate pair") << QString::fromUcs4(U"\U00020000") << true << QString();
    QTest::newRow("a blank and a letter") << QStringLiteral(" a") << true << QString();
}

void TestCloudDiskParse::inputChecks()
{
    QFETCH(QString, keyword);
    QFETCH(bool, ticked);
    QFETCH(QString, expected);
    QCOMPARE(inputProblem(keyword, ticked), expected);
}

void TestCloudDiskParse::searchUrlIsExact()
{
    QCOMPARE(searchUrl(QStringLiteral("http://h:1/cd"), QStringLiteral("pan.baidu.com"),
                       encodeKeyword(QStringLiteral("电影")), QStringLiteral("3")),
             QStringLiteral("http://h:1/cd/s?wd=site%3Apan.baidu.com%20%E7%94%B5%E5%BD%B1"
                            "&pn=3&rn=50&ie=utf-8&rsv_page=1"));
    // The structure-safe encoder keeps a keyword one keyword.
    const QString url = searchUrl(QStringLiteral("http://h"), QStringLiteral("115.com"),
                                  encodeKeyword(QStringLiteral("a&b C#")), QStringLiteral("12"));
    QCOMPARE(url, QStringLiteral("http://h/s?wd=site%3A115.com%20a%26b%20C%23&pn=12&rn=50&ie=utf-8&rsv_page=1"));
    const QUrlQuery query(QUrl(url).query());
    QCOMPARE(query.queryItemValue(QStringLiteral("wd"), QUrl::FullyDecoded), QStringLiteral("site:115.com a&b C#"));
    QCOMPARE(query.queryItemValue(QStringLiteral("pn")), QStringLiteral("12"));
    QCOMPARE(searchingText(QStringLiteral("a&b")), QStringLiteral("正在为您搜索[a&b]相关资源.."));
}

void TestCloudDiskParse::serviceTable()
{
    QSet<QString> hosts;
    for (int i = 0; i < kServiceCount; ++i) {
        const QString host = serviceHost(i);
        QVERIFY2(!host.isEmpty() && !host.contains(QLatin1Char(' ')) && !host.contains(QLatin1Char('/')),
                 qPrintable(host));
        hosts.insert(host);
        QVERIFY(!serviceKind(i).isEmpty());
    }
    QCOMPARE(hosts.size(), kServiceCount);
    QCOMPARE(serviceCaption(15), QStringLiteral("GXP 网盘"));
    QCOMPARE(serviceKind(15), QStringLiteral("GXP网盘"));
    QCOMPARE(serviceCaption(18), QStringLiteral("Vdisk盘"));
    QCOMPARE(serviceKind(18), QStringLiteral("Vdisk网盘"));
    // Box 16's caption is the kind its rule gives to its mixed-case name.
    QCOMPARE(classifyTitle(QStringLiteral("资料 - ") + QString::fromUtf16(kDomainServiceTitleName)),
             serviceCaption(16));
    QCOMPARE(serviceCaption(16), serviceCaption(16).toUpper());
    QVERIFY(serviceCaption(24).isEmpty());
    QVERIFY(serviceHost(-1).isEmpty());
}

void TestCloudDiskParse::classification_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("kind");
    QTest::newRow("first rule wins") << QStringLiteral("华为手机教程_百度网盘") << QStringLiteral("百度网盘");
    QTest::newRow("1000eb alone") << QStringLiteral("file.zip - 1000eb") << QStringLiteral("千易网盘");
    QTest::newRow("rule 2 literal with bars") << QStringLiteral("x.rar 网盘|网盘资源|网盘外链|资源下载")
                                              << QStringLiteral("华为网盘");
    QTest::newRow("rule 2 is not a pattern") << QStringLiteral("网盘资源") << QString();
    QTest::newRow("360 needs 云") << QStringLiteral("360网盘") << QString();
    QTest::newRow("360云盘") << QStringLiteral("a_360云盘") << QStringLiteral("360网盘");
    QTest::newRow("QQ case-sensitive") << QStringLiteral("qq旋风") << QString();
    QTest::newRow("CSDN before 金山") << QStringLiteral("金山 CSDN") << QStringLiteral("CSDN资源");
    QTest::newRow("GXP phrase") << QStringLiteral("a - 共享盘_网盘_网络硬盘") << QStringLiteral("GXP网盘");
    QTest::newRow("domain name mixed case") << QStringLiteral("Yundisk.cn云盘") << QStringLiteral("YUNDISK.CN");
    QTest::newRow("domain name in capitals") << QStringLiteral("YUNDISK.CN") << QString();
    QTest::newRow("VDISK") << QStringLiteral("微盘 VDISK.WEIBO.COM") << QStringLiteral("Vdisk网盘");
    QTest::newRow("vdisk lower case") << QStringLiteral("vdisk 微盘") << QString();
    QTest::newRow("126") << QStringLiteral("126免费网络硬盘") << QStringLiteral("126网盘");
    QTest::newRow("last rule") << QStringLiteral("天空网盘下载") << QStringLiteral("天空网盘");
    QTest::newRow("nothing") << QStringLiteral("ubuntu.iso") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestCloudDiskParse::classification()
{
    QFETCH(QString, title);
    QFETCH(QString, kind);
    QCOMPARE(classifyTitle(title), kind);
}

void TestCloudDiskParse::cutsRecordsInPageOrder()
{
    const QString page = resultPage({
        record(QStringLiteral("电影合集_百度网盘"), QStringLiteral("http://pan.baidu.com/s/1a")),
        record(QStringLiteral("电影.rar - 1000eb"), QStringLiteral("http://www.1000eb.com/b")),
        record(QStringLiteral("电影 - 天空网盘"), QStringLiteral("http://pan.skycn.com/s/c")),
    });
    QCOMPARE(countRecords(page), 3);
    const QList<CloudDiskRow> rows = cutRecords(page, 0);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].kind, QStringLiteral("百度网盘"));
    QCOMPARE(rows[0].title, QStringLiteral("电影合集_百度网盘"));
    QCOMPARE(rows[0].address, QStringLiteral("http://pan.baidu.com/s/1a"));
    QCOMPARE(rows[1].kind, QStringLiteral("千易网盘"));
    QCOMPARE(rows[1].address, QStringLiteral("http://www.1000eb.com/b"));
    QCOMPARE(rows[2].kind, QStringLiteral("天空网盘"));
    QCOMPARE(rows[2].title, QStringLiteral("电影 - 天空网盘"));

    QCOMPARE(countRecords(resultPage({})), 0);
    QVERIFY(cutRecords(resultPage({}), 0).isEmpty());
    QVERIFY(cutRecords(QString(), 0).isEmpty());
}

void TestCloudDiskParse::fieldsAreTakenAsTheyStand()
{
    // Nothing trimmed, unescaped or decoded.
    const QString page = resultPage({record(QStringLiteral("  a&amp;b \\u4e2d "),
                                            QStringLiteral("http:\\/\\/x.cn\\/s\\/%E7 "))});
    const QList<CloudDiskRow> rows = cutRecords(page, 3);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].title, QStringLiteral("  a&amp;b \\u4e2d "));
    QCOMPARE(rows[0].address, QStringLiteral("http:\\/\\/x.cn\\/s\\/%E7 "));
}

void TestCloudDiskParse::missingPiecesGiveEmptyFields()
{
    // The page ends inside the title: no closing quote, an empty title.
    QString page = resultPage({record(QStringLiteral("ok_百度"), QStringLiteral("http://a"))})
        + QStringLiteral("\"title\":\"cut off here");
    QList<CloudDiskRow> rows = cutRecords(page, 0);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].title, QString());
    // Its address marker is missing too: empty, never the record before's.
    QCOMPARE(rows[1].address, QString());
    QCOMPARE(rows[0].address, QStringLiteral("http://a"));

    // A record without an address between two with one: titles and
    // addresses pair by position, so the third title gets nothing.
    page = QStringLiteral("\"title\":\"one\",\"url\":\"u1\" \"title\":\"two\" \"title\":\"three\",\"url\":\"u2\"");
    rows = cutRecords(page, 0);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].address, QStringLiteral("u1"));
    QCOMPARE(rows[1].address, QStringLiteral("u2"));
    QCOMPARE(rows[2].address, QString());
}

void TestCloudDiskParse::unmatchedTitleTakesItsServiceKind()
{
    const QString page = resultPage({
        record(QStringLiteral("Yundisk.cn 资料"), QStringLiteral("u1")),
        record(QStringLiteral("ubuntu | vdisk 新浪微盘"), QStringLiteral("u2")),
    });
    // The second title matches nothing: it takes the kind of the service
    // whose page it is on, not the first record's kind.
    QList<CloudDiskRow> rows = cutRecords(page, 18);
    QCOMPARE(rows[0].kind, QStringLiteral("YUNDISK.CN"));
    QCOMPARE(rows[1].kind, QStringLiteral("Vdisk网盘"));
    rows = cutRecords(page, 15);
    QCOMPARE(rows[1].kind, QStringLiteral("GXP网盘"));
    for (int i = 0; i < kServiceCount; ++i) {
        const QList<CloudDiskRow> one = cutRecords(resultPage({record(QStringLiteral("x"), QStringLiteral("y"))}), i);
        QCOMPARE(one.size(), 1);
        QCOMPARE(one[0].kind, serviceKind(i));
    }
}

void TestCloudDiskParse::recordsStopAtTheSixteenBitCount_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("listed");
    QTest::newRow("just below") << 32766 << 32766;
    QTest::newRow("exactly the count") << 32767 << 32767;
    QTest::newRow("one more") << 32768 << 32767;
    // A 16-bit count would wrap to 4464 here.
    QTest::newRow("past 65536") << 70000 << 32767;
}

void TestCloudDiskParse::recordsStopAtTheSixteenBitCount()
{
    QFETCH(int, records);
    QFETCH(int, listed);
    QStringList list;
    list.reserve(records);
    for (int i = 1; i <= records; ++i)
        list << record(QStringLiteral("t%1_百度").arg(i), QStringLiteral("u%1").arg(i));
    const QString page = resultPage(list);
    QCOMPARE(countRecords(page), listed);
    const QList<CloudDiskRow> rows = cutRecords(page, 0);
    QCOMPARE(rows.size(), listed);
    // The first records of the page, in order.
    QCOMPARE(rows.first().title, QStringLiteral("t1_百度"));
    QCOMPARE(rows.last().title, QStringLiteral("t%1_百度").arg(listed));
    QCOMPARE(rows.last().address, QStringLiteral("u%1").arg(listed));
}

void TestCloudDiskParse::texts()
{
    QCOMPARE(frameCaption(3), QStringLiteral("资源列表(当前共搜索到：3个资源)"));
    QCOMPARE(finishedText(QStringLiteral("百度网盘")), QStringLiteral("百度网盘搜索完毕.."));
    QCOMPARE(notFoundText(QStringLiteral("百度网盘")), QStringLiteral("百度网盘未找到相关资源.."));
    QCOMPARE(allFailedText(),
        QStringLiteral("搜索失败(无法连接到服务器)，未能从搜索服务获取结果，请检查网络后重试.."));
}

QTEST_GUILESS_MAIN(TestCloudDiskParse)
#include "test_clouddisk_parse.moc"

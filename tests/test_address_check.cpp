// Which addresses from a page are handed on, per use, and the text that
// names a refused one.
#include "net/address_check.h"

#include <QtTest>

using namespace lumorra;

class AddressCheckTest : public QObject {
    Q_OBJECT
private slots:
    void schemesPerUse_data();
    void schemesPerUse();
    void refusedText_data();
    void refusedText();
};

void AddressCheckTest::schemesPerUse_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("play");
    QTest::addColumn<bool>("transfer");
    QTest::addColumn<bool>("webPage");
    auto row = [](const char* name, const QString& address, bool open, bool play, bool transfer,
                   bool webPage) { QTest::newRow(name) << address << open << play << transfer << webPage; };
    row("http", QStringLiteral("http://pan.example/s/1?x=1&y=2"), true, true, true, true);
    row("https", QStringLiteral("https://pan.example/s/1"), true, true, true, true);
    row("http without host", QStringLiteral("http:///etc/passwd"), false, false, false, false);
    row("http path only", QStringLiteral("http:/etc/passwd"), false, false, false, false);
    row("http bare prefix", QStringLiteral("http://"), false, false, false, false);
    row("upper-case scheme", QStringLiteral("HTTP://PAN.EXAMPLE/S/1"), true, true, true, true);
    row("mixed-case scheme", QStringLiteral("hTTpS://pan.example/"), true, true, true, true);
    row("blanks around", QStringLiteral("  http://pan.example/s/1 \t"), true, true, true, true);
    // Pages write Chinese and blanks into paths; only an announcement must be well-formed.
    row("chinese path", QStringLiteral("http://film.example/电影 1.html"), true, true, true, false);
    row("ftp", QStringLiteral("ftp://dy:dy@ftp.film.example:21/1/片.rmvb"), true, true, true, false);
    row("ftp without host", QStringLiteral("ftp:///etc/passwd"), false, false, false, false);
    row("ed2k", QStringLiteral("ed2k://|file|电影.rmvb|7|ABCDEF|/"), true, false, false, false);
    row("magnet", QStringLiteral("magnet:?xt=urn:btih:abc&dn=x"), true, false, false, false);
    row("thunder", QStringLiteral("thunder://QUFodHRwOi8vYS5iL2MuYXZpWlo="), true, false, false, false);
    row("qvod", QStringLiteral("qvod://123|ABCDEF|影片.rmvb|"), true, true, false, false);
    row("upper-case ed2k", QStringLiteral("ED2K://|file|a.avi|1|A|/"), true, false, false, false);
    row("rtsp", QStringLiteral("rtsp://media.example/live"), false, true, false, false);
    row("mms", QStringLiteral("mms://media.example/live"), false, true, false, false);
    row("rtsp without host", QStringLiteral("rtsp:///dev/video0"), false, false, false, false);
    row("file url", QStringLiteral("file:///etc/passwd"), false, false, false, false);
    row("file url with host", QStringLiteral("file://localhost/etc/passwd"), false, false, false, false);
    row("upper-case file", QStringLiteral("FILE:///etc/passwd"), false, false, false, false);
    row("absolute path", QStringLiteral("/etc/passwd"), false, false, false, false);
    row("relative path", QStringLiteral("../../etc/passwd"), false, false, false, false);
    row("bare name", QStringLiteral("passwd"), false, false, false, false);
    row("home path", QStringLiteral("~/.ssh/id_rsa"), false, false, false, false);
    row("network path", QStringLiteral("//host/share/x"), false, false, false, false);
    row("drive letter", QStringLiteral("C:\\Windows\\x.exe"), false, false, false, false);
    row("smb", QStringLiteral("smb://host/share"), false, false, false, false);
    row("javascript", QStringLiteral("javascript:alert(1)"), false, false, false, false);
    row("javascript with blanks", QStringLiteral(" JavaScript:alert(1)"), false, false, false, false);
    row("data", QStringLiteral("data:text/html,<script>x</script>"), false, false, false, false);
    row("mailto", QStringLiteral("mailto:a@b.example"), false, false, false, false);
    row("v4l2", QStringLiteral("v4l2:///dev/video0"), false, false, false, false);
    row("udp", QStringLiteral("udp://239.0.0.1:1234"), false, false, false, false);
    row("unknown scheme", QStringLiteral("x-handler://run?cmd=1"), false, false, false, false);
    row("scheme-like word with blank", QStringLiteral("ht tp://pan.example/"), false, false, false, false);
    // The download programs' links go to the opener as raw text.
    row("line break inside ed2k", QStringLiteral("ed2k://|file|a\nfile:///etc/passwd|/"), false, false, false, false);
    row("escape inside http", QStringLiteral("http://pan.example/\x1b[2J"), false, false, false, false);
    row("C1 inside magnet", QStringLiteral("magnet:?xt=urn:btih:abc\u009b"), false, false, false, false);
    row("empty", QString(), false, false, false, false);
    row("blanks only", QStringLiteral("   "), false, false, false, false);
}

void AddressCheckTest::schemesPerUse()
{
    QFETCH(QString, address);
    QFETCH(bool, open);
    QFETCH(bool, play);
    QFETCH(bool, transfer);
    QFETCH(bool, webPage);
    QCOMPARE(isAllowedAddress(address, AddressUse::Open), open);
    QCOMPARE(isAllowedAddress(address, AddressUse::Play), play);
    QCOMPARE(isAllowedAddress(address, AddressUse::Transfer), transfer);
    QCOMPARE(isAllowedAddress(address, AddressUse::WebPage), webPage);
}

void AddressCheckTest::refusedText_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file url") << QStringLiteral("file:///etc/passwd")
                              << QStringLiteral("已拒绝打开该地址（不支持的地址类型）：file:///etc/passwd");
    QTest::newRow("blanks around") << QStringLiteral(
        " smb://host/share\n") << QStringLiteral("已拒绝打开该地址（不支持的地址类型）：smb://host/share");
    QTest::newRow("line break inside")
        << QStringLiteral("javascript:a()\r\nb()")
        << QStringLiteral("已拒绝打开该地址（不支持的地址类型）：javascript:a()  b()");
    // A page may put a whole document into a cell: the first 120 characters.
    QTest::newRow("long") << QStringLiteral("data:") + QString(200, u'x')
                          << QStringLiteral("已拒绝打开该地址（不支持的地址类型）：data:")
            + QString(115, u'x') + QStringLiteral("…");
    // A character beyond the first plane is not cut in half.
    QTest::newRow("long, surrogate at the cut")
        << QString(119, u'a') + QString::fromUcs4(U"\U0001F600") + u'b'
        << QStringLiteral("已拒绝打开该地址（不支持的地址类型）：") + QString(119, u'a')
            + QStringLiteral("…");
}

void AddressCheckTest::refusedText()
{
    QFETCH(QString, address);
    QFETCH(QString, expected);
    QCOMPARE(refusedAddressText(address), expected);
}

QTEST_GUILESS_MAIN(AddressCheckTest)
#include "test_address_check.moc"

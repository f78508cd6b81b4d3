// preg, padding to a display width, numbers read out of text and the
// memory-release hook.
#include "text/fixed_length.h"
#include "text/memory_release.h"
#include "text/number_text.h"
#include "text/preg.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace lumorra;

class TestTextUtils : public QObject {
    Q_OBJECT
private slots:
    void pregStripsTagsOfOneElement();
    void pregGroupsAndSpecialReplacements();
    void pregIsNotMultiLine();
    void pregInvalidPatternIsReported();

    void displayWidth();
    void fixedLength_data();
    void fixedLength();

    void leadingNumberOfText_data();
    void leadingNumberOfText();
    void numericText_data();
    void numericText();

    void cdataRunsHooks();
};

// ---- preg -------------------------------------------------------------------

void TestTextUtils::pregStripsTagsOfOneElement()
{
    bool ok = false;
    QCOMPARE(preg(u"<A HREF=\"x.htm\">word</a>"_s, u"</?a[^<>]*>"_s, QString(), &ok), u"word"_s);
    QVERIFY(ok);
    // Only the named element goes; other tags and the text between stay.
    QCOMPARE(preg(u"<td class=l><a href=x>n</A> <span>s</span></TD>"_s, u"</?td[^<>]*>"_s, QString()),
             u"<a href=x>n</A> <span>s</span>"_s);
    // No match: the text comes back unchanged.
    QCOMPARE(preg(u"plain"_s, u"</?p[^<>]*>"_s, QString()), u"plain"_s);
}

void TestTextUtils::pregGroupsAndSpecialReplacements()
{
    QCOMPARE(preg(u"a1b22"_s, u"(\\d+)"_s, u"[$1]"_s), u"a[1]b[22]"_s);
    QCOMPARE(preg(u"ab"_s, u"(a)(b)"_s, u"$2$1"_s), u"ba"_s);
    QCOMPARE(preg(u"x"_s, u"x"_s, u"$$-$&"_s), u"$-x"_s);
    QCOMPARE(preg(u"axb"_s, u"x"_s, u"[$`|$']"_s), u"a[a|b]b"_s);
    // A group that does not exist stays literal; $12 with one group is $1 then "2".
    QCOMPARE(preg(u"x"_s, u"(x)"_s, u"$3"_s), u"$3"_s);
    QCOMPARE(preg(u"x"_s, u"(x)"_s, u"$12"_s), u"x2"_s);
    QCOMPARE(preg(u"x"_s, u"(x)|(y)"_s, u"<$2>"_s), u"<>"_s);
    // Case-insensitive beyond ASCII too.
    QCOMPARE(preg(u"ÄBC äbc"_s, u"äb"_s, u"-"_s), u"-C -c"_s);
    // Global replace with empty matches does not loop or drop text.
    QCOMPARE(preg(u"abc"_s, u"x*"_s, u"-"_s), u"-a-b-c-"_s);
}

void TestTextUtils::pregIsNotMultiLine()
{
    QCOMPARE(preg(u"x\nx"_s, u"^x"_s, u"y"_s), u"y\nx"_s);
}

void TestTextUtils::pregInvalidPatternIsReported()
{
    bool ok = true;
    QString error;
    const QString source = u"<p>keep</p>"_s;
    QCOMPARE(preg(source, u"</?p[^<>*>"_s, QString(), &ok, &error), source);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    // Calling again (cached pattern) reports it again; a valid call clears it.
    ok = true;
    QCOMPARE(preg(source, u"(unclosed"_s, QString(), &ok), source);
    QVERIFY(!ok);
    QCOMPARE(preg(source, u"</?p[^<>]*>"_s, QString(), &ok, &error), u"keep"_s);
    QVERIFY(ok);
    QVERIFY(error.isEmpty());
}

// ---- width and padding ------------------------------------------------------

void TestTextUtils::displayWidth()
{
    QCOMPARE(ansiDisplayWidth(u"ab c"), 4);
    QCOMPARE(ansiDisplayWidth(u"教程"), 4);
    QCOMPARE(ansiDisplayWidth(u"百度网盘a"), 9);
    QCOMPARE(ansiDisplayWidth(u"，。"), 4);         // full-width punctuation is in GBK
    QCOMPARE(ansiDisplayWidth(u"\U0001F600"), 4);   // outside GBK: its GB18030 bytes
    QCOMPARE(ansiDisplayWidth(u""), 0);
}

void TestTextUtils::fixedLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trim and pad") << u"  ab "_s << 8 << u"ab      "_s;
    QTest::newRow("chinese counts two") << u"教程"_s << 8 << u"教程    "_s;
    QTest::newRow("wider is kept whole") << u"0123456789"_s << 8 << u"0123456789"_s;
    QTest::newRow("chinese wider") << u"百度网盘资源"_s << 8 << u"百度网盘资源"_s;
    QTest::newRow("exactly wide") << u"12345678"_s << 8 << u"12345678"_s;
    QTest::newRow("empty") << QString() << 8 << QString();
    QTest::newRow("all blanks") << u"    "_s << 8 << QString();
    QTest::newRow("width zero trims") << u" ab "_s << 0 << u"ab"_s;
    QTest::newRow("negative width trims") << u" ab "_s << -5 << u"ab"_s;
    QTest::newRow("only blanks are trimmed") << u"\tab\t"_s << 6 << u"\tab\t  "_s;
    QTest::newRow("inner blanks stay") << u"a  b"_s << 6 << u"a  b  "_s;
}

void TestTextUtils::fixedLength()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(SetStringFixedLength(text, width), expected);
}

// ---- numbers in text --------------------------------------------------------

void TestTextUtils::leadingNumberOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << u"7"_s << 7.0;
    QTest::newRow("blanks before") << u" \t3"_s << 3.0;
    QTest::newRow("decimal") << u"2.5"_s << 2.5;
    QTest::newRow("no leading digit") << u".5"_s << 0.5;
    QTest::newRow("signed") << u"-1"_s << -1.0;
    QTest::newRow("plus") << u"+4"_s << 4.0;
    QTest::newRow("trailing text") << u"3x"_s << 3.0;
    QTest::newRow("exponent") << u"1e3x"_s << 1000.0;
    QTest::newRow("signed exponent") << u"25E-1"_s << 2.5;
    QTest::newRow("bare e is text") << u"1e"_s << 1.0;
    QTest::newRow("e and sign only") << u"2e+"_s << 2.0;
    QTest::newRow("second point ends it") << u"1.2.3"_s << 1.2;
    QTest::newRow("inner blank ends it") << u"1 2"_s << 1.0;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("blank after sign") << u"- 3"_s << 0.0;
    QTest::newRow("full-width digits") << u"１２"_s << 0.0;
    QTest::newRow("too large") << u"1e999"_s << 0.0;
}

void TestTextUtils::leadingNumberOfText()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(leadingNumber(text), value);
}

void TestTextUtils::numericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("whole") << "7" << true;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("decimal") << "2.5" << true;
    QTest::newRow("no leading digit") << ".5" << true;
    QTest::newRow("no trailing digit") << "5." << true;
    QTest::newRow("blanks around") << "  150\t" << true;
    QTest::newRow("signed") << "-3" << true;
    QTest::newRow("plus") << "+3" << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("signed exponent") << "2.5E-2" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "  " << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("digits then letters") << "12a" << false;
    QTest::newRow("point only") << "." << false;
    QTest::newRow("sign only") << "-" << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("inner blank") << "1 2" << false;
    QTest::newRow("exponent without digits") << "1e" << false;
    QTest::newRow("hex") << "0x10" << false;
    QTest::newRow("full-width digits") << "１２" << false;
}

void TestTextUtils::numericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(isNumericText(text), numeric);
}

// ---- memory release ---------------------------------------------------------

void TestTextUtils::cdataRunsHooks()
{
    QString pageText = u"<html>big page</html>"_s;
    QStringList order;
    const int a = addReleaseHook([&] { pageText.clear(); order << u"a"_s; });
    int b = 0;
    b = addReleaseHook([&] {
        order << u"b"_s;
        removeReleaseHook(b);   // a hook may unregister itself while running
    });
    const int c = addReleaseHook([&] { order << u"c"_s; });

    cdata();
    QVERIFY(pageText.isEmpty());
    QCOMPARE(order, (QStringList{u"a"_s, u"b"_s, u"c"_s}));

    order.clear();
    removeReleaseHook(a);
    cdata();
    QCOMPARE(order, QStringList{u"c"_s});
    removeReleaseHook(c);
    order.clear();
    cdata();
    QVERIFY(order.isEmpty());
}

QTEST_MAIN(TestTextUtils)
#include "test_text_utils.moc"

#include "net/url_encoding.h"

#include <QtTest>
#include <QUrlQuery>

using namespace lumorra;

class UrlEncodingTest : public QObject {
    Q_OBJECT
private slots:
    void utf8Encoding_data();
    void utf8Encoding();
    void asciiPassesUnchanged();
    void keywordEscapesStructure_data();
    void keywordEscapesStructure();
    void keywordEncodesNonAsciiLikeUtf8Encoding();
};

void UrlEncodingTest::utf8Encoding_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ascii with space") << QStringLiteral("a b") << QStringLiteral("a b");
    QTest::newRow("chinese") << QStringLiteral("电影") << QStringLiteral("%E7%94%B5%E5%BD%B1");
    QTest::newRow("U+0080 lowest two-byte") << QString(QChar(0x80)) << QStringLiteral("%C2%80");
    QTest::newRow("U+00E9") << QString(QChar(0xE9)) << QStringLiteral("%C3%A9");
    QTest::newRow("U+07FF") << QString(QChar(0x7FF)) << QStringLiteral("%DF%BF");
    QTest::newRow("U+0800") << QString(QChar(0x800)) << QStringLiteral("%E0%A0%80");
    QTest::newRow("U+FFFF") << QString(QChar(0xFFFF)) << QStringLiteral("%EF%BF%BF");
    // Each surrogate half on its own: three escapes per half.
    QTest::newRow("surrogate pair") << QString::fromUcs4(U"\U0001F600")
                                    << QStringLiteral("%ED%A0%BD%ED%B8%80");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) << QStringLiteral("%ED%A0%80");
    QTest::newRow("mixed") << QStringLiteral("C#电影 2") << QStringLiteral("C#%E7%94%B5%E5%BD%B1 2");
}

void UrlEncodingTest::utf8Encoding()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(UTF8_URLEncoding(input), expected);
}

void UrlEncodingTest::asciiPassesUnchanged()
{
    // Every ASCII unit, controls and URL delimiters included, passes as is.
    QString all;
    for (int c = 0; c < 0x80; ++c)
        all += QChar(c);
    QCOMPARE(UTF8_URLEncoding(all), all);
}

void UrlEncodingTest::keywordEscapesStructure_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("fragment and parameter") << QStringLiteral("C# a&b") << QStringLiteral("C%23%20a%26b");
    QTest::newRow("plus, equals, query, slash, percent")
        << QStringLiteral("a+b=c?d/e%f") << QStringLiteral("a%2Bb%3Dc%3Fd%2Fe%25f");
    QTest::newRow("controls") << QStringLiteral("a\tb\r\n") + QChar(0x7F)
                              << QStringLiteral("a%09b%0D%0A%7F");
    QTest::newRow("unreserved kept") << QStringLiteral("Az09-_.~") << QStringLiteral("Az09-_.~");
    QTest::newRow("an escape stays literal") << QStringLiteral("%E7") << QStringLiteral("%25E7");
    QTest::newRow("beyond the first plane") << QString::fromUcs4(U"a\U0001F600\U00020000")
                                            << QStringLiteral("a%F0%9F%98%80%F0%A0%80%80");
}

void UrlEncodingTest::keywordEscapesStructure()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString encoded = encodeKeyword(input);
    QCOMPARE(encoded, expected);
    // Whatever the keyword, the server reads it back as one query value.
    const QUrlQuery query(QStringLiteral("kw=") + encoded + QStringLiteral("&page=2"));
    QCOMPARE(query.queryItemValue(QStringLiteral("kw"), QUrl::FullyDecoded), input);
    QCOMPARE(query.queryItemValue(QStringLiteral("page")), QStringLiteral("2"));
}

void UrlEncodingTest::keywordEncodesNonAsciiLikeUtf8Encoding()
{
    // (Within the first plane; beyond it the keyword takes real UTF-8, see above.)
    const QString samples[] = {QStringLiteral("电影"), QString(QChar(0xE9)), QString(QChar(0xFFFF))};
    for (const QString& s : samples)
        QCOMPARE(encodeKeyword(s), UTF8_URLEncoding(s));
}

QTEST_APPLESS_MAIN(UrlEncodingTest)
#include "test_url_encoding.moc"

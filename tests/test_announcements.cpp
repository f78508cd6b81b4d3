// Reading the announcement file: fields by key and number, colours, and the
// order the rotation goes through.
#include "core/announcements.h"

#include <QtTest>

using namespace lumorra;

class AnnouncementsTest : public QObject {
    Q_OBJECT

private slots:
    void fiveWellFormedItems()
    {
        QString file;
        for (int i = 1; i <= 5; ++i)
            file += QStringLiteral("title:第%1条公告|url:http://x/%1.html|color:green|\r\n").arg(i);
        QCOMPARE(announcementCount(file), 5);
        for (int i = 1; i <= 5; ++i) {
            const Announcement a = announcementAt(file, i);
            QCOMPARE(a.title, QStringLiteral("第%1条公告").arg(i));
            QCOMPARE(a.url, QStringLiteral("http://x/%1.html").arg(i));
            QCOMPARE(a.color, QStringLiteral("#00ff00"));
        }
    }

    void fieldsInAnyOrderWithNoiseBetween()
    {
        const QString file = QStringLiteral(
            "<html>说明 color: blue |其他 url:  http://a/b?c=1  | title:标题 一|\n"
            "--- url:http://two/| 随便 title:二|color:red|");
        const Announcement first = announcementAt(file, 1);
        QCOMPARE(first.title, QStringLiteral("标题 一"));
        QCOMPARE(first.url, QStringLiteral("http://a/b?c=1"));
        QCOMPARE(first.color, QStringLiteral("#0000ff"));
        const Announcement second = announcementAt(file, 2);
        QCOMPARE(second.title, QStringLiteral("二"));
        QCOMPARE(second.url, QStringLiteral("http://two/"));
        QCOMPARE(second.color, QStringLiteral("#ff0000"));
    }

    void titleSpacesKeptUrlAndColourTrimmed()
    {
        const QString file = QStringLiteral("title:  两边有空格  |url:   http://u/   |color:  red  |");
        const Announcement a = announcementAt(file, 1);
        QCOMPARE(a.title, QStringLiteral("  两边有空格  "));
        QCOMPARE(a.url, QStringLiteral("http://u/"));
        QCOMPARE(a.color, QStringLiteral("#ff0000"));
    }

    void colours_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("colour");
        QTest::newRow("red") << "red" << QStringLiteral("#ff0000");
        QTest::newRow("blue") << "blue" << QStringLiteral("#0000ff");
        QTest::newRow("green") << "green" << QStringLiteral("#00ff00");
        QTest::newRow("padded") << "  blue " << QStringLiteral("#0000ff");
        QTest::newRow("capitalised") << "Red" << QStringLiteral("#000000");
        QTest::newRow("upper case") << "GREEN" << QStringLiteral("#000000");
        QTest::newRow("other name") << "yellow" << QStringLiteral("#000000");
        QTest::newRow("hex") << "#ff0000" << QStringLiteral("#000000");
        QTest::newRow("empty") << "" << QStringLiteral("#000000");
        QTest::newRow("tab kept") << "red\t" << QStringLiteral("#000000");
    }
    void colours()
    {
        QFETCH(QString, value);
        QFETCH(QString, colour);
        QCOMPARE(announcementColor(value), colour);
    }

    void missingPiecesAreEmpty()
    {
        // A title without its closing bar is an empty line, not the rest of the file.
        const QString file = QStringLiteral("title:没有结束符 url:http://a/ color:red");
        const Announcement a = announcementAt(file, 1);
        QVERIFY(a.title.isEmpty());
        QVERIFY(a.url.isEmpty());
        QCOMPARE(a.color, QStringLiteral("#000000"));
        // Beyond the last key, and before the first.
        const QString two = QStringLiteral("title:一|title:二|");
        QVERIFY(announcementAt(two, 3).title.isEmpty());
        QVERIFY(announcementField(two, QStringLiteral("title:"), 0).isEmpty());
        QVERIFY(announcementAt(QString(), 1).title.isEmpty());
        // A value ends at the first bar; the bar never shows.
        QCOMPARE(announcementField(QStringLiteral("title:a|b|"), QStringLiteral("title:"), 1), QStringLiteral("a"));
    }

    void count()
    {
        QCOMPARE(announcementCount(QString()), 0);
        QCOMPARE(announcementCount(QStringLiteral("没有公告")), 0);
        QCOMPARE(announcementCount(QStringLiteral("title:a|title:b|title:c|")), 3);
        QCOMPARE(announcementCount(QStringLiteral("title:a|").repeated(7)), 5);
        // "Title:" is not the key.
        QCOMPARE(announcementCount(QStringLiteral("Title:a|title:b|")), 1);
    }

    void rotationOrder()
    {
        QList<int> seen;
        int n = 0;
        for (int i = 0; i < 7; ++i)
            seen << (n = nextAnnouncementNumber(n, 5));
        QCOMPARE(seen, (QList<int>{1, 2, 3, 4, 5, 1, 2}));

        seen.clear();
        n = 0;
        for (int i = 0; i < 5; ++i)
            seen << (n = nextAnnouncementNumber(n, 2));
        QCOMPARE(seen, (QList<int>{1, 2, 1, 2, 1}));

        QCOMPARE(nextAnnouncementNumber(0, 0), 0);
        QCOMPARE(nextAnnouncementNumber(3, 0), 0);
        // The file got shorter since the last tick: start over.
        QCOMPARE(nextAnnouncementNumber(4, 2), 1);
        QCOMPARE(nextAnnouncementNumber(1, 1), 1);
    }
};

QTEST_GUILESS_MAIN(AnnouncementsTest)
#include "test_announcements.moc"

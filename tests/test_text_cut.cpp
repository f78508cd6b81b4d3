// The cutting toolkit: piece numbering, end markers, chains, and the
// indexed page agreeing with the plain scan.
#include "text/cut.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace Qt::StringLiterals;
using lumorra::Cut;
using lumorra::CutPage;

class TestTextCut : public QObject {
    Q_OBJECT
private slots:
    void pieceNumbering_data();
    void pieceNumbering();
    void piecesDoNotOverlapAndRespectCase();
    void emptyMarker();
    void indexedPageAgreesWithPlainScan();
    void tableCellExample();
    void missingEndMarkerGivesEmptyNotFound();
    void prefixStillAppliesToMissingField();
    void beforeAndAfter();
    void eraseAndReplace();
    void chainOnAPiece();
    void recordsJoinByPosition();
    void pageReindexesAfterSetText();
    void cutOwnsItsText();
};

void TestTextCut::pieceNumbering_data()
{
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<bool>("exists");
    // "|" occurs three times: pieces 0 … 3 exist.
    QTest::newRow("before first") << 0 << "head" << true;
    QTest::newRow("first") << 1 << "a" << true;
    QTest::newRow("empty between two") << 2 << "" << true;
    QTest::newRow("last runs to end") << 3 << "tail" << true;
    QTest::newRow("beyond count") << 4 << "" << false;
    QTest::newRow("far beyond") << 1000 << "" << false;
    QTest::newRow("negative") << -1 << "" << false;
}

void TestTextCut::pieceNumbering()
{
    QFETCH(int, i);
    QFETCH(QString, piece);
    QFETCH(bool, exists);
    const QString text = QStringLiteral("head|a||tail");

    const Cut plain = Cut(text).piece(u"|", i);
    QCOMPARE(plain.str(), piece);
    QCOMPARE(plain.found(), exists);

    const CutPage page(text);
    const Cut indexed = page.piece(u"|", i);
    QCOMPARE(indexed.str(), piece);
    QCOMPARE(indexed.found(), exists);
    QCOMPARE(page.hasPiece(u"|", i), exists);
    QCOMPARE(page.count(u"|"), 3);
}

void TestTextCut::piecesDoNotOverlapAndRespectCase()
{
    // "aa" in "aaaaa" occurs at 0 and 2 only (no overlap): pieces "", "", "a".
    const CutPage page(QStringLiteral("aaaaa"));
    QCOMPARE(page.count(u"aa"), 2);
    QCOMPARE(page.occurrences(u"aa"), (QList<qsizetype>{0, 2}));
    QCOMPARE(page.piece(u"aa", 2).str(), QStringLiteral("a"));
    QCOMPARE(Cut(QStringLiteral("aaaaa")).piece(u"aa", 2).str(), QStringLiteral("a"));

    const CutPage mixed(QStringLiteral("x<TD>upper<td>lower"));
    QCOMPARE(mixed.count(u"<td>"), 1);
    QCOMPARE(mixed.piece(u"<td>", 1).str(), QStringLiteral("lower"));
    QCOMPARE(mixed.piece(u"<td>", 0).str(), QStringLiteral("x<TD>upper"));

    // No occurrence at all: piece 0 is the whole page, piece 1 does not exist.
    QCOMPARE(mixed.piece(u"magnet:", 0).str(), mixed.text());
    QVERIFY(!mixed.piece(u"magnet:", 1).found());
}

void TestTextCut::emptyMarker()
{
    const QString text = QStringLiteral("abc");
    const CutPage page(text);
    QCOMPARE(page.count(u""), 0);
    QCOMPARE(page.piece(u"", 0).str(), text);
    QVERIFY(!page.piece(u"", 1).found());
    QCOMPARE(Cut(text).piece(u"", 0).str(), text);
    QVERIFY(!Cut(text).piece(u"", 1).found());
    QVERIFY(!Cut(text).upToFirstCharOf(u"").found());
    QVERIFY(Cut(text).upToFirstCharOf(u"").isEmpty());
    QVERIFY(Cut(text).before(u"").isEmpty());
    QVERIFY(Cut(text).after(u"").isEmpty());
    QCOMPARE(Cut(text).erase(u"").str(), text);
    QCOMPARE(Cut(text).replace(u"", u"x").str(), text);
}

void TestTextCut::indexedPageAgreesWithPlainScan()
{
    // Random texts over a tiny alphabet give adjacent, overlapping-looking
    // and boundary occurrences that hand-picked examples miss.
    QRandomGenerator rng(20240601);
    const QStringList markers = {u"ab"_s, u"a"_s, u"aba"_s, u"bb"_s, u"abc"_s};
    for (int round = 0; round < 300; ++round) {
        QString text;
        const int len = int(rng.bounded(0, 40));
        for (int k = 0; k < len; ++k)
            text.append(QChar(u'a' + rng.bounded(0, 3)));
        const CutPage page(text);
        for (const QString& m : markers) {
            const qsizetype n = page.count(m);
            QString rebuilt;
            for (qsizetype i = 0; i <= n + 1; ++i) {
                const Cut a = page.piece(m, i);
                const Cut b = Cut(text).piece(m, i);
                QCOMPARE(a.str(), b.str());
                QCOMPARE(a.found(), b.found());
                QCOMPARE(a.found(), i <= n);
                if (i <= n)
                    rebuilt += (i ? m : QString()) + a.str();
            }
            // The pieces joined by the marker give the text back.
            QCOMPARE(rebuilt, text);
        }
    }
}

void TestTextCut::tableCellExample()
{
    const CutPage page(QStringLiteral("<tr><td class=\"name\">a<b>b</b></td><td class=\"size\">1 GB</td></tr>"));
    const QString name = page.piece(u"<td class=\"name\">", 1).upToFirstCharOf(u"</td>").erase(u'<');
    QCOMPARE(name, QStringLiteral("ab>b/b>"));
    const QString size = page.piece(u"<td class=\"size\">", 1).upToFirstCharOf(u"</td>").erase(u'<');
    QCOMPARE(size, QStringLiteral("1 GB"));
}

void TestTextCut::missingEndMarkerGivesEmptyNotFound()
{
    const CutPage page(QStringLiteral("<td class=\"name\">no end here"));
    const Cut name = page.piece(u"<td class=\"name\">", 1).upToFirstCharOf(u"</td>").erase(u'<');
    QVERIFY(name.found() == false);
    QCOMPARE(name.str(), QString());

    // A piece that does not exist poisons the rest of the chain as well.
    const Cut gone = page.piece(u"<td class=\"date\">", 1).upToFirstCharOf(u"<").erase(u'<');
    QVERIFY(!gone.found());
    QVERIFY(gone.isEmpty());
}

void TestTextCut::prefixStillAppliesToMissingField()
{
    const CutPage page(QStringLiteral("<a href=\"magnet:?xt=urn:btih:H\">m</a><a href=\"magnet:broken"));
    const Cut ok = page.piece(u"magnet:", 1).upToFirstCharOf(u"\"").erase(u'"').prefix(u"magnet:");
    QCOMPARE(ok.str(), QStringLiteral("magnet:?xt=urn:btih:H"));
    QVERIFY(ok.found());
    const Cut broken = page.piece(u"magnet:", 2).upToFirstCharOf(u"\"").erase(u'"').prefix(u"magnet:");
    QCOMPARE(broken.str(), QStringLiteral("magnet:"));
    QVERIFY(!broken.found());
}

void TestTextCut::beforeAndAfter()
{
    const Cut link(QStringLiteral("/content/detail_42.html\" title=\"x\">"));
    QCOMPARE(link.before(u'"').str(), QStringLiteral("/content/detail_42.html"));
    QCOMPARE(link.before(u"\" title").str(), QStringLiteral("/content/detail_42.html"));
    QCOMPARE(link.after(u"title=\"").str(), QStringLiteral("x\">"));
    QCOMPARE(link.after(u">").str(), QString());
    QVERIFY(link.after(u">").found());

    // Missing: empty, never the whole text.
    const Cut noQuote(QStringLiteral("plain"));
    QCOMPARE(noQuote.before(u'"').str(), QString());
    QVERIFY(!noQuote.before(u'"').found());
    QCOMPARE(noQuote.after(u"=").str(), QString());
    QVERIFY(!noQuote.after(u"=").found());

    QCOMPARE(Cut(QStringLiteral("  a b  ")).trimSpaces().str(), QStringLiteral("a b"));
    QCOMPARE(Cut(QStringLiteral("\ta \n")).trimSpaces().str(), QStringLiteral("\ta \n"));
    QCOMPARE(Cut(QStringLiteral("   ")).trimSpaces().str(), QString());
}

void TestTextCut::eraseAndReplace()
{
    const Cut s(QStringLiteral("a&amp;b&amp;amp;c"));
    QCOMPARE(s.erase(u"&amp;").str(), QStringLiteral("abamp;c"));
    QCOMPARE(s.replace(u"&amp;", u"&").str(), QStringLiteral("a&b&amp;c"));
    // Left to right without overlap.
    QCOMPARE(Cut(QStringLiteral("aaaa")).replace(u"aa", u"b").str(), QStringLiteral("bb"));
    QCOMPARE(Cut(QStringLiteral("aaa")).replace(u"aa", u"b").str(), QStringLiteral("ba"));
    // The replacement is not searched again.
    QCOMPARE(Cut(QStringLiteral("x")).replace(u"x", u"xx").str(), QStringLiteral("xx"));
    QCOMPARE(Cut(QStringLiteral("a\r\nb\r\n")).erase(u"\r\n").str(), QStringLiteral("ab"));
    QCOMPARE(Cut(QStringLiteral("◎a◎b")).replace(u"◎", u"\r\n\r\n").prefix(u"◎译").suffix(u"!").str(),
             QStringLiteral("◎译\r\n\r\na\r\n\r\nb!"));
    // Erasing from a narrowed piece works on that piece only.
    QCOMPARE(Cut(QStringLiteral("<x>|<y>|<z>")).piece(u"|", 1).erase(u'<').str(), QStringLiteral("y>"));
}

void TestTextCut::chainOnAPiece()
{
    // Region: up to the "<" of "</a>", then piece 1 of that at ">".
    const CutPage page(QStringLiteral(
        "<a href=index.asp?RegionID=1>大陆</a>|<a href=index.asp?RegionID=7>香港</a>"));
    QStringList regions;
    for (int i = 1; i <= page.count(u"index.asp?RegionID="); ++i)
        regions << page.piece(u"index.asp?RegionID=", i).upToFirstCharOf(u"</a>").piece(u">", 1).erase(u'<').str();
    QCOMPARE(regions, (QStringList{u"大陆"_s, u"香港"_s}));
}

void TestTextCut::recordsJoinByPosition()
{
    // The second record lacks its size cell: sizes are numbered on their own,
    // so row 2 takes the third record's size and row 3 has none.
    const CutPage page(QStringLiteral(
        "<td class=\"name\">one</td><td class=\"size\">1 MB</td>"
        "<td class=\"name\">two</td>"
        "<td class=\"name\">three</td><td class=\"size\">3 MB</td>"));
    const int n = int(page.count(u"<td class=\"name\">"));
    QCOMPARE(n, 3);
    QStringList rows;
    for (int i = 1; i <= n; ++i) {
        const Cut name = page.piece(u"<td class=\"name\">", i).upToFirstCharOf(u"</td>").erase(u'<');
        const Cut size = page.piece(u"<td class=\"size\">", i).upToFirstCharOf(u"</td>").erase(u'<');
        rows << name.str() + u'=' + size.str() + (size.found() ? QString() : u"?"_s);
    }
    QCOMPARE(rows, (QStringList{u"one=1 MB"_s, u"two=3 MB"_s, u"three=?"_s}));
}

void TestTextCut::pageReindexesAfterSetText()
{
    CutPage page(QStringLiteral("a|b"));
    QCOMPARE(page.piece(u"|", 1).str(), QStringLiteral("b"));
    page.setText(QStringLiteral("x|y|z"));
    QCOMPARE(page.count(u"|"), 2);
    QCOMPARE(page.piece(u"|", 2).str(), QStringLiteral("z"));
    page.clear();
    QCOMPARE(page.count(u"|"), 0);
    QVERIFY(!page.piece(u"|", 1).found());
}

void TestTextCut::cutOwnsItsText()
{
    Cut c;
    {
        QString temp = QStringLiteral("k=value;rest");
        c = Cut(temp).after(u"=").before(u';');
        temp.fill(u'#');   // a copy-on-write detach must not reach c
    }
    QCOMPARE(c.str(), QStringLiteral("value"));

    Cut fromView;
    {
        const QString source = QStringLiteral("abc|def");
        fromView = Cut(QStringView(source)).piece(u"|", 1);
    }
    QCOMPARE(fromView.str(), QStringLiteral("def"));
}

QTEST_GUILESS_MAIN(TestTextCut)
#include "test_text_cut.moc"

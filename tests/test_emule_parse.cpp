// eMule family, pure part: category buttons and URLs, the record cutting of
// the index site, the search URLs, and the search site's table records.
#include "sources/emule/emule_category_parse.h"
#include "sources/emule/emule_search_parse.h"
#include "text/cut.h"

#include <QtTest>

using namespace lumorra;

namespace {

const QString kBase = QStringLiteral("http://index.test/emule-index");

QString thumb(const QString& path, const QString& name, const QString& remark)
{
    return QStringLiteral("<div class=\"thumb\"><a href=\"/%1\" title=\"%2\"><img src=\"x.jpg\"></a>"
                          "<p><a href=\"/c/\">分类</a> | %3</p></div>\n")
        .arg(path, name, remark);
}

QString listing(int records)
{
    QString page = QStringLiteral("<html><body><div class=\"list\">\n");
    for (int i = 1; i <= records; ++i)
        page += thumb(QStringLiteral("m/%1.html").arg(i), QStringLiteral("名称%1").arg(i),
                      QStringLiteral("备注%1").arg(i));
    return page + QStringLiteral("</div></body></html>");
}

} // namespace

class TestEmuleParse : public QObject {
    Q_OBJECT
private slots:
    void buttonsMapToCategoryAndAction();
    void listingUrlAndPageNumbers();
    void recordOfTheBlockExample();
    void remarkKeepsInnerTagTextWithoutAngles();
    void recordsInPageOrderUpToThirty();
    void shortAndEmptyPagesGiveExactlyTheirRecords();
    void missingFieldsAreEmptyNotBorrowed();
    void indexSearchUrlAndNotFoundPage();
    void searchSiteUrlByPageBox_data();
    void searchSiteUrlByPageBox();
    void searchSiteRecordExample();
    void searchSiteRecordsWithoutDetailLinkAreSkipped();
    void searchSiteOddRecords();
};

void TestEmuleParse::buttonsMapToCategoryAndAction()
{
    struct Case {
        const char* array;
        int index;
        EmuleCategory category;
        PagingAction action;
    };
    const Case cases[] = {
        {"Command21", 0, EmuleCategory::Films, PagingAction::Fetch},
        {"Command26", 1, EmuleCategory::Music, PagingAction::Next},
        {"Command27", 2, EmuleCategory::Software, PagingAction::Previous},
        {"Command27", 3, EmuleCategory::Books, PagingAction::Fetch},
        {"Command27", 7, EmuleCategory::Education, PagingAction::Next},
        {"Command27", 11, EmuleCategory::Data, PagingAction::Previous},
        {"Command41", 2, EmuleCategory::Cartoons, PagingAction::Previous},
    };
    for (const Case& c : cases) {
        const auto b = categoryButton(QLatin1String(c.array), c.index);
        QVERIFY2(b, c.array);
        QCOMPARE(int(b->category), int(c.category));
        QCOMPARE(int(b->action), int(c.action));
    }
    // Buttons of other features sharing the arrays are not category buttons.
    QVERIFY(!categoryButton(QStringLiteral("Command21"), 3));
    QVERIFY(!categoryButton(QStringLiteral("Command21"), 5));
    QVERIFY(!categoryButton(QStringLiteral("Command27"), 12));
    QVERIFY(!categoryButton(QStringLiteral("Command27"), 13));
    QVERIFY(!categoryButton(QStringLiteral("Command41"), 3));
    QVERIFY(!categoryButton(QStringLiteral("Command2"), 0));
}

void TestEmuleParse::listingUrlAndPageNumbers()
{
    QCOMPARE(categoryPageUrl(kBase, EmuleCategory::Music, 1), kBase + "/emule/music/1");
    QCOMPARE(categoryPageUrl(kBase, EmuleCategory::Data, 32768), kBase + "/emule/datum/32768");

    QCOMPARE(nextCategoryPage(EmuleCategory::Music, 1), 2);
    // The cartoon number is 16-bit and stays at its top; the others go on.
    QCOMPARE(nextCategoryPage(EmuleCategory::Cartoons, 32766), 32767);
    QCOMPARE(nextCategoryPage(EmuleCategory::Cartoons, 32767), 32767);
    QCOMPARE(nextCategoryPage(EmuleCategory::Films, 32767), 32768);
}

void TestEmuleParse::recordOfTheBlockExample()
{
    const CutPage page(QStringLiteral(
        "<html>head<div class=\"thumb\"><a href=\"/abc/123.html\" title=\"Name\"><img src=\"p.jpg\"></a>"
        "<p>...</a> | Remark text</p></div></html>"));
    QCOMPARE(countCategoryRecords(page), 1);
    const auto r = cutCategoryRecord(page, 1, kBase);
    QVERIFY(r);
    QCOMPARE(r->name, QStringLiteral("Name"));
    QCOMPARE(r->remark, QStringLiteral("Remark text"));
    QCOMPARE(r->address, kBase + "/abc/123.html");
    // Nothing before the first record is a record.
    QVERIFY(!cutCategoryRecord(page, 0, kBase));
    QVERIFY(!cutCategoryRecord(page, 2, kBase));
}

void TestEmuleParse::remarkKeepsInnerTagTextWithoutAngles()
{
    const CutPage page(thumb("a.html", "N", "<b>x</b>") + thumb("b.html", "M", "Tom &amp; 杰瑞 %20"));
    QCOMPARE(cutCategoryRecord(page, 1, kBase)->remark, QStringLiteral("b>x/b>"));
    // Nothing is unescaped or decoded.
    QCOMPARE(cutCategoryRecord(page, 2, kBase)->remark, QStringLiteral("Tom &amp; 杰瑞 %20"));
}

void TestEmuleParse::recordsInPageOrderUpToThirty()
{
    const CutPage page(listing(35));
    QCOMPARE(countCategoryRecords(page), 35);
    const QList<EmuleRecord> rows = cutCategoryRecords(page, kBase, kCategoryPageRecords);
    QCOMPARE(rows.size(), 30);
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i].name, QStringLiteral("名称%1").arg(i + 1));
        QCOMPARE(rows[i].remark, QStringLiteral("备注%1").arg(i + 1));
        QCOMPARE(rows[i].address, kBase + QStringLiteral("/m/%1.html").arg(i + 1));
    }
}

void TestEmuleParse::shortAndEmptyPagesGiveExactlyTheirRecords()
{
    const QList<EmuleRecord> seven = cutCategoryRecords(CutPage(listing(7)), kBase, kCategoryPageRecords);
    QCOMPARE(seven.size(), 7);
    QCOMPARE(seven.last().name, QStringLiteral("名称7"));

    QVERIFY(cutCategoryRecords(CutPage(listing(0)), kBase, kCategoryPageRecords).isEmpty());
    QVERIFY(cutCategoryRecords(CutPage(QString()), kBase, kCategoryPageRecords).isEmpty());
}

void TestEmuleParse::missingFieldsAreEmptyNotBorrowed()
{
    // Record 2 has no link, no title and no remark marker.
    const CutPage page(thumb("a.html", "有名", "有备注")
                       + QStringLiteral("<div class=\"thumb\"><img src=\"x\"><p>残缺</p></div>")
                       + QStringLiteral("<div class=\"thumb\"><a href=\"/c.html\" title=\"unterminated"));
    const QList<EmuleRecord> rows = cutCategoryRecords(page, kBase, kCategoryPageRecords);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1].name, QString());
    QCOMPARE(rows[1].remark, QString());
    QCOMPARE(rows[1].address, kBase + "/");
    // A title without its closing quote gives no name.
    QCOMPARE(rows[2].name, QString());
    QCOMPARE(rows[2].address, kBase + "/c.html");
}

void TestEmuleParse::indexSearchUrlAndNotFoundPage()
{
    QCOMPARE(indexSearchUrl(kBase, QStringLiteral("电影"), QStringLiteral("3")),
             kBase + "/emule/search/%E7%94%B5%E5%BD%B1/3");
    // A keyword stays one path segment whatever it holds.
    const QString odd = indexSearchUrl(kBase, QStringLiteral("a/b c#d?e"), QStringLiteral("1"));
    QVERIFY2(odd.startsWith(kBase + "/emule/search/a"), qPrintable(odd));
    QVERIFY2(odd.endsWith(QStringLiteral("/1")), qPrintable(odd));
    const QString segment = odd.mid(kBase.size() + 14).chopped(2);
    QVERIFY2(!segment.contains('/') && !segment.contains(' ') && !segment.contains('#')
                 && !segment.contains('?'),
             qPrintable(segment));

    QVERIFY(isIndexSearchNotFound(QStringLiteral("<p>没能为您找到与“x”相关的资源</p>")));
    QVERIFY(!isIndexSearchNotFound(listing(3)));
}

void TestEmuleParse::searchSiteUrlByPageBox_data()
{
    QTest::addColumn<QString>("pageText");
    QTest::addColumn<QString>("query");
    const QString kw = QStringLiteral("SearchWord=%E7%94%B5%E5%BD%B1");
    QTest::newRow("1") << "1" << "?" + kw;
    QTest::newRow("2") << "2" << "?PageIndex=2&" + kw;
    QTest::newRow("99") << "99" << "?PageIndex=99&" + kw;
    QTest::newRow("leading blank") << " 3" << "?PageIndex=3&" + kw;
    QTest::newRow("1.0 is page 1") << "1.0" << "?" + kw;
    QTest::newRow("fraction") << "2.5" << "?PageIndex=2.5&" + kw;
    QTest::newRow("exponent") << "1e1" << "?PageIndex=10&" + kw;
    QTest::newRow("trailing text") << "4abc" << "?PageIndex=4&" + kw;
    QTest::newRow("no number") << "abc" << "?PageIndex=0&" + kw;
}

void TestEmuleParse::searchSiteUrlByPageBox()
{
    QFETCH(QString, pageText);
    QFETCH(QString, query);
    const QString base = QStringLiteral("http://search.test/s");
    QCOMPARE(searchSiteUrl(base, QStringLiteral("电影"), pageText), base + "/FileList.asp" + query);
}

void TestEmuleParse::searchSiteRecordExample()
{
    const QString base = QStringLiteral("http://search.test/s");
    const CutPage page(QStringLiteral("<table><tr><td>[<a href=\"/cat.html\">电影</a>] "
                                      "<a href=\"ShowFile.asp?FileID=123\">Name</a></td></tr></table>"));
    QCOMPARE(countSearchSiteRecords(page), 1);
    const QList<SearchSiteRow> rows = cutSearchSiteRows(page, base, 1);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].category, QStringLiteral("电影"));
    QCOMPARE(rows[0].name, QStringLiteral(" Name"));
    QCOMPARE(rows[0].address, base + "/ShowFile.asp?FileID=123");

    // The keyword is escaped so it cannot add query keys of its own.
    QCOMPARE(searchSiteUrl(base, QStringLiteral("a&PageIndex=9"), "1").count('&'), 0);
}

void TestEmuleParse::searchSiteRecordsWithoutDetailLinkAreSkipped()
{
    const QString base = QStringLiteral("http://search.test/s");
    const CutPage page(QStringLiteral(
        "<tr><td>[<a href=\"c1\">音乐</a>] <a href=\"ShowFile.asp?FileID=1\">一</a></td></tr>"
        "<tr><td>[公告] 本站资源均来自网友分享</td></tr>"
        "<tr><td>[<A HREF=\"c3\">软件</A>] <a href=\"ShowFile.asp?FileID=3\"><b>三</b></a></td></tr>"));
    QCOMPARE(countSearchSiteRecords(page), 3);
    const QList<SearchSiteRow> rows = cutSearchSiteRows(page, base, 3);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, QStringLiteral(" 一"));
    QCOMPARE(rows[0].category, QStringLiteral("音乐"));
    QCOMPARE(rows[0].address, base + "/ShowFile.asp?FileID=1");
    // The record after the skipped one keeps its own values; upper-case
    // anchors go too, other tags lose their "<".
    QCOMPARE(rows[1].category, QStringLiteral("软件"));
    QCOMPARE(rows[1].name, QStringLiteral(" b>三/b>"));
    QCOMPARE(rows[1].address, base + "/ShowFile.asp?FileID=3");

    // Fewer hits asked for than the page holds: only those.
    QCOMPARE(cutSearchSiteRows(page, base, 1).size(), 1);
}

void TestEmuleParse::searchSiteOddRecords()
{
    const QString base = QStringLiteral("http://search.test/s");
    // No "]" at all: the category is empty, the name is cut from the record
    // without its first character. A detail id without its closing quote
    // names no file.
    const CutPage page(QStringLiteral(
        "<td>[x <a href=\"ShowFile.asp?FileID=7\">Seven</a></td>"
        "<td>[<a>书</a>] <a href=\"ShowFile.asp?FileID=8"));
    const QList<SearchSiteRow> rows = cutSearchSiteRows(page, base, 2);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].category, QString());
    QCOMPARE(rows[0].name, QStringLiteral(" Seven"));
    QCOMPARE(rows[0].address, base + "/ShowFile.asp?FileID=7");
}

QTEST_GUILESS_MAIN(TestEmuleParse)
#include "test_emule_parse.moc"

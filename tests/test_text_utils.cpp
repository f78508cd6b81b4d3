// preg, padding to a display width, numbers read out of text, list export,
// picture loading and the memory-release hook.
#include "text/fixed_length.h"
#include "text/list_export.h"
#include "text/load_picture.h"
#include "text/memory_release.h"
#include "text/number_text.h"
#include "text/preg.h"

#include "file_bytes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardItemModel>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using namespace lumorra;
using lumorra::testing::readFileBytes;

namespace {

QByteArray gb18030(const QString& s)
{
    QStringEncoder enc("GB18030");
    return enc.encode(s);
}

QStandardItemModel* rows(QObject* parent, const QList<QStringList>& cells)
{
    auto* model = new QStandardItemModel(parent);
    for (const QStringList& row : cells) {
        QList<QStandardItem*> items;
        for (const QString& c : row)
            items << new QStandardItem(c);
        model->appendRow(items);
    }
    return model;
}

// Serves one fixed answer to every connection (enough for a picture fetch).
class OneShotServer : public QTcpServer {
public:
    explicit OneShotServer(QByteArray answer) : m_answer(std::move(answer))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    m_request += s->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    s->write(m_answer);
                    s->disconnectFromHost();
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return u"http://127.0.0.1:%1"_s.arg(serverPort()); }
private:
    QByteArray m_answer;
    QByteArray m_request;
};

QByteArray httpAnswer(const QByteArray& type, const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray pngBytes(QColor colour)
{
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

} // namespace

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

    void exportEmptyListWritesNothing();
    void exportExactBytes();
    void exportChineseAsGbkBytes();
    void exportKeepsLongCellsAndNonGbkText();
    void exportIncludesHiddenColumns();
    void exportWriteFailureLeavesNoFile();
    void exportReplacesExistingFile();

    void loadPictureFromFile();
    void loadPictureFailures();
    void loadPictureFromUrl();

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

// ---- export -----------------------------------------------------------------

void TestTextUtils::exportEmptyListWritesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    QStandardItemModel empty(0, 3);
    QVERIFY(!ExportListViewContent(&empty, path));
    QVERIFY(!QFile::exists(path));

    // An existing file is not touched either.
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QTreeWidget list;
    list.setColumnCount(3);
    QVERIFY(!ExportListViewContent(&list, path));
    QCOMPARE(readFileBytes(path), QByteArray("old"));
    QVERIFY(!ExportListViewContent(static_cast<const QAbstractItemModel*>(nullptr), path));
}

void TestTextUtils::exportExactBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    auto* model = rows(this, {{u" ab "_s, u"cd"_s, u"http://x/y"_s}});
    QVERIFY(ExportListViewContent(model, path));
    // Name padded to 8 bytes, then "   " before every further column.
    QCOMPARE(readFileBytes(path), QByteArray("ab      " "   cd" "   http://x/y" "\r\n"));

    auto* two = rows(this, {{u"1"_s, u""_s, u"z"_s}, {u"123456789"_s, u"b"_s, u""_s}});
    QVERIFY(ExportListViewContent(two, path));
    QCOMPARE(readFileBytes(path), QByteArray("1       " "   " "   z\r\n"
                                             "123456789" "   b" "   \r\n"));
}

void TestTextUtils::exportChineseAsGbkBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"网盘资源数据.txt"_s);
    auto* model = rows(this, {{u"教程"_s, u"百度网盘"_s, u"电影"_s}});
    QVERIFY(ExportListViewContent(model, path));
    // 教程 BDCC B3CC padded to 8 bytes, 百度网盘 B0D9 B6C8 CDF8 C5CC, 电影 B5E7 D3B0.
    QCOMPARE(readFileBytes(path).toHex(' '),
             QByteArray("bd cc b3 cc 20 20 20 20 20 20 20 b0 d9 b6 c8 cd f8 c5 cc 20 20 20 b5 e7 d3 b0 0d 0a"));
}

void TestTextUtils::exportKeepsLongCellsAndNonGbkText()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    const QString longCell = QString(700, u'链') + u"END"_s;   // 1403 bytes
    const QString outside = u"x\U0001F600y€"_s;
    auto* model = rows(this, {{u"a"_s, longCell, outside}});
    QVERIFY(ExportListViewContent(model, path));
    const QByteArray bytes = readFileBytes(path);
    QCOMPARE(bytes, gb18030(u"a       "_s + u"   "_s + longCell + u"   "_s + outside + u"\r\n"_s));
    QVERIFY(!bytes.contains('?'));
    QStringDecoder dec("GB18030");
    QCOMPARE(QString(dec.decode(bytes)), u"a          "_s + longCell + u"   "_s + outside + u"\r\n"_s);
}

void TestTextUtils::exportIncludesHiddenColumns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    QTreeWidget list;
    list.setColumnCount(3);
    list.setColumnHidden(2, true);
    list.setColumnWidth(1, 0);
    auto* item = new QTreeWidgetItem(&list);
    item->setText(0, u"教程"_s);
    item->setText(1, u"百度网盘"_s);
    item->setText(2, u"http://pan/s/1"_s);
    QVERIFY(ExportListViewContent(&list, path));
    QCOMPARE(readFileBytes(path), gb18030(u"教程    " "   " "百度网盘" "   " "http://pan/s/1\r\n"_s));
}

void TestTextUtils::exportWriteFailureLeavesNoFile()
{
    QTemporaryDir dir;
    auto* model = rows(this, {{u"a"_s, u"b"_s}});

    const QString noDir = dir.filePath(u"missing/out.txt"_s);
    QVERIFY(!ExportListViewContent(model, noDir));
    QVERIFY(!QFile::exists(noDir));

    // The target is a directory: cannot be replaced, and no temporary file
    // is left beside it.
    const QString asDir = dir.filePath(u"taken"_s);
    QVERIFY(QDir().mkpath(asDir));
    QVERIFY(!ExportListViewContent(model, asDir));
    QVERIFY(QFileInfo(asDir).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{u"taken"_s});

    QVERIFY(!ExportListViewContent(model, QString()));

#ifdef Q_OS_LINUX
    // The disk fills up half-way: the old export survives untouched and no
    // partial file or temporary file remains.
    const QString path = dir.filePath(u"export.txt"_s);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("previous export\r\n");
    old.close();
    QList<QStringList> many;
    for (int i = 0; i < 400; ++i)
        many << QStringList{QString::number(i), u"百度网盘"_s, u"http://pan.example/s/"_s + QString(40, u'x')};
    auto* big = rows(this, many);
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool written = ExportListViewContent(big, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readFileBytes(path), QByteArray("previous export\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"export.txt"_s});
#endif
}

void TestTextUtils::exportReplacesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
    f.close();
    auto* model = rows(this, {{u"a"_s}});
    QVERIFY(ExportListViewContent(model, path));
    QCOMPARE(readFileBytes(path), QByteArray("a       \r\n"));
}

// ---- pictures ---------------------------------------------------------------

void TestTextUtils::loadPictureFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"封面.png"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(pngBytes(Qt::red));
    f.close();
    const QImage img = LoadPicture(path);
    QCOMPARE(img.size(), QSize(3, 2));
    QCOMPARE(img.pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(LoadPicture(QUrl::fromLocalFile(path).toString()).size(), QSize(3, 2));

    // Format from content, not from the name.
    const QString misnamed = dir.filePath(u"cover.jpg"_s);
    QVERIFY(QFile::copy(path, misnamed));
    QVERIFY(!LoadPicture(misnamed).isNull());
}

void TestTextUtils::loadPictureFailures()
{
    QTemporaryDir dir;
    QVERIFY(LoadPicture(dir.filePath(u"none.png"_s)).isNull());
    QVERIFY(LoadPicture(QString()).isNull());
    QVERIFY(LoadPicture(dir.path()).isNull());
    const QString text = dir.filePath(u"not-a-picture.png"_s);
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<html>404</html>");
    f.close();
    QVERIFY(LoadPicture(text).isNull());
    // Nothing listens on port 1.
    QVERIFY(LoadPicture(u"http://127.0.0.1:1/x.png"_s).isNull());
}

void TestTextUtils::loadPictureFromUrl()
{
    OneShotServer png(httpAnswer("image/png", pngBytes(Qt::blue)));
    QVERIFY(png.listen(QHostAddress::LocalHost));
    const QImage img = LoadPicture(png.base() + u"/poster/1.png"_s);
    QCOMPARE(img.size(), QSize(3, 2));
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::blue));

    OneShotServer page(httpAnswer("text/html", "<html>not found</html>"));
    QVERIFY(page.listen(QHostAddress::LocalHost));
    QVERIFY(LoadPicture(page.base() + u"/poster/2.png"_s).isNull());
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

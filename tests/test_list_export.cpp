// Writing a result list to a GBK text file, and pictures from files and web
// addresses.
#include "lists/list_export.h"
#include "ui/load_picture.h"

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
#include <QEventLoop>
#include <QTimer>

#include <optional>
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

// LoadPicture's answer, waited for; checks it comes after the call returned.
QImage loadNow(const QString& pathOrUrl)
{
    QObject context;
    QEventLoop loop;
    std::optional<QImage> picture;
    LoadPicture(pathOrUrl, &context, [&](const QImage& image) {
        picture = image;
        loop.quit();
    });
    if (picture)
        return QImage(1, 1, QImage::Format_Mono);   // answered inside the call: a fault
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return picture.value_or(QImage(2, 2, QImage::Format_Mono));
}

} // namespace

class TestListExport : public QObject {
    Q_OBJECT
private slots:
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

};

// ---- export -----------------------------------------------------------------

void TestListExport::exportEmptyListWritesNothing()
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

void TestListExport::exportExactBytes()
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

void TestListExport::exportChineseAsGbkBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"网盘资源数据.txt"_s);
    auto* model = rows(this, {{u"教程"_s, u"百度网盘"_s, u"电影"_s}});
    QVERIFY(ExportListViewContent(model, path));
    // 教程 BDCC B3CC padded to 8 bytes, 百度网盘 B0D9 B6C8 CDF8 C5CC, 电影 B5E7 D3B0.
    QCOMPARE(readFileBytes(path).toHex(' '),
             QByteArray("bd cc b3 cc 20 20 20 20 20 20 20 b0 d9 b6 c8 cd f8 c5 cc 20 20 20 b5 e7 d3 b0 0d 0a"));
}

void TestListExport::exportKeepsLongCellsAndNonGbkText()
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

void TestListExport::exportIncludesHiddenColumns()
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

void TestListExport::exportWriteFailureLeavesNoFile()
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

void TestListExport::exportReplacesExistingFile()
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

void TestListExport::loadPictureFromFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"封面.png"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(pngBytes(Qt::red));
    f.close();
    const QImage img = loadNow(path);
    QCOMPARE(img.size(), QSize(3, 2));
    QCOMPARE(img.pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(loadNow(QUrl::fromLocalFile(path).toString()).size(), QSize(3, 2));

    // Format from content, not from the name.
    const QString misnamed = dir.filePath(u"cover.jpg"_s);
    QVERIFY(QFile::copy(path, misnamed));
    QVERIFY(!loadNow(misnamed).isNull());
}

void TestListExport::loadPictureFailures()
{
    QTemporaryDir dir;
    QVERIFY(loadNow(dir.filePath(u"none.png"_s)).isNull());
    QVERIFY(loadNow(QString()).isNull());
    QVERIFY(loadNow(dir.path()).isNull());
    const QString text = dir.filePath(u"not-a-picture.png"_s);
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<html>404</html>");
    f.close();
    QVERIFY(loadNow(text).isNull());
    // Nothing listens on port 1.
    QVERIFY(loadNow(u"http://127.0.0.1:1/x.png"_s).isNull());
}

void TestListExport::loadPictureFromUrl()
{
    OneShotServer png(httpAnswer("image/png", pngBytes(Qt::blue)));
    QVERIFY(png.listen(QHostAddress::LocalHost));
    const QImage img = loadNow(png.base() + u"/poster/1.png"_s);
    QCOMPARE(img.size(), QSize(3, 2));
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::blue));

    OneShotServer page(httpAnswer("text/html", "<html>not found</html>"));
    QVERIFY(page.listen(QHostAddress::LocalHost));
    QVERIFY(loadNow(page.base() + u"/poster/2.png"_s).isNull());
}


QTEST_MAIN(TestListExport)
#include "test_list_export.moc"

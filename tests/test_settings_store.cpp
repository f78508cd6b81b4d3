// The settings file: private-profile reading rules, GBK/UTF-8 files from
// other systems, and writes that keep the rest of the file and never leave
// a broken one behind.
#include "core/settings_store.h"

#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace lumorra;
using lumorra::testing::readFileBytes;
using lumorra::testing::writeFileBytes;

namespace {

QByteArray gbk(const QString& s)
{
    QStringEncoder enc("GBK");
    return enc.encode(s);
}

const QString kSec = QStringLiteral("信息设置");

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init();

    void missingFileSectionOrKeyGivesDefault();
    void namesCompareIgnoringAsciiCase();
    void valueTrimmedAndEnclosingQuotesRemoved();
    void gbkWindowsFileReadsBack();
    void utf8BomFileReadsBack();
    void longValueCutAt254AnsiBytes();

    void writeCreatesGb18030FileWithCrLf();
    void writeKeepsOtherSectionsKeysAndComments();
    void failedWriteReportsAndKeepsOldFile();
    void lineBreaksInNamesOrValuesAreRefused();

    void switchIsOnWhenValueContainsShi();
    void storeUsesProgramDirectory();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString file(const QString& name) const { return m_dir->filePath(name); }
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettingsStore::missingFileSectionOrKeyGivesDefault()
{
    const QString path = file(QStringLiteral("qmtb.ini"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("软件皮肤"), QStringLiteral("0"), path),
             QStringLiteral("0"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭快播"), QString(), path), QString());

    QVERIFY(writeFileBytes(path, gbk(QStringLiteral("[其他]\r\n软件皮肤=5\r\n[信息设置]\r\n关闭快播=是\r\n"
                                                    "禁止启动\r\n"))));
    // Same key in another section does not answer.
    QCOMPARE(GetFromINI(QStringLiteral("没有"), QStringLiteral("软件皮肤"), QStringLiteral("0"), path),
             QStringLiteral("0"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("软件皮肤"), QStringLiteral("0"), path),
             QStringLiteral("0"));
    // A bare key without '=' has no value.
    QCOMPARE(GetFromINI(kSec, QStringLiteral("禁止启动"), QStringLiteral("d"), path),
             QStringLiteral("d"));
    // The platform drops trailing blanks of a default.
    QCOMPARE(GetFromINI(kSec, QStringLiteral("x"), QStringLiteral(" a b  "), path),
             QStringLiteral(" a b"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("否"), path),
             QStringLiteral("是"));
}

void TestSettingsStore::namesCompareIgnoringAsciiCase()
{
    const QString path = file(QStringLiteral("case.ini"));
    QVERIFY(writeFileBytes(path, gbk(QStringLiteral("[Window Pos]\r\n  Left Edge = 12\r\n"
                                                    "[window pos]\r\nTop=3\r\n"
                                                    "[信息设置]\r\nSkinName=蓝色\r\n"))));
    QCOMPARE(GetFromINI(QStringLiteral("WINDOW POS"), QStringLiteral("left edge"), {}, path),
             QStringLiteral("12"));
    QCOMPARE(GetFromINI(QStringLiteral(" window pos "), QStringLiteral(" LEFT EDGE "), {}, path),
             QStringLiteral("12"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("skinname"), {}, path), QStringLiteral("蓝色"));
    // Only the first section of a name is searched.
    QCOMPARE(GetFromINI(QStringLiteral("Window Pos"), QStringLiteral("Top"), QStringLiteral("-"), path),
             QStringLiteral("-"));
}

void TestSettingsStore::valueTrimmedAndEnclosingQuotesRemoved()
{
    const QString path = file(QStringLiteral("quotes.ini"));
    QVERIFY(writeFileBytes(path, "[s]\r\n"
                                 "spaces=   a  b \t \r\n"
                                 "dq=\"  quoted  \"\r\n"
                                 "sq='x'\r\n"
                                 "mixed=\"x'\r\n"
                                 "lone=\"\r\n"
                                 "inner=a\"b\"\r\n"
                                 "empty=\r\n"
                                 "emptyq=\"\"\r\n"));
    const auto get = [&](const char* k) {
        return GetFromINI(QStringLiteral("s"), QString::fromLatin1(k), QStringLiteral("DEF"), path);
    };
    QCOMPARE(get("spaces"), QStringLiteral("a  b"));
    QCOMPARE(get("dq"), QStringLiteral("  quoted  "));
    QCOMPARE(get("sq"), QStringLiteral("x"));
    QCOMPARE(get("mixed"), QStringLiteral("\"x'"));
    QCOMPARE(get("lone"), QStringLiteral("\""));
    QCOMPARE(get("inner"), QStringLiteral("a\"b\""));
    // A present but empty value is empty, not the default.
    QCOMPARE(get("empty"), QString());
    QCOMPARE(get("emptyq"), QString());
}

void TestSettingsStore::gbkWindowsFileReadsBack()
{
    const QString path = file(QStringLiteral("qmtb.ini"));
    QByteArray bytes = gbk(QStringLiteral("[信息设置]\r\n关闭快播=是\r\n软件皮肤=3\r\n"));
    bytes += "\xD3\xB0\xC6\xAC=\xB5\xE7\xD3\xB0\r\n";   // 影片=电影, as raw GBK bytes
    QVERIFY(writeFileBytes(path, bytes));

    QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭快播"), {}, path), QStringLiteral("是"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("软件皮肤"), QStringLiteral("0"), path),
             QStringLiteral("3"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("影片"), {}, path), QStringLiteral("电影"));
}

void TestSettingsStore::utf8BomFileReadsBack()
{
    // With and without the byte-order mark: a hand-written UTF-8 file.
    for (const QByteArray& mark : {QByteArray("\xEF\xBB\xBF"), QByteArray()}) {
        const QString path = file(mark.isEmpty() ? QStringLiteral("utf8.ini") : QStringLiteral("bom.ini"));
        QVERIFY(writeFileBytes(path, mark + QStringLiteral("[信息设置]\n阅读协议=否\n软件皮肤=影片\n").toUtf8()));
        QCOMPARE(GetFromINI(kSec, QStringLiteral("阅读协议"), {}, path), QStringLiteral("否"));
        QCOMPARE(GetFromINI(kSec, QStringLiteral("软件皮肤"), {}, path), QStringLiteral("影片"));

        // Writing to it keeps its content readable, and what the program
        // writes is GB18030.
        QVERIFY(WriteToINI(kSec, QStringLiteral("关闭协议"), QStringLiteral("是"), path));
        QCOMPARE(GetFromINI(kSec, QStringLiteral("阅读协议"), {}, path), QStringLiteral("否"));
        QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭协议"), {}, path), QStringLiteral("是"));
        QVERIFY(readFileBytes(path).contains(gbk(QStringLiteral("关闭协议=是"))));
    }
}

void TestSettingsStore::longValueCutAt254AnsiBytes()
{
    const QString path = file(QStringLiteral("long.ini"));
    const QString ascii(300, u'a');
    const QString chinese = QString(200, u'电');
    const QString mixed = u'a' + QString(200, u'电');   // 1 + 2*n bytes: 254 falls mid-character
    const QString quoted = u'"' + QString(300, u'b') + u'"';
    QVERIFY(writeFileBytes(path, gbk(QStringLiteral("[s]\r\nascii=%1\r\nchinese=%2\r\nmixed=%3\r\n"
                                                    "quoted=%4\r\n")
                                         .arg(ascii, chinese, mixed, quoted))));

    QCOMPARE(GetFromINI(QStringLiteral("s"), QStringLiteral("ascii"), {}, path), ascii.left(254));
    QCOMPARE(GetFromINI(QStringLiteral("s"), QStringLiteral("chinese"), {}, path), chinese.left(127));
    // The double-byte character that would straddle byte 254 is left out whole.
    QCOMPARE(GetFromINI(QStringLiteral("s"), QStringLiteral("mixed"), {}, path), mixed.left(127));
    QCOMPARE(GetFromINI(QStringLiteral("s"), QStringLiteral("quoted"), {}, path),
             QString(254, u'b'));
    // The default goes through the same buffer.
    QCOMPARE(GetFromINI(QStringLiteral("s"), QStringLiteral("none"), chinese, path),
             chinese.left(127));
}

void TestSettingsStore::writeCreatesGb18030FileWithCrLf()
{
    const QString path = file(QStringLiteral("new.ini"));
    QVERIFY(WriteToINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("是"), path));
    QVERIFY(WriteToINI(kSec, QStringLiteral("软件皮肤"), QStringLiteral("4"), path));
    // A character outside GBK survives as a four-byte GB18030 sequence.
    QVERIFY(WriteToINI(kSec, QStringLiteral("备注"), QStringLiteral("€😀"), path));

    const QByteArray raw = readFileBytes(path);
    QVERIFY(raw.contains("[\xD0\xC5\xCF\xA2\xC9\xE8\xD6\xC3]\r\n"));          // [信息设置]
    QVERIFY(raw.contains("\xB9\xD8\xB1\xD5\xBF\xEC\xB2\xA5=\xCA\xC7\r\n"));  // 关闭快播=是
    QVERIFY(raw.contains("\x94\x39\xFC\x36"));                                // 😀
    QVERIFY(!raw.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(raw.count("\n"), raw.count("\r\n"));

    QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭快播"), {}, path), QStringLiteral("是"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("软件皮肤"), {}, path), QStringLiteral("4"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("备注"), {}, path), QStringLiteral("€😀"));
}

void TestSettingsStore::writeKeepsOtherSectionsKeysAndComments()
{
    const QString path = file(QStringLiteral("keep.ini"));
    QVERIFY(writeFileBytes(path, gbk(QStringLiteral("; 手工写的说明\r\n"
                                                    "\r\n"
                                                    "[其他]\r\n"
                                                    "Name=张三\r\n"
                                                    "\r\n"
                                                    "[信息设置]\r\n"
                                                    "关闭快播=否\r\n"
                                                    "; 皮肤编号\r\n"
                                                    "Skin=2\r\n"
                                                    "\r\n"
                                                    "; 文件末尾的注释\r\n"))));

    QVERIFY(WriteToINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("是"), path));
    QVERIFY(WriteToINI(QStringLiteral("信息设置"), QStringLiteral("SKIN"), QStringLiteral("7"), path));
    QVERIFY(WriteToINI(kSec, QStringLiteral("阅读协议"), QStringLiteral("是"), path));

    QCOMPARE(GetFromINI(QStringLiteral("其他"), QStringLiteral("name"), {}, path),
             QStringLiteral("张三"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("关闭快播"), {}, path), QStringLiteral("是"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("Skin"), {}, path), QStringLiteral("7"));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("阅读协议"), {}, path), QStringLiteral("是"));

    const QByteArray raw = readFileBytes(path);
    const QString text = QStringDecoder("GB18030").decode(raw);
    QVERIFY(text.contains(QStringLiteral("; 手工写的说明")));
    QVERIFY(text.contains(QStringLiteral("; 皮肤编号")));
    QVERIFY(text.contains(QStringLiteral("; 文件末尾的注释")));
    // The key keeps its spelling and appears once; the section appears once.
    QCOMPARE(text.count(QStringLiteral("Skin=")), 1);
    QCOMPARE(text.count(QStringLiteral("SKIN")), 0);
    QCOMPARE(text.count(QStringLiteral("[信息设置]")), 1);
    QCOMPARE(raw.count("\n"), raw.count("\r\n"));
}

void TestSettingsStore::failedWriteReportsAndKeepsOldFile()
{
    const QByteArray original = gbk(QStringLiteral("[信息设置]\r\n关闭快播=否\r\n"));

    // No directory to write into.
    const QString nowhere = file(QStringLiteral("missing-dir/qmtb.ini"));
    QVERIFY(!WriteToINI(kSec, QStringLiteral("k"), QStringLiteral("v"), nowhere));
    QVERIFY(!QFile::exists(nowhere));

    // The path is a directory.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("adir")));
    QVERIFY(!WriteToINI(kSec, QStringLiteral("k"), QStringLiteral("v"), file(QStringLiteral("adir"))));

    // The temporary file beside a file with a name at the length limit cannot
    // be created (this fails even with root's rights): the old file stays.
    const QString longName = file(QString(250, u'q') + QStringLiteral(".ini"));
    QVERIFY(writeFileBytes(longName, original));
    QVERIFY(!WriteToINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("是"), longName));
    QCOMPARE(readFileBytes(longName), original);

    // A read-only directory (only meaningful without root's rights).
    if (::geteuid() != 0) {
        const QString roDir = file(QStringLiteral("ro"));
        QVERIFY(QDir().mkpath(roDir));
        const QString path = roDir + QStringLiteral("/qmtb.ini");
        QVERIFY(writeFileBytes(path, original));
        QVERIFY(QFile::setPermissions(roDir, QFile::ReadOwner | QFile::ExeOwner));
        const bool ok = WriteToINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("是"), path);
        QFile::setPermissions(roDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!ok);
        QCOMPARE(readFileBytes(path), original);
    }

    // No temporary file is left behind by any of the failures.
    const QStringList left = QDir(m_dir->path()).entryList(QDir::Files);
    QCOMPARE(left, QStringList{QString(250, u'q') + QStringLiteral(".ini")});
}

void TestSettingsStore::lineBreaksInNamesOrValuesAreRefused()
{
    const QString path = file(QStringLiteral("qmtb.ini"));
    const QByteArray original = gbk(QStringLiteral("[信息设置]\r\n关闭快播=否\r\n"));
    QVERIFY(writeFileBytes(path, original));

    // A value must not smuggle a section or key of its own into the file.
    QVERIFY(!WriteToINI(kSec, QStringLiteral("关闭快播"), QStringLiteral("否\r\n禁止启动=是"), path));
    QVERIFY(!WriteToINI(kSec, QStringLiteral("a\nb"), QStringLiteral("v"), path));
    QVERIFY(!WriteToINI(kSec, QStringLiteral("a=b"), QStringLiteral("v"), path));
    QVERIFY(!WriteToINI(QStringLiteral("a]b"), QStringLiteral("k"), QStringLiteral("v"), path));
    QCOMPARE(readFileBytes(path), original);
    QCOMPARE(GetFromINI(kSec, QStringLiteral("禁止启动"), QStringLiteral("-"), path),
             QStringLiteral("-"));
}

void TestSettingsStore::switchIsOnWhenValueContainsShi()
{
    QVERIFY(isOn(QStringLiteral("是")));
    QVERIFY(isOn(QStringLiteral("  是的 ")));
    QVERIFY(isOn(QStringLiteral("不是")));   // contained anywhere counts, as the program always did
    QVERIFY(!isOn(QStringLiteral("否")));
    QVERIFY(!isOn(QString()));
    QVERIFY(!isOn(QStringLiteral("yes")));
}

void TestSettingsStore::storeUsesProgramDirectory()
{
    qputenv("LUMORRA_HOME", m_dir->path().toLocal8Bit());
    const SettingsStore store;
    QCOMPARE(store.path(), QDir(m_dir->path()).filePath(QStringLiteral("qmtb.ini")));
    QCOMPARE(SettingsStore::section(), kSec);

    QCOMPARE(store.value(QStringLiteral("软件皮肤"), QStringLiteral("0")), QStringLiteral("0"));
    QVERIFY(!store.isOn(QStringLiteral("屏蔽快播广告")));
    QVERIFY(store.setValue(QStringLiteral("屏蔽快播广告"), QStringLiteral("是")));
    QVERIFY(store.isOn(QStringLiteral("屏蔽快播广告")));
    QCOMPARE(GetFromINI(kSec, QStringLiteral("屏蔽快播广告"), {}, store.path()),
             QStringLiteral("是"));
    qunsetenv("LUMORRA_HOME");
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settings_store.moc"

// Installed like a Linux desktop program: the install puts the programs,
// skins, .desktop entry and icons in place, and the installed program, whose
// install directory it may not write to, keeps the user's files in the XDG
// configuration directory (LUMORRA_HOME still wins; a build tree keeps its
// own directory).
#include "core/program_dir.h"

#include "file_bytes.h"
#include "test_server.h"

#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace lumorra;
using lumorra::testing::readFileBytes;
using lumorra::testing::TestServer;
using lumorra::testing::writeFileBytes;

namespace {

// Width and height from a PNG's header; 0 when it is no PNG.
QSize pngSize(const QByteArray& png)
{
    if (!png.startsWith("\x89PNG\r\n\x1a\n") || png.size() < 24)
        return {};
    auto be32 = [&](int at) {
        return (uchar(png[at]) << 24) | (uchar(png[at + 1]) << 16) | (uchar(png[at + 2]) << 8) | uchar(png[at + 3]);
    };
    return QSize(int(be32(16)), int(be32(20)));
}

void setTreeWritable(const QString& root, bool writable)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString& p : paths) {
        QFile::Permissions perms = QFile::permissions(p);
        const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        QFile::setPermissions(p, writable ? (perms | QFile::WriteOwner | QFile::WriteUser) : (perms & ~write));
    }
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void configDirRule_data();
    void configDirRule();
    void programDirOfABuildTree();
    void installedProgram();
    void installedDesktopEntryPassesTheValidator();

private:
    // The build installed once into a temporary prefix; empty when the
    // install failed (its output is then in m_installError).
    QString installedPrefix();

    QTemporaryDir m_installDir;
    QString m_prefix;
    QByteArray m_installError;
};

void TestInstall::configDirRule_data()
{
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<QString>("expected");
    QTest::newRow("XDG_CONFIG_HOME") << "/srv/cfg/" << "/srv/cfg/Lumorra";
    QTest::newRow("unset") << "" << "/home/u/.config/Lumorra";
    QTest::newRow("relative is ignored") << "cfg" << "/home/u/.config/Lumorra";
}

void TestInstall::configDirRule()
{
    QFETCH(QString, configHome);
    QFETCH(QString, expected);
    QCOMPARE(userConfigDir(configHome, QStringLiteral("/home/u")), expected);
}

void TestInstall::programDirOfABuildTree()
{
    const QByteArray saved = qgetenv("LUMORRA_HOME");
    auto restore = qScopeGuard([&] { qputenv("LUMORRA_HOME", saved); });
    qputenv("LUMORRA_HOME", "/somewhere/else/");
    QCOMPARE(programDir(), QStringLiteral("/somewhere/else"));
    qunsetenv("LUMORRA_HOME");
    // The tests run from the build tree: today's rule, the executable's directory.
    QCOMPARE(programDir(), QCoreApplication::applicationDirPath());
    QVERIFY(installedDataDir().isEmpty());
}

QString TestInstall::installedPrefix()
{
    if (!m_prefix.isEmpty() || !m_installError.isEmpty() || !m_installDir.isValid())
        return m_prefix;
    const QString prefix = m_installDir.filePath(QStringLiteral("prefix"));
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(LUMORRA_CMAKE), {QStringLiteral("--install"), QStringLiteral(LUMORRA_BUILD_DIR),
                                                  QStringLiteral("--prefix"), prefix});
    const bool done = install.waitForFinished(120000);
    if (done && install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0)
        m_prefix = prefix;
    else
        m_installError = "install failed: " + install.readAll();
    return m_prefix;
}

void TestInstall::installedProgram()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString prefix = installedPrefix();
    QVERIFY2(!prefix.isEmpty(), m_installError.constData());
    const QString config = tmp.filePath(QStringLiteral("config"));

    for (const char* file : {"bin/lumorra", "bin/lumorra-cli", "share/lumorra/1.she", "share/lumorra/9.she"})
        QVERIFY2(QFileInfo::exists(prefix + u'/' + QLatin1String(file)), file);
    const QString desktop = QString::fromUtf8(readFileBytes(prefix + QStringLiteral("/share/applications/lumorra.desktop")));
    for (const char* line : {"[Desktop Entry]", "\nType=Application\n", "\nName=Lumorra\n", "\nName[zh_CN]=",
                             "\nExec=lumorra\n", "\nIcon=lumorra\n", "\nCategories=Network;FileTransfer;\n"})
        QVERIFY2(desktop.contains(QString::fromUtf8(line)), line);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString icon = prefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/lumorra.png").arg(size);
        QCOMPARE(pngSize(readFileBytes(icon)), QSize(size, size));
    }

    // The install may not be written to (for root the layout alone tells).
    setTreeWritable(prefix, false);
    auto writable = qScopeGuard([&] { setTreeWritable(prefix, true); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LUMORRA_HOME"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("HOME"), tmp.filePath(QStringLiteral("home")));

    // The first run: its tour ticks the usage agreement, which the program
    // keeps in its settings file.
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    const QString pictures = tmp.filePath(QStringLiteral("pictures"));
    program.start(prefix + QStringLiteral("/bin/lumorra"),
                  {QStringLiteral("--demo"), QStringLiteral("--screenshot"), tmp.filePath(QStringLiteral("shot.png")),
                   QStringLiteral("--screenshot-pages"), pictures, QStringLiteral("--quit-after"), QStringLiteral("150")});
    QVERIFY(program.waitForFinished(200000));
    const QByteArray said = program.readAll();
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, said.constData());
    const QByteArray settings = readFileBytes(config + QStringLiteral("/Lumorra/qmtb.ini"));
    QStringEncoder gb18030("GB18030");
    const QByteArray agreed = gb18030.encode(QStringLiteral("阅读协议=是"));
    QVERIFY2(settings.contains(agreed), said.constData());
    QVERIFY(!QFileInfo::exists(prefix + QStringLiteral("/bin/qmtb.ini")));
    QVERIFY(QFileInfo::exists(tmp.filePath(QStringLiteral("shot.png"))));
    QVERIFY(!QDir(pictures).entryList({QStringLiteral("*.png")}).isEmpty());

    // The command line reads its sites.ini from the same directory.
    QString sites = QStringLiteral("[sites]\n");
    for (const char* role : {"TorrentIndexSite"})
        sites += QLatin1String(role) + u'=' + TestServer::shared().roleUrl(QLatin1String(role)) + u'\n';
    QVERIFY(writeFileBytes(config + QStringLiteral("/Lumorra/sites.ini"), sites.toUtf8()));
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(prefix + QStringLiteral("/bin/lumorra-cli"),
              {QStringLiteral("search"), QStringLiteral("torrent"), QStringLiteral("ubuntu")});
    QVERIFY(cli.waitForFinished(60000));
    const QByteArray rows = cli.readAllStandardOutput();
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    QVERIFY(rows.contains(TestServer::shared().roleUrl(QStringLiteral("TorrentIndexSite")).toUtf8()));
}

void TestInstall::installedDesktopEntryPassesTheValidator()
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    const QString prefix = installedPrefix();
    QVERIFY2(!prefix.isEmpty(), m_installError.constData());
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {prefix + QStringLiteral("/share/applications/lumorra.desktop")});
    QVERIFY(validate.waitForFinished(30000));
    // Hints leave it at 0; an entry it rejects makes it fail, saying why.
    QVERIFY2(validate.exitStatus() == QProcess::NormalExit && validate.exitCode() == 0,
        validate.readAll().constData());
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"

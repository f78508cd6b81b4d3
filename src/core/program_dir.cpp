#include "core/program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lumorra {

namespace {

QString executableDir()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace

QString userConfigDir(const QString& configHome, const QString& home)
{
    // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and ignored.
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome))
        return QDir::cleanPath(configHome + QStringLiteral("/Lumorra"));
    return QDir::cleanPath(home + QStringLiteral("/.config/Lumorra"));
}

QString installedDataDir()
{
    const QString dir = QDir::cleanPath(executableDir() + QStringLiteral("/" LUMORRA_DATA_FROM_BIN));
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString programDir()
{
    const QString home = qEnvironmentVariable("LUMORRA_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    const QString exeDir = executableDir();
    // An installed program keeps the user's files out of the install, even
    // where it could write there (run as root, /usr/bin is writable).
    if (installedDataDir().isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    const QString config = userConfigDir(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    QDir().mkpath(config);
    return config;
}

QString shippedFile(const QString& slashName)
{
    const QString own = programDir() + slashName;
    if (QFileInfo::exists(own))
        return own;
    const QString data = installedDataDir();
    if (!data.isEmpty() && QFileInfo::exists(data + slashName))
        return data + slashName;
    return own;
}

} // namespace lumorra

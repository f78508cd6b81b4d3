#include "platform/program_dir.h"

#include <QCoreApplication>
#include <QDir>

namespace lumorra {

QString programDir()
{
    const QString home = qEnvironmentVariable("LUMORRA_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    return QCoreApplication::applicationDirPath();
}

} // namespace lumorra

#pragma once
#include <QString>

namespace lumorra {
// The directory that holds the settings file, sites.ini, the export file,
// skins and sounds: $LUMORRA_HOME when set, else the executable's directory.
QString programDir();
} // namespace lumorra

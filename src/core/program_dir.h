#pragma once
#include <QString>

namespace lumorra {

// The directory that holds the settings file, sites.ini and the export file:
//  - $LUMORRA_HOME when set;
//  - else the executable's directory, as long as the program runs from a
//    build tree or a portable copy (a directory it may write to);
//  - else – an installed program (its data under ../share/lumorra beside
//    the executable's directory) or an executable's directory it may not
//    write to – "Lumorra" in the user's configuration directory
//    ($XDG_CONFIG_HOME, ~/.config when unset), created on first use.
QString programDir();

// The folder an installed program keeps its shipped files in (skins, sounds):
// <executable's directory>/../share/lumorra, cleaned; empty when there is
// no such folder (a build tree, a portable copy).
QString installedDataDir();

// A file the program ships (a skin "/1.she", a sound "/brenn.mp3"), by its
// name joined to a directory: programDir() + name when it exists there (a
// portable copy, a user's own replacement), else the installed copy when
// there is one, else programDir() + name all the same (the caller finds it
// missing).
QString shippedFile(const QString& slashName);

// The configuration directory an installed program uses: `configHome`
// ($XDG_CONFIG_HOME) + "/Lumorra" when that is an absolute path, else
// `home` + "/.config/Lumorra". Pure, for the checks of the rule.
QString userConfigDir(const QString& configHome, const QString& home);

} // namespace lumorra

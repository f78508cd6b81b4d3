#pragma once
// Start-up of the whole program: command line, site addresses (or the
// bundled sample sites), the main window, and the orderly end.
//
// Options:
//   --demo                 use the bundled sample sites even if sites.ini exists
//   --sites <file>         read this file instead of <program dir>/sites.ini
//   --screenshot <png>     save a picture of the main window ~3 s after start
//   --screenshot-pages <dir>  the first run that shows the job: search or
//                          list once on every page and save a picture of
//                          each filled list (FirstRunTour); the window's
//                          picture follows, and --quit-after ends there
//   --quit-after <seconds> end the program after that long

#include <QStringList>

namespace lumorra {

int runApplication(int argc, char** argv);

// The user's own options out of `arguments` (without the program name):
// what a restart passes on. The run-once options (--screenshot,
// --screenshot-pages, --quit-after, in either "--opt value" or
// "--opt=value" form) stay behind.
QStringList restartArguments(const QStringList& arguments);

} // namespace lumorra

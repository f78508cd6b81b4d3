#pragma once
// Start-up of the whole program: command line, site addresses (or the
// bundled sample sites), the main window, and the orderly end.
//
// Options:
//   --demo                 use the bundled sample sites even if sites.ini exists
//   --sites <file>         read this file instead of <program dir>/sites.ini
//   --screenshot <png>     save a picture of the main window ~3 s after start
//   --screenshot-pages <dir>  with --screenshot: one picture per page as well
//   --quit-after <seconds> end the program after that long

namespace lumorra {

int runApplication(int argc, char** argv);

} // namespace lumorra

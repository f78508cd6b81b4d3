#!/usr/bin/env bash
# Installs the packages, builds and starts Lumorra. Without a sites.ini the
# bundled sample sites are started and used. On a machine without a display
# the program runs under a virtual X server for a while and a screenshot of
# its main window is saved to build/lumorra-screenshot.png, with one picture
# of each of its eight pages in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/src/lumorra "$@"
fi
shot="$PWD/build/lumorra-screenshot.png"
pages="$PWD/build/screenshots"
rm -rf "$shot" "$pages"
echo "No display found: running under xvfb-run and saving a screenshot to $shot"
xvfb-run -a -s "-screen 0 1280x900x24" \
  ./build/src/lumorra --screenshot "$shot" --screenshot-pages "$pages" --quit-after 12 "$@"
if [ -f "$shot" ]; then
  echo "Screenshot of the main window: $shot"
  echo "Pictures of its pages: $pages/page0.png … page7.png"
else
  echo "The program ran but no screenshot was written" >&2
  exit 1
fi

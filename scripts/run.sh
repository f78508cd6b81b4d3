#!/usr/bin/env bash
# Installs the packages, builds and starts Lumorra. Without a sites.ini the
# bundled sample sites are started and used. On a machine without a display
# the program runs under a virtual X server and shows what it does: it
# searches or lists once on every page and saves a picture of each filled
# list in build/screenshots/, then a picture of its main window as
# build/lumorra-screenshot.png, and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/src/lumorra "$@"
fi
shot="$PWD/build/lumorra-screenshot.png"
pages="$PWD/build/screenshots"
rm -rf "$shot" "$pages"
echo "No display found: running under xvfb-run; one search or listing per page, pictures in $pages"
# --quit-after bounds the run; it ends as soon as every picture is taken.
xvfb-run -a -s "-screen 0 1280x900x24" \
  ./build/src/lumorra --screenshot "$shot" --screenshot-pages "$pages" --quit-after 180 "$@"
if [ -f "$shot" ]; then
  echo "Screenshot of the main window: $shot"
  echo "Pictures of the filled lists: $pages/"
  ls "$pages"
else
  echo "The program ran but no screenshot was written" >&2
  exit 1
fi

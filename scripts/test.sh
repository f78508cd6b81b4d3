#!/usr/bin/env bash
# Installs the packages, builds (reusing ./build when present) and runs every
# test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)"

#!/usr/bin/env bash
# Builds the screenshot tool if needed and saves a picture of each page of the main window
# into docs/screenshots/, under a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DKESTRUNE_WERROR=ON
fi
cmake --build "$build" -j2 --target kestrune_screenshots

mkdir -p docs/screenshots
tool=$(find "$build" -type f -name kestrune_screenshots -perm -u+x | head -n1)
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$tool" docs/screenshots

#!/usr/bin/env bash
# Builds the screenshot tool if needed and saves a picture of each page of the main window
# into docs/screenshots/, under a virtual X display.
#
# EXTRA_RESOURCES may name a folder whose *.qrc collections are compiled and loaded at run
# time, for pictures that are not part of this checkout yet.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DKESTRUNE_WERROR=ON
fi
cmake --build "$build" -j2 --target kestrune_screenshots

extra=()
if [ -n "${EXTRA_RESOURCES:-}" ]; then
    mkdir -p "$build/screenshots-resources"
    for qrc in "$EXTRA_RESOURCES"/*.qrc; do
        out="$build/screenshots-resources/$(basename "$qrc" .qrc).rcc"
        rcc -binary "$qrc" -o "$out"
        extra+=("$(realpath "$out")")
    done
fi

mkdir -p docs/screenshots
tool=$(find "$build" -type f -name kestrune_screenshots -perm -u+x | head -n1)
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$tool" docs/screenshots "${extra[@]}"

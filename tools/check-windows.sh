#!/usr/bin/env bash
# Compiles every product source as a Windows build takes them (the *_win.cpp files in place of
# the *_posix.cpp ones) with mingw-w64 against Qt 5's headers, syntax only, so that the
# Windows code cannot rot unseen on Linux. helper/ is left out: the privileged helper is a
# Linux program (CMake leaves it out of Windows builds). The generated headers (ui_*.h,
# buildconfig.h) come from the Linux build folder, which is configured before.
#
#   tools/check-windows.sh [BUILD-DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cxx=x86_64-w64-mingw32-g++-posix
if ! command -v "$cxx" >/dev/null; then
    echo "check-windows: $cxx is missing (Debian: g++-mingw-w64-x86-64-posix)" >&2
    exit 1
fi
cmake --build "$build" --target kestrunecore_autogen >/dev/null

qt=/usr/include/x86_64-linux-gnu/qt5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    printf '%s\n' -fsyntax-only -std=c++17 -Wall -Wextra -Werror
    printf '%s\n' -DUNICODE -D_UNICODE -DQT_DEPRECATED_WARNINGS -DQT_NO_FOREACH
    printf '%s\n' -DQT_WIDGETS_LIB -DQT_GUI_LIB -DQT_NETWORK_LIB -DQT_CORE_LIB
    printf '%s\n' -I. "-I$build/generated" "-I$build/kestrunecore_autogen/include"
    # Qt's and KArchive's headers are the system's: their own warnings are not ours.
    for dir in "$qt" "$qt/QtCore" "$qt/QtGui" "$qt/QtWidgets" "$qt/QtNetwork" /usr/include/KF5/KArchive; do
        printf '%s\n' -isystem "$dir"
    done
    # qplatformdefs.h of the Windows build
    printf '%s\n' -I/usr/lib/x86_64-linux-gnu/qt5/mkspecs/win32-g++
} >"$work/flags"

find app core api engine system ui control window -name '*.cpp' ! -name '*_posix.cpp' | sort >"$work/files"
compile() { # flags, logs, file
    "$cxx" "@$1" "$3" >"$2/$(echo "$3" | tr / _).log" 2>&1 || echo "$3" >>"$2/failed"
}
export -f compile
export cxx
xargs -P2 -n1 bash -c 'compile "$0" "$1" "$2"' "$work/flags" "$work" <"$work/files"

total=$(wc -l <"$work/files")
if [ -s "$work/failed" ]; then
    sort "$work/failed" | while read -r file; do
        echo "== $file"
        head -20 "$work/$(echo "$file" | tr / _).log"
    done
    echo "check-windows: $(wc -l <"$work/failed") of $total product files fail to compile for Windows"
    exit 1
fi
echo "check-windows: $total product files compile for Windows (mingw-w64, syntax only)"

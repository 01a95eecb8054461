#!/usr/bin/env bash
# Installs what the build needs, builds into build/ and starts the client (under a virtual
# X server when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    kestrune_install_packages xvfb xauth
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target kestrunevpn

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting the client under xvfb-run"
    exec xvfb-run -a build/kestrunevpn "$@"
fi
exec build/kestrunevpn "$@"

#!/usr/bin/env bash
# Installs what the build and the tests need, builds into build/ and runs every test.
# Under CI (CI=true) or with --sanitize it then builds build-asan/ with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs every test there too.
set -euo pipefail
cd "$(dirname "$0")/.."

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" "${KESTRUNE_TEST_PACKAGES[@]}"

tools/check-layers.sh
tools/check-settings-widgets.sh

jobs=$(nproc 2>/dev/null || echo 2)
# ccache keeps object files across clones of the project on one machine; paths below the
# repository are made relative so that another clone finds them.
export CCACHE_BASEDIR="$PWD"
# The build folder is not hashed either, so that debug builds of another clone hit too.
export CCACHE_NOHASHDIR=1
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
sanitize=false
if [ "${CI:-}" = "true" ] || [ "${1:-}" = "--sanitize" ]; then
    sanitize=true
fi

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DKESTRUNE_WERROR=ON "${launcher[@]}" "$@"
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

status=0
if $sanitize; then
    echo "== Build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) =="
    run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZE=ON || status=$?
fi
echo "== Debian package (build-package/) =="; tools/package.sh --check || status=$?
# The package's privileged road (polkit, pkexec, the helper, root OpenVPN and its management
# socket) for real, in namespaces of its own; it needs root, which CI has.
echo "== polkit and pkexec with the package (tools/polkit-check.sh) =="
if [ "$(id -u)" -eq 0 ]; then
    tools/polkit-check.sh || status=$?
elif [ "${CI:-}" = "true" ]; then
    echo "FAILED: the polkit check needs root" >&2
    status=1
else
    echo "skipped: the polkit check needs root"
fi
echo "== Fuzz harnesses, 5 seconds each (build-fuzz/) ==" && tools/fuzz.sh 5 || status=$?
echo "== Windows sources, compiled with mingw-w64 (syntax only) =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_WERROR=ON "${launcher[@]}" >/dev/null \
    && tools/check-windows.sh build || status=$?
# The ordinary build runs last, so that its test summary closes the output.
echo "== Build (build/) =="
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo || status=$?
exit $status

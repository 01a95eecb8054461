#!/usr/bin/env bash
# Builds the Debian package of the client with CPack into build-package/.
#
#   tools/package.sh                     build the .deb
#   tools/package.sh --check [PICTURE]   build it, then check it: desktop-file-validate,
#                                        appstreamcli validate and lintian on what was built,
#                                        and the installed program, unpacked into a temporary
#                                        root, started from its launcher under Xvfb until its
#                                        sign-in page shows (PICTURE: keep the screen there)
#
# The package accepts the OpenVPN series that the real-OpenVPN tests prove with Debian's
# OpenVPN (2.6) besides the 2.3 and 2.4 series of the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

check=false
picture=
if [ "${1:-}" = "--check" ]; then
    check=true
    picture=${2:-}
fi

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" "${KESTRUNE_PACKAGE_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
export CCACHE_BASEDIR="$root"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build=build-package
# Debian's hardening flags, all of them, as a package built by dpkg-buildpackage can get them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKESTRUNE_BUILD_TESTS=OFF \
    -DKESTRUNE_WERROR=ON -DKESTRUNE_OPENVPN_SERIES="2.3;2.4;2.6" "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$jobs"
rm -f "$build"/kestrunevpn_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrunevpn_*.deb)
echo "Package: $deb"
$check || exit 0

status=0
fail() {
    echo "FAILED: $*" >&2
    status=1
}

echo "== Unpacked into a temporary root =="
tmp=$(mktemp -d)
client_pid=
cleanup() {
    [ -n "$client_pid" ] && kill -TERM "$client_pid" 2>/dev/null && wait "$client_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -I "$deb" | sed -n 's/^ \(Depends\|Installed-Size\|Version\):/  \1:/p'
for f in opt/kestrunevpn/kestrunevpn opt/kestrunevpn/ovpn/openvpn \
    opt/kestrunevpn/shadowsocks/ss-local opt/kestrunevpn/kestrunevpn-helper usr/bin/kestrunevpn; do
    [ -x "$tmp/root/$f" ] || fail "$f is missing or not executable"
done
ls "$tmp"/root/usr/share/icons/hicolor | tr '\n' ' '
echo
windows=$(cd "$tmp/root" && find . -name "*.bat" -o -name "startup_schtask.xml" -o -name "*.exe")
[ -z "$windows" ] || fail "the package holds Windows files: $(echo $windows)"

echo "== desktop-file-validate =="
desktop-file-validate "$tmp"/root/usr/share/applications/*.desktop && echo "  no problems" \
    || fail "desktop-file-validate"

echo "== appstreamcli validate =="
appstreamcli validate --no-net --pedantic "$tmp"/root/usr/share/metainfo/*.metainfo.xml \
    || fail "appstreamcli validate"

echo "== lintian =="
# Errors fail; the warnings the package accepts are overridden with their reasons in
# packaging/linux/lintian-overrides.
lintian --fail-on error --display-info "$deb" || fail "lintian reports errors"
echo "  lintian: $(lintian --show-overrides "$deb" | grep -c '^O:') overridden, see packaging/linux/lintian-overrides"

echo "== The installed program under Xvfb =="
home=$tmp/home
mkdir -p "$home"
log_dir=$home/data/kestrune/kestrunevpn/logs
# Runs inside xvfb-run: starts the launcher, waits (bounded) for the window, takes a picture.
cat >"$tmp/look.sh" <<'LOOK'
#!/usr/bin/env bash
HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    "$tmp/root/usr/bin/kestrunevpn" >"$tmp/client.out" 2>&1 &
pid=$!
shown=false
for _ in $(seq 300); do
    if grep -qs "Main window created" "$log_dir"/*; then shown=true; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
# The first page slides in; give it its short animation before the picture.
$shown && sleep 1 && import -window root "$tmp/screen.png"
kill -TERM "$pid" 2>/dev/null && wait "$pid" || true
$shown
LOOK
chmod +x "$tmp/look.sh"
export tmp home log_dir
if timeout 120 xvfb-run -a -s "-screen 0 640x600x24" "$tmp/look.sh"; then
    echo "  the sign-in page was shown (log: \"Main window created\")"
    grep -h "OpenVPN version" "$log_dir"/* | sed 's/^/  /'
    [ -n "$picture" ] && cp "$tmp/screen.png" "$picture" && echo "  picture: $picture"
else
    fail "the installed program did not show its window"
    cat "$tmp/client.out" "$log_dir"/* 2>/dev/null | tail -20 >&2
fi
exit $status

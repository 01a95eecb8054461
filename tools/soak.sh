#!/usr/bin/env bash
# Soak (not part of CI): the main window goes through connect -> verified -> disconnect cycles
# against the demo service, first with the OpenVPN stand-in, then with Debian's real OpenVPN
# and a real OpenVPN server, each in a network namespace of its own (its own loopback and
# management port 7505, and tunnel devices that vanish with it). After the sign-in and after
# every 10 cycles it prints the window process's child processes, threads, open files and
# resident memory, and at the end any process of the program folder's OpenVPN still running.
#
#   tools/soak.sh [stand-in cycles, default 100] [real OpenVPN cycles, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
standin_cycles=${1:-100}
real_cycles=${2:-20}

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" openvpn iproute2 openssl util-linux

build=${KESTRUNE_SOAK_BUILD:-build-soak} # KESTRUNE_SOAK_BUILD: an existing build folder to use
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target kestrune_soak_driver \
    openvpn-standin
driver="$root/$build/tools/soak-driver/kestrune_soak_driver"
soak="$root/$build/soak"
rm -rf "$soak"
mkdir -p "$soak/standin/ovpn" "$soak/real/ovpn" "$soak/pki"

# A private network: as root a new network namespace, otherwise one inside a user namespace.
unshare_net=(unshare -n)
[ "$(id -u)" -eq 0 ] || unshare_net=(unshare -rn)
export QT_QPA_PLATFORM=offscreen

# Processes still running the given program file.
leftovers() {
    local p exe count=0
    for p in /proc/[0-9]*; do
        exe=$(readlink "$p/exe" 2>/dev/null) || continue
        [ "$exe" = "$1" ] && count=$((count + 1))
    done
    echo "$count"
}

echo "== $standin_cycles cycles with the OpenVPN stand-in"
cp "$build"/tools/openvpn-standin/openvpn-standin "$soak/standin/ovpn/openvpn"
echo 2.4.9 >"$soak/standin/ovpn/standin-version"
status=0
"${unshare_net[@]}" sh -c 'ip link set lo up && exec "$@"' sh \
    "$driver" "$soak/standin" "$standin_cycles" || status=1
echo "stand-in processes left: $(leftovers "$soak/standin/ovpn/openvpn")"

echo "== $real_cycles cycles with Debian's OpenVPN ($(/usr/sbin/openvpn --version | head -n1 | cut -d' ' -f1-2))"
# The client accepts OpenVPN 2.3 and 2.4 only: a wrapper gives Debian's program the banner of
# 2.4 and runs the program folder's own copy of it for everything else.
cp /usr/sbin/openvpn "$soak/real/ovpn/openvpn.real"
cat >"$soak/real/ovpn/openvpn" <<'WRAPPER'
#!/bin/sh
[ "$1" = "--version" ] && { echo "OpenVPN 2.4.9 x86_64-pc-linux-gnu [SSL (OpenSSL)] [LZO] [LZ4]"; exit 0; }
exec "$(dirname "$0")/openvpn.real" "$@"
WRAPPER
chmod +x "$soak/real/ovpn/openvpn"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -subj /CN=kestrune-soak -keyout "$soak/pki/key.pem" -out "$soak/pki/cert.pem" 2>/dev/null
{
    echo "<ca>"; cat "$soak/pki/cert.pem"; echo "</ca>"
    echo "<cert>"; cat "$soak/pki/cert.pem"; echo "</cert>"
    echo "<key>"; cat "$soak/pki/key.pem"; echo "</key>"
} >"$soak/real/keys.conf"
# The far end, one server for each protocol the client may ask for.
for proto in udp tcp-server; do
    cat >"$soak/real/server-$proto.conf" <<SERVER
mode server
tls-server
proto $proto
local 127.0.0.1
port 1194
dev tun
topology subnet
server 10.89.0.0 255.255.255.0
ca $soak/pki/cert.pem
cert $soak/pki/cert.pem
key $soak/pki/key.pem
dh none
verb 1
SERVER
done
"${unshare_net[@]}" sh -c '
    ip link set lo up || exit 1
    soak=$1; shift
    servers=""
    for proto in udp tcp-server; do
        /usr/sbin/openvpn --config "$soak/real/server-$proto.conf" --log "$soak/real/server-$proto.log" &
        servers="$servers $!"
    done
    sleep 1
    "$@"; rc=$?
    kill $servers; wait
    exit $rc' sh "$soak" "$driver" "$soak/real" "$real_cycles" "$soak/real/keys.conf" || status=1
echo "OpenVPN processes left: $(leftovers "$soak/real/ovpn/openvpn.real")"
exit $status

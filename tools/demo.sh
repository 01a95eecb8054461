#!/usr/bin/env bash
# Kestrune VPN demo: builds the client, lays out a program folder beside it (the client, the
# OpenVPN stand-in as ovpn/openvpn, Debian's ss-local as shadowsocks/ss-local, the scripts),
# starts the simulated Kestrune service on the loopback address, prepares a data folder of the
# demo's own (remembered demo account, automatic connection, the local service as the API
# address) and starts the client, which signs in and connects by itself.
#
# With a display the client stays until Ctrl-C. Without one it runs under Xvfb, saves a
# screenshot of the connected window and ends. Either way everything the demo started is
# stopped by its process id at the end.
#
#   tools/demo.sh [--keep]      --keep: under Xvfb too, wait for Ctrl-C after the screenshot
#   KESTRUNE_DEMO_PORT=18180    the service's port (the next free one is taken when busy)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

keep=0
[ "${1:-}" = "--keep" ] && keep=1

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" shadowsocks-libev
headless=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=1
    kestrune_install_packages xvfb xauth imagemagick
fi

port_busy() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
port=${KESTRUNE_DEMO_PORT:-18180}
while port_busy "$port"; do port=$((port + 1)); done
base="http://127.0.0.1:$port"

# The address check ([3]) goes to an outside echo service fixed when the client is configured:
# the demo's own build points it at the local service.
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_IP_ECHO_BASE="$base" >/dev/null
cmake --build build-demo -j"$jobs" --target kestrunevpn openvpn-standin kestrune-demo-service \
    kestrune-demo-settings

demo="$root/demo"
program="$demo/program"
data_home="$demo/xdg-data"
data="$data_home/kestrune/kestrunevpn"
rm -rf "$demo"
mkdir -p "$program/ovpn" "$program/shadowsocks" "$program/scripts" "$data"
cp build-demo/kestrunevpn "$program/"
# Copies, not links: the client ends "every process of a program" by the program's own file.
cp build-demo/tools/openvpn-standin/openvpn-standin "$program/ovpn/openvpn"
if command -v ss-local >/dev/null; then cp "$(command -v ss-local)" "$program/shadowsocks/ss-local"; fi
if [ -d dist/scripts ]; then cp -r dist/scripts/. "$program/scripts/"; fi

pids=()
cleanup() {
    trap - INT TERM EXIT
    local pid
    # The client first: it stops its OpenVPN on the way out; what is left is ended after it.
    for pid in "${client_pid:-}"; do
        [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    for pid in $(standin_pids); do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    echo "Demo stopped."
}
# OpenVPN stand-ins started by this demo's client: processes of exactly its program file.
standin_pids() {
    local exe p
    for p in /proc/[0-9]*; do
        exe=$(readlink "$p/exe" 2>/dev/null) || continue
        [ "$exe" = "$program/ovpn/openvpn" ] && echo "${p#/proc/}"
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

build-demo/tools/demo-service/kestrune-demo-service "$port" >"$demo/service.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do port_busy "$port" && break; sleep 0.1; done
port_busy "$port" || { echo "The demo service did not start; see $demo/service.log" >&2; exit 1; }
sed -n '1,3p' "$demo/service.log"

build-demo/tools/demo-settings/kestrune-demo-settings "$data" "$base" demo@kestrune.test \
    demo-pass 11 >/dev/null

if [ $headless = 1 ]; then
    display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$demo/xvfb.log" 2>&1 &
    pids+=($!)
    export DISPLAY=":$display"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
fi

echo "Starting the client (data folder $data)"
XDG_DATA_HOME="$data_home" "$program/kestrunevpn" >"$demo/client.log" 2>&1 &
client_pid=$!

log="$data/logs/kestrunevpn_log.txt"
verified="[8]: User's IP through VPN connection received"
for _ in $(seq 600); do
    if grep -qF "$verified" "$log" 2>/dev/null; then break; fi
    kill -0 "$client_pid" 2>/dev/null || { echo "The client ended early; see $log" >&2; exit 1; }
    sleep 0.1
done
if ! grep -qF "$verified" "$log" 2>/dev/null; then
    echo "No verified connection within a minute; see $log" >&2
    exit 1
fi
echo "Connected through the OpenVPN stand-in (log: $log)"

if [ $headless = 1 ]; then
    sleep 1 # the page's last repaint
    shot="$demo/connected.png"
    import -display "$DISPLAY" -window "Kestrune VPN" "$shot" 2>/dev/null \
        || import -display "$DISPLAY" -window root "$shot"
    echo "Screenshot of the connected window: $shot"
    [ $keep = 1 ] || exit 0
fi
echo "Press Ctrl-C to stop the demo."
wait "$client_pid" || true

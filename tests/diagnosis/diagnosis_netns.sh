#!/bin/bash
# Runs a suite inside a client network namespace made here, joined by a veth pair to a far
# namespace that plays the Internet:
#
#   client 10.77.0.2/30 (default route)  veth  far 10.77.0.1/30
#                                               10.78.0.1  OpenVPN on UDP and TCP 1194
#                                               10.79.0.1  ss-server on TCP 8388
#
# Certificates are made here with openssl. The suite sets its own nft rules and routes in the
# client namespace. Exit status: the suite's, or 77 when skipped (outside CI only).
#
# Usage: diagnosis_netns.sh SUITE [ARGS...]
set -u
. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and ip nft openvpn openssl ss-server ss-local
[ -c /dev/net/tun ] || skip_or_fail "no /dev/net/tun"

tag=$$
client=ks_diag_c_$tag
far=ks_diag_f_$tag
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    ip netns del "$client" 2>/dev/null
    ip netns del "$far" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$client" && ip netns add "$far" || exit 1
ip link add "kdc$tag" netns "$client" type veth peer name "kdf$tag" netns "$far" || exit 1
ip -n "$client" addr add 10.77.0.2/30 dev "kdc$tag"
ip -n "$far" addr add 10.77.0.1/30 dev "kdf$tag"
ip -n "$far" addr add 10.78.0.1/32 dev lo
ip -n "$far" addr add 10.79.0.1/32 dev lo
for ns in "$client" "$far"; do ip -n "$ns" link set lo up; done
ip -n "$client" link set "kdc$tag" up
ip -n "$far" link set "kdf$tag" up
ip -n "$client" route add default via 10.77.0.1

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -keyout "$work/key.pem" -out "$work/cert.pem" -subj /CN=kestrune-diagnosis 2>/dev/null || exit 1
server() { # proto, tunnel subnet, device
    ip netns exec "$far" openvpn --server "$2.0" 255.255.255.0 --topology subnet --dh none \
        --proto "$1" --local 10.78.0.1 --port 1194 --dev "$3" --dev-type tun \
        --ca "$work/cert.pem" --cert "$work/cert.pem" --key "$work/key.pem" \
        --verb 3 --log "$work/$3.log" &
    pids+=($!)
}
server udp 10.8.0 kdtunu
server tcp-server 10.9.0 kdtunt
ip netns exec "$far" ss-server -s 10.79.0.1 -p 8388 -k diagnosis-pass \
    -m chacha20-ietf-poly1305 >"$work/ss-server.log" 2>&1 &
pids+=($!)

export KESTRUNE_DIAGNOSIS_PKI=$work
ip netns exec "$client" "$@"
rc=$?
[ $rc -eq 0 ] || tail -n 20 "$work"/kdtun*.log
exit $rc

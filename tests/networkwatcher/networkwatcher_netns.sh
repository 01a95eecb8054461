#!/bin/bash
# The network watcher on a real kernel, only inside two namespaces made here: the client behind
# a router (192.0.2.2/24, default route via 192.0.2.1), the server 198.51.100.7 on the router.
# Each step changes the client's network as a laptop meets it and checks the watcher's next
# line and how long it took (a settle of 0.7 s; the bound leaves room for a loaded
# machine), or that it stays quiet where the route did not change.
# Usage: networkwatcher_netns.sh WATCH-TOOL   (exit status: failures; 77 skipped outside CI)
set -u
. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and ip
[ -c /dev/net/tun ] || skip_or_fail "no /dev/net/tun"
tag=$$ cli=ks_nw_c_$$ rtr=ks_nw_r_$$
dev=nwc$tag peer=nwr$tag
out=$(mktemp) pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wait 2>/dev/null
    ip netns del "$cli" 2>/dev/null; ip netns del "$rtr" 2>/dev/null
    rm -f "$out" "$out.batch"
}
trap cleanup EXIT
ms() { echo $(($(date +%s%N) / 1000000)); }

ip netns add "$cli" && ip netns add "$rtr" || skip_or_fail "cannot make network namespaces"
ip link add "$dev" netns "$cli" type veth peer name "$peer" netns "$rtr" || exit 1
c() { ip -n "$cli" "$@"; }
r() { ip -n "$rtr" "$@"; }
r addr add 192.0.2.1/24 dev "$peer"; r addr add 192.0.2.254/24 dev "$peer"
r addr add 198.51.100.7/32 dev lo
for ns in "$cli" "$rtr"; do ip -n "$ns" link set lo up; done
c addr add 192.0.2.2/24 dev "$dev"; c link set "$dev" up; r link set "$peer" up
c route add default via 192.0.2.1

ip netns exec "$cli" "$1" 198.51.100.7 ksvpn_tun >"$out" 2>&1 &
pid=$!
seen=0 got=
# next SECONDS: the watcher's next line into $got ("" when none came within SECONDS).
next() {
    local limit=$(($(ms) + $1 * 1000))
    got=
    until [ "$(wc -l <"$out")" -gt "$seen" ]; do
        [ "$(ms)" -lt "$limit" ] || return 1
        sleep 0.05
    done
    seen=$((seen + 1))
    got=$(sed -n "${seen}p" "$out")
}
within() { [ "${got%% *}" = "$1" ] && [ "$2" -le 2500 ]; }
# expect WORD DESCRIPTION: the next line is WORD, within 2.5 s of the change made just before
# (at $start).
expect() {
    local elapsed=99999
    next 3 && elapsed=$(($(ms) - start))
    check "$2: $1 (${got:-nothing} after $elapsed ms)" within "$1" "$elapsed"
}
# quiet DESCRIPTION: no line within 2 s (one settle and its margin).
quiet() {
    next 2
    check "$1: no decision${got:+ (got $got)}" [ -z "$got" ]
}

next 5
check "the watcher starts with the route via the router ($got)" \
    [ "$got" = "ready reachable via 192.0.2.1 source 192.0.2.2" ]
# The tunnel's own doing, as with persist-tun: its device, its host route to the server
# outside, and 0/1 and 128/1 into it.
c tuntap add dev ksvpn_tun mode tun && c addr add 10.8.0.2/24 dev ksvpn_tun && c link set ksvpn_tun up
c route add 198.51.100.7/32 via 192.0.2.1 dev "$dev"
c route add 0.0.0.0/1 dev ksvpn_tun && c route add 128.0.0.0/1 dev ksvpn_tun
quiet "the tunnel comes up with its routes"

start=$(ms); c link set "$dev" down
expect gone "the link goes down, the tunnel's routes stay"
start=$(ms)
c addr flush dev "$dev"; c addr add 192.0.2.3/24 dev "$dev"; c link set "$dev" up
c route add default via 192.0.2.1
expect back "the link comes back with a new address, the server's packets still into the tunnel"
c route add 198.51.100.7/32 via 192.0.2.1 dev "$dev"
quiet "the tunnel makes its host route again"
c link del ksvpn_tun; c route del 198.51.100.7/32
quiet "the tunnel goes away with its routes"

start=$(ms); c route replace default via 192.0.2.254
expect changed "another gateway"
start=$(ms); r link set "$peer" down
expect gone "the carrier is lost (routes kept, link down)"
start=$(ms); r link set "$peer" up
expect back "the carrier returns"

# Ten changes in two seconds, ending down: one decision after the last.
for i in 1 2 3 4 5; do r link set "$peer" down; sleep 0.2; r link set "$peer" up; sleep 0.2; done
start=$(ms); r link set "$peer" down
expect gone "a link that flapped ten times"
quiet "after the flap"
start=$(ms); r link set "$peer" up
expect back "the flapping link stays up"

# A storm of routes that cover the server and change nothing of its way (the same gateway).
for i in $(seq 1 10000); do echo "route add 198.51.100.0/25 via 192.0.2.254 metric $i"; done >"$out.batch"
for i in $(seq 1 10000); do echo "route del 198.51.100.0/25 via 192.0.2.254 metric $i"; done >>"$out.batch"
cpu() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
drops() { ip netns exec "$cli" awk -v p="$pid" '$3 == p && $4 != "00000000" { print $9 }' /proc/net/netlink; }
before=$(cpu)
c -batch "$out.batch"
echo "# storm of 20000 route messages: the watcher's CPU $((($(cpu) - before) * 1000 / $(getconf CLK_TCK))) ms"
quiet "a storm of 20000 routes through the same gateway"
# The same storm while the watcher's thread is held (as by a busy window), the gateway changing
# at its end: the kernel drops what the socket cannot hold, the change's news included, and the
# watcher, told of the overrun, reads the state again.
echo "route replace default via 192.0.2.1" >>"$out.batch"
kill -STOP "$pid"
c -batch "$out.batch"
start=$(ms); kill -CONT "$pid"
expect changed "the gateway changed at the end of a storm that overran the socket"
check "the kernel dropped notifications ($(drops))" [ "$(drops)" -gt 0 ]
quiet "after the overrun"

kill "$pid"
exit $((failures > 0))

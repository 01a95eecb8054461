#!/bin/bash
# kestrunevpn --check-lock on real nftables, only inside network namespaces made here:
#
#   inner namespace (the client)  veth  outer namespace (the world)
#   10.233.0.2, fd33::2          <---->  10.233.0.1 (gateway), 10.233.0.20 (VPN server)
#
# Each check prints "ok" or "not ok"; the exit status is the number of failures (77: skipped,
# outside CI only).
#
# Usage: lockselftest_test.sh KESTRUNEVPN KESTRUNEVPN_HELPER

set -u
client=$1
helper=$2

. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and nft ip unshare

tag=$$
inner=ks_self_in_$tag
outer=ks_self_out_$tag
work=$(mktemp -d)
# The client and the helper side by side, as installed: the client runs the helper of its
# own folder.
mkdir -p "$work/program" "$work/state" "$work/xdg/kestrune/kestrunevpn/temp"
cp "$client" "$work/program/kestrunevpn"
cp "$helper" "$work/program/kestrunevpn-helper"
temp=$work/xdg/kestrune/kestrunevpn/temp

cleanup() {
    for ns in "$inner" "$outer"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT


in_inner() {
    ip netns exec "$inner" env KESTRUNE_NETLOCK_STATE_DIR="$work/state" XDG_DATA_HOME="$work/xdg" \
        QT_QPA_PLATFORM=offscreen "$@"
}
check_lock() { in_inner "$work/program/kestrunevpn" --check-lock >"$work/out" 2>&1; }
line() { grep "^($1)" "$work/out"; }
passed() { line "$1" | grep -q " — " && ! line "$1" | grep -q "FAILED"; }
failed() { line "$1" | grep -q "FAILED"; }
blocked_count() { line c | sed -n 's/.* — \([0-9]*\) packets blocked.*/\1/p'; }

ip netns add "$inner" && ip netns add "$outer" || skip_or_fail "cannot make network namespaces"
ip link add "ksi$tag" netns "$inner" type veth peer name "kso$tag" netns "$outer"
ip -n "$inner" link set lo up
ip -n "$inner" addr add 10.233.0.2/24 dev "ksi$tag"
ip -n "$inner" addr add fd33::2/64 dev "ksi$tag" nodad
ip -n "$inner" link set "ksi$tag" up
ip -n "$outer" addr add 10.233.0.1/24 dev "kso$tag"
ip -n "$outer" addr add 10.233.0.20/24 dev "kso$tag"
ip -n "$outer" addr add fd33::1/64 dev "kso$tag" nodad
ip -n "$outer" link set "kso$tag" up
ip -n "$inner" route add default via 10.233.0.1
ip -n "$inner" -6 route add default via fd33::1

# Documentation addresses the self-test may probe with are on the allow list too (a network
# whose gateway is one): it probes others.
printf '10.233.0.10\n192.0.2.1\n2001:db8::1\n' >"$temp/netlock_allow.txt"
printf 'client\nremote 10.233.0.20 1194 udp\n' >"$temp/openvpn_config.ovpn"
in_inner "$work/program/kestrunevpn-helper" netlock-block "$temp" || skip_or_fail "cannot lock"

check "with the lock on, every check passes (exit 0)" check_lock
sed 's/^/# /' "$work/out"
for c in a b c d; do check "with the lock on, check ($c) passes" passed $c; done
first=$(blocked_count)
check "the drop counter is shown" test -n "$first"
check_lock
check "the counters grow while blocked probes run" test "$(blocked_count)" -gt "${first:-0}"

ip netns exec "$inner" nft insert rule inet kestrunevpn_lock output udp dport 53 accept
check_lock
status=$?
check "a hand-made hole fails the test (exit 1)" test $status -eq 1
sed 's/^/# /' "$work/out"
check "... and names the changed table (a)" failed a
check "... and the probe through the hole (b)" failed b
check "... and tells what to do" grep -q "emergency unblock" "$work/out"
check "... and keeps the result for the diagnostics" grep -q "FAILED" "$temp/netlock_selftest.txt"

in_inner "$work/program/kestrunevpn-helper" netlock-emergency 2>/dev/null
check_lock
status=$?
check "without the table the test fails (exit 1)" test $status -eq 1
check "... and says the table is not loaded (a)" failed a
check "... and the probes get out (b)" failed b
exit $failures

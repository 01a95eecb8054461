#!/bin/bash
# The network-lock scripts, which hand their work to kestrunevpn-helper, on real nftables,
# only ever inside network namespaces made here:
#
#   inner namespace (the client)  veth  outer namespace (the world)
#   10.231.0.2, fd31::2          <---->  10.231.0.1 plus the addresses below, fd31::1/::10
#
# In the outer namespace ss-server listens on every address; a TCP connect from the inner
# namespace tells whether the lock lets an address through. Each check prints "ok" or
# "not ok"; the exit status is the number of failures (77: skipped, outside CI only).
#
# Usage: netlock_test.sh DIST_FOLDER HELPER

set -u
dist=$(cd "$1" && pwd)
helper=$2
unit=$dist/systemd/kestrunevpn-netlock.service

. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and nft ip ss-server openvpn openssl timeout getent

tag=$$
inner=ks_lock_in_$tag
outer=ks_lock_out_$tag
fresh=ks_lock_boot_$tag
work=$(mktemp -d)
state=$work/state
temp=$work/temp
mkdir -p "$state" "$temp"
pids=()
# A program folder as installed: the scripts and the helper beside them.
scripts=$work/program/scripts
mkdir -p "$scripts" && cp "$dist"/scripts/nft_*.sh "$scripts/" && cp "$helper" "$work/program/"

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    for ns in "$inner" "$outer" "$fresh"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

refuse() { # description, command...: the command must fail
    local what=$1
    shift
    if "$@"; then echo "not ok - $what"; failures=$((failures + 1)); else echo "ok - $what"; fi
}

in_inner() { ip netns exec "$inner" env KESTRUNE_NETLOCK_STATE_DIR="$state" "$@"; }
block() { in_inner sh "$scripts/nft_block.sh" "${1:-$temp}" 2>>"$work/stderr"; }
unblock() { in_inner sh "$scripts/nft_unblock.sh" "$temp" 2>>"$work/stderr"; }
emergency() { in_inner sh "$scripts/nft_unblock_emergency.sh" 2>>"$work/stderr"; }
connects() { # address: a TCP connection from the inner namespace to port 8080
    ip netns exec "$inner" timeout 3 bash -c "exec 3<>/dev/tcp/$1/8080" 2>/dev/null
}
ruleset() { ip netns exec "${1:-$inner}" nft -s list ruleset; }
lock_table() { ip netns exec "${1:-$inner}" nft -s list table inet kestrunevpn_lock; }
others_left_alone() { ip netns exec "$inner" nft list table inet someone_else >/dev/null; }
no_lock_left() { ! ruleset | grep -q kestrunevpn_lock && [ ! -e "$state/netlock.nft" ]; }
# Waits (bounded) until a command succeeds.
await() { # seconds, command...
    local limit=$(($(date +%s) + $1))
    shift
    until "$@"; do [ "$(date +%s)" -lt "$limit" ] || return 1; sleep 0.2; done
}

# ---- the two namespaces ----------------------------------------------------------------
ip netns add "$inner" && ip netns add "$outer" || skip_or_fail "cannot make network namespaces"
ip link add "ksi$tag" netns "$inner" type veth peer name "kso$tag" netns "$outer"
ip -n "$inner" link set lo up
ip -n "$outer" link set lo up
ip -n "$inner" addr add 10.231.0.2/24 dev "ksi$tag"
ip -n "$inner" addr add fd31::2/64 dev "ksi$tag" nodad
for a in 1 10 20 30 40; do ip -n "$outer" addr add "10.231.0.$a/24" dev "kso$tag"; done
ip -n "$outer" addr add fd31::1/64 dev "kso$tag" nodad
ip -n "$outer" addr add fd31::10/64 dev "kso$tag" nodad
ip -n "$inner" link set "ksi$tag" up
ip -n "$outer" link set "kso$tag" up
ip netns exec "$inner" nft add table inet someone_else

ip netns exec "$outer" ss-server -s 0.0.0.0 -s :: -p 8080 -k test -m aes-256-gcm >/dev/null 2>&1 &
pids+=($!)
ip netns exec "$inner" ss-server -s 127.0.0.1 -p 8080 -k test -m aes-256-gcm >/dev/null 2>&1 &
pids+=($!)
await 10 connects 10.231.0.30 || skip_or_fail "the outer service does not answer"
await 10 connects 127.0.0.1
await 10 connects fd31::1

# What the client leaves in its temp folder: the service's hosts, the server of the last
# configuration (with options that must not be read as servers), the mirror server.
printf '10.231.0.10\nfd31::10\n' >"$temp/netlock_allow.txt"
printf 'client\nremote-cert-tls server\nremote 10.231.0.20 1194 udp\n' >"$temp/openvpn_config.ovpn"
printf '{"server":"10.231.0.40","server_port":8388,"password":"x"}\n' >"$temp/ss_config.json"

# ---- block ------------------------------------------------------------------------------
check "block succeeds" block
refuse "blocked: an address nobody allowed is unreachable" connects 10.231.0.30
refuse "blocked: IPv6 is blocked like IPv4" connects fd31::1
check "blocked: loopback still works" connects 127.0.0.1
check "blocked: the service's address from the allow list works" connects 10.231.0.10
check "blocked: the service's IPv6 address works" connects fd31::10
check "blocked: the VPN server of the last configuration works" connects 10.231.0.20
check "blocked: the mirror server of ss_config.json works" connects 10.231.0.40
check "blocked: the lock is saved for the next start" test -s "$state/netlock.nft"
check "blocked: other tables are left alone" others_left_alone
first=$(ruleset)
check "blocking twice succeeds" block
check "blocking twice gives the same ruleset" test "$first" = "$(ruleset)"
echo "$first" >"$work/sample_ruleset"

# ---- unblock ----------------------------------------------------------------------------
check "unblock succeeds" unblock
check "unblocked: any address is reachable again" connects 10.231.0.30
check "unblocked: IPv6 is reachable again" connects fd31::1
check "unblocked: no table and no saved lock remain" no_lock_left
check "unblocked: other tables are left alone" others_left_alone
check "unblocking an unlocked system succeeds (lock stored on, nothing in the system)" unblock

# ---- emergency unblock from every state ---------------------------------------------------
block
check "emergency unblock from blocked" emergency
check "emergency unblock from blocked: reachable again" connects 10.231.0.30
check "emergency unblock from blocked: nothing left" no_lock_left
check "emergency unblock from unblocked" emergency
# Half-applied: the table without most of its chains and a save left half-written.
ip netns exec "$inner" nft -f - <<'NFT'
table inet kestrunevpn_lock {
	chain output { type filter hook output priority filter; policy drop; }
}
NFT
echo "table inet kestrunevpn_lock {" >"$state/netlock.nft.new"
refuse "half-applied: the network is blocked" connects 10.231.0.30
check "emergency unblock from half-applied" emergency
check "emergency unblock from half-applied: reachable again" connects 10.231.0.30
check "emergency unblock from half-applied: nothing left" test ! -e "$state/netlock.nft.new"

# ---- the boot unit ----------------------------------------------------------------------
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
saved=$(sed -n 's/^ConditionPathExists=//p' "$unit")
check "boot unit loads the file it waits for" test "${exec_start##* }" = "$saved"
# The helper's own state folder (no test folder given), in a private mount namespace.
check "boot unit loads the file the scripts save" unshare -m sh -c 'mount -t tmpfs none \
    "$(dirname "$(dirname "$1")")" && ip netns exec "$2" sh "$3" "$4" && test -s "$1" &&
    ip netns exec "$2" sh "$5"' sh "$saved" "$inner" "$scripts/nft_block.sh" "$temp" \
    "$scripts/nft_unblock_emergency.sh"
block
ip netns add "$fresh"
# The unit's own command, with the saved lock where the unit looks for it: a private mount
# namespace puts it there without touching the machine's folders.
unshare -m sh -c 'mount -t tmpfs none "$(dirname "$(dirname "$1")")" &&
    mkdir -p "$(dirname "$1")" && cp "$2" "$1" && ip netns exec "$3" $4' sh \
    "$saved" "$state/netlock.nft" "$fresh" "$exec_start"
check "boot unit's command restores the same lock in a fresh namespace" \
    test "$(lock_table "$fresh")" = "$(lock_table)"
emergency

# ---- bad input --------------------------------------------------------------------------
odd="$work/te mp \"quoted\" 'single'"
mkdir -p "$odd"
{
    for i in $(seq 1 250); do echo "remote 10.240.$((i / 200)).$((i % 200)) 1194"; done
    for i in $(seq 1 40); do echo "remote unresolvable-$i.invalid 1194"; done
    echo "remote 10.231.0.20 1194"
    echo "remote 1.2.3.4;flush-ruleset 1194"
} >"$odd/openvpn_config.ovpn"
echo 'this is not { JSON' >"$odd/ss_config.json"
check "hundreds of remotes, unresolvable names, a path with blanks and quotes" block "$odd"
check "... every address remote is allowed" \
    test "$(ip netns exec "$inner" nft -j list set inet kestrunevpn_lock allowed_v4 | grep -o '"10\.240\.[0-9.]*"' | wc -l)" -eq 250
check "... the server named there works" connects 10.231.0.20
check "... loopback still works" connects 127.0.0.1
check "... other tables are left alone" others_left_alone
dropped() { # the last rule of the output chain has counted packets
    ip netns exec "$inner" nft list chain inet kestrunevpn_lock output | grep -q "packets [1-9]"
}
connects 10.231.0.30
check "... the lock counts what it drops" dropped
check "... the broken ss_config.json is reported" grep -q "no mirror server in ss_config.json" "$work/stderr"
check "... the unresolvable names are reported" grep -q "cannot resolve unresolvable-7.invalid" "$work/stderr"
emergency
: >"$odd/openvpn_config.ovpn"
rm -f "$odd/ss_config.json"
check "a configuration without any remote still locks" block "$odd"
refuse "... and blocks" connects 10.231.0.30
check "... but never loopback" connects 127.0.0.1
emergency
# One malformed IPv6 address no longer keeps the lock off; a link is never read through.
printf 'fd31::10\n1::2::3\n' >"$odd/netlock_allow.txt"
check "a malformed IPv6 entry is skipped, the lock goes on" block "$odd"
check "... the entry is named" grep -q "not a host name or address: 1::2::3" "$work/stderr"
check "... the good entry beside it works" connects fd31::10
refuse "... and the rest is blocked" connects 10.231.0.30
printf 'root-only-secret-line\n' >"$work/secret" && chmod 600 "$work/secret"
ln -sf "$work/secret" "$odd/netlock_allow.txt"
check "an allow list swapped for a link still locks" block "$odd"
check "... the link is refused by name" grep -q "netlock_allow.txt: is a link" "$work/stderr"
refuse "... and nothing of its target is printed" grep -q "root-only-secret" "$work/stderr"
emergency
refuse "a temp folder that does not exist fails" block "$work/missing"
check "... and leaves nothing half-locked" no_lock_left
# A folder where the saved lock should be: nftables takes the lock, the save fails after it.
mkdir -p "$state/netlock.nft/in-the-way"
refuse "a lock that cannot be saved fails" block
check "... and is taken off again" connects 10.231.0.30
check "... completely" test -z "$(lock_table 2>/dev/null)"
rm -r "$state/netlock.nft"

# ---- the real OpenVPN tunnel with the lock on ---------------------------------------------
for side in server client; do
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 \
        -subj "/CN=$side" -keyout "$work/$side.key" -out "$work/$side.crt" 2>/dev/null
done
fingerprint() { openssl x509 -in "$work/$1.crt" -noout -fingerprint -sha256 | cut -d= -f2; }
cat >"$work/server.ovpn" <<OVPN
dev kssrv$tag
dev-type tun
local 10.231.0.20
proto udp
port 1194
tls-server
dh none
cert $work/server.crt
key $work/server.key
peer-fingerprint $(fingerprint client)
ifconfig 10.232.0.1 10.232.0.2
verb 1
OVPN
cat >"$temp/openvpn_config.ovpn" <<OVPN
dev ksvpn_tun
dev-type tun
remote 10.231.0.20 1194 udp
nobind
tls-client
cert $work/client.crt
key $work/client.key
peer-fingerprint $(fingerprint server)
ifconfig 10.232.0.2 10.232.0.1
verb 3
OVPN
ip netns exec "$outer" openvpn --config "$work/server.ovpn" >"$work/server.log" 2>&1 &
pids+=($!)
check "tunnel: block with the tunnel's configuration" block
ip netns exec "$inner" openvpn --config "$temp/openvpn_config.ovpn" >"$work/client.log" 2>&1 &
pids+=($!)
check "tunnel: OpenVPN comes up with the lock on" \
    await 30 grep -q "Initialization Sequence Completed" "$work/client.log"
check "tunnel: traffic through the tunnel passes" connects 10.232.0.1
refuse "tunnel: traffic outside the tunnel is still blocked" connects 10.231.0.30
emergency

echo "# the ruleset of the sample configuration:"
sed 's/^/# /' "$work/sample_ruleset"
[ "$failures" -eq 0 ] || { echo "# script errors:"; sed 's/^/# /' "$work/stderr"; }
exit "$failures"

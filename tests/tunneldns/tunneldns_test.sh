#!/bin/bash
# The tunnel's name servers and the IPv6 block with real OpenVPN, only inside namespaces made
# here. The client namespace's own resolver sits on its link (192.0.2.53, as a home router);
# the server pushes redirect-gateway def1 and its resolver 10.9.0.53, reached through the
# tunnel. Both are dnsmasq and answer probe.test differently, so the answer names the resolver.
# OpenVPN is started by the helper's openvpn-start, which makes the helper its up/down hook.
# Usage: tunneldns_test.sh HELPER     (exit status: failures; 77 skipped outside CI)
set -u
. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and nft ip openvpn openssl dnsmasq getent unshare
tag=$$ cli=ks_dns_cli_$$ srv=ks_dns_srv_$$
work=$(mktemp -d) pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    ip netns del "$cli" 2>/dev/null; ip netns del "$srv" 2>/dev/null
    rm -rf "$work" "/etc/netns/$cli"
}
trap cleanup EXIT
await() { local limit=$(($(date +%s) + $1)); shift; until "$@"; do [ "$(date +%s)" -lt "$limit" ] || return 1; sleep 0.2; done; }

# The program folder (the helper finds OpenVPN beside itself), and a state folder of the test's
# own: the client side sees $work/varlib as /var/lib.
mkdir -p "$work/prog/ovpn" "$work/varlib" "$work/temp" "/etc/netns/$cli"
cp "$1" "$work/prog/kestrunevpn-helper"
ln -s /usr/sbin/openvpn "$work/prog/ovpn/openvpn"
helper=$work/prog/kestrunevpn-helper
printf 'nameserver 192.0.2.53\n' >"/etc/netns/$cli/resolv.conf"
cp "/etc/netns/$cli/resolv.conf" "$work/original"
in_cli() { ip netns exec "$cli" unshare -m sh -c 'mount --bind "$0" /var/lib && exec "$@"' "$work/varlib" "$@"; }
in_srv() { ip netns exec "$srv" "$@"; }

ip netns add "$cli" && ip netns add "$srv" || skip_or_fail "cannot make network namespaces"
ip link add "kc$tag" netns "$cli" type veth peer name "ks$tag" netns "$srv"
for ns in "$cli" "$srv"; do ip -n "$ns" link set lo up; done
ip -n "$cli" addr add 192.0.2.2/24 dev "kc$tag"; ip -n "$cli" addr add fd31::2/64 dev "kc$tag" nodad
ip -n "$srv" addr add 192.0.2.1/24 dev "ks$tag"; ip -n "$srv" addr add 192.0.2.53/24 dev "ks$tag"
ip -n "$srv" addr add fd31::1/64 dev "ks$tag" nodad; ip -n "$srv" addr add 10.9.0.53/32 dev lo
ip -n "$cli" link set "kc$tag" up; ip -n "$srv" link set "ks$tag" up
ip -n "$cli" route add default via 192.0.2.1
# What leaves the client's link as IPv6 (neighbour discovery aside), counted on the outer side.
in_srv nft -f - <<NFT
table inet count {
    chain in {
        type filter hook prerouting priority -300;
        ip6 saddr fd31::2 meta l4proto != ipv6-icmp counter
        ip6 saddr fd31::2 icmpv6 type echo-request counter
    }
}
NFT
v6_packets() { in_srv nft list table inet count | grep -o 'packets [0-9]*' | awk '{ s += $2 } END { print s + 0 }'; }

resolver() { # address, answer, log
    in_srv dnsmasq --keep-in-foreground --no-resolv --no-hosts --bind-interfaces --listen-address="$1" \
        --address="/probe.test/$2" --log-queries --log-facility="$3" --pid-file= --user=root &
    pids+=($!)
}
resolver 192.0.2.53 198.51.100.1 "$work/link.log"
resolver fd31::1 198.51.100.1 "$work/link6.log"
resolver 10.9.0.53 203.0.113.1 "$work/tunnel.log"

cd "$work" || exit 1
make_tls_certificates "$work"
cat >server.ovpn <<EOF2
dev tun
proto udp
local 192.0.2.1
topology subnet
server 10.8.0.0 255.255.255.0
ca $work/ca.crt
cert $work/server.crt
key $work/server.key
dh none
push "redirect-gateway def1"
push "dhcp-option DNS 10.9.0.53"
push "dhcp-option DNS not-an-address"
verb 3
EOF2
in_srv openvpn --config server.ovpn >"$work/server.log" 2>&1 &
pids+=($!)
client_config() { # extra lines
    printf 'client\ndev ksvpn_tun\ndev-type tun\nproto udp\nremote 192.0.2.1 1194\nnobind\n'
    printf 'remote-cert-tls server\nverb 3\n'
    printf '<ca>\n%s\n</ca>\n<cert>\n%s\n</cert>\n<key>\n%s\n</key>\n' \
        "$(cat "$work/ca.crt")" "$(cat "$work/client.crt")" "$(cat "$work/client.key")"
    printf '%s\n' "$@"
}
client_config >"$work/temp/openvpn_config.ovpn"
echo 0123456789abcdef >"$work/pswd"

connect() { # extra configuration lines
    client_config "$@" >client.ovpn
    # As the client run as root starts it: the helper execs OpenVPN with its own hooks. No
    # shell function in between, so that $! is OpenVPN itself.
    KESTRUNE_CONTROL_DIR=$work/run ip netns exec "$cli" unshare -m sh -c \
        'mount --bind "$0" /var/lib && exec "$@"' "$work/varlib" \
        "$helper" openvpn-start "$work/client.ovpn" "$work/pswd" >"$work/client.log" 2>&1 &
    client=$!
    await 30 grep -q 'Initialization Sequence Completed' "$work/client.log"
}
answer() { ip netns exec "$cli" timeout 8 getent ahostsv4 probe.test | awk 'NR == 1 { print $1 }'; }
link_questions() { cat "$work/link.log" "$work/link6.log" 2>/dev/null | grep -c 'query\[' ; }
v6_out() { ip netns exec "$cli" timeout 3 bash -c 'exec 3<>/dev/tcp/fd31::1/53' 2>/dev/null; }
original() { cmp -s "/etc/netns/$cli/resolv.conf" "$work/original"; }
say() { echo "# lock $1, $2: probe.test resolved to ${3:-nothing}"; }

connected_checks() { # lock state
    local before v6
    before=$(link_questions)
    check "lock $1, connected: the tunnel's resolver answers" test "$(answer)" = 203.0.113.1
    say "$1" connected "$(answer)"
    check "lock $1, connected: no question reaches the link's resolver" test "$(link_questions)" -eq "$before"
    v6=$(v6_packets)
    check "lock $1, connected: IPv6 outside the tunnel is blocked" test "$(v6_out; echo $?)" -ne 0
    check "lock $1, connected: no IPv6 packet left the link" test "$(v6_packets)" -eq "$v6"
}

# Lock off; the server's push holds one address that is none.
check "lock off: OpenVPN connects with the helper as its hook" connect
connected_checks off
check "a pushed address that is not one is skipped and named" \
    grep -q 'dns-up: skipped foreign_option_[0-9]*: dhcp-option DNS not-an-address (not an IP address)' "$work/client.log"
kill "$client"; wait "$client"
check "lock off, disconnected: resolv.conf is the original again" original
check "lock off, disconnected: the link's resolver answers again" test "$(answer)" = 198.51.100.1
say off disconnected "$(answer)"
check "lock off, disconnected: IPv6 goes out again" v6_out

# Lock on, with the link's resolver among the allowed hosts: the lock lets no question to it
# through all the same. OpenVPN is killed before its down hook, then the recovery runs.
echo 192.0.2.53 >"$work/temp/netlock_allow.txt"
check "lock on: the lock is loaded" in_cli env KESTRUNE_NETLOCK_STATE_DIR="$work/lockstate" "$helper" netlock-block "$work/temp"
check "lock on: OpenVPN connects" connect
connected_checks on
kill -9 "$client"; wait "$client" 2>/dev/null
check "lock on, killed: resolv.conf still names the tunnel's resolver" grep -q 10.9.0.53 "/etc/netns/$cli/resolv.conf"
check "lock on, killed: the recovery runs" in_cli "$helper" dns-restore
check "lock on, recovered: resolv.conf is the original again" original
check "lock on, recovered: the lock still blocks the link's resolver" test -z "$(answer)"
say on "disconnected (lock still on)" "$(answer)"
in_cli env KESTRUNE_NETLOCK_STATE_DIR="$work/lockstate" "$helper" netlock-unblock "$work/temp"
check "lock switched off: the link's resolver answers again" test "$(answer)" = 198.51.100.1
check "lock switched off: IPv6 goes out again" v6_out

# The configuration's own dhcp-option, the pushed ones filtered out; OpenVPN killed, then the
# emergency unblock takes back what the tunnel left too.
check "own dhcp-option: OpenVPN connects" connect 'pull-filter ignore "dhcp-option"' \
    'dhcp-option DNS 10.9.0.53' 'dhcp-option DNS 10.9.0.999'
check "own dhcp-option: an address that is none is named before connecting" \
    grep -q 'will skip line [0-9]*: dhcp-option DNS 10.9.0.999 (not an IP address)' "$work/client.log"
check "own dhcp-option: the tunnel's resolver answers" test "$(answer)" = 203.0.113.1
kill -9 "$client"; wait "$client" 2>/dev/null
check "own dhcp-option, killed: the emergency unblock runs" in_cli "$helper" netlock-emergency
check "own dhcp-option, unblocked: resolv.conf is the original again" original
check "own dhcp-option, unblocked: IPv6 goes out again" v6_out
check "nothing is left in the state folder" test -z "$(ls -A "$work/varlib/kestrunevpn" 2>/dev/null)"
[ $failures -eq 0 ] || { echo "--- client log"; tail -40 "$work/client.log"; }
exit $failures

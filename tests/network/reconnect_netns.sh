#!/bin/bash
# The tunnel follows the network, with Debian's OpenVPN, only inside namespaces made here: the
# client behind a router (192.0.2.2/24, default route via 192.0.2.1), the VPN server off-link
# (198.51.100.1; TLS, redirect-gateway def1, keepalive 10 60; one server over UDP, one over TCP),
# the service on the client's loopback (the tunnel's routes never take it). The driver connects
# the connection controller and prints its states and network log lines; a ping through the
# tunnel runs every 0.25 s. Then the client's link goes down for OUTAGE seconds and comes back
# with a new address (192.0.2.3) and its default route, as on another network. Each row prints
# the seconds from the link's return to the first answer through the tunnel; at most 5 s passes.
# The mirror row goes through the mirror route: ss-local in the client's program folder, ss-server
# beside the servers (198.51.100.2, TCP 8388), then OpenVPN over TCP; the watcher watches the
# mirror server's address. The lock row has the network lock on in the client's namespace (the
# lock scripts and the helper from a program folder made here, their state in the test's folder)
# from the verified tunnel on; the router counts what arrives from the client for any address
# but the VPN server's: nothing may, through the outage and the reconnect. In the DNS row the
# helper starts OpenVPN with its hooks and DNS protection is on: the client's own resolver sits
# on its link (192.0.2.53, on the router), the server pushes its resolver 10.9.0.53, reached
# through the tunnel; both answer probe.test differently, so the answer names the resolver.
# Usage: reconnect_netns.sh DRIVER PING HELPER [OUTAGE-SECONDS]   (exit status: failures; 77 skipped outside CI)
set -u
. "$(dirname "$0")/../support/namespacerig.sh"
need_root_and ip openvpn openssl awk ss-server ss-local nft dnsmasq getent unshare
[ -c /dev/net/tun ] || skip_or_fail "no /dev/net/tun"
driver=$(realpath "$1") pinger=$(realpath "$2") helper=$(realpath "$3") outage=${4:-5}
dist=$(realpath "$(dirname "$0")/../../dist")
tag=$$ cli=ks_rc_c_$$ rtr=ks_rc_r_$$ srv=ks_rc_s_$$
dev=rcc$tag
work=$(mktemp -d) pids=() drv= png= steady=
cleanup() {
    for pid in $steady $png $drv "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    for ns in "$cli" "$rtr" "$srv"; do ip netns del "$ns" 2>/dev/null; done
    rm -rf "/etc/netns/$cli"
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
# await SECONDS COMMAND...: polls until COMMAND holds, false when SECONDS pass first.
await() { local limit=$(($(date +%s%N) + $1 * 1000000000)); shift; until "$@"; do [ "$(date +%s%N)" -lt "$limit" ] || return 1; sleep 0.05; done; }
now() { date +%s.%3N; }
c() { ip -n "$cli" "$@"; }
r() { ip -n "$rtr" "$@"; }
s() { ip -n "$srv" "$@"; }

ip netns add "$cli" && ip netns add "$rtr" && ip netns add "$srv" || skip_or_fail "cannot make network namespaces"
# The client's own resolver, as its network hands it out; every command in the client's
# namespace sees this file as /etc/resolv.conf.
mkdir -p "/etc/netns/$cli" && printf 'nameserver 192.0.2.53\n' >"/etc/netns/$cli/resolv.conf" || exit 1
ip link add "$dev" netns "$cli" type veth peer name "rcr$tag" netns "$rtr" || exit 1
ip link add "rcs$tag" netns "$srv" type veth peer name "rcq$tag" netns "$rtr" || exit 1
for ns in "$cli" "$rtr" "$srv"; do ip -n "$ns" link set lo up; done
r addr add 192.0.2.1/24 dev "rcr$tag"; r addr add 198.51.100.254/24 dev "rcq$tag"
r link set "rcr$tag" up; r link set "rcq$tag" up
ip netns exec "$rtr" sysctl -qw net.ipv4.ip_forward=1
s addr add 198.51.100.1/24 dev "rcs$tag"; s addr add 198.51.100.2/24 dev "rcs$tag"
s link set "rcs$tag" up
s route add default via 198.51.100.254
r addr add 192.0.2.53/24 dev "rcr$tag"; s addr add 10.9.0.53/32 dev lo
# client_at ADDRESS: the client's link up with ADDRESS and the default route via the router.
client_at() {
    c addr flush dev "$dev"; c addr add "$1/24" dev "$dev"; c link set "$dev" up
    c route replace default via 192.0.2.1
}
client_at 192.0.2.2
# What reaches the router from the client for any address but the VPN server's (IPv6 neighbour
# discovery aside), counted from the moment the table is loaded (afresh, in one transaction).
leaks_reset() {
    ip netns exec "$rtr" nft -f - <<NFT
table inet leaks
delete table inet leaks
table inet leaks {
    set seen4 { type ipv4_addr . ipv4_addr . inet_proto; flags dynamic; }
    set seen6 { type ipv6_addr . ipv6_addr . inet_proto; flags dynamic; }
    chain in {
        type filter hook prerouting priority -300;
        iifname "rcr$tag" meta nfproto ipv4 ip daddr != 198.51.100.1 add @seen4 { ip saddr . ip daddr . meta l4proto } counter
        iifname "rcr$tag" meta nfproto ipv6 meta l4proto != ipv6-icmp add @seen6 { ip6 saddr . ip6 daddr . meta l4proto } counter
    }
}
NFT
}
leaked() { ip netns exec "$rtr" nft list chain inet leaks in | grep -o 'packets [0-9]*' | awk '{ s += $2 } END { print s + 0 }'; }
# What leaked: source . destination . protocol.
leaked_what() {
    ip netns exec "$rtr" nft list table inet leaks | tr -s '\n\t ' ' ' | grep -o 'elements = {[^}]*}' | tr '\n' ' '
}
# The network lock as the program runs it: its scripts hand the work to the helper beside them.
mkdir -p "$work/program/scripts" "$work/lockstate" "$work/run"
cp "$dist"/scripts/nft_*.sh "$work/program/scripts/" && cp "$helper" "$work/program/" || exit 1
lock() { # block|unblock, temp folder
    ip netns exec "$cli" env KESTRUNE_NETLOCK_STATE_DIR="$work/lockstate" KESTRUNE_CONTROL_DIR="$work/run" \
        sh "$work/program/scripts/nft_$1.sh" "$2"
}
lock_drops() { ip netns exec "$cli" nft list chain inet kestrunevpn_lock output | grep -o 'packets [0-9]*' | awk '{ s += $2 } END { print s + 0 }'; }

cd "$work" || exit 1
make_tls_certificates "$work"
# server PROTO DEVICE SUBNET: one server; its tunnel address is the subnet's first.
server() {
    cat >"server-$1.ovpn" <<EOF2
dev $2
dev-type tun
proto $1
local 198.51.100.1
port 1194
topology subnet
server $3 255.255.255.128
ca $work/ca.crt
cert $work/server.crt
key $work/server.key
dh none
keepalive 10 60
push "redirect-gateway def1"
push "dhcp-option DNS 10.9.0.53"
verb 3
EOF2
    ip netns exec "$srv" openvpn --config "server-$1.ovpn" >"$work/server-$1.log" 2>&1 &
    pids+=($!)
}
server udp tunudp 10.8.0.0
server tcp-server tuntcp 10.8.0.128
resolver() { # namespace, address, answer, log
    ip netns exec "$1" dnsmasq --keep-in-foreground --no-resolv --no-hosts --bind-interfaces \
        --listen-address="$2" --address="/probe.test/$3" --log-queries --log-facility="$4" \
        --pid-file= --user=root &
    pids+=($!)
}
resolver "$rtr" 192.0.2.53 198.51.100.77 "$work/link-dns.log"
resolver "$srv" 10.9.0.53 203.0.113.1 "$work/tunnel-dns.log"
answer() { ip netns exec "$cli" timeout 4 getent ahostsv4 probe.test | awk 'NR == 1 { print $1 }'; }
link_questions() { grep -c 'query\[' "$work/link-dns.log" 2>/dev/null; }
# The mirror server, which forwards to the OpenVPN server on TCP.
ip netns exec "$srv" ss-server -v -s 198.51.100.2 -p 8388 -k mirror-pass$tag -m chacha20-ietf-poly1305 \
    >"$work/ss-server.log" 2>&1 &
pids+=($!)
for proto in udp tcp-server; do
    check "the $proto server starts" await 20 grep -q 'Initialization Sequence Completed' "$work/server-$proto.log"
done
mirror_listens() { ip netns exec "$srv" ss -Htln 'sport = :8388' | grep -q .; }
check "the mirror server listens" await 10 mirror_listens
# What the service adds to the configurations it hands out: the keys of this far end.
printf 'remote-cert-tls server\n<ca>\n%s\n</ca>\n<cert>\n%s\n</cert>\n<key>\n%s\n</key>\n' \
    "$(cat ca.crt)" "$(cat client.crt)" "$(cat client.key)" >extra.ovpn

# The driver's line "TIME state|log TEXT" that matches the pattern, first at or after TIME.
line_after() { # file, time, pattern
    awk -v t="$2" -v p="$3" '$1 >= t && $0 ~ p { print $1; exit }' "$1"
}
# The first answer of the ping ("[TIME] answer from ...") at or after TIME.
answer_after() { # file, time
    awk -v t="$2" '/answer from/ { s = substr($1, 2, length($1) - 2); if (s >= t) { print s; exit } }' "$1"
}
has_line() { test -n "$(line_after "$@")"; }
has_answer() { test -n "$(answer_after "$@")"; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
at_most() { awk -v x="$1" -v m="$2" 'BEGIN { exit !(x != "" && x <= m) }'; }
figures=()

row() { # name, protocol, tunnel address of the server, driver options...
    local name=$1 proto=$2 target=$3 dir=$work/row$((${#figures[@]} + 1))
    local out=$dir.out pings=$dir.ping failed_before=$failures
    shift 3
    # ONLY=REGEX runs the rows whose names match it (by hand, while working on one row).
    [[ -z "${ONLY:-}" || "$name" =~ $ONLY ]] || return 0
    local down back gone answer wait_s traffic_s status reconnected decided
    client_at 192.0.2.2
    local launch=(ip netns exec "$cli")
    # As an installed client: the helper keeps its state under /var/lib, here the test's own.
    [ -n "${ROW_DNS:-}" ] && launch=(env KESTRUNE_CONTROL_DIR="$work/run" ip netns exec "$cli" unshare -m
        sh -c 'mkdir -p "$0" && mount --bind "$0" /var/lib && exec "$@"' "$dir.varlib"
        "$driver" --helper "$helper")
    [ -n "${ROW_DNS:-}" ] || launch+=("$driver")
    "${launch[@]}" --remote 198.51.100.1 1194 --proto "$proto" --extra "$work/extra.ovpn" \
        --data "$dir" --lifetime 60 "$@" >"$out" 2>"$dir.err" &
    drv=$!
    await 30 grep -q ' state Verified$' "$out"
    status=$?
    check "$name: the tunnel is verified" test "$status" -eq 0
    if [ "$status" -ne 0 ]; then
        kill "$drv" 2>/dev/null; wait "$drv"; drv=
        figures+=("$name: the tunnel was not verified")
        echo "--- $name: driver"; tail -n 8 "$out" "$dir.err"
        echo "--- $name: OpenVPN"; tail -n 25 "$dir/logs/openvpn_log.txt"
        return
    fi
    ip netns exec "$cli" "$pinger" "$target" >"$pings" 2>&1 &
    png=$!
    check "$name: the server answers through the tunnel" await 5 grep -q 'answer from' "$pings"
    local questions
    if [ -n "${ROW_DNS:-}" ]; then
        questions=$(link_questions)
        check "$name: a name resolves through the tunnel's resolver" test "$(answer)" = 203.0.113.1
    fi
    if [ -n "${ROW_LOCK:-}" ]; then
        check "$name: the lock goes on" lock block "$dir/temp"
        # A user's steady traffic to an address that only the tunnel's routes take: without
        # the lock, its packets go out on the link while no OpenVPN holds those routes.
        ip netns exec "$cli" "$pinger" 203.0.113.7 20 >"$dir.steady" 2>&1 &
        steady=$!
        check "$name: the router counts what leaves outside the tunnel" leaks_reset
        local locked
        locked=$(now)
        check "$name: the server answers through the tunnel under the lock" await 5 has_answer "$pings" "$locked"
    fi

    down=$(now)
    c link set "$dev" down
    await $((outage + 1)) has_line "$out" "$down" 'Network: the route to the VPN server is gone'
    gone=$(line_after "$out" "$down" 'Network: the route to the VPN server is gone')
    wait_s=$(seconds "$down" "$gone")
    # The watcher decides once the link has settled (0.7 s); the rest is margin for a loaded
    # machine.
    check "$name: waiting for the network within 1.2 s of the link going down (${gone:+$wait_s s})" \
        at_most "${gone:+$wait_s}" 1.2
    check "$name: the state is Reconnecting while waiting" test -n "$(line_after "$out" "$down" ' state Reconnecting$')"
    # The outage itself: the link stays away for its time.
    sleep "$(awk -v d="$down" -v n="$(now)" -v o="$outage" 'BEGIN { x = d + o - n; print (x > 0 ? x : 0) }')"

    back=$(now)
    client_at 192.0.2.3
    await 20 has_answer "$pings" "$back"
    answer=$(answer_after "$pings" "$back")
    traffic_s=$(seconds "$back" "$answer")
    check "$name: an answer through the tunnel within 5 s of the link's return (${answer:+$traffic_s s})" \
        at_most "${answer:+$traffic_s}" 5
    check "$name: never shown as verified while the network was away" \
        test -z "$(awk -v a="$down" -v b="$back" '$1 >= a && $1 < b && / state Verified$/' "$out")"
    check "$name: verified again after the return" await 15 has_line "$out" "$back" ' state Verified$'
    local leak_note=
    if [ -n "${ROW_DNS:-}" ]; then
        local resolved
        resolved=$(answer)
        check "$name: after the reconnect a name resolves through the tunnel's resolver (${resolved:-nothing})" \
            test "$resolved" = 203.0.113.1
        check "$name: no question reached the link's resolver ($(($(link_questions) - questions)))" \
            test "$(link_questions)" -eq "$questions"
        leak_note="; probe.test resolved to ${resolved:-nothing} after the reconnect"
    fi
    if [ -n "${ROW_LOCK:-}" ]; then
        local n drops
        n=$(leaked) drops=$(lock_drops)
        kill "$steady"; wait "$steady" 2>/dev/null; steady=
        check "$name: nothing reached the router outside the tunnel from the lock on to the verified reconnect ($n packets $(leaked_what); the lock dropped $drops)" \
            test "$n" -eq 0
        check "$name: the lock goes off" lock unblock "$dir/temp"
        leak_note="; under the lock $n packets outside the tunnel, $drops dropped by the lock"
    fi
    decided=$(line_after "$out" "$back" 'Network: the route to the VPN server is back')
    decided=${decided:+$(seconds "$back" "$decided") s}
    reconnected=$(sed -n "s/.* log Network: reconnected in \(.*\) s$/\1/p" "$out" | tail -n 1)
    check "$name: the log says how long the reconnect took (${reconnected:-nothing})" test -n "$reconnected"
    [ -n "$answer" ] && traffic_s="$traffic_s s to traffic" || traffic_s="no answer within 20 s"
    [ -n "$gone" ] && wait_s="waiting shown $wait_s s after the link went down" || wait_s="waiting never shown"
    figures+=("$name: $traffic_s; $wait_s; the return decided after ${decided:-?}, then logged \"reconnected in ${reconnected:-?} s\"$leak_note")

    kill "$png"; wait "$png" 2>/dev/null; png=
    kill "$drv"
    await 15 grep -q ' end$' "$out"
    wait "$drv"; status=$?; drv=
    check "$name: the driver ends on its stop (status $status)" test "$status" -eq 0
    if [ "$failures" -gt "$failed_before" ]; then
        echo "--- $name: driver"; sed -n '/state Verified/,$p' "$out" | head -30
        echo "--- $name: OpenVPN"; tail -n 25 "$dir/logs/openvpn_log.txt"
    fi
}

row "UDP, persist-tun" udp 10.8.0.1
row "UDP, without persist-tun" udp 10.8.0.1 --no-persist-tun
row "TCP, persist-tun" tcp 10.8.0.129
row "TCP, without persist-tun" tcp 10.8.0.129 --no-persist-tun
ROW_LOCK=1 row "UDP, persist-tun, network lock on" udp 10.8.0.1
ROW_DNS=1 row "UDP, persist-tun, DNS protection" udp 10.8.0.1
# Connections the mirror server made to OpenVPN: one for the first connect, one more for each
# restart that went through the mirror.
mirror_connects() { grep -c 'connect to 198.51.100.1:1194' "$work/ss-server.log"; }
row "mirror route, TCP" tcp 10.8.0.129 --mirror 198.51.100.2 8388 "mirror-pass$tag"
[[ -z "${ONLY:-}" || "mirror route, TCP" =~ $ONLY ]] && check "mirror route: the first connect and the reconnect both went through the mirror server ($(mirror_connects) connections)" \
    test "$(mirror_connects)" -ge 2
echo "# from the link's return to the first answer through the tunnel (outage $outage s):"
for f in "${figures[@]}"; do echo "#   $f"; done
exit $((failures > 0))

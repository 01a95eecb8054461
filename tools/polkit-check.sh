#!/usr/bin/env bash
# Runs the package's privileged road for real: a system bus and polkitd of its own, the
# package's polkit action and rule, and users who are and are not in the group kestrunevpn,
# all in a mount and network namespace of this script's own (the machine's /etc, /opt,
# /usr/share/polkit-1, /run/dbus and network stay as they are).
#
#   tools/polkit-check.sh [DEB]    (as root; DEB defaults to build-package/kestrunevpn_*.deb)
#
# Checks: a group member runs "kestrunevpn-helper openvpn-stop" without a password; someone
# else is refused (no authentication agent answers here); a member trying any other shape (an
# extra argument, another verb, the lock's scripts with other arguments) is asked for the
# administrator and so refused; a group member starts Debian's OpenVPN as root through pkexec,
# reaches its management interface (a Unix socket in the member's own folder below
# /run/kestrunevpn, which nobody else enters and whose OpenVPN takes nobody else, root
# included) with the password from a file only the member can read, and ends it with
# "signal SIGTERM".
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 1; }
deb=${1:-$(ls build-package/kestrunevpn_*.deb)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
export work
runner=$(readlink -f build/tools/vpnprocess-run/kestrune-vpnprocess-run 2>/dev/null || true)
export runner
# The management socket's client for the users below: sends the lines, prints the answer.
cat >"$work/say.pl" <<'PERL'
use IO::Socket::UNIX;
my $s = IO::Socket::UNIX->new(Peer => $ARGV[0]) or exit 0;
print $s "$_\r\n" for split /\|/, $ARGV[1];
my $all = "";
eval { local $SIG{ALRM} = sub { die }; alarm 2; $all .= $_ while <$s>; };
print $all;
PERL
chmod 644 "$work/say.pl"

exec unshare -m -n --propagation private bash -euo pipefail -c '
ip link set lo up
# The package files where the helper and polkit expect them.
for d in /opt /run; do mount -t tmpfs tmpfs "$d"; done
mkdir -p /run/dbus
cp -a "$work/root/opt/kestrunevpn" /opt/
for d in actions rules.d; do
    mkdir -p "$work/polkit/$d"
    cp -a /usr/share/polkit-1/$d/. "$work/root/usr/share/polkit-1/$d/." "$work/polkit/$d/"
    mount --bind "$work/polkit/$d" /usr/share/polkit-1/$d
done
# Two users, one in the group the package creates.
for f in passwd group shadow; do cp /etc/$f "$work/$f"; done
echo "kvmember:x:4242:4242::$work/kvmember:/bin/sh" >>"$work/passwd"
echo "kvother:x:4243:4243::$work/kvother:/bin/sh" >>"$work/passwd"
printf "kvmember:x:4242:\nkvother:x:4243:\nkestrunevpn:x:4244:kvmember\n" >>"$work/group"
printf "kvmember:!:1::::::\nkvother:!:1::::::\n" >>"$work/shadow"
for f in passwd group shadow; do mount --bind "$work/$f" /etc/$f; done
mkdir -p "$work/kvmember" "$work/kvother"
chown 4242:4242 "$work/kvmember"; chown 4243:4243 "$work/kvother"
chmod 755 "$work"

dbus-daemon --system --fork
/usr/lib/polkit-1/polkitd --no-debug >"$work/polkitd.log" 2>&1 &
for _ in $(seq 100); do
    dbus-send --system --print-reply --dest=org.freedesktop.PolicyKit1 \
        /org/freedesktop/PolicyKit1/Authority org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1 && break
    sleep 0.1
done
helper=/opt/kestrunevpn/kestrunevpn-helper
lock=/opt/kestrunevpn/scripts
status=0
check() { if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1 ($2, wanted $3)"; status=1; fi; }

rc=0; su kvmember -c "pkexec $helper openvpn-stop" </dev/null || rc=$?
check "a member stops without a password" $rc 0
rc=0; su kvother -c "pkexec $helper openvpn-stop" </dev/null 2>"$work/other.err" || rc=$?
check "someone else is asked for the administrator (no agent here: refused)" $rc 127
sed "s/^/    /" "$work/other.err"
rc=0; su kvmember -c "pkexec $helper openvpn-start /etc/shadow /etc/shadow" </dev/null 2>"$work/shadow.err" || rc=$?
check "a file the member cannot read is refused" $rc 2
sed "s/^/    /" "$work/shadow.err"
# Shapes the rule does not know: each goes to the administrator, whom nobody answers here.
for shape in "$helper openvpn-stop now" "$helper openvpn-start /tmp/c /tmp/p extra" \
    "$helper openvpn-start /tmp/c 127.0.0.1 /tmp/p" "$helper check-config /tmp/c" \
    "$helper netlock-emergency" "$lock/nft_block.sh /tmp /tmp" "$lock/nft_block.sh relative" \
    "$lock/nft_unblock_emergency.sh /tmp"; do
    rc=0; su kvmember -c "pkexec $shape" </dev/null 2>"$work/shape.err" || rc=$?
    asked=$(grep -c "authentication agent" "$work/shape.err" || true)
    check "a member is asked for the administrator: $shape" "$rc $asked" "127 1"
done

# The network lock: its own actions, allowed to members by the same rule (emergency unblock
# changes nothing here, in this network namespace, with no lock saved).
if [ -x /opt/kestrunevpn/scripts/nft_unblock_emergency.sh ]; then
    rc=0; su kvmember -c "pkexec /opt/kestrunevpn/scripts/nft_unblock_emergency.sh" </dev/null || rc=$?
    check "a member runs the emergency unblock without a password" $rc 0
fi

# A client configuration with its keys inline, no tunnel device, a peer that never answers.
cd "$work/kvmember"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout key.pem \
    -out cert.pem -days 1 -subj /CN=kestrune-check 2>/dev/null
{
    printf "client\ndev ksvpn_tun\nproto udp\nnobind\nremote 127.0.0.1 9\nverb 3\n"
    printf "<ca>\n%s\n</ca>\n<cert>\n%s\n</cert>\n<key>\n%s\n</key>\n" \
        "$(cat cert.pem)" "$(cat cert.pem)" "$(cat key.pem)"
} >client.ovpn
printf "0123456789abcdef" >pswd
chown 4242:4242 client.ovpn pswd; chmod 600 client.ovpn pswd key.pem
su kvmember -c "pkexec $helper openvpn-start $PWD/client.ovpn $PWD/pswd" </dev/null \
    >"$work/openvpn.out" 2>&1 &
socket=/run/kestrunevpn/4242/management.sock
opened=false
for _ in $(seq 100); do
    if [ -S "$socket" ]; then opened=true; break; fi
    sleep 0.1
done
check "OpenVPN opened its management interface" $opened true
check "only the member enters the folder of the socket" "$(stat -c "%U %a" /run/kestrunevpn/4242)" "kvmember 700"
pid=$(cat /run/kestrunevpn/private/4242/openvpn.pid)
owner=$(ps -o user= -p "$pid")
check "OpenVPN runs as root" "$owner" root
# say WHO "LINE|LINE": what the management interface answers WHO (empty: no connection).
say() { su "$1" -s /bin/sh -c "perl $work/say.pl $socket \"$2\"" 2>/dev/null || true; }
answer=$(say kvmember "0123456789abcdef|state")
echo "$answer" | tr -d "\r" | sed "s/^/    /"
case $answer in *SUCCESS:\ password\ is\ correct*) ok=true ;; *) ok=false ;; esac
check "the member signs in to the management interface" $ok true
check "another user does not reach the socket" "$(say kvother "0123456789abcdef|state")" ""
case $(say root "0123456789abcdef|state") in *SUCCESS*) ok=false ;; *) ok=true ;; esac
check "OpenVPN takes no other user, root included" $ok true
say kvmember "0123456789abcdef|signal SIGTERM" >/dev/null
gone=false
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || { gone=true; break; }; sleep 0.1; done
# Whatever happened, nothing started here outlives the check.
kill -KILL "$pid" 2>/dev/null || true
check "signal SIGTERM ends the elevated OpenVPN" $gone true

# The controller of the client, run by the member: OpenVPN through pkexec and the helper.
runner=${runner:-}
if [ -x "$runner" ]; then
    cp "$runner" "$work/run"
    rc=0
    su kvmember -c "$work/run /opt/kestrunevpn $work/kvmember/data $work/kvmember/client.ovpn" \
        </dev/null >"$work/run.out" 2>&1 || rc=$?
    grep -E "^(started|status|management|stopped|not)|OpenVPN\]" "$work/run.out" | sed "s/^/    /"
    check "the controller, run by a member, starts and stops OpenVPN through pkexec" $rc 0
    left=$(cat /run/kestrunevpn/private/4242/openvpn.pid 2>/dev/null || true)
    [ -n "$left" ] && kill -KILL "$left" 2>/dev/null || true
else
    echo "skipped: the controller run (build kestrune-vpnprocess-run first)"
fi
exit $status
'

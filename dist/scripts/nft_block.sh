#!/bin/sh
# Kestrune VPN network lock: block every connection outside the VPN tunnel.
#
# Usage: nft_block.sh TEMP_FOLDER
#
# Outside the tunnel device only these stay open: loopback, DHCP (v4 and v6), IPv6 neighbour
# discovery, and the addresses of
#   - the servers named by "remote" lines of TEMP_FOLDER/openvpn_config.ovpn,
#   - the mirror server ("server") of TEMP_FOLDER/ss_config.json,
#   - the hosts the client lists in TEMP_FOLDER/netlock_allow.txt (the service's own hosts
#     and the account's servers), one a line.
# Host names are resolved now: while the lock is on, name lookups outside the tunnel are
# blocked like everything else. IPv6 is handled like IPv4.
#
# The table is loaded atomically and saved for the boot unit; running the script again
# replaces it with an identical one. Exit status 0 only when the lock is in force and saved;
# otherwise the machine is left as it was before and the reason goes to standard error.

set -u
LOCK_SCRIPT=nft_block.sh
. "$(dirname "$0")/nft_lock_common.sh"

[ $# -eq 1 ] || lock_fail "usage: nft_block.sh TEMP_FOLDER"
temp=$1
[ -d "$temp" ] || lock_fail "no such folder: $temp"
lock_need_nft

# A file of the temp folder, read only when it is a plain file (never through a link: this
# runs as root on a folder the user owns).
read_plain() {
    [ -f "$1" ] && [ ! -L "$1" ] && cat -- "$1"
}

# Every host or address the lock lets through, one a line, unchecked.
candidates() {
    read_plain "$temp/netlock_allow.txt"
    echo
    read_plain "$temp/openvpn_config.ovpn" |
        sed -n 's/^[[:space:]]*remote[[:space:]][[:space:]]*\([^[:space:]#;]*\).*/\1/p'
    # "server": "host" or "server": ["host", ...]; anything else (not JSON at all) gives
    # nothing and is reported below.
    if [ -f "$temp/ss_config.json" ]; then
        servers=$(read_plain "$temp/ss_config.json" | tr -d '\r\n' |
            grep -o '"server"[[:space:]]*:[[:space:]]*\(\[[^]]*\]\|"[^"]*"\)' |
            sed 's/^"server"[[:space:]]*:[[:space:]]*//' | tr -d '[]" \t' | tr ',' '\n')
        [ -n "$servers" ] || echo "$LOCK_SCRIPT: no mirror server in ss_config.json" >&2
        printf '%s\n' "$servers"
    fi
}

# Sorts the candidates into "4 ADDRESS", "6 ADDRESS" and "name HOST" lines; everything that
# is none of these (markup, paths, broken lines) is dropped with a note.
classify() {
    awk '
    function ipv4(s,   n, p, i) {
        n = split(s, p, ".")
        if (n != 4) return 0
        for (i = 1; i <= 4; i++)
            # a leading zero reads as octal to some tools and decimal to others
            if (p[i] !~ /^(0|[1-9][0-9]?[0-9]?)$/ || p[i] + 0 > 255) return 0
        return 1
    }
    {
        h = $0
        sub(/^[ \t]+/, "", h); sub(/[ \t]+$/, "", h)
        if (h == "") next
        if (h ~ /^\[.*\]$/) h = substr(h, 2, length(h) - 2)
        if (ipv4(h)) print "4 " h
        else if (h ~ /^[0-9A-Fa-f:.]+$/ && h ~ /:.*:/) print "6 " tolower(h)
        else if (h ~ /^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?$/ && length(h) <= 253) print "name " h
        else print "ignored: not a host name or address: " h > "/dev/stderr"
    }'
}

# Resolves the names, at most 32 at a time and 3 seconds each, to "4 ADDRESS"/"6 ADDRESS".
resolve() {
    xargs -r -n 1 -P 32 sh -c '
        timeout 3 getent ahosts "$1" | awk "{ print \$1 }" | sort -u | grep . ||
            echo "nft_block.sh: cannot resolve $1; it stays blocked" >&2' sh |
        classify | grep -v '^name '
}

list=$(candidates | classify | sort -u)
addresses=$( { printf '%s\n' "$list" | grep '^[46] '
               printf '%s\n' "$list" | sed -n 's/^name //p' | resolve; } | sort -u)
v4=$(printf '%s\n' "$addresses" | sed -n 's/^4 //p' | paste -sd, - | sed 's/,/, /g')
v6=$(printf '%s\n' "$addresses" | sed -n 's/^6 //p' | paste -sd, - | sed 's/,/, /g')

elements() {
    [ -n "$1" ] && printf ' elements = { %s };' "$1"
}

ruleset() {
    cat <<NFT
# Kestrune VPN network lock, written by nft_block.sh.
table inet $LOCK_TABLE
delete table inet $LOCK_TABLE
table inet $LOCK_TABLE {
	set allowed_v4 { type ipv4_addr;$(elements "$v4") }
	set allowed_v6 { type ipv6_addr;$(elements "$v6") }

	chain output {
		type filter hook output priority filter; policy drop;
		oifname "lo" accept
		oifname "$LOCK_TUNNEL" accept
		udp sport 68 udp dport 67 accept
		udp sport 546 udp dport 547 accept
		icmpv6 type { nd-router-solicit, nd-neighbor-solicit, nd-neighbor-advert, mld-listener-report, mld2-listener-report } accept
		ip daddr @allowed_v4 accept
		ip6 daddr @allowed_v6 accept
	}

	chain input {
		type filter hook input priority filter; policy drop;
		iifname "lo" accept
		iifname "$LOCK_TUNNEL" accept
		udp sport 67 udp dport 68 accept
		udp sport 547 udp dport 546 accept
		icmpv6 type { nd-router-advert, nd-neighbor-solicit, nd-neighbor-advert, nd-redirect, mld-listener-query } accept
		ip saddr @allowed_v4 accept
		ip6 saddr @allowed_v6 accept
	}

	chain forward {
		type filter hook forward priority filter; policy drop;
		iifname "$LOCK_TUNNEL" accept
		oifname "$LOCK_TUNNEL" accept
	}
}
NFT
}

umask 077
mkdir -p "$LOCK_STATE_DIR" || lock_fail "cannot create $LOCK_STATE_DIR"
ruleset > "$LOCK_STATE.new" || lock_fail "cannot write $LOCK_STATE.new"
if ! nft -f "$LOCK_STATE.new"; then
    rm -f "$LOCK_STATE.new"
    lock_fail "nftables refused the lock; nothing was changed"
fi
# The lock is in force now; one that would not come back after a restart is taken off again.
if ! mv -fT "$LOCK_STATE.new" "$LOCK_STATE"; then
    lock_remove_table
    rm -f "$LOCK_STATE.new"
    lock_fail "cannot save the lock in $LOCK_STATE; the lock was taken off again"
fi
if command -v systemctl >/dev/null 2>&1 && [ -d /run/systemd/system ] &&
    ! systemctl is-enabled --quiet kestrunevpn-netlock.service 2>/dev/null; then
    echo "$LOCK_SCRIPT: kestrunevpn-netlock.service is not enabled; the lock ends at the next restart" >&2
fi
exit 0

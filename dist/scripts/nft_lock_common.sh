# Shared by the Kestrune VPN network-lock scripts (sourced, not run).
#
# The lock is one nftables table of the program's own. It is always written as
# "add the table, delete it, define it again" in a single `nft -f` transaction, so that
# loading it replaces any earlier state of the table at once, or changes nothing at all.

PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH

LOCK_TABLE=kestrunevpn_lock
# The tunnel device the client gives OpenVPN ("dev ksvpn_tun").
LOCK_TUNNEL=ksvpn_tun
# The saved ruleset that the boot unit (kestrunevpn-netlock.service) loads again. Only a
# caller that already runs as root can move it (pkexec clears the environment).
LOCK_STATE_DIR=${KESTRUNE_NETLOCK_STATE_DIR:-/var/lib/kestrunevpn}
LOCK_STATE=$LOCK_STATE_DIR/netlock.nft

lock_fail() {
    echo "$LOCK_SCRIPT: $*" >&2
    exit 1
}

lock_need_nft() {
    command -v nft >/dev/null 2>&1 || lock_fail "nft (nftables) is not installed"
}

# Removes the table whatever state it is in (absent, complete, or changed by hand).
lock_remove_table() {
    printf 'table inet %s\ndelete table inet %s\n' "$LOCK_TABLE" "$LOCK_TABLE" | nft -f -
}

lock_table_present() {
    nft list table inet "$LOCK_TABLE" >/dev/null 2>&1
}

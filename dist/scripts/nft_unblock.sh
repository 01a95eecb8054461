#!/bin/sh
# Kestrune VPN network lock: take the lock off and stop it coming back at the next start.
#
# Usage: nft_unblock.sh TEMP_FOLDER
# (the folder is the client's temp folder; the Linux lock keeps nothing there)
#
# Exit status 0 when no lock table is left and no saved lock remains; a lock that was not on
# is taken off as well (nothing to do).

set -u
LOCK_SCRIPT=nft_unblock.sh
. "$(dirname "$0")/nft_lock_common.sh"

[ $# -eq 1 ] || lock_fail "usage: nft_unblock.sh TEMP_FOLDER"
lock_need_nft

lock_remove_table || lock_fail "nftables refused to remove table inet $LOCK_TABLE; the lock is still on"
rm -f "$LOCK_STATE" "$LOCK_STATE.new" ||
    lock_fail "the lock is off now, but $LOCK_STATE remains and would lock the network at the next start"
exit 0

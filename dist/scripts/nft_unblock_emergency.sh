#!/bin/sh
# Kestrune VPN network lock: emergency unblock. Removes every part of the lock from any state
# (on, off, half-written, changed by hand) and checks that nothing of it is left.
#
# Usage: nft_unblock_emergency.sh

set -u
LOCK_SCRIPT=nft_unblock_emergency.sh
. "$(dirname "$0")/nft_lock_common.sh"

rm -f "$LOCK_STATE" "$LOCK_STATE.new" || echo "$LOCK_SCRIPT: cannot remove $LOCK_STATE" >&2
lock_need_nft
lock_remove_table
if lock_table_present; then
    lock_fail "table inet $LOCK_TABLE is still there"
fi
[ ! -e "$LOCK_STATE" ] || lock_fail "$LOCK_STATE is still there"
exit 0

#!/bin/sh
# Kestrune VPN network lock: emergency unblock. Removes every part of the lock from any state
# (on, off, half-written, changed by hand) and checks that nothing of it is left.
#
# Usage: nft_unblock_emergency.sh
exec "$(dirname "$0")/../kestrunevpn-helper" netlock-emergency "$@"

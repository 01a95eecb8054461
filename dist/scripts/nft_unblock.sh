#!/bin/sh
# Kestrune VPN network lock: take the lock off and stop it coming back at the next start.
#
# Usage: nft_unblock.sh TEMP_FOLDER
# (the folder is the client's temp folder; the Linux lock keeps nothing there)
#
# Exit status 0 when no lock table is left and no saved lock remains.
exec "$(dirname "$0")/../kestrunevpn-helper" netlock-unblock "$@"

#!/bin/sh
# Kestrune VPN network lock: block every connection outside the VPN tunnel.
#
# Usage: nft_block.sh TEMP_FOLDER
#
# The work is done by the program's helper (kestrunevpn-helper netlock-block): it reads the
# hosts of TEMP_FOLDER (netlock_allow.txt, the "remote" servers of openvpn_config.ovpn, the
# mirror "server" of ss_config.json) with the caller's rights, writes the nftables table
# inet kestrunevpn_lock from the addresses it parsed, loads it and saves it in
# /var/lib/kestrunevpn/netlock.nft for the boot unit. Exit status 0 only when the lock is in
# force and saved.
exec "$(dirname "$0")/../kestrunevpn-helper" netlock-block "$@"

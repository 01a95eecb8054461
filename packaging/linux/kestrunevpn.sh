#!/bin/sh
# Starts Kestrune VPN from its program folder, found beside this launcher's own prefix so that
# an unpacked copy starts its own program.
prefix=$(dirname "$(readlink -f "$0")")/../..
exec "$prefix/opt/kestrunevpn/kestrunevpn" "$@"

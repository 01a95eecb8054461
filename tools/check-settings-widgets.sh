#!/usr/bin/env bash
# Checks that the settings page's widgets are touched by the settings page alone
# (window/settingspage.cpp): every other product file reads and writes the options through
# the settings object. The page's widgets are named "setting..." or "stng..." in the form and
# in the code that adds rows to it. Prints every other place that names one and exits
# non-zero when there is one.
set -u
cd "$(dirname "$0")/.."

owner=window/settingspage.cpp
found=$(grep -rnE '\b(setting|stng)[A-Z][A-Za-z0-9_]*' app core api engine system ui control window \
    --include='*.h' --include='*.cpp' | grep -v "^$owner:")
if [ -n "$found" ]; then
    echo "Settings widgets named outside $owner (use the settings object instead):"
    echo "$found"
    exit 1
fi
echo "Settings widgets: only $owner names them."

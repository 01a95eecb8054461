#!/usr/bin/env bash
# Checks that the source folders depend on each other in one direction only:
# system -> core -> engine, api -> ui and control -> window -> app; helper/ (the privileged
# helper) stands beside ui/ and only the helper's main() and the tests include it.
# A file may include headers of its own folder and of the folders below it; engine and api
# stand side by side and include neither each other, and so do ui and control. Prints every include against that
# order and exits non-zero when there is one.
set -u
cd "$(dirname "$0")/.."

declare -A level=([system]=0 [core]=1 [engine]=2 [api]=2 [ui]=3 [control]=3 [helper]=3 [window]=4 [app]=5)
bad=0
for dir in "${!level[@]}"; do
    [ -d "$dir" ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
        [ -n "${level[$target]+x}" ] || continue
        [ "$target" = "$dir" ] && continue
        if [ "${level[$target]}" -ge "${level[$dir]}" ]; then
            echo "$file:$line: $dir/ must not include $target/: $text"
            bad=1
        fi
    done < <(grep -rnE '^\s*#\s*include "[a-z_]+/' "$dir" --include='*.h' --include='*.cpp' --include='*.h.in')
done
[ $bad -eq 0 ] && echo "Layers: every include follows system -> core -> engine, api -> ui and control -> window -> app."
exit $bad

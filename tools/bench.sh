#!/usr/bin/env bash
# Builds every benchmark (bench/<name>/ gives bench_<name>), runs each one and prints one
# table of their figures, each beside its baseline measured in the same run and its aim.
#
#   tools/bench.sh [--save]     --save: also write the table to docs/bench.md
#
# The benchmarks' line format is described in bench/README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
save=false
[ "${1:-}" = "--save" ] && save=true

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" openvpn shadowsocks-libev iproute2

jobs=$(nproc 2>/dev/null || echo 2)
export CCACHE_BASEDIR="$root"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_WERROR=ON "${launcher[@]}" >/dev/null
names=()
for list in bench/*/CMakeLists.txt; do
    names+=("$(basename "$(dirname "$list")")")
done
targets=()
for n in "${names[@]}"; do targets+=(--target "bench_$n"); done
cmake --build "$build" -j"$jobs" "${targets[@]}" >/dev/null

# A private network (its own loopback) when the system allows one: the benchmarks that start
# OpenVPN's stand-in use the fixed management port and must meet nobody else there.
private=()
if unshare -rn ip link set lo up 2>/dev/null; then
    private=(unshare -rn sh -c 'ip link set lo up && exec "$@"' sh)
fi

out=$(mktemp)
talk=$(mktemp)
trap 'rm -f "$out" "$talk"' EXIT
for n in "${names[@]}"; do
    exe=$build/bench/$n/bench_$n
    echo "running bench_$n ..." >&2
    if ! QT_QPA_PLATFORM=offscreen timeout 600 "${private[@]}" "$exe" >"$talk" 2>&1; then
        echo "bench_$n failed:" >&2
        tail -5 "$talk" >&2
    fi
    if grep -q $'^BENCH\t' "$talk"; then
        grep $'^BENCH\t' "$talk" | sed "s/^BENCH\t/$n\t/" >>"$out"
    else
        printf '%s\t(no BENCH lines; last lines below)\t\t\t\t\n' "$n" >>"$out"
        tail -4 "$talk" | sed "s/^/    bench_$n: /" >>"$out.talk"
    fi
done

table() {
    awk -F'\t' -v md="$1" '
    function num(s) { return s + 0 }
    function verdict(v, b, aim,    n, r) {
        if (aim == "-" || aim == "") return "";
        if (aim ~ /^x/) {
            if (b == "-" || num(b) == 0) return "?";
            r = num(v) / num(b); n = aim; sub(/^x(<=|>=)/, "", n);
            if (aim ~ /^x<=/) return r <= num(n) ? "met" : "MISSED";
            return r >= num(n) ? "met" : "MISSED";
        }
        n = aim; sub(/^(<=|<)/, "", n);
        if (aim ~ /^<=/) return num(v) <= num(n) ? "met" : "MISSED";
        return num(v) < num(n) ? "met" : "MISSED";
    }
    {
        # $1 bench, $2 name, $3 value, $4 unit, $5 baseline, $6 aim
        ratio = ($5 != "-" && $5 != "" && num($5) != 0) ? sprintf("%.3gx", num($3) / num($5)) : "";
        base = ($5 == "-" || $5 == "") ? "" : $5 " " $4;
        val = ($3 == "") ? "" : $3 " " $4;
        aim = ($6 == "-") ? "" : $6;
        if (md) printf "| %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, val, base, ratio, aim, verdict($3, $5, $6);
        else printf "%-13s %-52s %12s %12s %7s %7s %s\n", $1, $2, val, base, ratio, aim, verdict($3, $5, $6);
    }' "$out"
}
{
    printf "%-13s %-52s %12s %12s %7s %7s %s\n" bench figure value baseline ratio aim ""
    table ""
    if [ -f "$out.talk" ]; then cat "$out.talk"; fi
}

if $save; then
    {
        echo "# Benchmark figures"
        echo
        echo "Output of \`tools/bench.sh --save\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores" \
            "($(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'))."
        echo "Ratio = value / baseline; the line format and the aims are described in bench/README.md."
        echo
        echo "| bench | figure | value | baseline | ratio | aim | |"
        echo "|---|---|---|---|---|---|---|"
        table 1
        if [ -f "$out.talk" ]; then echo; echo '```'; cat "$out.talk"; echo '```'; fi
    } >docs/bench.md
    echo "written to docs/bench.md" >&2
fi
rm -f "$out.talk"

#!/usr/bin/env bash
# Builds the libFuzzer harnesses in fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (build-fuzz/), and runs every one of them for the given number of
# seconds (default 60), each starting from its seed corpus in fuzz/corpus/<harness>/. Inputs
# the fuzzer finds go to build-fuzz/corpus/, never into the repository. Fails when a harness
# cannot be built or finds a crash; the crashing input is left in build-fuzz/.
#
#   tools/fuzz.sh [seconds]          KESTRUNE_FUZZ_RUNS=n: stop each after n executions instead
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

source tools/packages.sh
kestrune_install_packages "${KESTRUNE_BUILD_PACKAGES[@]}" "${KESTRUNE_FUZZ_PACKAGES[@]}"
command -v clang++ >/dev/null || { echo "clang++ is missing: the fuzz harnesses cannot be built" >&2; exit 1; }

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc 2>/dev/null || echo 2)"

limit=(-max_total_time="$seconds")
[ -n "${KESTRUNE_FUZZ_RUNS:-}" ] && limit=(-runs="$KESTRUNE_FUZZ_RUNS")
status=0
for harness in build-fuzz/fuzz_*; do
    [ -f "$harness" ] && [ -x "$harness" ] || continue
    name=$(basename "$harness")
    work="build-fuzz/corpus/$name"
    mkdir -p "$work" "build-fuzz/crashes/$name"
    echo "== $name"
    # Qt's own lasting allocations are not leaks of the harness.
    if ! ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "$harness" "${limit[@]}" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="build-fuzz/crashes/$name/" -print_final_stats=1 \
        "$work" "fuzz/corpus/$name" 2>"build-fuzz/$name.log"; then
        tail -n 40 "build-fuzz/$name.log" >&2
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$name.log" || true
done
exit $status

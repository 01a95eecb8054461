# Sourced by the suites that build network namespaces of their own: the skip outside CI, the
# root and tool checks, and the "ok"/"not ok" lines whose failures make the exit status.
failures=0

skip_or_fail() {
    if [ "${CI:-}" = true ]; then
        echo "not ok - $1 (required in CI)"
        exit 1
    fi
    echo "skipped: $1"
    exit 77
}

# need_root_and TOOL...: root and every tool, or skip (fail under CI).
need_root_and() {
    [ "$(id -u)" -eq 0 ] || skip_or_fail "network namespaces need root"
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || skip_or_fail "$tool is not installed"
    done
}

check() { # description, command...
    local what=$1
    shift
    if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}

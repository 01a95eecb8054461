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

# make_tls_certificates FOLDER: a CA, and a server and a client certificate signed by it
# (ca.crt, server.crt/.key, client.crt/.key); EC keys, so nothing waits for entropy or
# Diffie-Hellman primes.
make_tls_certificates() {
    (
        cd "$1" || exit 1
        ssl() { openssl "$@" >/dev/null 2>&1; }
        ssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=ca -keyout ca.key -out ca.crt
        for who in server client; do
            ssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "/CN=$who" -keyout "$who.key" -out "$who.csr"
            printf 'keyUsage=digitalSignature,keyAgreement\nextendedKeyUsage=%sAuth\n' "$who" >"$who.ext"
            ssl x509 -req -in "$who.csr" -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 -extfile "$who.ext" -out "$who.crt"
        done
    )
}

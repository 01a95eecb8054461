# Debian packages the project needs; sourced by test.sh and demo.sh.
KESTRUNE_BUILD_PACKAGES=(
    cmake g++ make pkg-config ccache
    qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
    libcpp-httplib-dev libssl-dev libkf5archive-dev
)
KESTRUNE_TEST_PACKAGES=(
    openvpn shadowsocks-libev
    xvfb xauth x11-apps imagemagick
    iproute2 nftables procps openssl
    # the two resolvers of the tunnel DNS test
    dnsmasq-base
    # the network lock asks for an administrator through pkexec when not run as root
    pkexec
    # tools/check-windows.sh compiles the Windows sources
    g++-mingw-w64-x86-64-posix
    # the network watcher's test plays logind on a bus of its own
    dbus-daemon
)
# Building and checking the Debian package (tools/package.sh).
KESTRUNE_PACKAGE_PACKAGES=(
    dpkg-dev fakeroot librsvg2-bin desktop-file-utils appstream lintian
    xvfb xauth imagemagick openvpn shadowsocks-libev nftables pkexec
)
# tools/fuzz.sh: clang with its libFuzzer and sanitizer runtimes.
KESTRUNE_FUZZ_PACKAGES=(
    clang libclang-rt-14-dev llvm
)

# Installs the missing ones with apt-get when running as root (after one apt-get update);
# otherwise names them and stops.
kestrune_install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

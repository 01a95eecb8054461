#include "engine/openvpnoptiontable.h"

#include <cstring>

#include <QHash>
#include <QHostAddress>

namespace {

using Shape = OpenVpnOptionTable::Shape;
using Argument = OpenVpnOptionTable::Argument;

constexpr qint64 Big = 2147483647;

Argument keyword(const char *words)
{
    return {Shape::Keyword, words};
}
Argument number(qint64 min, qint64 max, const char *words = "")
{
    return {Shape::Number, words, min, max};
}
const Argument Name {Shape::Name};
const Argument Address4 {Shape::Address4};
const Argument Address6 {Shape::Address6};
const Argument Cipher {Shape::Cipher};
const Argument Text {Shape::Text};
const Argument Count = number(0, Big);
const Argument Port = number(0, 65535);
const Argument Mtu = number(0, 65535);

const char *const Protocols = "udp|tcp|tcp-client|udp4|udp6|tcp4|tcp6|tcp4-client|tcp6-client";
const char *const Gateway = "def1|local|autolocal|bypass-dhcp|bypass-dns|block-local|ipv6|!ipv4";
const char *const TlsVersions = "1.0|1.1|1.2|1.3";
const char *const DhcpOptions = "DNS|DNS6|WINS|NTP|NBDD|NBS|NBT|NBSCOPE|DOMAIN|DOMAIN-SEARCH|"
                                "ADAPTER_DOMAIN_SUFFIX|DISABLE-NBT";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isAlnum(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool allOf(const QByteArray &word, const char *extra)
{
    for (char c : word) {
        if (!isAlnum(c) && (c == '\0' || !std::strchr(extra, c)))
            return false;
    }
    return true;
}

bool isKeyword(const QByteArray &word, const char *words)
{
    for (const char *at = words; !word.isEmpty() && *at;) {
        const char *end = std::strchr(at, '|');
        const int size = end ? int(end - at) : int(std::strlen(at));
        if (size == word.size() && std::strncmp(at, word.constData(), size_t(size)) == 0)
            return true;
        at += end ? size + 1 : size;
    }
    return false;
}

bool fits(const QByteArray &word, const Argument &argument)
{
    switch (argument.shape) {
    case Shape::Keyword:
        return isKeyword(word, argument.words);
    case Shape::Number: {
        if (isKeyword(word, argument.words))
            return true;
        bool ok = false;
        const qint64 value = word.toLongLong(&ok);
        return ok && word.size() <= 10 && allOf(word, "") && value >= argument.min
            && value <= argument.max;
    }
    case Shape::Name:
        // As the mirror tool's addresses: "::1" is one, a leading '.' or '-' never.
        return !word.isEmpty() && word.size() <= 253 && word.at(0) != '.' && word.at(0) != '-'
            && allOf(word, "-._:");
    case Shape::Network6: {
        // The digits and separators of the address and its length alone: no scope ('%' and
        // an interface of the sender's choosing).
        if (!allOf(word, ":./") || word.size() > 49)
            return false;
        const int slash = word.indexOf('/');
        const QByteArray bits = slash < 0 ? QByteArray("128") : word.mid(slash + 1);
        QHostAddress address;
        return address.setAddress(QString::fromLatin1(slash < 0 ? word : word.left(slash)))
            && address.protocol() == QAbstractSocket::IPv6Protocol && fits(bits, number(0, 128));
    }
    case Shape::Address4:
    case Shape::Address6: {
        if (isKeyword(word, argument.words))
            return true;
        // Only the digits, dots and colons of the addresses themselves, in their usual form.
        const QHostAddress address(QString::fromLatin1(word));
        const bool v4 = argument.shape == Shape::Address4;
        return allOf(word, v4 ? "." : ":.") && word.size() <= 45
            && address.protocol()
            == (v4 ? QAbstractSocket::IPv4Protocol : QAbstractSocket::IPv6Protocol)
            && (!v4 || address.toString().toLatin1() == word);
    }
    case Shape::Cipher:
        return !word.isEmpty() && word.size() <= 250 && isAlnum(word.at(0))
            && allOf(word, "-_.:+@!=");
    case Shape::Text:
        return !word.isEmpty() && word.size() <= 200 && isAlnum(word.at(0))
            && allOf(word, " -_.:,=+@!()*");
    }
    return false;
}

// Inline key material: PEM, base64 and the hexadecimal static keys with their '#' comments.
bool isKeyMaterial(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        if (line.size() > 200 || !allOf(line, " \t-_.:,=+/#"))
            return false;
    }
    return !lines.isEmpty();
}

} // namespace

const QList<OpenVpnOptionTable::Entry> &OpenVpnOptionTable::entries()
{
    static const QList<Entry> table {
        // What the client and its connection are.
        {"client", 0, 0, {}},
        {"pull", 0, 0, {}},
        {"tls-client", 0, 0, {}},
        {"dev", 1, 1, {keyword("ksvpn_tun")}},
        {"dev-type", 1, 1, {keyword("tun|tap")}},
        {"proto", 1, 1, {keyword(Protocols)}, false, true},
        {"remote", 1, 3, {Name, Port, keyword(Protocols)}, false, true},
        {"remote-random", 0, 0, {}},
        {"resolv-retry", 1, 1, {number(0, Big, "infinite")}},
        {"nobind", 0, 0, {}, false, true},
        {"float", 0, 0, {}, false, true},
        {"persist-key", 0, 0, {}},
        {"persist-tun", 0, 0, {}},
        {"persist-remote-ip", 0, 0, {}},
        {"connect-retry", 1, 2, {Count}, false, true},
        {"connect-retry-max", 1, 1, {Count}, false, true},
        {"connect-timeout", 1, 1, {Count}, false, true},
        {"server-poll-timeout", 1, 1, {Count}, false, true},
        {"explicit-exit-notify", 0, 1, {number(0, 10)}, false, true},
        {"auth-user-pass", 0, 0, {}},
        {"auth-nocache", 0, 0, {}},
        {"auth-retry", 1, 1, {keyword("none|nointeract|interact")}},
        // The server's identity and the ciphers.
        {"remote-cert-tls", 1, 1, {keyword("server|client")}},
        {"ns-cert-type", 1, 1, {keyword("server|client")}},
        {"remote-cert-eku", 1, 1, {Text}},
        {"verify-x509-name", 1, 2, {Text, keyword("name|name-prefix|subject")}},
        {"cipher", 1, 1, {Cipher}},
        {"data-ciphers", 1, 1, {Cipher}},
        {"data-ciphers-fallback", 1, 1, {Cipher}},
        {"ncp-ciphers", 1, 1, {Cipher}},
        {"ncp-disable", 0, 0, {}},
        {"auth", 1, 1, {Cipher}},
        {"key-direction", 1, 1, {keyword("0|1")}, false, true},
        {"tls-version-min", 1, 2, {keyword(TlsVersions), keyword("or-highest")}},
        {"tls-version-max", 1, 1, {keyword(TlsVersions)}},
        {"tls-cipher", 1, 1, {Cipher}},
        {"tls-ciphersuites", 1, 1, {Cipher}},
        {"tls-groups", 1, 1, {Cipher}},
        {"ecdh-curve", 1, 1, {Cipher}},
        {"tls-timeout", 1, 1, {Count}},
        {"hand-window", 1, 1, {Count}},
        {"tran-window", 1, 1, {Count}},
        {"reneg-sec", 1, 2, {Count}},
        {"reneg-bytes", 1, 1, {Count}},
        {"reneg-pkts", 1, 1, {Count}},
        {"mute-replay-warnings", 0, 0, {}},
        // Key material, inline only.
        {"ca", 0, 0, {}, true},
        {"cert", 0, 0, {}, true},
        {"key", 0, 0, {}, true},
        {"extra-certs", 0, 0, {}, true},
        {"pkcs12", 0, 0, {}, true},
        {"dh", 0, 0, {}, true},
        {"tls-auth", 0, 0, {}, true},
        {"tls-crypt", 0, 0, {}, true},
        {"tls-crypt-v2", 0, 0, {}, true},
        {"secret", 0, 0, {}, true},
        {"crl-verify", 0, 0, {}, true},
        {"peer-fingerprint", 0, 0, {}, true},
        // Compression.
        {"compress", 0, 1, {keyword("lz4|lz4-v2|lzo|stub|stub-v2|migrate")}},
        {"comp-lzo", 0, 1, {keyword("yes|no|adaptive")}},
        {"allow-compression", 1, 1, {keyword("yes|no|asym")}},
        // Routes and names.
        {"redirect-gateway", 0, 8, {keyword(Gateway)}},
        {"redirect-private", 0, 8, {keyword(Gateway)}},
        {"route", 1, 4, {Name, Name, Name, number(0, Big, "default")}},
        {"route-ipv6", 1, 3, {{Shape::Network6}, Name, Count}},
        {"route-metric", 1, 1, {Count}},
        {"route-delay", 0, 2, {Count}},
        {"route-method", 1, 1, {keyword("adaptive|ipapi|exe")}},
        {"route-nopull", 0, 0, {}},
        {"dhcp-option", 1, 2, {keyword(DhcpOptions), Name}},
        {"block-outside-dns", 0, 0, {}},
        {"register-dns", 0, 0, {}},
        {"ifconfig-nowarn", 0, 0, {}},
        // The tunnel's own addresses, for a point-to-point (static key) configuration.
        {"ifconfig", 2, 2, {Address4}},
        {"ifconfig-ipv6", 2, 2, {{Shape::Network6}, Address6}},
        {"topology", 1, 1, {keyword("net30|p2p|subnet")}},
        {"route-gateway", 1, 1, {{Shape::Address4, "dhcp"}}},
        {"pull-filter", 2, 2, {keyword("accept|ignore|reject"), Text}},
        // Keeping the link alive.
        {"ping", 1, 1, {Count}},
        {"ping-restart", 1, 1, {Count}},
        {"ping-exit", 1, 1, {Count}},
        {"keepalive", 2, 2, {Count}},
        // Logging.
        {"verb", 1, 1, {number(0, 11)}},
        {"mute", 1, 1, {Count}},
        // Packet sizes and buffers.
        {"tun-mtu", 1, 1, {Mtu}, false, true},
        {"tun-mtu-extra", 1, 1, {Mtu}, false, true},
        {"link-mtu", 1, 1, {Mtu}, false, true},
        {"fragment", 1, 2, {Mtu, keyword("mtu")}, false, true},
        {"mssfix", 0, 2, {Mtu, keyword("mtu|fixed")}, false, true},
        {"mtu-disc", 1, 1, {keyword("no|maybe|yes")}, false, true},
        {"mtu-test", 0, 0, {}},
        {"sndbuf", 1, 1, {Count}},
        {"rcvbuf", 1, 1, {Count}},
        // Proxies, never with a file of credentials.
        {"http-proxy",
         2,
         4,
         {Name, Port, keyword("auto|auto-nct"), keyword("none|basic|ntlm|ntlm2|digest")},
         false,
         true},
        {"http-proxy-retry", 0, 0, {}},
        {"socks-proxy", 2, 2, {Name, Port}, false, true},
        {"socks-proxy-retry", 0, 0, {}},
    };
    return table;
}

const OpenVpnOptionTable::Entry *OpenVpnOptionTable::find(const QByteArray &name)
{
    static const QHash<QByteArray, const Entry *> byName = [] {
        QHash<QByteArray, const Entry *> names;
        for (const Entry &entry : entries())
            names.insert(entry.name, &entry);
        return names;
    }();
    return byName.value(name);
}

QString OpenVpnOptionTable::check(const OpenVpnOption &option, bool inConnection)
{
    const QString name = shownName(option.name());
    const Entry *entry = find(option.name());
    if (!entry)
        return QStringLiteral("\"%1\" is not an option this program allows").arg(name);
    if (inConnection && !entry->inConnection)
        return QStringLiteral("\"%1\" is not allowed in a connection block").arg(name);
    if (option.kind == OpenVpnOption::Inline) {
        if (!entry->inlineOnly)
            return QStringLiteral("\"%1\" is not allowed as an inline block").arg(name);
        if (!isKeyMaterial(option.inlineLines))
            return QStringLiteral("the inline block \"%1\" holds more than key material").arg(name);
        return QString();
    }
    if (entry->inlineOnly)
        return QStringLiteral("\"%1\" is allowed as an inline block only").arg(name);
    const int count = option.words.size() - 1;
    if (count < entry->minArguments || count > entry->maxArguments)
        return QStringLiteral("\"%1\" takes %2 to %3 arguments")
            .arg(name)
            .arg(entry->minArguments)
            .arg(entry->maxArguments);
    for (int i = 1; i <= count; ++i) {
        if (!fits(option.words.at(i), entry->arguments.at(qMin(i, entry->arguments.size()) - 1)))
            return QStringLiteral("argument %1 of \"%2\" is not allowed").arg(i).arg(name);
    }
    return QString();
}

QString OpenVpnOptionTable::shownName(const QByteArray &name)
{
    QByteArray out;
    for (char c : name) {
        if (isAlnum(c) || c == '-' || c == '_')
            out.append(c);
        if (out.size() >= 40)
            break;
    }
    return QString::fromLatin1(out);
}

QString OpenVpnOptionTable::describe(const Argument &argument)
{
    switch (argument.shape) {
    case Shape::Keyword:
        return QString::fromLatin1(argument.words);
    case Shape::Number: {
        const QString range = QStringLiteral("%1..%2").arg(argument.min).arg(argument.max);
        return *argument.words ? range + '|' + QLatin1String(argument.words) : range;
    }
    case Shape::Name:
        return QStringLiteral("name");
    case Shape::Network6:
        return QStringLiteral("ipv6[/bits]");
    case Shape::Address4:
        return *argument.words ? QStringLiteral("ipv4|") + QLatin1String(argument.words)
                               : QStringLiteral("ipv4");
    case Shape::Address6:
        return QStringLiteral("ipv6");
    case Shape::Cipher:
        return QStringLiteral("cipher");
    case Shape::Text:
        return QStringLiteral("text");
    }
    return QString();
}

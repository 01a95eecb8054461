#include "helper/tunneldns.h"

#include "helper/hosttext.h"

#include <arpa/inet.h>
#include <cstring>

#include <QRegularExpression>

namespace {

// OpenVPN's own separators between the words of an option.
const QRegularExpression Blanks(QStringLiteral("[ \\t\\r]+"));

QStringList wordsOf(const QString &line)
{
    return line.trimmed().split(Blanks, Qt::SkipEmptyParts);
}

} // namespace

bool TunnelDns::isHostName(const QString &text)
{
    // A domain may be written fully qualified, with its final dot.
    return HostText::isHostName(text.endsWith(QLatin1Char('.')) ? text.chopped(1) : text);
}

void TunnelDns::take(const QStringList &words, const QString &origin)
{
    if (words.size() < 2 || words.at(0) != QLatin1String("dhcp-option"))
        return; // not about names (routes, other options): not ours to judge
    const QString kind = words.at(1).toUpper();
    const bool server = kind == QLatin1String("DNS") || kind == QLatin1String("DNS6");
    const bool domain = kind == QLatin1String("DOMAIN") || kind == QLatin1String("DOMAIN-SEARCH");
    if (!server && !domain)
        return; // WINS, NTP and the like mean nothing to the resolver
    const QString value = words.value(2);
    const QString entry = origin + QStringLiteral(": ") + words.join(QLatin1Char(' '));
    if (words.size() != 3) {
        skipped << entry + QStringLiteral(" (one value expected)");
    } else if (server) {
        const QString address = HostText::canonicalAddress(value);
        if (address.isEmpty())
            skipped << entry + QStringLiteral(" (not an IP address)");
        else if (servers.size() >= MaxServers && !servers.contains(address))
            skipped << entry + QStringLiteral(" (more than %1 servers)").arg(MaxServers);
        else if (!servers.contains(address))
            servers << address;
    } else if (!isHostName(value)) {
        skipped << entry + QStringLiteral(" (not a host name)");
    } else if (domains.size() >= MaxDomains && !domains.contains(value.toLower())) {
        skipped << entry + QStringLiteral(" (more than %1 domains)").arg(MaxDomains);
    } else if (!domains.contains(value.toLower())) {
        domains << value.toLower();
    }
}

TunnelDns TunnelDns::fromEnvironment(const QMap<QString, QString> &environment)
{
    static const QRegularExpression Name(
        QRegularExpression::anchoredPattern(QStringLiteral("foreign_option_([1-9][0-9]{0,3})")));
    QMap<int, QString> options; // in OpenVPN's order, whatever the order of the environment
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        const QRegularExpressionMatch match = Name.match(it.key());
        if (match.hasMatch())
            options.insert(match.captured(1).toInt(), it.value());
    }
    TunnelDns dns;
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        dns.take(wordsOf(it.value()), QStringLiteral("foreign_option_%1").arg(it.key()));
    return dns;
}

TunnelDns TunnelDns::fromConfig(const QByteArray &config)
{
    TunnelDns dns;
    const QList<QByteArray> lines = config.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringList words = wordsOf(QString::fromLatin1(lines.at(i)));
        if (!words.isEmpty() && words.first().startsWith(QLatin1String("--")))
            words.first().remove(0, 2);
        dns.take(words, QStringLiteral("line %1").arg(i + 1));
    }
    return dns;
}

namespace {

struct Network6
{
    unsigned char bytes[16];
    int bits;
};

bool bitOf(const unsigned char *bytes, int bit)
{
    return bytes[bit / 8] & (0x80 >> (bit % 8));
}

bool contains(const Network6 &route, const unsigned char *address, int bits)
{
    if (route.bits > bits)
        return false;
    for (int bit = 0; bit < route.bits; ++bit) {
        if (bitOf(route.bytes, bit) != bitOf(address, bit))
            return false;
    }
    return true;
}

// Whether the routes together take every address of address/bits, a route at most a few bits
// narrower than it ("2000::/4" and "3000::/4" together take "2000::/3").
bool covered(const QList<Network6> &routes, const unsigned char *address, int bits)
{
    for (const Network6 &route : routes) {
        if (contains(route, address, bits))
            return true;
    }
    if (bits >= 8)
        return false;
    unsigned char upper[16];
    std::memcpy(upper, address, sizeof upper);
    upper[bits / 8] |= (0x80 >> (bits % 8));
    return covered(routes, address, bits + 1) && covered(routes, upper, bits + 1);
}

} // namespace

bool TunnelDns::carriesIpv6(const QMap<QString, QString> &environment)
{
    if (HostText::canonicalAddress(environment.value(QStringLiteral("ifconfig_ipv6_local")))
            .isEmpty())
        return false;
    // OpenVPN lists every IPv6 route of the tunnel as route_ipv6_network_N, "redirect-gateway
    // ipv6" among them as ::/3, 2000::/4, 3000::/4 and fc00::/7.
    static const QRegularExpression Name(
        QRegularExpression::anchoredPattern(QStringLiteral("route_ipv6_network_[1-9][0-9]{0,3}")));
    QList<Network6> routes;
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        const QStringList parts = it.value().split(QLatin1Char('/'));
        Network6 route {};
        bool numeric = false;
        route.bits = parts.value(1, QStringLiteral("128")).toInt(&numeric);
        if (Name.match(it.key()).hasMatch() && parts.size() <= 2 && numeric && route.bits >= 0
            && route.bits <= 128
            && ::inet_pton(AF_INET6, parts.first().toLatin1().constData(), route.bytes) == 1)
            routes << route;
    }
    // Carried when its default route goes into the tunnel: all of the global unicast space.
    const unsigned char global[16] = {0x20};
    return covered(routes, global, 3);
}

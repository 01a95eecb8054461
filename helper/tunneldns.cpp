#include "helper/tunneldns.h"

#include "helper/hosttext.h"

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

bool TunnelDns::carriesIpv6(const QMap<QString, QString> &environment)
{
    return !HostText::canonicalAddress(environment.value(QStringLiteral("ifconfig_ipv6_local")))
                .isEmpty();
}

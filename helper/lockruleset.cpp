#include "helper/lockruleset.h"

#include "helper/hosttext.h"

#include <QRegularExpression>

namespace {

void sortUnique(QStringList &list)
{
    list.sort();
    list.removeDuplicates();
}

} // namespace

bool LockRuleset::isHostName(const QString &text)
{
    // A last label of digits only is a mistyped address, which a resolver would read as one.
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    return HostText::isHostName(text)
        && !digits.match(text.section(QLatin1Char('.'), -1)).hasMatch();
}

LockRuleset::Addresses LockRuleset::vet(const QStringList &candidates)
{
    Addresses result;
    for (const QString &candidate : candidates) {
        QString host = candidate.trimmed();
        if (host.isEmpty())
            continue;
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        const QString address = HostText::canonicalAddress(host);
        if (!address.isEmpty())
            (address.contains(QLatin1Char(':')) ? result.v6 : result.v4) << address;
        else if (isHostName(host))
            result.names << host.toLower();
        else
            result.skipped << candidate.left(80);
    }
    result.names.removeDuplicates();
    result.namesLeftOut = qMax(0, result.names.size() - MaxNames);
    result.names = result.names.mid(0, MaxNames);
    sortUnique(result.v4);
    sortUnique(result.v6);
    sortUnique(result.names);
    return result;
}

QByteArray LockRuleset::render(const QStringList &v4, const QStringList &v6)
{
    const auto elements = [](const QStringList &list) {
        return list.isEmpty()
            ? QString()
            : QStringLiteral(" elements = { %1 };").arg(list.join(QStringLiteral(", ")));
    };
    const QString table = QLatin1String(Table);
    const QString tunnel = QLatin1String(Tunnel);
    return QStringLiteral(
               "# Kestrune VPN network lock, written by kestrunevpn-helper.\n"
               "table inet %1\n"
               "delete table inet %1\n"
               "table inet %1 {\n"
               "\tset allowed_v4 { type ipv4_addr;%3 }\n"
               "\tset allowed_v6 { type ipv6_addr;%4 }\n"
               "\n"
               "\tchain output {\n"
               "\t\ttype filter hook output priority filter; policy drop;\n"
               "\t\toifname \"lo\" accept\n"
               "\t\toifname \"%2\" accept\n"
               "\t\tudp sport 68 udp dport 67 accept\n"
               "\t\tudp sport 546 udp dport 547 accept\n"
               "\t\ticmpv6 type { nd-router-solicit, nd-neighbor-solicit, nd-neighbor-advert, "
               "mld-listener-report, mld2-listener-report } accept\n"
               // Names are asked through the tunnel only, even of an allowed host.
               "\t\tmeta l4proto { tcp, udp } th dport { 53, 853 } counter drop\n"
               "\t\tip daddr @allowed_v4 accept\n"
               "\t\tip6 daddr @allowed_v6 accept\n"
               "\t\tcounter drop\n"
               "\t}\n"
               "\n"
               "\tchain input {\n"
               "\t\ttype filter hook input priority filter; policy drop;\n"
               "\t\tiifname \"lo\" accept\n"
               "\t\tiifname \"%2\" accept\n"
               "\t\tudp sport 67 udp dport 68 accept\n"
               "\t\tudp sport 547 udp dport 546 accept\n"
               "\t\ticmpv6 type { nd-router-advert, nd-neighbor-solicit, nd-neighbor-advert, "
               "nd-redirect, mld-listener-query } accept\n"
               "\t\tip saddr @allowed_v4 accept\n"
               "\t\tip6 saddr @allowed_v6 accept\n"
               "\t\tcounter drop\n"
               "\t}\n"
               "\n"
               "\tchain forward {\n"
               "\t\ttype filter hook forward priority filter; policy drop;\n"
               "\t\tiifname \"%2\" accept\n"
               "\t\toifname \"%2\" accept\n"
               "\t\tcounter drop\n"
               "\t}\n"
               "}\n")
        .arg(table, tunnel, elements(v4), elements(v6))
        .toLatin1();
}

QByteArray LockRuleset::removal()
{
    return QStringLiteral("table inet %1\ndelete table inet %1\n")
        .arg(QLatin1String(Table))
        .toLatin1();
}

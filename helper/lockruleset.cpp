#include "helper/lockruleset.h"

#include <arpa/inet.h>

#include <QRegularExpression>

namespace {

QString canonical(int family, const QString &text)
{
    unsigned char binary[16];
    char written[INET6_ADDRSTRLEN];
    const QByteArray latin = text.toLatin1();
    // inet_pton reads up to the first NUL; whatever follows it must not ride along unseen.
    if (text.size() > 45 || latin.contains('\0') || QString::fromLatin1(latin) != text
        || ::inet_pton(family, latin.constData(), binary) != 1
        || !::inet_ntop(family, binary, written, sizeof written))
        return QString();
    return QString::fromLatin1(written);
}

void sortUnique(QStringList &list)
{
    list.sort();
    list.removeDuplicates();
}

} // namespace

bool LockRuleset::isHostName(const QString &text)
{
    // Anchored at the very end: '$' alone would also match before a final line end.
    static const QRegularExpression label(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?")));
    if (text.isEmpty() || text.size() > 253)
        return false;
    const QStringList labels = text.split(QLatin1Char('.'));
    for (const QString &part : labels) {
        if (!label.match(part).hasMatch())
            return false;
    }
    // A last label of digits only is a mistyped address, which a resolver would read as one.
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    return !digits.match(labels.last()).hasMatch();
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
        const QString v4 = canonical(AF_INET, host);
        const QString v6 = v4.isEmpty() ? canonical(AF_INET6, host) : QString();
        if (!v4.isEmpty())
            result.v4 << v4;
        else if (!v6.isEmpty())
            result.v6 << v6;
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

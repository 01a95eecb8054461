#include "helper/ipv6block.h"

const QString Ipv6Block::Table = QStringLiteral("kestrunevpn_v6");

QByteArray Ipv6Block::ruleset(const QString &tunnelDevice)
{
    const QString allowed = QStringLiteral("{ \"lo\", \"%1\" }").arg(tunnelDevice);
    return QStringLiteral(
               "table inet %1\n"
               "delete table inet %1\n"
               "table inet %1 {\n"
               "\tchain output {\n"
               "\t\ttype filter hook output priority filter - 1; policy accept;\n"
               "\t\tmeta nfproto != ipv6 accept\n"
               "\t\toifname %2 accept\n"
               "\t\ticmpv6 type { nd-router-solicit, nd-neighbor-solicit, nd-neighbor-advert, "
               "mld-listener-report, mld2-listener-report } accept\n"
               "\t\tudp sport 546 udp dport 547 accept\n"
               "\t\tcounter drop\n"
               "\t}\n"
               "\tchain input {\n"
               "\t\ttype filter hook input priority filter - 1; policy accept;\n"
               "\t\tmeta nfproto != ipv6 accept\n"
               "\t\tiifname %2 accept\n"
               "\t\ticmpv6 type { nd-router-advert, nd-neighbor-solicit, nd-neighbor-advert, "
               "nd-redirect, mld-listener-query } accept\n"
               "\t\tudp sport 547 udp dport 546 accept\n"
               "\t\tcounter drop\n"
               "\t}\n"
               "}\n")
        .arg(Table, allowed)
        .toLatin1();
}

QByteArray Ipv6Block::removal()
{
    return QStringLiteral("table inet %1\ndelete table inet %1\n").arg(Table).toLatin1();
}

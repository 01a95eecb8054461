#include "helper/dnscommands.h"

namespace {

const QString Record = QStringLiteral("tun.kestrunevpn");

} // namespace

DnsCommands::Manager DnsCommands::manager(const QString &resolvConfTarget, bool resolvedRunning,
                                          bool resolvconfInstalled)
{
    if (resolvedRunning && resolvConfTarget.startsWith(QLatin1String("/run/systemd/resolve/")))
        return Resolved;
    if (resolvconfInstalled && resolvConfTarget.startsWith(QLatin1String("/run/resolvconf/")))
        return Resolvconf;
    return ResolvConf;
}

QList<QStringList> DnsCommands::resolvedUp(const QString &device, const TunnelDns &dns)
{
    QStringList domains {QStringLiteral("~.")};
    domains += dns.domains;
    return {QStringList {QStringLiteral("dns"), device} + dns.servers,
            QStringList {QStringLiteral("domain"), device} + domains,
            {QStringLiteral("default-route"), device, QStringLiteral("yes")}};
}

QStringList DnsCommands::resolvedDown(const QString &device)
{
    return {QStringLiteral("revert"), device};
}

QStringList DnsCommands::resolvconfUp()
{
    return {QStringLiteral("-a"), Record};
}

QStringList DnsCommands::resolvconfDown()
{
    return {QStringLiteral("-d"), Record};
}

#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The name servers and domains of one tunnel, from OpenVPN's script environment (every
// "dhcp-option" of the configuration and of the server's push reply reaches the up script as
// foreign_option_N) or from the configuration's own dhcp-option lines. Nothing of it is
// trusted: addresses are parsed with inet_pton and written anew, domains must be host names,
// and each entry that is neither is skipped and named in skipped.
class TunnelDns
{
public:
    static constexpr int MaxServers = 8;
    static constexpr int MaxDomains = 8;

    QStringList servers; // IPv4 and IPv6 addresses in their canonical text
    QStringList domains; // search domains, DOMAIN before DOMAIN-SEARCH in the order given
    QStringList skipped; // one line for each entry that was not taken, with the reason

    static TunnelDns fromEnvironment(const QMap<QString, QString> &environment);
    static TunnelDns fromConfig(const QByteArray &config);

    // Whether the tunnel carries IPv6: an address of its own (ifconfig-ipv6, pushed or not)
    // and the IPv6 default route, which an address alone does not bring.
    static bool carriesIpv6(const QMap<QString, QString> &environment);

    // A search domain: a host name, also with its final dot.
    static bool isHostName(const QString &text);

    bool isEmpty() const { return servers.isEmpty(); }

private:
    // One option as words: "dhcp-option", a kind, a value.
    void take(const QStringList &words, const QString &origin);
};

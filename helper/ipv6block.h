#pragma once

#include <QByteArray>
#include <QString>

// While a tunnel that carries no IPv6 is up, IPv6 would go around it: this table of its own
// (apart from the network lock, so it holds whether the lock is on or off) drops IPv6 on
// every interface but loopback and the tunnel, keeping neighbour discovery and DHCPv6 so that
// the link stays usable once the tunnel is gone. Both texts are single nft transactions.
class Ipv6Block
{
public:
    static const QString Table; // inet kestrunevpn_v6

    static QByteArray ruleset(const QString &tunnelDevice);
    static QByteArray removal();
};

#pragma once

#include <QByteArray>
#include <QStringList>

// The nftables text of the network lock, written from addresses that were parsed, never from
// the text they came in: a candidate is an IPv4 or IPv6 address (inet_pton, written back in
// its canonical form), a host name (to be resolved), or skipped and named.
class LockRuleset
{
public:
    static constexpr const char *Table = "kestrunevpn_lock";
    // The tunnel device the client gives OpenVPN ("dev ksvpn_tun").
    static constexpr const char *Tunnel = "ksvpn_tun";

    struct Addresses
    {
        QStringList v4;
        QStringList v6;
        QStringList names;
        QStringList skipped;
        int namesLeftOut = 0; // host names past MaxNames, which are not looked up
    };

    // At most this many host names are looked up for one lock; a list from the service is
    // read, never trusted to be short.
    static constexpr int MaxNames = 256;

    // Sorted and without repeats; blank candidates are left out silently. Of the host names,
    // the first MaxNames in the candidates' order are kept.
    static Addresses vet(const QStringList &candidates);
    static bool isHostName(const QString &text);

    // The whole table, replacing any earlier state of it in one `nft -f` transaction. The
    // last rule of each chain counts what the lock drops.
    static QByteArray render(const QStringList &v4, const QStringList &v6);
    // Removes the table whatever state it is in (absent, complete, or changed by hand).
    static QByteArray removal();
};

#pragma once

#include "helper/helpercontext.h"

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>

// Checks that the network lock in force does what it promises, and prints one line a check
// on standard output, "<letter> PASS|FAIL <detail>":
//   a  table inet kestrunevpn_lock is loaded and equals the table the lock would build now
//      from the same temp folder (built in a private network namespace and compared there);
//   b  from every interface but loopback and the tunnel, UDP to the resolvers' port 53, UDP
//      53 and TCP 443 to documentation addresses the lock does not allow and an ICMP echo
//      are refused by the lock;
//   c  the packets the lock's final drop rules have counted since it was switched on;
//   d  loopback works, and the first VPN server of the temp folder is let through.
// Exit status 0 when every check passed, 1 otherwise.
class NetLockSelfTest
{
public:
    explicit NetLockSelfTest(const HelperContext &context)
        : m_context(context)
    { }

    int run(const QString &tempFolder);

    // Differences between a listed table and the expected one (both `nft -j` output), in
    // words; addresses present beyond the expected ones (names resolved when the lock was
    // switched on) go to `extra`, not to the differences.
    static QStringList compareTables(const QByteArray &live, const QByteArray &expected,
                                     QStringList *extra);
    // The rules in one `nft list` text and not in the other, as nft writes them ("added: udp
    // dport 53 accept"); sets and counter values are left out.
    static QStringList ruleDifferences(const QByteArray &live, const QByteArray &expected);
    // The packets counted by the drop rules of a listed table; -1 when it has none.
    static qint64 droppedPackets(const QByteArray &live);
    // The "nameserver" addresses of a resolv.conf.
    static QStringList resolvers(const QByteArray &resolvConf);
    // One IPv4 and one IPv6 documentation address outside `allowed`, to probe the lock with.
    static QStringList probeTargets(const QStringList &allowed);

private:
    QByteArray nft(const QStringList &arguments, const QByteArray &input, bool *ok) const;
    // The lock's table as `nft list` (or `nft -j list`) writes it.
    QByteArray listTable(bool json, bool *ok) const;
    // The table as the lock would build it now: its `nft -j` listing, then its text listing.
    QPair<QByteArray, QByteArray> expectedTable(const QStringList &v4, const QStringList &v6,
                                                bool *ok) const;
    QString probeInterfaces(const QStringList &allowed, bool *passed) const;
    QString checkAllowed(const QString &server, quint16 port, const QByteArray &live,
                         bool *passed) const;

    HelperContext m_context;
    QString m_nft;
};

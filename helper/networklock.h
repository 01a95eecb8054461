#pragma once

#include "helper/helpercontext.h"

#include <QByteArray>
#include <QStringList>

// The network lock on Linux: one nftables table of the program's own, loaded in one `nft -f`
// transaction and saved for the boot unit (kestrunevpn-netlock.service), which loads the
// saved file again before any network comes up. Exit statuses: 0 when the lock is in the
// state asked for (and saved, or its saved file gone), 1 when it is not (the reason on
// standard error, the machine left as it was).
class NetworkLock
{
public:
    explicit NetworkLock(const HelperContext &context)
        : m_context(context)
    { }

    // Outside the tunnel only loopback, DHCP, IPv6 neighbour discovery and the hosts of the
    // temp folder (hostsIn) stay open.
    int block(const QString &tempFolder);
    int unblock();
    // Removes every part of the lock from any state and checks that nothing is left.
    int emergency();

    // The hosts the lock lets through, from the caller's files in `tempFolder`:
    // netlock_allow.txt (one a line), the "remote" servers of openvpn_config.ovpn and the
    // "server" of ss_config.json. What could not be read goes to `problems`, a line each.
    static QStringList hostsIn(const HelperContext &context, const QString &tempFolder,
                               QStringList *problems);
    // The servers of the "remote" options (also inside <connection> blocks).
    static QStringList remoteHosts(const QByteArray &config);
    // The "server" member of a mirror configuration: a string or an array of strings.
    static QStringList mirrorServers(const QByteArray &json, bool *found);

private:
    bool runNft(const QStringList &arguments, const QByteArray &input = QByteArray(),
                bool quiet = false) const;
    bool tablePresent() const;
    int fail(const QString &reason) const;

    HelperContext m_context;
    QString m_nft;
};

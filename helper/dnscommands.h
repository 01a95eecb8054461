#pragma once

#include "helper/tunneldns.h"

#include <QList>
#include <QString>
#include <QStringList>

// Who answers the system's name lookups, and the command lines that give it the tunnel's
// servers and take them back. Pure functions: the helper runs them, the tests read them.
class DnsCommands
{
public:
    enum Manager {
        ResolvConf, // /etc/resolv.conf is a file of its own: it is written directly
        Resolved, // systemd-resolved's stub: the tunnel's link gets the servers
        Resolvconf, // the resolvconf program assembles the file from records
    };

    // resolvConfTarget is /etc/resolv.conf with every link followed (empty when missing);
    // resolvedRunning: systemd-resolved's runtime folder is there.
    static Manager manager(const QString &resolvConfTarget, bool resolvedRunning,
                           bool resolvconfInstalled);

    // resolvectl calls: the servers, the routing domain "~." so that every question goes to
    // the tunnel, the search domains, and the link as the default route for lookups.
    static QList<QStringList> resolvedUp(const QString &device, const TunnelDns &dns);
    static QStringList resolvedDown(const QString &device);

    // resolvconf calls; the record's content goes to standard input. The record is named as
    // a tunnel, so resolvconf puts it before the records of the ordinary links.
    static QStringList resolvconfUp();
    static QStringList resolvconfDown();
};

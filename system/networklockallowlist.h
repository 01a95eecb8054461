#pragma once

#include <QString>
#include <QStringList>

// What the network lock lets through besides the tunnel: the service's own hosts and the
// servers of the account, written by the client into the temp folder before the block script
// runs (the script's only argument is that folder). One host name or address a line.
namespace NetworkLockAllowList {

constexpr const char *FileName = "netlock_allow.txt";

// The hosts of `addresses` (URLs or bare hosts and addresses), in order, without duplicates;
// anything that is not a plain host name or address is left out.
QStringList hostsOf(const QStringList &addresses);

// Writes the hosts to FileName in tempDir, replacing what was there.
bool write(const QString &tempDir, const QStringList &hosts);

} // namespace NetworkLockAllowList

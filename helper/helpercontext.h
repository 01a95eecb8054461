#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>

// Who called the helper and where it keeps its files. pkexec clears the environment and sets
// PKEXEC_UID; nothing else the environment says is trusted, except the test folders below,
// and those only for a caller that already runs as root without pkexec.
class HelperContext
{
public:
    uid_t caller = 0;
    gid_t callerGroup = 0;
    QString programFolder; // the folder of the helper's own executable
    QString runFolder; // the callers' folders, one per uid, and root's copies below private/
    QString lockStateFolder;
    // The test folders above, as "NAME=VALUE", when they were taken from the environment:
    // OpenVPN hands them on to its hooks, so that those use the same folders.
    QStringList overrides;

    static HelperContext fromProcess();

    // Root-only: the copies of one caller's configuration and password, and the pid file.
    QString privateFolder(uid_t uid) const
    {
        return runFolder + QStringLiteral("/private/") + QString::number(uid);
    }
    QString privateFolder() const { return privateFolder(caller); }
    // The caller's own folder, which only the caller enters: OpenVPN's management socket.
    QString callerFolder() const { return runFolder + QLatin1Char('/') + QString::number(caller); }
    QString lockState() const { return lockStateFolder + QStringLiteral("/netlock.nft"); }

    // "kestrunevpn-helper: TEXT" on standard error, control characters shown as '?'.
    static void report(const QString &text);
};

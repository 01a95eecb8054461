#pragma once

#include "engine/openvpnconfigtext.h"
#include "helper/helpercontext.h"

#include <QString>

// OpenVPN run as root for a caller who is not: the caller's configuration is read with the
// caller's rights, rewritten by the configuration reader (an option outside the table refuses
// the whole file), and only the rewritten text, with a copy of the management password, goes
// to the caller's root-only private folder, from where the program folder's OpenVPN reads it.
// Refused input exits with 2 and the reason on standard error; nothing is created before
// everything was read and accepted.
class OpenVpnLauncher
{
public:
    static constexpr int ManagementPort = 7505;

    explicit OpenVpnLauncher(const HelperContext &context)
        : m_context(context)
    { }

    // The text start() would hand OpenVPN on standard output.
    int checkConfig(const QString &config) const;
    // Replaces this process with OpenVPN; returns only when it cannot.
    int start(const QString &config, const QString &host, const QString &passwordFile) const;
    // Ends the OpenVPN started for this caller: SIGTERM, and SIGKILL when it does not end.
    int stop() const;

    // The first line of the password file when it is a password the client could have made.
    static QByteArray vetPassword(const QByteArray &file);

private:
    OpenVpnConfigText::Result canonical(const QString &config) const;
    bool isOurOpenVpn(qint64 pid) const;
    // The process id in the pid file: 0 when there is none, -1 when it holds no id.
    qint64 recordedPid() const;
    QString pidFile() const { return m_context.privateFolder() + QStringLiteral("/openvpn.pid"); }
    QString canonicalPath() const
    {
        return m_context.privateFolder() + QStringLiteral("/openvpn.ovpn");
    }

    HelperContext m_context;
};

#pragma once

#include "engine/openvpnconfigtext.h"
#include "helper/helpercontext.h"

#include <QString>

// OpenVPN run as root for a caller who is not: the caller's configuration is read with the
// caller's rights, rewritten by the configuration reader (an option outside the table refuses
// the whole file), and only the rewritten text, with a copy of the management password, goes
// to the caller's root-only private folder, from where the program folder's OpenVPN reads it.
// Its management interface is a Unix socket in the caller's own folder, which only the caller
// enters, and OpenVPN itself takes no other user there. One tunnel runs at a time: the tunnel
// device, the system's DNS and the IPv6 block are the machine's, not a user's.
// Refused input exits with 2 and the reason on standard error; nothing is created before
// everything was read and accepted.
class OpenVpnLauncher
{
public:
    // Bounds of the root OpenVPN (and of its hooks), far above what it uses: about 1 MB of
    // data and 7 open files while it connects. Beyond them an allocation fails and OpenVPN
    // ends with "Out of Memory" (exit 1) rather than the machine running out; a file it cannot
    // open is an error it logs.
    static constexpr quint64 DataBytes = quint64(128) << 20;
#if defined(__SANITIZE_ADDRESS__)
    // A build with AddressSanitizer (the tests' second build) is also OpenVPN's hook, and its
    // runtime reserves terabytes of shadow memory, which the data bound refuses: there the
    // bound is left to the ordinary build, whose tests check it.
    static constexpr bool BoundsData = false;
#else
    static constexpr bool BoundsData = true;
#endif
    static constexpr quint64 OpenFiles = 64;
    static constexpr const char *SocketName = "management.sock";

    explicit OpenVpnLauncher(const HelperContext &context)
        : m_context(context)
    { }

    // The text start() would hand OpenVPN on standard output.
    int checkConfig(const QString &config) const;
    // Replaces this process with OpenVPN; returns only when it cannot.
    int start(const QString &config, const QString &passwordFile) const;
    // Ends the OpenVPN started for this caller: SIGTERM, and SIGKILL when it does not end.
    int stop() const;
    // Takes back what a tunnel left behind, unless one still runs (at boot: none does).
    int restore() const;

    // The first line of the password file when it is a password the client could have made.
    static QByteArray vetPassword(const QByteArray &file);

private:
    struct Tunnel
    {
        qint64 pid = 0; // 0: none runs
        uid_t user = 0;
    };

    OpenVpnConfigText::Result canonical(const QString &config) const;
    bool isOurOpenVpn(qint64 pid, uid_t user) const;
    // The process id in the pid file: 0 when there is none, -1 when it holds no id.
    qint64 recordedPid(uid_t user) const;
    // The OpenVPN of `user`, when one runs.
    qint64 runningPid(uid_t user) const;
    // A running OpenVPN of a user other than the caller.
    Tunnel othersTunnel() const;
    QString pidFile(uid_t user) const
    {
        return m_context.privateFolder(user) + QStringLiteral("/openvpn.pid");
    }
    QString pidFile() const
    {
        return pidFile(m_context.caller);
    }
    QString canonicalPath(uid_t user) const
    {
        return m_context.privateFolder(user) + QStringLiteral("/openvpn.ovpn");
    }
    QString canonicalPath() const
    {
        return canonicalPath(m_context.caller);
    }

    HelperContext m_context;
};

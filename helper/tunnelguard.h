#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// What the helper does around a tunnel while OpenVPN runs it: at "up", the tunnel's name
// servers become the system's (through systemd-resolved, resolvconf or /etc/resolv.conf,
// whichever answers the lookups here) and, when the tunnel carries no IPv6, IPv6 outside the
// tunnel is blocked; at "down", at the next start after a crash, or at boot, all of it is
// taken back. A step that fails is taken back at once, so the system keeps a resolver.
class TunnelGuard
{
public:
    struct Places
    {
        QString resolvConf = QStringLiteral("/etc/resolv.conf");
        QString stateFolder = QStringLiteral("/var/lib/kestrunevpn");
        QString resolvedRuntime = QStringLiteral("/run/systemd/resolve");
        QString resolvectl = QStringLiteral("/usr/bin/resolvectl");
        QString resolvconf = QStringLiteral("/sbin/resolvconf");
        QString nft = QStringLiteral("/usr/sbin/nft");
    };
    static const QString Device;

    TunnelGuard(); // the system's own places
    explicit TunnelGuard(const Places &places);

    // environment: OpenVPN's up-script environment. Every event is a line in log; false when
    // a step failed (what was done is taken back).
    bool up(const QMap<QString, QString> &environment, QStringList *log);
    bool down(QStringList *log);

private:
    bool applyDns(const QMap<QString, QString> &environment, QStringList *log);
    bool run(const QString &program, const QStringList &arguments, const QByteArray &input,
             QString *error) const;
    bool mark(const QString &name, QStringList *log) const;
    bool marked(const QString &name) const;
    void unmark(const QString &name) const;
    // Drops the mark `name` when `program`, which alone could take it back, is missing, and
    // says so; false when the program is there.
    bool forget(const QString &name, const QString &program, QStringList *log) const;

    Places m_places;
};

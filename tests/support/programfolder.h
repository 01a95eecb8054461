#pragma once

#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

// A program folder of the suite's own (ovpn/, shadowsocks/, …) holding its own copies of the
// programs it starts. Matching processes by executable then finds only this suite's
// processes, never another suite's running beside it.
class ProgramFolder
{
public:
    ProgramFolder() = default;
    ~ProgramFolder() { killAll(); }
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    QString path() const { return m_dir.path(); }
    // The OpenVPN stand-in as ovpn/openvpn, saying `version` (the stand-in reads it from
    // ovpn/standin-version; "silent" says nothing). Returns the copy's path, empty on failure.
    QString installStandIn(const QString &version = QStringLiteral("2.4.9"));
    // Debian's OpenVPN as ovpn/openvpn, and ss-local as shadowsocks/ss-local; empty when the
    // program is not installed.
    QString installOpenVpn() { return installFound("openvpn", "ovpn/openvpn"); }
    QString installSsLocal() { return installFound("ss-local", "shadowsocks/ss-local"); }
    // The built privileged helper as kestrunevpn-helper (beside the client, as installed).
    QString installHelper();
    // Any program copied to relativePath, executable; empty on failure.
    QString installCopy(const QString &source, const QString &relativePath);

    // Live processes whose executable is exactly the copy at relativePath.
    QList<qint64> running(const QString &relativePath) const;
    // Ends every process of every copy installed here and waits, within a bound, for them.
    void killAll();

private:
    QString installFound(const char *name, const char *relativePath)
    {
        const QStringList where {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")};
        return installCopy(QStandardPaths::findExecutable(QLatin1String(name), where),
                           QLatin1String(relativePath));
    }
    QTemporaryDir m_dir;
    QStringList m_installed;
};

#pragma once

#include <QList>
#include <QString>
#include <QTemporaryDir>

// A program folder of the suite's own (ovpn/, shadowsocks/, …) holding its own copies of the
// programs it starts. Matching processes by executable then finds only this suite's
// processes, never another suite's running beside it.
class ProgramFolder
{
public:
    ProgramFolder() = default;
    ~ProgramFolder(); // ends whatever still runs from here
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    QString path() const { return m_dir.path(); }
    // The OpenVPN stand-in as ovpn/openvpn, saying `version` (written to ovpn/standin-version,
    // which the stand-in reads; "silent" says nothing). Returns the copy's path.
    QString installStandIn(const QString &version = QStringLiteral("2.4.9"));
    // Debian's OpenVPN as ovpn/openvpn; empty when it is not installed.
    QString installOpenVpn();
    // shadowsocks-libev's ss-local as shadowsocks/ss-local; empty when it is not installed.
    QString installSsLocal();
    // Any program copied to relativePath, executable; empty on failure.
    QString installCopy(const QString &source, const QString &relativePath);

    // Live processes whose executable is exactly the copy at relativePath.
    QList<qint64> running(const QString &relativePath) const;
    // Ends every process of every copy installed here and waits, within a bound, for them.
    void killAll();

private:
    QTemporaryDir m_dir;
    QStringList m_installed;
};

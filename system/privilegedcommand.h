#pragma once

#include <QString>
#include <QStringList>

// A program and its arguments for a step that needs the administrator: starting and ending
// OpenVPN. A client that is not root runs them through pkexec and the program folder's helper
// "kestrunevpn-helper", which polkit allows in fixed shapes only; a client that is root
// (or a program folder without the helper, as in a build folder with the OpenVPN stand-in)
// runs OpenVPN directly. Built as pure functions so that every shape is tested.
class PrivilegedCommand
{
public:
    QString program;
    QStringList arguments;

    // The helper below the program folder.
    static QString helperPath(const QString &programFolder);

    // OpenVPN with the configuration, the management interface on host:port and the file
    // holding its password. Extra arguments go only to a direct start: the helper takes
    // none, so that nothing but the configuration decides what OpenVPN does.
    static PrivilegedCommand openVpnStart(const QString &programFolder, const QString &openVpn,
                                          const QString &config, const QString &host, quint16 port,
                                          const QString &passwordFile, const QStringList &extra,
                                          bool elevated, bool helperInstalled);

    // Ends the OpenVPN the helper started for this user (SIGTERM, then SIGKILL).
    static PrivilegedCommand openVpnStop(const QString &programFolder);
};

#pragma once

#include <QString>
#include <QStringList>

// A program and its arguments for a step that needs the administrator: starting and ending
// OpenVPN. A client that is not root runs them through pkexec and the program folder's helper
// "kestrunevpn-helper", which polkit allows in fixed shapes only; a client that is root runs
// the same helper directly, so that OpenVPN gets the helper's hooks for the tunnel's name
// servers either way. A program folder without the helper (a build folder with the OpenVPN
// stand-in) runs OpenVPN directly. Built as pure functions so that every shape is tested.
class PrivilegedCommand
{
public:
    QString program;
    QStringList arguments;

    // The helper below the program folder.
    static QString helperPath(const QString &programFolder);

    // OpenVPN with the configuration, the management interface where `management` says (the
    // words after "--management") and the file holding its password. The helper chooses the
    // management interface's place itself, and takes no extra arguments, so that nothing but
    // the configuration decides what OpenVPN does; both go only to a direct start.
    static PrivilegedCommand openVpnStart(const QString &programFolder, const QString &openVpn,
                                          const QString &config, const QStringList &management,
                                          const QString &passwordFile, const QStringList &extra,
                                          bool elevated, bool helperInstalled);

    // Ends the OpenVPN the helper started for this user (SIGTERM, then SIGKILL).
    static PrivilegedCommand openVpnStop(const QString &programFolder);
};

#include "system/privilegedcommand.h"

namespace {

const QString Pkexec = QStringLiteral("/usr/bin/pkexec");

} // namespace

QString PrivilegedCommand::helperPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("/kestrunevpn-helper");
}

PrivilegedCommand PrivilegedCommand::openVpnStart(const QString &programFolder,
                                                  const QString &openVpn, const QString &config,
                                                  const QString &host, quint16 port,
                                                  const QString &passwordFile,
                                                  const QStringList &extra, bool elevated,
                                                  bool helperInstalled)
{
    if (elevated || !helperInstalled) {
        return {openVpn,
                QStringList {QStringLiteral("--config"), config, QStringLiteral("--management"),
                             host, QString::number(port), passwordFile}
                    + extra};
    }
    // The helper fixes the management port itself.
    return {
        Pkexec,
        {helperPath(programFolder), QStringLiteral("openvpn-start"), config, host, passwordFile}};
}

PrivilegedCommand PrivilegedCommand::openVpnStop(const QString &programFolder)
{
    return {Pkexec, {helperPath(programFolder), QStringLiteral("openvpn-stop")}};
}

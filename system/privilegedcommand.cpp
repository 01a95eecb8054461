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
                                                  const QStringList &management,
                                                  const QString &passwordFile,
                                                  const QStringList &extra, bool elevated,
                                                  bool helperInstalled)
{
    if (!helperInstalled) {
        return {openVpn,
                QStringList {QStringLiteral("--config"), config, QStringLiteral("--management")}
                    + management + QStringList {passwordFile} + extra};
    }
    // The helper places the management interface itself, and adds its own hooks for the
    // tunnel's name servers; root runs it directly.
    if (elevated)
        return {helperPath(programFolder), {QStringLiteral("openvpn-start"), config, passwordFile}};
    return {Pkexec,
            {helperPath(programFolder), QStringLiteral("openvpn-start"), config, passwordFile}};
}

PrivilegedCommand PrivilegedCommand::openVpnStop(const QString &programFolder)
{
    return {Pkexec, {helperPath(programFolder), QStringLiteral("openvpn-stop")}};
}

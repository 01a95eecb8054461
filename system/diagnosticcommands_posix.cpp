#include "diagnosticcommands.h"

QVector<DiagnosticCommand> diagnosticCommands()
{
    const QString ip = QStringLiteral("ip");
    return {
        {QStringLiteral("system/nft-kestrunevpn_lock.txt"),
         {QStringLiteral("nft"),
          {QStringLiteral("list"), QStringLiteral("table"), QStringLiteral("inet"),
           QStringLiteral("kestrunevpn_lock")},
          {}},
         {}},
        {QStringLiteral("system/routes-ipv4.txt"),
         {ip, {QStringLiteral("-4"), QStringLiteral("route"), QStringLiteral("show")}, {}},
         {}},
        {QStringLiteral("system/routes-ipv6.txt"),
         {ip, {QStringLiteral("-6"), QStringLiteral("route"), QStringLiteral("show")}, {}},
         {}},
        {QStringLiteral("system/resolv.conf"), {}, QStringLiteral("/etc/resolv.conf")},
    };
}

QString osReleaseFile()
{
    return QStringLiteral("/etc/os-release");
}

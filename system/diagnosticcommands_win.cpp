#include "diagnosticcommands.h"

#include <QDir>

QVector<DiagnosticCommand> diagnosticCommands()
{
    const QString system32 = QDir::rootPath() + QStringLiteral("Windows/System32/");
    const QString netsh = system32 + QStringLiteral("netsh.exe");
    return {
        {QStringLiteral("system/firewall-rules.txt"),
         {netsh,
          {QStringLiteral("advfirewall"), QStringLiteral("firewall"), QStringLiteral("show"),
           QStringLiteral("rule"), QStringLiteral("name=all")},
          {}},
         {}},
        {QStringLiteral("system/routes.txt"),
         {system32 + QStringLiteral("route.exe"), {QStringLiteral("print")}, {}},
         {}},
        {QStringLiteral("system/resolver.txt"),
         {system32 + QStringLiteral("ipconfig.exe"), {QStringLiteral("/all")}, {}},
         {}},
    };
}

QString osReleaseFile()
{
    return QString();
}

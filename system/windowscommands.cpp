#include "windowscommands.h"

namespace WindowsCommands {

QString interpreterPath(const QString &systemDrive)
{
    return QStringLiteral("%0\\Windows\\System32\\cmd.exe").arg(systemDrive);
}

QStringList interpreterArguments(const QStringList &command)
{
    return QStringList{QStringLiteral("/c")} + command;
}

QStringList taskkillCommand(const QString &imageName, bool withChildren)
{
    QStringList command{QStringLiteral("taskkill")};
    if (withChildren)
        command << QStringLiteral("/T");
    command << QStringLiteral("/F") << QStringLiteral("/IM") << imageName;
    return command;
}

} // namespace WindowsCommands

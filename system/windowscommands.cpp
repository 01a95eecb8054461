#include "windowscommands.h"

#include "logontask.h"

#include <QDir>

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

QString networkLockScript(NetworkLockStep step, const QString &programDir)
{
    const char *name = step == NetworkLockStep::Block ? "wfw_block.bat"
        : step == NetworkLockStep::Unblock            ? "wfw_unblock.bat"
                                                      : "wfw_unblock_emergency.bat";
    return QDir::toNativeSeparators(programDir) + QStringLiteral("\\scripts\\")
        + QLatin1String(name);
}

QStringList networkLockCommand(NetworkLockStep step, const QString &programDir,
                               const QString &tempDir)
{
    QStringList command{networkLockScript(step, programDir)};
    if (step != NetworkLockStep::EmergencyUnblock)
        command << QDir::toNativeSeparators(tempDir);
    return command;
}

QStringList createLogonTaskCommand(const QString &taskXmlPath)
{
    return {QStringLiteral("schtasks"), QStringLiteral("/CREATE"), QStringLiteral("/TN"),
            QLatin1String(LogonTask::Name), QStringLiteral("/XML"),
            QDir::toNativeSeparators(taskXmlPath)};
}

QStringList deleteLogonTaskCommand()
{
    return {QStringLiteral("schtasks"), QStringLiteral("/DELETE"), QStringLiteral("/TN"),
            QLatin1String(LogonTask::Name), QStringLiteral("/f")};
}

QString fillLogonTaskTemplate(const QString &templateText, const QString &executablePath,
                              const QString &programDir)
{
    // A folder named "R&D" would otherwise make the definition invalid XML.
    return templateText.arg(QDir::toNativeSeparators(executablePath).toHtmlEscaped(),
                            QDir::toNativeSeparators(programDir).toHtmlEscaped());
}

} // namespace WindowsCommands

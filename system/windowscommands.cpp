#include "windowscommands.h"

#include "logontask.h"

namespace WindowsCommands {

namespace {

// Backslashes whatever the system the lines are built on (tests build them on Linux too).
QString windowsPath(const QString &path)
{
    return QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

QString interpreterPath(const QString &systemDrive)
{
    return QStringLiteral("%0\\Windows\\System32\\cmd.exe").arg(systemDrive);
}

QStringList interpreterArguments(const QStringList &command)
{
    return QStringList {QStringLiteral("/c")} + command;
}

QStringList taskkillCommand(const QString &imageName, bool withChildren)
{
    QStringList command {QStringLiteral("taskkill")};
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
    return windowsPath(programDir) + QStringLiteral("\\scripts\\") + QLatin1String(name);
}

QStringList networkLockCommand(NetworkLockStep step, const QString &programDir,
                               const QString &tempDir)
{
    QStringList command {networkLockScript(step, programDir)};
    if (step != NetworkLockStep::EmergencyUnblock)
        command << windowsPath(tempDir);
    return command;
}

QStringList createLogonTaskCommand(const QString &taskXmlPath)
{
    return {QStringLiteral("schtasks"),     QStringLiteral("/CREATE"), QStringLiteral("/TN"),
            QLatin1String(LogonTask::Name), QStringLiteral("/XML"),    windowsPath(taskXmlPath)};
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
    return templateText.arg(windowsPath(executablePath).toHtmlEscaped(),
                            windowsPath(programDir).toHtmlEscaped());
}

} // namespace WindowsCommands

#include "posixcommands.h"

#include "logontask.h"

#include <QDir>

namespace PosixCommands {

namespace {

// Escapes for a desktop entry's string values: a backslash is written twice, and a line
// break could start a key of its own.
QString desktopString(QString value)
{
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    value.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return value;
}

// One argument of an Exec key: in double quotes, with ", `, $ and \ escaped by a backslash;
// a % is doubled, since a single one starts a field code.
QString execArgument(QString value)
{
    QString quoted;
    for (const QChar c : qAsConst(value)) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
            || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == QLatin1Char('%'))
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString networkLockScript(NetworkLockStep step, const QString &programDir)
{
    const char *name = step == NetworkLockStep::Block ? "nft_block.sh"
        : step == NetworkLockStep::Unblock            ? "nft_unblock.sh"
                                                      : "nft_unblock_emergency.sh";
    return QDir(programDir).filePath(QStringLiteral("scripts/") + QLatin1String(name));
}

SystemCommand networkLockCommand(NetworkLockStep step, const QString &programDir,
                                 const QString &tempDir, bool runningAsRoot)
{
    SystemCommand command;
    command.script = networkLockScript(step, programDir);
    if (runningAsRoot) {
        command.program = QStringLiteral("/bin/sh");
        command.arguments << command.script;
    } else {
        // The polkit action beside the scripts names each script by its path, so pkexec
        // gets the script itself; its first line runs it with /bin/sh.
        command.program = QStringLiteral("/usr/bin/pkexec");
        command.arguments << command.script;
    }
    if (step != NetworkLockStep::EmergencyUnblock)
        command.arguments << QDir::cleanPath(tempDir);
    return command;
}

QString fillAutostartTemplate(const QString &templateText, const QString &executablePath,
                              const QString &programDir)
{
    return templateText.arg(desktopString(execArgument(executablePath)), desktopString(programDir));
}

QString autostartEntryPath(const QString &xdgConfigHome, const QString &homeDir)
{
    const QString base = QDir::isAbsolutePath(xdgConfigHome)
        ? xdgConfigHome
        : QDir(homeDir).filePath(QStringLiteral(".config"));
    return QDir(base).filePath(QStringLiteral("autostart/")
                               + QLatin1String(LogonTask::AutostartEntry));
}

} // namespace PosixCommands

#include "windowsplatform.h"

#include "logontask.h"
#include "windowscommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString WindowsPlatform::executableName(const QString &baseName) const
{
    return baseName + QStringLiteral(".exe");
}

QString WindowsPlatform::shellProgram() const
{
    // The system root without its trailing slash: the drive letter and colon.
    return WindowsCommands::interpreterPath(QDir::rootPath().left(2));
}

QStringList WindowsPlatform::shellArguments(const QStringList &command) const
{
    return WindowsCommands::interpreterArguments(command);
}

// A taskkill that cannot start, or has not finished within the time, has ended nothing the
// caller can count on.
bool WindowsPlatform::endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs)
{
    return runToSuccess({shellProgram(),
                         shellArguments(WindowsCommands::taskkillCommand(
                             QFileInfo(programPath).fileName(), withChildren)),
                         QString()},
                        timeoutMs);
}

SystemCommand WindowsPlatform::networkLockCommand(NetworkLockStep step, const QString &programDir,
                                                  const QString &tempDir) const
{
    SystemCommand command;
    command.program = shellProgram();
    command.arguments
        = shellArguments(WindowsCommands::networkLockCommand(step, programDir, tempDir));
    command.script = WindowsCommands::networkLockScript(step, programDir);
    return command;
}

bool WindowsPlatform::addLogonStart(const QString &programDir, const QString &tempDir,
                                    int timeoutMs)
{
    const QString templateText = readTemplate(QDir(programDir).filePath(
        QStringLiteral("scripts/") + QLatin1String(LogonTask::WindowsTemplate)));
    if (templateText.trimmed().isEmpty())
        return false;
    const QString filledPath = QDir(tempDir).filePath(QLatin1String(LogonTask::WindowsTemplate));
    QFile filled(filledPath);
    if (!filled.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString exePath = QDir(programDir).filePath(executableName(QStringLiteral("kestrunevpn")));
    const QByteArray text
        = WindowsCommands::fillLogonTaskTemplate(templateText, exePath, programDir).toUtf8();
    const bool written = filled.write(text) == text.size();
    filled.close();
    const bool created = written
        && runToSuccess({shellProgram(),
                         shellArguments(WindowsCommands::createLogonTaskCommand(filledPath)),
                         QString()},
                        timeoutMs);
    QFile::remove(filledPath);
    return created;
}

bool WindowsPlatform::removeLogonStart(int timeoutMs)
{
    return runToSuccess(
        {shellProgram(), shellArguments(WindowsCommands::deleteLogonTaskCommand()), QString()},
        timeoutMs);
}

// The data folder lies in the user's own profile, whose access rules already keep other
// users out; the folder and its files inherit them.
bool WindowsPlatform::makeOwnerOnlyFolder(const QString &path) const
{
    return QDir().mkpath(path);
}

bool WindowsPlatform::createOwnerOnly(QFile &file) const
{
    QFile::remove(file.fileName());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

#include "windowsplatform.h"

#include "windowscommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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

bool WindowsPlatform::endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs)
{
    QProcess process;
    process.start(shellProgram(),
                  shellArguments(WindowsCommands::taskkillCommand(QFileInfo(programPath).fileName(),
                                                                  withChildren)));
    if (!process.waitForFinished(timeoutMs))
        return true;
    return process.exitCode() == 0;
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

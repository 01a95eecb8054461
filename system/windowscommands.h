#pragma once

#include "networklockstep.h"

#include <QString>
#include <QStringList>

// The exact Windows command lines, built as pure functions so that they are tested on
// every platform.
namespace WindowsCommands {

// "%0\Windows\System32\cmd.exe" for the system drive (letter and colon, no slash).
QString interpreterPath(const QString &systemDrive);

// cmd.exe arguments: "/c" followed by the command and its arguments.
QStringList interpreterArguments(const QStringList &command);

// taskkill of every process with the image name; /T adds their child processes.
QStringList taskkillCommand(const QString &imageName, bool withChildren);

// "<program folder>\scripts\wfw_block.bat" and its siblings, native separators.
QString networkLockScript(NetworkLockStep step, const QString &programDir);

// The script followed by the temp folder for block and unblock; the script alone for the
// emergency unblock.
QStringList networkLockCommand(NetworkLockStep step, const QString &programDir,
                               const QString &tempDir);

// schtasks creating the logon task from its XML definition, and deleting it.
QStringList createLogonTaskCommand(const QString &taskXmlPath);
QStringList deleteLogonTaskCommand();

// The task template with the program's path and folder put in, escaped for XML.
QString fillLogonTaskTemplate(const QString &templateText, const QString &executablePath,
                              const QString &programDir);

} // namespace WindowsCommands

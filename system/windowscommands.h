#pragma once

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

} // namespace WindowsCommands

#pragma once

#include <QString>
#include <QStringList>

class QFile;

// Everything that touches the operating system goes through this interface: the command
// interpreter, executable names and ending the processes of a program. Windows and POSIX
// each have one implementation; Platform::instance() picks the one built for this system.
class Platform
{
public:
    virtual ~Platform() = default;

    static Platform &instance();

    // "openvpn" becomes "openvpn.exe" on Windows and stays "openvpn" elsewhere.
    virtual QString executableName(const QString &baseName) const = 0;

    // The command interpreter and the arguments that make it run `command`.
    virtual QString shellProgram() const = 0;
    virtual QStringList shellArguments(const QStringList &command) const = 0;

    // Ends, by force, every running process whose program is the file at `programPath`
    // (with `withChildren` also their child processes), waiting at most `timeoutMs`.
    // Returns false only when the ending was refused or failed within the time.
    virtual bool endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs) = 0;

    // Makes the folder `path` (and its parents) and leaves it open to its owner only, also
    // when it existed before with wider rights.
    virtual bool makeOwnerOnlyFolder(const QString &path) const = 0;

    // Opens `file` for writing as a new, empty file that only its owner can read or write
    // from the moment it exists, replacing whatever was at its path (a link is replaced,
    // never followed). Elevated programs read these files: nobody else may read or change
    // them, not even through a handle opened before the content was written.
    virtual bool createOwnerOnly(QFile &file) const = 0;
};

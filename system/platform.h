#pragma once

#include "networklockstep.h"
#include "systemcommand.h"

#include <QString>
#include <QStringList>

class QFile;

// Everything that touches the operating system goes through this interface: the command
// interpreter, executable names, ending the processes of a program, the network-lock scripts,
// start at user logon and owner-only files. Windows and POSIX each have one implementation;
// Platform::instance() picks the one built for this system.
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

    // True when the client runs with the administrator's rights and starts OpenVPN itself.
    virtual bool isElevated() const = 0;
    // What runs the network-lock script of `step` installed in programDir/scripts.
    virtual SystemCommand networkLockCommand(NetworkLockStep step, const QString &programDir,
                                             const QString &tempDir) const = 0;

    // Registers the program in programDir to start at user logon, from the template beside
    // the scripts (tempDir may hold a filled copy while it is registered). False when the
    // template is missing or empty, a file cannot be written, or the system refuses.
    virtual bool addLogonStart(const QString &programDir, const QString &tempDir, int timeoutMs)
        = 0;
    // Removes that registration; false when the system refuses.
    virtual bool removeLogonStart(int timeoutMs) = 0;

    // Runs a command and waits at most timeoutMs; true only when it ended by itself in time
    // with exit code 0. A command still running at the limit is killed.
    static bool runToSuccess(const SystemCommand &command, int timeoutMs);
    // The template's text: empty when it cannot be read.
    static QString readTemplate(const QString &path);

    // Makes the folder `path` (and its parents) and leaves it open to its owner only, also
    // when it existed before with wider rights.
    virtual bool makeOwnerOnlyFolder(const QString &path) const = 0;

    // Opens `file` for writing as a new, empty file that only its owner can read or write
    // from the moment it exists, replacing whatever was at its path (a link is replaced,
    // never followed). Elevated programs read these files: nobody else may read or change
    // them, not even through a handle opened before the content was written.
    virtual bool createOwnerOnly(QFile &file) const = 0;
};

#pragma once

#include <QString>
#include <QStringList>

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

    // True when the client runs with the administrator's rights and starts OpenVPN itself.
    virtual bool isElevated() const = 0;
};

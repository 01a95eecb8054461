#pragma once

#include "platform.h"

#include <QList>

// Linux and other POSIX systems: /bin/sh, executables without an extension, process
// ending restricted to processes whose /proc/PID/exe is the given program file, nftables
// scripts for the network lock and an XDG autostart entry for start at logon.
class PosixPlatform : public Platform
{
public:
    QString executableName(const QString &baseName) const override;
    QString shellProgram() const override;
    QStringList shellArguments(const QStringList &command) const override;
    bool endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs) override;
    bool isElevated() const override;
    SystemCommand networkLockCommand(NetworkLockStep step, const QString &programDir,
                                     const QString &tempDir) const override;
    // Start at logon is an XDG autostart entry in the user's configuration folder.
    bool addLogonStart(const QString &programDir, const QString &tempDir, int timeoutMs) override;
    bool removeLogonStart(int timeoutMs) override;
    bool makeOwnerOnlyFolder(const QString &path) const override;
    bool createOwnerOnly(QFile &file) const override;

    // Process ids whose executable is the file at programPath (compared after resolving
    // links); the calling process itself is never among them.
    static QList<qint64> processesOf(const QString &programPath);
    // Direct and indirect children of pid.
    static QList<qint64> descendantsOf(qint64 pid);
};

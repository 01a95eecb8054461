#pragma once

#include "platform.h"

// Windows: cmd.exe of the system drive with "/c", ".exe" names, taskkill by image name.
class WindowsPlatform : public Platform
{
public:
    QString executableName(const QString &baseName) const override;
    QString shellProgram() const override;
    QStringList shellArguments(const QStringList &command) const override;
    bool endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs) override;
    // The client's manifest asks for the administrator's rights at every start.
    bool isElevated() const override { return true; }
    SystemCommand networkLockCommand(NetworkLockStep step, const QString &programDir,
                                     const QString &tempDir) const override;
    // Start at logon is a Task Scheduler task made from startup_schtask.xml.
    bool addLogonStart(const QString &programDir, const QString &tempDir, int timeoutMs) override;
    bool removeLogonStart(int timeoutMs) override;
    bool makeOwnerOnlyFolder(const QString &path) const override;
    bool createOwnerOnly(QFile &file) const override;
};

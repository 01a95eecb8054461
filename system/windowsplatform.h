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
    bool makeOwnerOnlyFolder(const QString &path) const override;
    bool createOwnerOnly(QFile &file) const override;
};

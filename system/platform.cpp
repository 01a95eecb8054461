#include "platform.h"

#include <QFile>
#include <QProcess>

// The one place that chooses the implementation for the system being built.
#ifdef Q_OS_WIN
#include "windowsplatform.h"
using SystemPlatform = WindowsPlatform;
#else
#include "posixplatform.h"
using SystemPlatform = PosixPlatform;
#endif

Platform &Platform::instance()
{
    static SystemPlatform platform;
    return platform;
}

bool Platform::runToSuccess(const SystemCommand &command, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(command.program, command.arguments);
    if (!process.waitForStarted(timeoutMs))
        return false;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString Platform::readTemplate(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

#include "helper/systemprogram.h"

#include <QFileInfo>
#include <QProcess>

namespace SystemProgram {

Result run(const QString &program, const QStringList &arguments, const QByteArray &input,
           int timeoutMs, Errors errors)
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/sbin:/usr/bin:/sbin:/bin"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    if (errors == Errors::Merge)
        process.setProcessChannelMode(QProcess::MergedChannels);
    else if (errors == Errors::Forward)
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process.setStandardErrorFile(QProcess::nullDevice());

    Result result;
    process.start(program, arguments);
    if (process.waitForStarted(timeoutMs)) {
        process.write(input);
        process.closeWriteChannel();
        result.ok = process.waitForFinished(timeoutMs)
            && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(timeoutMs);
    }
    result.output = process.readAllStandardOutput();
    if (process.error() != QProcess::UnknownError && !result.ok)
        result.failure = process.errorString();
    return result;
}

QString find(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return QString();
}

QString nft()
{
    return find({QStringLiteral("/usr/sbin/nft"), QStringLiteral("/sbin/nft")});
}

} // namespace SystemProgram

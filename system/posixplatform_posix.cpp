#include "posixplatform.h"

#include "logontask.h"
#include "posixcommands.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

qint64 parentOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // "pid (comm) state ppid ...": comm may hold blanks and parentheses, so read after
    // the last closing parenthesis.
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() : -1;
}

QList<qint64> allPids()
{
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok)
            pids.append(pid);
    }
    return pids;
}

bool alive(qint64 pid)
{
    // A zombie still has its /proc entry; its state letter tells it is gone.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    return close >= 0 && line.size() > close + 2 && line.at(close + 2) != 'Z';
}

} // namespace

bool PosixPlatform::isElevated() const
{
    return ::geteuid() == 0;
}

QString PosixPlatform::executableName(const QString &baseName) const
{
    return baseName;
}

QString PosixPlatform::shellProgram() const
{
    return QStringLiteral("/bin/sh");
}

QStringList PosixPlatform::shellArguments(const QStringList &command) const
{
    return {QStringLiteral("-c"), command.join(QLatin1Char(' '))};
}

QList<qint64> PosixPlatform::processesOf(const QString &programPath)
{
    QList<qint64> result;
    const QString wanted = canonical(programPath);
    const qint64 self = QCoreApplication::applicationPid();
    const QList<qint64> pids = allPids();
    for (qint64 pid : pids) {
        if (pid == self)
            continue;
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        if (!exe.isEmpty() && exe == wanted)
            result.append(pid);
    }
    return result;
}

QList<qint64> PosixPlatform::descendantsOf(qint64 pid)
{
    QList<qint64> result;
    QList<qint64> queue{pid};
    const QList<qint64> pids = allPids();
    while (!queue.isEmpty()) {
        const qint64 parent = queue.takeFirst();
        for (qint64 candidate : pids) {
            if (parentOf(candidate) == parent && !result.contains(candidate)) {
                result.append(candidate);
                queue.append(candidate);
            }
        }
    }
    return result;
}

bool PosixPlatform::endProcessesOf(const QString &programPath, bool withChildren, int timeoutMs)
{
    QList<qint64> targets = processesOf(programPath);
    if (withChildren) {
        const QList<qint64> roots = targets;
        for (qint64 pid : roots)
            targets += descendantsOf(pid);
    }
    bool refused = false;
    for (qint64 pid : qAsConst(targets)) {
        if (::kill(static_cast<pid_t>(pid), SIGKILL) != 0 && errno != ESRCH)
            refused = true;
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (qint64 pid : qAsConst(targets)) {
        while (alive(pid) && !deadline.hasExpired())
            QThread::msleep(10);
    }
    return !refused;
}

SystemCommand PosixPlatform::networkLockCommand(NetworkLockStep step, const QString &programDir,
                                                const QString &tempDir) const
{
    return PosixCommands::networkLockCommand(step, programDir, tempDir, isElevated());
}

bool PosixPlatform::addLogonStart(const QString &programDir, const QString &, int)
{
    const QString templateText = readTemplate(
        QDir(programDir).filePath(QStringLiteral("scripts/")
                                  + QLatin1String(LogonTask::AutostartTemplate)));
    if (templateText.trimmed().isEmpty())
        return false;
    const QString entryPath = PosixCommands::autostartEntryPath(
        qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    if (!QDir().mkpath(QFileInfo(entryPath).absolutePath()))
        return false;
    QSaveFile entry(entryPath);
    if (!entry.open(QIODevice::WriteOnly))
        return false;
    const QString exePath = QDir(programDir).filePath(executableName(QStringLiteral("kestrunevpn")));
    entry.write(PosixCommands::fillAutostartTemplate(templateText, exePath, programDir).toUtf8());
    return entry.commit();
}

bool PosixPlatform::removeLogonStart(int)
{
    const QString entryPath = PosixCommands::autostartEntryPath(
        qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath());
    return !QFileInfo::exists(entryPath) || QFile::remove(entryPath);
}

bool PosixPlatform::makeOwnerOnlyFolder(const QString &path) const
{
    if (!QDir().mkpath(path))
        return false;
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    // A link in the folder's place could point anywhere; only a real folder is accepted.
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return ::chmod(native.constData(), S_IRWXU) == 0;
}

bool PosixPlatform::createOwnerOnly(QFile &file) const
{
    const QByteArray native = QFile::encodeName(file.fileName());
    if (::unlink(native.constData()) != 0 && errno != ENOENT)
        return false;
    // O_EXCL: the file is new, made here with its final rights, and no link is followed.
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

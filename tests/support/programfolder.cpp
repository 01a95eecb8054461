#include "programfolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>

ProgramFolder::~ProgramFolder()
{
    killAll();
}

QString ProgramFolder::installCopy(const QString &source, const QString &relativePath)
{
    const QString target = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (source.isEmpty() || !QFile::copy(source, target))
        return QString();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_installed << relativePath;
    return target;
}

QString ProgramFolder::installStandIn(const QString &version)
{
    const QString copy = installCopy(QStringLiteral(KESTRUNE_STANDIN_PATH),
                                     QStringLiteral("ovpn/openvpn"));
    QFile file(m_dir.filePath(QStringLiteral("ovpn/standin-version")));
    if (copy.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(version.toUtf8()) < 0)
        return QString();
    return copy;
}

QString ProgramFolder::installOpenVpn()
{
    return installCopy(QStandardPaths::findExecutable(QStringLiteral("openvpn"),
                                                      {QStringLiteral("/usr/sbin")}),
                       QStringLiteral("ovpn/openvpn"));
}

QString ProgramFolder::installSsLocal()
{
    return installCopy(QStandardPaths::findExecutable(QStringLiteral("ss-local")),
                       QStringLiteral("shadowsocks/ss-local"));
}

QList<qint64> ProgramFolder::running(const QString &relativePath) const
{
    QList<qint64> result;
    const QString wanted = QFileInfo(m_dir.filePath(relativePath)).canonicalFilePath();
    if (wanted.isEmpty())
        return result;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) != wanted)
            continue;
        // A zombie still names its program; it no longer runs.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z "))
            continue;
        result << pid;
    }
    return result;
}

void ProgramFolder::killAll()
{
    for (const QString &program : qAsConst(m_installed)) {
        for (qint64 pid : running(program))
            ::kill(pid_t(pid), SIGKILL);
        const QDeadlineTimer deadline(5000);
        while (!running(program).isEmpty() && !deadline.hasExpired())
            QThread::msleep(10);
    }
}

#include "programfolder.h"

#include "builders.h"

#include <csignal>

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

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
    const QString copy
        = installCopy(QStringLiteral(KESTRUNE_STANDIN_PATH), QStringLiteral("ovpn/openvpn"));
    const bool told
        = writeFile(m_dir.filePath(QStringLiteral("ovpn/standin-version")), version.toUtf8());
    return told ? copy : QString();
}

QString ProgramFolder::installHelper()
{
#ifdef KESTRUNE_HELPER_PATH
    return installCopy(QStringLiteral(KESTRUNE_HELPER_PATH), QStringLiteral("kestrunevpn-helper"));
#else
    return QString();
#endif
}

QList<qint64> ProgramFolder::running(const QString &relativePath) const
{
    QList<qint64> result;
    const QString wanted = QFileInfo(m_dir.filePath(relativePath)).canonicalFilePath();
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(entry));
        // A zombie still names its program; it no longer runs.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!wanted.isEmpty() && exe == wanted && stat.open(QIODevice::ReadOnly)
            && !stat.readAll().contains(") Z "))
            result << entry.toLongLong();
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

#include "helper/resolvconffile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 MaxSize = 64 * 1024;

QString systemError(const QString &what, const QString &path)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(strerror(errno)));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return ::fsync(fd) == 0;
}

// Writes the file in place, without following a link.
bool writeInPlace(const QString &path, const QByteArray &bytes, QString *error)
{
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    const bool ok = fd >= 0 && writeAll(fd, bytes);
    if (!ok)
        *error = systemError(QStringLiteral("cannot write"), path);
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Replaces path (a file or a link) by a file of its own, atomically where the path can be
// renamed onto, else (a mount point) in place.
bool replaceWithFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".kestrunevpn-new"));
    ::unlink(temp.constData());
    const int fd
        = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = systemError(QStringLiteral("cannot create"), QFile::decodeName(temp));
        return false;
    }
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes);
    ::close(fd);
    if (written && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    const int reason = errno;
    ::unlink(temp.constData());
    if (written && (reason == EBUSY || reason == EXDEV))
        return writeInPlace(path, bytes, error);
    errno = reason;
    *error = systemError(QStringLiteral("cannot replace"), path);
    return false;
}

bool replaceWithLink(const QString &path, const QString &target, QString *error)
{
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".kestrunevpn-new"));
    ::unlink(temp.constData());
    if (::symlink(QFile::encodeName(target).constData(), temp.constData()) == 0
        && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    *error = systemError(QStringLiteral("cannot put back the link"), path);
    ::unlink(temp.constData());
    return false;
}

// Reads a small file without following a link; a missing file reads as empty.
bool readSmall(const QString &path, QByteArray *bytes, QString *error)
{
    bytes->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return true;
    QFile file;
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MaxSize
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = systemError(QStringLiteral("cannot read"), path);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    *bytes = file.read(MaxSize);
    return true;
}

// The target of a link exactly as written (relative ones stay relative); null if no link.
QString linkTarget(const QString &path)
{
    char target[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return n > 0 && size_t(n) < sizeof target ? QFile::decodeName(QByteArray(target, int(n)))
                                              : QString();
}

} // namespace

ResolvConfFile::ResolvConfFile(const QString &path, const QString &stateFolder)
    : m_path(path)
    , m_stateFolder(stateFolder)
    , m_savedText(stateFolder + QStringLiteral("/resolv.conf.saved"))
    , m_savedLink(stateFolder + QStringLiteral("/resolv.conf.link"))
{ }

QByteArray ResolvConfFile::render(const TunnelDns &dns)
{
    QByteArray text("# Written by Kestrune VPN while the tunnel is up; the earlier file comes "
                    "back at disconnect.\n");
    for (const QString &server : dns.servers)
        text += "nameserver " + server.toLatin1() + '\n';
    if (!dns.domains.isEmpty())
        text += "search " + dns.domains.join(QLatin1Char(' ')).toLatin1() + '\n';
    return text;
}

bool ResolvConfFile::holdsOriginal() const
{
    return QFileInfo::exists(m_savedText) || !linkTarget(m_savedLink).isNull();
}

bool ResolvConfFile::apply(const TunnelDns &dns, QString *error)
{
    if (!holdsOriginal()) {
        if (!QDir().mkpath(m_stateFolder)) {
            *error = QStringLiteral("cannot create %1").arg(m_stateFolder);
            return false;
        }
        const QString target = linkTarget(m_path);
        QByteArray original;
        if (!target.isNull()) {
            if (!replaceWithLink(m_savedLink, target, error))
                return false;
        } else if (!readSmall(m_path, &original, error)
                   || !replaceWithFile(m_savedText, original, error)) {
            return false;
        }
    }
    if (replaceWithFile(m_path, render(dns), error))
        return true;
    QString ignored;
    restore(&ignored);
    return false;
}

bool ResolvConfFile::restore(QString *error)
{
    const QString target = linkTarget(m_savedLink);
    if (!target.isNull()) {
        if (!replaceWithLink(m_path, target, error))
            return false;
        QFile::remove(m_savedLink);
    }
    if (QFileInfo::exists(m_savedText)) {
        QByteArray original;
        if (!readSmall(m_savedText, &original, error) || !replaceWithFile(m_path, original, error))
            return false;
        QFile::remove(m_savedText);
    }
    return true;
}

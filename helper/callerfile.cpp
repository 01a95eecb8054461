#include "helper/callerfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/openat2.h>
#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

// Opens with the caller's file-system ids and groups while running as root, so that folders
// the caller cannot enter stay closed (root's own groups, which pkexec gives, would open those
// of group root); the ids and groups come back when this goes out of scope.
class CallerIds
{
public:
    CallerIds(uid_t caller, gid_t group)
        : m_switched(::geteuid() == 0 && caller != 0)
    {
        if (!m_switched)
            return;
        m_saved.resize(size_t(qMax(0, ::getgroups(0, nullptr))));
        m_saved.resize(size_t(qMax(0, ::getgroups(int(m_saved.size()), m_saved.data()))));
        const std::vector<gid_t> groups = callerGroups(caller, group);
        m_ready = ::setgroups(groups.size(), groups.data()) == 0;
        ::setfsgid(group);
        ::setfsuid(caller);
    }
    ~CallerIds()
    {
        if (m_switched) {
            ::setfsuid(0);
            ::setfsgid(0);
            ::setgroups(m_saved.size(), m_saved.data());
        }
    }
    CallerIds(const CallerIds &) = delete;
    CallerIds &operator=(const CallerIds &) = delete;

    // False when root's groups could not be put aside: nothing may be opened then.
    bool ready() const { return !m_switched || m_ready; }

private:
    // The caller's groups as the system lists them, or only the given one.
    static std::vector<gid_t> callerGroups(uid_t caller, gid_t group)
    {
        struct passwd entry;
        struct passwd *found = nullptr;
        char buffer[4096];
        std::vector<gid_t> groups(256);
        int count = int(groups.size());
        if (::getpwuid_r(caller, &entry, buffer, sizeof buffer, &found) != 0 || !found
            || ::getgrouplist(found->pw_name, group, groups.data(), &count) < 0)
            count = 0;
        groups.resize(size_t(count));
        if (groups.empty())
            groups.push_back(group);
        return groups;
    }

    bool m_switched;
    bool m_ready = false;
    std::vector<gid_t> m_saved;
};

// /proc's links (/proc/PID/root, /proc/PID/cwd, /proc/PID/fd/N) are never followed: root may
// look through them into another process's folders and mount namespace, which the caller
// cannot. The last part of the path is never a link of any kind.
int openPlain(const QByteArray &path, quint64 flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY)
{
    struct open_how how;
    std::memset(&how, 0, sizeof how);
    how.flags = flags | O_CLOEXEC;
    how.resolve = RESOLVE_NO_MAGICLINKS;
    return int(::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how));
}

QString openError(int error)
{
    switch (error) {
    case ELOOP:
        return QStringLiteral("is a link");
    case ENOSYS:
        return QStringLiteral("cannot be opened safely on this kernel (openat2 is missing)");
    case EACCES:
    case EPERM:
        return QStringLiteral("cannot be read by the caller");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// OpenVPN and the lock read lines ended by LF (a CR before it is dropped); a lone CR would be
// read differently by different readers, and a NUL ends a C string early.
QString textError(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return QStringLiteral("holds NUL bytes");
    for (int i = bytes.indexOf('\r'); i >= 0; i = bytes.indexOf('\r', i + 1)) {
        if (i + 1 >= bytes.size() || bytes.at(i + 1) != '\n')
            return QStringLiteral("has line ends other than LF or CR LF");
    }
    return QString();
}

} // namespace

CallerFile::Result CallerFile::read(const QString &path, uid_t caller, gid_t callerGroup)
{
    Result result;
    const auto refuse = [&result, &path](const QString &why) {
        result.reason = path + QStringLiteral(": ") + why;
        return result;
    };
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return refuse(QStringLiteral("not an absolute path"));

    int fd = -1;
    int openErrno = 0;
    {
        const CallerIds ids(caller, callerGroup);
        fd = ids.ready() ? openPlain(path.toLocal8Bit()) : -1;
        openErrno = ids.ready() ? errno : EPERM;
    }
    if (fd < 0) {
        result.missing = openErrno == ENOENT;
        return refuse(openError(openErrno));
    }
    struct stat st;
    QString why;
    if (::fstat(fd, &st) != 0)
        why = QString::fromLocal8Bit(std::strerror(errno));
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("not a regular file");
    else if (st.st_uid != caller)
        why = QStringLiteral("not owned by the caller");
    else if (st.st_size > MaxSize)
        why = QStringLiteral("larger than 1 MB");
    // The file may still grow after fstat: at most one byte past the limit is read.
    while (why.isEmpty()) {
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            why = QString::fromLocal8Bit(std::strerror(errno));
        else if (n == 0)
            break;
        else
            result.bytes.append(buffer, int(n));
        if (result.bytes.size() > MaxSize)
            why = QStringLiteral("larger than 1 MB");
    }
    ::close(fd);
    if (why.isEmpty())
        why = textError(result.bytes);
    if (!why.isEmpty()) {
        result.bytes.clear();
        return refuse(why);
    }
    result.ok = true;
    return result;
}

bool CallerFile::isFolder(const QString &path, uid_t caller, gid_t callerGroup)
{
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return false;
    const CallerIds ids(caller, callerGroup);
    const int fd = ids.ready() ? openPlain(path.toLocal8Bit(), O_PATH | O_DIRECTORY) : -1;
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

#include "helper/openvpnlauncher.h"

#include "helper/callerfile.h"
#include "helper/ownerfile.h"
#include "helper/tunneldns.h"
#include "helper/tunnelhooks.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

constexpr int TermWaitMs = 5000;
constexpr int KillWaitMs = 5000;

int refuse(const QString &reason)
{
    HelperContext::report(reason);
    return 2;
}

// A folder of root's: made when missing, and accepted only as a real folder of the helper's
// own user (never a link), then given `mode`.
bool rootFolder(const QString &path, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
        && ::chmod(name.constData(), mode) == 0;
}

// The caller's own folder in root's run folder: a real folder (never a link), given to the
// caller with mode 0700 through the open folder itself.
bool ownFolder(const QString &path, uid_t user, gid_t group)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fchown(fd, user, group) == 0 && ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

// The caller's login name, for OpenVPN's management-client-user: a plain word only.
QByteArray userName(uid_t user)
{
    struct passwd entry;
    struct passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(user, &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return QByteArray();
    const QByteArray name(found->pw_name);
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-';
        if (!plain)
            return QByteArray();
    }
    return name.startsWith('-') || name.size() > 64 ? QByteArray() : name;
}

bool limit(int resource, quint64 value)
{
    struct rlimit bound;
    bound.rlim_cur = bound.rlim_max = rlim_t(value);
    return ::setrlimit(resource, &bound) == 0;
}

QByteArray readProc(qint64 pid, const char *entry)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    return file.open(QIODevice::ReadOnly) ? file.read(65536) : QByteArray();
}

// Gone, or a zombie that its parent has still to reap.
bool ended(qint64 pid)
{
    const QByteArray stat = readProc(pid, "stat");
    const int close = stat.lastIndexOf(')');
    return stat.isEmpty() || (close > 0 && stat.mid(close + 2, 1) == "Z");
}

bool awaitEnd(qint64 pid, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!ended(pid)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

QByteArray OpenVpnLauncher::vetPassword(const QByteArray &file)
{
    QByteArray line = file.left(file.indexOf('\n') < 0 ? file.size() : file.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty() || line.size() > 256)
        return QByteArray();
    for (const char c : qAsConst(line)) {
        if (c < 0x21 || c > 0x7e)
            return QByteArray();
    }
    return line;
}

OpenVpnConfigText::Result OpenVpnLauncher::canonical(const QString &config) const
{
    const CallerFile::Result file
        = CallerFile::read(config, m_context.caller, m_context.callerGroup);
    if (!file.ok) {
        OpenVpnConfigText::Result refused;
        refused.reason = file.reason;
        return refused;
    }
    return OpenVpnConfigText::rewrite(file.bytes, OpenVpnConfigText::Unknown::Refuse,
                                      OpenVpnConfigText::LongLines::Refuse);
}

int OpenVpnLauncher::checkConfig(const QString &config) const
{
    const OpenVpnConfigText::Result result = canonical(config);
    if (!result.ok)
        return refuse(result.reason);
    std::fwrite(result.text.constData(), 1, size_t(result.text.size()), stdout);
    std::fflush(stdout);
    return 0;
}

int OpenVpnLauncher::start(const QString &config, const QString &passwordFile) const
{
    const OpenVpnConfigText::Result rewritten = canonical(config);
    if (!rewritten.ok)
        return refuse(rewritten.reason);
    const CallerFile::Result pswd
        = CallerFile::read(passwordFile, m_context.caller, m_context.callerGroup);
    if (!pswd.ok)
        return refuse(pswd.reason);
    const QByteArray password = vetPassword(pswd.bytes);
    if (password.isEmpty())
        return refuse(passwordFile + QStringLiteral(": holds no password the client writes"));

    const QByteArray user = userName(m_context.caller);
    if (user.isEmpty())
        return refuse(QStringLiteral("user %1 has no plain login name").arg(m_context.caller));

    // A second OpenVPN would take the pid file from the first, which could then no longer be
    // stopped, and the hooks' restore below would strip the running tunnel's DNS and IPv6 block.
    const qint64 running = runningPid(m_context.caller);
    if (running > 0)
        return refuse(QStringLiteral("OpenVPN (process %1) still runs for this user; stop it first")
                          .arg(running));
    const Tunnel other = othersTunnel();
    if (other.pid > 0)
        return refuse(QStringLiteral("the tunnel of user %1 runs (OpenVPN process %2); only one "
                                     "tunnel runs at a time")
                          .arg(other.user)
                          .arg(other.pid));

    ::umask(077);
    const QString folder = m_context.privateFolder();
    const QString passwordCopy = folder + QStringLiteral("/management.pswd");
    const QString socket = m_context.callerFolder() + QLatin1Char('/') + QLatin1String(SocketName);
    const QString pidFile = this->pidFile();
    // The run folder is passed through by the callers on the way to their own folders.
    if (!rootFolder(m_context.runFolder, 0711)
        || !rootFolder(m_context.runFolder + QStringLiteral("/private"), 0700)
        || !rootFolder(folder, 0700)
        || !ownFolder(m_context.callerFolder(), m_context.caller, m_context.callerGroup)
        || !OwnerFile::write(canonicalPath(), rewritten.text)
        || !OwnerFile::write(passwordCopy, password + '\n')
        || !OwnerFile::write(pidFile, QByteArray::number(qint64(::getpid())) + '\n')) {
        HelperContext::report(QStringLiteral("cannot write the private copies in ") + folder);
        return 1;
    }

    // OpenVPN calls this very binary, root's own, for the tunnel's DNS and IPv6; whatever an
    // earlier tunnel left behind (OpenVPN killed before its down hook) is taken back first.
    const QStringList hooks = TunnelHooks::openVpnArguments(
        QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    if (hooks.isEmpty())
        return refuse(QStringLiteral("the helper's path cannot be handed to OpenVPN"));
    // No tunnel runs now, so whatever the markers name was left by one that is gone.
    TunnelHooks(m_context).restore();
    // The configuration's own name servers reach the up hook as OpenVPN's foreign options;
    // one that will be skipped there is named now, before anything connects.
    for (const QString &entry : TunnelDns::fromConfig(rewritten.text).skipped)
        HelperContext::report(QStringLiteral("the tunnel's DNS will skip ") + entry);

    // This process becomes OpenVPN: the pid file names it, and the client's process ends
    // when OpenVPN does.
    const QByteArray program
        = QFile::encodeName(m_context.programFolder + QStringLiteral("/ovpn/openvpn"));
    QList<QByteArray> arguments {program,
                                 "--config",
                                 QFile::encodeName(canonicalPath()),
                                 "--management",
                                 QFile::encodeName(socket),
                                 "unix",
                                 QFile::encodeName(passwordCopy),
                                 "--management-client-user",
                                 user};
    // The hooks run as OpenVPN's children, with what OpenVPN sets and nothing of this
    // process's environment: test folders reach them this way.
    for (const QString &entry : m_context.overrides) {
        const int equals = entry.indexOf(QLatin1Char('='));
        arguments << "--setenv" << entry.left(equals).toLatin1()
                  << QFile::encodeName(entry.mid(equals + 1));
    }
    for (const QString &hook : hooks)
        arguments << QFile::encodeName(hook);
    if ((BoundsData && !limit(RLIMIT_DATA, DataBytes)) || !limit(RLIMIT_NOFILE, OpenFiles)) {
        OwnerFile::remove(pidFile);
        HelperContext::report(QStringLiteral("cannot bound OpenVPN's memory and files"));
        return 1;
    }
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    char path[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
    char locale[] = "LC_ALL=C";
    char *environment[] = {path, locale, nullptr};
    std::fflush(nullptr);
    ::execve(program.constData(), argv.data(), environment);
    const int error = errno;
    OwnerFile::remove(pidFile);
    HelperContext::report(
        QStringLiteral("cannot run %1: %2")
            .arg(QString::fromLocal8Bit(program), QString::fromLocal8Bit(std::strerror(error))));
    return 1;
}

bool OpenVpnLauncher::isOurOpenVpn(qint64 pid, uid_t user) const
{
    // Debian's program folder holds a wrapper that execs the system's OpenVPN.
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    const QString own
        = QFileInfo(m_context.programFolder + QStringLiteral("/ovpn/openvpn")).canonicalFilePath();
    if (exe.isEmpty() || (exe != own && exe != QLatin1String("/usr/sbin/openvpn")))
        return false;
    const QList<QByteArray> words = readProc(pid, "cmdline").split('\0');
    const int at = words.indexOf("--config");
    return at >= 0 && at + 1 < words.size()
        && words.at(at + 1) == QFile::encodeName(canonicalPath(user));
}

qint64 OpenVpnLauncher::recordedPid(uid_t user) const
{
    const int fd
        = ::open(QFile::encodeName(pidFile(user)).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[32] = {};
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    bool numeric = false;
    const qint64 pid = QByteArray(buffer, n > 0 ? int(n) : 0).trimmed().toLongLong(&numeric);
    return numeric && pid > 1 ? pid : -1;
}

qint64 OpenVpnLauncher::runningPid(uid_t user) const
{
    const qint64 pid = recordedPid(user);
    return pid > 0 && !ended(pid) && isOurOpenVpn(pid, user) ? pid : 0;
}

OpenVpnLauncher::Tunnel OpenVpnLauncher::othersTunnel() const
{
    const QStringList users = QDir(m_context.runFolder + QStringLiteral("/private"))
                                  .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString &name : users) {
        bool numeric = false;
        const uint user = name.toUInt(&numeric);
        if (!numeric || user == m_context.caller || name != QString::number(user))
            continue;
        if (const qint64 pid = runningPid(uid_t(user)))
            return {pid, uid_t(user)};
    }
    return {};
}

int OpenVpnLauncher::restore() const
{
    const Tunnel other = othersTunnel();
    const qint64 own = runningPid(m_context.caller);
    if (other.pid > 0 || own > 0) {
        HelperContext::report(QStringLiteral("a tunnel runs (OpenVPN process %1): what it set up "
                                             "stays")
                                  .arg(other.pid > 0 ? other.pid : own));
        return 0;
    }
    return TunnelHooks(m_context).restore();
}

int OpenVpnLauncher::stop() const
{
    const QString pidFile = this->pidFile();
    const qint64 pid = recordedPid(m_context.caller);
    if (pid == 0)
        return 0;
    if (pid < 0)
        return refuse(QStringLiteral("the pid file holds no process id"));
    const uid_t user = m_context.caller;
    // Only the OpenVPN started for this caller, never a process that took its id since.
    if (isOurOpenVpn(pid, user)) {
        ::kill(pid_t(pid), SIGTERM);
        if (!awaitEnd(pid, TermWaitMs) && isOurOpenVpn(pid, user)) {
            ::kill(pid_t(pid), SIGKILL);
            awaitEnd(pid, KillWaitMs);
        }
    }
    OwnerFile::remove(pidFile);
    if (!ended(pid) && isOurOpenVpn(pid, user))
        return 1;
    // An OpenVPN that had to be killed never called its down hook; while another user's
    // tunnel runs, what the markers name is that tunnel's.
    return restore();
}

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
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
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

// A folder only root enters: made when missing, and accepted only as a real folder of the
// helper's own user (never a link).
bool privateFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    return ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()
        && ::chmod(name.constData(), 0700) == 0;
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

int OpenVpnLauncher::start(const QString &config, const QString &host,
                           const QString &passwordFile) const
{
    if (host != QLatin1String("127.0.0.1") && host != QLatin1String("::ffff:127.0.0.1"))
        return refuse(QStringLiteral("management stays on the loopback address"));
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

    // A second OpenVPN would take the pid file from the first, which could then no longer be
    // stopped, and the hooks' restore below would strip the running tunnel's DNS and IPv6 block.
    const qint64 running = recordedPid();
    if (running > 0 && !ended(running) && isOurOpenVpn(running))
        return refuse(QStringLiteral("OpenVPN (process %1) still runs for this user; stop it first")
                          .arg(running));

    ::umask(077);
    const QString folder = m_context.privateFolder();
    const QString passwordCopy = folder + QStringLiteral("/management.pswd");
    const QString pidFile = this->pidFile();
    if (!privateFolder(m_context.runFolder) || !privateFolder(folder)
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
                                 host.toLatin1(),
                                 QByteArray::number(ManagementPort),
                                 QFile::encodeName(passwordCopy)};
    for (const QString &hook : hooks)
        arguments << QFile::encodeName(hook);
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

bool OpenVpnLauncher::isOurOpenVpn(qint64 pid) const
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
        && words.at(at + 1) == QFile::encodeName(canonicalPath());
}

qint64 OpenVpnLauncher::recordedPid() const
{
    const int fd
        = ::open(QFile::encodeName(pidFile()).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char buffer[32] = {};
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    bool numeric = false;
    const qint64 pid = QByteArray(buffer, n > 0 ? int(n) : 0).trimmed().toLongLong(&numeric);
    return numeric && pid > 1 ? pid : -1;
}

int OpenVpnLauncher::stop() const
{
    const QString pidFile = this->pidFile();
    const qint64 pid = recordedPid();
    if (pid == 0)
        return 0;
    if (pid < 0)
        return refuse(QStringLiteral("the pid file holds no process id"));
    // Only the OpenVPN started for this caller, never a process that took its id since.
    if (isOurOpenVpn(pid)) {
        ::kill(pid_t(pid), SIGTERM);
        if (!awaitEnd(pid, TermWaitMs) && isOurOpenVpn(pid)) {
            ::kill(pid_t(pid), SIGKILL);
            awaitEnd(pid, KillWaitMs);
        }
    }
    OwnerFile::remove(pidFile);
    if (!ended(pid) && isOurOpenVpn(pid))
        return 1;
    // An OpenVPN that had to be killed never called its down hook.
    return TunnelHooks(m_context).restore();
}

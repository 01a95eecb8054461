#include "vpnprocessfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

VpnProcessFixture::VpnProcessFixture(const QString &programSource, QObject *parent)
    : QObject(parent)
{
    if (!dir.isValid())
        return;
    appDir = dir.path() + QStringLiteral("/app");
    dataDir = dir.path() + QStringLiteral("/data");
    tempDir = dataDir + QStringLiteral("/temp");
    configPath = tempDir + QStringLiteral("/openvpn_config.ovpn");
    QDir().mkpath(appDir + QStringLiteral("/ovpn"));
    QDir().mkpath(dataDir + QStringLiteral("/logs"));
    QDir().mkpath(tempDir);
    programPath = appDir + QStringLiteral("/ovpn/openvpn");
    // A copy, not a link: ending "every process of the program" looks at the real file, and
    // must only ever find this fixture's processes.
    m_valid = QFile::copy(programSource, programPath)
        && QFile::setPermissions(programPath,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                     | QFileDevice::ExeOwner);
}

VpnProcessFixture::~VpnProcessFixture()
{
    finishThread();
}

bool VpnProcessFixture::isValid() const
{
    return m_valid;
}

QString VpnProcessFixture::root() const
{
    return dir.path();
}

void VpnProcessFixture::writeConfig(const QByteArray &content)
{
    QFile file(configPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

void VpnProcessFixture::startThread()
{
    thread = new QThread;
    proc = new VPNProcess(appDir);
    proc->setup(dataDir, tempDir);
    proc->configPath = configPath;
    proc->moveToThread(thread);
    connect(thread, SIGNAL(started()), proc, SLOT(init()));
    connect(thread, SIGNAL(finished()), proc, SLOT(deleteLater()));
    connect(this, SIGNAL(vpnProcessStart(QString)), proc, SLOT(start(QString)),
            Qt::QueuedConnection);
    connect(this, SIGNAL(vpnProcessStop()), proc, SLOT(stop()), Qt::QueuedConnection);
    connect(proc, SIGNAL(vpnStateChanged(VPNProcess::VPNProcessStatus)), this,
            SLOT(onState(VPNProcess::VPNProcessStatus)), Qt::QueuedConnection);
    connect(proc, SIGNAL(dataStatChanged(int, int)), this, SLOT(onData(int, int)),
            Qt::QueuedConnection);
    thread->start();
}

void VpnProcessFixture::finishThread()
{
    if (!thread)
        return;
    thread->quit();
    thread->wait();
    delete thread;
    thread = nullptr;
    proc = nullptr;
}

void VpnProcessFixture::requestStart()
{
    proc->procStatus = VPNProcess::ProcConnecting;
    emit vpnProcessStart(QString());
}

void VpnProcessFixture::requestStop()
{
    proc->procStatus = VPNProcess::ProcDisconnecting;
    emit vpnProcessStop();
}

void VpnProcessFixture::onState(VPNProcess::VPNProcessStatus status)
{
    states.append(status);
}

void VpnProcessFixture::onData(int in, int out)
{
    counts.append(qMakePair(in, out));
}

QString VpnProcessFixture::openvpnLog() const
{
    QFile file(dataDir + QStringLiteral("/logs/openvpn_log.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString VpnProcessFixture::storedPassword() const
{
    QFile file(tempDir + QStringLiteral("/openvpn_pswd.data"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

namespace {

QList<qint64> pids()
{
    QList<qint64> result;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (ok)
            result.append(pid);
    }
    return result;
}

bool isZombieOrGone(qint64 pid, qint64 *parent)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int close = line.lastIndexOf(')');
    if (close < 0 || line.size() < close + 3)
        return true;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (parent)
        *parent = fields.value(1).toLongLong();
    return fields.value(0) == "Z";
}

} // namespace

QList<qint64> VpnProcessFixture::runningCopies() const
{
    QList<qint64> result;
    const QString wanted = QFileInfo(programPath).canonicalFilePath();
    for (qint64 pid : pids()) {
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        if (!exe.isEmpty() && exe == wanted && !isZombieOrGone(pid, nullptr))
            result.append(pid);
    }
    return result;
}

int VpnProcessFixture::openFileCount()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}

int VpnProcessFixture::threadCount()
{
    return QDir(QStringLiteral("/proc/self/task"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
        .size();
}

QList<qint64> VpnProcessFixture::childProcesses()
{
    QList<qint64> result;
    const qint64 self = QCoreApplication::applicationPid();
    for (qint64 pid : pids()) {
        qint64 parent = -1;
        // A zombie child still counts: it is a process nobody reaped.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.exists())
            continue;
        isZombieOrGone(pid, &parent);
        if (parent == self)
            result.append(pid);
    }
    return result;
}

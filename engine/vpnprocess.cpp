#include "engine/vpnprocess.h"

#include "core/loger.h"
#include "engine/managementparser.h"
#include "system/managementsocket.h"
#include "system/platform.h"
#include "system/privilegedcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>

namespace {

// How long a stop waits for OpenVPN to end after "signal SIGTERM": long enough for the
// terminate timer to fire and end the process by force.
constexpr int kStopWaitMs = VPNProcess::TerminateTimeoutMs + 5000;

} // namespace

VPNProcess::VPNProcess(const QString &appDir, QObject *parent)
    : QObject(parent)
    , appDir(appDir.isEmpty() ? QCoreApplication::applicationDirPath() : appDir)
{
    qRegisterMetaType<VPNProcess::VPNProcessStatus>("VPNProcess::VPNProcessStatus");
}

VPNProcess::~VPNProcess()
{
    if (process) {
        disconnect(process, nullptr, this, nullptr);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(LongWaitMs);
        }
    }
    if (listener) {
        disconnect(listener, nullptr, this, nullptr);
        listener->abort();
    }
    if (logFile)
        logFile->close();
}

void VPNProcess::setup(const QString &dataFolder, const QString &tempFolder)
{
    dataDir = dataFolder;
    passwordPath = tempFolder + QDir::separator() + QStringLiteral("openvpn_pswd.data");
}

void VPNProcess::setMode(VPNProcessMode mode)
{
    if (mode == PM_OpenVPN23)
        host = QStringLiteral("127.0.0.1");
    else if (mode == PM_OpenVPN24)
        host = QStringLiteral("::ffff:127.0.0.1");
}

QString VPNProcess::programPath() const
{
    return appDir + QStringLiteral("/ovpn/") + Platform::instance().executableName("openvpn");
}

QString VPNProcess::logFilePath() const
{
    return dataDir + QDir::separator() + QStringLiteral("logs") + QDir::separator()
        + QStringLiteral("openvpn_log.txt");
}

QString VPNProcess::managementHost() const
{
    return host;
}

int VPNProcess::connectAttemptsUsed() const
{
    return m_attemptsUsed;
}

QString VPNProcess::version() const
{
    return versionFrom(*startVersionQuery());
}

std::unique_ptr<VersionQuery> VPNProcess::startVersionQuery() const
{
    // A program that never ends must not hold up the start of the client.
    return std::make_unique<VersionQuery>(programPath(), QStringList {QStringLiteral("--version")},
                                          VersionQuery::StandardOutput, LongWaitMs);
}

QString VPNProcess::versionFrom(VersionQuery &query)
{
    return ManagementParser::parseVersion(query.output());
}

void VPNProcess::init()
{
    process = new QProcess(this);
    // Only standard output is read; what OpenVPN writes to its error channel must not pile
    // up unread in memory.
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, SIGNAL(readyReadStandardOutput()), this, SLOT(readAllStandardOutput()));
    connect(process, SIGNAL(stateChanged(QProcess::ProcessState)), this,
            SLOT(processStateChanged(QProcess::ProcessState)));
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Loger::writeLine(tr("[OpenVPN]: cannot start %1").arg(programPath()));
    });

    listener = ManagementSocket::create(this);
    connect(listener, &ManagementSocket::stateChanged, this, &VPNProcess::listenerStateChanged);
    connect(listener, &ManagementSocket::readyRead, this, &VPNProcess::listenerReadyRead);

    logFile = new QFile(logFilePath(), this);
    reopenLogFile();

    terminateTimer = new QTimer(this);
    terminateTimer->setInterval(TerminateTimeoutMs);
    terminateTimer->setSingleShot(true);
    connect(terminateTimer, SIGNAL(timeout()), this, SLOT(procTerminateTimeout()));

    m_retryTimer = new QTimer(this);
    m_retryTimer->setInterval(ConnectRetryDelayMs);
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer, SIGNAL(timeout()), this, SLOT(listenerConnect()));
}

void VPNProcess::reopenLogFile()
{
    logFile->close();
    logFile->setFileName(logFilePath());
    logFile->open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool VPNProcess::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    const auto check = [&]() {
        if (done())
            loop.quit();
    };
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QList<QMetaObject::Connection> connections {
        connect(this, &VPNProcess::vpnStateChanged, &loop, check),
        connect(this, &VPNProcess::tcpLstnrConnected, &loop, check),
        connect(this, &VPNProcess::tcpLstnrDisconnected, &loop, check),
        connect(process, &QProcess::stateChanged, &loop, check),
    };
    limit.start(timeoutMs);
    loop.exec();
    for (const QMetaObject::Connection &c : connections)
        disconnect(c);
    return done();
}

bool VPNProcess::sendCommand(const QByteArray &command)
{
    if (listener->state() != QAbstractSocket::ConnectedState)
        return false;
    QIODevice *device = listener->device();
    device->write(command);
    return device->waitForBytesWritten(LongWaitMs) || device->bytesToWrite() == 0;
}

void VPNProcess::start(const QString &startParamString)
{
    if (m_inStop || m_inStart) {
        // A start that arrives while a stop or the end of a leftover OpenVPN is awaited runs
        // once that is done.
        m_startPending = true;
        m_pendingStartParam = startParamString;
        return;
    }
    m_inStart = true;
    // From here a stop is answered with an end, even while a leftover is still being ended.
    procStatus = ProcConnecting;
    m_goneReported = false;
    m_retryTimer->stop();
    m_attempts = 0;
    if (process->state() != QProcess::NotRunning) {
        m_replacingProcess = true;
        process->kill();
        process->waitForFinished(LongWaitMs);
        m_replacingProcess = false;
    }

    // A client that is not root starts OpenVPN through pkexec and the program folder's helper.
    const bool throughHelper = QFile::exists(PrivilegedCommand::helperPath(appDir));
    aimListener(throughHelper);
    shutDownLeftover();
    m_inStart = false;

    listener->abort();
    if (m_stopPending) {
        // Stopped while a leftover OpenVPN was being ended: no new one is started.
        m_stopPending = false;
        handleProcessGone();
        runPendingStart();
        return;
    }
    m_lines.clear();
    shuttingDownOther = false;
    justConnected = false;
    errorSeen = false;

    reopenLogFile();
    writeNewPassword();

    const PrivilegedCommand command = PrivilegedCommand::openVpnStart(
        appDir, programPath(), configPath, listener->openVpnArguments(), passwordPath,
        QProcess::splitCommand(startParamString), Platform::instance().isElevated(), throughHelper);
    process->start(command.program, command.arguments, QIODevice::ReadWrite);
    runPendingStart();
}

void VPNProcess::runPendingStart()
{
    if (!m_startPending)
        return;
    m_startPending = false;
    QMetaObject::invokeMethod(this, "start", Qt::QueuedConnection,
                              Q_ARG(QString, m_pendingStartParam));
}

void VPNProcess::aimListener(bool throughHelper)
{
    ManagementSocket::Aim aim;
    aim.throughHelper = throughHelper;
    aim.ownFolder = QFileInfo(passwordPath).absolutePath();
    aim.host = host;
    aim.port = ManagementPort;
    listener->aimAt(aim);
}

bool VPNProcess::peerMayBeTold()
{
    if (listener->peerMayBeTold())
        return true;
    Loger::writeLine(tr("[OpenVPN]: the management port is held by a program of another user; "
                        "nothing was sent to it"));
    listener->abort();
    return false;
}

void VPNProcess::shutDownLeftover()
{
    listener->abort();
    m_probingLeftover = true;
    listener->connectToOpenVpn();
    const bool leftover = listener->waitForConnected(LeftoverProbeMs);
    m_probingLeftover = false;
    if (!leftover) {
        listener->abort();
        return;
    }

    if (!peerMayBeTold())
        return;
    shuttingDownOther = true;
    Loger::writeLine(tr("Shutting down another active openvpn process"));
    QByteArray stored;
    QFile storedFile(passwordPath);
    if (storedFile.open(QIODevice::ReadOnly))
        stored = storedFile.read(16);
    storedFile.close();

    // The leftover greets with its password prompt first.
    if (listener->device()->bytesAvailable() == 0)
        listener->device()->waitForReadyRead(LongWaitMs);
    sendCommand(stored + "\r\n");
    sendCommand("signal SIGTERM\r\n");
    terminateTimer->start();
    bool gone = false;
    const QMetaObject::Connection c
        = connect(this, &VPNProcess::tcpLstnrDisconnected, this, [&gone]() { gone = true; });
    waitUntil([&gone]() { return gone; }, LongWaitMs);
    disconnect(c);
    terminateTimer->stop();
}

void VPNProcess::writeNewPassword()
{
    password.clear();
    QFile file(passwordPath);
    if (!Platform::instance().createOwnerOnly(file))
        return;
    quint32 words[2];
    QRandomGenerator::system()->fillRange(words);
    const QByteArray secret
        = QByteArray(reinterpret_cast<const char *>(words), sizeof(words)).toHex();
    if (file.write(secret) != secret.size() || !file.flush())
        return;
    password = QString::fromLatin1(secret);
}

void VPNProcess::processStateChanged(QProcess::ProcessState state)
{
    switch (state) {
    case QProcess::Starting:
        procStatus = ProcConnecting;
        emit vpnStateChanged(ProcConnecting);
        break;
    case QProcess::Running:
        Loger::writeLine(tr("[OpenVPN]: state changed to running"));
        listenerConnect();
        break;
    case QProcess::NotRunning:
        Loger::writeLine(tr("[OpenVPN]: state changed to stopped"));
        m_retryTimer->stop();
        m_attempts = 0;
        if (!m_replacingProcess)
            handleProcessGone();
        break;
    }
}

void VPNProcess::handleProcessGone()
{
    // An OpenVPN that ends while still connecting (a bad configuration, a program that
    // cannot start) is reported as well, so nobody waits for a tunnel that never comes.
    const VPNProcessStatus status = procStatus;
    if (status == ProcUnconnected || m_goneReported)
        return;
    m_goneReported = true;
    listener->abort();
    procStatus = ProcUnconnected;
    emit vpnStateChanged(ProcUnconnected);
}

void VPNProcess::listenerConnect()
{
    if (process->state() != QProcess::Running) {
        m_attempts = 0;
        return;
    }
    listener->abort();
    listener->connectToOpenVpn();
    // A port held by another user's program is dropped as soon as it connects.
    const bool connected = listener->waitForConnected(ConnectAttemptWaitMs)
        && listener->state() == QAbstractSocket::ConnectedState;
    m_attemptsUsed = m_attempts + 1;
    if (connected) {
        m_attempts = 0;
        return;
    }
    listener->abort();
    if (++m_attempts < ConnectAttempts) {
        m_retryTimer->start();
        return;
    }
    m_attempts = 0;
    Loger::writeLine(tr("[OpenVPN]: management interface did not answer"));
    stop();
}

void VPNProcess::listenerStateChanged(QAbstractSocket::SocketState state)
{
    switch (state) {
    case QAbstractSocket::HostLookupState:
        listenerStatus = TCPConnecting;
        break;
    case QAbstractSocket::ConnectedState:
        listenerStatus = TCPConnected;
        if (shuttingDownOther || m_probingLeftover)
            break;
        if (!peerMayBeTold())
            break;
        justConnected = true;
        m_lines.clear();
        sendCommand(password.toLatin1() + "\r\n");
        sendCommand("state on all\r\n");
        emit tcpLstnrConnected();
        break;
    case QAbstractSocket::ClosingState:
        listenerStatus = TCPDisconnecting;
        break;
    case QAbstractSocket::UnconnectedState:
        listenerStatus = TCPUnconnected;
        emit tcpLstnrDisconnected();
        break;
    default:
        break;
    }
}

void VPNProcess::listenerReadyRead()
{
    QStringList lines = m_lines.append(listener->device()->readAll());
    if (justConnected) {
        bool inHistory = true;
        lines = ManagementParser::markHistory(lines, &inHistory);
        justConnected = inHistory;
    }

    for (const QString &line : qAsConst(lines)) {
        if (line.startsWith(QLatin1String(">STATE:")) || line.startsWith(QLatin1String(">FATAL:")))
            emit managementReport(line);
        if (line.startsWith(QLatin1String(">STATE:"))) {
            VPNProcessStatus next;
            switch (ManagementParser::stateOfLine(line)) {
            case ManagementParser::StateKind::Connecting:
                next = ProcConnecting;
                break;
            case ManagementParser::StateKind::Connected:
                next = ProcConnected;
                break;
            case ManagementParser::StateKind::Exiting:
                next = ProcDisconnecting;
                break;
            default:
                continue;
            }
            if (next == procStatus)
                continue;
            procStatus = next;
            emit vpnStateChanged(next);
            if (next == ProcConnected)
                sendCommand("bytecount 1\r\n");
        } else if (line.startsWith(QLatin1String(">BYTECOUNT:"))) {
            int in = 0;
            int out = 0;
            if (ManagementParser::parseByteCount(line, &in, &out))
                emit dataStatChanged(in, out);
        } else if (line.startsWith(QLatin1String(">FATAL:"))) {
            errorSeen = true;
            stop();
            return;
        }

        if (procStatus == ProcDisconnecting && ManagementParser::isSignalConfirmation(line)) {
            // The tunnel is down when OpenVPN has ended, not when it says it will: while it
            // still runs, its end (or the stop's bound) reports it.
            if (!shuttingDownOther && process->state() == QProcess::NotRunning)
                handleProcessGone();
            terminateTimer->stop();
            shuttingDownOther = false;
            emit tcpLstnrDisconnected();
            return;
        }
        if (procStatus == ProcConnected && line.contains(QLatin1String("DISCONNECTED"))) {
            procStatus = ProcDisconnecting;
            stop();
            return;
        }
    }
}

void VPNProcess::stop()
{
    if (m_inStart) {
        m_stopPending = true;
        return;
    }
    if (m_inStop)
        return;
    m_inStop = true;
    // A stop asks for a report of its own, even when the last end was reported already.
    m_goneReported = false;
    m_retryTimer->stop();
    m_attempts = 0;
    // OpenVPN's confirmation of the signal is read as the end of the tunnel from here on.
    if (procStatus != ProcUnconnected)
        procStatus = ProcDisconnecting;

    if (listenerStatus == TCPConnecting
        || (procStatus != ProcUnconnected && listenerStatus == TCPDisconnecting)) {
        waitUntil(
            [this]() { return listenerStatus == TCPConnected || listenerStatus == TCPUnconnected; },
            LongWaitMs);
    }

    if (procStatus == ProcUnconnected || listenerStatus != TCPConnected) {
        if (process->state() == QProcess::NotRunning) {
            handleProcessGone();
        } else {
            process->kill();
            process->waitForFinished(LongWaitMs);
        }
    } else {
        terminateTimer->start();
        sendCommand("signal SIGTERM\r\n");
        // Waiting in an event loop lets the confirmation, the end of the process and the
        // terminate timer all be seen.
        waitUntil(
            [this]() {
                return procStatus == ProcUnconnected && process->state() == QProcess::NotRunning;
            },
            kStopWaitMs);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(LongWaitMs);
        }
        handleProcessGone();
    }

    m_inStop = false;
    runPendingStart();
}

void VPNProcess::procTerminateTimeout()
{
    Platform::instance().endProcessesOf(programPath(), false, LongWaitMs);
    // An OpenVPN that the helper started runs as root, beyond this user's signals: the helper
    // ends it, by force when it ignores SIGTERM.
    if (!Platform::instance().isElevated()
        && QFile::exists(PrivilegedCommand::helperPath(appDir))) {
        const PrivilegedCommand end = PrivilegedCommand::openVpnStop(appDir);
        QProcess helper;
        helper.start(end.program, end.arguments);
        if (!helper.waitForFinished(LongWaitMs))
            helper.kill();
        helper.waitForFinished(LongWaitMs);
    }
    if (!shuttingDownOther)
        handleProcessGone();
    shuttingDownOther = false;
    emit tcpLstnrDisconnected();
}

void VPNProcess::readAllStandardOutput()
{
    const QString text = ManagementParser::outputText(process->readAllStandardOutput());
    if (logFile->isOpen()) {
        logFile->write(text.toUtf8());
        logFile->flush();
    }
    if (ManagementParser::outputReportsError(text))
        errorSeen = true;
}

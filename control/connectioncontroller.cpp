// ConnectionController: the road from a connect action to a verified tunnel and back.

#include "control/connectioncontroller.h"

#include "api/apirequestbuilder.h"
#include "api/replyparsers.h"
#include "api/replysnapshot.h"
#include "api/requestlauncher.h"
#include "api/requestlog.h"
#include "core/childthreads.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "engine/configpatches.h"
#include "engine/openvpnseries.h"
#include "system/networkwatcher.h"
#include "system/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>

// The log lines keep the window's translation context, so that translated logs, and the
// timeline that reads them, stay as they were.

namespace {

// OpenVPN's controller answers every stop; a stop that hangs still ends the wait after its
// own longest wait has passed.
const int StopWaitLimitMs = VPNProcess::LongWaitMs + 5000;
const int NewIpRetryDelayMs = 1000;
const int NewIpMaxRetries = 2;

} // namespace

ConnectionController::ConnectionController(ClientSettings *settings, const QString &dataDir,
                                           const QString &programDir,
                                           const ServiceEndpoints &endpoints, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_endpoints(endpoints)
    , m_dataDir(dataDir)
{
    m_appDir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    m_ssDir = QDir::toNativeSeparators(QDir(m_appDir).filePath(QStringLiteral("shadowsocks")));
    m_tempDir = QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("temp")))
        + QDir::separator();
    m_ovpnConfigPath = m_tempDir + QStringLiteral("openvpn_config.ovpn");
    m_ssConfigPath = m_tempDir + QStringLiteral("ss_config.json");

    // OpenVPN and the mirror tool answer while the window is built; nothing waits for them yet.
    m_vpnProcess = new VPNProcess(m_appDir);
    m_openVpnVersionQuery = m_vpnProcess->startVersionQuery();
    m_mirrorToolVersionQuery = ShadowsocksProcess::startVersionQuery(m_ssDir);

    m_watcher = new NetworkWatcher(this);
    connect(m_watcher, &NetworkWatcher::routeGone, this, &ConnectionController::networkRouteGone);
    connect(m_watcher, &NetworkWatcher::routeBack, this, &ConnectionController::networkRouteBack);
    connect(m_watcher, &NetworkWatcher::routeChanged, this,
            &ConnectionController::networkRouteChanged);
    connect(m_watcher, &NetworkWatcher::wokeUp, this, &ConnectionController::computerWokeUp);
    m_tickTimer = new QTimer(this);
    m_tickTimer->setInterval(1000);
    connect(m_tickTimer, &QTimer::timeout, this, &ConnectionController::tick);
    qRegisterMetaType<DiagnosisFacts>("DiagnosisFacts");
    m_diagnosisTimer = new QTimer(this);
    m_diagnosisTimer->setSingleShot(true);
    connect(m_diagnosisTimer, &QTimer::timeout, this, &ConnectionController::diagnosisTimeout);
}

ConnectionController::~ConnectionController()
{
    // An end asked for by the system skips the quit: OpenVPN still ends politely.
    if (m_vpnProcess && m_state != Unconnected)
        stop(true);
    // A running thread deleted with its owner would abort the process: every thread, the
    // long-lived ones and the request workers alike, leaves its loop first.
    endChildThreads(this, ThreadEndWaitMs);
    // A controller that never reached its thread is deleted here.
    if (m_vpnProcess && !m_vpnThread)
        delete m_vpnProcess;
}

// ---- start-up ---------------------------------------------------------------------------

void ConnectionController::startOpenVpnController()
{
    m_vpnThread = new QThread(this);
    m_vpnProcess->setup(m_dataDir, m_tempDir);
    m_vpnProcess->configPath = m_ovpnConfigPath;
    m_openVpnVersion = VPNProcess::versionFrom(*m_openVpnVersionQuery);
    m_openVpnVersionQuery.reset();
    if (m_openVpnVersion.isEmpty())
        m_openVpnVersion = QStringLiteral("[not installed]");
    m_vpnProcess->moveToThread(m_vpnThread);
    connect(m_vpnThread, SIGNAL(started()), m_vpnProcess, SLOT(init()));
    // OpenVPN's controller is deleted on its own thread once that thread leaves its loop.
    connect(m_vpnThread, SIGNAL(finished()), m_vpnProcess, SLOT(deleteLater()));
    connect(this, SIGNAL(vpnProcessStart(QString)), m_vpnProcess, SLOT(start(QString)),
            Qt::QueuedConnection);
    connect(this, SIGNAL(vpnProcessStop()), m_vpnProcess, SLOT(stop()), Qt::QueuedConnection);
    qRegisterMetaType<VPNProcess::VPNProcessStatus>("VPNProcess::VPNProcessStatus");
    connect(m_vpnProcess, &VPNProcess::vpnStateChanged, this,
            &ConnectionController::vpnStateChanged, Qt::QueuedConnection);
    connect(m_vpnProcess, &VPNProcess::dataStatChanged, this,
            &ConnectionController::vpnDataStatChanged, Qt::QueuedConnection);
    connect(m_vpnProcess, &VPNProcess::managementReport, this,
            &ConnectionController::vpnManagementReport, Qt::QueuedConnection);
    m_vpnThread->start();
}

bool ConnectionController::acceptOpenVpn()
{
    VPNProcess::VPNProcessMode mode = VPNProcess::PM_OpenVPN24;
    if (!OpenVpnSeries::accepts(m_openVpnVersion, OpenVpnSeries::configured(), &mode))
        return false;
    // Nothing has reached OpenVPN's controller yet: its first start is queued after this.
    m_vpnProcess->setMode(mode);
    return true;
}

void ConnectionController::setRequestContext(const std::function<ApiRequestContext()> &context)
{
    m_context = context;
}

void ConnectionController::setTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    m_trustedCertificates = certificates;
}

void ConnectionController::setMirrorActive(bool active)
{
    if (m_mirrorActive == active)
        return;
    m_mirrorActive = active;
    emit mirrorActiveChanged(active);
}

bool ConnectionController::lastAttemptFailed() const
{
    if (m_failureCleared || !m_vpnProcess)
        return false;
    return m_vpnProcess->errorSeen
        || (m_mirrorActive && m_ssProcess && m_ssProcess->stoppedOnError);
}

QString ConnectionController::openVpnLogPath() const
{
    return m_vpnProcess ? m_vpnProcess->logFilePath() : QString();
}

void ConnectionController::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (state == Unconnected) {
        m_tickTimer->stop();
        m_watcher->stop();
        m_waitingForNetwork = false;
        m_restartStopsPending = 0;
        m_restartInFlight = false;
    }
    emit stateChanged(state);
    if (state == Unconnected)
        m_originalIp.clear();
}

// ---- requests ---------------------------------------------------------------------------

void ConnectionController::sendRequest(RequestType type)
{
    ApiRequestContext context = m_context ? m_context() : ApiRequestContext();
    context.useTcp = !m_settings->udp();
    context.protocolLabel = context.useTcp ? QStringLiteral("TCP") : QStringLiteral("UDP");
    const ApiRequest request = ApiRequestBuilder::build(type, context);
    RequestLog::writeRequest(request);

    RequestRoute route;
    route.owner = this;
    route.disposeSignal = SIGNAL(replyReceived());
    route.receiver = this;
    switch (type) {
    case Req_OriginalIP:
        route.replySlot = SLOT(getOriginalIPReply(QNetworkReply *));
        break;
    case Req_MirrorToolConfig:
        route.replySlot = SLOT(getMirrorToolConfigReply(QNetworkReply *));
        break;
    case Req_OpenVPNConfig:
        route.replySlot = SLOT(getOpenVPNConfigReply(QNetworkReply *));
        break;
    default:
        route.replySlot = SLOT(getNewIPReply(QNetworkReply *));
        break;
    }
    route.sslErrorsSlot = SLOT(sendRequestSSLErrors(QNetworkReply *, QList<QSslError>));
    route.timeoutMs = m_settings->requestTimeout();
    route.caCertificates = m_trustedCertificates;
    launchRequest(request, route);
}

void ConnectionController::sendRequestSSLErrors(QNetworkReply *, const QList<QSslError> &errors)
{
    // Logged only: a certificate that fails validation fails the request.
    RequestLog::writeSslErrors(errors);
}

// A reply of the chain that arrives once its connection has been left is logged and
// dropped; its worker is still disposed of. The address through the tunnel belongs to a
// tunnel that is up, the others to a connection still on its way.
bool ConnectionController::replyOutlivedItsConnection(const QString &logPrefix, bool tunnelReply)
{
    if (tunnelReply ? tunnelUp() : m_state == Connecting)
        return false;
    Loger::writeLine(
        logPrefix
        + QCoreApplication::translate(
            "MainWindow", "Interrupt connection status detected. Cancelation reply processing"));
    emit replyReceived();
    return true;
}

// The user's address before the tunnel ([7]) or through it ([8]): logged, its worker
// disposed of, and dropped when its connection has been left meanwhile.
ConnectionController::AddressReply ConnectionController::readAddressReply(RequestType type,
                                                                          QNetworkReply *reply,
                                                                          QString *ip)
{
    RequestLog::writeReplyHeader(type);
    const bool tunnelReply = type == Req_NewIP;
    if (replyOutlivedItsConnection(tunnelReply ? QStringLiteral("[8]: ") : QStringLiteral("[7]: "),
                                   tunnelReply))
        return AddressReply::Dropped;
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    *ip = parseUserIp(envelope.object);
    if (envelope.ok && !ip->isEmpty())
        return AddressReply::Read;
    RequestLog::writeFailure(type, envelope.ok ? Exc_Decode : envelope.failure,
                             snapshot.errorString);
    return AddressReply::Failed;
}

// ---- the chain --------------------------------------------------------------------------

void ConnectionController::connectRoute()
{
    if (!m_vpnProcess)
        return;
    m_failureCleared = false;
    m_errorAcknowledged = false;
    armDiagnosis();
    setState(Connecting);
    m_traffic = Traffic();
    sendRequest(Req_OriginalIP);
}

void ConnectionController::getOriginalIPReply(QNetworkReply *reply)
{
    QString ip;
    const AddressReply read = readAddressReply(Req_OriginalIP, reply, &ip);
    if (read == AddressReply::Dropped)
        return;
    if (read == AddressReply::Failed) {
        stop(false);
        startDiagnosis();
        emit failed(6, {});
        return;
    }
    m_originalIp = ip;
    Loger::writeLine(QStringLiteral("[7]: ")
                     + QCoreApplication::translate("MainWindow", "Real IP received"));
    sendRequest(m_mirrorActive ? Req_MirrorToolConfig : Req_OpenVPNConfig);
}

void ConnectionController::getOpenVPNConfigReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_OpenVPNConfig);
    if (replyOutlivedItsConnection(QStringLiteral("[9]: ")))
        return;
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();

    bool saved = false;
    if (snapshot.failedWithoutBody() || snapshot.error != QNetworkReply::NoError) {
        RequestLog::writeFailure(Req_OpenVPNConfig, Exc_Network, snapshot.errorString);
    } else {
        QFile file(m_ovpnConfigPath);
        if (!Platform::instance().createOwnerOnly(file)) {
            Loger::writeLine(QStringLiteral("[9]: ")
                             + QCoreApplication::translate(
                                 "MainWindow", "Unable to save openvpn configuration in file"));
        } else {
            QByteArray config = patchDevice(snapshot.body);
            if (m_mirrorActive)
                config = patchMirror(config, m_ssConfigPath, m_mirrorEndpoint);
            if (m_settings->dnsProtection())
                config = patchDNS(config, m_appDir, m_tempDir);
            config = removeUnsafeLines(config, OpenVpnSeries::longLines(m_openVpnVersion));
            saved = file.write(config) == config.size();
            file.close();
            if (!saved)
                Loger::writeLine(QStringLiteral("[9]: ")
                                 + QCoreApplication::translate(
                                     "MainWindow", "Unable to save openvpn configuration in file"));
        }
    }
    if (!saved) {
        stop(false);
        emit failed(5, {});
        return;
    }
    Loger::writeLine(
        QStringLiteral("[9]: ")
        + QCoreApplication::translate("MainWindow",
                                      "openvpn configuration has been successfully saved in file"));
    Loger::writeLine(QCoreApplication::translate("MainWindow", "Initializing VPN connection"));
    m_openVpnStarted = true;
    emit vpnProcessStart(QString());
}

void ConnectionController::vpnStateChanged(VPNProcess::VPNProcessStatus status)
{
    switch (status) {
    case VPNProcess::ProcUnconnected:
        // The end of an OpenVPN that was left before this connection asked for one.
        if (!m_openVpnStarted && m_state == Connecting)
            return;
        // The end of the OpenVPN that a restart of the tunnel replaces.
        if (m_restartStopsPending > 0) {
            --m_restartStopsPending;
            return;
        }
        m_openVpnStarted = false;
        setState(Unconnected);
        emit vpnProcessStopped();
        // OpenVPN ended with an error before the tunnel came up.
        if (m_vpnProcess && m_vpnProcess->errorSeen)
            startDiagnosis();
        break;
    case VPNProcess::ProcConnected:
        if (m_state == Disconnecting || m_state == Unconnected)
            break;
        disarmDiagnosis(true);
        m_restartStopsPending = 0;
        m_restartInFlight = false;
        if (m_state == Connecting)
            setState(TunnelUp);
        sendRequest(Req_NewIP);
        break;
    case VPNProcess::ProcConnecting:
        // OpenVPN's own restart (its ping-restart, a lost TCP connection) of a verified tunnel.
        if (m_state == Verified) {
            Loger::writeLine(QCoreApplication::translate(
                "MainWindow", "Network: OpenVPN is reconnecting by itself"));
            m_reconnectClock.start();
            enterReconnecting(false);
        }
        break;
    case VPNProcess::ProcDisconnecting:
        break;
    }
}

void ConnectionController::getNewIPReply(QNetworkReply *reply)
{
    // An answer that arrives after a disconnect must not start the connection clock again.
    QString ip;
    const AddressReply read = readAddressReply(Req_NewIP, reply, &ip);
    if (read == AddressReply::Dropped)
        return;
    if (read == AddressReply::Failed) {
        ++m_newIpRetries;
        if (m_newIpRetries <= NewIpMaxRetries) {
            Loger::writeLine(
                QStringLiteral("[10]: ")
                + QCoreApplication::translate("MainWindow", "retrying network request (retry: %0)")
                      .arg(m_newIpRetries));
            QTimer::singleShot(NewIpRetryDelayMs, this, &ConnectionController::getNewIPRetry);
        } else {
            m_newIpRetries = 0;
            stop(true);
            emit failed(7, {});
        }
        return;
    }
    m_newIp = ip;
    m_newIpRetries = 0;
    Loger::writeLine(
        QStringLiteral("[8]: ")
        + QCoreApplication::translate("MainWindow", "User's IP through VPN connection received"));

    // Equal addresses mean the traffic does not go through the tunnel: that is never shown
    // or reported as a connection.
    if (m_originalIp.compare(m_newIp, Qt::CaseInsensitive) == 0) {
        Loger::writeLine(QStringLiteral("[8]: ")
                         + QCoreApplication::translate(
                             "MainWindow",
                             "User's IP before and after VPN connection establishment are "
                             "equal"));
        emit failed(11, {});
        stop(true);
        return;
    }
    if (m_state == Reconnecting) {
        // The connection goes on: its clock keeps counting.
        Loger::writeLine(QCoreApplication::translate("MainWindow", "Network: reconnected in %1 s")
                             .arg(double(m_reconnectClock.elapsed()) / 1000.0, 0, 'f', 1));
        m_waitingForNetwork = false;
    } else {
        m_connectedSeconds = 0;
    }
    m_tickTimer->start();
    // A tunnel verified again is shown anew.
    if (m_state == Verified)
        emit stateChanged(Verified);
    setState(Verified);
    watchNetwork();
}

void ConnectionController::getNewIPRetry()
{
    if (tunnelUp())
        sendRequest(Req_NewIP);
}

// ---- ticks ------------------------------------------------------------------------------

void ConnectionController::vpnDataStatChanged(int in, int out)
{
    emit trafficChanged(in, out);
    m_traffic.receivedSinceTick += in - m_traffic.receivedTotal;
    m_traffic.receivedTotal = in;
    m_traffic.sentSinceTick += out - m_traffic.sentTotal;
    m_traffic.sentTotal = out;
}

void ConnectionController::tick()
{
    if (!m_vpnProcess)
        return;
    ++m_connectedSeconds;
    if (m_vpnProcess->errorSeen && !m_errorAcknowledged) {
        if (m_vpnProcess->procStatus != VPNProcess::ProcConnected) {
            m_tickTimer->stop();
            stop(false);
        } else {
            m_errorAcknowledged = true;
        }
    }
    emit ticked(m_connectedSeconds, m_traffic.receivedSinceTick, m_traffic.sentSinceTick);
    m_traffic.receivedSinceTick = 0;
    m_traffic.sentSinceTick = 0;
}

// ---- stop -------------------------------------------------------------------------------

void ConnectionController::abort()
{
    Loger::writeLine(QCoreApplication::translate("MainWindow", "Stopping VPN connection"));
    disarmDiagnosis(true);
    stop(true);
}

void ConnectionController::stop(bool wait)
{
    // After the quit there is nothing left to stop.
    if (!m_vpnProcess)
        return;
    const bool alreadyStopping = m_state == Disconnecting;
    m_state = Disconnecting;
    m_watcher->stop();
    m_waitingForNetwork = false;
    if (m_openVpnStarted)
        emit vpnProcessStop();
    else
        QMetaObject::invokeMethod(this, &ConnectionController::finishStopWithoutOpenVpn,
                                  Qt::QueuedConnection);
    Loger::writeLine(QCoreApplication::translate("MainWindow", "openvpn process closed"));
    // A second stop of the same end (the diagnosis after a failed request) says it again
    // in the log but is not a new state.
    if (!alreadyStopping)
        emit stateChanged(Disconnecting);

    if (m_state != Unconnected && wait)
        waitFor(SIGNAL(vpnProcessStopped()));

    if (m_mirrorActive && m_ssProcess
        && m_ssProcess->status != ShadowsocksProcess::Shadowsocks_NotRunning) {
        if (wait) {
            emit shadowsocksProcessStop();
            waitFor(SIGNAL(shadowsocksProcessStopped()));
        } else {
            emit shadowsocksProcessStop();
        }
    }
}

// A stop before OpenVPN was asked to start ends as OpenVPN's own end would be reported.
void ConnectionController::finishStopWithoutOpenVpn()
{
    if (m_state == Disconnecting && !m_openVpnStarted)
        vpnStateChanged(VPNProcess::ProcUnconnected);
}

// A local loop, bounded, so that the window stays drawn while a controller ends its child.
void ConnectionController::waitFor(const char *signal)
{
    QEventLoop loop;
    connect(this, signal, &loop, SLOT(quit()));
    QTimer::singleShot(StopWaitLimitMs, &loop, SLOT(quit()));
    loop.exec();
}

void ConnectionController::shutDown()
{
    stop(true);
    // The controllers are deleted on their threads as these end; the threads are joined
    // here, so that nothing can reach a controller that is gone.
    for (QThread *thread : {m_vpnThread, m_ssThread}) {
        if (thread && thread->isRunning())
            thread->quit();
    }
    for (QThread *thread : {m_vpnThread, m_ssThread}) {
        if (thread)
            thread->wait(ThreadEndWaitMs);
    }
    m_vpnProcess = nullptr;
    m_ssProcess = nullptr;
}

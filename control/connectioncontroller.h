#pragma once

#include "api/apirequestcontext.h"
#include "api/requesttype.h"
#include "api/serviceendpoints.h"
#include "engine/diagnosisfacts.h"
#include "engine/mirrorendpoint.h"
#include "engine/shadowsocksprocess.h"
#include "engine/vpnprocess.h"

#include <functional>
#include <memory>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QStringList>

class ClientSettings;
class NetworkWatcher;
class QNetworkReply;
class QSslError;
class QThread;
class QTimer;
class VersionQuery;

// Owns the connection: OpenVPN's and the mirror tool's controllers on their threads, the
// chain of requests from a connect action to a verified tunnel (the user's address, the
// mirror tool's and OpenVPN's configurations, OpenVPN, the address through the tunnel), the
// one-second tick, the stop, and the diagnosis of a connection that does not come up with
// the road that works. It knows no widget: views follow state() and the signals below.
class ConnectionController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)

public:
    // TunnelUp: OpenVPN reports its tunnel; Verified: the address seen through it differs
    // from the one seen before it; Reconnecting: a verified tunnel lost its way to the server
    // (the network changed, the computer woke, OpenVPN restarts by itself) and is being made
    // again, or waits for the network to come back.
    enum State { Unconnected, Connecting, TunnelUp, Verified, Disconnecting, Reconnecting };
    Q_ENUM(State)

    // Version questions to OpenVPN and the mirror tool start here and run while the caller
    // builds its window; `programDir` holds ovpn/, shadowsocks/ and scripts/.
    ConnectionController(ClientSettings *settings, const QString &dataDir,
                         const QString &programDir, const ServiceEndpoints &endpoints,
                         QObject *parent = nullptr);
    ~ConnectionController() override;

    // ---- start-up, in this order ----
    // Starts OpenVPN's controller on its thread and reads the installed version ("[not
    // installed]" when it gives none).
    void startOpenVpnController();
    QString openVpnVersion() const { return m_openVpnVersion; }
    // False when the installed OpenVPN is of a series the client does not drive.
    bool acceptOpenVpn();
    // Starts the mirror tool's controller on its thread and reads whether the tool is there.
    void startMirrorToolController();
    bool mirrorToolFound() const { return m_mirrorToolFound; }

    // The account and route of the next requests, asked for at every request.
    void setRequestContext(const std::function<ApiRequestContext()> &context);
    void setTrustedCertificates(const QList<QSslCertificate> &certificates);
    // The sign-in decides whether connections go through the mirror route.
    void setMirrorActive(bool active);
    bool mirrorActive() const { return m_mirrorActive; }

    // ---- actions ----
    // Starts the chain towards a verified tunnel for the route the context names now.
    void connectRoute();
    // Stops OpenVPN (and the mirror tool); with `wait`, returns once both are down or a
    // bound has passed.
    void stop(bool wait);
    // The user's stop: also ends a pending diagnosis and hides its verdict.
    void abort();
    // The quit: stops, then ends both controllers' threads. Nothing runs afterwards.
    void shutDown();
    // Takes the road the last diagnosis offered.
    void takeDiagnosisRoad();
    // A failure of the last tunnel is not shown any more (another subscription is chosen).
    void clearFailure() { m_failureCleared = true; }

    // ---- what views show ----
    State state() const { return m_state; }
    // OpenVPN runs a tunnel of this connection (up, verified, or being made again).
    bool tunnelUp() const
    {
        return m_state == TunnelUp || m_state == Verified || m_state == Reconnecting;
    }
    // Reconnecting, and the route to the VPN server is gone: nothing is tried until it is back.
    bool waitingForNetwork() const { return m_waitingForNetwork; }
    // The last attempt ended on an error of OpenVPN or of the mirror tool.
    bool lastAttemptFailed() const;
    QString originalIp() const { return m_originalIp; }
    QString newIp() const { return m_newIp; }
    QString openVpnLogPath() const;
    int connectedSeconds() const { return m_connectedSeconds; }
    // OpenVPN's controller, to read (it lives on its own thread).
    const VPNProcess *openVpnController() const { return m_vpnProcess; }
    // How long the window waits at its end for each thread before leaving it to end alone.
    static constexpr int ThreadEndWaitMs = 10000;

signals:
    void stateChanged(ConnectionController::State state);
    // A failure that the user is told of with the message dialog of this code.
    void failed(int dialogCode, const QStringList &arguments);
    // OpenVPN's byte counts since its start.
    void trafficChanged(qint64 received, qint64 sent);
    // Once a second while verified: seconds connected and bytes in the last second.
    void ticked(int seconds, qint64 receivedPerSecond, qint64 sentPerSecond);
    void mirrorActiveChanged(bool active);
    // The diagnosis: probes started, a verdict found (kinds and roads of DiagnosisVerdict),
    // a road taken (by the user or by itself), the verdict no longer current.
    void diagnosisStarted();
    void diagnosisFound(int kind, int road);
    void diagnosisRoadTaken(int road, bool automatically);
    void diagnosisHidden();
    // The chosen road asks for a new connection of the same route, or for another server.
    void reconnectRequested();
    void serverChoiceRequested();

    // Internal hand-overs to the controllers on their threads.
    void vpnProcessStart(const QString &startParamString);
    void vpnProcessStop();
    void vpnProcessStopped();
    void shadowsocksProcessStart();
    void shadowsocksProcessStop();
    void shadowsocksProcessStarted();
    void shadowsocksProcessStopped();
    // Every reply slot emits it once it has read its reply: it disposes of the workers.
    void replyReceived();

public slots:
    // What the network watcher decides; the tunnel follows. Each is ignored unless a tunnel
    // of this connection is up or being made again.
    void networkRouteGone();
    void networkRouteBack();
    void networkRouteChanged();
    void computerWokeUp();

private slots:
    void getOriginalIPReply(QNetworkReply *reply);
    void getMirrorToolConfigReply(QNetworkReply *reply);
    void getOpenVPNConfigReply(QNetworkReply *reply);
    void getNewIPReply(QNetworkReply *reply);
    void getNewIPRetry();
    void sendRequestSSLErrors(QNetworkReply *reply, const QList<QSslError> &errors);
    void vpnStateChanged(VPNProcess::VPNProcessStatus status);
    void vpnDataStatChanged(int in, int out);
    void shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus state);
    void tick();
    void finishStopWithoutOpenVpn();
    void diagnosisTimeout();
    void diagnosisFinished(const DiagnosisFacts &probed);
    void vpnManagementReport(const QString &line);

private:
    void setState(State state);
    // connectionnetwork.cpp
    void watchNetwork();
    void enterReconnecting(bool waiting);
    void restartTunnel(const char *logText);
    void sendRequest(RequestType type);
    bool replyOutlivedItsConnection(const QString &logPrefix, bool tunnelReply = false);
    enum class AddressReply { Read, Failed, Dropped };
    AddressReply readAddressReply(RequestType type, QNetworkReply *reply, QString *ip);
    void waitFor(const char *signal);

    // connectiondiagnosis.cpp
    void armDiagnosis();
    void disarmDiagnosis(bool hideVerdict);
    void startDiagnosis();
    void takeRoad(int road, bool automatically);

    ClientSettings *m_settings = nullptr;
    ServiceEndpoints m_endpoints;
    std::function<ApiRequestContext()> m_context;
    QList<QSslCertificate> m_trustedCertificates;
    QString m_dataDir;
    QString m_appDir;
    QString m_tempDir;
    QString m_ovpnConfigPath;
    QString m_ssConfigPath;
    QString m_ssDir;

    State m_state = Unconnected;
    QThread *m_vpnThread = nullptr;
    VPNProcess *m_vpnProcess = nullptr;
    QThread *m_ssThread = nullptr;
    ShadowsocksProcess *m_ssProcess = nullptr;
    std::unique_ptr<VersionQuery> m_openVpnVersionQuery;
    std::unique_ptr<VersionQuery> m_mirrorToolVersionQuery;
    QString m_openVpnVersion;
    bool m_mirrorToolFound = false;
    bool m_mirrorActive = false;
    MirrorEndpoint m_mirrorEndpoint;
    // OpenVPN was asked to start and has not reported its end yet.
    bool m_openVpnStarted = false;
    bool m_failureCleared = false;
    // An error OpenVPN reported while its tunnel was up has been seen by the tick.
    bool m_errorAcknowledged = false;

    NetworkWatcher *m_watcher = nullptr;
    bool m_waitingForNetwork = false;
    // OpenVPN ends of a restart of the tunnel still to come: they are not the connection's end.
    int m_restartStopsPending = 0;
    // A restart was asked of OpenVPN and its new tunnel is not up yet.
    bool m_restartInFlight = false;
    QElapsedTimer m_reconnectClock;

    QTimer *m_tickTimer = nullptr;
    QString m_originalIp;
    QString m_newIp;
    int m_connectedSeconds = 0;
    int m_newIpRetries = 0;
    struct Traffic
    {
        qint64 receivedSinceTick = 0;
        qint64 receivedTotal = 0;
        qint64 sentSinceTick = 0;
        qint64 sentTotal = 0;
    } m_traffic;

    QTimer *m_diagnosisTimer = nullptr;
    QStringList m_managementReport;
    bool m_diagnosisArmed = false;
    bool m_autoSwitchPending = false;
    bool m_connectionByAutoSwitch = false;
    int m_diagnosisRoad = 0;
    QElapsedTimer m_connectStarted;
    DiagnosisFacts m_diagnosisBase;
};

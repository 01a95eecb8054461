#pragma once

#include "engine/managementlinebuffer.h"
#include "engine/versionquery.h"

#include <atomic>
#include <functional>
#include <memory>

#include <QAbstractSocket>
#include <QObject>
#include <QProcess>
#include <QString>

class ManagementSocket;
class QFile;
class QTimer;

// Runs OpenVPN as a child process and follows it through its management interface (a Unix
// socket on Linux, the loopback port on Windows): management notifications become a small
// status machine and byte counters, and a stop asks OpenVPN to end politely before it is
// killed. Lives on a thread of its own; the connection controller reaches it through queued
// signals and reads procStatus and errorSeen directly (hence atomic). Only this class writes
// them.
class VPNProcess : public QObject
{
    Q_OBJECT

public:
    enum VPNProcessStatus { ProcUnconnected, ProcConnecting, ProcConnected, ProcDisconnecting };
    Q_ENUM(VPNProcessStatus)

    enum TCPListenerStatus { TCPUnconnected, TCPConnected, TCPDisconnecting, TCPConnecting };
    Q_ENUM(TCPListenerStatus)

    enum VPNProcessMode { PM_OpenVPN23, PM_OpenVPN24 };
    Q_ENUM(VPNProcessMode)

    static constexpr quint16 ManagementPort = 7505;
    static constexpr int TerminateTimeoutMs = 10000;
    static constexpr int ConnectAttempts = 10;
    static constexpr int ConnectAttemptWaitMs = 500;
    static constexpr int ConnectRetryDelayMs = 500;
    static constexpr int LeftoverProbeMs = 5000;
    // Every wait on the controller's thread ends after this at the latest.
    static constexpr int LongWaitMs = 30000;

    // `appDir` is the program folder holding "ovpn/"; empty means the executable's folder.
    explicit VPNProcess(const QString &appDir = QString(), QObject *parent = nullptr);
    ~VPNProcess() override;

    void setup(const QString &dataFolder, const QString &tempFolder);
    void setMode(VPNProcessMode mode);
    // The installed OpenVPN's version ("2.4.9"), or a null string when it gives none.
    QString version() const;
    // The same in two halves: the question starts `openvpn --version` and returns at once;
    // versionFrom() waits for its answer and reads the version from it.
    std::unique_ptr<VersionQuery> startVersionQuery() const;
    static QString versionFrom(VersionQuery &query);

    QString programPath() const;
    QString logFilePath() const;
    QString managementHost() const;
    // Connection attempts the last start needed to reach the management interface.
    int connectAttemptsUsed() const;

    QProcess *process = nullptr;
    ManagementSocket *listener = nullptr;
    QFile *logFile = nullptr;
    QString appDir;
    QString dataDir;
    QString configPath;
    QString passwordPath;
    QString password;
    std::atomic<VPNProcessStatus> procStatus {ProcUnconnected};
    TCPListenerStatus listenerStatus = TCPUnconnected;
    QString host = QStringLiteral("::ffff:127.0.0.1");
    QTimer *terminateTimer = nullptr;
    std::atomic<bool> errorSeen {false};
    bool justConnected = false;
    bool shuttingDownOther = false;

signals:
    void vpnStateChanged(VPNProcess::VPNProcessStatus status);
    void tcpLstnrConnected();
    void tcpLstnrDisconnected();
    void dataStatChanged(int in, int out);
    // Every ">STATE:" and ">FATAL:" line, as OpenVPN reported it, for a diagnosis.
    void managementReport(const QString &line);

public slots:
    void init();
    void start(const QString &startParamString);
    void stop();
    void readAllStandardOutput();
    void processStateChanged(QProcess::ProcessState state);
    void listenerStateChanged(QAbstractSocket::SocketState state);
    void listenerReadyRead();
    void listenerConnect();
    void procTerminateTimeout();

private:
    void handleProcessGone();
    void shutDownLeftover();
    // Whether the program at the management interface may be given a password (root's or
    // this user's); otherwise the connection is dropped and the refusal logged.
    bool peerMayBeTold();
    // Points the management connection at where the next OpenVPN listens.
    void aimListener(bool throughHelper);
    void writeNewPassword();
    void runPendingStart();
    void reopenLogFile();
    bool sendCommand(const QByteArray &command);
    // Runs a local event loop until `done` holds, checked again whenever the controller
    // reports something or the process changes state; ends after `timeoutMs` at the latest.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    QTimer *m_retryTimer = nullptr;
    ManagementLineBuffer m_lines;
    int m_attempts = 0;
    std::atomic<int> m_attemptsUsed {0};
    bool m_probingLeftover = false;
    bool m_replacingProcess = false;
    // The end of the current OpenVPN (or the current stop) has been reported. The controller
    // may already have begun the next connection, so the same end
    // reported again when the process is finally reaped would mark that connection
    // unconnected and its replies would be dropped.
    bool m_goneReported = false;
    bool m_inStop = false;
    bool m_inStart = false;
    bool m_stopPending = false;
    bool m_startPending = false;
    QString m_pendingStartParam;
};

Q_DECLARE_METATYPE(VPNProcess::VPNProcessStatus)

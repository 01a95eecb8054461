#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QFile;
class QSocketNotifier;
class QIODevice;
class QLocalServer;
class QTcpServer;
class QTimer;

// Plays OpenVPN 2.4 toward a management client: password prompt, state history and
// real-time states, byte counts, "signal SIGTERM". Its behaviour is scripted by lines
// "#standin <word> [value]" in the configuration file it is given, or in the file
// "standin-script" beside the program (the client writes configurations without comments):
//   fatal                  sends ">FATAL:" once connecting and keeps running
//   error-output           prints an "ERROR" line on standard output at start
//   exit-while-connecting  exits with code 1 once connecting
//   no-management          never opens the management port
//   hold-connecting        stays in WAIT and never connects
//   reconnect              after connecting, goes through RECONNECTING and connects again
//   ignore-sigterm         leaves "signal SIGTERM" unanswered and ignores the real SIGTERM
//   big-bytecount          sends a count beyond 2147483647 before every regular one
//   drop-tunnel MS         MS after connecting, reports a line with "DISCONNECTED"
//   garbage                after connecting, sends 1 MiB without a line end, then binary junk
//   history-only           sends no real-time states: only "state all" tells them
//   connect-delay MS       pause before the first state and between two states (default 50 ms)
//   exit-delay MS          after "signal SIGTERM" and the EXITING state, runs MS more before
//   exiting
class Standin : public QObject
{
    Q_OBJECT

public:
    struct Script
    {
        bool fatal = false;
        bool errorOutput = false;
        bool exitWhileConnecting = false;
        bool noManagement = false;
        bool holdConnecting = false;
        bool reconnect = false;
        bool ignoreSigterm = false;
        bool bigByteCount = false;
        bool garbage = false;
        bool historyOnly = false;
        int dropTunnelMs = -1;
        int connectDelayMs = 50;
        int exitDelayMs = 0;
    };

    Standin(const Script &script, const QString &logPath, QObject *parent = nullptr);

    // host and port, or a Unix socket's path and port 0.
    bool listen(const QString &host, quint16 port, const QString &passwordFile);
    void run();
    void installSigtermHandler();

    // The script lines of every file of `paths` that exists, later files adding to earlier.
    static Script readScript(const QStringList &paths);

private:
    static void readScript(const QString &path, Script *into);
    struct Client
    {
        QByteArray buffer;
        bool authorised = false;
        bool stateOn = false;
        int passwordTries = 0;
        int byteCountSeconds = 0;
        qint64 lastByteCount = 0;
    };

    void out(const QString &text);
    void advance();
    void enterState(const QString &state, const QString &description);
    void onNewConnection();
    void onReadyRead(QIODevice *socket);
    void command(QIODevice *socket, const QByteArray &line);
    QList<QIODevice *> clients(bool withStates) const;
    void send(QIODevice *socket, const QByteArray &text);
    void broadcastState(const QByteArray &line);
    void sendByteCounts();
    void exitNow(int code);
    void onSigterm();

    Script m_script;
    QFile *m_log = nullptr;
    QTcpServer *m_server = nullptr;
    QLocalServer *m_localServer = nullptr;
    QByteArray m_password;
    QHash<QIODevice *, Client> m_clients;
    QList<QByteArray> m_history;
    QStringList m_plan;
    int m_step = 0;
    bool m_connected = false;
    bool m_reconnected = false;
    qint64 m_bytesIn = 0;
    qint64 m_bytesOut = 0;
    QTimer *m_stepTimer = nullptr;
    QTimer *m_byteTimer = nullptr;
    QSocketNotifier *m_sigtermNotifier = nullptr;
};

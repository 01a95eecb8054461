#pragma once

#include "engine/versionquery.h"

#include <atomic>
#include <memory>

#include <QObject>
#include <QProcess>
#include <QString>

// Runs the mirror tool (shadowsocks-libev's ss-local) as a local SOCKS proxy for OpenVPN.
// Lives on a thread of its own: it is created without a parent and moved there, and builds its
// process in init(), which runs on that thread. The connection controller reads `status` and
// `stoppedOnError` directly from its own thread, so both are atomic.
class ShadowsocksProcess : public QObject
{
    Q_OBJECT

public:
    enum ShadowsocksProcessStatus {
        Shadowsocks_NotRunning = 0,
        Shadowsocks_Starting = 1,
        Shadowsocks_Running = 2
    };
    Q_ENUM(ShadowsocksProcessStatus)

    explicit ShadowsocksProcess(QObject *parent = nullptr);

    // The program: toolDir + "/" + "ss-local" (with ".exe" on Windows).
    QString programPath() const;
    static QString programIn(const QString &toolDir);

    // The tool's version ("3.3.5"), or a null text when it is missing or does not say.
    // Called before the object moves to its thread.
    QString version() const;
    // The same in two halves: the question starts the tool in `toolDir` and returns at once;
    // versionFrom() waits for its answer and reads the version from it.
    static std::unique_ptr<VersionQuery> startVersionQuery(const QString &toolDir);
    static QString versionFrom(VersionQuery &query);

    // Ends every running process of this program file and their children. False only when
    // ending was refused or failed within five seconds.
    bool killAll() const;

    QProcess *process = nullptr;
    // The folder of the program; the executable's folder + "/shadowsocks" in the product.
    QString toolDir;
    // The tool's configuration, always handed to it with "-c".
    QString configPath;
    std::atomic<ShadowsocksProcessStatus> status {Shadowsocks_NotRunning};
    std::atomic<bool> stoppedOnError {false};

signals:
    void shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus state);
    void started();
    void stopped();

public slots:
    void init();
    void start();
    void stop();
    void readAllStandardOutput();
    void processStateChanged(QProcess::ProcessState state);

private:
    void reportNotRunning();

    QByteArray m_pendingOutput;
    bool m_listeningReported = false;
};

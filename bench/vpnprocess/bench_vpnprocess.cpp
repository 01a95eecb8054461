// Start-to-connected time of VPNProcess against the OpenVPN stand-in (states reached at once),
// as median and worst of several runs:
//   prepare   start() queued -> process starting (leftover probe, password file, fork)
//   exec      process starting -> running
//   reach     running -> management connected (the stand-in starting to listen, and the
//             fixed 500 ms pauses between connection attempts)
//   dialogue  management connected -> ProcConnected (password, state history)
//   stop      stop() queued -> ProcUnconnected
// Uses the fixed management port 7505: run it while no OpenVPN or test uses that port.

#include "core/loger.h"
#include "engine/vpnprocess.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

namespace {

QElapsedTimer g_clock;

qint64 nowUs()
{
    return g_clock.nsecsElapsed() / 1000;
}

struct Figures
{
    QList<double> prepare, exec, reach, waits, dialogue, total, own, stop;
    QList<int> attempts;
};

void print(const char *name, QList<double> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%-28s median %9.2f ms   max %9.2f ms\n", name, values.at(values.size() / 2),
                values.last());
}

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 20;
    g_clock.start();

    QTemporaryDir dir;
    const QString appDir = dir.path() + "/app";
    const QString dataDir = dir.path() + "/data";
    QDir().mkpath(appDir + "/ovpn");
    QDir().mkpath(dataDir + "/logs");
    QDir().mkpath(dataDir + "/temp");
    const QString program = appDir + "/ovpn/openvpn";
    if (!QFile::copy(QStringLiteral(STANDIN_PATH), program)) {
        std::fprintf(stderr, "cannot copy the stand-in\n");
        return 1;
    }
    QFile config(dataDir + "/temp/openvpn_config.ovpn");
    config.open(QIODevice::WriteOnly);
    config.write("client\n#standin connect-delay 0\n");
    config.close();
    Loger::init(dataDir + "/logs", false, false, "kestrunevpn");

    QThread thread;
    auto *proc = new VPNProcess(appDir);
    proc->setup(dataDir, dataDir + "/temp");
    proc->configPath = config.fileName();
    proc->moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, proc, &VPNProcess::init);
    QObject::connect(&thread, &QThread::finished, proc, &QObject::deleteLater);

    std::atomic<qint64> tStarting {0}, tRunning {0}, tManagement {0}, tConnected {0}, tStopped {0};
    QObject::connect(
        proc, &VPNProcess::vpnStateChanged, proc,
        [&](VPNProcess::VPNProcessStatus s) {
            if (s == VPNProcess::ProcConnecting && tStarting == 0)
                tStarting = nowUs();
            else if (s == VPNProcess::ProcConnected)
                tConnected = nowUs();
            else if (s == VPNProcess::ProcUnconnected)
                tStopped = nowUs();
        },
        Qt::DirectConnection);
    QObject::connect(
        proc, &VPNProcess::tcpLstnrConnected, proc, [&]() { tManagement = nowUs(); },
        Qt::DirectConnection);
    QObject::connect(
        Loger::notifier(), &Loger::lineAdded, proc,
        [&](const QString &line) {
            if (line.endsWith("state changed to running"))
                tRunning = nowUs();
        },
        Qt::DirectConnection);
    thread.start();

    Figures fig;
    for (int i = 0; i < runs; ++i) {
        tStarting = tRunning = tManagement = tConnected = tStopped = 0;
        proc->procStatus = VPNProcess::ProcConnecting;
        const qint64 t0 = nowUs();
        QMetaObject::invokeMethod(proc, "start", Qt::QueuedConnection, Q_ARG(QString, QString()));
        if (!waitFor([&]() { return tConnected != 0; }, 20000)) {
            std::fprintf(stderr, "run %d: no connected state\n", i);
            return 1;
        }
        const int attempts = proc->connectAttemptsUsed();
        const double waits = (attempts - 1) * double(VPNProcess::ConnectRetryDelayMs);
        fig.prepare.append((tStarting - t0) / 1000.0);
        fig.exec.append((tRunning - tStarting) / 1000.0);
        fig.reach.append((tManagement - tRunning) / 1000.0);
        fig.waits.append(waits);
        fig.dialogue.append((tConnected - tManagement) / 1000.0);
        fig.total.append((tConnected - t0) / 1000.0);
        fig.own.append((tStarting - t0) / 1000.0 + (tConnected - tManagement) / 1000.0);
        fig.attempts.append(attempts);

        proc->procStatus = VPNProcess::ProcDisconnecting;
        const qint64 s0 = nowUs();
        tStopped = 0;
        QMetaObject::invokeMethod(proc, "stop", Qt::QueuedConnection);
        if (!waitFor([&]() { return tStopped != 0; }, 20000)) {
            std::fprintf(stderr, "run %d: no stop\n", i);
            return 1;
        }
        fig.stop.append((tStopped - s0) / 1000.0);
    }

    std::printf("VPNProcess against the stand-in, %d runs\n", runs);
    print("start -> process starting", fig.prepare);
    print("starting -> running", fig.exec);
    print("running -> management up", fig.reach);
    print("  of which fixed pauses", fig.waits);
    print("management up -> connected", fig.dialogue);
    print("start -> connected (total)", fig.total);
    print("controller's own share", fig.own);
    print("stop -> unconnected", fig.stop);
    int maxAttempts = 0;
    for (int a : qAsConst(fig.attempts))
        maxAttempts = std::max(maxAttempts, a);
    std::printf("connection attempts per start: max %d\n", maxAttempts);
    // The lines tools/bench.sh collects (bench/README.md).
    const auto median = [](QList<double> v) {
        std::sort(v.begin(), v.end());
        return v.at(v.size() / 2);
    };
    std::printf("BENCH\tOpenVPN controller: start -> connected (median)\t%.1f\tms\t-\t-\n",
                median(fig.total));
    std::printf("BENCH\t  of which the design's fixed pauses\t%.1f\tms\t-\t-\n", median(fig.waits));
    std::printf("BENCH\t  controller's own share\t%.1f\tms\t-\t<50\n", median(fig.own));
    std::printf("BENCH\tOpenVPN controller: stop -> unconnected (median)\t%.1f\tms\t-\t-\n",
                median(fig.stop));

    thread.quit();
    thread.wait();
    Loger::close();
    return 0;
}

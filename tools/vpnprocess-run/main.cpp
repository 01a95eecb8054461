// kestrune-vpnprocess-run PROGRAM_FOLDER DATA_FOLDER CONFIG
//
// Starts OpenVPN once through the client's controller, as the window would, from the given
// program folder, follows it until its management interface has answered with a state, then
// stops it politely. Prints every status and ends with "stopped" (exit 0), or names what did
// not happen within 30 seconds (exit 1). The configuration needs "verb 3" or more.
#include "core/loger.h"
#include "engine/vpnprocess.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: kestrune-vpnprocess-run PROGRAM_FOLDER DATA_FOLDER CONFIG\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(data + "/logs");
    QDir().mkpath(data + "/temp");
    Loger::init(data + "/logs", false, false, QStringLiteral("kestrunevpn"));
    QThread thread;
    auto *proc = new VPNProcess(QString::fromLocal8Bit(argv[1]));
    proc->setup(data, data + "/temp");
    proc->setMode(VPNProcess::PM_OpenVPN24);
    proc->configPath = QString::fromLocal8Bit(argv[3]);
    proc->moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, proc, &VPNProcess::init);
    QObject::connect(&thread, &QThread::finished, proc, &QObject::deleteLater);

    // Runs on the controller's thread, where its process lives.
    QObject::connect(
        proc, &VPNProcess::vpnStateChanged, proc,
        [proc](VPNProcess::VPNProcessStatus status) {
            if (status == VPNProcess::ProcConnecting)
                std::printf("started: %s %s\n", qPrintable(proc->process->program()),
                            qPrintable(proc->process->arguments().join(QLatin1Char(' '))));
        },
        Qt::DirectConnection);
    bool answered = false;
    QObject::connect(proc, &VPNProcess::vpnStateChanged, &app,
                     [&](VPNProcess::VPNProcessStatus status) {
                         std::printf("status %d\n", int(status));
                         std::fflush(stdout);
                         if (status == VPNProcess::ProcUnconnected && answered)
                             app.exit(0);
                     });
    QObject::connect(Loger::notifier(), &Loger::lineAdded, &app, [&](const QString &line) {
        std::printf("log: %s\n", qPrintable(line));
        std::fflush(stdout);
    });
    // OpenVPN takes "state on all" only from a client that gave the right password; its log
    // (the controller writes OpenVPN's output to logs/openvpn_log.txt) says when it did.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        QFile log(proc->logFilePath());
        if (answered || !log.open(QIODevice::ReadOnly)
            || !log.readAll().contains("MANAGEMENT: CMD 'state on all'"))
            return;
        answered = true;
        std::printf("management interface answered\n");
        proc->procStatus = VPNProcess::ProcDisconnecting;
        QMetaObject::invokeMethod(proc, "stop", Qt::QueuedConnection);
    });
    QTimer::singleShot(30000, &app, [&] {
        std::printf("%s\n", answered ? "not stopped" : "management interface not reached");
        app.exit(1);
    });
    thread.start();
    QMetaObject::invokeMethod(proc, "start", Qt::QueuedConnection, Q_ARG(QString, QString()));
    poll.start(100);
    const int rc = app.exec();
    if (rc == 0)
        std::printf("stopped\n");
    thread.quit();
    thread.wait();
    Loger::close();
    return rc;
}

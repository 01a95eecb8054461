#pragma once

#include "engine/vpnprocess.h"
#include "support/builders.h"
#include "support/programfolder.h"

#include <QDir>
#include <QPair>
#include <QThread>

// One VPNProcess on a thread of its own, wired as the main window wires it: calls reach it
// queued, its reports come back queued and are kept. Its OpenVPN is the copy in the
// suite's program folder; the data folder ("logs", "temp") lies in the same place.
struct Tunnel
{
    explicit Tunnel(const ProgramFolder &folder, const QByteArray &config)
        : data(folder.path() + QStringLiteral("/data"))
        , proc(new VPNProcess(folder.path()))
    {
        QDir().mkpath(data + QStringLiteral("/logs"));
        QDir().mkpath(data + QStringLiteral("/temp"));
        writeFile(data + QStringLiteral("/temp/openvpn_config.ovpn"), config);
        proc->setup(data, data + QStringLiteral("/temp"));
        proc->configPath = data + QStringLiteral("/temp/openvpn_config.ovpn");
        proc->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, proc, &VPNProcess::init);
        QObject::connect(&thread, &QThread::finished, proc, &QObject::deleteLater);
        QObject::connect(proc, &VPNProcess::vpnStateChanged, &context,
                         [this](VPNProcess::VPNProcessStatus status) { states << status; });
        QObject::connect(proc, &VPNProcess::dataStatChanged, &context,
                         [this](int in, int out) { counts << qMakePair(in, out); });
        thread.start();
    }
    ~Tunnel()
    {
        thread.quit();
        thread.wait();
    }

    // As the main window does it: the status first, then the queued call.
    void start()
    {
        proc->procStatus = VPNProcess::ProcConnecting;
        QMetaObject::invokeMethod(proc, "start", Qt::QueuedConnection, Q_ARG(QString, QString()));
    }
    void stop()
    {
        proc->procStatus = VPNProcess::ProcDisconnecting;
        QMetaObject::invokeMethod(proc, "stop", Qt::QueuedConnection);
    }
    // The wait for OpenVPN's answer to "signal SIGTERM" before it is ended by force.
    void setTerminateWait(int ms)
    {
        QMetaObject::invokeMethod(
            proc, [this, ms] { proc->terminateTimer->setInterval(ms); },
            Qt::BlockingQueuedConnection);
    }
    // What OpenVPN printed, as the controller keeps it.
    QString openVpnLog() const
    {
        QFile file(data + QStringLiteral("/logs/openvpn_log.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool endsIn(VPNProcess::VPNProcessStatus status) const
    {
        return !states.isEmpty() && states.last() == status;
    }

    QString data;
    QThread thread;
    VPNProcess *proc;
    QObject context; // reports arrive on the test's thread
    QList<VPNProcess::VPNProcessStatus> states;
    QList<QPair<int, int>> counts;
};

#pragma once

#include "engine/vpnprocess.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QTemporaryDir>

class QThread;

// A program folder with its own copy of an OpenVPN program in "ovpn/", a data folder with
// "logs" and "temp", and one VPNProcess on a thread of its own, wired the way the main
// window wires it: every call reaches it queued, every report comes back queued.
class VpnProcessFixture : public QObject
{
    Q_OBJECT

public:
    explicit VpnProcessFixture(const QString &programSource, QObject *parent = nullptr);
    ~VpnProcessFixture() override;

    bool isValid() const;
    void writeConfig(const QByteArray &content);
    void startThread();
    void finishThread();

    // As the main window does it: status connecting first, then the queued start.
    void requestStart();
    // As the main window does it: status disconnecting first, then the queued stop.
    void requestStop();

    QString root() const;
    QString openvpnLog() const;
    QString storedPassword() const;
    // Processes whose program is this fixture's copy (never any other OpenVPN).
    QList<qint64> runningCopies() const;

    static int openFileCount();
    static int threadCount();
    static QList<qint64> childProcesses();

    QTemporaryDir dir;
    QString appDir;
    QString dataDir;
    QString tempDir;
    QString configPath;
    QString programPath;
    QThread *thread = nullptr;
    VPNProcess *proc = nullptr;
    QList<VPNProcess::VPNProcessStatus> states;
    QList<QPair<int, int>> counts;

public slots:
    void onState(VPNProcess::VPNProcessStatus status);
    void onData(int in, int out);

signals:
    void vpnProcessStart(const QString &param);
    void vpnProcessStop();

private:
    bool m_valid = false;
};

#pragma once

#include "system/managementsocket.h"

class QTcpSocket;

// Management on a loopback TCP port, as Windows has it. The port is open to every local
// user, so the listener's owner is looked up before anything is sent.
class TcpManagementSocket : public ManagementSocket
{
    Q_OBJECT

public:
    explicit TcpManagementSocket(QObject *parent = nullptr);

    void aimAt(const Aim &aim) override;
    QStringList openVpnArguments() const override;
    void connectToOpenVpn() override;
    bool waitForConnected(int ms) override;
    QAbstractSocket::SocketState state() const override;
    bool peerMayBeTold() const override;
    void abort() override;
    QIODevice *device() const override;

private:
    QTcpSocket *m_socket;
    QString m_host;
    quint16 m_port = 0;
};

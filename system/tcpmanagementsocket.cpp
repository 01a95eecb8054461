#include "system/tcpmanagementsocket.h"

#include "system/listenerowner.h"

#include <QTcpSocket>

TcpManagementSocket::TcpManagementSocket(QObject *parent)
    : ManagementSocket(parent)
    , m_socket(new QTcpSocket(this))
{
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    connect(m_socket, &QAbstractSocket::stateChanged, this, &ManagementSocket::stateChanged);
    connect(m_socket, &QIODevice::readyRead, this, &ManagementSocket::readyRead);
}

void TcpManagementSocket::aimAt(const Aim &aim)
{
    m_host = aim.host;
    m_port = aim.port;
}

QStringList TcpManagementSocket::openVpnArguments() const
{
    return {m_host, QString::number(m_port)};
}

void TcpManagementSocket::connectToOpenVpn()
{
    m_socket->connectToHost(m_host, m_port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
}

bool TcpManagementSocket::waitForConnected(int ms)
{
    return m_socket->waitForConnected(ms);
}

QAbstractSocket::SocketState TcpManagementSocket::state() const
{
    return m_socket->state();
}

bool TcpManagementSocket::peerMayBeTold() const
{
    return ListenerOwner::mayReceivePassword(m_port);
}

void TcpManagementSocket::abort()
{
    m_socket->abort();
}

QIODevice *TcpManagementSocket::device() const
{
    return m_socket;
}

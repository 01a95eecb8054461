#include "serverconnectchecker.h"

#include <QTcpSocket>
#include <QTimer>

ServerConnectChecker::ServerConnectChecker(int id, const QString &host, quint16 port, int timeout)
    : id(id)
    , host(host)
    , port(port)
    , timeout(timeout)
{
    setObjectName(QStringLiteral("ServerConnectChecker %0").arg(id));
}

ServerConnectChecker::~ServerConnectChecker()
{
    emit finished();
}

void ServerConnectChecker::init()
{
    if (!timer) {
        timer = new QTimer(this);
        timer->setInterval(timeout);
        timer->setSingleShot(true);
        connect(timer, SIGNAL(timeout()), this, SLOT(socketTimeout()));
    }
    socket = new QTcpSocket(this);
    connect(socket, SIGNAL(connected()), this, SLOT(socketConnected()));
    connect(socket, SIGNAL(disconnected()), this, SLOT(socketDisconnected()));
    connect(socket, SIGNAL(errorOccurred(QAbstractSocket::SocketError)), this, SLOT(socketError()));
    timer->start();
    socket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
}

void ServerConnectChecker::abort()
{
    result = true;
    finish();
}

void ServerConnectChecker::socketConnected()
{
    result = true;
    finish();
}

void ServerConnectChecker::socketDisconnected()
{
    report();
}

void ServerConnectChecker::socketTimeout()
{
    finish();
}

void ServerConnectChecker::socketError()
{
    // A server that accepted and then closed has answered; its close is no failure.
    if (socket && socket->error() == QAbstractSocket::RemoteHostClosedError && result)
        return;
    finish();
}

void ServerConnectChecker::finish()
{
    if (timer && timer->isActive())
        timer->stop();
    if (socket && socket->isOpen() && socket->state() != QAbstractSocket::UnconnectedState)
        socket->disconnectFromHost();
    report();
}

void ServerConnectChecker::report()
{
    if (reported)
        return;
    reported = true;
    if (socket)
        socket->abort();
    emit sendResult(id, result);
    deleteLater();
}

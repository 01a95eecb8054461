#include "instancechannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

const char ShowRequest[] = "show\n";
const int MaxRequestBytes = 64;

} // namespace

InstanceChannel::InstanceChannel(QObject *parent)
    : QObject(parent)
{ }

QString InstanceChannel::nameFor(const QString &lockPath)
{
    // A hash keeps the name short and free of separators, whatever the folder's path.
    const QByteArray key = QDir::cleanPath(QDir(lockPath).absolutePath()).toUtf8();
    return QStringLiteral("kestrunevpn-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex());
}

bool InstanceChannel::listen(const QString &name)
{
    if (!server) {
        server = new QLocalServer(this);
        // Nobody but the user's own later starts may ask for the window.
        server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server, SIGNAL(newConnection()), this, SLOT(takeConnection()));
    }
    QLocalServer::removeServer(name);
    return server->listen(name);
}

bool InstanceChannel::askToShow(const QString &name, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(ShowRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void InstanceChannel::takeConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, SIGNAL(disconnected()), socket, SLOT(deleteLater()));
        // The request is one known line; anything else is read, dropped and answered with
        // nothing.
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
            if (socket->bytesAvailable() < qint64(sizeof(ShowRequest) - 1))
                return;
            const QByteArray request = socket->read(MaxRequestBytes);
            if (request == ShowRequest)
                emit showRequested();
            socket->disconnectFromServer();
        });
    }
}

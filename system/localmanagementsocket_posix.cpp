#include "system/localmanagementsocket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalSocket>

LocalManagementSocket::LocalManagementSocket(QObject *parent)
    : ManagementSocket(parent)
    , m_socket(new QLocalSocket(this))
{
    // QLocalSocket reports its connected state before it can be written to, and must not be
    // aborted from that report: "connected" is told once it is open.
    connect(m_socket, &QLocalSocket::stateChanged, this,
            [this](QLocalSocket::LocalSocketState state) {
                if (state != QLocalSocket::ConnectedState)
                    emit stateChanged(QAbstractSocket::SocketState(int(state)));
            });
    connect(m_socket, &QLocalSocket::connected, this,
            [this]() { emit stateChanged(QAbstractSocket::ConnectedState); });
    connect(m_socket, &QIODevice::readyRead, this, &ManagementSocket::readyRead);
}

QString LocalManagementSocket::helperFolder(uint uid, bool root)
{
    const QString override = qEnvironmentVariable("KESTRUNE_CONTROL_DIR");
    const QString runFolder = root && override.startsWith(QLatin1Char('/'))
        ? override
        : QString::fromLatin1(DefaultRunFolder);
    return runFolder + QLatin1Char('/') + QString::number(uid);
}

void LocalManagementSocket::aimAt(const Aim &aim)
{
    const uid_t uid = ::geteuid();
    const QString folder = aim.throughHelper ? helperFolder(uid, uid == 0) : aim.ownFolder;
    m_path = folder + QLatin1Char('/') + QLatin1String(FileName);
}

QStringList LocalManagementSocket::openVpnArguments() const
{
    return {m_path, QStringLiteral("unix")};
}

void LocalManagementSocket::connectToOpenVpn()
{
    m_socket->connectToServer(m_path, QIODevice::ReadWrite);
}

bool LocalManagementSocket::waitForConnected(int ms)
{
    return m_socket->waitForConnected(ms);
}

QAbstractSocket::SocketState LocalManagementSocket::state() const
{
    return QAbstractSocket::SocketState(int(m_socket->state()));
}

bool LocalManagementSocket::peerMayBeTold() const
{
    struct ucred peer
    {
    };
    socklen_t size = sizeof peer;
    if (m_socket->state() != QLocalSocket::ConnectedState
        || ::getsockopt(int(m_socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size)
            != 0)
        return false;
    return peer.uid == 0 || peer.uid == ::geteuid();
}

void LocalManagementSocket::abort()
{
    m_socket->abort();
}

QIODevice *LocalManagementSocket::device() const
{
    return m_socket;
}

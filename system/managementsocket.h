#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QStringList>

class QIODevice;

// The client's end of OpenVPN's management interface. On Linux it is a Unix socket in a
// folder only the client's user enters (the helper's per-user folder below /run/kestrunevpn,
// or the client's own temp folder when it starts OpenVPN itself); on Windows the loopback
// port 7505. Either way the password goes only to a peer run by root or by this user.
class ManagementSocket : public QObject
{
    Q_OBJECT

public:
    // Where the OpenVPN of the next start listens.
    struct Aim
    {
        bool throughHelper = false; // the helper chooses the place of a root OpenVPN
        QString ownFolder; // the client's temp folder, for an OpenVPN it starts itself
        QString host; // the loopback address and port, where management is a TCP port
        quint16 port = 0;
    };

    using QObject::QObject;

    // This platform's kind of socket.
    static ManagementSocket *create(QObject *parent);

    virtual void aimAt(const Aim &aim) = 0;
    // The words that follow OpenVPN's "--management", before the password file.
    virtual QStringList openVpnArguments() const = 0;
    virtual void connectToOpenVpn() = 0;
    virtual bool waitForConnected(int ms) = 0;
    // QLocalSocket's states carry the numbers of QAbstractSocket's.
    virtual QAbstractSocket::SocketState state() const = 0;
    // Whether the peer runs as root or as this process's user and may be told the password.
    virtual bool peerMayBeTold() const = 0;
    virtual void abort() = 0;
    virtual QIODevice *device() const = 0;

signals:
    void stateChanged(QAbstractSocket::SocketState state);
    void readyRead();
};

#pragma once

#include <QObject>
#include <QString>

class QTcpSocket;
class QTimer;

// One probe of one server: a TCP connection to host:port within a time limit. Lives on a
// thread of its own; reports once and then deletes itself, which ends its thread.
class ServerConnectChecker : public QObject
{
    Q_OBJECT

public:
    ServerConnectChecker(int id, const QString &host, quint16 port, int timeout);
    ~ServerConnectChecker() override;

signals:
    void finished();
    void sendResult(int id, bool result);

public slots:
    void init();
    // A probe cut short counts as reachable, so an abort never drops a server.
    void abort();
    void socketConnected();
    void socketDisconnected();
    void socketTimeout();
    // Refused, unresolvable or unreachable: known at once, no need to wait for the timer.
    void socketError();

private:
    void finish();
    void report();

    QTcpSocket *socket = nullptr;
    QTimer *timer = nullptr;
    int id;
    QString host;
    quint16 port;
    int timeout;
    bool result = false;
    bool reported = false;
};

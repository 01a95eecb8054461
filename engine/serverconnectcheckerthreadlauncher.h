#pragma once

#include <QList>
#include <QObject>
#include <QVariant>

// Works through a queue of servers, each a list [id (int), address (string), port (int)],
// with at most maxRunning probes at once, each probe on a thread of its own. Lives on a
// thread of its own; results pass on one by one; once the queue is empty and the last probe
// has ended it deletes itself, and its destructor's finished() ends its thread.
class ServerConnectCheckerThreadLauncher : public QObject
{
    Q_OBJECT

public:
    ServerConnectCheckerThreadLauncher(const QList<QVariant> &queue, int maxRunning, int timeout);
    ~ServerConnectCheckerThreadLauncher() override;

    // One queue entry.
    static QVariant entry(int id, const QString &address, int port);

signals:
    void finished();
    void sendResult(int id, bool result);
    void checkAbort();

public slots:
    void init();
    // Empties the queue and cuts the running probes short (they count as reachable).
    void abort();
    void checkFinished();
    void checkStarted();

private:
    void startNext();

    QList<QVariant> queue;
    int running = 0;
    int maxRunning;
    int timeout;
    // Probes created and not yet ended: the series ends only when this is 0, also for a
    // probe whose thread never got to start.
    int alive = 0;
};

#include "serverconnectcheckerthreadlauncher.h"

#include "serverconnectchecker.h"

#include <QThread>

ServerConnectCheckerThreadLauncher::ServerConnectCheckerThreadLauncher(const QList<QVariant> &queue,
                                                                       int maxRunning, int timeout)
    : queue(queue)
    , maxRunning(qMax(1, maxRunning))
    , timeout(timeout)
{ }

ServerConnectCheckerThreadLauncher::~ServerConnectCheckerThreadLauncher()
{
    emit finished();
}

QVariant ServerConnectCheckerThreadLauncher::entry(int id, const QString &address, int port)
{
    return QVariantList {id, address, port};
}

void ServerConnectCheckerThreadLauncher::init()
{
    // Nothing to probe: the series ends at once, so that whoever waits for it goes on.
    if (queue.isEmpty()) {
        deleteLater();
        return;
    }
    const int first = qMin(queue.size(), maxRunning);
    for (int i = 0; i < first; ++i)
        startNext();
}

void ServerConnectCheckerThreadLauncher::startNext()
{
    const QVariantList server = queue.takeFirst().toList();
    const int id = server.value(0).toInt();
    const QString address = server.value(1).toString();
    const int port = server.value(2).toInt();

    auto *thread = new QThread;
    auto *checker = new ServerConnectChecker(id, address, quint16(qBound(0, port, 65535)), timeout);
    connect(checker, SIGNAL(sendResult(int, bool)), this, SIGNAL(sendResult(int, bool)),
            Qt::QueuedConnection);
    connect(this, SIGNAL(checkAbort()), checker, SLOT(abort()), Qt::QueuedConnection);
    // quit() is safe from any thread: the probe's thread ends without a detour.
    connect(checker, SIGNAL(finished()), thread, SLOT(quit()), Qt::DirectConnection);
    connect(thread, SIGNAL(started()), this, SLOT(checkStarted()));
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    connect(thread, SIGNAL(started()), checker, SLOT(init()));
    connect(thread, SIGNAL(destroyed(QObject *)), this, SLOT(checkFinished()));
    checker->moveToThread(thread);
    ++alive;
    thread->start();
}

void ServerConnectCheckerThreadLauncher::checkStarted()
{
    ++running;
}

void ServerConnectCheckerThreadLauncher::checkFinished()
{
    --running;
    --alive;
    if (alive < maxRunning && !queue.isEmpty())
        startNext();
    else if (alive == 0 && queue.isEmpty())
        deleteLater();
}

void ServerConnectCheckerThreadLauncher::abort()
{
    queue.clear();
    emit checkAbort();
}

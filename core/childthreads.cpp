#include "core/childthreads.h"

#include "core/loger.h"

#include <QCoreApplication>
#include <QThread>

void endChildThreads(QObject *owner, int waitMs)
{
    const QList<QThread *> threads
        = owner->findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly);
    for (QThread *thread : threads)
        thread->quit();
    for (QThread *thread : threads) {
        if (thread->wait(waitMs))
            continue;
        Loger::writeLine(QCoreApplication::translate(
            "MainWindow", "A worker thread still running at the end: left to end by itself"));
        thread->setParent(nullptr);
        QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater,
                         Qt::UniqueConnection);
    }
}

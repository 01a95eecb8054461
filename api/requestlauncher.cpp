#include "requestlauncher.h"

#include "api/requestmanager.h"

#include <QThread>

RequestManager *launchRequest(const ApiRequest &request, const RequestRoute &route)
{
    auto *worker = new RequestManager(route.timeoutMs);
    worker->setCaCertificates(route.caCertificates);
    auto *thread = new QThread(route.owner);

    if (route.sslErrorsSlot)
        QObject::connect(worker, SIGNAL(sslErrors(QNetworkReply *, QList<QSslError>)),
                         route.receiver, route.sslErrorsSlot);
    QObject::connect(thread, SIGNAL(started()), worker, SLOT(init()));
    QObject::connect(route.owner, route.disposeSignal, worker, SLOT(deleteLater()),
                     Qt::QueuedConnection);
    QObject::connect(worker, SIGNAL(destroyed(QObject *)), thread, SLOT(quit()));
    QObject::connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));

    worker->moveToThread(thread);
    thread->start(QThread::InheritPriority);

    QObject::connect(worker, SIGNAL(finished(QNetworkReply *)), route.receiver, route.replySlot);
    if (request.method == "POST")
        emit worker->post(request.request, request.body);
    else
        emit worker->get(request.request);
    return worker;
}

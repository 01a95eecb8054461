#pragma once

#include "api/apirequest.h"

#include <QList>
#include <QSslCertificate>

class QObject;
class RequestManager;

// Where a launched request reports and what disposes of it.
struct RequestRoute
{
    // Parent of the request's thread and the emitter of disposeSignal; it must outlive the
    // request (the window does).
    QObject *owner = nullptr;
    // Signal of owner, e.g. SIGNAL(replyReceived()); every emission disposes of every
    // worker launched with it that still exists.
    const char *disposeSignal = nullptr;
    // Slot taking a QNetworkReply*, e.g. SLOT(getSignKeyReply(QNetworkReply*)).
    const QObject *receiver = nullptr;
    const char *replySlot = nullptr;
    // Optional slot taking (QNetworkReply*, QList<QSslError>), reached queued, for logging.
    const char *sslErrorsSlot = nullptr;
    int timeoutMs = 5000;
    QList<QSslCertificate> caCertificates; // empty: the system's authorities
};

// Creates a worker and its thread, wires them so that they end themselves once the
// owner disposes of the worker, and hands the request over. Returns at once; the reply
// arrives later at route.replySlot on the receiver's thread.
RequestManager *launchRequest(const ApiRequest &request, const RequestRoute &route);

#pragma once

#include "api/apirequest.h"
#include "api/replyenvelope.h"
#include "api/replyerrortext.h"
#include "api/replysnapshot.h"
#include "api/requestlauncher.h"
#include "api/requestlog.h"
#include "api/requestmanager.h"

#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QThread>

// Plays the window's part for requests in tests: launches them, reads each reply on the
// GUI thread as a reply slot does, and disposes of the workers with replyReceived().
class ReplyCatcher : public QObject
{
    Q_OBJECT

public:
    using Result = ReplySnapshot;

    QList<Result> results;
    QList<QList<QSslError>> sslErrorLists;
    // While set, replies are kept (and their workers alive) until dispose() is called.
    bool holdReplies = false;
    QList<QPointer<QNetworkReply>> heldReplies;

    RequestManager *send(const ApiRequest &request, int timeoutMs,
                         const QList<QSslCertificate> &caCertificates = {})
    {
        RequestRoute route;
        route.owner = this;
        route.disposeSignal = SIGNAL(replyReceived());
        route.receiver = this;
        route.replySlot = SLOT(onReply(QNetworkReply *));
        route.sslErrorsSlot = SLOT(onSslErrors(QNetworkReply *, QList<QSslError>));
        route.timeoutMs = timeoutMs;
        route.caCertificates = caCertificates;
        RequestManager *worker = launchRequest(request, route);
        threads << QPointer<QThread>(worker->thread());
        return worker;
    }

    void dispose() { emit replyReceived(); }

    // Every worker thread has ended and deleted itself.
    bool threadsGone() const
    {
        for (const auto &thread : threads) {
            if (thread)
                return false;
        }
        return true;
    }

signals:
    void replyReceived();
    void replyRead();

public slots:
    void onReply(QNetworkReply *reply)
    {
        results << ReplySnapshot::take(reply);
        if (holdReplies)
            heldReplies << QPointer<QNetworkReply>(reply);
        else
            emit replyReceived();
        emit replyRead();
    }

    void onSslErrors(QNetworkReply *, QList<QSslError> errors)
    {
        sslErrorLists << errors;
        RequestLog::writeSslErrors(errors);
    }

private:
    QList<QPointer<QThread>> threads;
};

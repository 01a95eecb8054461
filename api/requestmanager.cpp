#include "requestmanager.h"

#include <QMetaType>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTimer>

RequestManager::RequestManager(const int &timeout, QObject *parent)
    : QObject(parent)
    , timeout(timeout > 0 ? timeout : DefaultTimeout)
{
    registerMetaTypes();
    connect(this, SIGNAL(get(QNetworkRequest)), this, SLOT(startGet(QNetworkRequest)));
    connect(this, SIGNAL(post(QNetworkRequest, QByteArray)), this,
            SLOT(startPost(QNetworkRequest, QByteArray)));
}

RequestManager::~RequestManager() = default;

void RequestManager::registerMetaTypes()
{
    qRegisterMetaType<QNetworkRequest>("QNetworkRequest");
    qRegisterMetaType<QNetworkReply *>("QNetworkReply*");
    qRegisterMetaType<QList<QSslError>>("QList<QSslError>");
}

void RequestManager::setCaCertificates(const QList<QSslCertificate> &certificates)
{
    caCertificates = certificates;
}

void RequestManager::init()
{
    if (manager)
        return; // a request that came first has run it already
    manager = new QNetworkAccessManager(this);
    connect(manager, SIGNAL(sslErrors(QNetworkReply *, QList<QSslError>)), this,
            SIGNAL(sslErrors(QNetworkReply *, QList<QSslError>)));
    connect(manager, SIGNAL(finished(QNetworkReply *)), this, SIGNAL(finished(QNetworkReply *)));

    timer = new QTimer(this);
    timer->setInterval(timeout);
    timer->setSingleShot(true);
    connect(timer, SIGNAL(timeout()), this, SLOT(requestTimeout()));
    connect(manager, SIGNAL(finished(QNetworkReply *)), timer, SLOT(stop()));

    emit continueRequest();
}

void RequestManager::abort()
{
    emit abortRequest();
}

void RequestManager::waitForInit()
{
    // A request can arrive before init(): when the worker was handed it before its thread
    // started and init() is queued behind it. Both run on the worker's thread, so the set-up
    // simply happens now. Waiting for the queued init() in a nested event loop instead would
    // hang for good under the glib event dispatcher, which does not deliver events posted
    // before the running one to a loop nested in it.
    if (!manager)
        init();
}

QNetworkRequest RequestManager::prepared(QNetworkRequest request) const
{
    if (!caCertificates.isEmpty()) {
        QSslConfiguration ssl = request.sslConfiguration();
        ssl.setCaCertificates(caCertificates);
        request.setSslConfiguration(ssl);
    }
    return request;
}

void RequestManager::armReply()
{
    connect(this, SIGNAL(timedOut()), reply, SLOT(abort()));
    connect(this, SIGNAL(abortRequest()), reply, SLOT(abort()));
    // The limit covers connection, handshake, request and the whole reply.
    timer->start();
}

void RequestManager::startGet(QNetworkRequest request)
{
    waitForInit();
    reply = manager->get(prepared(request));
    armReply();
}

void RequestManager::startPost(QNetworkRequest request, QByteArray query)
{
    waitForInit();
    reply = manager->post(prepared(request), query);
    armReply();
}

void RequestManager::requestTimeout()
{
    // A reply that has already failed or finished keeps its own outcome: aborting it now
    // would report a second error for the same transfer.
    if (!reply || reply->isFinished() || reply->error() != QNetworkReply::NoError)
        return;
    reply->setProperty("timedout", QVariant(true));
    emit timedOut();
}

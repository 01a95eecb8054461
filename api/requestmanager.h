#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Carries exactly one GET or POST on a thread of its own, bounded by a time limit, and
// hands the finished reply back by finished(). A reply aborted by the limit carries the
// dynamic property "timedout" = true.
//
// Certificate problems are reported through sslErrors() and are never ignored here, so a
// certificate that fails validation fails the request.
class RequestManager : public QObject
{
    Q_OBJECT

public:
    // A limit below 1 ms (a damaged setting) would end every request at once; the default
    // applies instead.
    static constexpr int DefaultTimeout = 5000;

    explicit RequestManager(const int &timeout, QObject *parent = nullptr);
    ~RequestManager() override;

    // Certificate authorities to trust instead of the system's for this request; set
    // before the request is handed over. Empty means the system's.
    void setCaCertificates(const QList<QSslCertificate> &certificates);

    static void registerMetaTypes();

signals:
    void get(QNetworkRequest request);
    void post(QNetworkRequest request, QByteArray query);
    void sslErrors(QNetworkReply *reply, QList<QSslError> errors);
    void finished(QNetworkReply *reply);
    void timedOut();
    void continueRequest();
    void abortRequest();

public slots:
    void init();
    void abort();
    void startGet(QNetworkRequest request);
    void startPost(QNetworkRequest request, QByteArray query);
    void requestTimeout();

private:
    QNetworkRequest prepared(QNetworkRequest request) const;
    void waitForInit();
    void armReply();

    QNetworkAccessManager *manager = nullptr;
    QNetworkReply *reply = nullptr;
    QTimer *timer = nullptr;
    int timeout = 0;
    QList<QSslCertificate> caCertificates;
};

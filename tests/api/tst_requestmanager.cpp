#include "api/apirequestbuilder.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "mockservice/testcertificates.h"
#include "replycatcher.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

ApiRequest signKeyRequest(const QString &base)
{
    ApiRequestContext context;
    context.apiBaseUrl = base;
    return ApiRequestBuilder::build(Req_SignKey, context);
}

} // namespace

class TestRequestManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir logDir;
    QStringList logLines;
    std::unique_ptr<MockService> service;
    std::unique_ptr<ReplyCatcher> catcher;

    bool waitForReplies(int count, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (catcher->results.size() < count && clock.elapsed() < timeoutMs) {
            QSignalSpy spy(catcher.get(), SIGNAL(replyRead()));
            spy.wait(int(timeoutMs - clock.elapsed()) + 1);
        }
        return catcher->results.size() >= count;
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(logDir.isValid());
        Loger::init(logDir.path(), false, false, QStringLiteral("log"));
        connect(Loger::notifier(), &Loger::lineAdded, this,
                [this](const QString &line) { logLines << line; });
    }

    void init()
    {
        logLines.clear();
        service.reset(new MockService);
        QVERIFY(service->start());
        catcher.reset(new ReplyCatcher);
    }

    void cleanup()
    {
        if (catcher) {
            catcher->dispose();
            QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
        }
        catcher.reset();
        service.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void cleanupTestCase() { Loger::close(); }

    void silentServiceEndsAtTheTimeLimit()
    {
        service->setFault("/v1/api/sign", MockService::Fault::Silent);
        QElapsedTimer clock;
        clock.start();
        catcher->send(signKeyRequest(service->baseUrl()), 300);
        QVERIFY(waitForReplies(1));
        // A coarse timer may fire up to 5 % early.
        QVERIFY(clock.elapsed() >= 285);
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::OperationCanceledError);
        QVERIFY(result.timedOut);
        QCOMPARE(result.userErrorText,
                 QStringLiteral("Can't connect to server within given time interval."));
        service->releaseSilent();
    }

    void replyWithinTheLimitIsNeverMarkedLater()
    {
        service->setFault("/v1/api/sign", MockService::Fault::Delay, 150);
        catcher->holdReplies = true;
        const int limit = 800;
        RequestManager *worker = catcher->send(signKeyRequest(service->baseUrl()), limit);
        QSignalSpy timedOut(worker, SIGNAL(timedOut()));
        QVERIFY(waitForReplies(1));
        // The limit passes while the finished reply is still held: a timer left running
        // would mark it now.
        QVERIFY(!timedOut.wait(limit + 400));
        QCOMPARE(catcher->heldReplies.size(), 1);
        QVERIFY(catcher->heldReplies.first());
        QCOMPARE(catcher->heldReplies.first()->property("timedout").toBool(), false);
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::NoError);
        QVERIFY(!result.timedOut);
        QVERIFY(result.body.contains("\"key\""));
    }

    void damagedLimitFallsBackToTheDefault_data()
    {
        QTest::addColumn<int>("limit");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -20;
    }
    void damagedLimitFallsBackToTheDefault()
    {
        QFETCH(int, limit);
        service->setFault("/v1/api/sign", MockService::Fault::Delay, 100);
        catcher->send(signKeyRequest(service->baseUrl()), limit);
        QVERIFY(waitForReplies(1));
        QCOMPARE(catcher->results.first().error, QNetworkReply::NoError);
        QVERIFY(!catcher->results.first().timedOut);
    }

    void failedTransferGivesTheUserText_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("closedPort");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasBody");
        QTest::newRow("404 means data not found") << int(MockService::Fault::NotFound) << false
                                                  << int(QNetworkReply::ContentNotFoundError)
                                                  << "Requested data not found on server." << false;
        QTest::newRow("500 without body is an unknown error")
            << int(MockService::Fault::ServerErrorPlain) << false
            << int(QNetworkReply::InternalServerError) << "Unknown error." << false;
        QTest::newRow("500 with a JSON body keeps the body")
            << int(MockService::Fault::ServerErrorJson) << false
            << int(QNetworkReply::InternalServerError) << "Unknown error." << true;
        QTest::newRow("connection closed before the body")
            << int(MockService::Fault::Close) << false << int(QNetworkReply::RemoteHostClosedError)
            << "Unknown error." << false;
        QTest::newRow("refused connection is an unknown error")
            << int(MockService::Fault::None) << true << int(QNetworkReply::ConnectionRefusedError)
            << "Unknown error." << false;
    }
    void failedTransferGivesTheUserText()
    {
        QFETCH(int, fault);
        QFETCH(bool, closedPort);
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(bool, hasBody);

        QString base = service->baseUrl();
        if (closedPort) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            base = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
            probe.close();
        }
        service->setFault("/v1/api/sign", MockService::Fault(fault));
        catcher->send(signKeyRequest(base), 5000);
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(int(result.error), error);
        QVERIFY(!result.timedOut);
        QCOMPARE(result.userErrorText, text);
        QCOMPARE(!result.body.isEmpty(), hasBody);
        QCOMPARE(result.failedWithoutBody(), !hasBody);
    }

    void errorTextFollowsTheErrorKind_data()
    {
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        const QString proxy = QStringLiteral("Proxy connection error. Turn off system proxy.");
        QTest::newRow("time-out wins over the abort")
            << true << int(QNetworkReply::OperationCanceledError)
            << "Can't connect to server within given time interval.";
        QTest::newRow("abort without time-out")
            << false << int(QNetworkReply::OperationCanceledError) << "Unknown error.";
        QTest::newRow("host not found")
            << false << int(QNetworkReply::HostNotFoundError) << "Can't connect to server.";
        QTest::newRow("proxy refused")
            << false << int(QNetworkReply::ProxyConnectionRefusedError) << proxy;
        QTest::newRow("proxy closed")
            << false << int(QNetworkReply::ProxyConnectionClosedError) << proxy;
        QTest::newRow("proxy not found")
            << false << int(QNetworkReply::ProxyNotFoundError) << proxy;
        QTest::newRow("proxy time-out") << false << int(QNetworkReply::ProxyTimeoutError) << proxy;
        QTest::newRow("proxy authentication")
            << false << int(QNetworkReply::ProxyAuthenticationRequiredError) << proxy;
        QTest::newRow("unknown proxy error")
            << false << int(QNetworkReply::UnknownProxyError) << proxy;
        QTest::newRow("TLS handshake")
            << false << int(QNetworkReply::SslHandshakeFailedError) << "Unknown error.";
    }
    void errorTextFollowsTheErrorKind()
    {
        QFETCH(bool, timedOut);
        QFETCH(int, error);
        QFETCH(QString, text);
        QCOMPARE(replyErrorText(timedOut, QNetworkReply::NetworkError(error)), text);
    }

    void untrustedCertificateFailsTheRequest_data()
    {
        QTest::addColumn<bool>("selfSigned");
        QTest::newRow("self-signed certificate") << true;
        QTest::newRow("certificate of an unknown authority") << false;
    }
    void untrustedCertificateFailsTheRequest()
    {
        QFETCH(bool, selfSigned);
        QTemporaryDir dir;
        const TestCertificates certificates = TestCertificates::make(dir.path(), selfSigned);
        QVERIFY2(certificates.ok(), qPrintable(certificates.error));
        service.reset(new MockService);
        QVERIFY(service->start(0, certificates.certificateFile, certificates.keyFile));

        catcher->send(signKeyRequest(service->baseUrl()), 5000);
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::SslHandshakeFailedError);
        QCOMPARE(result.userErrorText, QStringLiteral("Unknown error."));
        QVERIFY(result.body.isEmpty());
        // Nothing of the request went over the unverified connection.
        QVERIFY(service->requests().isEmpty());
        // The problems are logged all the same.
        QTRY_VERIFY_WITH_TIMEOUT(!catcher->sslErrorLists.isEmpty(), 5000);
        QVERIFY(
            logLines
                .filter(QStringLiteral("There are SSL errors occurred during request to server. "
                                       "Details:"))
                .size()
            == 1);
        const QList<QSslError> errors = catcher->sslErrorLists.first();
        QVERIFY(!errors.isEmpty());
        for (const QSslError &error : errors)
            QVERIFY(logLines.filter(error.errorString()).size() >= 1);
    }

    void certificateOfATrustedAuthorityIsAccepted()
    {
        QTemporaryDir dir;
        const TestCertificates certificates = TestCertificates::make(dir.path());
        QVERIFY2(certificates.ok(), qPrintable(certificates.error));
        service.reset(new MockService);
        QVERIFY(service->start(0, certificates.certificateFile, certificates.keyFile));
        const QList<QSslCertificate> authority = QSslCertificate::fromPath(certificates.caFile);
        QCOMPARE(authority.size(), 1);

        catcher->send(signKeyRequest(service->baseUrl()), 5000, authority);
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::NoError);
        QVERIFY(result.body.contains(service->requestKey().toLatin1()));
        QVERIFY(catcher->sslErrorLists.isEmpty());
    }

    void requestHandedOverBeforeInitStillRuns()
    {
        auto *worker = new RequestManager(5000);
        auto *thread = new QThread(catcher.get());
        // Queued, so that init() comes after the request that is already waiting.
        connect(thread, SIGNAL(started()), worker, SLOT(init()), Qt::QueuedConnection);
        QSignalSpy initDone(worker, SIGNAL(continueRequest()));
        connect(worker, SIGNAL(finished(QNetworkReply *)), catcher.get(),
                SLOT(onReply(QNetworkReply *)));
        connect(catcher.get(), SIGNAL(replyReceived()), worker, SLOT(deleteLater()),
                Qt::QueuedConnection);
        connect(worker, SIGNAL(destroyed(QObject *)), thread, SLOT(quit()));
        worker->moveToThread(thread);
        // The request is queued on the worker before its thread has run init().
        emit worker->get(signKeyRequest(service->baseUrl()).request);
        QPointer<QThread> guard(thread);
        thread->start();
        QVERIFY(waitForReplies(1));
        QCOMPARE(initDone.size(), 1);
        QCOMPARE(catcher->results.first().error, QNetworkReply::NoError);
        QVERIFY(catcher->results.first().body.contains("\"key\""));
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 10000);
        delete guard.data();
    }

    void abortWithoutTimeOutIsAnUnknownError()
    {
        service->setFault("/v1/api/sign", MockService::Fault::Silent);
        RequestManager *worker = catcher->send(signKeyRequest(service->baseUrl()), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(service->requests().size(), 1, 10000);
        QMetaObject::invokeMethod(worker, "abort", Qt::QueuedConnection);
        QVERIFY(waitForReplies(1));
        service->releaseSilent();
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::OperationCanceledError);
        QVERIFY(!result.timedOut);
        QCOMPARE(result.userErrorText, QStringLiteral("Unknown error."));
    }

    void oneDisposalEndsEveryFinishedWorker()
    {
        catcher->holdReplies = true;
        catcher->send(signKeyRequest(service->baseUrl()), 5000);
        catcher->send(signKeyRequest(service->baseUrl()), 5000);
        QVERIFY(waitForReplies(2));
        QVERIFY(!catcher->threadsGone());
        catcher->dispose();
        QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
        // The replies went with their workers.
        QTRY_VERIFY_WITH_TIMEOUT(!catcher->heldReplies.at(0) && !catcher->heldReplies.at(1), 10000);
    }

    void workersAndThreadsEndAfterTheReply()
    {
        catcher->send(signKeyRequest(service->baseUrl()), 5000);
        QVERIFY(waitForReplies(1));
        QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
    }

    void unknownHostCannotBeReached()
    {
        if (qgetenv("KESTRUNE_PRIVATE_NETNS") != "1")
            QSKIP("runs in its own network namespace (tst_requestmanager_netns)");
        catcher->send(signKeyRequest(QStringLiteral("http://kestrune-test.invalid")), 5000);
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error, QNetworkReply::HostNotFoundError);
        QCOMPARE(result.userErrorText, QStringLiteral("Can't connect to server."));
    }
};

KESTRUNE_TEST_MAIN(TestRequestManager)
#include "tst_requestmanager.moc"

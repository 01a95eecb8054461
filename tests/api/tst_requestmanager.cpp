#include "api/apirequestbuilder.h"
#include "mockservice/mockservice.h"
#include "mockservice/testcertificates.h"
#include "replycatcher.h"
#include "support/logrecorder.h"
#include "support/reservedport.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTemporaryDir>

namespace {

ApiRequest signKeyRequest(const QString &base)
{
    ApiRequestContext context;
    context.apiBaseUrl = base;
    return ApiRequestBuilder::build(Req_SignKey, context);
}

} // namespace

// The request worker on its thread: time limits, transfer failures and their user texts, TLS
// certificate checks, and the end of workers and threads.
class TestRequestManager : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<LogRecorder> m_log;
    std::unique_ptr<MockService> service;
    std::unique_ptr<ReplyCatcher> catcher;

    bool waitForReplies(int count)
    {
        return QTest::qWaitFor([this, count] { return catcher->results.size() >= count; }, 15000);
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        m_log.reset(new LogRecorder(m_dir.path()));
    }
    void init()
    {
        service.reset(new MockService);
        QVERIFY(service->start());
        catcher.reset(new ReplyCatcher);
    }
    void cleanup()
    {
        service->releaseSilent();
        catcher->dispose();
        // Every worker and its thread end once the reply is disposed of.
        QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // A reply within the limit is never marked later, even when it is held past the limit:
    // a timer left running would mark it then. A damaged limit falls back to the default.
    void replyWithinTheLimitKeepsItsMark_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("limitMs");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("silence past the limit") << -1 << 300 << true;
        QTest::newRow("reply held past the limit") << 100 << 400 << false;
        QTest::newRow("limit zero") << 100 << 0 << false;
        QTest::newRow("negative limit") << 100 << -20 << false;
    }
    void replyWithinTheLimitKeepsItsMark()
    {
        QFETCH(int, delayMs);
        QFETCH(int, limitMs);
        QFETCH(bool, timedOut);
        service->setFault("/v1/api/sign",
                          delayMs < 0 ? MockService::Fault::Silent : MockService::Fault::Delay,
                          delayMs);
        catcher->holdReplies = true;
        RequestManager *worker = catcher->send(signKeyRequest(service->baseUrl()), limitMs);
        QSignalSpy marked(worker, SIGNAL(timedOut()));
        QVERIFY(waitForReplies(1));
        QVERIFY(timedOut || !marked.wait(qMax(limitMs, 0) + 300));
        QCOMPARE(catcher->heldReplies.first()->property("timedout").toBool(), timedOut);
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.timedOut, timedOut);
        QCOMPARE(result.error,
                 timedOut ? QNetworkReply::OperationCanceledError : QNetworkReply::NoError);
        QVERIFY(!timedOut
                || result.userErrorText == "Can't connect to server within given time interval.");
    }

    void failedTransferGivesTheUserText_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasBody");
        const auto row = [](const char *name, int fault, QNetworkReply::NetworkError error,
                            const char *text, bool hasBody) {
            QTest::newRow(name) << fault << int(error) << QString(text) << hasBody;
        };
        using F = MockService::Fault;
        row("404 means data not found", int(F::NotFound), QNetworkReply::ContentNotFoundError,
            "Requested data not found on server.", false);
        row("500 without body", int(F::ServerErrorPlain), QNetworkReply::InternalServerError,
            "Unknown error.", false);
        row("500 with a JSON body keeps the body", int(F::ServerErrorJson),
            QNetworkReply::InternalServerError, "Unknown error.", true);
        row("connection closed before the body", int(F::Close),
            QNetworkReply::RemoteHostClosedError, "Unknown error.", false);
        row("refused connection", -1, QNetworkReply::ConnectionRefusedError, "Unknown error.",
            false);
    }
    void failedTransferGivesTheUserText()
    {
        QFETCH(int, fault);
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(bool, hasBody);
        ReservedPort refusing;
        service->setFault("/v1/api/sign", MockService::Fault(qMax(fault, 0)));
        catcher->send(signKeyRequest(fault < 0 ? QString("http://127.0.0.1:%1").arg(refusing.port())
                                               : service->baseUrl()),
                      5000);
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(int(result.error), error);
        QVERIFY(!result.timedOut);
        QCOMPARE(result.userErrorText, text);
        QCOMPARE(!result.body.isEmpty(), hasBody);
        QCOMPARE(result.failedWithoutBody(), !hasBody);
    }

    // A certificate that fails validation fails the request before any of it is sent; the
    // problems are logged all the same. One of an authority the request trusts is accepted.
    void certificateDecidesTheRequest_data()
    {
        QTest::addColumn<bool>("selfSigned");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("self-signed certificate") << true << false;
        QTest::newRow("certificate of an unknown authority") << false << false;
        QTest::newRow("certificate of a trusted authority") << false << true;
    }
    void certificateDecidesTheRequest()
    {
        QFETCH(bool, selfSigned);
        QFETCH(bool, trusted);
        QTemporaryDir dir;
        const TestCertificates certificates = TestCertificates::make(dir.path(), selfSigned);
        QVERIFY2(certificates.ok(), qPrintable(certificates.error));
        service.reset(new MockService);
        QVERIFY(service->start(0, certificates.certificateFile, certificates.keyFile));
        const int logged = m_log->matching("SSL errors occurred").size();
        catcher->send(signKeyRequest(service->baseUrl()), 5000,
                      trusted ? QSslCertificate::fromPath(certificates.caFile)
                              : QList<QSslCertificate>());
        QVERIFY(waitForReplies(1));
        const ReplyCatcher::Result &result = catcher->results.first();
        QCOMPARE(result.error,
                 trusted ? QNetworkReply::NoError : QNetworkReply::SslHandshakeFailedError);
        QCOMPARE(result.body.contains(service->requestKey().toLatin1()), trusted);
        QCOMPARE(service->requests().size(), trusted ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(catcher->sslErrorLists.isEmpty(), trusted, 5000);
        QCOMPARE(m_log->matching("SSL errors occurred").size(), logged + (trusted ? 0 : 1));
        for (const QList<QSslError> &errors : qAsConst(catcher->sslErrorLists)) {
            for (const QSslError &error : errors)
                QVERIFY(!m_log->matching(error.errorString()).isEmpty());
        }
    }

    // A request that reaches the worker before its thread ran init() still runs.
    void requestHandedOverBeforeInitStillRuns()
    {
        auto *worker = new RequestManager(5000);
        auto *thread = new QThread(catcher.get());
        connect(thread, SIGNAL(started()), worker, SLOT(init()), Qt::QueuedConnection);
        connect(worker, SIGNAL(finished(QNetworkReply *)), catcher.get(),
                SLOT(onReply(QNetworkReply *)));
        connect(catcher.get(), SIGNAL(replyReceived()), worker, SLOT(deleteLater()),
                Qt::QueuedConnection);
        connect(worker, SIGNAL(destroyed(QObject *)), thread, SLOT(quit()));
        worker->moveToThread(thread);
        emit worker->get(signKeyRequest(service->baseUrl()).request);
        thread->start();
        QVERIFY(waitForReplies(1));
        QVERIFY(catcher->results.first().body.contains("\"key\""));
        QTRY_VERIFY_WITH_TIMEOUT(thread->isFinished(), 10000);
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

    void unknownHostCannotBeReached()
    {
        if (qgetenv("KESTRUNE_PRIVATE_NETNS") != "1")
            QSKIP("runs in its own network namespace (tst_requestmanager_netns)");
        catcher->send(signKeyRequest(QStringLiteral("http://kestrune-test.invalid")), 5000);
        QVERIFY(waitForReplies(1));
        QCOMPARE(catcher->results.first().error, QNetworkReply::HostNotFoundError);
        QCOMPARE(catcher->results.first().userErrorText,
                 QStringLiteral("Can't connect to server."));
    }
};

KESTRUNE_TEST_MAIN(TestRequestManager)
#include "tst_requestmanager.moc"

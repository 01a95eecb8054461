#include "api/apirequestbuilder.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "api/replysnapshot.h"
#include "api/requestlauncher.h"
#include "api/requestlog.h"
#include "api/requestmanager.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "mockservice/testcertificates.h"
#include "support/builders.h"
#include "support/logrecorder.h"
#include "support/reservedport.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(RequestType)

namespace {

const QByteArray ApiHost = QByteArrayLiteral("api.kestrune.test");

} // namespace

// Plays the window's part for requests: launches them, reads each reply on the GUI thread as
// a reply slot does, and disposes of the workers with replyReceived().
class ReplyCatcher : public QObject
{
    Q_OBJECT

public:
    QList<ReplySnapshot> results;
    QList<QList<QSslError>> sslErrorLists;
    bool holdReplies = false; // replies and their workers stay until replyReceived()
    QPointer<QNetworkReply> lastReply;
    QList<QPointer<QThread>> threads;

    RequestManager *send(const ApiRequest &request, int timeoutMs,
                         const QList<QSslCertificate> &caCertificates = {})
    {
        RequestRoute route;
        route.owner = this;
        route.receiver = this;
        route.disposeSignal = SIGNAL(replyReceived());
        route.replySlot = SLOT(onReply(QNetworkReply *));
        route.sslErrorsSlot = SLOT(onSslErrors(QNetworkReply *, QList<QSslError>));
        route.timeoutMs = timeoutMs;
        route.caCertificates = caCertificates;
        RequestManager *worker = launchRequest(request, route);
        threads << QPointer<QThread>(worker->thread());
        return worker;
    }
    bool threadsGone() const
    {
        return std::all_of(threads.begin(), threads.end(), [](const auto &t) { return !t; });
    }

signals:
    void replyReceived();

public slots:
    void onReply(QNetworkReply *reply)
    {
        results << ReplySnapshot::take(reply);
        lastReply = reply;
        if (!holdReplies)
            emit replyReceived();
    }
    void onSslErrors(QNetworkReply *, QList<QSslError> errors)
    {
        sslErrorLists << errors;
        RequestLog::writeSslErrors(errors);
    }
};

// Requests as the window sends them, against the local service, and the log lines they leave;
// the worker on its thread: time limits, failures and their user texts, TLS certificate
// checks, and the end of workers and threads.
class TestApiRequests : public QObject
{
    Q_OBJECT

    QTemporaryDir m_logDir;
    std::unique_ptr<LogRecorder> m_log;
    std::unique_ptr<MockService> service;
    std::unique_ptr<ReplyCatcher> catcher;

    ApiRequestContext context(int subscriptionType = 1) const
    {
        ApiRequestContext c;
        // A literal emergency address in use: every request but the address check names
        // the API host.
        c.apiBaseUrl = c.emergencyAddress = c.ipEchoBase = service->baseUrl();
        c.emergencyIsIp = true;
        c.apiHostName = ApiHost;
        c.requestKey = service->requestKey();
        c.authToken = service->authToken();
        c.userId = service->userId();
        c.login = service->login();
        c.password = service->password();
        VPNServer amsterdam = server(101, "10.0.0.1", QString(), "Amsterdam");
        amsterdam.countryIso = QStringLiteral("NL");
        c.setRoute({subscription(11, subscriptionType)}, 0, {amsterdam, server(104, "10.0.0.4")}, 0,
                   1);
        c.protocolLabel = QStringLiteral("UDP");
        return c;
    }
    ApiRequest signKey(const QString &base = QString()) const
    {
        ApiRequestContext c = context();
        c.apiBaseUrl = base.isEmpty() ? c.apiBaseUrl : base;
        return ApiRequestBuilder::build(Req_SignKey, c);
    }
    // Sends one request as the window does, logging it first; returns the reply.
    ReplySnapshot exchange(const ApiRequest &request, int timeoutMs = 5000,
                           const QList<QSslCertificate> &caCertificates = {})
    {
        RequestLog::writeRequest(request);
        const int before = catcher->results.size();
        catcher->send(request, timeoutMs, caCertificates);
        return QTest::qWaitFor([&] { return catcher->results.size() > before; }, timeoutMs + 10000)
            ? catcher->results.last()
            : ReplySnapshot();
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        m_log.reset(new LogRecorder(m_logDir.path()));
    }
    void init()
    {
        service.reset(new MockService);
        service->loadDemoData();
        service->setExpectedApiHost(ApiHost);
        QVERIFY(service->start());
        catcher.reset(new ReplyCatcher);
    }
    void cleanup()
    {
        service->releaseSilent();
        emit catcher->replyReceived();
        // Every worker and its thread end once the reply is disposed of.
        QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
        QVERIFY2(service->violations().isEmpty(), qPrintable(service->violations().join("; ")));
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // Each request in its wire form, as the service checks it, and the lines it leaves in the
    // log: the request, and what a failure of each kind would say. The configuration follows
    // the subscription type and the protocol.
    void requestReachesTheServiceInItsWireForm_data()
    {
        QTest::addColumn<RequestType>("type");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("subscriptionType");
        QTest::addColumn<bool>("tcp");
        const auto row = [](RequestType type, const char *wire, const char *logged,
                            const char *failure, int subscriptionType = 1, bool tcp = false) {
            QTest::addRow("%s %d%s", qPrintable(ApiRequestBuilder::logTag(type)), subscriptionType,
                          tcp ? " tcp" : "")
                << type << QString(wire) << QString(logged) << QString(failure) << subscriptionType
                << tcp;
        };
        const char *configLogged = " openvpn configuration for VPN connection [9]";
        const char *configFailure = "Unable to get openvpn configuration";
        const QList<QPair<int, QString>> configs {
            {4, "single-complement idPackage=11&idServer=101"},
            {3, "onion-complement idPackage=11&idServer=101"},
            {2, "double-complement idPackage=11&idServerIn=101&idServerOut=104"},
            {7, "unknown-complement idPackage=11&idServer=unknown"}};
        for (const QPair<int, QString> &config : configs)
            row(Req_OpenVPNConfig,
                qPrintable(QStringLiteral("GET /v1/openvpn/config-%1&proto=%2 auth")
                               .arg(config.second, config.first % 2 ? "udp" : "tcp")),
                configLogged, configFailure, config.first, config.first % 2 == 0);
        row(Req_SignKey, "GET /v1/api/sign ", " auth key for server [1]",
            "Unable to get authorization key");
        row(Req_Auth, "POST /v1/user/auth  key", " user's authorization [2]",
            "Authorization failed");
        row(Req_ServerMirrorCheck, "GET /api/checkrealip ", " additional authorization support [3]",
            "Unable to get authorization support reply");
        row(Req_SubsList, "GET /v1/package/list  auth", " user's subscriptions [4]",
            "Unable to get subscription list");
        row(Req_ServerList, "GET /v1/server/list idPackage=11 auth",
            " available VPN server list (premium/free sub) [5]",
            "Unable to get available VPN server list");
        row(Req_DoubleServerList, "GET /v1/server/double-map-in  auth",
            " available VPN server list (double sub) [6]",
            "Unable to get VPN server list (double sub)");
        row(Req_OriginalIP, "GET /v1/api/info  auth", "  user's original IP [7]",
            "Unable to get user's original IP");
        row(Req_NewIP, "GET /v1/api/info  auth", " user's IP througth VPN connection [8]",
            "Unable to get user's IP througth VPN connection");
        row(Req_OpenVPNConfig,
            "GET /v1/openvpn/config-single-complement idPackage=11&idServer=101&proto=udp auth",
            configLogged, configFailure);
        row(Req_MirrorToolConfig, "GET /v1/shadow/config  auth", "  mirror tool config [10]",
            "Unable to get mirror tool configuration");
        row(Req_SiteReachable, "GET /v1/api/info ",
            "  server's availability on default address [11]", "");
    }
    void requestReachesTheServiceInItsWireForm()
    {
        QFETCH(RequestType, type);
        QFETCH(QString, wire);
        QFETCH(QString, logged);
        QFETCH(QString, failure);
        QFETCH(int, subscriptionType);
        QFETCH(bool, tcp);
        ApiRequestContext c = context(subscriptionType);
        c.useTcp = tcp;
        c.protocolLabel = tcp ? QStringLiteral("TCP") : QStringLiteral("UDP");
        const ReplySnapshot reply = exchange(ApiRequestBuilder::build(type, c));
        QCOMPARE(reply.error, QNetworkReply::NoError);
        QCOMPARE(service->requests().size(), 1);
        const MockService::Request request = service->requests().first();
        QStringList seen {request.method + ' ' + request.path, request.query};
        if (request.hasHeader("X-Request-Key"))
            seen << QStringLiteral("key");
        if (request.hasHeader("X-Auth-Id") && request.hasHeader("X-Auth-Token"))
            seen << QStringLiteral("auth");
        QCOMPARE(seen.join(' '), wire);
        QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(request.header("Host"),
                 type == Req_ServerMirrorCheck ? "127.0.0.1:" + QByteArray::number(service->port())
                                               : ApiHost);
        QVERIFY(!m_log->matching("server was sent:" + logged).isEmpty());
        if (type == Req_OpenVPNConfig) {
            QVERIFY(reply.body.contains(tcp ? "proto tcp" : "proto udp"));
            QVERIFY(m_log->matching("[9]: VPN Server info: ")
                        .last()
                        .endsWith("[9]: VPN Server info: Amsterdam, NL (IP: 10.0.0.1, Protocol: "
                                  + c.protocolLabel + ")"));
        }

        const QString tag = ApiRequestBuilder::logTag(type);
        const auto lines = [&failure](const QStringList &lines) {
            return failure.isEmpty() ? QStringList() : lines;
        };
        QCOMPARE(RequestLog::failureLines(type, Exc_Network, "refused"),
                 lines({tag + ": " + failure + ". Details:", "refused"}));
        QCOMPARE(RequestLog::failureLines(type, Exc_Declined, QString()),
                 lines({tag + ": \"declined\" server reply"}));
        QCOMPARE(RequestLog::failureLines(type, Exc_Decode, QString()),
                 lines({tag + ": Unable to decode server reply"}));
        QCOMPARE(RequestLog::replyHeaderLine(type), "Server reply on " + tag);
    }

    // The service's form decoder reads back exactly what was typed.
    void authorizationFormKeepsThePasswordAsTyped_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty password") << "a@b.c"
                                        << "" << QByteArray("login=a%40b.c&password=");
        QTest::newRow("form delimiters")
            << "user"
            << "a+b&c=d e%" << QByteArray("login=user&password=a%2Bb%26c%3Dd%20e%25");
        QTest::newRow("UTF-8") << QString::fromUtf8("пол") << QString::fromUtf8("№1")
                               << QByteArray("login=%D0%BF%D0%BE%D0%BB&password=%E2%84%961");
    }
    void authorizationFormKeepsThePasswordAsTyped()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QByteArray, body);
        service->setAccount(login, password, 7, "u@kestrune.test", "u");
        ApiRequestContext c = context();
        c.login = login;
        c.password = password;
        const ReplySnapshot reply = exchange(ApiRequestBuilder::build(Req_Auth, c));
        QCOMPARE(parseAuth(ReplyEnvelope::decode(reply.error, reply.body).object).userId, 7);
        QCOMPARE(service->requests().value(0).body, body);
    }

    void logNeverHoldsPasswordOrToken()
    {
        service->setAccount("secret-user", "Pa55-Wörd+Secret", 5, "s@kestrune.test", "s");
        const ApiRequestContext c = context();
        for (int t = Req_SignKey; t <= Req_MirrorToolConfig; ++t)
            exchange(ApiRequestBuilder::build(RequestType(t), c));
        QFile file(Loger::currentFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray log = file.readAll();
        QVERIFY(log.contains("user's authorization [2]"));
        QVERIFY(!log.contains("Pa55") && !log.contains(QUrl::toPercentEncoding(c.password)));
        QVERIFY(!service->authToken().isEmpty() && !log.contains(service->authToken().toUtf8()));
    }

    // The standalone service program names the demo account and ends on TERM.
    void demoServiceProgramServesUntilTerminated()
    {
        ReservedPort reserved;
        reserved.release();
        QProcess demo;
        demo.start(QString::fromLocal8Bit(qgetenv("KESTRUNE_DEMO_SERVICE")),
                   {QString::number(reserved.port()), QStringLiteral("--lifetime"), "60"});
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += demo.readAllStandardOutput()).contains("password: "),
                                 10000);
        QVERIFY(out.contains("login:    demo@kestrune.test")
                && out.contains("password: demo-pass"));
        demo.terminate();
        QVERIFY(demo.waitForFinished(10000));
        QVERIFY(demo.exitStatus() == QProcess::NormalExit && demo.exitCode() == 0);
        QVERIFY((out + demo.readAllStandardOutput()).contains("stopped after 0 requests"));
    }

    // What a failed or late transfer gives: its error, the user's text and its mark. A reply
    // within the limit is never marked later, even when it is held past the limit: a timer
    // left running would mark it then. A damaged limit falls back to the default.
    void transferGetsItsErrorTextAndMark_data()
    {
        QTest::addColumn<int>("fault"); // -1: the port refuses
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("limitMs");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasBody");
        using F = MockService::Fault;
        using E = QNetworkReply;
        const QString unknown = QStringLiteral("Unknown error.");
        QTest::newRow("silence past the limit")
            << int(F::Silent) << 0 << 300 << int(E::OperationCanceledError)
            << "Can't connect to server within given time interval." << false;
        QTest::newRow("reply held past the limit")
            << int(F::Delay) << 100 << 400 << int(E::NoError) << QString() << true;
        QTest::newRow("limit zero")
            << int(F::Delay) << 100 << 0 << int(E::NoError) << QString() << true;
        QTest::newRow("404 means data not found")
            << int(F::NotFound) << 0 << 5000 << int(E::ContentNotFoundError)
            << "Requested data not found on server." << false;
        QTest::newRow("500 with a JSON body keeps the body")
            << int(F::ServerErrorJson) << 0 << 5000 << int(E::InternalServerError) << unknown
            << true;
        QTest::newRow("connection closed before the body")
            << int(F::Close) << 0 << 5000 << int(E::RemoteHostClosedError) << unknown << false;
        QTest::newRow("refused connection")
            << -1 << 0 << 5000 << int(E::ConnectionRefusedError) << unknown << false;
    }
    void transferGetsItsErrorTextAndMark()
    {
        QFETCH(int, fault);
        QFETCH(int, delayMs);
        QFETCH(int, limitMs);
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(bool, hasBody);
        const bool timedOut = error == QNetworkReply::OperationCanceledError;
        ReservedPort refusing;
        service->setFault("/v1/api/sign", MockService::Fault(qMax(fault, 0)), delayMs);
        catcher->holdReplies = true;
        RequestManager *worker = catcher->send(
            signKey(fault < 0 ? QString("http://127.0.0.1:%1").arg(refusing.port()) : QString()),
            limitMs);
        QSignalSpy marked(worker, SIGNAL(timedOut()));
        QTRY_COMPARE_WITH_TIMEOUT(catcher->results.size(), 1, 15000);
        QVERIFY(timedOut || delayMs == 0 || !marked.wait(qMax(limitMs, 0) + 300));
        QCOMPARE(catcher->lastReply->property("timedout").toBool(), timedOut);
        const ReplySnapshot &result = catcher->results.first();
        QCOMPARE(int(result.error), error);
        QCOMPARE(result.timedOut, timedOut);
        QCOMPARE(error ? result.userErrorText : QString(), text);
        QCOMPARE(!result.body.isEmpty(), hasBody);
        QCOMPARE(result.failedWithoutBody(), !hasBody && error != QNetworkReply::NoError);
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
        service->setExpectedApiHost(ApiHost);
        QVERIFY(service->start(0, certificates.certificateFile, certificates.keyFile));
        const int logged = m_log->matching("SSL errors occurred").size();
        const ReplySnapshot result = exchange(
            signKey(), 5000,
            trusted ? QSslCertificate::fromPath(certificates.caFile) : QList<QSslCertificate>());
        QCOMPARE(result.error,
                 trusted ? QNetworkReply::NoError : QNetworkReply::SslHandshakeFailedError);
        QCOMPARE(result.body.contains(service->requestKey().toLatin1()), trusted);
        QCOMPARE(service->requests().size(), trusted ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(catcher->sslErrorLists.isEmpty(), trusted, 5000);
        QCOMPARE(m_log->matching("SSL errors occurred").size(), logged + (trusted ? 0 : 1));
    }

    void unknownHostCannotBeReached()
    {
        if (qgetenv("KESTRUNE_PRIVATE_NETNS") != "1")
            QSKIP("runs in its own network namespace (tst_apirequests_netns)");
        const ReplySnapshot result
            = exchange(signKey(QStringLiteral("http://kestrune-test.invalid")));
        QCOMPARE(result.error, QNetworkReply::HostNotFoundError);
        QCOMPARE(result.userErrorText, QStringLiteral("Can't connect to server."));
    }
};

KESTRUNE_TEST_MAIN(TestApiRequests)
#include "tst_apirequests.moc"

#include "api/apirequestbuilder.h"
#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "api/subscriptionchoice.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "replycatcher.h"
#include "support/builders.h"
#include "support/logrecorder.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(RequestType)

namespace {

const QByteArray ApiHost = QByteArrayLiteral("api.kestrune.test");

} // namespace

// Requests as the window sends them, against the local service, and the log lines they leave.
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
    // Sends one request as the window does, logging it first; returns the reply.
    ReplyCatcher::Result exchange(const ApiRequest &request, int timeoutMs = 5000)
    {
        RequestLog::writeRequest(request);
        QSignalSpy read(catcher.get(), SIGNAL(replyRead()));
        catcher->send(request, timeoutMs);
        return read.wait(timeoutMs + 5000) ? catcher->results.last() : ReplyCatcher::Result();
    }
    ReplyEnvelope envelopeOf(const ApiRequest &request)
    {
        const ReplyCatcher::Result result = exchange(request);
        return ReplyEnvelope::decode(result.error, result.body);
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
        catcher->dispose();
        QTRY_VERIFY_WITH_TIMEOUT(catcher->threadsGone(), 10000);
        QVERIFY2(service->violations().isEmpty(), qPrintable(service->violations().join("; ")));
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // Each request in its wire form, as the service checks it, and the lines it leaves in the
    // log: the request, and what a failure of each kind would say.
    void requestReachesTheServiceInItsWireForm_data()
    {
        QTest::addColumn<RequestType>("type");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("failure");
        const auto row
            = [](RequestType type, const char *wire, const char *logged, const char *failure) {
                  QTest::newRow(qPrintable(ApiRequestBuilder::logTag(type)))
                      << type << QString(wire) << QString(logged) << QString(failure);
              };
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
            " openvpn configuration for VPN connection [9]", "Unable to get openvpn configuration");
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
        QCOMPARE(exchange(ApiRequestBuilder::build(type, context())).error, QNetworkReply::NoError);
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

    // The Host header names the API only when the base in use is the literal emergency
    // address, and never on the address check.
    void hostHeaderOnlyForALiteralEmergencyBase_data()
    {
        QTest::addColumn<QString>("apiBase");
        QTest::addColumn<QString>("emergency");
        QTest::addColumn<bool>("withHost");
        const QString literal = QStringLiteral("http://198.51.100.23");
        QTest::newRow("literal emergency address in use") << literal << literal << true;
        QTest::newRow("named emergency address in use") << "http://backup.kestrune.test"
                                                        << "http://backup.kestrune.test" << false;
        QTest::newRow("default base in use") << "https://api.kestrune.test" << literal << false;
        QTest::newRow("other literal address") << "http://203.0.113.5" << literal << false;
    }
    void hostHeaderOnlyForALiteralEmergencyBase()
    {
        QFETCH(QString, apiBase);
        QFETCH(QString, emergency);
        QFETCH(bool, withHost);
        ApiRequestContext c = context();
        c.apiBaseUrl = apiBase;
        c.emergencyAddress = emergency;
        c.emergencyIsIp = ApiRequestBuilder::isLiteralIpBase(emergency);
        for (int t = Req_SignKey; t <= Req_MirrorToolConfig; ++t) {
            const ApiRequest request = ApiRequestBuilder::build(RequestType(t), c);
            const bool expected = withHost && t != Req_ServerMirrorCheck;
            QCOMPARE(request.request.rawHeader("Host"), expected ? ApiHost : QByteArray());
            QVERIFY(t == Req_ServerMirrorCheck
                    || request.request.url().toString().startsWith(apiBase));
        }
    }

    void authorizationFormKeepsThePasswordAsTyped_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty password still sends the item")
            << "demo@kestrune.test"
            << "" << QByteArray("login=demo%40kestrune.test&password=");
        QTest::newRow("form delimiters and plus sign")
            << "user"
            << "a+b&c=d e%" << QByteArray("login=user&password=a%2Bb%26c%3Dd%20e%25");
        QTest::newRow("non-Latin characters as UTF-8")
            << QString::fromUtf8("пользователь") << QString::fromUtf8("пароль№1")
            << QByteArray("login=%D0%BF%D0%BE%D0%BB%D1%8C%D0%B7%D0%BE%D0%B2%D0%B0%D1%82%D0%B5%D0%"
                          "BB%D1%8C&password=%D0%BF%D0%B0%D1%80%D0%BE%D0%BB%D1%8C%E2%84%961");
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
        // The service's form decoder reads back exactly what was typed.
        QCOMPARE(parseAuth(envelopeOf(ApiRequestBuilder::build(Req_Auth, c)).object).userId, 7);
        QCOMPARE(service->requests().value(0).body, body);
    }

    void openVpnConfigurationQueryFollowsTypeAndProtocol_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<QByteArray>("wire");
        const auto row = [](const char *name, int type, bool tcp, const char *wire) {
            QTest::newRow(name) << type << tcp << QByteArray(wire);
        };
        row("free over TCP", 4, true, "single-complement?idPackage=11&idServer=101&proto=tcp");
        row("onion", 3, false, "onion-complement?idPackage=11&idServer=101&proto=udp");
        row("double names entry and exit", 2, true,
            "double-complement?idPackage=11&idServerIn=101&idServerOut=104&proto=tcp");
        row("unsupported type", 7, false,
            "unknown-complement?idPackage=11&idServer=unknown&proto=udp");
    }
    void openVpnConfigurationQueryFollowsTypeAndProtocol()
    {
        QFETCH(int, type);
        QFETCH(bool, tcp);
        QFETCH(QByteArray, wire);
        ApiRequestContext c = context(type);
        c.useTcp = tcp;
        c.protocolLabel = tcp ? QStringLiteral("TCP") : QStringLiteral("UDP");
        const ReplyCatcher::Result result
            = exchange(ApiRequestBuilder::build(Req_OpenVPNConfig, c));
        QCOMPARE(result.error, QNetworkReply::NoError);
        const MockService::Request request = service->requests().value(0);
        QCOMPARE(request.path + '?' + request.query, "/v1/openvpn/config-" + wire);
        QVERIFY(result.body.contains(tcp ? "proto tcp" : "proto udp"));
        QVERIFY(m_log->matching("[9]: VPN Server info: ")
                    .last()
                    .endsWith("[9]: VPN Server info: Amsterdam, NL (IP: 10.0.0.1, Protocol: "
                              + c.protocolLabel + ")"));
    }

    void logNeverHoldsPasswordOrToken()
    {
        service->setAccount("secret-user", "Pa55-Wörd+Secret", 5, "s@kestrune.test", "s");
        ApiRequestContext c = context();
        c.login = service->login();
        c.password = service->password();
        for (int t = Req_SignKey; t <= Req_MirrorToolConfig; ++t)
            exchange(ApiRequestBuilder::build(RequestType(t), c));
        QFile file(Loger::currentFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray log = file.readAll();
        QVERIFY(log.contains("user's authorization [2]"));
        QVERIFY(!log.contains("Pa55") && !log.contains(QUrl::toPercentEncoding(c.password)));
        QVERIFY(!service->authToken().isEmpty() && !log.contains(service->authToken().toUtf8()));
    }

    // The whole chain of the demo account, each reply read by its parser and feeding the next
    // request: sign-in, subscriptions, a double route, its configuration and both addresses.
    void demoAccountCarriesASignInAndAConnection()
    {
        ApiRequestContext c = context();
        c.login = QStringLiteral("demo@kestrune.test");
        c.password = QStringLiteral("demo-pass");
        QVERIFY(envelopeOf(ApiRequestBuilder::build(Req_SiteReachable, c)).ok);
        c.requestKey = parseSignKey(envelopeOf(ApiRequestBuilder::build(Req_SignKey, c)).object);
        const AuthInfo account
            = parseAuth(envelopeOf(ApiRequestBuilder::build(Req_Auth, c)).object);
        QCOMPARE(account.userEmail, QStringLiteral("demo@kestrune.test"));
        c.authToken = account.authToken;
        c.userId = account.userId;
        const MirrorCheck mirror
            = parseMirrorCheck(exchange(ApiRequestBuilder::build(Req_ServerMirrorCheck, c)).body);
        QVERIFY(mirror.valid && !mirror.listed);

        const QVector<Subscription> subs
            = parseSubscriptions(envelopeOf(ApiRequestBuilder::build(Req_SubsList, c)).object);
        QVERIFY(chooseSubscription(subs, -1).usable);
        int doubleIndex = -1;
        for (int i = 0; i < subs.size(); ++i)
            doubleIndex = subs.at(i).type == 2 && subs.at(i).status == 1 ? i : doubleIndex;
        QVERIFY(doubleIndex >= 0);
        c.setRoute(subs, doubleIndex, {}, -1, -1);
        QVector<VPNServer> servers
            = parseServerList(envelopeOf(ApiRequestBuilder::build(Req_ServerList, c)).object, 2, 2);
        applyDoubleMap(servers,
                       envelopeOf(ApiRequestBuilder::build(Req_DoubleServerList, c)).object);
        int entry = 0;
        while (entry < servers.size() && servers.at(entry).doubleExits.isEmpty())
            ++entry;
        QVERIFY(entry < servers.size());
        c.setRoute(subs, doubleIndex, servers, entry, servers.at(entry).doubleExits.first());

        const ReplyEnvelope before = envelopeOf(ApiRequestBuilder::build(Req_OriginalIP, c));
        QVERIFY(exchange(ApiRequestBuilder::build(Req_OpenVPNConfig, c))
                    .body.contains("remote 127.0.0.1"));
        const ReplyEnvelope after = envelopeOf(ApiRequestBuilder::build(Req_NewIP, c));
        const QString original = before.object.value("api").toObject().value("ip").toString();
        const QString tunnel = after.object.value("api").toObject().value("ip").toString();
        QVERIFY(!original.isEmpty() && !tunnel.isEmpty() && original != tunnel);
        QCOMPARE(service->requests().at(8).path,
                 QByteArray("/v1/openvpn/config-double-complement"));
    }
};

KESTRUNE_TEST_MAIN(TestApiRequests)
#include "tst_apirequests.moc"

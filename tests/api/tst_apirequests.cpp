#include "api/apirequestbuilder.h"
#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "api/subscriptionchoice.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "replycatcher.h"
#include "support/testmain.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>

Q_DECLARE_METATYPE(RequestType)
Q_DECLARE_METATYPE(MockService::Fault)
Q_DECLARE_METATYPE(NetworkRequestExceptionType)

namespace {

const QByteArray apiHost = QByteArrayLiteral("api.kestrune.test");

VPNServer server(int id, const QString &ip, const QString &city, const QString &iso)
{
    VPNServer s;
    s.id = id;
    s.ip = ip;
    s.cityName = city;
    s.countryIso = iso;
    return s;
}

} // namespace

class TestApiRequests : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir logDir;
    QStringList logLines;
    std::unique_ptr<MockService> service;
    std::unique_ptr<ReplyCatcher> catcher;

    ApiRequestContext context(int subscriptionType = 1) const
    {
        ApiRequestContext c;
        c.apiBaseUrl = service->baseUrl();
        c.emergencyAddress = QStringLiteral("http://192.0.2.10");
        c.emergencyIsIp = true;
        c.apiHostName = apiHost;
        c.ipEchoBase = service->baseUrl();
        c.requestKey = service->requestKey();
        c.authToken = service->authToken();
        c.userId = service->userId();
        c.login = service->login();
        c.password = service->password();
        Subscription sub;
        sub.id = 11;
        sub.type = subscriptionType;
        const QVector<VPNServer> servers {server(101, "10.0.0.1", "Amsterdam", "NL"),
                                          server(104, "10.0.0.4", "Frankfurt", "DE")};
        c.setRoute({sub}, 0, servers, 0, 1);
        c.protocolLabel = QStringLiteral("UDP");
        return c;
    }

    // Sends one request as the window does, logging it first; returns the reply.
    ReplyCatcher::Result exchange(const ApiRequest &request, int timeoutMs = 5000)
    {
        RequestLog::writeRequest(request);
        const int before = catcher->results.size();
        catcher->send(request, timeoutMs);
        QSignalSpy spy(catcher.get(), SIGNAL(replyRead()));
        if (catcher->results.size() == before)
            spy.wait(timeoutMs + 5000);
        if (catcher->results.size() == before)
            return ReplyCatcher::Result();
        return catcher->results.last();
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
        service->loadDemoData();
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

    void requestReachesTheServiceInItsWireForm_data()
    {
        QTest::addColumn<RequestType>("type");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<bool>("authHeaders");
        QTest::addColumn<bool>("jsonEnvelope");
        QTest::newRow("[1] request key")
            << Req_SignKey << QByteArray("GET") << QByteArray("/v1/api/sign") << QByteArray()
            << false << true;
        QTest::newRow("[2] authorization")
            << Req_Auth << QByteArray("POST") << QByteArray("/v1/user/auth") << QByteArray()
            << false << true;
        QTest::newRow("[3] address check")
            << Req_ServerMirrorCheck << QByteArray("GET") << QByteArray("/api/checkrealip")
            << QByteArray() << false << false;
        QTest::newRow("[4] subscriptions")
            << Req_SubsList << QByteArray("GET") << QByteArray("/v1/package/list") << QByteArray()
            << true << true;
        QTest::newRow("[5] server list")
            << Req_ServerList << QByteArray("GET") << QByteArray("/v1/server/list")
            << QByteArray("idPackage=11") << true << true;
        QTest::newRow("[6] double map")
            << Req_DoubleServerList << QByteArray("GET") << QByteArray("/v1/server/double-map-in")
            << QByteArray() << true << true;
        QTest::newRow("[7] original address")
            << Req_OriginalIP << QByteArray("GET") << QByteArray("/v1/api/info") << QByteArray()
            << true << true;
        QTest::newRow("[8] address through the tunnel")
            << Req_NewIP << QByteArray("GET") << QByteArray("/v1/api/info") << QByteArray() << true
            << true;
        QTest::newRow("[9] OpenVPN configuration")
            << Req_OpenVPNConfig << QByteArray("GET")
            << QByteArray("/v1/openvpn/config-single-complement")
            << QByteArray("idPackage=11&idServer=101&proto=udp") << true << false;
        QTest::newRow("[10] mirror tool configuration")
            << Req_MirrorToolConfig << QByteArray("GET") << QByteArray("/v1/shadow/config")
            << QByteArray() << true << false;
        QTest::newRow("[11] reachability")
            << Req_SiteReachable << QByteArray("GET") << QByteArray("/v1/api/info") << QByteArray()
            << false << true;
    }
    void requestReachesTheServiceInItsWireForm()
    {
        QFETCH(RequestType, type);
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, query);
        QFETCH(bool, authHeaders);
        QFETCH(bool, jsonEnvelope);

        const ReplyCatcher::Result result = exchange(ApiRequestBuilder::build(type, context()));
        QCOMPARE(result.error, QNetworkReply::NoError);
        QCOMPARE(service->requests().size(), 1);
        const MockService::Request request = service->requests().first();
        QCOMPARE(request.method, method);
        QCOMPARE(request.path, path);
        QCOMPARE(request.query, query);
        QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(request.hasHeader("X-Auth-Id"), authHeaders);
        QCOMPARE(request.hasHeader("X-Auth-Token"), authHeaders);
        QCOMPARE(request.hasHeader("X-Request-Key"), type == Req_Auth);
        if (type == Req_Auth)
            QCOMPARE(request.header("X-Request-Key"), service->requestKey().toLatin1());
        QVERIFY2(service->violations().isEmpty(), qPrintable(service->violations().join("; ")));
        if (jsonEnvelope)
            QVERIFY(ReplyEnvelope::decode(result.error, result.body).ok);
    }

    void literalIpBaseCarriesTheApiHostNameExceptForTheAddressCheck_data()
    {
        QTest::addColumn<RequestType>("type");
        for (int t = Req_SignKey; t <= Req_MirrorToolConfig; ++t) {
            const RequestType type = RequestType(t);
            QTest::newRow(qPrintable(ApiRequestBuilder::logTag(type))) << type;
        }
    }
    void literalIpBaseCarriesTheApiHostNameExceptForTheAddressCheck()
    {
        QFETCH(RequestType, type);
        ApiRequestContext c = context();
        c.emergencyAddress = c.apiBaseUrl; // http://127.0.0.1:port: a literal address
        c.emergencyIsIp = ApiRequestBuilder::isLiteralIpBase(c.emergencyAddress);
        QVERIFY(c.emergencyIsIp);
        service->setExpectedApiHost(apiHost);

        const ReplyCatcher::Result result = exchange(ApiRequestBuilder::build(type, c));
        QCOMPARE(result.error, QNetworkReply::NoError);
        const MockService::Request request = service->requests().value(0);
        if (type == Req_ServerMirrorCheck)
            QVERIFY(request.header("Host").startsWith("127.0.0.1"));
        else
            QCOMPARE(request.header("Host"), apiHost);
        QVERIFY2(service->violations().isEmpty(), qPrintable(service->violations().join("; ")));
    }

    void hostHeaderOnlyForALiteralEmergencyBase_data()
    {
        QTest::addColumn<QString>("apiBase");
        QTest::addColumn<QString>("emergency");
        QTest::addColumn<bool>("withHost");
        QTest::newRow("literal emergency address in use") << "http://198.51.100.23"
                                                          << "http://198.51.100.23" << true;
        QTest::newRow("named emergency address in use") << "http://backup.kestrune.test"
                                                        << "http://backup.kestrune.test" << false;
        QTest::newRow("default base in use") << "https://api.kestrune.test"
                                             << "http://198.51.100.23" << false;
        QTest::newRow("literal address that is not the emergency one")
            << "http://203.0.113.5"
            << "http://198.51.100.23" << false;
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
            const RequestType type = RequestType(t);
            const ApiRequest request = ApiRequestBuilder::build(type, c);
            const bool expected = withHost && type != Req_ServerMirrorCheck;
            QVERIFY2(request.request.hasRawHeader("Host") == expected,
                     qPrintable(ApiRequestBuilder::logTag(type)));
            if (expected)
                QCOMPARE(request.request.rawHeader("Host"), apiHost);
            if (type != Req_ServerMirrorCheck)
                QVERIFY(request.request.url().toString().startsWith(apiBase));
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
        service->setAccount(login, password, 7, QStringLiteral("u@kestrune.test"),
                            QStringLiteral("u"));
        ApiRequestContext c = context();
        c.login = login;
        c.password = password;
        const ReplyCatcher::Result result = exchange(ApiRequestBuilder::build(Req_Auth, c));
        QCOMPARE(service->requests().value(0).body, body);
        // The service's form decoder reads back exactly what was typed.
        const ReplyEnvelope envelope = ReplyEnvelope::decode(result.error, result.body);
        QVERIFY(envelope.ok);
        QCOMPARE(envelope.object.value("user").toObject().value("id").toInt(), 7);
    }

    void openVpnConfigurationQueryFollowsTypeAndProtocol_data()
    {
        QTest::addColumn<int>("subscriptionType");
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("query");
        QTest::newRow("premium over UDP")
            << 1 << false << QByteArray("/v1/openvpn/config-single-complement")
            << QByteArray("idPackage=11&idServer=101&proto=udp");
        QTest::newRow("free over TCP")
            << 4 << true << QByteArray("/v1/openvpn/config-single-complement")
            << QByteArray("idPackage=11&idServer=101&proto=tcp");
        QTest::newRow("onion") << 3 << false << QByteArray("/v1/openvpn/config-onion-complement")
                               << QByteArray("idPackage=11&idServer=101&proto=udp");
        QTest::newRow("double names entry and exit")
            << 2 << true << QByteArray("/v1/openvpn/config-double-complement")
            << QByteArray("idPackage=11&idServerIn=101&idServerOut=104&proto=tcp");
        QTest::newRow("unsupported type")
            << 7 << false << QByteArray("/v1/openvpn/config-unknown-complement")
            << QByteArray("idPackage=11&idServer=unknown&proto=udp");
    }
    void openVpnConfigurationQueryFollowsTypeAndProtocol()
    {
        QFETCH(int, subscriptionType);
        QFETCH(bool, tcp);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, query);
        ApiRequestContext c = context(subscriptionType);
        c.useTcp = tcp;
        c.protocolLabel = tcp ? QStringLiteral("TCP") : QStringLiteral("UDP");
        const ReplyCatcher::Result result
            = exchange(ApiRequestBuilder::build(Req_OpenVPNConfig, c));
        QCOMPARE(result.error, QNetworkReply::NoError);
        QCOMPARE(service->requests().value(0).path, path);
        QCOMPARE(service->requests().value(0).query, query);
        QVERIFY(result.body.contains(tcp ? "proto tcp" : "proto udp"));
        QVERIFY(result.body.contains("remote 127.0.0.1"));
        QCOMPARE(logLines.filter("[9]: VPN Server info: ").size(), 1);
        QVERIFY(logLines.filter("[9]: VPN Server info: ")
                    .first()
                    .endsWith(QStringLiteral("[9]: VPN Server info: Amsterdam, NL (IP: 10.0.0.1, "
                                             "Protocol: %1)")
                                  .arg(c.protocolLabel)));
    }

    void requestLogLineNamesTheRequest_data()
    {
        QTest::addColumn<RequestType>("type");
        QTest::addColumn<QString>("tail");
        const QString sent = QStringLiteral("Request to Kestrune server was sent: ");
        QTest::newRow("[1]") << Req_SignKey << sent + "auth key for server [1]";
        QTest::newRow("[2]") << Req_Auth << sent + "user's authorization [2]";
        QTest::newRow("[3]") << Req_ServerMirrorCheck
                             << sent + "additional authorization support [3]";
        QTest::newRow("[4]") << Req_SubsList << sent + "user's subscriptions [4]";
        QTest::newRow("[5]") << Req_ServerList
                             << sent + "available VPN server list (premium/free sub) [5]";
        QTest::newRow("[6]") << Req_DoubleServerList
                             << sent + "available VPN server list (double sub) [6]";
        QTest::newRow("[7] with two blanks")
            << Req_OriginalIP << "server was sent:  user's original IP [7]";
        QTest::newRow("[8]") << Req_NewIP << sent + "user's IP througth VPN connection [8]";
        QTest::newRow("[9]") << Req_OpenVPNConfig
                             << sent + "openvpn configuration for VPN connection [9]";
        QTest::newRow("[10]") << Req_MirrorToolConfig << sent + " mirror tool config [10]";
        QTest::newRow("[11]") << Req_SiteReachable
                              << sent + " server's availability on default address [11]";
    }
    void requestLogLineNamesTheRequest()
    {
        QFETCH(RequestType, type);
        QFETCH(QString, tail);
        RequestLog::writeRequest(ApiRequestBuilder::build(type, context()));
        QVERIFY(!logLines.isEmpty());
        QVERIFY2(logLines.first().endsWith(tail), qPrintable(logLines.first()));
        QVERIFY(logLines.first().startsWith(QLatin1Char('[')));
    }

    void logNeverHoldsPasswordOrToken()
    {
        service->setAccount("secret-user", "Pa55-Wörd+Secret", 5, "s@kestrune.test", "s");
        ApiRequestContext c = context();
        c.login = service->login();
        c.password = service->password();
        c.authToken = QStringLiteral("tok-SECRET-9f8e");
        for (int t = Req_SignKey; t <= Req_MirrorToolConfig; ++t)
            exchange(ApiRequestBuilder::build(RequestType(t), c));
        QFile file(Loger::currentFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray log = file.readAll();
        QVERIFY(log.contains("user's authorization [2]"));
        QVERIFY(!log.contains("Pa55"));
        QVERIFY(!log.contains(QUrl::toPercentEncoding(c.password)));
        QVERIFY(!log.contains("tok-SECRET"));
    }

    void replyIsClassifiedByItsEnvelope_data()
    {
        QTest::addColumn<MockService::Fault>("fault");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<NetworkRequestExceptionType>("failure");
        QTest::addColumn<QStringList>("logLines");
        QTest::newRow("accepted") << MockService::Fault::None << true << Exc_Network
                                  << QStringList();
        QTest::newRow("result false is declined")
            << MockService::Fault::Declined << false << Exc_Declined
            << QStringList {"[1]: \"declined\" server reply"};
        QTest::newRow("500 with result false is declined, not a network failure")
            << MockService::Fault::ServerErrorJson << false << Exc_Declined
            << QStringList {"[1]: \"declined\" server reply"};
        QTest::newRow("500 without body is a network failure")
            << MockService::Fault::ServerErrorPlain << false << Exc_Network
            << QStringList {"[1]: Unable to get authorization key. Details:"};
        QTest::newRow("404 without body is a network failure")
            << MockService::Fault::NotFound << false << Exc_Network
            << QStringList {"[1]: Unable to get authorization key. Details:"};
        QTest::newRow("closed connection is a network failure")
            << MockService::Fault::Close << false << Exc_Network
            << QStringList {"[1]: Unable to get authorization key. Details:"};
        QTest::newRow("invalid JSON cannot be decoded")
            << MockService::Fault::InvalidJson << false << Exc_Decode
            << QStringList {"[1]: Unable to decode server reply"};
        QTest::newRow("empty body cannot be decoded")
            << MockService::Fault::EmptyBody << false << Exc_Decode
            << QStringList {"[1]: Unable to decode server reply"};
        QTest::newRow("truncated body cannot be decoded")
            << MockService::Fault::TruncatedBody << false << Exc_Decode
            << QStringList {"[1]: Unable to decode server reply"};
    }
    void replyIsClassifiedByItsEnvelope()
    {
        QFETCH(MockService::Fault, fault);
        QFETCH(bool, ok);
        QFETCH(NetworkRequestExceptionType, failure);
        QFETCH(QStringList, logLines);
        service->setFault("/v1/api/sign", fault);
        const ReplyCatcher::Result result
            = exchange(ApiRequestBuilder::build(Req_SignKey, context()));
        const ReplyEnvelope envelope = ReplyEnvelope::decode(result.error, result.body);
        QCOMPARE(envelope.ok, ok);
        if (ok) {
            QCOMPARE(envelope.object.value("key").toString(), service->requestKey());
            return;
        }
        QCOMPARE(envelope.failure, failure);
        QStringList expected = logLines;
        if (failure == Exc_Network)
            expected << result.errorString;
        QCOMPARE(RequestLog::failureLines(Req_SignKey, failure, result.errorString), expected);
    }

    void failureLinesNameTheRequest_data()
    {
        QTest::addColumn<RequestType>("type");
        QTest::addColumn<QString>("networkLine");
        QTest::newRow("[2]") << Req_Auth << "[2]: Authorization failed. Details:";
        QTest::newRow("[3]") << Req_ServerMirrorCheck
                             << "[3]: Unable to get authorization support reply. Details:";
        QTest::newRow("[4]") << Req_SubsList << "[4]: Unable to get subscription list. Details:";
        QTest::newRow("[5]") << Req_ServerList
                             << "[5]: Unable to get available VPN server list. Details:";
        QTest::newRow("[6]") << Req_DoubleServerList
                             << "[6]: Unable to get VPN server list (double sub). Details:";
        QTest::newRow("[7]") << Req_OriginalIP << "[7]: Unable to get user's original IP. Details:";
        QTest::newRow("[8]") << Req_NewIP
                             << "[8]: Unable to get user's IP througth VPN connection. Details:";
        QTest::newRow("[9]") << Req_OpenVPNConfig
                             << "[9]: Unable to get openvpn configuration. Details:";
        QTest::newRow("[10]") << Req_MirrorToolConfig
                              << "[10]: Unable to get mirror tool configuration. Details:";
    }
    void failureLinesNameTheRequest()
    {
        QFETCH(RequestType, type);
        QFETCH(QString, networkLine);
        const QString tag = ApiRequestBuilder::logTag(type);
        QCOMPARE(RequestLog::failureLines(type, Exc_Network, "Connection refused"),
                 (QStringList {networkLine, "Connection refused"}));
        QCOMPARE(RequestLog::failureLines(type, Exc_Declined, QString()),
                 QStringList {tag + ": \"declined\" server reply"});
        QCOMPARE(RequestLog::failureLines(type, Exc_Decode, QString()),
                 QStringList {tag + ": Unable to decode server reply"});
        QCOMPARE(RequestLog::replyHeaderLine(type), "Server reply on " + tag);
    }

    void reachabilityFailuresWriteNoLines()
    {
        for (int failure = Exc_Network; failure <= Exc_Decode; ++failure)
            QVERIFY(RequestLog::failureLines(Req_SiteReachable,
                                             NetworkRequestExceptionType(failure), "x")
                        .isEmpty());
        QCOMPARE(RequestLog::invalidSubscriptionTypeLine(),
                 QString("[5]: Invalid subscription type"));
        QCOMPARE(RequestLog::wrongMirrorCheckDataLine(), QString("[3]: Wrong server data"));
    }

    void silentReplyEndsAsANetworkFailure()
    {
        service->setFault("/v1/package/list", MockService::Fault::Silent);
        const ReplyCatcher::Result result
            = exchange(ApiRequestBuilder::build(Req_SubsList, context()), 250);
        service->releaseSilent();
        QVERIFY(result.timedOut);
        const ReplyEnvelope envelope = ReplyEnvelope::decode(result.error, result.body);
        QVERIFY(!envelope.ok);
        QCOMPARE(envelope.failure, Exc_Network);
    }

    void demoAccountCarriesASignInAndAConnection()
    {
        ApiRequestContext c;
        c.apiBaseUrl = service->baseUrl();
        c.emergencyAddress = service->baseUrl();
        c.emergencyIsIp = true;
        c.apiHostName = apiHost;
        c.ipEchoBase = service->baseUrl();
        c.login = QStringLiteral("demo@kestrune.test");
        c.password = QStringLiteral("demo-pass");
        service->setExpectedApiHost(apiHost);
        const auto envelopeOf = [this, &c](RequestType type) {
            const ReplyCatcher::Result result = exchange(ApiRequestBuilder::build(type, c));
            return ReplyEnvelope::decode(result.error, result.body);
        };

        QVERIFY(envelopeOf(Req_SiteReachable).ok);
        const ReplyEnvelope key = envelopeOf(Req_SignKey);
        QVERIFY(key.ok);
        c.requestKey = parseSignKey(key.object);
        const ReplyEnvelope auth = envelopeOf(Req_Auth);
        QVERIFY(auth.ok);
        const AuthInfo account = parseAuth(auth.object);
        c.authToken = account.authToken;
        c.userId = account.userId;
        QCOMPARE(account.userEmail, QStringLiteral("demo@kestrune.test"));
        const ReplyCatcher::Result echo
            = exchange(ApiRequestBuilder::build(Req_ServerMirrorCheck, c));
        const MirrorCheck mirror = parseMirrorCheck(echo.body);
        QVERIFY(mirror.valid);
        QVERIFY(!mirror.listed);

        const ReplyEnvelope subsReply = envelopeOf(Req_SubsList);
        QVERIFY(subsReply.ok);
        const QVector<Subscription> subs = parseSubscriptions(subsReply.object);
        QVERIFY(subs.size() >= 6);
        int doubleIndex = -1;
        for (int i = 0; i < subs.size(); ++i) {
            if (subs.at(i).type == 2 && subs.at(i).status == 1)
                doubleIndex = i;
        }
        QVERIFY(doubleIndex >= 0);
        QVERIFY(chooseSubscription(subs, -1).usable);

        c.setRoute(subs, doubleIndex, {}, -1, -1);
        const ReplyEnvelope list = envelopeOf(Req_ServerList);
        QVERIFY(list.ok);
        QVector<VPNServer> servers = parseServerList(list.object, 2, 2);
        QCOMPARE(serverListFollowUp(2), FollowUp_DoubleMap);
        const ReplyEnvelope map = envelopeOf(Req_DoubleServerList);
        QVERIFY(map.ok);
        applyDoubleMap(servers, map.object);
        int entry = -1;
        for (int i = 0; i < servers.size() && entry < 0; ++i) {
            if (servers.at(i).doubleEntry && !servers.at(i).doubleExits.isEmpty())
                entry = i;
        }
        QVERIFY(entry >= 0);
        c.setRoute(subs, doubleIndex, servers, entry, servers.at(entry).doubleExits.first());

        const ReplyEnvelope before = envelopeOf(Req_OriginalIP);
        const ReplyCatcher::Result config
            = exchange(ApiRequestBuilder::build(Req_OpenVPNConfig, c));
        QVERIFY(config.body.contains("remote 127.0.0.1"));
        const ReplyEnvelope after = envelopeOf(Req_NewIP);
        const QString original = before.object.value("api").toObject().value("ip").toString();
        const QString tunnel = after.object.value("api").toObject().value("ip").toString();
        QVERIFY(!original.isEmpty());
        QVERIFY(!tunnel.isEmpty());
        QVERIFY(original != tunnel);

        QStringList paths;
        for (const MockService::Request &request : service->requests())
            paths << QString::fromLatin1(request.path);
        QCOMPARE(
            paths,
            (QStringList {"/v1/api/info", "/v1/api/sign", "/v1/user/auth", "/api/checkrealip",
                          "/v1/package/list", "/v1/server/list", "/v1/server/double-map-in",
                          "/v1/api/info", "/v1/openvpn/config-double-complement", "/v1/api/info"}));
        QVERIFY2(service->violations().isEmpty(), qPrintable(service->violations().join("; ")));
    }

    void faultOnDemandEndsAfterItsCount()
    {
        service->setFault("/v1/api/info", MockService::Fault::ServerErrorPlain, 0, 2);
        QVector<int> errors;
        for (int i = 0; i < 3; ++i)
            errors << int(exchange(ApiRequestBuilder::build(Req_SiteReachable, context())).error);
        QCOMPARE(
            errors,
            (QVector<int> {int(QNetworkReply::InternalServerError),
                           int(QNetworkReply::InternalServerError), int(QNetworkReply::NoError)}));
    }

    void serviceRejectsWrongAuthHeaders()
    {
        ApiRequestContext c = context();
        c.authToken = QStringLiteral("stale-token");
        const ReplyCatcher::Result result = exchange(ApiRequestBuilder::build(Req_SubsList, c));
        const ReplyEnvelope envelope = ReplyEnvelope::decode(result.error, result.body);
        QCOMPARE(envelope.failure, Exc_Declined);
        QCOMPARE(service->violations().size(), 1);
    }
};

KESTRUNE_TEST_MAIN(TestApiRequests)
#include "tst_apirequests.moc"

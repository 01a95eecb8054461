#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "api/restoredecision.h"
#include "api/subscriptionchoice.h"
#include "support/builders.h"
#include "support/testmain.h"

#include <climits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

Q_DECLARE_METATYPE(NetworkRequestExceptionType)
Q_DECLARE_METATYPE(RestoreDecision::Action)

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QJsonObject serverJson(int id, const QString &city)
{
    const QJsonObject names {{"countryIso", "NL"},
                             {"countryNameEn", "Netherlands"},
                             {"countryNameRu", "Нидерланды"},
                             {"cityNameEn", city},
                             {"cityNameRu", city + "-ru"}};
    return QJsonObject {{"id", id},
                        {"ip", QStringLiteral("10.0.0.%1").arg(id)},
                        {"name", QStringLiteral("srv-%1").arg(id)},
                        {"isFree", id == 2},
                        {"geo", QJsonObject {{"def", names}}}};
}

QVector<VPNServer> serversWithIds(const QVector<int> &ids)
{
    QVector<VPNServer> servers;
    for (int id : ids)
        servers << server(id);
    return servers;
}

// Each server as its id, with ">" and the indexes of its exits when it is a double entry.
QStringList describe(const QVector<VPNServer> &servers)
{
    QStringList out;
    for (const VPNServer &s : servers) {
        QStringList exits;
        for (int exit : s.doubleExits)
            exits << QString::number(exit);
        out << QStringLiteral("%1%2%3").arg(s.id).arg(s.doubleEntry ? ">" : "", exits.join(','));
    }
    return out;
}

} // namespace

// The readers of the service's replies: every member may be missing, of another kind, huge
// or hostile; none of that crashes or leaks into the values.
class TestReplyParsers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void envelopeClassifiesTheReply_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<NetworkRequestExceptionType>("failure");
        const auto row = [](const char *name, QNetworkReply::NetworkError error,
                            const QByteArray &body, bool ok, NetworkRequestExceptionType failure) {
            QTest::newRow(name) << int(error) << body << ok << failure;
        };
        const auto none = QNetworkReply::NoError;
        row("accepted", none, "{\"result\":true}", true, Exc_Network);
        row("result false", none, "{\"result\":false}", false, Exc_Declined);
        row("result missing", none, "{\"key\":\"k\"}", false, Exc_Declined);
        row("result as a string", none, "{\"result\":\"true\"}", false, Exc_Declined);
        row("array document", none, "[true]", false, Exc_Declined);
        row("empty body", none, "", false, Exc_Decode);
        row("not JSON", none, "<html>busy</html>", false, Exc_Decode);
        row("truncated JSON", QNetworkReply::RemoteHostClosedError, "{\"result\":true,\"d\":[",
            false, Exc_Decode);
        row("nested past the parser's depth", none, QByteArray(3000, '['), false, Exc_Decode);
        row("failure without body", QNetworkReply::ContentNotFoundError, "", false, Exc_Network);
        row("HTTP 401 with result false is declined", QNetworkReply::AuthenticationRequiredError,
            "{\"result\":false,\"message\":\"no\"}", false, Exc_Declined);
        row("HTTP error with an accepting body is read as success",
            QNetworkReply::InternalServerError, "{\"result\":true}", true, Exc_Network);
    }
    void envelopeClassifiesTheReply()
    {
        QFETCH(int, error);
        QFETCH(QByteArray, body);
        QFETCH(bool, ok);
        QFETCH(NetworkRequestExceptionType, failure);
        const ReplyEnvelope envelope
            = ReplyEnvelope::decode(QNetworkReply::NetworkError(error), body);
        QCOMPARE(envelope.ok, ok);
        QCOMPARE(ok ? Exc_Network : envelope.failure, failure);
    }

    // Members of another kind read as their defaults, never as a guess.
    void accountAndKeyAreRead_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("read");
        const auto row = [](const char *name, const char *json, const char *read) {
            QTest::newRow(name) << QByteArray(json) << QString(read);
        };
        row("every member",
            "{\"key\":\"k-1\",\"token\":\"t\",\"user\":{\"id\":42,\"email\":"
            "\"a@b.c\",\"username\":\"ab\"}}",
            "k-1 t 42 a@b.c ab");
        row("no members", "{\"result\":true}", "  0  ");
        row("user is an array", "{\"token\":5,\"user\":[1,2]}", "  0  ");
        row("members of other kinds",
            "{\"key\":1,\"token\":null,\"user\":{\"id\":\"42\","
            "\"email\":7,\"username\":false}}",
            "  0  ");
        row("id not whole", "{\"user\":{\"id\":4.5}}", "  0  ");
        row("id beyond int", "{\"user\":{\"id\":1e300}}", "  0  ");
    }
    void accountAndKeyAreRead()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, read);
        const AuthInfo info = parseAuth(object(json));
        QCOMPARE(QStringList({parseSignKey(object(json)), info.authToken,
                              QString::number(info.userId), info.userEmail, info.userName})
                     .join(' '),
                 read);
    }

    void subscriptionsAreReadAndSortedByType()
    {
        const QVector<Subscription> subs = parseSubscriptions(
            object("{\"data\":[{\"id\":5,\"type\":3,\"typeName\":\"Onion\",\"name\":\"\","
                   "\"status\":1,\"timeCreated\":1600000000,\"timeEnd\":1700000000.9},"
                   "{\"id\":6,\"type\":1,\"name\":\"Mine\",\"status\":2},"
                   "{\"id\":7,\"type\":2,\"status\":3},{\"id\":8,\"type\":1,\"status\":1},"
                   "1,\"x\",null]}"));
        QStringList read;
        QVector<int> types;
        for (const Subscription &s : subs) {
            read
                << QStringLiteral("%1:%2:%3:%4").arg(s.type).arg(s.id).arg(s.status).arg(s.timeEnd);
            types << s.type;
        }
        QCOMPARE(types, (QVector<int> {0, 0, 0, 1, 1, 2, 3}));
        // Elements that are no objects read as empty subscriptions.
        read.sort();
        QCOMPARE(read,
                 (QStringList {"0:0:0:0", "0:0:0:0", "0:0:0:0", "1:6:2:0", "1:8:1:0", "2:7:3:0",
                               "3:5:1:1700000000"}));
        QCOMPARE(subs.last().typeName, QStringLiteral("Onion"));
        QVERIFY(parseSubscriptions(object("{\"data\":{\"id\":1}}")).isEmpty());
        // Times are truncated toward zero and bounded to int; text is no time.
        QCOMPARE(parseSubscription(object("{\"timeEnd\":-5.5}")).timeEnd, -5);
        QCOMPARE(parseSubscription(object("{\"timeEnd\":1e300}")).timeEnd, INT_MAX);
        QCOMPARE(parseSubscription(object("{\"timeEnd\":-1e300}")).timeEnd, INT_MIN);
        QCOMPARE(parseSubscription(object("{\"timeEnd\":\"17\"}")).timeEnd, 0);
        QVERIFY(parseSubscriptions(object("{\"data\":\"[1]\"}")).isEmpty());
    }

    void subscriptionChoice_data()
    {
        QTest::addColumn<QVector<int>>("statuses"); // ids are 10, 11, 12 ...
        QTest::addColumn<int>("savedPackageId");
        QTest::addColumn<QString>("choice");
        const auto row
            = [](const char *name, const QVector<int> &statuses, int saved, const char *choice) {
                  QTest::newRow(name) << statuses << saved << QString(choice);
              };
        row("active, paused, expired: active preselected", {1, 2, 3}, -1, "usable 0");
        row("only paused and expired: nothing usable", {2, 3}, -1, "-1");
        row("unknown status does not count as active", {4, 0}, -1, "-1");
        row("remembered expired one is selected and taken", {1, 3}, 11, "usable 1 next");
        row("remembered paused one is passed over", {3, 2, 1}, 11, "usable 2 next");
        row("remembered one that is gone: first active", {2, 1, 1}, 99, "usable 1 next");
        row("remembered id 0 counts as remembered", {1}, 0, "usable 0 next");
    }
    void subscriptionChoice()
    {
        QFETCH(QVector<int>, statuses);
        QFETCH(int, savedPackageId);
        QFETCH(QString, choice);
        QVector<Subscription> subs;
        for (int i = 0; i < statuses.size(); ++i)
            subs << subscription(10 + i, 1, 30, qint16(statuses.at(i)));
        const SubscriptionChoice c = chooseSubscription(subs, savedPackageId);
        QCOMPARE(QStringList({c.usable ? "usable" : "", QString::number(c.preselected),
                              c.autoNext ? "next" : ""})
                     .join(' ')
                     .trimmed(),
                 choice);
    }

    // Free servers only for the free type; names follow the language (Russian for 1,
    // English otherwise); members of another kind read as defaults.
    void serverListIsRead()
    {
        QJsonObject flagAsText = serverJson(3, "Oslo");
        flagAsText["isFree"] = "true";
        const QJsonObject reply {
            {"data",
             QJsonArray {serverJson(1, "Oslo"), serverJson(2, "Oslo"), flagAsText,
                         QJsonObject {{"id", "7"}, {"ip", 1}, {"geo", "NL"}}, "server"}}};
        QCOMPARE(describe(parseServerList(reply, 1, 2)), (QStringList {"1", "3", "0", "0"}));
        QCOMPARE(describe(parseServerList(reply, 4, 2)), (QStringList {"1", "2", "3", "0", "0"}));
        const VPNServer russian = parseServerList(reply, 1, 1).first();
        QCOMPARE(russian.countryName + russian.cityName, QString::fromUtf8("НидерландыOslo-ru"));
        const QVector<VPNServer> english = parseServerList(reply, 3, 5);
        QCOMPARE(QStringList({english.first().ip, english.first().name, english.first().countryIso,
                              english.first().countryName, english.first().cityName}),
                 (QStringList {"10.0.0.1", "srv-1", "NL", "Netherlands", "Oslo"}));
        QVERIFY(english.last().ip.isEmpty() && english.last().cityName.isEmpty());
        // Same city: every other server of exactly that name, servers without one included.
        QCOMPARE(english.at(0).sameCity, QVector<int> {1});
        QCOMPARE(english.at(2).sameCity, QVector<int> {3});
    }

    // Entries get the exits the map names by id, known ones only, in the map's order; the
    // first server of a duplicate id counts; what is not a whole number is skipped.
    void doubleMapMarksEntriesAndKnownExits_data()
    {
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<QByteArray>("map");
        QTest::addColumn<QStringList>("read");
        QTest::newRow("ids as numbers and text")
            << QVector<int> {101, 102, 103, 104}
            << QByteArray("{\"101\":[102,\"103\",998,104],\"12\":[101],\"104\":[\"101\"]}")
            << QStringList {"101>1,2,3", "102", "103", "104>0"};
        QTest::newRow("what is not a whole number")
            << QVector<int> {0, 5, 6}
            << QByteArray("{\"abc\":[5],\"\":[5],\"5x\":[6],\"5\":[\"six\",6.5,true,null,[6],{},"
                          "\"\",6,\"0\"],\"6\":\"5\"}")
            << QStringList {"0", "5>2,0", "6>"};
        QTest::newRow("duplicate ids")
            << QVector<int> {7, 8, 7} << QByteArray("{\"7\":[8]}") << QStringList {"7>1", "8", "7"};
        QTest::newRow("map of another kind")
            << QVector<int> {1, 2} << QByteArray("[[1,2]]") << QStringList {"1", "2"};
    }
    void doubleMapMarksEntriesAndKnownExits()
    {
        QFETCH(QVector<int>, ids);
        QFETCH(QByteArray, map);
        QFETCH(QStringList, read);
        QVector<VPNServer> servers = serversWithIds(ids);
        applyDoubleMap(servers, object("{\"result\":true,\"map\":" + map + "}"));
        QCOMPARE(describe(servers), read);
    }

    void restoreLastServer_data()
    {
        QTest::addColumn<QVector<int>>("input"); // type, first, second, auto-connect, ids
        QTest::addColumn<RestoreDecision::Action>("action");
        QTest::addColumn<int>("newFirst");
        QTest::addColumn<int>("newSecond");
        using R = RestoreDecision;
        const auto row
            = [](const char *name, const QVector<int> &input, R::Action action, int first = -1,
                 int second = -1) { QTest::newRow(name) << input << action << first << second; };
        // The list holds the ids 10, 20, 30.
        row("unsupported type", {5, -1, -1, 1, 10, -1}, R::Restore_UnsupportedType);
        row("single: current choice connects", {1, 2, 2, 1, 10, -1}, R::Restore_Connect, 2, 2);
        row("single: choice past the list is not trusted", {1, 7, 7, 1, 20, -1}, R::Restore_Connect,
            1, 1);
        row("single: remembered, no auto-connect", {4, -1, -1, 0, 30, -1}, R::Restore_Nothing, 2,
            2);
        row("single: remembered server gone", {3, -1, -1, 1, 99, -1}, R::Restore_AutoChoice);
        row("single: nothing remembered", {1, -1, -1, 1, -1, -1}, R::Restore_AutoChoice);
        row("double: current route connects", {2, 0, 1, 1, 10, 30}, R::Restore_Connect, 0, 1);
        row("double: remembered route connects", {2, -1, -1, 1, 30, 10}, R::Restore_Connect, 2, 0);
        row("double: remembered, no auto-connect", {2, 0, -1, 0, 20, 30}, R::Restore_Nothing, 1, 2);
        row("double: a server of the route gone", {2, -1, -1, 1, 10, 99}, R::Restore_Nothing);
        row("double: half a route", {2, -1, -1, 1, 10, -1}, R::Restore_AutoChoice);
        row("empty list", {1, -1, -1, 1, 10, -1, 0}, R::Restore_AutoChoice);
    }
    void restoreLastServer()
    {
        QFETCH(QVector<int>, input);
        QFETCH(RestoreDecision::Action, action);
        QFETCH(int, newFirst);
        QFETCH(int, newSecond);
        const RestoreDecision decision = decideRestoreLastServer(
            input[0], input[1], input[2], input[3], input[4], input[5],
            input.size() > 6 ? QVector<VPNServer>() : serversWithIds({10, 20, 30}));
        QCOMPARE(decision.action, action);
        QCOMPARE(decision.firstServerIndex, newFirst);
        QCOMPARE(decision.secondServerIndex, newSecond);
    }

    void mirrorDecision_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("decision"); // -1 invalid, 0 not listed, 1 listed
        QTest::newRow("Hong Kong with several blanks") << QByteArray("IP\nHK\nHong   Kong\n") << 1;
        QTest::newRow("China in capitals") << QByteArray("1.2.3.4\nCN\nCHINA") << 1;
        QTest::newRow("another country") << QByteArray("1.2.3.4\nNL\nNetherlands\n") << 0;
        QTest::newRow("country is matched whole") << QByteArray("1.2.3.4\nCN\nChina Town\n") << 0;
        QTest::newRow("empty lines are skipped") << QByteArray("\n\n1\n\nCN\n\n  china \n") << 1;
        QTest::newRow("CR LF line ends") << QByteArray("1.2.3.4\r\nHK\r\nHong Kong\r\n") << 1;
        QTest::newRow("two lines are not enough") << QByteArray("1.2.3.4\nChina\n") << -1;
    }
    void mirrorDecision()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, decision);
        const MirrorCheck check = parseMirrorCheck(body);
        QCOMPARE(check.valid ? int(check.listed) : -1, decision);
    }

    // 100,000 subscriptions and servers are read whole; one city of 100,000 servers would
    // need 10^10 same-city entries, so only cities past the budget go without lists.
    void hugeRepliesAreReadWithinBounds()
    {
        QJsonArray subs;
        QJsonArray servers;
        for (int i = 0; i < 100000; ++i) {
            subs.append(QJsonObject {{"id", i}, {"type", (i * 7) % 5}});
            servers.append(QJsonObject {{"id", i}});
        }
        QCOMPARE(parseSubscriptions(QJsonObject {{"data", subs}}).size(), 100000);
        const QVector<VPNServer> oneCity = parseServerList(QJsonObject {{"data", servers}}, 4, 2);
        QCOMPARE(oneCity.size(), 100000);
        QVERIFY(oneCity.first().sameCity.isEmpty() && oneCity.last().sameCity.isEmpty());

        const int large = 4200; // 4200 * 4199 > maxSameCityEntries
        QVector<VPNServer> mixed(large + 2);
        for (int i = 0; i < mixed.size(); ++i)
            mixed[i].cityName = i < 2 ? QStringLiteral("Oslo") : QStringLiteral("Megacity");
        fillSameCity(mixed);
        QCOMPARE(mixed.at(0).sameCity, QVector<int> {1});
        QVERIFY(mixed.at(2).sameCity.isEmpty());

        const QString longText(1 << 20, QLatin1Char('x'));
        const QJsonObject reply {
            {"result", true}, {"key", longText}, {"user", QJsonObject {{"email", longText}}}};
        const ReplyEnvelope envelope
            = ReplyEnvelope::decode(QNetworkReply::NoError, QJsonDocument(reply).toJson());
        QCOMPARE(parseSignKey(envelope.object).size(), longText.size());
        QCOMPARE(parseAuth(envelope.object).userEmail.size(), longText.size());
        QVERIFY(!parseMirrorCheck(longText.toLatin1()).valid);
    }

    void randomBytesNeverCrashTheReaders()
    {
        QRandomGenerator random(77);
        for (int round = 0; round < 300; ++round) {
            QByteArray body(int(random.bounded(0, 2048)), Qt::Uninitialized);
            for (char &c : body)
                c = char(random.bounded(256));
            if (round % 3 == 0)
                body.prepend("{\"result\":true,\"data\":[{\"id\":");
            const ReplyEnvelope envelope = ReplyEnvelope::decode(QNetworkReply::NoError, body);
            QVERIFY(!envelope.ok || envelope.object.value("result").toBool());
            QVector<VPNServer> servers = parseServerList(envelope.object, 4, 1);
            applyDoubleMap(servers, envelope.object);
            parseSubscriptions(envelope.object);
            parseAuth(envelope.object);
            parseMirrorCheck(body);
        }
    }
};

KESTRUNE_TEST_MAIN(TestReplyParsers)
#include "tst_replyparsers.moc"

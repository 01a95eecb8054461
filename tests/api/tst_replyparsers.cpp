#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "api/restoredecision.h"
#include "api/subscriptionchoice.h"
#include "support/testmain.h"

#include <limits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

Q_DECLARE_METATYPE(NetworkRequestExceptionType)
Q_DECLARE_METATYPE(QVector<int>)
Q_DECLARE_METATYPE(RestoreDecision::Action)

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QJsonObject serverJson(int id, const QString &city, bool isFree = false)
{
    return QJsonObject {{"id", id},
                        {"ip", QStringLiteral("10.0.0.%1").arg(id)},
                        {"name", QStringLiteral("srv-%1").arg(id)},
                        {"isFree", isFree},
                        {"geo",
                         QJsonObject {{"def",
                                       QJsonObject {{"countryIso", "NL"},
                                                    {"countryNameEn", "Netherlands"},
                                                    {"countryNameRu", "Нидерланды"},
                                                    {"cityNameEn", city},
                                                    {"cityNameRu", city + "-ru"}}}}}};
}

QVector<VPNServer> serversWithIds(const QVector<int> &ids)
{
    QVector<VPNServer> servers;
    for (int id : ids) {
        VPNServer s;
        s.id = id;
        servers << s;
    }
    return servers;
}

Subscription subscription(int id, int type, qint16 status)
{
    Subscription s;
    s.id = id;
    s.type = type;
    s.status = status;
    return s;
}

// The same-city lists as the plain definition gives them.
QVector<QVector<int>> sameCityByDefinition(const QVector<VPNServer> &servers)
{
    QVector<QVector<int>> lists(servers.size());
    for (int i = 0; i < servers.size(); ++i) {
        for (int j = 0; j < servers.size(); ++j) {
            if (j != i && servers.at(i).cityName == servers.at(j).cityName)
                lists[i] << j;
        }
    }
    return lists;
}

} // namespace

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
        const int none = QNetworkReply::NoError;
        QTest::newRow("accepted") << none << QByteArray("{\"result\":true}") << true << Exc_Network;
        QTest::newRow("result false")
            << none << QByteArray("{\"result\":false}") << false << Exc_Declined;
        QTest::newRow("result missing")
            << none << QByteArray("{\"key\":\"k\"}") << false << Exc_Declined;
        QTest::newRow("result as a string")
            << none << QByteArray("{\"result\":\"true\"}") << false << Exc_Declined;
        QTest::newRow("result as a number")
            << none << QByteArray("{\"result\":1}") << false << Exc_Declined;
        QTest::newRow("array document") << none << QByteArray("[true]") << false << Exc_Declined;
        QTest::newRow("empty body") << none << QByteArray() << false << Exc_Decode;
        QTest::newRow("blanks only") << none << QByteArray(" \r\n ") << false << Exc_Decode;
        QTest::newRow("not JSON") << none << QByteArray("<html>busy</html>") << false << Exc_Decode;
        QTest::newRow("truncated JSON")
            << int(QNetworkReply::RemoteHostClosedError)
            << QByteArray("{\"result\":true,\"data\":[") << false << Exc_Decode;
        QTest::newRow("nested past the parser's depth")
            << none << QByteArray(3000, '[') << false << Exc_Decode;
        QTest::newRow("failure without body")
            << int(QNetworkReply::ContentNotFoundError) << QByteArray() << false << Exc_Network;
        QTest::newRow("time-out without body")
            << int(QNetworkReply::OperationCanceledError) << QByteArray() << false << Exc_Network;
        QTest::newRow("HTTP 500 with result false is declined")
            << int(QNetworkReply::InternalServerError) << QByteArray("{\"result\":false}") << false
            << Exc_Declined;
        QTest::newRow("HTTP 401 with result false is declined")
            << int(QNetworkReply::AuthenticationRequiredError)
            << QByteArray("{\"result\":false,\"message\":\"no\"}") << false << Exc_Declined;
        QTest::newRow("HTTP error with an accepting body is read as success")
            << int(QNetworkReply::InternalServerError) << QByteArray("{\"result\":true}") << true
            << Exc_Network;
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
        if (!ok)
            QCOMPARE(envelope.failure, failure);
    }

    void signKeyAndAccountAreRead()
    {
        QCOMPARE(parseSignKey(object("{\"result\":true,\"key\":\"k-1\"}")), QString("k-1"));
        const AuthInfo info = parseAuth(
            object("{\"result\":true,\"token\":\"t\",\"user\":{\"id\":42,\"email\":\"a@b.c\","
                   "\"username\":\"ab\"}}"));
        QCOMPARE(info.authToken, QString("t"));
        QCOMPARE(info.userId, 42);
        QCOMPARE(info.userEmail, QString("a@b.c"));
        QCOMPARE(info.userName, QString("ab"));
    }

    void accountMembersOfTheWrongKindReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("no members") << QByteArray("{\"result\":true}");
        QTest::newRow("user is an array") << QByteArray("{\"token\":5,\"user\":[1,2]}");
        QTest::newRow("id as text") << QByteArray("{\"token\":null,\"user\":{\"id\":\"42\","
                                                  "\"email\":7,\"username\":false}}");
        QTest::newRow("id not whole") << QByteArray("{\"user\":{\"id\":4.5}}");
        QTest::newRow("id beyond int") << QByteArray("{\"user\":{\"id\":1e300}}");
    }
    void accountMembersOfTheWrongKindReadAsDefaults()
    {
        QFETCH(QByteArray, json);
        const AuthInfo info = parseAuth(object(json));
        QCOMPARE(info.authToken, QString());
        QCOMPARE(info.userId, 0);
        QCOMPARE(info.userEmail, QString());
        QCOMPARE(info.userName, QString());
        QCOMPARE(parseSignKey(object(json)), QString());
    }

    void subscriptionsAreReadAndSortedByType()
    {
        const QVector<Subscription> subs = parseSubscriptions(
            object("{\"result\":true,\"data\":["
                   "{\"id\":5,\"type\":3,\"typeName\":\"Onion\",\"name\":\"\",\"status\":1,"
                   "\"timeCreated\":1600000000,\"timeEnd\":1700000000.9},"
                   "{\"id\":6,\"type\":1,\"typeName\":\"Premium\",\"name\":\"Mine\",\"status\":2,"
                   "\"timeCreated\":1600000000.5,\"timeEnd\":1800000000},"
                   "{\"id\":7,\"type\":2,\"typeName\":\"Double\",\"status\":3},"
                   "{\"id\":8,\"type\":1,\"typeName\":\"Premium\",\"status\":1}]}"));
        QCOMPARE(subs.size(), 4);
        QVector<int> types;
        for (const Subscription &s : subs)
            types << s.type;
        QCOMPARE(types, (QVector<int> {1, 1, 2, 3}));
        const Subscription &onion = subs.at(3);
        QCOMPARE(onion.id, 5);
        QCOMPARE(onion.typeName, QString("Onion"));
        QCOMPARE(onion.timeEnd, 1700000000); // truncated toward zero
        QCOMPARE(onion.timeCreated, 1600000000);
        QCOMPARE(onion.status, qint16(1));
        QCOMPARE(subs.at(2).id, 7);
        QCOMPARE(subs.at(2).timeEnd, 0);
        QCOMPARE(subs.at(2).name, QString());
        const QSet<int> premiumIds {subs.at(0).id, subs.at(1).id};
        QCOMPARE(premiumIds, (QSet<int> {6, 8}));
    }

    void subscriptionTimesAreTruncatedAndBounded_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("seconds");
        QTest::newRow("fraction") << QByteArray("1700000000.99") << 1700000000;
        QTest::newRow("negative fraction") << QByteArray("-5.5") << -5;
        QTest::newRow("beyond int") << QByteArray("1e300") << std::numeric_limits<int>::max();
        QTest::newRow("below int") << QByteArray("-1e300") << std::numeric_limits<int>::min();
        QTest::newRow("text") << QByteArray("\"1700000000\"") << 0;
        QTest::newRow("null") << QByteArray("null") << 0;
    }
    void subscriptionTimesAreTruncatedAndBounded()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, seconds);
        const Subscription s = parseSubscription(object("{\"timeEnd\":" + value + "}"));
        QCOMPARE(s.timeEnd, seconds);
    }

    void subscriptionListOfTheWrongShapeIsEmptyOrDefaulted()
    {
        QVERIFY(parseSubscriptions(object("{\"result\":true}")).isEmpty());
        QVERIFY(parseSubscriptions(object("{\"data\":{\"id\":1}}")).isEmpty());
        QVERIFY(parseSubscriptions(object("{\"data\":\"[1]\"}")).isEmpty());
        const QVector<Subscription> odd = parseSubscriptions(object("{\"data\":[1,\"x\",null]}"));
        QCOMPARE(odd.size(), 3);
        for (const Subscription &s : odd) {
            QCOMPARE(s.id, 0);
            QCOMPARE(s.type, 0);
        }
    }

    void subscriptionChoice_data()
    {
        QTest::addColumn<QVector<int>>("statuses"); // ids are 10, 11, 12 ...
        QTest::addColumn<int>("savedPackageId");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<bool>("autoNext");
        QTest::newRow("active, paused, expired: active preselected")
            << QVector<int> {1, 2, 3} << -1 << true << 0 << false;
        QTest::newRow("only paused and expired: nothing usable")
            << QVector<int> {2, 3} << -1 << false << -1 << false;
        QTest::newRow("no subscriptions") << QVector<int> {} << 11 << false << -1 << false;
        QTest::newRow("unknown status does not count as active")
            << QVector<int> {4, 0} << -1 << false << -1 << false;
        QTest::newRow("remembered expired one is selected and taken")
            << QVector<int> {1, 3} << 11 << true << 1 << true;
        QTest::newRow("remembered paused one is passed over")
            << QVector<int> {3, 2, 1} << 11 << true << 2 << true;
        QTest::newRow("remembered one that is gone: first active")
            << QVector<int> {2, 1, 1} << 99 << true << 1 << true;
        QTest::newRow("remembered id 0 counts as remembered")
            << QVector<int> {1} << 0 << true << 0 << true;
    }
    void subscriptionChoice()
    {
        QFETCH(QVector<int>, statuses);
        QFETCH(int, savedPackageId);
        QFETCH(bool, usable);
        QFETCH(int, preselected);
        QFETCH(bool, autoNext);
        QVector<Subscription> subs;
        for (int i = 0; i < statuses.size(); ++i)
            subs << subscription(10 + i, 1, qint16(statuses.at(i)));
        const SubscriptionChoice choice = chooseSubscription(subs, savedPackageId);
        QCOMPARE(choice.usable, usable);
        QCOMPARE(choice.preselected, preselected);
        QCOMPARE(choice.autoNext, autoNext);
    }

    void subscriptionTextsFollowNameAndStatus()
    {
        Subscription s = subscription(1, 1, 1);
        s.typeName = QStringLiteral("Premium");
        QCOMPARE(subscriptionDisplayText(s), QString("Premium"));
        s.name = QStringLiteral("Family");
        QCOMPARE(subscriptionDisplayText(s), QString("Family"));
        QCOMPARE(subscriptionDisabledToolTip(1), QString());
        QCOMPARE(subscriptionDisabledToolTip(2), QString("This package has been paused"));
        QCOMPARE(subscriptionDisabledToolTip(3), QString("This package has been expired"));
    }

    void buyPagePathFollowsTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("path");
        QTest::newRow("Russian") << 1 << "/ru/panel/package/buy";
        QTest::newRow("English") << 2 << "/en/panel/package/buy";
        QTest::newRow("Chinese") << 3 << "/cn/panel/package/buy";
        QTest::newRow("Spanish") << 4 << "/en/panel/package/buy";
        QTest::newRow("Ukrainian") << 5 << "/ru/panel/package/buy";
        QTest::newRow("not chosen") << 0 << "/en/panel/package/buy";
    }
    void buyPagePathFollowsTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, path);
        QCOMPARE(buyPagePath(language), path);
    }

    void freeServersAreLeftOutUnlessTheSubscriptionIsFree_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVector<int>>("ids");
        QTest::newRow("premium") << 1 << QVector<int> {1, 3, 4};
        QTest::newRow("double") << 2 << QVector<int> {1, 3, 4};
        QTest::newRow("onion") << 3 << QVector<int> {1, 3, 4};
        QTest::newRow("free keeps them all") << 4 << QVector<int> {1, 2, 3, 4};
    }
    void freeServersAreLeftOutUnlessTheSubscriptionIsFree()
    {
        QFETCH(int, type);
        QFETCH(QVector<int>, ids);
        QJsonObject noFlag = serverJson(4, "Oslo");
        noFlag.remove("isFree"); // counts as not free
        QJsonObject flagAsText = serverJson(3, "Oslo");
        flagAsText["isFree"] = "true"; // not a bool: not free
        const QJsonObject reply {
            {"result", true},
            {"data",
             QJsonArray {serverJson(1, "Oslo"), serverJson(2, "Oslo", true), flagAsText, noFlag}}};
        QVector<int> got;
        for (const VPNServer &s : parseServerList(reply, type, 2))
            got << s.id;
        QCOMPARE(got, ids);
    }

    void serverNamesFollowTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("city");
        QTest::newRow("Russian") << 1 << QString::fromUtf8("Нидерланды") << "Amsterdam-ru";
        QTest::newRow("English") << 2 << "Netherlands"
                                 << "Amsterdam";
        QTest::newRow("Chinese") << 3 << "Netherlands"
                                 << "Amsterdam";
        QTest::newRow("Ukrainian gets English") << 5 << "Netherlands"
                                                << "Amsterdam";
    }
    void serverNamesFollowTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, country);
        QFETCH(QString, city);
        const QVector<VPNServer> servers = parseServerList(
            QJsonObject {{"data", QJsonArray {serverJson(7, "Amsterdam")}}}, 1, language);
        QCOMPARE(servers.size(), 1);
        const VPNServer &s = servers.first();
        QCOMPARE(s.id, 7);
        QCOMPARE(s.ip, QString("10.0.0.7"));
        QCOMPARE(s.name, QString("srv-7"));
        QCOMPARE(s.countryIso, QString("NL"));
        QCOMPARE(s.countryName, country);
        QCOMPARE(s.cityName, city);
        QVERIFY(!s.doubleEntry && !s.favorite);
        QVERIFY(s.doubleExits.isEmpty() && s.favoriteExits.isEmpty());
    }

    void serverMembersOfTheWrongKindReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::newRow("empty object") << QByteArray("{}");
        QTest::newRow("not an object") << QByteArray("\"server\"");
        QTest::newRow("members of other kinds")
            << QByteArray("{\"id\":\"7\",\"ip\":127001,\"name\":[\"a\"],\"isFree\":0,"
                          "\"geo\":\"NL\"}");
        QTest::newRow("def is an array") << QByteArray("{\"geo\":{\"def\":[\"NL\"]}}");
        QTest::newRow("names of other kinds")
            << QByteArray("{\"geo\":{\"def\":{\"countryIso\":1,\"countryNameEn\":null,"
                          "\"cityNameEn\":{}}}}");
    }
    void serverMembersOfTheWrongKindReadAsDefaults()
    {
        QFETCH(QByteArray, element);
        const QVector<VPNServer> servers
            = parseServerList(object("{\"data\":[" + element + "," + element + "]}"), 1, 2);
        QCOMPARE(servers.size(), 2);
        for (const VPNServer &s : servers) {
            QCOMPARE(s.id, 0);
            QVERIFY(s.ip.isEmpty() && s.name.isEmpty() && s.countryIso.isEmpty());
            QVERIFY(s.countryName.isEmpty() && s.cityName.isEmpty());
        }
        // Two servers without a city name share the same (empty) one.
        QCOMPARE(servers.at(0).sameCity, (QVector<int> {1}));
    }

    void sameCityListsNameEveryOtherServerOfTheCity()
    {
        const QJsonArray data {serverJson(1, "Oslo"), serverJson(2, "Bergen"),
                               serverJson(3, "Oslo"), serverJson(4, "oslo"),
                               serverJson(5, "Oslo"), serverJson(6, "Tromsø")};
        const QVector<VPNServer> servers = parseServerList(QJsonObject {{"data", data}}, 1, 2);
        QCOMPARE(servers.at(0).sameCity, (QVector<int> {2, 4}));
        QCOMPARE(servers.at(2).sameCity, (QVector<int> {0, 4}));
        QCOMPARE(servers.at(4).sameCity, (QVector<int> {0, 2}));
        QVERIFY(servers.at(1).sameCity.isEmpty());
        QVERIFY(servers.at(3).sameCity.isEmpty()); // the comparison is case-sensitive
        QVERIFY(servers.at(5).sameCity.isEmpty());
    }

    void sameCityListsMatchTheirDefinitionOnRandomLists()
    {
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20; ++round) {
            QVector<VPNServer> servers(int(random.bounded(1, 300)));
            const int cities = int(random.bounded(1, 40));
            for (VPNServer &s : servers) {
                const int city = int(random.bounded(cities + 1));
                s.cityName = city == cities ? QString() : QStringLiteral("city %1").arg(city);
            }
            fillSameCity(servers);
            const QVector<QVector<int>> expected = sameCityByDefinition(servers);
            for (int i = 0; i < servers.size(); ++i)
                QCOMPARE(servers.at(i).sameCity, expected.at(i));
        }
    }

    void serverListFollowUpByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("followUp");
        QTest::newRow("premium") << 1 << int(FollowUp_ListReady);
        QTest::newRow("double asks for the map") << 2 << int(FollowUp_DoubleMap);
        QTest::newRow("onion") << 3 << int(FollowUp_ListReady);
        QTest::newRow("free") << 4 << int(FollowUp_ListReady);
        QTest::newRow("type 7 is declined") << 7 << int(FollowUp_InvalidType);
        QTest::newRow("type 0 is declined") << 0 << int(FollowUp_InvalidType);
    }
    void serverListFollowUpByType()
    {
        QFETCH(int, type);
        QFETCH(int, followUp);
        QCOMPARE(int(serverListFollowUp(type)), followUp);
    }

    void doubleMapMarksEntriesAndKnownExits()
    {
        QVector<VPNServer> servers = serversWithIds({101, 102, 103, 104, 10, 9});
        applyDoubleMap(servers,
                       object("{\"result\":true,\"map\":{"
                              "\"101\":[102,\"103\",998,104],"
                              "\"12\":[101],"
                              "\"104\":[\"101\"],"
                              "\"10\":[9],\"9\":[10]}}"));
        QVERIFY(servers.at(0).doubleEntry);
        QCOMPARE(servers.at(0).doubleExits, (QVector<int> {1, 2, 3}));
        QVERIFY(!servers.at(1).doubleEntry);
        QVERIFY(servers.at(1).doubleExits.isEmpty());
        QVERIFY(servers.at(3).doubleEntry);
        QCOMPARE(servers.at(3).doubleExits, (QVector<int> {0}));
        QCOMPARE(servers.at(4).doubleExits, (QVector<int> {5}));
        QCOMPARE(servers.at(5).doubleExits, (QVector<int> {4}));
    }

    void doubleMapSkipsWhatIsNotAWholeNumber()
    {
        // A server without id reads as 0; names and exits that are not numbers must not
        // be taken for it.
        QVector<VPNServer> servers = serversWithIds({0, 5, 6});
        applyDoubleMap(servers,
                       object("{\"map\":{"
                              "\"abc\":[5],\"\":[5],\"5x\":[6],"
                              "\"5\":[\"six\",6.5,true,null,[6],{},\"\",6,\"0\"],"
                              "\"6\":\"5\"}}"));
        QVERIFY(!servers.at(0).doubleEntry);
        QVERIFY(servers.at(1).doubleEntry);
        QCOMPARE(servers.at(1).doubleExits, (QVector<int> {2, 0}));
        QVERIFY(servers.at(2).doubleEntry); // entry, but its exits are not a list
        QVERIFY(servers.at(2).doubleExits.isEmpty());
    }

    void doubleMapUsesTheFirstServerOfADuplicateId()
    {
        QVector<VPNServer> servers = serversWithIds({7, 8, 7, 8});
        applyDoubleMap(servers, object("{\"map\":{\"7\":[8]}}"));
        QVERIFY(servers.at(0).doubleEntry);
        QVERIFY(!servers.at(2).doubleEntry);
        QCOMPARE(servers.at(0).doubleExits, (QVector<int> {1}));
    }

    void doubleMapOfTheWrongShapeChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("no map") << QByteArray("{\"result\":true}");
        QTest::newRow("map is an array") << QByteArray("{\"map\":[[1,2]]}");
        QTest::newRow("map is text") << QByteArray("{\"map\":\"1:2\"}");
    }
    void doubleMapOfTheWrongShapeChangesNothing()
    {
        QFETCH(QByteArray, json);
        QVector<VPNServer> servers = serversWithIds({1, 2});
        applyDoubleMap(servers, object(json));
        for (const VPNServer &s : servers) {
            QVERIFY(!s.doubleEntry);
            QVERIFY(s.doubleExits.isEmpty());
        }
    }

    void restoreLastServer_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("autoConnect");
        QTest::addColumn<int>("lastId1");
        QTest::addColumn<int>("lastId2");
        QTest::addColumn<RestoreDecision::Action>("action");
        QTest::addColumn<int>("newFirst");
        QTest::addColumn<int>("newSecond");
        // The list holds the ids 10, 20, 30.
        using R = RestoreDecision;
        QTest::newRow("unsupported type")
            << 5 << -1 << -1 << true << 10 << -1 << R::Restore_UnsupportedType << -1 << -1;
        QTest::newRow("single: current choice connects at once")
            << 1 << 2 << 2 << true << 10 << -1 << R::Restore_Connect << 2 << 2;
        QTest::newRow("single: current choice past the new list is not trusted")
            << 1 << 7 << 7 << true << 20 << -1 << R::Restore_Connect << 1 << 1;
        QTest::newRow("single: remembered server is chosen and connected")
            << 1 << -1 << -1 << true << 30 << -1 << R::Restore_Connect << 2 << 2;
        QTest::newRow("single: remembered server chosen without connecting")
            << 4 << -1 << -1 << false << 30 << -1 << R::Restore_Nothing << 2 << 2;
        QTest::newRow("single: remembered server left the list, automatic choice")
            << 3 << -1 << -1 << true << 99 << -1 << R::Restore_AutoChoice << -1 << -1;
        QTest::newRow("single: remembered server left the list, no auto-connect")
            << 1 << -1 << -1 << false << 99 << -1 << R::Restore_Nothing << -1 << -1;
        QTest::newRow("single: nothing remembered, automatic choice")
            << 1 << -1 << -1 << true << -1 << -1 << R::Restore_AutoChoice << -1 << -1;
        QTest::newRow("single: nothing remembered, nothing to do")
            << 1 << -1 << -1 << false << -1 << -1 << R::Restore_Nothing << -1 << -1;
        QTest::newRow("double: current route connects at once")
            << 2 << 0 << 1 << true << 10 << 30 << R::Restore_Connect << 0 << 1;
        QTest::newRow("double: remembered route is restored and connected")
            << 2 << -1 << -1 << true << 30 << 10 << R::Restore_Connect << 2 << 0;
        QTest::newRow("double: remembered route restored without connecting")
            << 2 << 0 << -1 << false << 20 << 30 << R::Restore_Nothing << 1 << 2;
        QTest::newRow("double: route with a server gone starts nothing")
            << 2 << -1 << -1 << true << 10 << 99 << R::Restore_Nothing << -1 << -1;
        QTest::newRow("double: route with the entry gone starts nothing")
            << 2 << -1 << -1 << true << 99 << 10 << R::Restore_Nothing << -1 << -1;
        QTest::newRow("double: half a remembered route, automatic choice")
            << 2 << -1 << -1 << true << 10 << -1 << R::Restore_AutoChoice << -1 << -1;
    }
    void restoreLastServer()
    {
        QFETCH(int, type);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, autoConnect);
        QFETCH(int, lastId1);
        QFETCH(int, lastId2);
        QFETCH(RestoreDecision::Action, action);
        QFETCH(int, newFirst);
        QFETCH(int, newSecond);
        const RestoreDecision decision = decideRestoreLastServer(
            type, first, second, autoConnect, lastId1, lastId2, serversWithIds({10, 20, 30}));
        QCOMPARE(decision.action, action);
        QCOMPARE(decision.firstServerIndex, newFirst);
        QCOMPARE(decision.secondServerIndex, newSecond);
    }

    void restoreWithAnEmptyListChoosesAutomatically()
    {
        const RestoreDecision decision = decideRestoreLastServer(1, -1, -1, true, 10, -1, {});
        QCOMPARE(decision.action, RestoreDecision::Restore_AutoChoice);
    }

    void mirrorDecision_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("listed");
        QTest::newRow("Hong Kong with several blanks")
            << QByteArray("IP: 1.2.3.4\nCode: HK\nHong   Kong\n") << true << true;
        QTest::newRow("China in capitals") << QByteArray("1.2.3.4\nCN\nCHINA") << true << true;
        QTest::newRow("another country")
            << QByteArray("1.2.3.4\nNL\nNetherlands\n") << true << false;
        QTest::newRow("country is matched whole")
            << QByteArray("1.2.3.4\nCN\nChina Town\n") << true << false;
        QTest::newRow("empty lines are skipped")
            << QByteArray("\n\n1.2.3.4\n\nCN\n\n\n  china \n") << true << true;
        QTest::newRow("CR LF line ends")
            << QByteArray("1.2.3.4\r\nHK\r\nHong Kong\r\n") << true << true;
        QTest::newRow("two lines are not enough")
            << QByteArray("1.2.3.4\nChina\n") << false << false;
        QTest::newRow("empty reply") << QByteArray() << false << false;
    }
    void mirrorDecision()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, valid);
        QFETCH(bool, listed);
        const MirrorCheck check = parseMirrorCheck(body);
        QCOMPARE(check.valid, valid);
        QCOMPARE(check.listed, listed);
    }

    void hugeRepliesAreReadWhole()
    {
        QJsonArray subs;
        QJsonArray servers;
        for (int i = 0; i < 100000; ++i) {
            subs.append(QJsonObject {{"id", i}, {"type", (i * 7) % 5}});
            servers.append(QJsonObject {{"id", i}});
        }
        const QVector<Subscription> parsed = parseSubscriptions(QJsonObject {{"data", subs}});
        QCOMPARE(parsed.size(), 100000);
        for (int i = 1; i < parsed.size(); ++i)
            QVERIFY(parsed.at(i - 1).type <= parsed.at(i).type);

        // 100,000 servers in one (empty) city would need 10^10 list entries: the lists
        // are left empty rather than exhausting memory.
        const QVector<VPNServer> oneCity = parseServerList(QJsonObject {{"data", servers}}, 4, 2);
        QCOMPARE(oneCity.size(), 100000);
        QVERIFY(oneCity.first().sameCity.isEmpty());
        QVERIFY(oneCity.last().sameCity.isEmpty());

        const QString longText(1 << 20, QLatin1Char('x'));
        const QJsonObject reply {{"result", true},
                                 {"key", longText},
                                 {"token", longText},
                                 {"user", QJsonObject {{"email", longText}}}};
        const QByteArray body = QJsonDocument(reply).toJson();
        const ReplyEnvelope envelope = ReplyEnvelope::decode(QNetworkReply::NoError, body);
        QVERIFY(envelope.ok);
        QCOMPARE(parseSignKey(envelope.object).size(), longText.size());
        QCOMPARE(parseAuth(envelope.object).userEmail.size(), longText.size());
        QVERIFY(!parseMirrorCheck(longText.toLatin1()).valid);
    }

    void sameCityBudgetLeavesOnlyTheLargestCitiesWithoutLists()
    {
        // Two small cities around one too large for the budget.
        const int large = 4200; // 4200 * 4199 > maxSameCityEntries
        QVERIFY(qint64(large) * (large - 1) > maxSameCityEntries);
        QVector<VPNServer> servers(large + 4);
        servers[0].cityName = QStringLiteral("Oslo");
        servers[1].cityName = QStringLiteral("Oslo");
        for (int i = 2; i < large + 2; ++i)
            servers[i].cityName = QStringLiteral("Megacity");
        servers[large + 2].cityName = QStringLiteral("Bergen");
        servers[large + 3].cityName = QStringLiteral("Bergen");
        fillSameCity(servers);
        QCOMPARE(servers.at(0).sameCity, (QVector<int> {1}));
        QCOMPARE(servers.at(large + 3).sameCity, (QVector<int> {large + 2}));
        QVERIFY(servers.at(2).sameCity.isEmpty());
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

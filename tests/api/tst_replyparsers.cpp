#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"
#include "support/builders.h"
#include "support/testmain.h"

#include <climits>

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

Q_DECLARE_METATYPE(NetworkRequestExceptionType)

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
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
        const int none = QNetworkReply::NoError;
        QTest::newRow("accepted") << none << QByteArray("{\"result\":true}") << true << Exc_Network;
        QTest::newRow("result missing") << none << QByteArray("{\"k\":1}") << false << Exc_Declined;
        QTest::newRow("result as text")
            << none << QByteArray("{\"result\":\"true\"}") << false << Exc_Declined;
        QTest::newRow("not JSON") << none << QByteArray("<html>busy") << false << Exc_Decode;
        QTest::newRow("nested past the parser's depth")
            << none << QByteArray(3000, '[') << false << Exc_Decode;
        QTest::newRow("failure without body")
            << int(QNetworkReply::ContentNotFoundError) << QByteArray() << false << Exc_Network;
        QTest::newRow("HTTP 401 with result false is declined")
            << int(QNetworkReply::AuthenticationRequiredError) << QByteArray("{\"result\":false}")
            << false << Exc_Declined;
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
        QCOMPARE(ok ? Exc_Network : envelope.failure, failure);
    }

    // Members of another kind read as their defaults, never as a guess.
    void accountAndKeyAreRead_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("read");
        QTest::newRow("every member") << QByteArray("{\"key\":\"k-1\",\"token\":\"t\",\"user\":"
                                                    "{\"id\":42,\"email\":\"a@b.c\",\"username\":"
                                                    "\"ab\"}}")
                                      << "k-1 t 42 a@b.c ab";
        QTest::newRow("user is an array") << QByteArray("{\"token\":5,\"user\":[1,2]}") << "  0  ";
        QTest::newRow("members of other kinds")
            << QByteArray("{\"key\":1,\"user\":{\"id\":\"42\",\"email\":7,\"username\":false}}")
            << "  0  ";
        QTest::newRow("id beyond int") << QByteArray("{\"user\":{\"id\":1e300}}") << "  0  ";
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

    // Sorted by type; elements that are no objects read as empty subscriptions; times are
    // truncated toward zero and bounded to int, and text is no time.
    void subscriptionsAreReadAndSortedByType()
    {
        QStringList read;
        for (const Subscription &s : parseSubscriptions(object(
                 "{\"data\":[{\"id\":5,\"type\":3,\"typeName\":\"Onion\",\"status\":1,\"timeEnd\":"
                 "1700000000.9},{\"id\":6,\"type\":1,\"status\":2,\"timeEnd\":-5.5},{\"id\":7,"
                 "\"type\":2,\"timeEnd\":1e300},{\"type\":1,\"timeEnd\":\"17\"},1,null]}")))
            read << QString::asprintf("%d:%d:%d:%d:", s.type, s.id, s.status, s.timeEnd)
                    + s.typeName;
        QCOMPARE(read,
                 (QStringList {"0:0:0:0:", "0:0:0:0:", "1:6:2:-5:", "1:0:0:0:", "2:7:0:2147483647:",
                               "3:5:1:1700000000:Onion"}));
        QCOMPARE(parseSubscription(object("{\"timeEnd\":-1e300}")).timeEnd, INT_MIN);
        QVERIFY(parseSubscriptions(object("{\"data\":{\"id\":1}}")).isEmpty());
    }

    // Free servers only for the free type; names follow the language (Russian for 1,
    // English otherwise); members of another kind read as defaults; same city: every other
    // server of exactly that name.
    void serverListIsRead()
    {
        const QByteArray geo
            = "\"geo\":{\"def\":{\"countryIso\":\"NL\",\"countryNameEn\":\"NL-en\","
              "\"countryNameRu\":\"NL-ru\",\"cityNameEn\":\"Oslo\","
              "\"cityNameRu\":\"Oslo-ru\"}}";
        const QJsonObject reply
            = object("{\"data\":[{\"id\":1,\"ip\":\"10.0.0.1\",\"name\":\"srv-1\"," + geo
                     + "},{\"id\":2,"
                       "\"isFree\":true,"
                     + geo + "},{\"id\":3,\"isFree\":\"true\"," + geo
                     + "},{\"id\":\"7\",\"ip\":1,\"geo\":\"NL\"},\"server\"]}");
        QCOMPARE(describe(parseServerList(reply, 1, 2)), (QStringList {"1", "3", "0", "0"}));
        QCOMPARE(describe(parseServerList(reply, 4, 2)), (QStringList {"1", "2", "3", "0", "0"}));
        const VPNServer russian = parseServerList(reply, 1, 1).first();
        QCOMPARE(russian.countryName + russian.cityName, QStringLiteral("NL-ruOslo-ru"));
        const QVector<VPNServer> english = parseServerList(reply, 3, 5);
        QCOMPARE(QStringList({english.first().ip, english.first().name, english.first().countryIso,
                              english.first().countryName, english.first().cityName}),
                 (QStringList {"10.0.0.1", "srv-1", "NL", "NL-en", "Oslo"}));
        QVERIFY(english.last().ip.isEmpty() && english.last().cityName.isEmpty());
        QCOMPARE(english.at(0).sameCity, (QVector<int> {0, 1}));
        QCOMPARE(english.at(3).otherServersOfCity(3), QVector<int> {2});
    }

    // Entries get the exits the map names by id, known ones only, in the map's order; what
    // is not a whole number is skipped.
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

    void mirrorDecision_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("decision"); // -1 invalid, 0 not listed, 1 listed
        QTest::newRow("Hong Kong with several blanks") << QByteArray("IP\nHK\nHong   Kong\n") << 1;
        QTest::newRow("China in capitals") << QByteArray("1.2.3.4\nCN\nCHINA") << 1;
        QTest::newRow("country is matched whole") << QByteArray("1.2.3.4\nCN\nChina Town\n") << 0;
        QTest::newRow("empty lines are skipped") << QByteArray("\n\n1\n\nCN\n\n  china \n") << 1;
        QTest::newRow("CR LF line ends") << QByteArray("1.2.3.4\r\nHK\r\nHong Kong\r\n") << 1;
        QTest::newRow("two lines are not enough") << QByteArray("1.2.3.4\nChina\n") << -1;
        QTest::newRow("a megabyte in one line") << QByteArray(1 << 20, 'x') << -1;
    }
    void mirrorDecision()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, decision);
        const MirrorCheck check = parseMirrorCheck(body);
        QCOMPARE(check.valid ? int(check.listed) : -1, decision);
    }

    // 100,000 servers in one city are read whole, each with the 99,999 others of its city in
    // one list held once (not 10^10 indices); a city of thousands keeps its lists.
    void hugeRepliesAreReadWithinBounds()
    {
        QJsonArray servers;
        for (int i = 0; i < 100000; ++i)
            servers.append(QJsonObject {{"id", i}});
        const QVector<VPNServer> oneCity = parseServerList(QJsonObject {{"data", servers}}, 4, 2);
        QCOMPARE(oneCity.size(), 100000);
        QCOMPARE(oneCity.last().otherServersOfCity(99999).size(), 99999);
        QVERIFY(oneCity.first().sameCity.constData() == oneCity.last().sameCity.constData());
        QVector<VPNServer> mixed(4202);
        for (int i = 0; i < mixed.size(); ++i)
            mixed[i].cityName = i % 2000 == 7 ? QStringLiteral("Oslo") : QStringLiteral("Megacity");
        fillSameCity(mixed);
        QCOMPARE(mixed.at(2007).otherServersOfCity(2007), (QVector<int> {7, 4007}));
        QCOMPARE(mixed.at(4201).otherServersOfCity(4201).size(), 4198);
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

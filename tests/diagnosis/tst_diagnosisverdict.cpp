// The verdict as a pure function of what OpenVPN reported and what the probes saw, and the
// readers that turn raw text and bytes into those facts.

#include "engine/configremote.h"
#include "engine/diagnosisverdict.h"
#include "engine/serverresetprobe.h"
#include "support/testmain.h"
#include "system/defaultroute.h"

using P = ProbeResult;
using V = DiagnosisVerdict;
Q_DECLARE_METATYPE(ProbeResult)
Q_DECLARE_METATYPE(DiagnosisVerdict::Kind)

class TestDiagnosisVerdict : public QObject
{
    Q_OBJECT

private slots:
    void verdictFollowsTheFacts_data()
    {
        QTest::addColumn<QString>("network"); // route: + present, - missing; api: ++, --, ..
        QTest::addColumn<bool>("udp");
        QTest::addColumn<bool>("mirrorUsed");
        QTest::addColumn<P>("serverTcp");
        QTest::addColumn<P>("mirror");
        QTest::addColumn<QStringList>("management");
        QTest::addColumn<QString>("log");
        QTest::addColumn<V::Kind>("verdict");
        const QStringList waited {">STATE:1,RESOLVE,,,,,,", ">STATE:2,WAIT,,,,,,"};
        const QString tlsFailed
            = "TLS Error: TLS key negotiation failed to occur within 60 seconds";
        const QStringList none;
        QTest::newRow("no default route, nothing answers")
            << "- --" << true << false << P::TimedOut << P::NotRun << waited << "" << V::NoNetwork;
        QTest::newRow("no default route, but one to the server, which answers")
            << "- --" << true << false << P::Answered << P::NotRun << waited << tlsFailed
            << V::ServiceBlocked;
        QTest::newRow("nothing answers") << "+ --" << true << false << P::TimedOut << P::TimedOut
                                         << waited << "" << V::NoNetwork;
        QTest::newRow("OpenVPN: network unreachable")
            << "? .." << false << false << P::Unreachable << P::NotRun << none
            << "TCP: connect to [AF_INET]10.78.0.1:1194 failed: Network is unreachable"
            << V::NoNetwork;
        QTest::newRow("API down on both addresses, server there")
            << "+ --" << true << false << P::Answered << P::NotRun << none << ""
            << V::ServiceBlocked;
        QTest::newRow("API down on both addresses, mirror there")
            << "+ --" << false << false << P::TimedOut << P::Answered << none << ""
            << V::ServiceBlocked;
        QTest::newRow("API on the emergency address only is not blocked")
            << "+ -+" << true << false << P::Answered << P::NotRun << waited << tlsFailed
            << V::UdpBlocked;
        QTest::newRow("UDP dropped, TCP answers")
            << "+ ++" << true << false << P::Answered << P::NotRun << waited << tlsFailed
            << V::UdpBlocked;
        QTest::newRow("UDP dropped, TCP port takes the connection silently")
            << "+ ++" << true << false << P::Silent << P::Answered << waited << "" << V::UdpBlocked;
        QTest::newRow("no listener: refused") << "+ ++" << false << false << P::Refused << P::NotRun
                                              << QStringList {">STATE:1,TCP_CONNECT,,,,,,"}
                                              << "Connection refused (errno=111)" << V::ServerDown;
        QTest::newRow("everything to the server dropped, mirror works")
            << "+ ++" << true << false << P::TimedOut << P::Answered << waited << tlsFailed
            << V::VpnBlocked;
        QTest::newRow("on the mirror already")
            << "+ ++" << false << true << P::TimedOut << P::Answered << none << "" << V::ServerDown;
        QTest::newRow("server answers, refuses the account")
            << "+ ++" << true << false << P::Answered << P::NotRun
            << QStringList {">STATE:3,AUTH,,,,,,", ">FATAL:AUTH_FAILED"} << "" << V::Refused;
        QTest::newRow("server answers, refuses the certificate")
            << "+ ++" << true << false << P::Answered << P::NotRun << none
            << "VERIFY ERROR: depth=0, error=self-signed certificate" << V::Refused;
        QTest::newRow("negotiated, then failed for another reason")
            << "+ ++" << false << false << P::Answered << P::NotRun
            << QStringList {">STATE:3,GET_CONFIG,,,,,,"} << "" << V::Unclear;
        QTest::newRow("nothing probed")
            << "? .." << true << false << P::NotRun << P::NotRun << none << "" << V::Unclear;
        // Bad input.
        QTest::newRow("server name does not resolve")
            << "+ ++" << true << false << P::Unresolved << P::NotRun << none
            << "RESOLVE: Cannot resolve host address: no-such-host.invalid:1194" << V::ServerDown;
        QTest::newRow("mirror with a wrong password, server dropped")
            << "+ ++" << false << false << P::TimedOut << P::Garbage << none << "" << V::ServerDown;
        QTest::newRow("probe answered with garbage")
            << "+ ++" << false << false << P::Garbage << P::NotRun
            << QStringList {">STATE:garbage", ">STATE:", ">STATE:1,,,", "\x01\xff"} << ""
            << V::ServerDown;
    }
    void verdictFollowsTheFacts()
    {
        QFETCH(QString, network);
        QFETCH(bool, udp);
        QFETCH(bool, mirrorUsed);
        QFETCH(P, serverTcp);
        QFETCH(P, mirror);
        QFETCH(QStringList, management);
        QFETCH(QString, log);
        QFETCH(V::Kind, verdict);
        DiagnosisFacts f;
        f.defaultRoute = network.at(0) == '+' ? DiagnosisFacts::Route::Present
            : network.at(0) == '-'            ? DiagnosisFacts::Route::Missing
                                              : DiagnosisFacts::Route::Unknown;
        f.apiProbed = network.at(2) != '.';
        f.apiReachable[0] = network.at(2) == '+';
        f.apiReachable[1] = network.at(3) == '+';
        f.udp = udp;
        f.mirrorUsed = mirrorUsed;
        f.serverTcp = serverTcp;
        f.mirror = mirror;
        f.openVpn = OpenVpnOutcome::read(management, log);
        const V::Kind kind = V::decide(f);
        QCOMPARE(V::englishText(kind), V::englishText(verdict));
        // Every verdict that names a road offers it; the others offer none.
        const V::Road road = V::roadOf(kind);
        QCOMPARE(V::roadText(road).isEmpty(), road == V::NoRoad);
        QCOMPARE(road == V::UseTcp, kind == V::UdpBlocked);
        QCOMPARE(road == V::UseMirror, kind == V::VpnBlocked);
        QCOMPARE(road == V::ChooseServer, kind == V::ServerDown);
    }

    void firstBytesOfTheFarEndAreRead_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<P>("result");
        QTest::newRow("server reset")
            << QByteArray::fromHex("001a40") + QByteArray(26, 'x') << P::Answered;
        QTest::newRow("too short to tell") << QByteArray::fromHex("0020") << P::NotRun;
        QTest::newRow("an HTTP server") << QByteArray("HTTP/1.1 400 Bad Request\r\n") << P::Garbage;
        QTest::newRow("a reset with an impossible length")
            << QByteArray::fromHex("000240") << P::Garbage;
        QTest::newRow("the client's own reset echoed")
            << ServerResetProbe::clientReset() << P::Garbage;
    }
    void firstBytesOfTheFarEndAreRead()
    {
        QFETCH(QByteArray, answer);
        QFETCH(P, result);
        QCOMPARE(ServerResetProbe::readAnswer(answer), result);
    }

    void defaultRouteIsReadFromTheRoutingTables_data()
    {
        QTest::addColumn<QByteArray>("ipv4");
        QTest::addColumn<QByteArray>("ipv6");
        QTest::addColumn<int>("state");
        const QByteArray head = "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n";
        const QByteArray v4default = head + "veth0\t00000000\t01004D0A\t0003\t0\t0\t0\t00000000\n";
        const QByteArray v4subnet = head + "veth0\t00004D0A\t00000000\t0001\t0\t0\t0\tFCFFFFFF\n";
        const QByteArray zeros(32, '0');
        const QByteArray v6lo
            = zeros + " 00 " + zeros + " 00 " + zeros + " ffffffff 1 0 00200200 lo\n";
        const QByteArray v6default = zeros + " 00 " + zeros + " 00 " + zeros + " 400 2 0 3 eth0\n";
        QTest::newRow("IPv4 default")
            << v4default << QByteArray() << int(DefaultRoute::State::Present);
        QTest::newRow("subnet only") << v4subnet << v6lo << int(DefaultRoute::State::Missing);
        QTest::newRow("IPv6 default") << v4subnet << v6default << int(DefaultRoute::State::Present);
        QTest::newRow("no tables")
            << QByteArray() << QByteArray() << int(DefaultRoute::State::Unknown);
    }
    void defaultRouteIsReadFromTheRoutingTables()
    {
        QFETCH(QByteArray, ipv4);
        QFETCH(QByteArray, ipv6);
        QFETCH(int, state);
        QCOMPARE(int(DefaultRoute::fromProcTables(ipv4, ipv6)), state);
    }

    void serverOfAConfigurationIsFound_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("udp");
        QTest::newRow("proto line") << QByteArray("client\nproto tcp\nremote 10.78.0.1 443\n")
                                    << "10.78.0.1" << 443 << false;
        QTest::newRow("proto on the remote")
            << QByteArray("remote vpn.example 1195 udp\nremote x 1\n") << "vpn.example" << 1195
            << true;
        QTest::newRow("no port, bad port") << QByteArray("remote a\n") << "a" << 1194 << true;
        QTest::newRow("port out of range") << QByteArray("remote a 70000\n") << "a" << 1194 << true;
        QTest::newRow("none") << QByteArray("\x00\xff garbage") << "" << 1194 << true;
    }
    void serverOfAConfigurationIsFound()
    {
        QFETCH(QByteArray, config);
        const ConfigRemote remote = ConfigRemote::read(config);
        QTEST(remote.host, "host");
        QTEST(int(remote.port), "port");
        QTEST(remote.udp, "udp");
    }
};

KESTRUNE_TEST_MAIN(TestDiagnosisVerdict)
#include "tst_diagnosisverdict.moc"

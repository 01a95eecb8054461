#include "helper/dnscommands.h"
#include "helper/resolvconffile.h"
#include "helper/tunneldns.h"
#include "helper/tunnelguard.h"
#include "helper/tunnelhooks.h"
#include "support/testmain.h"

#include <QDir>
#include <QTemporaryDir>

using Environment = QMap<QString, QString>;

class TunnelDnsTest : public QObject
{
    Q_OBJECT

private slots:
    void optionsAreCheckedOneByOne_data();
    void optionsAreCheckedOneByOne();
    void configurationLinesCountLikePushedOnes();
    void aMarkNothingCanTakeBackIsNamedOnceAndDropped();
    void ipv6IsCarriedOnlyWithItsDefaultRoute_data();
    void ipv6IsCarriedOnlyWithItsDefaultRoute();
    void resolvConfComesBackAsItWas_data();
    void resolvConfComesBackAsItWas();
    void theManagerOfLookupsIsFollowed_data();
    void theManagerOfLookupsIsFollowed();
    void resolvedRoutesEveryQuestionToTheTunnel();
    void openVpnCallsTheHelperByItsOwnPath();
    void theHooksAnswerOnlyOpenVpn();
};

void TunnelDnsTest::optionsAreCheckedOneByOne_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("servers");
    QTest::addColumn<QStringList>("domains");
    QTest::addColumn<int>("skipped");

    QTest::newRow("pushed servers and domains in OpenVPN's order")
        << QStringList {"dhcp-option DNS 10.8.0.1", "dhcp-option DOMAIN Corp.Example",
                        "dhcp-option DNS6 2001:DB8::0:1", "dhcp-option DOMAIN-SEARCH lab.example"}
        << QStringList {"10.8.0.1", "2001:db8::1"} << QStringList {"corp.example", "lab.example"}
        << 0;
    QTest::newRow("not an address is skipped, the others stay")
        << QStringList {"dhcp-option DNS not-an-address", "dhcp-option DNS 10.8.0.1"}
        << QStringList {"10.8.0.1"} << QStringList {} << 1;
    QTest::newRow("address forms inet_pton refuses")
        << QStringList {"dhcp-option DNS 10.8.0.010", "dhcp-option DNS 10.8.0.1.",
                        "dhcp-option DNS 0x0a.8.0.1", "dhcp-option DNS 10.8.0.1;reboot",
                        "dhcp-option DNS 10.8.0.1 extra"}
        << QStringList {} << QStringList {} << 5;
    QTest::newRow("domains that are no host names")
        << QStringList {"dhcp-option DOMAIN -bad.example", "dhcp-option DOMAIN a..b",
                        "dhcp-option DOMAIN x$(id).example",
                        "dhcp-option DOMAIN-SEARCH \"q.example\"",
                        "dhcp-option DOMAIN corp\n.example"}
        << QStringList {} << QStringList {} << 5;
    QTest::newRow("other options and kinds are none of ours")
        << QStringList {"route 10.0.0.0 255.0.0.0", "dhcp-option WINS 10.8.0.2",
                        "dhcp-option NTP 10.8.0.3"}
        << QStringList {} << QStringList {} << 0;
    QStringList many;
    QStringList eight;
    for (int i = 1; i <= 10; ++i) {
        many << QStringLiteral("dhcp-option DNS 10.8.0.%1").arg(i);
        if (i <= TunnelDns::MaxServers)
            eight << QStringLiteral("10.8.0.%1").arg(i);
    }
    QTest::newRow("at most eight servers") << many << eight << QStringList {} << 2;
}

void TunnelDnsTest::optionsAreCheckedOneByOne()
{
    QFETCH(QStringList, options);
    Environment environment {{"dev", "ksvpn_tun"}, {"foreign_option_x", "dhcp-option DNS 9.9.9.9"}};
    // Numbered as OpenVPN numbers them, and in an environment that sorts 10 before 2.
    for (int i = 0; i < options.size(); ++i)
        environment.insert(QStringLiteral("foreign_option_%1").arg(i + 1), options.at(i));
    const TunnelDns dns = TunnelDns::fromEnvironment(environment);
    QTEST(dns.servers, "servers");
    QTEST(dns.domains, "domains");
    QTEST(int(dns.skipped.size()), "skipped");
    for (const QString &entry : dns.skipped)
        QVERIFY2(entry.startsWith("foreign_option_"), qPrintable(entry));
}

void TunnelDnsTest::configurationLinesCountLikePushedOnes()
{
    const TunnelDns dns = TunnelDns::fromConfig("client\r\n# dhcp-option DNS 10.0.0.9\n"
                                                "dhcp-option DNS 10.8.0.53\r\n"
                                                "--dhcp-option   DOMAIN\ttunnel.example\n"
                                                "dhcp-option DNS 10.8.0.999\n");
    QCOMPARE(dns.servers, QStringList {"10.8.0.53"});
    QCOMPARE(dns.domains, QStringList {"tunnel.example"});
    QCOMPARE(dns.skipped, QStringList {"line 5: dhcp-option DNS 10.8.0.999 (not an IP address)"});
}

// A tunnel killed with SIGKILL left its marks; the programs that could take them back are not
// on this machine: each mark is named once, and no restore after that fails on it.
void TunnelDnsTest::aMarkNothingCanTakeBackIsNamedOnceAndDropped()
{
    QTemporaryDir dir;
    TunnelGuard::Places places;
    places.stateFolder = dir.filePath("state");
    places.resolvConf = dir.filePath("resolv.conf");
    places.resolvconf = dir.filePath("no-resolvconf");
    places.nft = dir.filePath("no-nft");
    QVERIFY(QDir().mkpath(places.stateFolder));
    for (const char *mark : {"resolvconf.record", "ipv6.blocked"})
        QVERIFY(QFile(places.stateFolder + "/" + mark).open(QIODevice::WriteOnly));
    TunnelGuard guard(places);
    QStringList log;
    QVERIFY(guard.down(&log));
    QCOMPARE(log.size(), 2);
    QVERIFY2(log.first().contains("no-resolvconf is not there"), qPrintable(log.first()));
    log.clear();
    QVERIFY(guard.down(&log));
    QCOMPARE(log, QStringList());
}

void TunnelDnsTest::ipv6IsCarriedOnlyWithItsDefaultRoute_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("routes");
    QTest::addColumn<bool>("carried");
    const QStringList redirect {"::/3", "2000::/4", "3000::/4", "fc00::/7"};
    QTest::newRow("redirect-gateway ipv6") << "fd00:8::1000" << redirect << true;
    QTest::newRow("::/0") << "fd00:8::1000" << QStringList {"::/0"} << true;
    QTest::newRow("::/1 and 8000::/1")
        << "fd00:8::1000" << QStringList {"::/1", "8000::/1"} << true;
    QTest::newRow("an address alone, pushed by a hostile server")
        << "fd00:8::1000" << QStringList() << false;
    QTest::newRow("half of the Internet") << "fd00:8::1000" << QStringList {"2000::/4"} << false;
    QTest::newRow("a route with no address") << "" << redirect << false;
    QTest::newRow("a route that is no address") << "fd00:8::1000" << QStringList {"x::/0"} << false;
}
void TunnelDnsTest::ipv6IsCarriedOnlyWithItsDefaultRoute()
{
    QFETCH(QString, address);
    QFETCH(QStringList, routes);
    QMap<QString, QString> environment {{"ifconfig_local", "10.8.0.2"},
                                        {"ifconfig_ipv6_local", address}};
    for (int i = 0; i < routes.size(); ++i)
        environment.insert(QString("route_ipv6_network_%1").arg(i + 1), routes.at(i));
    QTEST(TunnelDns::carriesIpv6(environment), "carried");
}

void TunnelDnsTest::resolvConfComesBackAsItWas_data()
{
    QTest::addColumn<QString>("original"); // "link:TARGET", file content, or "missing"
    QTest::newRow("a file of its own") << "nameserver 192.0.2.53\n";
    QTest::newRow("a link, relative as it was") << "link:../run/resolv.conf";
    QTest::newRow("a link to nowhere") << "link:/nonexistent/resolv.conf";
    QTest::newRow("no file at all") << "missing";
}

void TunnelDnsTest::resolvConfComesBackAsItWas()
{
    QFETCH(QString, original);
    QTemporaryDir dir;
    const QString path = dir.filePath("resolv.conf");
    const QString state = dir.filePath("state");
    const bool link = original.startsWith("link:");
    if (link) {
        QVERIFY(QFile::link(original.mid(5), path));
    } else if (original != "missing") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original.toLatin1());
    }
    TunnelDns dns;
    dns.servers = QStringList {"10.8.0.1"};
    dns.domains = QStringList {"tunnel.example"};
    ResolvConfFile resolvConf(path, state);
    QString error;
    QVERIFY2(resolvConf.apply(dns, &error), qPrintable(error));
    dns.servers = QStringList {"10.8.0.2"}; // a reconnection keeps the first original
    QVERIFY2(resolvConf.apply(dns, &error), qPrintable(error));
    QFile written(path);
    QVERIFY(!QFileInfo(path).isSymLink() && written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().endsWith("\nnameserver 10.8.0.2\nsearch tunnel.example\n"));
    QVERIFY(resolvConf.holdsOriginal());

    QVERIFY2(ResolvConfFile(path, state).restore(&error), qPrintable(error));
    QVERIFY(!resolvConf.holdsOriginal());
    if (link) {
        QCOMPARE(QFile::symLinkTarget(path),
                 QFileInfo(dir.path(), original.mid(5)).absoluteFilePath());
    } else {
        QFile back(path);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLatin1(back.readAll()), original == "missing" ? "" : original);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 1); // no leftovers
}

void TunnelDnsTest::theManagerOfLookupsIsFollowed_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("resolvedRunning");
    QTest::addColumn<bool>("resolvconfInstalled");
    QTest::addColumn<int>("manager");
    const QString stub = "/run/systemd/resolve/stub-resolv.conf";
    QTest::newRow("resolved's stub") << stub << true << true << int(DnsCommands::Resolved);
    QTest::newRow("a stale stub link without resolved")
        << stub << false << false << int(DnsCommands::ResolvConf);
    QTest::newRow("resolvconf's file")
        << "/run/resolvconf/resolv.conf" << true << true << int(DnsCommands::Resolvconf);
    QTest::newRow("a file of its own while resolved runs")
        << "/etc/resolv.conf" << true << true << int(DnsCommands::ResolvConf);
}

void TunnelDnsTest::theManagerOfLookupsIsFollowed()
{
    QFETCH(QString, target);
    QFETCH(bool, resolvedRunning);
    QFETCH(bool, resolvconfInstalled);
    QTEST(int(DnsCommands::manager(target, resolvedRunning, resolvconfInstalled)), "manager");
}

void TunnelDnsTest::resolvedRoutesEveryQuestionToTheTunnel()
{
    TunnelDns dns;
    dns.servers = QStringList {"10.8.0.1", "2001:db8::1"};
    dns.domains = QStringList {"corp.example"};
    const QList<QStringList> calls = DnsCommands::resolvedUp("ksvpn_tun", dns);
    QCOMPARE(calls,
             (QList<QStringList> {{"dns", "ksvpn_tun", "10.8.0.1", "2001:db8::1"},
                                  {"domain", "ksvpn_tun", "~.", "corp.example"},
                                  {"default-route", "ksvpn_tun", "yes"}}));
    QCOMPARE(DnsCommands::resolvedDown("ksvpn_tun"), (QStringList {"revert", "ksvpn_tun"}));
}

void TunnelDnsTest::openVpnCallsTheHelperByItsOwnPath()
{
    QCOMPARE(TunnelHooks::openVpnArguments("/opt/kestrunevpn/kestrunevpn-helper"),
             (QStringList {"--script-security", "2", "--up",
                           "/opt/kestrunevpn/kestrunevpn-helper dns-up", "--down",
                           "/opt/kestrunevpn/kestrunevpn-helper dns-down"}));
    // OpenVPN splits the hook's text into words: a path it would split is not handed over.
    QVERIFY(TunnelHooks::openVpnArguments("/opt/my vpn/kestrunevpn-helper").isEmpty());
    QVERIFY(TunnelHooks::openVpnArguments("/opt/\"x\"/kestrunevpn-helper").isEmpty());
    QVERIFY(TunnelHooks::openVpnArguments("kestrunevpn-helper").isEmpty());
    QVERIFY(TunnelHooks::openVpnArguments("/opt/kestrunevpn/kestrunevpn-helper\n").isEmpty());
}

void TunnelDnsTest::theHooksAnswerOnlyOpenVpn()
{
    QTemporaryDir dir;
    HelperContext context;
    context.lockStateFolder = dir.path();
    const TunnelHooks hooks(context);
    const Environment pushed {{"foreign_option_1", "dhcp-option DNS 10.8.0.1"}};
    QCOMPARE(hooks.run("up", pushed), 2);
    QCOMPARE(hooks.run("up",
                       {{"foreign_option_1", "dhcp-option DNS 10.8.0.1"}, {"script_type", "down"}}),
             2);
    QCOMPARE(hooks.run("down", {{"script_type", "down"}, {"PKEXEC_UID", "1000"}}), 2);
    QVERIFY(QDir(dir.path()).isEmpty());
}

KESTRUNE_TEST_MAIN(TunnelDnsTest)
#include "tst_tunneldns.moc"

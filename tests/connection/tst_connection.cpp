// The connection road with the real request worker, the local service and the suite's own
// copy of the OpenVPN stand-in: from a connect action to a verified tunnel and back. First,
// what the window works out at its construction and shows of a connection's state.

#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>

namespace {

const QString OpenVpn = QStringLiteral("ovpn/openvpn");

int visibleStatWindows()
{
    int n = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        n += top->inherits("StatWidget") && top->isVisible() ? 1 : 0;
    return n;
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

    bool connectOnce(WindowRig &rig)
    {
        rig.open();
        if (!rig.signInAndChoose())
            return false;
        rig.click("vpnConAutoChoiceButton");
        return rig.waitConnected();
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void startWorksOutTheAddresses_data()
    {
        QTest::addColumn<QString>("lastVersion");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("byDefault");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("literal");
        const auto row = [](const char *name, const char *version, const char *stored,
                            bool byDefault, bool kept, bool literal) {
            QTest::newRow(name) << QString(version) << QString(stored) << byDefault << kept
                                << literal;
        };
        row("same version keeps it", "1.26.0", "http://192.0.2.44:8080", false, true, true);
        row("version with a suffix drops it", "1.26.0 ", "http://192.0.2.44", false, false, true);
        row("literal address used by default", "1.26.0", "http://203.0.113.5", true, true, true);
        row("host name", "1.26.0", "https://api.kestrune.test", false, true, false);
        row("three groups", "1.26.0", "http://203.0.113", false, true, false);
    }
    void startWorksOutTheAddresses()
    {
        QFETCH(QString, lastVersion);
        QFETCH(QString, stored);
        QFETCH(bool, byDefault);
        QFETCH(bool, kept);
        QFETCH(bool, literal);
        WindowRig rig;
        {
            QSettings ini(rig.settingsFile(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("LastLaunchedVersion"), lastVersion);
            ini.setValue(QStringLiteral("EmergencyAddress"), stored);
            ini.setValue(QStringLiteral("EmergencyAddressUseByDef"), byDefault);
        }
        rig.open();
        WindowProbe p = rig.probe();
        const QString emergency = kept ? stored : rig.endpoints().emergencyBase;
        QCOMPARE(p.emergencyAddress(), emergency);
        QCOMPARE(p.emergencyIsIp(), literal || !kept);
        QCOMPARE(p.apiBaseUrl(), kept && byDefault ? emergency : rig.endpoints().apiBase);
        QSettings ini(rig.settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("LastLaunchedVersion")).toString(),
                 QStringLiteral("1.26.0"));
        QCOMPARE(ini.value(QStringLiteral("EmergencyAddress")).toString().isEmpty(), !kept);
    }

    void trayConnectActionNamesTheRoute_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("text");
        QTest::newRow("single: country and city") << 1 << 0 << 0 << "(Germany, Berlin)";
        QTest::newRow("double: both countries") << 2 << 0 << 1 << "(Germany, Japan)";
        QTest::newRow("unknown kind") << 7 << 0 << 0 << "(unknown)";
    }
    void trayConnectActionNamesTheRoute()
    {
        QFETCH(int, type);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QString, text);
        WindowRig rig;
        rig.open();
        WindowProbe p = rig.probe();
        p.subscriptions() = {subscription(1, type)};
        p.currentSubIndex() = 0;
        p.servers() = {server(1, QString(), QStringLiteral("Germany"), QStringLiteral("Berlin")),
                       server(2, QString(), QStringLiteral("Japan"), QStringLiteral("Tokyo"))};
        p.firstServerIndex() = first;
        p.secondServerIndex() = second;
        rig.window()->refreshConnectionPage();
        QCOMPARE(p.switchAction()->text(), QStringLiteral("Connect VPN ") + text);
        QVERIFY(p.switchAction()->isEnabled());
    }

    void serverAloneInItsCityCannotReconnect_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVector<int>>("sameCity"); // of the exit server (index 0)
        QTest::addColumn<QVector<int>>("exitsOfEntry"); // of the entry (double only)
        QTest::addColumn<int>("choices");
        QTest::newRow("single, alone") << 1 << QVector<int> {} << QVector<int> {} << 0;
        QTest::newRow("single, two neighbours") << 1 << QVector<int> {1, 2} << QVector<int> {} << 2;
        QTest::newRow("double, neighbours not exits of the entry")
            << 2 << QVector<int> {1, 2} << QVector<int> {0} << 0;
        QTest::newRow("double, one neighbour is an exit")
            << 2 << QVector<int> {1, 2} << QVector<int> {0, 2} << 1;
    }
    void serverAloneInItsCityCannotReconnect()
    {
        QFETCH(int, type);
        QFETCH(QVector<int>, sameCity);
        QFETCH(QVector<int>, exitsOfEntry);
        QFETCH(int, choices);
        WindowRig rig;
        rig.open();
        WindowProbe p = rig.probe();
        p.subscriptions() = {subscription(1, type)};
        p.currentSubIndex() = 0;
        for (int i = 0; i < 4; ++i)
            p.servers() << server(100 + i, QStringLiteral("192.0.2.%1").arg(i + 1),
                                  QStringLiteral("Country"), i < 3 ? "Same" : "Other");
        p.servers()[0].sameCity = sameCity;
        p.servers()[3].doubleExits = exitsOfEntry;
        p.firstServerIndex() = type == 2 ? 3 : 0;
        p.secondServerIndex() = 0;
        rig.window()->fillInfoPage();
        auto *combo = rig.widget<QComboBox>("vpnInfoChangeIPComboBox");
        QCOMPARE(combo->count(), choices);
        QCOMPARE(rig.widget("vpnInfoReconnectButton")->isEnabled(), choices > 0);
        QCOMPARE(!rig.widget("vpnInfoChangeIPWidget")->isHidden(), choices > 0);
        QCOMPARE(!rig.widget("vpnInfoLocationLabel2")->isHidden(), type == 2);
        for (int i = 0; i < choices; ++i)
            QCOMPARE(combo->itemText(i), p.servers().at(combo->itemData(i).toInt()).ip);
    }

    void connectsVerifiesAndSwitchesOff()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        WindowProbe p = rig.probe();
        QVERIFY(rig.signInAndChoose());
        rig.widget<QAbstractButton>("settingShowStatWgtCheckBox")->setChecked(true);
        rig.service.clearRequests();
        rig.click("vpnConAutoChoiceButton");
        QVERIFY(rig.waitConnected());

        // The address before, the configuration, the address through the tunnel: in order.
        const QList<QByteArray> paths = rig.requestPaths();
        QCOMPARE(paths.size(), 3);
        QCOMPARE(paths.at(0), QByteArray("/v1/api/info"));
        QVERIFY2(paths.at(1).startsWith("/v1/openvpn/config-"), paths.at(1).constData());
        QCOMPARE(paths.at(2), QByteArray("/v1/api/info"));
        QCOMPARE(p.originalIp(), QStringLiteral("198.51.100.7"));
        QCOMPARE(p.newIp(), QStringLiteral("203.0.113.9"));
        QCOMPARE(p.status(), VPNProcess::ProcConnected);
        QCOMPARE(rig.widget<QAbstractButton>("vpnConCancelButton")->text(),
                 QStringLiteral("SWITCH OFF VPN"));
        QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN connected"));
        QVERIFY(p.showStatAction()->isVisible());
        QCOMPARE(p.switchAction()->text(), QStringLiteral("Disconnect VPN"));
        QCOMPARE(visibleStatWindows(), 1);
        QCOMPARE(rig.programs.running(OpenVpn).size(), 1);
        const QString managementPassword = p.vpn()->password;

        rig.click("vpnConCancelButton");
        QVERIFY(rig.waitIdle());
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        QVERIFY(!p.showStatAction()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(visibleStatWindows(), 0, 3000);
        QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN not connected"));
        QVERIFY(p.switchAction()->text().startsWith(QStringLiteral("Connect VPN (")));

        // No secret in the log of the whole run.
        const QString log = rig.log.lines().join(QLatin1Char('\n'));
        QVERIFY(!managementPassword.isEmpty() && !rig.service.authToken().isEmpty());
        for (const QString &secret :
             {rig.service.password(), rig.service.authToken(), managementPassword})
            QVERIFY2(!log.contains(secret), qPrintable(secret));
    }

    void abortWhileAddressCheckIsOutIgnoresTheLateReply()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(rig.signInAndChoose());
        rig.service.setFault("/v1/api/info", MockService::Fault::Delay, 1500, 1);
        rig.service.clearRequests();
        rig.click("vpnConAutoChoiceButton");
        QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/api/info"), 1, 3000);
        QCOMPARE(rig.widget<QAbstractButton>("vpnConCancelButton")->text(),
                 QStringLiteral("ABORT"));
        rig.click("vpnConCancelButton");
        QVERIFY(rig.waitIdle(5000));
        QVERIFY(rig.log.waitFor(QStringLiteral(
            "[7]: Interrupt connection status detected. Cancelation reply processing")));
        QCOMPARE(rig.requestCount("/v1/openvpn/"), 0);
        QVERIFY(rig.probe().originalIp().isEmpty());
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
    }

    void tunnelAddressCheckIsRetriedTwice()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(rig.signInAndChoose());
        // Once the configuration is out, the next two address checks are declined.
        rig.click("vpnConAutoChoiceButton");
        QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/openvpn/"), 1, 5000);
        rig.service.setFault("/v1/api/info", MockService::Fault::Declined, 0, 2);
        QVERIFY(rig.waitConnected());
        QCOMPARE(rig.log.matching(QStringLiteral("[10]: retrying network request (retry: ")),
                 (QStringList {QStringLiteral("[10]: retrying network request (retry: 1)"),
                               QStringLiteral("[10]: retrying network request (retry: 2)")}));
        QCOMPARE(rig.log.matching(QStringLiteral("[8]: \"declined\" server reply")).size(), 2);
        QCOMPARE(rig.probe().newIp(), QStringLiteral("203.0.113.9"));
    }

    void equalAddressesStopTheTunnel()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.service.setConnectAfterConfig(false);
        rig.open();
        QVERIFY(rig.signInAndChoose());
        QSignalSpy ticks(rig.probe().vpnUpdateTimer(), SIGNAL(timeout()));
        rig.dialogs.expect();
        rig.click("vpnConAutoChoiceButton");
        QVERIFY(rig.dialogs.waitFor(1, 20000));
        QCOMPARE(rig.dialogs.dialogs().first().code, 11);
        QVERIFY(rig.waitIdle(15000));
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        QCOMPARE(ticks.count(), 0); // never shown or counted as a connection
        QVERIFY(rig.log.contains(QStringLiteral(
            "[8]: User's IP before and after VPN connection establishment are equal")));
    }

    void expiringSubscriptionStopsTheTunnel()
    {
        WindowRig rig(WindowRig::LocalService);
        QVERIFY(connectOnce(rig));
        WindowProbe p = rig.probe();
        rig.dialogs.expect(); // the near end may be told first
        p.subscriptions()[p.currentSubIndex()].timeEnd
            = int(QDateTime::currentSecsSinceEpoch() - 1);
        // The subscription timer ticks every second.
        QTRY_COMPARE_WITH_TIMEOUT(rig.widget<QLabel>("vpnConSubLeftLabel")->text(),
                                  QStringLiteral("expired"), 1500);
        QVERIFY(rig.waitIdle(15000));
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        QVERIFY(!rig.widget("vpnConManualChoiceButton")->isEnabled());
        QVERIFY(!rig.widget("vpnConAutoChoiceButton")->isEnabled());
    }

    void errorMarkIsClearedWhileConnectedAndActedOnAfterReconnect()
    {
        WindowRig rig(WindowRig::LocalService);
        QVERIFY(connectOnce(rig));
        WindowProbe p = rig.probe();
        // An error line while the tunnel is up is forgotten at the next tick.
        QSignalSpy ticks(p.vpnUpdateTimer(), SIGNAL(timeout()));
        p.vpn()->errorSeen = true;
        QVERIFY(ticks.wait(2000));
        QVERIFY(!p.vpn()->errorSeen);
        QVERIFY(p.connected() && p.status() == VPNProcess::ProcConnected);
        // OpenVPN reconnecting on its own with the mark set: the next tick stops the tunnel.
        p.vpn()->procStatus = VPNProcess::ProcConnecting;
        p.vpn()->errorSeen = true;
        QVERIFY(ticks.wait(2000));
        QTRY_VERIFY_WITH_TIMEOUT(p.status() == VPNProcess::ProcUnconnected && !p.connected(),
                                 15000);
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
    }

    void secondConnectionWaitsForTheOldTunnelToGoDown()
    {
        WindowRig rig(WindowRig::LocalService);
        // The service answers with the tunnel's address exactly while OpenVPN runs, as a
        // service seen through a real tunnel does.
        rig.service.setConnectAfterConfig(false);
        QList<qint64> runningAtSecondRequest {-1};
        QObject listening;
        connect(Loger::notifier(), &Loger::lineAdded, &listening, [&](const QString &line) {
            if (line.contains(QStringLiteral("Initializing VPN connection")))
                rig.service.setConnected(true);
            else if (line.contains(QStringLiteral("openvpn process closed")))
                rig.service.setConnected(false);
            else if (line.contains(QStringLiteral("Request to Kestrune server was sent"))
                     && line.contains(QStringLiteral("[7]")))
                runningAtSecondRequest = rig.programs.running(OpenVpn);
        });
        QVERIFY(connectOnce(rig));
        WindowProbe p = rig.probe();
        QCOMPARE(rig.programs.running(OpenVpn).size(), 1);
        runningAtSecondRequest = {-1};
        // Another server of the list, chosen while connected.
        auto *list = rig.widget<QListWidget>("vpnServAllServListWidget");
        QVERIFY(list->count() >= 2);
        const int current = p.servers().at(p.firstServerIndex()).id;
        const int row = list->item(0)->data(Qt::UserRole).toInt() == current ? 1 : 0;
        const int wanted = list->item(row)->data(Qt::UserRole).toInt();
        list->setCurrentRow(row);
        emit list->doubleClicked(list->currentIndex());
        QVERIFY(rig.waitConnected());
        // When the new connection's first request went out, the old OpenVPN was gone.
        QVERIFY(runningAtSecondRequest.isEmpty());
        QCOMPARE(rig.programs.running(OpenVpn).size(), 1);
        QCOMPARE(p.servers().at(p.firstServerIndex()).id, wanted);
    }

    void mirrorConnectionStartsTheToolBeforeTheConfiguration()
    {
        WindowRig rig(WindowRig::LocalService);
        if (rig.programs.installSsLocal().isEmpty())
            QSKIP("shadowsocks-libev's ss-local is not installed");
        ReservedPort local;
        const quint16 localPort = local.port();
        local.release();
        rig.service.setMirrorConfig(QJsonObject {{"server", "127.0.0.1"},
                                                 {"server_port", int(rig.closedPort.port())},
                                                 {"local_address", "127.0.0.1"},
                                                 {"local_port", int(localPort)},
                                                 {"password", "demo-mirror"},
                                                 {"method", "aes-256-gcm"},
                                                 {"timeout", 60}});
        // The user asked for the mirror route.
        QVERIFY(writeFile(rig.settingsFile(),
                          "[General]\nLastLaunchedVersion=1.26.0\nServerMirrorConfig=true\n"));
        rig.open();
        WindowProbe p = rig.probe();
        QVERIFY(rig.signInAndChoose());
        rig.service.clearRequests();
        rig.click("vpnConAutoChoiceButton");
        QVERIFY(rig.waitConnected());

        const QList<QByteArray> paths = rig.requestPaths();
        QCOMPARE(paths.size(), 4);
        QCOMPARE(paths.at(1), QByteArray("/v1/shadow/config"));
        QVERIFY(paths.at(2).startsWith("/v1/openvpn/config-"));
        QVERIFY(rig.service.requests().at(2).query.contains("proto=tcp"));
        QVERIFY(!rig.widget("settingProtWidget")->isEnabled());
        QCOMPARE(p.ssStatus(), ShadowsocksProcess::Shadowsocks_Running);
        QCOMPARE(rig.programs.running(QStringLiteral("shadowsocks/ss-local")).size(), 1);
        QFile config(rig.data.filePath(QStringLiteral("temp/openvpn_config.ovpn")));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QVERIFY(config.readAll().contains(
            QStringLiteral("socks-proxy 127.0.0.1 %1\n").arg(localPort).toLatin1()));

        rig.click("vpnConCancelButton");
        QVERIFY(rig.waitIdle());
        QCOMPARE(p.ssStatus(), ShadowsocksProcess::Shadowsocks_NotRunning);
        QTRY_VERIFY_WITH_TIMEOUT(
            rig.programs.running(QStringLiteral("shadowsocks/ss-local")).isEmpty(), 5000);
    }

    void windowEndedBySystemStopsOpenVpnPolitely()
    {
        WindowRig rig(WindowRig::LocalService);
        QVERIFY(connectOnce(rig));
        // As after SIGTERM: the event loop has ended and the window goes without the tray's
        // Quit.
        const int before = rig.log.lines().size();
        rig.close(false);
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        // Stopped through its management port, as the window does, not killed.
        const QStringList after = rig.log.lines().mid(before);
        QVERIFY(after.contains(QStringLiteral("openvpn process closed")));
        QVERIFY2(after.contains(QStringLiteral("[OpenVPN]: state changed to stopped")),
                 qPrintable(after.join('\n')));
    }

    // Last: the quit ends every event loop of the process from then on.
    void quitWhileConnectedStopsOpenVpnAndThreads()
    {
        WindowRig rig(WindowRig::LocalService);
        QVERIFY(connectOnce(rig));
        QPointer<QThread> vpnThread = rig.probe().vpnThread();
        QPointer<QThread> ssThread = rig.probe().ssThread();
        QVERIFY(vpnThread && vpnThread->isRunning());
        rig.window()->aboutToQuit();
        // OpenVPN is gone when the quit returns, and both long-lived threads end.
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        QVERIFY(vpnThread->wait(5000));
        QVERIFY(ssThread->wait(5000));
        const QStringList lines = rig.log.lines();
        const int shutting = lines.lastIndexOf(QStringLiteral("Application is shutting down"));
        QVERIFY(shutting >= 0);
        QVERIFY(lines.indexOf(QStringLiteral("openvpn process closed"), shutting) > shutting);
    }
};

KESTRUNE_TEST_MAIN(TestConnection)
#include "tst_connection.moc"

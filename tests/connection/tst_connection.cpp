// The connection road with the real request worker, the local service and the suite's own
// copy of the OpenVPN stand-in: from a connect action to a verified tunnel and back.

#include "api/replyparsers.h"
#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
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

    // An emergency address that once answered is where the next start sends its requests.
    void storedEmergencyAddressIsUsedByDefaultAtStart()
    {
        WindowRig rig;
        QVERIFY(writeFile(rig.settingsFile(),
                          "[General]\nLastLaunchedVersion=1.26.0\nEmergencyAddress=http://"
                          "203.0.113.5\nEmergencyAddressUseByDef=true\n"));
        rig.open();
        QCOMPARE(rig.probe().apiBaseUrl(), QStringLiteral("http://203.0.113.5"));
    }

    // Servers 0 to 3 (ids 100 to 103) in the cities named by letters; exit 0, entry 3. The
    // availability check drops `dropped` first: the city lists left are those of the rest.
    void serverAloneInItsCityCannotReconnect_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("cities");
        QTest::addColumn<QVector<int>>("exitsOfEntry"); // of the entry (double only)
        QTest::addColumn<QVector<int>>("dropped");
        QTest::addColumn<int>("choices");
        const QVector<int> none;
        QTest::newRow("single, alone") << 1 << "ABBB" << none << none << 0;
        QTest::newRow("single, two neighbours") << 1 << "AAAB" << none << none << 2;
        QTest::newRow("double, neighbours not exits of the entry")
            << 2 << "AAAB" << QVector<int> {0} << none << 0;
        QTest::newRow("double, one neighbour is an exit")
            << 2 << "AAAB" << QVector<int> {0, 2} << none << 1;
        QTest::newRow("single, a dropped neighbour is gone and the next one's index follows")
            << 1 << "AAAB" << none << QVector<int> {101} << 1;
        QTest::newRow("double, city lists and exits follow a dropped server")
            << 2 << "ABAB" << QVector<int> {0, 2} << QVector<int> {101} << 1;
    }
    void serverAloneInItsCityCannotReconnect()
    {
        QFETCH(int, type);
        QFETCH(QString, cities);
        QFETCH(QVector<int>, exitsOfEntry);
        QFETCH(QVector<int>, dropped);
        QFETCH(int, choices);
        WindowRig rig;
        rig.open();
        WindowProbe p = rig.probe();
        p.subscriptions() = {subscription(1, type)};
        p.currentSubIndex() = 0;
        for (int i = 0; i < 4; ++i)
            p.servers() << server(100 + i, QStringLiteral("192.0.2.%1").arg(i + 1),
                                  QStringLiteral("Country"), cities.at(i));
        fillSameCity(p.servers());
        p.servers()[3].doubleExits = exitsOfEntry;
        p.firstServerIndex() = type == 2 ? 3 : 0;
        p.secondServerIndex() = 0;
        for (int id : dropped)
            rig.window()->serverAvailResultReceived(id, false);
        QVector<VPNServer> fresh = p.servers();
        fillSameCity(fresh);
        for (int i = 0; i < fresh.size(); ++i)
            QCOMPARE(p.servers().at(i).sameCity, fresh.at(i).sameCity);
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
        QCOMPARE(p.connection()->originalIp(), QStringLiteral("198.51.100.7"));
        QCOMPARE(p.connection()->newIp(), QStringLiteral("203.0.113.9"));
        QCOMPARE(p.state(), ConnectionController::Verified);
        QCOMPARE(rig.widget<QAbstractButton>("vpnConCancelButton")->text(),
                 QStringLiteral("SWITCH OFF VPN"));
        QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN connected"));
        QVERIFY(p.showStatAction()->isVisible());
        QCOMPARE(p.switchAction()->text(), QStringLiteral("Disconnect VPN"));
        QCOMPARE(visibleStatWindows(), 1);
        QCOMPARE(rig.programs.running(OpenVpn).size(), 1);
        const QString managementPassword = p.connection()->openVpnController()->password;

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

    // A late answer to an address check the user aborted is dropped; the one through the
    // tunnel used to start the connection timer of a tunnel already aborted.
    void tunnelAddressAnswerAfterAbortIsDropped_data()
    {
        QTest::addColumn<bool>("throughTunnel");
        QTest::newRow("address before the configuration") << false;
        QTest::newRow("address through the tunnel") << true;
    }
    void tunnelAddressAnswerAfterAbortIsDropped()
    {
        QFETCH(bool, throughTunnel);
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        QVERIFY(rig.signInAndChoose());
        rig.service.clearRequests();
        const auto delayNextAddressCheck = [&rig]() {
            rig.service.setFault("/v1/api/info", MockService::Fault::Delay, 1500, 1);
        };
        if (!throughTunnel)
            delayNextAddressCheck();
        rig.click("vpnConAutoChoiceButton");
        if (throughTunnel) {
            QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/openvpn/"), 1, 5000);
            rig.service.clearRequests();
            delayNextAddressCheck();
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/api/info"), 1, 10000);
        QCOMPARE(rig.widget<QAbstractButton>("vpnConCancelButton")->text(),
                 QStringLiteral("ABORT"));
        rig.click("vpnConCancelButton");
        QVERIFY(rig.log.waitFor(QStringLiteral("[%1]: Interrupt connection status detected. "
                                               "Cancelation reply processing")
                                    .arg(throughTunnel ? 8 : 7)));
        QVERIFY(rig.waitIdle(5000));
        QVERIFY(!rig.probe().connected());
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        QCOMPARE(rig.requestCount("/v1/openvpn/"), 0);
        if (!throughTunnel)
            QVERIFY(rig.probe().connection()->originalIp().isEmpty());
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
        QCOMPARE(rig.probe().connection()->newIp(), QStringLiteral("203.0.113.9"));
    }

    void equalAddressesStopTheTunnel()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.service.setConnectAfterConfig(false);
        rig.open();
        QVERIFY(rig.signInAndChoose());
        QSignalSpy ticks(rig.probe().connection(), &ConnectionController::ticked);
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

    // While the route to the server is gone the window, the tray and the statistics window
    // say that the connection waits for the network, never "connected"; once the route is
    // back the tunnel is made again and shown as connected after its check.
    void outageShowsTheWaitAndTheReturnReconnects()
    {
        WindowRig rig(WindowRig::LocalService);
        QVERIFY(connectOnce(rig));
        WindowProbe p = rig.probe();
        auto *status = rig.widget<QLabel>("vpnConLoadingLabel");
        // What the statistics window is given to show in place of the time.
        QSignalSpy statTime(rig.window(), &MainWindow::statWidgetTimeChanged);
        p.connection()->networkRouteGone();
        QCOMPARE(rig.statusPage(), int(Status_Busy));
        QVERIFY2(status->text().contains("Waiting for the network"), qPrintable(status->text()));
        QCOMPARE(statTime.last().first().toString(), QStringLiteral("Waiting for the network"));
        QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN is connecting..."));
        QCOMPARE(p.switchAction()->text(), QStringLiteral("Disconnect VPN"));
        p.connection()->networkRouteBack();
        QVERIFY(status->text().contains("Reconnecting"));
        QVERIFY(rig.waitConnected());
        QVERIFY(rig.log.contains("Network: the route to the VPN server is gone, waiting"));
        QCOMPARE(rig.log.matching("Network: reconnected in ").size(), 1);
    }

    void secondConnectionWaitsForTheOldTunnelToGoDown()
    {
        WindowRig rig(WindowRig::LocalService);
        // The service answers with the tunnel's address exactly while OpenVPN runs, as a
        // service seen through a real tunnel does.
        rig.service.setConnectAfterConfig(false);
        // OpenVPN ends a while after it confirmed the stop; its late end must neither be
        // overtaken by the next connection nor mark that one unconnected.
        QVERIFY(writeFile(rig.programs.path() + QStringLiteral("/ovpn/standin-script"),
                          "#standin exit-delay 400\n"));
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
        QCOMPARE(rig.programs.running(QStringLiteral("shadowsocks/ss-local")).size(), 1);
        QFile config(rig.data.filePath(QStringLiteral("temp/openvpn_config.ovpn")));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QVERIFY(config.readAll().contains(
            QStringLiteral("socks-proxy 127.0.0.1 %1\n").arg(localPort).toLatin1()));

        rig.click("vpnConCancelButton");
        QVERIFY(rig.waitIdle());
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
        // OpenVPN's and the mirror tool's controllers, and request workers not yet deleted.
        QList<QPointer<QThread>> threads;
        for (QThread *thread : rig.probe().connection()->findChildren<QThread *>()) {
            if (thread->isRunning())
                threads << thread;
        }
        QVERIFY(threads.size() >= 2);
        rig.window()->aboutToQuit();
        // OpenVPN is gone when the quit returns, and every thread of the connection ends.
        QVERIFY(rig.programs.running(OpenVpn).isEmpty());
        for (const QPointer<QThread> &thread : threads)
            QVERIFY(!thread || thread->wait(5000));
        const QStringList lines = rig.log.lines();
        const int shutting = lines.lastIndexOf(QStringLiteral("Application is shutting down"));
        QVERIFY(shutting >= 0);
        QVERIFY(lines.indexOf(QStringLiteral("openvpn process closed"), shutting) > shutting);
    }
};

KESTRUNE_TEST_MAIN(TestConnection)
#include "tst_connection.moc"

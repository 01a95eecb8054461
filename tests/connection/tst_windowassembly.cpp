// The window's construction: the start-up settings reads and the addresses worked out from
// them; the tray and the connection page's display.

#include "clientrig.h"
#include "support/testmain.h"
#include "ui/traynotification.h"

#include <QMenu>
#include <QSettings>

class TestWindowAssembly : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void emergencyAddressSurvivesOnlyTheSameVersion_data();
    void emergencyAddressSurvivesOnlyTheSameVersion();
    void emergencyAddressWithLiteralIpv4Host_data();
    void emergencyAddressWithLiteralIpv4Host();
    void trayFollowsTheConnectionState_data();
    void trayFollowsTheConnectionState();
    void trayMenuHidesStatsUntilConnected();
    void trayConnectActionNamesTheRoute_data();
    void trayConnectActionNamesTheRoute();
    void signInFailureReachesTheTrayOnlyWhileHidden_data();
    void signInFailureReachesTheTrayOnlyWhileHidden();
    void serverAloneInItsCityCannotReconnect_data();
    void serverAloneInItsCityCannotReconnect();
};

void TestWindowAssembly::emergencyAddressSurvivesOnlyTheSameVersion_data()
{
    QTest::addColumn<QString>("lastVersion");
    QTest::addColumn<bool>("kept");
    QTest::newRow("same version keeps it") << "1.26.0" << true;
    QTest::newRow("older version drops it") << "1.25.0" << false;
    QTest::newRow("newer version drops it") << "1.27.0" << false;
    QTest::newRow("version with a suffix drops it") << "1.26.0 " << false;
}

void TestWindowAssembly::emergencyAddressSurvivesOnlyTheSameVersion()
{
    QFETCH(QString, lastVersion);
    QFETCH(bool, kept);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    const QString stored = QStringLiteral("http://192.0.2.44:8080");
    {
        QSettings ini(rig.dataDir + QStringLiteral("/settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("LastLaunchedVersion"), lastVersion);
        ini.setValue(QStringLiteral("EmergencyAddress"), stored);
    }
    MainWindowProbe p(rig.makeWindow());
    QCOMPARE(p.emergencyAddress(), kept ? stored : rig.service.baseUrl());
    QSettings ini(rig.dataDir + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("LastLaunchedVersion")).toString(), QStringLiteral("1.26.0"));
    QCOMPARE(ini.value(QStringLiteral("EmergencyAddress")).toString().isEmpty(), !kept);
}

void TestWindowAssembly::emergencyAddressWithLiteralIpv4Host_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("literal");
    QTest::addColumn<bool>("byDefault");
    QTest::newRow("plain IPv4 with port") << "http://203.0.113.5:8080" << true << false;
    QTest::newRow("plain IPv4, used by default") << "http://203.0.113.5" << true << true;
    QTest::newRow("host name") << "https://api.kestrune.test" << false << false;
    QTest::newRow("four-digit group") << "http://2030.0.113.5" << false << false;
    QTest::newRow("three groups") << "http://203.0.113" << false << false;
}

void TestWindowAssembly::emergencyAddressWithLiteralIpv4Host()
{
    QFETCH(QString, address);
    QFETCH(bool, literal);
    QFETCH(bool, byDefault);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    {
        QSettings ini(rig.dataDir + QStringLiteral("/settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("LastLaunchedVersion"), QStringLiteral("1.26.0"));
        ini.setValue(QStringLiteral("EmergencyAddress"), address);
        ini.setValue(QStringLiteral("EmergencyAddressUseByDef"), byDefault);
    }
    MainWindowProbe p(rig.makeWindow());
    QCOMPARE(p.emergencyIsIp(), literal);
    QCOMPARE(p.apiBaseUrl(), byDefault ? address : rig.service.baseUrl());
    QVERIFY(
        p.ui()->mainRemindPswdLabel->text().contains(byDefault ? address : rig.service.baseUrl()));
}

void TestWindowAssembly::trayFollowsTheConnectionState_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("idle") << int(VPNProcess::ProcUnconnected) << int(VPNProcess::ProcUnconnected)
                          << "Kestrune VPN 1.26.0\nVPN not connected";
    QTest::newRow("connecting") << int(VPNProcess::ProcConnecting)
                                << int(VPNProcess::ProcConnecting)
                                << "Kestrune VPN 1.26.0\nVPN is connecting...";
    QTest::newRow("disconnecting shows the connecting picture")
        << int(VPNProcess::ProcDisconnecting) << int(VPNProcess::ProcConnecting)
        << "Kestrune VPN 1.26.0\nVPN is disconnecting...";
}

void TestWindowAssembly::trayFollowsTheConnectionState()
{
    QFETCH(int, status);
    QFETCH(int, picture);
    QFETCH(QString, toolTip);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);
    QVERIFY(p.tray());
    QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN not connected"));

    p.vpn()->procStatus = VPNProcess::VPNProcessStatus(status);
    w->refreshConnectionPage();
    QCOMPARE(p.tray()->toolTip(), toolTip);
    QCOMPARE(p.tray()->icon().pixmap(16).toImage(), trayIcon(picture).pixmap(16).toImage());
    if (status != VPNProcess::ProcUnconnected)
        QCOMPARE(p.statusPage(), 2);
    p.vpn()->procStatus = VPNProcess::ProcUnconnected;
}

void TestWindowAssembly::trayMenuHidesStatsUntilConnected()
{
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindowProbe p(rig.makeWindow());
    QMenu *menu = p.tray()->contextMenu();
    QVERIFY(menu);
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts,
             (QStringList {QStringLiteral("Connect VPN"), QStringLiteral("Show stats"),
                           QStringLiteral("-"), QStringLiteral("About"), QStringLiteral("-"),
                           QStringLiteral("Quit")}));
    QVERIFY(!p.showStatAction()->isVisible());
    QVERIFY(!p.switchAction()->isEnabled());
}

void TestWindowAssembly::trayConnectActionNamesTheRoute_data()
{
    QTest::addColumn<int>("subscriptionType");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("text");
    QTest::newRow("single server: country and city")
        << 1 << 0 << 0 << "Connect VPN (Germany, Berlin)";
    QTest::newRow("onion: country and city") << 3 << 1 << 1 << "Connect VPN (Japan, Tokyo)";
    QTest::newRow("double route: both countries") << 2 << 0 << 1 << "Connect VPN (Germany, Japan)";
    QTest::newRow("nothing chosen") << 4 << -1 << -1 << "Connect VPN (auto select)";
    QTest::newRow("double without exit") << 2 << 0 << -1 << "Connect VPN (auto select)";
    QTest::newRow("unknown kind") << 7 << 0 << 0 << "Connect VPN (unknown)";
}

void TestWindowAssembly::trayConnectActionNamesTheRoute()
{
    QFETCH(int, subscriptionType);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, text);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);
    Subscription sub;
    sub.type = subscriptionType;
    sub.timeEnd = int(QDateTime::currentSecsSinceEpoch() + 86400);
    p.subscriptions() = {sub};
    p.currentSubIndex() = 0;
    QVector<VPNServer> servers(2);
    servers[0].countryName = QStringLiteral("Germany");
    servers[0].cityName = QStringLiteral("Berlin");
    servers[1].countryName = QStringLiteral("Japan");
    servers[1].cityName = QStringLiteral("Tokyo");
    p.servers() = servers;
    p.firstServerIndex() = first;
    p.secondServerIndex() = second;
    w->refreshConnectionPage();
    QCOMPARE(p.switchAction()->text(), text);
    QVERIFY(p.switchAction()->isEnabled());
}

void TestWindowAssembly::signInFailureReachesTheTrayOnlyWhileHidden_data()
{
    QTest::addColumn<bool>("hidden");
    QTest::newRow("hidden window: balloon") << true;
    QTest::newRow("visible window: dialog, no balloon") << false;
}

void TestWindowAssembly::signInFailureReachesTheTrayOnlyWhileHidden()
{
    QFETCH(bool, hidden);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);
    QVERIFY(QTest::qWaitFor([w]() { return w->isVisible(); }, 3000));
    resetLastTrayNotificationType();
    p.ui()->mainLoginLineEdit->setText(rig.service.login());
    p.ui()->mainPswdLineEdit->setText(QStringLiteral("not-the-password"));
    if (hidden)
        w->hide();
    p.ui()->mainLoginButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/user/auth"), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(p.page(), int(Page_SignIn), 10000);
    if (hidden) {
        QTRY_COMPARE_WITH_TIMEOUT(lastTrayNotificationType(), 1, 5000);
        QCOMPARE(trayNotificationText(1, {}), QStringLiteral("Error: authorization failed"));
        QCOMPARE(trayNotificationIcon(1), QSystemTrayIcon::Critical);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(rig.dialogTexts.size(), 1, 5000);
        QCOMPARE(lastTrayNotificationType(), 0);
    }
}

void TestWindowAssembly::serverAloneInItsCityCannotReconnect_data()
{
    QTest::addColumn<int>("subscriptionType");
    QTest::addColumn<QVector<int>>("sameCity"); // of the exit server (index 0)
    QTest::addColumn<QVector<int>>("exitsOfEntry"); // of the entry (double only)
    QTest::addColumn<int>("choices");

    QTest::newRow("single, alone") << 1 << QVector<int> {} << QVector<int> {} << 0;
    QTest::newRow("single, two neighbours") << 1 << QVector<int> {1, 2} << QVector<int> {} << 2;
    QTest::newRow("free, one neighbour") << 4 << QVector<int> {2} << QVector<int> {} << 1;
    QTest::newRow("double, neighbours not exits of the entry")
        << 2 << QVector<int> {1, 2} << QVector<int> {0} << 0;
    QTest::newRow("double, one neighbour is an exit")
        << 2 << QVector<int> {1, 2} << QVector<int> {0, 2} << 1;
}

void TestWindowAssembly::serverAloneInItsCityCannotReconnect()
{
    QFETCH(int, subscriptionType);
    QFETCH(QVector<int>, sameCity);
    QFETCH(QVector<int>, exitsOfEntry);
    QFETCH(int, choices);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);

    Subscription sub;
    sub.id = 1;
    sub.type = subscriptionType;
    sub.timeEnd = int(QDateTime::currentSecsSinceEpoch() + 86400);
    p.subscriptions() = {sub};
    p.currentSubIndex() = 0;
    QVector<VPNServer> servers(4);
    for (int i = 0; i < servers.size(); ++i) {
        servers[i].id = 100 + i;
        servers[i].ip = QStringLiteral("192.0.2.%1").arg(i + 1);
        servers[i].countryName = QStringLiteral("Country");
        servers[i].cityName = i < 3 ? QStringLiteral("Same") : QStringLiteral("Other");
    }
    servers[0].sameCity = sameCity;
    servers[3].doubleExits = exitsOfEntry;
    p.servers() = servers;
    p.firstServerIndex() = subscriptionType == 2 ? 3 : 0;
    p.secondServerIndex() = 0;

    w->fillInfoPage();
    QCOMPARE(p.ui()->vpnInfoChangeIPComboBox->count(), choices);
    QCOMPARE(p.ui()->vpnInfoReconnectButton->isEnabled(), choices > 0);
    QCOMPARE(!p.ui()->vpnInfoChangeIPWidget->isHidden(), choices > 0);
    QCOMPARE(!p.ui()->vpnInfoLocationLabel2->isHidden(), subscriptionType == 2);
    for (int i = 0; i < choices; ++i) {
        const int k = p.ui()->vpnInfoChangeIPComboBox->itemData(i).toInt();
        QCOMPARE(p.ui()->vpnInfoChangeIPComboBox->itemText(i), servers.at(k).ip);
    }
}

KESTRUNE_TEST_MAIN(TestWindowAssembly)
#include "tst_windowassembly.moc"

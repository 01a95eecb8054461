// The window's construction: the addresses it works out from settings.ini, and the tray and
// information page it drives from its state.

#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/traynotification.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSettings>

class TestWindowAssembly : public QObject
{
    Q_OBJECT

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
        QTest::newRow("same version keeps it") << "1.26.0" << "http://192.0.2.44:8080" << false
                                               << true << true;
        QTest::newRow("older version drops it") << "1.25.0" << "http://192.0.2.44" << false
                                                << false << true;
        QTest::newRow("version with a suffix drops it")
            << "1.26.0 " << "http://192.0.2.44" << false << false << true;
        QTest::newRow("literal address used by default")
            << "1.26.0" << "http://203.0.113.5" << true << true << true;
        QTest::newRow("host name") << "1.26.0" << "https://api.kestrune.test" << false << true
                                   << false;
        QTest::newRow("four-digit group") << "1.26.0" << "http://2030.0.113.5" << false << true
                                          << false;
        QTest::newRow("three groups") << "1.26.0" << "http://203.0.113" << false << true << false;
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
        const QString api = kept && byDefault ? emergency : rig.endpoints().apiBase;
        QCOMPARE(p.apiBaseUrl(), api);
        QVERIFY(rig.widget<QLabel>("mainRemindPswdLabel")->text().contains(
            kept && byDefault ? emergency : rig.endpoints().siteBase));
        QSettings ini(rig.settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("LastLaunchedVersion")).toString(),
                 QStringLiteral("1.26.0"));
        QCOMPARE(ini.value(QStringLiteral("EmergencyAddress")).toString().isEmpty(), !kept);
    }

    void trayFollowsTheConnectionState_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("picture");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("idle") << int(VPNProcess::ProcUnconnected)
                              << int(VPNProcess::ProcUnconnected) << "VPN not connected";
        QTest::newRow("connecting") << int(VPNProcess::ProcConnecting)
                                    << int(VPNProcess::ProcConnecting) << "VPN is connecting...";
        QTest::newRow("disconnecting shows the connecting picture")
            << int(VPNProcess::ProcDisconnecting) << int(VPNProcess::ProcConnecting)
            << "VPN is disconnecting...";
    }
    void trayFollowsTheConnectionState()
    {
        QFETCH(int, status);
        QFETCH(int, picture);
        QFETCH(QString, toolTip);
        WindowRig rig;
        rig.open();
        WindowProbe p = rig.probe();
        QStringList menu;
        for (QAction *action : p.tray()->contextMenu()->actions())
            menu << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(menu, QString("Connect VPN|Show stats|-|About|-|Quit").split('|'));
        QVERIFY(!p.showStatAction()->isVisible());
        QVERIFY(!p.switchAction()->isEnabled());

        p.vpn()->procStatus = VPNProcess::VPNProcessStatus(status);
        rig.window()->refreshConnectionPage();
        QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\n") + toolTip);
        QCOMPARE(p.tray()->icon().pixmap(16).toImage(), trayIcon(picture).pixmap(16).toImage());
        QCOMPARE(p.statusPage(), status == VPNProcess::ProcUnconnected ? 0 : 2);
        p.vpn()->procStatus = VPNProcess::ProcUnconnected;
    }

    void trayConnectActionNamesTheRoute_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("text");
        QTest::newRow("single: country and city") << 1 << 0 << 0 << "(Germany, Berlin)";
        QTest::newRow("onion: country and city") << 3 << 1 << 1 << "(Japan, Tokyo)";
        QTest::newRow("double: both countries") << 2 << 0 << 1 << "(Germany, Japan)";
        QTest::newRow("nothing chosen") << 4 << -1 << -1 << "(auto select)";
        QTest::newRow("double without exit") << 2 << 0 << -1 << "(auto select)";
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
};

KESTRUNE_TEST_MAIN(TestWindowAssembly)
#include "tst_windowassembly.moc"

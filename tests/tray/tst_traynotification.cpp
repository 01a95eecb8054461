#include "support/testmain.h"
#include "ui/traynotification.h"

#include <QSystemTrayIcon>

Q_DECLARE_METATYPE(QSystemTrayIcon::MessageIcon)

class TestTrayNotification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init() { resetLastTrayNotificationType(); }
    void cleanup()
    {
        // Showing a tray icon on the offscreen platform, which has no tray, makes Qt warn
        // about a tray signal the platform lacks; that is the test platform, not a fault here.
        QStringList warnings = KestruneTest::takeUnexpectedQtWarnings();
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            warnings.removeAll(QStringLiteral("QObject::connect: No such signal "
                                              "QPlatformNativeInterface::systemTrayWindowChanged("
                                              "QScreen*)"));
        QVERIFY2(warnings.isEmpty(), qPrintable("Qt warned: " + warnings.join(" | ")));
    }

    void eachTypeHasItsTextAndIcon_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSystemTrayIcon::MessageIcon>("icon");
        const QStringList none;
        QTest::newRow("sign-in failed")
            << 1 << none << "Error: authorization failed" << QSystemTrayIcon::Critical;
        QTest::newRow("subscriptions failed")
            << 2 << none << "Error: unable to get subscriptions" << QSystemTrayIcon::Critical;
        QTest::newRow("no active subscription is only a warning")
            << 3 << none << "Error: there are no active subscribtions" << QSystemTrayIcon::Warning;
        QTest::newRow("server list failed")
            << 4 << none << "Error: unable to get list of available servers"
            << QSystemTrayIcon::Critical;
        QTest::newRow("connection failed")
            << 5 << none << "Error: unable to establish VPN connection"
            << QSystemTrayIcon::Critical;
        QTest::newRow("connected shows both addresses")
            << 6 << QStringList {"203.0.113.5", "198.51.100.77"}
            << "VPN connection established\nOriginal IP: 203.0.113.5\nNew IP: 198.51.100.77"
            << QSystemTrayIcon::Information;
        QTest::newRow("an address is not filled in twice")
            << 6 << QStringList {"%1", "10.8.0.1"}
            << "VPN connection established\nOriginal IP: %1\nNew IP: 10.8.0.1"
            << QSystemTrayIcon::Information;
        QTest::newRow("connected without addresses leaves them empty")
            << 6 << none << "VPN connection established\nOriginal IP: \nNew IP: "
            << QSystemTrayIcon::Information;
        QTest::newRow("disconnected")
            << 7 << none << "VPN disconnected" << QSystemTrayIcon::Information;
    }
    void eachTypeHasItsTextAndIcon()
    {
        QFETCH(int, type);
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        QFETCH(QSystemTrayIcon::MessageIcon, icon);
        QCOMPARE(trayNotificationText(type, args), text);
        QCOMPARE(trayNotificationIcon(type), icon);

        const TrayNotification balloon = buildTrayNotification(type, "Kestrune VPN", args);
        QVERIFY(balloon.valid);
        QCOMPARE(balloon.title, QStringLiteral("Kestrune VPN"));
        QCOMPARE(balloon.text, text);
        QCOMPARE(balloon.icon, icon);
        QCOMPARE(balloon.msecs, 300000);
    }

    void unknownTypeShowsNothing_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("zero") << 0;
        QTest::newRow("one past the last") << 8;
        QTest::newRow("negative") << -1;
    }
    void unknownTypeShowsNothing()
    {
        QFETCH(int, type);
        QVERIFY(!buildTrayNotification(type, "Kestrune VPN", {}).valid);
        QVERIFY(trayNotificationText(type, {}).isEmpty());
        QCOMPARE(trayNotificationIcon(type), QSystemTrayIcon::NoIcon);

        QSystemTrayIcon tray;
        showTrayNotification(5, "Kestrune VPN", {}, &tray);
        showTrayNotification(type, "Kestrune VPN", {}, &tray);
        QCOMPARE(lastTrayNotificationType(), 5);
    }

    void lastShownTypeIsRemembered()
    {
        QCOMPARE(lastTrayNotificationType(), 0);
        QSystemTrayIcon tray(trayIcon(0));
        showTrayNotification(6, "Kestrune VPN", {"203.0.113.5", "10.8.0.1"}, &tray);
        QCOMPARE(lastTrayNotificationType(), 6);
        showTrayNotification(7, "Kestrune VPN", {}, &tray);
        QCOMPARE(lastTrayNotificationType(), 7);
        resetLastTrayNotificationType();
        QCOMPARE(lastTrayNotificationType(), 0);
    }

    void missingTrayShowsNothingAndRemembersNothing()
    {
        showTrayNotification(1, "Kestrune VPN", {}, nullptr);
        QCOMPARE(lastTrayNotificationType(), 0);
    }

    void balloonOnADesktopWithoutTrayDoesNotFail_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::newRow("icon hidden") << false;
        QTest::newRow("icon shown") << true;
    }
    void balloonOnADesktopWithoutTrayDoesNotFail()
    {
        QFETCH(bool, visible);
        // The offscreen platform has no tray; where a desktop does have one the message is
        // shown by Qt and nothing here depends on it.
        const bool available = QSystemTrayIcon::isSystemTrayAvailable();
        QSystemTrayIcon tray(trayIcon(2));
        tray.setVisible(visible);
        for (int type = 1; type <= 7; ++type) {
            showTrayNotification(type, "Kestrune VPN", {"a", "b"}, &tray);
            QCOMPARE(lastTrayNotificationType(), type);
        }
        QCOMPARE(QSystemTrayIcon::isSystemTrayAvailable(), available);
    }

    void pictureFollowsTheConnectionState_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("path");
        QTest::newRow("unconnected") << 0 << ":/tray/images/icons/tray/tray_state_unconnected.ico";
        QTest::newRow("connecting") << 1 << ":/tray/images/icons/tray/tray_state_connecting.ico";
        QTest::newRow("connected") << 2 << ":/tray/images/icons/tray/tray_state_connected.ico";
        QTest::newRow("disconnecting shows the connecting picture")
            << 3 << ":/tray/images/icons/tray/tray_state_connecting.ico";
        QTest::newRow("unknown state shows unconnected")
            << 9 << ":/tray/images/icons/tray/tray_state_unconnected.ico";
    }
    void pictureFollowsTheConnectionState()
    {
        QFETCH(int, status);
        QFETCH(QString, path);
        QCOMPARE(trayIconPath(status), path);
    }

    void toolTipHasTitleAndVersionAboveTheState_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("word");
        QTest::newRow("unconnected") << 0 << "VPN not connected";
        QTest::newRow("connecting") << 1 << "VPN is connecting...";
        QTest::newRow("connected") << 2 << "VPN connected";
        QTest::newRow("disconnecting") << 3 << "VPN is disconnecting...";
    }
    void toolTipHasTitleAndVersionAboveTheState()
    {
        QFETCH(int, status);
        QFETCH(QString, word);
        QCOMPARE(trayStatusWord(status), word);
        const QString tip = trayToolTip("Kestrune VPN", "1.26.0", status);
        QCOMPARE(tip.split(QLatin1Char('\n')), (QStringList {"Kestrune VPN 1.26.0", word}));
    }

    void toolTipKeepsPercentSignsOfTheTitle()
    {
        QCOMPARE(trayToolTip("100%1 VPN", "1.26.0", 2),
                 QStringLiteral("100%1 VPN 1.26.0\nVPN connected"));
    }

    void taskbarAlertOnlyForAHiddenMinimisedWindow_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<bool>("alert");
        QTest::newRow("hidden and minimised") << false << true << true;
        QTest::newRow("hidden, not minimised") << false << false << false;
        QTest::newRow("visible and minimised") << true << true << false;
        QTest::newRow("visible") << true << false << false;
    }
    void taskbarAlertOnlyForAHiddenMinimisedWindow()
    {
        QFETCH(bool, visible);
        QFETCH(bool, minimised);
        QFETCH(bool, alert);
        QCOMPARE(alertIfMinimisedNeeded(visible, minimised), alert);
    }
};

KESTRUNE_TEST_MAIN(TestTrayNotification)
#include "tst_traynotification.moc"

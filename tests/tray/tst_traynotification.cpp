#include "support/testmain.h"
#include "ui/traynotification.h"

Q_DECLARE_METATYPE(QSystemTrayIcon::MessageIcon)

class TestTrayNotification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init() { resetLastTrayNotificationType(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // Every type gets the same addresses; only the connection report fills them in, and
    // an address holding "%1" is not filled in again.
    void balloonOfEachType_data()
    {
        using Icon = QSystemTrayIcon;
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Icon::MessageIcon>("icon");
        QTest::newRow("1 sign-in failed") << 1 << "Error: authorization failed" << Icon::Critical;
        QTest::newRow("3 no active subscription is only a warning")
            << 3 << "Error: there are no active subscribtions" << Icon::Warning;
        QTest::newRow("5 connection failed")
            << 5 << "Error: unable to establish VPN connection" << Icon::Critical;
        QTest::newRow("6 connected")
            << 6 << "VPN connection established\nOriginal IP: %1\nNew IP: 10.8.0.1"
            << Icon::Information;
        QTest::newRow("7 disconnected") << 7 << "VPN disconnected" << Icon::Information;
        QTest::newRow("0 is no balloon") << 0 << QString() << Icon::NoIcon;
        QTest::newRow("8 is no balloon") << 8 << QString() << Icon::NoIcon;
    }
    void balloonOfEachType()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QSystemTrayIcon::MessageIcon, icon);
        const TrayNotification balloon
            = buildTrayNotification(type, "Kestrune VPN", {"%1", "10.8.0.1"});
        QCOMPARE(balloon.valid, !text.isEmpty());
        QCOMPARE(balloon.text, text);
        QCOMPARE(balloon.icon, icon);
    }

    // The connection sequence reads the last type to tell whether a balloon was shown.
    void onlyAShownBalloonIsRemembered()
    {
        QSystemTrayIcon tray(trayIcon(0));
        showTrayNotification(1, "Kestrune VPN", {}, nullptr);
        QCOMPARE(lastTrayNotificationType(), 0);
        showTrayNotification(6, "Kestrune VPN", {"203.0.113.5", "10.8.0.1"}, &tray);
        QCOMPARE(lastTrayNotificationType(), 6);
        showTrayNotification(8, "Kestrune VPN", {}, &tray);
        QCOMPARE(lastTrayNotificationType(), 6);
    }

    void pictureAndToolTipFollowTheState_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("word");
        QTest::newRow("unconnected") << 0 << "unconnected"
                                     << "VPN not connected";
        QTest::newRow("connecting") << 1 << "connecting"
                                    << "VPN is connecting...";
        QTest::newRow("connected") << 2 << "connected"
                                   << "VPN connected";
        QTest::newRow("disconnecting") << 3 << "connecting"
                                       << "VPN is disconnecting...";
        QTest::newRow("unknown") << 9 << "unconnected" << QString();
    }
    void pictureAndToolTipFollowTheState()
    {
        QFETCH(int, status);
        QFETCH(QString, picture);
        QFETCH(QString, word);
        QCOMPARE(trayIconPath(status),
                 QStringLiteral(":/tray/images/icons/tray/tray_state_%1.ico").arg(picture));
        // A title holding "%1" stays as it is.
        QCOMPARE(trayToolTip("100%1 VPN", "1.26.0", status), "100%1 VPN 1.26.0\n" + word);
    }
};

KESTRUNE_TEST_MAIN(TestTrayNotification)
#include "tst_traynotification.moc"

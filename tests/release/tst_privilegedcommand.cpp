#include "engine/openvpnseries.h"
#include "support/testmain.h"
#include "system/privilegedcommand.h"

Q_DECLARE_METATYPE(VPNProcess::VPNProcessMode)

// How OpenVPN is started for a client that is not root, and which OpenVPN is accepted.
class TestPrivilegedCommand : public QObject
{
    Q_OBJECT

private slots:
    void openVpnStartTakesTheRightRoad_data()
    {
        QTest::addColumn<bool>("elevated");
        QTest::addColumn<bool>("helperInstalled");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QStringList direct {"--config", "/d/t/c.ovpn", "--management", "/d/t/m.sock",
                                  "unix",     "/d/t/p.data", "--verb",       "4"};
        QTest::newRow("root runs the helper itself, extras left out")
            << true << true << "/p/kestrunevpn-helper"
            << QStringList {"openvpn-start", "/d/t/c.ovpn", "/d/t/p.data"};
        QTest::newRow("a folder without helper runs it directly")
            << false << false << "/p/ovpn/openvpn" << direct;
        QTest::newRow("a user goes through pkexec, extras left out")
            << false << true << "/usr/bin/pkexec"
            << QStringList {"/p/kestrunevpn-helper", "openvpn-start", "/d/t/c.ovpn", "/d/t/p.data"};
    }
    void openVpnStartTakesTheRightRoad()
    {
        QFETCH(bool, elevated);
        QFETCH(bool, helperInstalled);
        const PrivilegedCommand c = PrivilegedCommand::openVpnStart(
            "/p", "/p/ovpn/openvpn", "/d/t/c.ovpn", {"/d/t/m.sock", "unix"}, "/d/t/p.data",
            {"--verb", "4"}, elevated, helperInstalled);
        QTEST(c.program, "program");
        QTEST(c.arguments, "arguments");
        const PrivilegedCommand stop = PrivilegedCommand::openVpnStop("/p");
        QCOMPARE(stop.arguments, QStringList({"/p/kestrunevpn-helper", "openvpn-stop"}));
    }

    void openVpnSeriesDecideTheGate_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QStringList>("series");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<VPNProcess::VPNProcessMode>("mode");
        const QStringList design {"2.3", "2.4"};
        const QStringList debian {"2.3", "2.4", "2.6"};
        QTest::newRow("2.3 listens on IPv4")
            << "2.3.18" << design << true << VPNProcess::PM_OpenVPN23;
        QTest::newRow("2.4") << "2.4.9" << design << true << VPNProcess::PM_OpenVPN24;
        QTest::newRow("2.5 refused") << "2.5.0" << design << false << VPNProcess::PM_OpenVPN24;
        QTest::newRow("2.6 refused by default")
            << "2.6.1" << design << false << VPNProcess::PM_OpenVPN24;
        QTest::newRow("none refused") << "" << debian << false << VPNProcess::PM_OpenVPN24;
        QTest::newRow("2.6 in the package")
            << "2.6.1" << debian << true << VPNProcess::PM_OpenVPN24;
    }
    void openVpnSeriesDecideTheGate()
    {
        QFETCH(QString, version);
        QFETCH(QStringList, series);
        VPNProcess::VPNProcessMode mode = VPNProcess::PM_OpenVPN24;
        QTEST(OpenVpnSeries::accepts(version, series, &mode), "accepted");
        QTEST(mode, "mode");
    }
};

KESTRUNE_TEST_MAIN(TestPrivilegedCommand)
#include "tst_privilegedcommand.moc"

#include "engine/openvpnseries.h"
#include "support/testmain.h"
#include "system/privilegedcommand.h"

#include <unistd.h>

#include <QTemporaryDir>

Q_DECLARE_METATYPE(VPNProcess::VPNProcessMode)

// How OpenVPN is started for a client that is not root, which OpenVPN is accepted, and the
// helper that pkexec runs as root.
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
        const QStringList direct {"--config", "/d/t/c.ovpn", "--management", "127.0.0.1",
                                  "7505",     "/d/t/p.data", "--verb",       "4"};
        QTest::newRow("root runs the helper itself, extras left out")
            << true << true << "/p/kestrunevpn-helper"
            << QStringList {"openvpn-start", "/d/t/c.ovpn", "127.0.0.1", "/d/t/p.data"};
        QTest::newRow("a folder without helper runs it directly")
            << false << false << "/p/ovpn/openvpn" << direct;
        QTest::newRow("a user goes through pkexec, extras left out")
            << false << true << "/usr/bin/pkexec"
            << QStringList {"/p/scripts/openvpn-control", "start", "/d/t/c.ovpn", "127.0.0.1",
                            "/d/t/p.data"};
    }
    void openVpnStartTakesTheRightRoad()
    {
        QFETCH(bool, elevated);
        QFETCH(bool, helperInstalled);
        const PrivilegedCommand c = PrivilegedCommand::openVpnStart(
            "/p", "/p/ovpn/openvpn", "/d/t/c.ovpn", "127.0.0.1", 7505, "/d/t/p.data",
            {"--verb", "4"}, elevated, helperInstalled);
        QTEST(c.program, "program");
        QTEST(c.arguments, "arguments");
        const PrivilegedCommand stop = PrivilegedCommand::openVpnStop("/p");
        QCOMPARE(stop.arguments, QStringList({"/p/scripts/openvpn-control", "stop"}));
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

    // The helper runs whatever configuration it is given as root: what it lets through is
    // the boundary. An OpenVPN that prints its arguments stands in for the real one.
    void helperLetsOnlySafeConfigurationsThrough_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("started");
        const QByteArray inlineCa = "client\nremote 127.0.0.1 1194\n<ca>\nAAAA\n</ca>\n";
        QTest::newRow("inline keys") << inlineCa << "127.0.0.1" << true;
        QTest::newRow("IPv6-mapped loopback") << inlineCa << "::ffff:127.0.0.1" << true;
        QTest::newRow("management elsewhere") << inlineCa << "0.0.0.0" << false;
        QTest::newRow("a program to run") << inlineCa + "up /bin/sh\n"
                                          << "127.0.0.1" << false;
        QTest::newRow("hidden behind dashes") << inlineCa + "  --Plugin x.so\n"
                                              << "127.0.0.1" << false;
        QTest::newRow("a key file of root's") << inlineCa + "key /etc/shadow\n"
                                              << "127.0.0.1" << false;
        QTest::newRow("credentials from a file") << QByteArray("auth-user-pass /root/p\n")
                                                 << "127.0.0.1" << false;
        QTest::newRow("a log written as root") << inlineCa + "log-append /etc/x\n"
                                               << "127.0.0.1" << false;
        QTest::newRow("a line split by old OpenVPN")
            << QByteArray(300, '#') << "127.0.0.1" << false;
    }
    void helperLetsOnlySafeConfigurationsThrough()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, host);
        QFETCH(bool, started);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.path() + "/scripts") && QDir().mkpath(dir.path() + "/ovpn"));
        QVERIFY(QFile::copy(CONTROL_HELPER, PrivilegedCommand::helperPath(dir.path())));
        QFile fake(dir.path() + "/ovpn/openvpn");
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("#!/bin/sh\necho \"$@\"\n");
        fake.close();
        fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
        QFile file(dir.path() + "/c.ovpn");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(config) == config.size());
        file.close();
        const PrivilegedCommand c = PrivilegedCommand::openVpnStart(
            dir.path(), "", file.fileName(), host, 7505, file.fileName(), {}, false, true);
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTRUNE_CONTROL_DIR", dir.path() + "/run");
        helper.setProcessEnvironment(env);
        helper.start(c.arguments.first(), c.arguments.mid(1));
        QVERIFY(helper.waitForFinished(10000));
        const QString uid = QString::number(::geteuid());
        const QString copy = dir.path() + "/run/" + uid + "/openvpn.ovpn";
        const QString expected
            = QString("--config %1 --management %2 7505 %3\n")
                  .arg(copy, host, dir.path() + "/run/" + uid + "/management.pswd");
        QCOMPARE(helper.exitCode() == 0 && helper.readAllStandardOutput() == expected, started);
        if (started)
            QCOMPARE(QFile(copy).permissions() & 0x0077, QFileDevice::Permissions());
    }
};

KESTRUNE_TEST_MAIN(TestPrivilegedCommand)
#include "tst_privilegedcommand.moc"

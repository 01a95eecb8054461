// The OpenVPN version gate of the window's construction. A refusal quits the application,
// which ends every event loop of the process from then on, so these cases run in a process
// of their own.

#include "clientrig.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QEventLoop>

class TestVersionGate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void openVpnVersionGate_data();
    void openVpnVersionGate();
};

void TestVersionGate::openVpnVersionGate_data()
{
    QTest::addColumn<QString>("installed"); // what the program says; empty: no program
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("managementHost"); // for an accepted one
    QTest::addColumn<QString>("shownVersion"); // for a refused one

    QTest::newRow("2.3.18 talks IPv4") << "2.3.18" << true << "127.0.0.1"
                                       << "";
    QTest::newRow("2.4.9 talks IPv4-mapped IPv6") << "2.4.9" << true << "::ffff:127.0.0.1"
                                                  << "";
    QTest::newRow("2.5.0 refused") << "2.5.0" << false << ""
                                   << "2.5.0";
    QTest::newRow("2.6.3 refused") << "2.6.3" << false << ""
                                   << "2.6.3";
    QTest::newRow("silent program refused") << "silent" << false << ""
                                            << "[not installed]";
    QTest::newRow("no program refused") << "" << false << ""
                                        << "[not installed]";
}

void TestVersionGate::openVpnVersionGate()
{
    QFETCH(QString, installed);
    QFETCH(bool, accepted);
    QFETCH(QString, managementHost);
    QFETCH(QString, shownVersion);

    ClientRig rig;
    QVERIFY(rig.installOpenVpn(installed));
    QVERIFY(rig.startService());
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);
    QCOMPARE(w->isOperational(), accepted);

    if (accepted) {
        QCOMPARE(p.vpn()->host, managementHost);
        QVERIFY(rig.dialogTexts.isEmpty());
        QVERIFY(rig.logText().contains(QStringLiteral("Main window created")));
        return;
    }
    QCOMPARE(rig.dialogTexts.size(), 1);
    QCOMPARE(rig.dialogTexts.first(),
             QStringLiteral("Error code: 9<br>Installed OpenVPN version (%0) incompatible with "
                            "app.<br>Please install OpenVPN 2.3.x or 2.4.x.")
                 .arg(shownVersion));
    QVERIFY(rig.logText().contains(QStringLiteral("OpenVPN version: %0,").arg(shownVersion)));
    QVERIFY(!rig.logText().contains(QStringLiteral("Main window created")));
    // The posted quit ends the running event loop at once.
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, SLOT(quit()));
    loop.exec();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
}

KESTRUNE_TEST_MAIN(TestVersionGate)
#include "tst_versiongate.moc"

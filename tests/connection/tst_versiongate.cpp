// The OpenVPN version gate of the window's construction. A refusal quits the application,
// which ends every event loop of the process from then on, so these cases run in a process
// of their own.

#include "engine/openvpnseries.h"
#include "support/testmain.h"
#include "support/windowrig.h"

#include <QEventLoop>

class TestVersionGate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void openVpnVersionGate_data()
    {
        QTest::addColumn<QString>("installed"); // what the program says; empty: no program
        QTest::addColumn<QString>("managementHost"); // empty: refused
        QTest::addColumn<QString>("shownVersion"); // for a refused one
        const auto row
            = [](const char *name, const char *installed, const char *host, const char *shown) {
                  QTest::newRow(name) << QString(installed) << QString(host) << QString(shown);
              };
        row("2.3.18 talks IPv4", "2.3.18", "127.0.0.1", "");
        row("2.4.9 talks IPv4-mapped IPv6", "2.4.9", "::ffff:127.0.0.1", "");
        row("2.5.0 refused", "2.5.0", "", "2.5.0");
        row("silent program refused", "silent", "", "[not installed]");
        row("no program refused", "", "", "[not installed]");
    }
    void openVpnVersionGate()
    {
        QFETCH(QString, installed);
        QFETCH(QString, managementHost);
        QFETCH(QString, shownVersion);
        WindowRig rig(WindowRig::ClosedPort, installed);
        if (managementHost.isEmpty())
            rig.dialogs.expect();
        MainWindow *w = rig.open(false);
        QCOMPARE(w->isOperational(), !managementHost.isEmpty());
        if (!managementHost.isEmpty()) {
            QCOMPARE(rig.probe().connection()->openVpnController()->host, managementHost);
            QVERIFY(rig.log.contains(QStringLiteral("Main window created")));
            return;
        }
        QCOMPARE(rig.dialogs.dialogs().value(0).text,
                 QStringLiteral("Error code: 9<br>Installed OpenVPN version (%0) incompatible "
                                "with app.<br>Please install OpenVPN 2.3.x or 2.4.x.")
                     .arg(shownVersion));
        QVERIFY(
            !rig.log.matching(QStringLiteral("OpenVPN version: %0,").arg(shownVersion)).isEmpty());
        QVERIFY(!rig.log.contains(QStringLiteral("Main window created")));
        // The posted quit ends the running event loop (or refuses to run one once it has
        // ended the first), long before this bound.
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, [&loop]() { loop.exit(1); });
        QVERIFY(loop.exec() != 1);
    }

    // The refusal names the series the build accepts; the default build keeps its wording.
    void refusalNamesTheAcceptedSeries_data()
    {
        QTest::addColumn<QStringList>("series");
        QTest::addColumn<QString>("advice");
        QTest::newRow("default build") << QStringList {"2.3", "2.4"}
                                       << "Please install OpenVPN 2.3.x or 2.4.x.";
        QTest::newRow("Debian package")
            << QStringList {"2.3", "2.4", "2.6"}
            << "Please install OpenVPN of one of these series: 2.3.x, 2.4.x, 2.6.x.";
    }
    void refusalNamesTheAcceptedSeries()
    {
        QFETCH(QStringList, series);
        QFETCH(QString, advice);
        QCOMPARE(OpenVpnSeries::refusalText("2.5.0", series),
                 "Installed OpenVPN version (2.5.0) incompatible with app.<br>" + advice);
    }
};

KESTRUNE_TEST_MAIN(TestVersionGate)
#include "tst_versiongate.moc"

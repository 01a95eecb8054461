// The start-up writes the same log lines in the same order, and shows the same page, however
// its work is arranged: the version questions run while the form is built, the look is set
// once. A change of either list below is a change users and support scripts see.

#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>

class TestStartupLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // A first start stores its version and language; the next one in the same folder only
    // reads them.
    void startUpLogLinesAndPageStayAsRecorded()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const QStringList banner {
            QStringLiteral("App version: KS 1.26.0, OS: %1 %2 (version %3),")
                .arg(QSysInfo::productType(), QSysInfo::productVersion(),
                     QSysInfo::kernelVersion()),
            QStringLiteral("OpenVPN version: 2.4.9, screen resolution: %1 on %2 pixels")
                .arg(screen.width())
                .arg(screen.height())};
        const QStringList first = QStringList {"App's settings loaded from file: last launched version",
                                               "App's settings saved in file: last launched version"}
            + banner
            + QStringList {"App's settings loaded from file: app's language",
                           "App's settings saved in file: app's language"};
        const QStringList again
            = QStringList {"App's settings loaded from file: last launched version"} + banner
            + QStringList {"App's settings loaded from file: app's language"};
        const QStringList rest {"App's settings loaded from file: general",
                                "App's settings loaded from file: emergency addresses",
                                "App's settings loaded from file: additional",
                                "App's settings loaded from file: stat window",
                                "Main window created"};

        WindowRig rig;
        for (const QStringList &start : {first, again}) {
            const int before = rig.log.lines().size();
            MainWindow *w = rig.open();
            QVERIFY(w->isVisible());
            QCOMPARE(rig.probe().page(), int(Page_SignIn));
            QCOMPARE(rig.log.lines().mid(before), start + rest);
            rig.close();
        }
    }
};

KESTRUNE_TEST_MAIN(TestStartupLog)
#include "tst_startuplog.moc"

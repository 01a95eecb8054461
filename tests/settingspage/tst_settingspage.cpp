#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QStackedWidget>

#include <cstdio>

namespace {

const QString LockLine
    = QStringLiteral("Settings applying: \"Block network without VPN connection\" switched %1");

// Stand-ins of the network-lock scripts (each records its call and ends with exitCode) and
// the autostart template.
void installProgramFiles(const QString &programDir, int exitCode, const QByteArray &then = {})
{
    QDir(programDir).mkpath(QStringLiteral("scripts"));
    for (const char *name : {"nft_block.sh", "nft_unblock.sh", "nft_unblock_emergency.sh"})
        writeFile(programDir + QStringLiteral("/scripts/") + QLatin1String(name),
                  "echo \"$(basename \"$0\")\" >> \"$(dirname \"$0\")/calls\"\n" + then
                      + "exit " + QByteArray::number(exitCode) + '\n');
    QFile::copy(QStringLiteral(KESTRUNE_DIST "/scripts/kestrunevpn_autostart.desktop"),
                programDir + QStringLiteral("/scripts/kestrunevpn_autostart.desktop"));
}

QStringList scriptCalls(const QString &programDir)
{
    QFile calls(programDir + QStringLiteral("/scripts/calls"));
    if (!calls.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(calls.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QVariant stored(const WindowRig &rig, const QString &key)
{
    return QSettings(rig.settingsFile(), QSettings::IniFormat).value(key);
}

} // namespace

class TestSettingsPage : public QObject
{
    Q_OBJECT

    QTemporaryDir config;

    bool openSettings(WindowRig &rig)
    {
        return rig.slide([&rig]() { rig.click("mainSettingButton"); }, Page_Settings);
    }
    bool leaveSettings(WindowRig &rig)
    {
        return rig.slide([&rig]() { rig.click("settingBackButton"); }, Page_SignIn);
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        // The scripts run as root: the suite's namespace makes it root of its own network.
        if (::geteuid() != 0 && qEnvironmentVariable("CI") != QLatin1String("true"))
            QSKIP("the settings applier runs its scripts through pkexec when not root");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void everyControlIsSavedOnBackAndReadByTheNextStart_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("dialogAnswer"); // 0: no dialog expected
        QTest::addColumn<bool>("warningOff"); // the network-lock warning's "don't show" stored
        const char *lock = "stngBlockOtherConCheckBox";
        QTest::newRow("connect at start") << "stngVPNAutoConCheckBox"
                                          << "AutoConnect" << QVariant(true) << 0 << false;
        QTest::newRow("protocol TCP") << "settingProtTCPRButton"
                                      << "UDP" << QVariant(false) << 0 << false;
        QTest::newRow("start at logon") << "settingSystemStartupCheckBox"
                                        << "SystemAutostart" << QVariant(true) << 0 << false;
        QTest::newRow("network lock, warning confirmed")
            << lock << "LockConnection" << QVariant(true) << int(QMessageBox::Yes) << false;
        QTest::newRow("network lock, warning declined: unchecked, nothing runs")
            << lock << "LockConnection" << QVariant(false) << int(QMessageBox::No) << false;
        QTest::newRow("network lock, don't show stored: locked without asking")
            << lock << "LockConnection" << QVariant(true) << 0 << true;
        QTest::newRow("language, restart notice once")
            << "settingLanguageComboBox"
            << "Language" << QVariant(4) << int(QMessageBox::Ok) << false;
    }
    void everyControlIsSavedOnBackAndReadByTheNextStart()
    {
        QFETCH(QString, control);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, dialogAnswer);
        QFETCH(bool, warningOff);
        WindowRig rig;
        installProgramFiles(rig.programs.path(), 0);
        rig.open();
        rig.probe().settings()->setBlockNetworkWarningDisabled(warningOff);
        QVERIFY(openSettings(rig));
        auto *combo = rig.window()->findChild<QComboBox *>(control);
        if (combo)
            combo->setCurrentIndex(value.toInt() - 1);
        else
            rig.window()->findChild<QAbstractButton *>(control)->click();
        if (dialogAnswer)
            rig.dialogs.expect(1, QMessageBox::StandardButton(dialogAnswer));
        QVERIFY(leaveSettings(rig));
        QCOMPARE(rig.dialogs.size(), dialogAnswer ? 1 : 0);
        QCOMPARE(stored(rig, key), value);
        QCOMPARE(scriptCalls(rig.programs.path()).size(),
                 int(key == "LockConnection" && value.toBool()));

        rig.close();
        rig.open(false);
        if (combo)
            QCOMPARE(rig.widget<QComboBox>(qPrintable(control))->currentIndex(), value.toInt() - 1);
        else
            QCOMPARE(rig.widget<QAbstractButton>(qPrintable(control))->isChecked(),
                     dialogAnswer != QMessageBox::No);
        // Leaving again without a change shows nothing and runs nothing.
        QVERIFY(openSettings(rig));
        QVERIFY(leaveSettings(rig));
        QCOMPARE(rig.dialogs.size(), dialogAnswer ? 1 : 0);
    }

    void applierResults_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("exitCode"); // -1: the script or template is not installed
        QTest::addColumn<int>("noticeAnswer"); // of the unblock notice; 0: none
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("logLine");
        const QStringList block {"nft_block.sh"}, unblock {"nft_unblock.sh"};
        const QString logon = QStringLiteral("Settings applying: %1 program %2 system startup: %3");
        QTest::newRow("lock on") << 0 << 0 << 0 << block << LockLine.arg("on: success");
        QTest::newRow("lock on, script fails")
            << 0 << 1 << 0 << block << LockLine.arg("on: failed");
        QTest::newRow("lock off, notice")
            << 1 << 0 << int(QMessageBox::Ok) << unblock << LockLine.arg("off: success");
        QTest::newRow("lock off, emergency unblock chosen from the notice")
            << 1 << 0 << int(QMessageBox::Reset)
            << unblock + QStringList {"nft_unblock_emergency.sh"} << LockLine.arg("off: success");
        QTest::newRow("lock off, script fails")
            << 1 << 1 << 0 << unblock << LockLine.arg("off: failed");
        QTest::newRow("emergency unblock fails: logged, nothing else")
            << 2 << 1 << 0 << QStringList {"nft_unblock_emergency.sh"}
            << LockLine.arg("off: failed").replace("switched off", "emergency unblock");
        QTest::newRow("logon on, template missing")
            << 3 << -1 << 0 << QStringList() << logon.arg("add", "to", "failed");
    }
    void applierResults()
    {
        QFETCH(int, type);
        QFETCH(int, exitCode);
        QFETCH(int, noticeAnswer);
        QFETCH(QStringList, calls);
        QFETCH(QString, logLine);
        WindowRig rig;
        if (exitCode >= 0)
            installProgramFiles(rig.programs.path(), exitCode);
        rig.open();
        // The box shows what the user asked for when the change is applied.
        const bool on = type == 0 || type == 3;
        auto *box = rig.widget<QAbstractButton>(type < 3 ? "stngBlockOtherConCheckBox"
                                                         : "settingSystemStartupCheckBox");
        box->setChecked(on);
        const bool failed = logLine.endsWith(QLatin1String("failed")) && type != 2;
        rig.dialogs.expect(
            (noticeAnswer ? 1 : 0) + failed,
            QMessageBox::StandardButton(noticeAnswer ? noticeAnswer : int(QMessageBox::Ok)));
        rig.window()->applySpecialOption(SettingsApplier::ApplyType(type));
        QVERIFY(rig.log.waitFor(logLine, 15000));
        QCOMPARE(scriptCalls(rig.programs.path()), calls);
        QCOMPARE(rig.dialogs.size(), (noticeAnswer ? 1 : 0) + failed);
        // A failure puts the box back and says which setting failed; the emergency unblock
        // has no box of its own.
        QCOMPARE(box->isChecked(), on != failed);
        if (failed)
            QVERIFY(rig.dialogs.dialogs().last().text.endsWith(
                "Unable to apply following setting:<br>"
                + (type < 3 ? QString("Lock network if VPN disconnected:")
                            : QString("Autostart on system logon:"))
                + (on ? " switching on." : " switching off.")));
    }

    void logOutDisconnectsForgetsTheAccountAndReturnsToSignIn()
    {
        WindowRig rig(WindowRig::LocalService);
        rig.open();
        WindowProbe p = rig.probe();
        // The subscription choice stores the general section from the widgets.
        rig.widget<QAbstractButton>("settingProtTCPRButton")->click();
        QVERIFY(rig.signInAndChoose());
        QCOMPARE(stored(rig, QStringLiteral("UDP")), QVariant(false));
        QCOMPARE(stored(rig, QStringLiteral("PackageID")), QVariant(p.settings()->packageId()));
        rig.click("vpnConAutoChoiceButton");
        QVERIFY(rig.waitConnected());

        QVERIFY(rig.slide([&rig]() { rig.click("vpnConSettingButton"); }, Page_Settings));
        rig.dialogs.expect(1, QMessageBox::Yes);
        rig.click("settingLogoutButton");
        QCOMPARE(p.page(), int(Page_SignIn));
        QCOMPARE(p.state(), ConnectionController::Unconnected);
        QVERIFY(p.authToken().isEmpty());
        QVERIFY(rig.widget<QLineEdit>("mainLoginLineEdit")->text().isEmpty());
        QVERIFY(!rig.widget<QAbstractButton>("mainRememberCheckBox")->isChecked());
        QVERIFY(rig.log.contains("User logged out (account: " + rig.service.login() + ")"));
        QCOMPARE(stored(rig, QStringLiteral("PackageID")), QVariant(-1));
        QCOMPARE(stored(rig, QStringLiteral("Login")), QVariant(QString()));
    }

    // Whatever road leaves the page applies it, as Back does (here start at logon): the tray's
    // About, or the jump to the connection page of the tray's Connect VPN.
    void leavingByAnotherRoadApplies()
    {
        for (const int road : {Page_About, Page_Connection}) {
            WindowRig rig;
            installProgramFiles(rig.programs.path(), 0);
            rig.open();
            QVERIFY(openSettings(rig));
            rig.click("settingSystemStartupCheckBox");
            KestruneTest::expectQtWarning(
                QRegularExpression("^This plugin does not support raise"));
            if (road == Page_About)
                QVERIFY(rig.slide([&rig]() { rig.window()->showAbout(); }, Page_About));
            else
                rig.probe().stack()->setCurrentIndex(road);
            QCOMPARE(stored(rig, "SystemAutostart"), QVariant(true));
            QVERIFY(QFile::remove(config.filePath("autostart/kestrunevpn.desktop")));
        }
    }

    // Threads of the window still running at its end (a script that takes its time, probes
    // still out) end by themselves later: deleting one would abort the process.
    void threadsRunningAtTheWindowsEndAreLeftToEnd()
    {
        WindowRig rig;
        installProgramFiles(rig.programs.path(), 0, "sleep 2\n");
        rig.open();
        WindowProbe p = rig.probe();
        p.threadEndWaitMs() = p.availCheckEndWaitMs() = 0;
        p.servers() = {server(1, "127.0.0.1")};
        p.availCheckPort() = rig.closedPort.port();
        rig.window()->startServerAvailabilityCheck();
        rig.window()->applySpecialOption(SettingsApplier::Apply_BlockOtherConOn);
        const QPointer<QThread> probes = p.availCheckThread(), applier = p.applierThread();
        rig.close();
        QVERIFY(rig.log.contains(
            QStringLiteral("A worker thread still running at the end: left to end by itself")));
        QTRY_VERIFY_WITH_TIMEOUT(probes.isNull() && applier.isNull(), 15000);
    }

    // Run by the next test in a process of its own: a quit arrives while a script runs.
    void quitsWhileTheApplierRuns()
    {
        if (!qEnvironmentVariableIsSet("KESTRUNE_QUIT_CHILD"))
            QSKIP("the child of quitDuringTheApplierNeitherSpinsNorLingers");
        WindowRig rig;
        installProgramFiles(rig.programs.path(), 0, "sleep 5\n");
        rig.open();
        rig.probe().settings()->setBlockNetworkWarningDisabled(true);
        QVERIFY(openSettings(rig));
        rig.click("stngBlockOtherConCheckBox");
        QTimer::singleShot(500, qApp, []() {
            std::puts("quitting");
            std::fflush(stdout);
            QCoreApplication::quit();
        });
        rig.click("settingBackButton");
    }
    // After the quit the applier is waited for asleep: the process uses well under a second
    // of processor time (utime + stime in /proc/PID/stat) and ends with the script.
    void quitDuringTheApplierNeitherSpinsNorLingers()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KESTRUNE_QUIT_CHILD", "1");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"quitsWhileTheApplierRuns"});
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child.processId()));
        const auto cpuTicks = [&stat]() {
            const QList<QByteArray> fields
                = stat.open(QIODevice::ReadOnly) ? stat.readAll().split(')').last().split(' ')
                                                 : QList<QByteArray>();
            stat.close();
            return fields.value(12).toLongLong() + fields.value(13).toLongLong();
        };
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += child.readAllStandardOutput()).contains("quitting"),
                                 20000);
        const qint64 atQuit = cpuTicks();
        qint64 last = atQuit;
        QElapsedTimer sinceQuit;
        sinceQuit.start();
        while (!child.waitForFinished(100) && sinceQuit.elapsed() < 20000)
            last = qMax(last, cpuTicks());
        QCOMPARE(child.state(), QProcess::NotRunning);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(last - atQuit < ::sysconf(_SC_CLK_TCK), qPrintable(QString::number(last)));
    }

    // The log buttons show error 8 when the log cannot be opened (the offscreen platform has
    // no desktop services: it cannot open any file); quitting from the page applies its changes.
    // Last of the suite: the quit ends the application's event loops.
    void logButtonsFailWithCode8AndQuitAppliesThePage()
    {
        WindowRig rig;
        rig.open();
        QVERIFY(openSettings(rig));
        for (const char *button : {"settingOpenOpenVPNLogButton", "settingOpenAppLogButton"}) {
            KestruneTest::expectQtWarning(QRegularExpression(QStringLiteral("openDocument")));
            rig.dialogs.expect();
            rig.click(button);
        }
        QCOMPARE(rig.dialogs.size(), 2);
        for (const DialogRecorder::Dialog &dialog : rig.dialogs.dialogs())
            QCOMPARE(dialog.code, 8);
        rig.widget<QAbstractButton>("stngVPNAutoConCheckBox")->click();
        rig.window()->aboutToQuit();
        QCOMPARE(stored(rig, QStringLiteral("AutoConnect")), QVariant(true));
    }
};

KESTRUNE_TEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"

#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>

namespace {

const QString LockLine
    = QStringLiteral("Settings applying: \"Block network without VPN connection\" switched %1");

// Stand-ins of the network-lock scripts (each records its call and ends with exitCode) and
// the autostart template.
void installProgramFiles(const QString &programDir, int exitCode)
{
    QDir(programDir).mkpath(QStringLiteral("scripts"));
    for (const char *name : {"nft_block.sh", "nft_unblock.sh", "nft_unblock_emergency.sh"})
        writeFile(programDir + QStringLiteral("/scripts/") + QLatin1String(name),
                  "echo \"$(basename \"$0\")\" >> \"$(dirname \"$0\")/calls\"\nexit "
                      + QByteArray::number(exitCode) + '\n');
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
        rig.probe().blockNetworkWarningDisabled() = warningOff;
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
        QCOMPARE(stored(rig, QStringLiteral("PackageID")), QVariant(p.savedPackageId()));
        rig.click("vpnConAutoChoiceButton");
        QVERIFY(rig.waitConnected());

        QVERIFY(rig.slide([&rig]() { rig.click("vpnConSettingButton"); }, Page_Settings));
        rig.dialogs.expect(1, QMessageBox::Yes);
        rig.click("settingLogoutButton");
        QCOMPARE(p.page(), int(Page_SignIn));
        QCOMPARE(p.status(), VPNProcess::ProcUnconnected);
        QVERIFY(p.authToken().isEmpty());
        QVERIFY(rig.widget<QLineEdit>("mainLoginLineEdit")->text().isEmpty());
        QVERIFY(!rig.widget<QAbstractButton>("mainRememberCheckBox")->isChecked());
        QVERIFY(rig.log.contains("User logged out (account: " + rig.service.login() + ")"));
        QCOMPARE(stored(rig, QStringLiteral("PackageID")), QVariant(-1));
        QCOMPARE(stored(rig, QStringLiteral("Login")), QVariant(QString()));
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

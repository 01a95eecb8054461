// MainWindow: the settings page (entry, the apply step on leaving it, log-out, the log
// buttons) and the settings applier runs that change the system.

#include "core/loger.h"
#include "system/networklockallowlist.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

const int settingsDotsIntervalMs = 500;
// The applier gives up on a script after its own limit; the page never waits longer.
const int applierWaitLimitMs = SettingsApplier::WaitLimitMs + 10000;
// While the application quits, the applier's thread is waited for in slices of this length.
const int applierWaitSliceMs = 100;

const char *applyTypeLogText(SettingsApplier::ApplyType type)
{
    switch (type) {
    case SettingsApplier::Apply_BlockOtherConOn:
        return QT_TRANSLATE_NOOP("MainWindow", "lock network on VPN disconnect (on)...");
    case SettingsApplier::Apply_BlockOtherConOff:
        return QT_TRANSLATE_NOOP("MainWindow", "lock network on VPN disconnect (off)...");
    case SettingsApplier::Apply_BlockOtherConOffForce:
        return QT_TRANSLATE_NOOP("MainWindow",
                                 "lock network on VPN disconnect (emergency unblock)...");
    case SettingsApplier::Apply_StartOnUserLogonOn:
        return QT_TRANSLATE_NOOP("MainWindow", "startup on system logon (on)...");
    case SettingsApplier::Apply_StartOnUserLogonOff:
        return QT_TRANSLATE_NOOP("MainWindow", "startup on system logon (off)...");
    }
    return "";
}

// Sets a box back to what it was before a failed system change, without running its slots.
void revert(QCheckBox *box)
{
    const QSignalBlocker blocker(box);
    box->setChecked(!box->isChecked());
}

} // namespace

// ---- page entry and leaving -------------------------------------------------------------

QPushButton *MainWindow::makeSettingsButton(const QString &text)
{
    auto *button = new QPushButton(text, ui->settingSAWidget);
    button->setMinimumSize(ui->settingOpenAppLogButton->minimumSize());
    button->setMaximumSize(ui->settingOpenAppLogButton->maximumSize());
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void MainWindow::setUpSettingsPage()
{
    // Icon-only buttons: screen readers need their names.
    ui->settingLogoutButton->setAccessibleName(tr("Log out"));
    ui->settingBackButton->setAccessibleName(tr("Back"));
    setUpDiagnostics();
    setUpLockSelfTest();
}

void MainWindow::enterSettingsPage()
{
    ui->settingStackedWidget->setCurrentIndex(0);
    const bool signedIn = pageHistory.returnPage() != Page_SignIn;
    ui->settingLogoutButton->setEnabled(signedIn);
    if (!signedIn)
        ui->settingEmailLabel->setText(tr("<Not connected>"));
    settingsSnapshot.networkLock = ui->stngBlockOtherConCheckBox->isChecked();
    settingsSnapshot.languageChanged = false;
    settingsSnapshot.startAtLogon = ui->settingSystemStartupCheckBox->isChecked();
    settingsSnapshot.checkAvailable = ui->settingCheckAvailableServCheckBox->isChecked();
    settingsUnapplied = true;
}

void MainWindow::on_settingBackButton_clicked()
{
    applySettings();
    slideToReturnPage();
    ui->settingCentralWidget->setEnabled(true);
    ui->settingBackButton->setEnabled(true);
    ui->settingStackedWidget->setCurrentIndex(0);
    QCoreApplication::processEvents();
}

void MainWindow::on_settingLanguageComboBox_currentIndexChanged(int)
{
    settingsSnapshot.languageChanged = true;
}

// The system steps first (each waited for, so that one applier runs at a time), then the
// settings file, which thus holds what the system really has.
void MainWindow::applySettings()
{
    settingsUnapplied = false;
    ui->settingCentralWidget->setEnabled(false);
    ui->settingBackButton->setEnabled(false);
    ui->settingStackedWidget->setCurrentIndex(1);
    QCoreApplication::processEvents();
    if (settingsDotsTimerId < 0)
        settingsDotsTimerId = startTimer(settingsDotsIntervalMs);

    QCheckBox *lock = ui->stngBlockOtherConCheckBox;
    if (lock->isChecked() != settingsSnapshot.networkLock) {
        if (lock->isChecked()) {
            const QList<bool> answer = showConfirmDialog(
                2, windowTitle(), {}, blockNetworkWarningDisabled, dialogParent());
            blockNetworkWarningDisabled = answer.value(1);
            if (answer.value(0))
                runSpecialOption(SettingsApplier::Apply_BlockOtherConOn);
            else
                lock->setChecked(false);
        } else {
            runSpecialOption(SettingsApplier::Apply_BlockOtherConOff);
        }
        networkLockApplied = lock->isChecked();
    }

    const bool startAtLogon = ui->settingSystemStartupCheckBox->isChecked();
    if (startAtLogon != settingsSnapshot.startAtLogon)
        runSpecialOption(startAtLogon ? SettingsApplier::Apply_StartOnUserLogonOn
                                      : SettingsApplier::Apply_StartOnUserLogonOff);

    saveSettings(Set_General);
    saveSettings(Set_Extra);
    if (settingsSnapshot.languageChanged) {
        saveSettings(Set_Language);
        showInfoDialog(0, {}, dialogParent());
    }
    // What is applied now is the page's new starting point: a second road out changes nothing.
    settingsSnapshot.networkLock = lock->isChecked();
    settingsSnapshot.startAtLogon = ui->settingSystemStartupCheckBox->isChecked();
    settingsSnapshot.languageChanged = false;

    if (settingsDotsTimerId >= 0) {
        killTimer(settingsDotsTimerId);
        settingsDotsTimerId = -1;
    }
}

// ---- log-out and the logs -----------------------------------------------------------------

void MainWindow::on_settingLogoutButton_clicked()
{
    if (!showConfirmDialog(1, windowTitle(), {}, false, dialogParent()).value(0))
        return;
    if (vpnProcess && vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(true);

    const QString account
        = ui->mainLoginLineEdit->text().isEmpty() ? userEmail : ui->mainLoginLineEdit->text();
    savedPackageId = -1;
    subUpdateTimer->stop();
    requestKey.clear();
    authToken.clear();
    userId = 0;
    userEmail.clear();
    userName.clear();
    ui->mainLoginLineEdit->clear();
    ui->mainPswdLineEdit->clear();
    ui->mainRememberCheckBox->setChecked(false);

    applySettings();
    ui->settingCentralWidget->setEnabled(true);
    ui->settingBackButton->setEnabled(true);
    ui->settingStackedWidget->setCurrentIndex(0);
    ui->stackedWidget->setCurrentIndex(Page_SignIn);
    Loger::writeLine(tr("User logged out (account: %0)").arg(account));
}

void MainWindow::on_settingOpenOpenVPNLogButton_clicked()
{
    openLogFile(vpnProcess ? vpnProcess->logFilePath() : QString());
}

void MainWindow::on_settingOpenAppLogButton_clicked()
{
    openLogFile(Loger::currentFileName());
}

// A log that was never written (logging off, nothing connected yet) is not there to open;
// the desktop's handler would only report that later, or not at all.
void MainWindow::openLogFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile()
        || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        showErrorDialog(8, {}, dialogParent());
}

// ---- the settings applier ---------------------------------------------------------------

void MainWindow::applySpecialOption(SettingsApplier::ApplyType type)
{
    Loger::write(tr("Applying special option: "), true);
    Loger::write(tr(applyTypeLogText(type)), false);
    Loger::endLine();

    if (type == SettingsApplier::Apply_BlockOtherConOn)
        NetworkLockAllowList::write(tempDir, networkLockAllowedHosts());
    QVariantList data;
    if (type != SettingsApplier::Apply_StartOnUserLogonOff)
        data << appDir << tempDir;

    auto *thread = new QThread(this);
    auto *applier = new SettingsApplier(type, data);
    connect(thread, SIGNAL(started()), applier, SLOT(init()));
    connect(applier, SIGNAL(sendResultData(bool, short, QVariant)), this,
            SLOT(settingsApplierResultReceived(bool, short, QVariant)));
    connect(applier, SIGNAL(destroyed(QObject *)), thread, SLOT(quit()));
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    connect(thread, SIGNAL(destroyed(QObject *)), this, SIGNAL(settingsApplierFinished()),
            Qt::QueuedConnection);
    applier->moveToThread(thread);
    applierThread = thread;
    thread->start();
}

// Waits until this run's thread is gone: a run started while handling another's result (the
// emergency unblock) must not end the wait on the earlier run's finish.
void MainWindow::runSpecialOption(SettingsApplier::ApplyType type)
{
    QEventLoop loop;
    connect(this, SIGNAL(settingsApplierFinished()), &loop, SLOT(quit()));
    QTimer::singleShot(applierWaitLimitMs, &loop, SLOT(quit()));
    const QDeadlineTimer deadline(applierWaitLimitMs);
    applySpecialOption(type);
    const QPointer<QThread> thread = applierThread;
    while (thread && !deadline.hasExpired()) {
        if (loop.exec() == 0)
            continue;
        // The application is quitting (the system asked it to end during a pkexec prompt):
        // a local loop now returns at once. The thread is waited for itself, asleep, and
        // what it queued here (its result, its own quit) is handed over between the waits.
        while (thread && !deadline.hasExpired()) {
            QCoreApplication::sendPostedEvents();
            if (thread->wait(applierWaitSliceMs))
                break;
        }
        QCoreApplication::sendPostedEvents();
        return;
    }
}

// The service's own hosts (sign-in and the connection's requests still work while the lock
// is on) and every server of the account, so that a new connection is not locked out.
QStringList MainWindow::networkLockAllowedHosts() const
{
    QStringList addresses {apiBaseUrl,          siteBaseUrl,        emergencyAddress,
                           endpoints.apiBase,   endpoints.siteBase, endpoints.emergencyBase,
                           endpoints.ipEchoBase};
    for (const VPNServer &server : servers)
        addresses << server.ip;
    return NetworkLockAllowList::hostsOf(addresses);
}

void MainWindow::settingsApplierResultReceived(bool result, short type, QVariant)
{
    const QString outcome = result ? tr("success") : tr("failed");
    QString errorText;
    switch (type) {
    case SettingsApplier::Apply_BlockOtherConOn:
        if (!result) {
            revert(ui->stngBlockOtherConCheckBox);
            errorText = ui->stngBlockOtherConLbl->text() + tr(" switching on.");
        }
        Loger::writeLine(
            tr("Settings applying: \"Block network without VPN connection\" switched on: %0")
                .arg(outcome));
        break;
    case SettingsApplier::Apply_BlockOtherConOff:
        if (result) {
            // "Emergency unblock" instead of OK: the network stayed blocked.
            if (!showInfoDialog(2, {}, dialogParent()))
                runSpecialOption(SettingsApplier::Apply_BlockOtherConOffForce);
        } else {
            revert(ui->stngBlockOtherConCheckBox);
            errorText = ui->stngBlockOtherConLbl->text() + tr(" switching off.");
        }
        Loger::writeLine(
            tr("Settings applying: \"Block network without VPN connection\" switched off: %0")
                .arg(outcome));
        break;
    case SettingsApplier::Apply_BlockOtherConOffForce:
        Loger::writeLine(
            tr("Settings applying: \"Block network without VPN connection\" emergency unblock: "
               "%0")
                .arg(outcome));
        break;
    case SettingsApplier::Apply_StartOnUserLogonOn:
        if (!result) {
            revert(ui->settingSystemStartupCheckBox);
            errorText = ui->settingSystemStartupLabel->text() + tr(" switching on.");
        }
        Loger::writeLine(tr("Settings applying: add program to system startup: %0").arg(outcome));
        break;
    case SettingsApplier::Apply_StartOnUserLogonOff:
        if (!result) {
            revert(ui->settingSystemStartupCheckBox);
            errorText = ui->settingSystemStartupLabel->text() + tr(" switching off.");
        }
        Loger::writeLine(
            tr("Settings applying: remove program from system startup: %0").arg(outcome));
        break;
    default:
        return;
    }
    if (errorText.isEmpty())
        return;
    showErrorDialog(12, {errorText}, dialogParent());
    saveSettings(Set_General);
}

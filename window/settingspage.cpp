// MainWindow: the settings page, the one place that touches its widgets. They are bound
// to the settings object both ways; the page's entry, the apply step on leaving it, log-out,
// the log, diagnostics and lock-test buttons, and the settings applier runs that change the
// system.

#include "core/clientsettings.h"
#include "core/loger.h"
#include "system/lockselftest.h"
#include "system/networklockallowlist.h"
#include "ui/diagnosticsdialog.h"
#include "ui/lockselftestdialog.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <functional>

#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
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

// Sets a box back to what it was before a failed system change, without running its slots
// (the settings object is told by the caller).
void revert(QCheckBox *box)
{
    const QSignalBlocker blocker(box);
    box->setChecked(!box->isChecked());
}

// A check box of the page and the option it shows.
struct CheckBinding
{
    QCheckBox *box;
    std::function<bool()> get;
    std::function<void(bool)> set;
};

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
    // The DNS protection row stays out of sight; its stored value still takes effect.
    ui->settingSAVLayout->removeWidget(ui->settingDNSProtectWidget);
    ui->settingSAVLayout->removeWidget(ui->settingLine9);
    ui->settingDNSProtectWidget->hide();
    ui->settingLine9->hide();
    ui->settingStackedWidget->setSpeed(100);
    ui->settingStackedWidget->setAnimation(QEasingCurve::Linear);
    ui->settingStackedWidget->setWrap(false);
    addSettingsRows();
    bindSettingsPage();
}

void MainWindow::connectSettingsPage()
{
    const QPair<QAbstractButton *, void (MainWindow::*)()> buttons[]
        = {{ui->settingBackButton, &MainWindow::on_settingBackButton_clicked},
           {ui->settingLogoutButton, &MainWindow::on_settingLogoutButton_clicked},
           {ui->settingOpenOpenVPNLogButton, &MainWindow::on_settingOpenOpenVPNLogButton_clicked},
           {ui->settingOpenAppLogButton, &MainWindow::on_settingOpenAppLogButton_clicked}};
    for (const auto &button : buttons)
        connect(button.first, &QAbstractButton::clicked, this, button.second);
    connect(ui->settingLanguageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MainWindow::on_settingLanguageComboBox_currentIndexChanged);
}

// Each widget writes its option when the user changes it, and shows the option whenever the
// settings change elsewhere (a load, a diagnosis road, the mirror's TCP). Setting a widget
// to what it shows already changes nothing, so the two ways never loop.
void MainWindow::bindSettingsPage()
{
    auto *autoSwitch = findChild<QCheckBox *>(QStringLiteral("settingAutoSwitchCheckBox"));
    ClientSettings *const s = settings;
    const QVector<CheckBinding> boxes
        = {{ui->stngBlockOtherConCheckBox, [s]() { return s->lockConnection(); },
            [s](bool on) { s->setLockConnection(on); }},
           {ui->stngVPNAutoConCheckBox, [s]() { return s->autoConnect(); },
            [s](bool on) { s->setAutoConnect(on); }},
           {ui->settingStartMinimizedCheckBox, [s]() { return s->startMinimized(); },
            [s](bool on) { s->setStartMinimized(on); }},
           {ui->settingShowStatWgtCheckBox, [s]() { return s->showStatOnConnect(); },
            [s](bool on) { s->setShowStatOnConnect(on); }},
           {ui->settingSystemStartupCheckBox, [s]() { return s->systemAutostart(); },
            [s](bool on) { s->setSystemAutostart(on); }},
           {ui->settingCheckAvailableServCheckBox, [s]() { return s->checkAvailableServers(); },
            [s](bool on) { s->setCheckAvailableServers(on); }},
           {ui->settingDNSProtectCheckBox, [s]() { return s->dnsProtection(); },
            [s](bool on) { s->setDnsProtection(on); }},
           {autoSwitch, [s]() { return s->switchRoadAutomatically(); },
            [s](bool on) { s->setSwitchRoadAutomatically(on); }}};
    for (const CheckBinding &binding : boxes)
        connect(binding.box, &QCheckBox::toggled, settings, binding.set);
    connect(ui->settingProtUDPRButton, &QRadioButton::toggled, settings, &ClientSettings::setUdp);
    connect(ui->settingLanguageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged),
            settings, [this](int index) {
                if (index >= 0)
                    settings->setLanguage(index + 1);
            });

    const auto show = [this, boxes]() {
        for (const CheckBinding &binding : boxes)
            binding.box->setChecked(binding.get());
        (settings->udp() ? ui->settingProtUDPRButton : ui->settingProtTCPRButton)->setChecked(true);
        const int language = settings->language();
        if (language >= 1 && language <= ui->settingLanguageComboBox->count())
            ui->settingLanguageComboBox->setCurrentIndex(language - 1);
    };
    connect(settings, &ClientSettings::changed, this, show);
    show();
}

void MainWindow::addSettingsRows()
{
    // Save diagnostics: a row of its own under the two log buttons, since a third button
    // beside them would widen the page past the window.
    QPushButton *diagnostics = makeSettingsButton(tr("Save diagnostics…"));
    diagnostics->setObjectName(QStringLiteral("settingSaveDiagnosticsButton"));
    diagnostics->setAccessibleName(tr("Save diagnostics"));
    const int logs = ui->settingSAVLayout->indexOf(ui->settingLogHLayout);
    ui->settingSAVLayout->insertSpacing(logs + 1, 8);
    ui->settingSAVLayout->insertWidget(logs + 2, diagnostics);
    connect(diagnostics, SIGNAL(clicked()), this, SLOT(saveDiagnosticsClicked()));

    // Test network lock, under the lock's row, usable while the lock is chosen.
    QPushButton *lockTest = makeSettingsButton(tr("Test network lock"));
    lockTest->setObjectName(QStringLiteral("settingTestLockButton"));
    lockTest->setEnabled(ui->stngBlockOtherConCheckBox->isChecked());
    const int lockRow = ui->settingSAVLayout->indexOf(ui->stngBlockOtherConWidget);
    ui->settingSAVLayout->insertWidget(lockRow + 1, lockTest);
    connect(ui->stngBlockOtherConCheckBox, SIGNAL(toggled(bool)), lockTest, SLOT(setEnabled(bool)));
    // The test runs in the privileged helper; without one beside the program (Windows, a
    // build folder) there is nothing to run it.
    lockTest->setVisible(QFileInfo::exists(LockSelfTest::command(appDir, tempDir, true).script));
    connect(lockTest, SIGNAL(clicked()), this, SLOT(testLockClicked()));

    // Switch automatically when the network blocks VPN, below the availability check.
    auto *row = new QWidget(ui->settingSAWidget);
    row->setObjectName(QStringLiteral("settingAutoSwitchWidget"));
    row->setMinimumHeight(34);
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 2, 0, 2);
    rowLayout->setSpacing(8);
    auto *label = new QLabel(tr("Switch automatically when the network blocks VPN:"), row);
    label->setObjectName(QStringLiteral("settingAutoSwitchLabel"));
    label->setWordWrap(true);
    auto *autoSwitch = new QCheckBox(row);
    autoSwitch->setObjectName(QStringLiteral("settingAutoSwitchCheckBox"));
    autoSwitch->setCursor(Qt::PointingHandCursor);
    autoSwitch->setLayoutDirection(Qt::RightToLeft);
    autoSwitch->setAccessibleName(tr("Switch automatically when the network blocks VPN"));
    label->setBuddy(autoSwitch);
    rowLayout->addWidget(label);
    rowLayout->addWidget(autoSwitch);
    const int at = ui->settingSAVLayout->indexOf(ui->settingCheckAvailableServWidget) + 1;
    ui->settingSAVLayout->insertWidget(at, row);

    // Each takes its place in the Tab chain where it is seen.
    setTabOrder(ui->stngBlockOtherConCheckBox, lockTest);
    setTabOrder(ui->settingCheckAvailableServCheckBox, autoSwitch);
    setTabOrder(ui->settingOpenAppLogButton, diagnostics);
}

// The lock is changed only while no tunnel is on its way or up; the mirror route carries
// TCP alone.
void MainWindow::renderSettingsPageConnection()
{
    ui->stngBlockOtherConWidget->setEnabled(connection->state()
                                            == ConnectionController::Unconnected);
    if (connection->mirrorActive())
        ui->settingProtWidget->setEnabled(false);
}

QLabel *MainWindow::settingsLoadingLabel() const
{
    return ui->settingLoadingLabel;
}

QLabel *MainWindow::settingsHintLabel() const
{
    return ui->settingTipLabel;
}

QAbstractButton *MainWindow::settingsBackButton() const
{
    return ui->settingBackButton;
}

void MainWindow::showAccountOnSettingsPage(const QString &account)
{
    ui->settingEmailLabel->setText(account);
}

void MainWindow::enterSettingsPage()
{
    ui->settingStackedWidget->setCurrentIndex(0);
    const bool signedIn = pageHistory.returnPage() != Page_SignIn;
    ui->settingLogoutButton->setEnabled(signedIn);
    if (!signedIn)
        ui->settingEmailLabel->setText(tr("<Not connected>"));
    settingsSnapshot.networkLock = settings->lockConnection();
    settingsSnapshot.languageChanged = false;
    settingsSnapshot.startAtLogon = settings->systemAutostart();
    settingsUnapplied = true;
}

void MainWindow::applySettingsAndReopenPage()
{
    applySettings();
    ui->settingCentralWidget->setEnabled(true);
    ui->settingBackButton->setEnabled(true);
    ui->settingStackedWidget->setCurrentIndex(0);
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
                2, windowTitle(), {}, settings->blockNetworkWarningDisabled(), dialogParent());
            settings->setBlockNetworkWarningDisabled(answer.value(1));
            if (answer.value(0))
                runSpecialOption(SettingsApplier::Apply_BlockOtherConOn);
            else
                lock->setChecked(false);
        } else {
            runSpecialOption(SettingsApplier::Apply_BlockOtherConOff);
        }
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
    if (connection->state() != ConnectionController::Unconnected)
        connection->stop(true);

    const QString account
        = ui->mainLoginLineEdit->text().isEmpty() ? userEmail : ui->mainLoginLineEdit->text();
    settings->setPackageId(-1);
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
    openLogFile(connection->openVpnLogPath());
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
            settings->setLockConnection(ui->stngBlockOtherConCheckBox->isChecked());
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
            settings->setLockConnection(ui->stngBlockOtherConCheckBox->isChecked());
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
            settings->setSystemAutostart(ui->settingSystemStartupCheckBox->isChecked());
            errorText = ui->settingSystemStartupLabel->text() + tr(" switching on.");
        }
        Loger::writeLine(tr("Settings applying: add program to system startup: %0").arg(outcome));
        break;
    case SettingsApplier::Apply_StartOnUserLogonOff:
        if (!result) {
            revert(ui->settingSystemStartupCheckBox);
            settings->setSystemAutostart(ui->settingSystemStartupCheckBox->isChecked());
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

// ---- diagnostics and the lock's self-test ------------------------------------------------

void MainWindow::saveDiagnosticsClicked()
{
    DiagnosticsSources sources;
    sources.dataDir = dataDir;
    sources.programDir = appDir;
    sources.homePath = QDir::homePath();
    sources.serviceToken = authToken;
    sources.accountPassword = ui->mainPswdLineEdit->text();
    // The service's hosts and the account's servers: never the user's own addresses.
    sources.serverAddresses = networkLockAllowedHosts();

    const auto chooser = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Save diagnostics"), suggested,
                                            tr("ZIP archives (*.zip)"));
    };
    auto *dialog = new DiagnosticsDialog(sources, chooser, dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [dialog] {
        Loger::writeLine(
            tr("Diagnostics saved to %0").arg(QDir::toNativeSeparators(dialog->savedPath())));
    });
    dialog->open();
}

void MainWindow::testLockClicked()
{
    auto *dialog = new LockSelfTestDialog(appDir, tempDir, dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, SIGNAL(testFinished(QStringList, bool)), this,
            SLOT(lockSelfTestFinished(QStringList, bool)));
    dialog->open();
}

void MainWindow::lockSelfTestFinished(const QStringList &lines, bool passed)
{
    Loger::writeLine(passed ? tr("Network lock self-test passed")
                            : tr("Network lock self-test failed"));
    for (const QString &line : lines)
        Loger::writeLine(QStringLiteral("[Lock test]: ") + line);
}

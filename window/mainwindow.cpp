// MainWindow: construction in a fixed order, and the orderly quit.

#include "window/mainwindow.h"

#include "buildconfig.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "engine/openvpnseries.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QDir>
#include <QGuiApplication>
#include <QRegExp>
#include <QScreen>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

namespace {

const QString AppVersion = QString::fromUtf8(BuildConfig::AppVersion);

// A literal IPv4 host right after the scheme: such an address needs the API's host name
// in the "Host" header.
const char *const LiteralIpv4Host = "//[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}";

} // namespace

bool emergencyAddressIsIp(const QString &address)
{
    return QRegExp(QLatin1String(LiteralIpv4Host), Qt::CaseSensitive).indexIn(address) >= 0;
}

MainWindow::MainWindow(const QString &dataDir, QWidget *parent)
    : MainWindow(dataDir, ServiceEndpoints::builtIn(), QString(), parent)
{ }

MainWindow::MainWindow(const QString &dataDir, const ServiceEndpoints &endpoints, QWidget *parent)
    : MainWindow(dataDir, endpoints, QString(), parent)
{ }

MainWindow::MainWindow(const QString &dataDir, const ServiceEndpoints &endpoints,
                       const QString &programDir, QWidget *parent)
    : QMainWindow(parent)
    , dataDir(dataDir)
    , endpoints(endpoints)
    , ui(new Ui::MainWindow)
{
    vpnUpdateTimer = new QTimer(this);
    vpnUpdateTimer->setInterval(1000);
    subUpdateTimer = new QTimer(this);
    subUpdateTimer->setInterval(1000);

    appDir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    ssDir = QDir::toNativeSeparators(QDir(appDir).filePath(QStringLiteral("shadowsocks")));
    // OpenVPN and the mirror tool answer while the form is built; nothing waits for them yet.
    vpnProcess = new VPNProcess(appDir);
    openVpnVersionQuery = vpnProcess->startVersionQuery();
    mirrorToolVersionQuery = ShadowsocksProcess::startVersionQuery(ssDir);

    // The look, the form, its templates, the hidden hints and the version on the About page.
    applyLook();
    ui->setupUi(this);
    connectForm();
    setUpPages();
    setUpServerLists();
    setUpDiagnosis();
    setUpAccessibility();
    // The pages not on show join the window later; the style sheet set after that reaches
    // the sign-in page alone, the others take it when they join.
    deferUnseenPages();
    applyStyleSheet();
    checkServersTemplate
        = tr("<p><span style=\"font-size:13px;\">Checking servers (%0/%1)</span></p>");

    tempDir = QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("temp")))
        + QDir::separator();
    ovpnConfigPath = tempDir + QStringLiteral("openvpn_config.ovpn");
    ssConfigPath = tempDir + QStringLiteral("ss_config.json");

    // A new program version starts with the built-in emergency address again.
    SettingsStore(SettingsStore::fileNameIn(dataDir)).updateLastVersion();

    Loger::write(tr("App version: KS %0, OS: %2 %3 (version %4),")
                     .arg(AppVersion, QSysInfo::productType(), QSysInfo::productVersion(),
                          QSysInfo::kernelVersion()),
                 true);
    Loger::endLine();

    vpnThread = new QThread(this);
    vpnProcess->setup(dataDir, tempDir);
    vpnProcess->configPath = ovpnConfigPath;
    openVpnVersion = VPNProcess::versionFrom(*openVpnVersionQuery);
    openVpnVersionQuery.reset();
    if (openVpnVersion.isEmpty())
        openVpnVersion = QStringLiteral("[not installed]");
    vpnProcess->moveToThread(vpnThread);
    connect(vpnThread, SIGNAL(started()), vpnProcess, SLOT(init()));
    // The controller is deleted on its own thread once that thread leaves its loop.
    connect(vpnThread, SIGNAL(finished()), vpnProcess, SLOT(deleteLater()));
    connect(this, SIGNAL(vpnProcessStart(QString)), vpnProcess, SLOT(start(QString)),
            Qt::QueuedConnection);
    connect(this, SIGNAL(vpnProcessStop()), vpnProcess, SLOT(stop()), Qt::QueuedConnection);
    qRegisterMetaType<VPNProcess::VPNProcessStatus>("VPNProcess::VPNProcessStatus");
    connect(vpnProcess, SIGNAL(vpnStateChanged(VPNProcess::VPNProcessStatus)), this,
            SLOT(vpnStateChanged(VPNProcess::VPNProcessStatus)), Qt::QueuedConnection);
    connect(vpnProcess, SIGNAL(dataStatChanged(int, int)), this, SLOT(vpnDataStatChanged(int, int)),
            Qt::QueuedConnection);
    vpnThread->start();

    const QSize screen
        = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize();
    Loger::writeLine(tr("OpenVPN version: %0, screen resolution: %1 on %2 pixels")
                         .arg(openVpnVersion)
                         .arg(screen.width())
                         .arg(screen.height()));

    VPNProcess::VPNProcessMode openVpnMode = VPNProcess::PM_OpenVPN24;
    if (OpenVpnSeries::accepts(openVpnVersion, OpenVpnSeries::configured(), &openVpnMode)) {
        vpnProcess->setMode(openVpnMode);
    } else {
        openVpnRefused = true;
        showErrorDialog(
            9, {OpenVpnSeries::refusalText(openVpnVersion, OpenVpnSeries::configured())},
            isVisible() ? this : nullptr);
        QTimer::singleShot(0, qApp, SLOT(quit()));
        return;
    }

    setupMirrorTool();

    // Also sets the first mirror flag for a Chinese interface.
    loadSettings(Set_Language);

    // The application font was set with the form.
    createTrayIcon();
    updateTrayToolTip();

    loadSettings(Set_General);
    loadSettings(Set_EmergencyAddress);
    loadSettings(Set_Extra);
    // The store gives the built-in emergency address for an empty one; a window built with
    // endpoints of its own uses theirs instead.
    if (emergencyAddress.isEmpty()
        || emergencyAddress == QString::fromUtf8(BuildConfig::DefaultEmergencyAddress))
        emergencyAddress = endpoints.emergencyBase;

    connect(vpnUpdateTimer, SIGNAL(timeout()), this, SLOT(timerVPNUpdate()));
    connect(subUpdateTimer, SIGNAL(timeout()), this, SLOT(timerSubUpdate()));

    emergencyIsIp = emergencyAddressIsIp(emergencyAddress);
    apiBaseUrl = emergencyByDefault ? emergencyAddress : endpoints.apiBase;
    siteBaseUrl = emergencyByDefault ? emergencyAddress : endpoints.siteBase;
    setLinkTexts(siteBaseUrl);
    setDialogSiteBase(siteBaseUrl);

    loadSettings(Set_StatWindow);

    autoConnectPending = ui->stngVPNAutoConCheckBox->isChecked();

    QTimer::singleShot(0, this, SLOT(checkStartType()));
    Loger::writeLine(tr("Main window created"));
}

// The form does not connect its slots by name (a search of every child for every slot):
// they are connected here, each signal to its one slot.
void MainWindow::connectForm()
{
    const QPair<QAbstractButton *, void (MainWindow::*)()> buttons[] = {
        {ui->mainLoginButton, &MainWindow::on_mainLoginButton_clicked},
        {ui->subsBackButton, &MainWindow::on_subsBackButton_clicked},
        {ui->subsNextButton, &MainWindow::on_subsNextButton_clicked},
        {ui->vpnConChangeSubButton, &MainWindow::on_vpnConChangeSubButton_clicked},
        {ui->vpnConConInfoButton, &MainWindow::on_vpnConConInfoButton_clicked},
        {ui->vpnConManualChoiceButton, &MainWindow::on_vpnConManualChoiceButton_clicked},
        {ui->vpnConAutoChoiceButton, &MainWindow::on_vpnConAutoChoiceButton_clicked},
        {ui->vpnConCancelButton, &MainWindow::on_vpnConCancelButton_clicked},
        {ui->vpnInfoBackButton, &MainWindow::on_vpnInfoBackButton_clicked},
        {ui->vpnInfoReconnectButton, &MainWindow::on_vpnInfoReconnectButton_clicked},
        {ui->vpnServBackButton, &MainWindow::on_vpnServBackButton_clicked},
        {ui->vpnServConnectButton, &MainWindow::on_vpnServConnectButton_clicked},
        {ui->vpnDoubleServBackButton, &MainWindow::on_vpnDoubleServBackButton_clicked},
        {ui->vpnDoubleServFavServButton, &MainWindow::on_vpnDoubleServFavServButton_clicked},
        {ui->vpnDoubleServConnectButton, &MainWindow::on_vpnDoubleServConnectButton_clicked},
        {ui->vpnDoubleFavServConnectButton,
         &MainWindow::on_vpnDoubleFavServConnectButton_clicked},
        {ui->aboutBackButton, &MainWindow::on_aboutBackButton_clicked},
        {ui->settingBackButton, &MainWindow::on_settingBackButton_clicked},
        {ui->settingLogoutButton, &MainWindow::on_settingLogoutButton_clicked},
        {ui->settingOpenOpenVPNLogButton, &MainWindow::on_settingOpenOpenVPNLogButton_clicked},
        {ui->settingOpenAppLogButton, &MainWindow::on_settingOpenAppLogButton_clicked}};
    for (const auto &button : buttons)
        connect(button.first, &QAbstractButton::clicked, this, button.second);

    const QPair<QComboBox *, void (MainWindow::*)(int)> combos[] = {
        {ui->subsSubComboBox, &MainWindow::on_subsSubComboBox_currentIndexChanged},
        {ui->vpnDoubleServFirstComboBox,
         &MainWindow::on_vpnDoubleServFirstComboBox_currentIndexChanged},
        {ui->vpnDoubleServSecondComboBox,
         &MainWindow::on_vpnDoubleServSecondComboBox_currentIndexChanged},
        {ui->settingLanguageComboBox, &MainWindow::on_settingLanguageComboBox_currentIndexChanged}};
    for (const auto &combo : combos)
        connect(combo.first, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                combo.second);

    // Each list: its current row, and a double click that connects.
    struct ListSlots
    {
        QListWidget *list;
        void (MainWindow::*current)(QListWidgetItem *, QListWidgetItem *);
        void (MainWindow::*doubleClick)(const QModelIndex &);
    };
    const ListSlots lists[] = {
        {ui->vpnServAllServListWidget, &MainWindow::on_vpnServAllServListWidget_currentItemChanged,
         &MainWindow::on_vpnServAllServListWidget_doubleClicked},
        {ui->vpnServFavServListWidget, &MainWindow::on_vpnServFavServListWidget_currentItemChanged,
         &MainWindow::on_vpnServFavServListWidget_doubleClicked},
        {ui->vpnDoubleFavServListWidget,
         &MainWindow::on_vpnDoubleFavServListWidget_currentItemChanged,
         &MainWindow::on_vpnDoubleFavServListWidget_doubleClicked}};
    for (const ListSlots &list : lists) {
        connect(list.list, &QListWidget::currentItemChanged, this, list.current);
        connect(list.list, &QAbstractItemView::doubleClicked, this, list.doubleClick);
    }

    connect(ui->stackedWidget, &QStackedWidget::currentChanged, this,
            &MainWindow::on_stackedWidget_currentChanged);
    connect(ui->mainLoginLineEdit, &QLineEdit::textChanged, this,
            &MainWindow::on_mainLoginLineEdit_textChanged);
    connect(ui->mainPswdLineEdit, &QLineEdit::textChanged, this,
            &MainWindow::on_mainPswdLineEdit_textChanged);
}

MainWindow::~MainWindow()
{
    // An end asked for by the system skips the tray's Quit: OpenVPN still ends politely.
    if (vpnProcess && vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(true);
    // No probe outlives the window it reports to.
    endServerAvailabilityCheck();
    // A window destroyed with threads still running (a request still out at the quit, or a
    // window that never reached the quit) would abort the process: every thread of the
    // window leaves its loop first, the long-lived ones and the request workers alike.
    const QList<QThread *> threads = findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly);
    for (QThread *thread : threads)
        thread->quit();
    for (QThread *thread : threads) {
        if (thread->wait(threadEndWaitMs))
            continue;
        // Deleting a running thread with the window would abort the process: it is let go
        // and deletes itself when it ends.
        Loger::writeLine(tr("A worker thread still running at the end: left to end by itself"));
        thread->setParent(nullptr);
        connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()), Qt::UniqueConnection);
    }
    delete ui;
}

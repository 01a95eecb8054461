// MainWindow: construction in a fixed order, and the orderly quit.

#include "window/mainwindow.h"

#include "api/apirequestbuilder.h"
#include "buildconfig.h"
#include "core/childthreads.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "engine/openvpnseries.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStackedWidget>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

namespace {

const QString AppVersion = QString::fromUtf8(BuildConfig::AppVersion);

} // namespace

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
    subUpdateTimer = new QTimer(this);
    subUpdateTimer->setInterval(1000);

    appDir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    settings = new ClientSettings(dataDir, this);
    // OpenVPN and the mirror tool answer while the form is built; nothing waits for them yet.
    connection = new ConnectionController(settings, dataDir, appDir, endpoints, this);

    // The look, the form, its templates, the hidden hints and the version on the About page.
    applyLook();
    ui->setupUi(this);
    connectForm();
    setUpPages();
    setUpServerLists();
    setUpConnection();
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

    // A new program version starts with the built-in emergency address again.
    SettingsStore(SettingsStore::fileNameIn(dataDir)).updateLastVersion();

    Loger::write(tr("App version: KS %0, OS: %2 %3 (version %4),")
                     .arg(AppVersion, QSysInfo::productType(), QSysInfo::productVersion(),
                          QSysInfo::kernelVersion()),
                 true);
    Loger::endLine();

    connection->startOpenVpnController();

    const QSize screen
        = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize();
    Loger::writeLine(tr("OpenVPN version: %0, screen resolution: %1 on %2 pixels")
                         .arg(connection->openVpnVersion())
                         .arg(screen.width())
                         .arg(screen.height()));

    if (!connection->acceptOpenVpn()) {
        openVpnRefused = true;
        showErrorDialog(
            9,
            {OpenVpnSeries::refusalText(connection->openVpnVersion(), OpenVpnSeries::configured())},
            isVisible() ? this : nullptr);
        QTimer::singleShot(0, qApp, SLOT(quit()));
        return;
    }

    connection->startMirrorToolController();

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

    connect(subUpdateTimer, SIGNAL(timeout()), this, SLOT(timerSubUpdate()));

    emergencyIsIp = ApiRequestBuilder::isLiteralIpBase(emergencyAddress);
    apiBaseUrl = emergencyByDefault ? emergencyAddress : endpoints.apiBase;
    siteBaseUrl = emergencyByDefault ? emergencyAddress : endpoints.siteBase;
    setLinkTexts(siteBaseUrl);
    setDialogSiteBase(siteBaseUrl);

    loadSettings(Set_StatWindow);

    autoConnectPending = settings->autoConnect();

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
        {ui->vpnDoubleFavServConnectButton, &MainWindow::on_vpnDoubleFavServConnectButton_clicked},
        {ui->aboutBackButton, &MainWindow::on_aboutBackButton_clicked}};
    for (const auto &button : buttons)
        connect(button.first, &QAbstractButton::clicked, this, button.second);

    const QPair<QComboBox *, void (MainWindow::*)(int)> combos[]
        = {{ui->subsSubComboBox, &MainWindow::on_subsSubComboBox_currentIndexChanged},
           {ui->vpnDoubleServFirstComboBox,
            &MainWindow::on_vpnDoubleServFirstComboBox_currentIndexChanged},
           {ui->vpnDoubleServSecondComboBox,
            &MainWindow::on_vpnDoubleServSecondComboBox_currentIndexChanged}};
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
    connectSettingsPage();
}

// The window renders what the connection controller reports and gives it the account and
// route of its requests.
void MainWindow::setUpConnection()
{
    connection->setRequestContext([this]() { return requestContext(); });
    connect(connection, &ConnectionController::stateChanged, this,
            &MainWindow::connectionStateChanged);
    connect(connection, &ConnectionController::failed, this, &MainWindow::connectionFailed);
    connect(connection, &ConnectionController::trafficChanged, this,
            &MainWindow::connectionTrafficChanged);
    connect(connection, &ConnectionController::ticked, this, &MainWindow::connectionTicked);
    connect(connection, &ConnectionController::mirrorActiveChanged, this,
            &MainWindow::renderSettingsPageConnection);
}

MainWindow::~MainWindow()
{
    // An end asked for by the system skips the tray's Quit: OpenVPN still ends politely, and
    // the controller is gone before the window it reports to.
    if (connection->state() != ConnectionController::Unconnected)
        connection->stop(true);
    disconnect(connection, nullptr, this, nullptr);
    delete connection;
    connection = nullptr;
    // No probe outlives the window it reports to.
    endServerAvailabilityCheck();
    // A window destroyed with threads still running (a request still out at the quit, or a
    // window that never reached the quit) would abort the process.
    endChildThreads(this, threadEndWaitMs);
    delete ui;
}

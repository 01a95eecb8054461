// MainWindow: construction in a fixed order, and the orderly quit.

#include "window/mainwindow.h"

#include "buildconfig.h"
#include "core/loger.h"
#include "engine/openvpnseries.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"

#include <QApplication>
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

    // The form, its templates, the hidden hints and the version on the About page.
    ui->setupUi(this);
    setUpPages();
    setUpServerLists();
    setUpDiagnosis();
    checkServersTemplate
        = tr("<p><span style=\"font-size:13px;\">Checking servers (%0/%1)</span></p>");

    appDir = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    tempDir = QDir::toNativeSeparators(QDir(dataDir).filePath(QStringLiteral("temp")))
        + QDir::separator();
    ovpnConfigPath = tempDir + QStringLiteral("openvpn_config.ovpn");
    ssConfigPath = tempDir + QStringLiteral("ss_config.json");
    ssDir = QDir::toNativeSeparators(QDir(appDir).filePath(QStringLiteral("shadowsocks")));

    // A new program version starts with the built-in emergency address again.
    updateLastVersion();

    Loger::write(tr("App version: KS %0, OS: %2 %3 (version %4),")
                     .arg(AppVersion, QSysInfo::productType(), QSysInfo::productVersion(),
                          QSysInfo::kernelVersion()),
                 true);
    Loger::endLine();

    vpnThread = new QThread(this);
    vpnProcess = new VPNProcess(appDir);
    vpnProcess->setup(dataDir, tempDir);
    vpnProcess->configPath = ovpnConfigPath;
    openVpnVersion = vpnProcess->version();
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
        showErrorDialog(9,
                        {tr("Installed OpenVPN version (%0) incompatible with app.<br>Please "
                            "install OpenVPN 2.3.x or 2.4.x.")
                             .arg(openVpnVersion)},
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
    for (QThread *thread : threads)
        thread->wait(VPNProcess::LongWaitMs);
    delete ui;
}

// MainWindow: why a connection did not come up, said in one sentence with the road that
// works, and that road taken on request (or by itself when the user asked for it).

#include "api/apirequestbuilder.h"
#include "core/loger.h"
#include "engine/configremote.h"
#include "engine/diagnosisprobes.h"
#include "engine/diagnosisverdict.h"
#include "system/platform.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

// What the OpenVPN log can tell is at its end; a long log is read from there.
const qint64 LogTailBytes = 256 * 1024;

QString readTail(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    if (file.size() > LogTailBytes)
        file.seek(file.size() - LogTailBytes);
    return QString::fromLatin1(file.readAll());
}

} // namespace

void MainWindow::setUpDiagnosis()
{
    qRegisterMetaType<DiagnosisFacts>("DiagnosisFacts");
    diagnosisTimer = new QTimer(this);
    diagnosisTimer->setSingleShot(true);
    connect(diagnosisTimer, SIGNAL(timeout()), this, SLOT(diagnosisTimeout()));

    // The sentence and its button stand below the status text of the connection page.
    diagnosisWidget = new QWidget(ui->statusPage);
    diagnosisWidget->setObjectName(QStringLiteral("vpnConDiagnosisWidget"));
    auto *layout = new QVBoxLayout(diagnosisWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    diagnosisLabel = new QLabel(diagnosisWidget);
    diagnosisLabel->setObjectName(QStringLiteral("vpnConDiagnosisLabel"));
    diagnosisLabel->setWordWrap(true);
    diagnosisLabel->setAlignment(Qt::AlignCenter);
    diagnosisLabel->setStyleSheet(QStringLiteral("color:#e93023; font-size: 13px;"));
    diagnosisLabel->setAccessibleName(tr("Why the connection did not come up"));
    diagnosisButton = new QPushButton(diagnosisWidget);
    diagnosisButton->setObjectName(QStringLiteral("vpnConDiagnosisButton"));
    diagnosisButton->setCursor(Qt::PointingHandCursor);
    diagnosisButton->setMinimumHeight(32);
    diagnosisButton->setStyleSheet(QStringLiteral(
        "QPushButton { color: #fb7c2f; background: white; border: 1px solid #fb7c2f; "
        "border-radius: 16px; padding: 0 16px; font-size: 12px; } "
        "QPushButton:hover, QPushButton:focus { background: #fff3ec; } "
        "QPushButton:pressed { color: #e93023; border-color: #e93023; }"));
    connect(diagnosisButton, SIGNAL(clicked()), this, SLOT(diagnosisRoadClicked()));
    layout->addWidget(diagnosisLabel);
    layout->addWidget(diagnosisButton, 0, Qt::AlignHCenter);
    ui->statusPageVLayout->addWidget(diagnosisWidget);
    diagnosisWidget->hide();

    // Settings row, below the availability check.
    auto *row = new QWidget(ui->settingSAWidget);
    row->setObjectName(QStringLiteral("settingAutoSwitchWidget"));
    row->setMinimumHeight(34);
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 2, 0, 2);
    rowLayout->setSpacing(8);
    auto *label = new QLabel(tr("Switch automatically when the network blocks VPN:"), row);
    label->setObjectName(QStringLiteral("settingAutoSwitchLabel"));
    label->setWordWrap(true);
    settingAutoSwitchCheckBox = new QCheckBox(row);
    settingAutoSwitchCheckBox->setObjectName(QStringLiteral("settingAutoSwitchCheckBox"));
    settingAutoSwitchCheckBox->setCursor(Qt::PointingHandCursor);
    settingAutoSwitchCheckBox->setLayoutDirection(Qt::RightToLeft);
    settingAutoSwitchCheckBox->setAccessibleName(
        tr("Switch automatically when the network blocks VPN"));
    label->setBuddy(settingAutoSwitchCheckBox);
    rowLayout->addWidget(label);
    rowLayout->addWidget(settingAutoSwitchCheckBox);
    const int at = ui->settingSAVLayout->indexOf(ui->settingCheckAvailableServWidget) + 1;
    ui->settingSAVLayout->insertWidget(at, row);
}

void MainWindow::armDiagnosis()
{
    if (!diagnosisTimer)
        return;
    connect(vpnProcess, SIGNAL(managementReport(QString)), this, SLOT(vpnManagementReport(QString)),
            Qt::UniqueConnection);
    managementReport.clear();
    diagnosisArmed = true;
    // A road taken by itself is taken once: its own connection is not switched again.
    connectionByAutoSwitch = autoSwitchPending;
    autoSwitchPending = false;
    if (!connectionByAutoSwitch)
        diagnosisWidget->hide();
    diagnosisRoad = DiagnosisVerdict::NoRoad;
    connectStarted.start();
    if (diagnosisSeconds > 0)
        diagnosisTimer->start(diagnosisSeconds * 1000);
    else
        diagnosisTimer->stop();
}

void MainWindow::disarmDiagnosis(bool hideVerdict)
{
    diagnosisArmed = false;
    if (diagnosisTimer)
        diagnosisTimer->stop();
    if (hideVerdict && diagnosisWidget)
        diagnosisWidget->hide();
}

void MainWindow::vpnManagementReport(const QString &line)
{
    managementReport.append(line);
}

void MainWindow::diagnosisTimeout()
{
    if (vpnProcess && vpnProcess->procStatus == VPNProcess::ProcConnecting)
        startDiagnosis();
}

void MainWindow::startDiagnosis()
{
    if (!diagnosisArmed || !vpnProcess)
        return;
    disarmDiagnosis(false);

    QFile configFile(ovpnConfigPath);
    const ConfigRemote remote = ConfigRemote::read(
        configFile.open(QIODevice::ReadOnly) ? configFile.readAll() : QByteArray());
    diagnosisBase = DiagnosisFacts();
    diagnosisBase.udp = remote.host.isEmpty() ? ui->settingProtUDPRButton->isChecked() : remote.udp;
    diagnosisBase.mirrorUsed = mirrorActive;
    diagnosisBase.openVpn
        = OpenVpnOutcome::read(managementReport, readTail(vpnProcess->logFilePath()));

    if (vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(false);
    diagnosisLabel->setText(tr("Finding out why the connection did not come up..."));
    diagnosisButton->hide();
    diagnosisWidget->show();

    DiagnosisPlan plan;
    // Through the mirror, OpenVPN's remote is the server itself; the probe goes there too.
    plan.serverHost = remote.host;
    plan.serverPort = remote.port;
    if (plan.serverHost.isEmpty() && firstServerIndex >= 0 && firstServerIndex < servers.size())
        plan.serverHost = servers.at(firstServerIndex).ip;
    ApiRequestContext context;
    context.emergencyAddress = emergencyAddress;
    context.emergencyIsIp = emergencyIsIp;
    context.apiHostName = endpoints.apiHostName;
    context.authToken = authToken;
    context.userId = userId;
    for (const QString &base : {endpoints.apiBase, emergencyAddress}) {
        context.apiBaseUrl = base;
        plan.apiRequests.append(ApiRequestBuilder::build(Req_SiteReachable, context).request);
    }
    plan.caCertificates = trustedCertificates;
    if (mirrorToolFound) {
        plan.ssLocalPath
            = QDir(ssDir).filePath(Platform::instance().executableName(QStringLiteral("ss-local")));
        plan.mirrorConfigPath = ssConfigPath;
        context.apiBaseUrl = apiBaseUrl;
        plan.mirrorConfigRequest = ApiRequestBuilder::build(Req_MirrorToolConfig, context).request;
    }
    plan.workDir = tempDir;

    auto *thread = new QThread(this);
    auto *probes = new DiagnosisProbes(plan);
    probes->moveToThread(thread);
    connect(thread, &QThread::started, probes, &DiagnosisProbes::run);
    connect(probes, &DiagnosisProbes::finished, thread, &QThread::quit);
    connect(probes, &DiagnosisProbes::finished, this, &MainWindow::diagnosisFinished,
            Qt::QueuedConnection);
    connect(thread, &QThread::finished, probes, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void MainWindow::diagnosisFinished(const DiagnosisFacts &probed)
{
    DiagnosisFacts facts = probed;
    facts.udp = diagnosisBase.udp;
    facts.mirrorUsed = diagnosisBase.mirrorUsed;
    facts.openVpn = diagnosisBase.openVpn;
    const DiagnosisVerdict::Kind kind = DiagnosisVerdict::decide(facts);
    Loger::writeLine(QStringLiteral("Diagnosis: probes: server %1, mirror %2, service %3/%4, "
                                    "default route %5, OpenVPN step %6")
                         .arg(int(facts.serverTcp))
                         .arg(int(facts.mirror))
                         .arg(facts.apiProbed ? int(facts.apiReachable[0]) : -1)
                         .arg(facts.apiProbed ? int(facts.apiReachable[1]) : -1)
                         .arg(int(facts.defaultRoute))
                         .arg(int(facts.openVpn.furthest)));
    Loger::writeLine(QStringLiteral("Diagnosis: ") + DiagnosisVerdict::englishText(kind));
    Loger::writeLine(QStringLiteral("Diagnosis: found %1 s after the connect action")
                         .arg(double(connectStarted.elapsed()) / 1000.0, 0, 'f', 1));

    // A connection started meanwhile keeps its page; the verdict stays in the log. One still
    // stopping shows the verdict once it is down.
    if (vpnProcess
        && (vpnProcess->procStatus == VPNProcess::ProcConnecting
            || vpnProcess->procStatus == VPNProcess::ProcConnected))
        return;
    diagnosisRoad = DiagnosisVerdict::roadOf(kind);
    if (diagnosisRoad == DiagnosisVerdict::UseMirror && !mirrorToolFound)
        diagnosisRoad = DiagnosisVerdict::NoRoad;
    diagnosisLabel->setText(DiagnosisVerdict::text(kind));
    const QString road = DiagnosisVerdict::roadText(DiagnosisVerdict::Road(diagnosisRoad));
    diagnosisButton->setText(road);
    diagnosisButton->setAccessibleName(road);
    diagnosisButton->setVisible(!road.isEmpty());
    diagnosisWidget->show();
    refreshConnectionPage();

    const bool switchable
        = diagnosisRoad == DiagnosisVerdict::UseTcp || diagnosisRoad == DiagnosisVerdict::UseMirror;
    if (switchable && settingAutoSwitchCheckBox->isChecked() && !connectionByAutoSwitch)
        takeRoad(diagnosisRoad, true);
}

void MainWindow::diagnosisRoadClicked()
{
    takeRoad(diagnosisRoad, false);
}

void MainWindow::takeRoad(int road, bool automatically)
{
    // The attempt that was diagnosed is down before the next road is taken.
    if (vpnProcess && vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(true);
    QString note;
    switch (road) {
    case DiagnosisVerdict::ChooseServer:
        diagnosisWidget->hide();
        ui->vpnConManualChoiceButton->click();
        return;
    case DiagnosisVerdict::UseTcp:
        ui->settingProtTCPRButton->setChecked(true);
        note = tr("The client switched to TCP by itself.");
        break;
    case DiagnosisVerdict::UseMirror:
        // As the settings page would: the mirror setting, and TCP, which the mirror carries.
        mirrorFlags[1] = true;
        mirrorActive = mirrorToolFound;
        ui->settingProtTCPRButton->setChecked(true);
        ui->settingProtWidget->setEnabled(false);
        note = tr("The client switched to the mirror route by itself.");
        break;
    default:
        return;
    }
    saveSettings(Set_General);
    diagnosisButton->hide();
    if (automatically) {
        Loger::writeLine(QStringLiteral("Diagnosis: switched by itself to ")
                         + (road == DiagnosisVerdict::UseTcp ? QStringLiteral("TCP")
                                                             : QStringLiteral("the mirror route")));
        diagnosisLabel->setText(diagnosisLabel->text() + QLatin1Char(' ') + note);
        autoSwitchPending = true;
    }
    connectTo(firstServerIndex, secondServerIndex);
}

// The verdict stands in place of the bare failure text while the page is idle.
void MainWindow::showDiagnosisOnIdlePage()
{
    if (!diagnosisWidget || diagnosisWidget->isHidden())
        return;
    ui->vpnConLoadingLabel->clear();
    ui->vpnConStatusStackedWidget->setCurrentIndex(2);
}

// MainWindow: the road from a connect action to a verified tunnel and back.

#include "api/replyparsers.h"
#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "core/loger.h"
#include "engine/configpatches.h"
#include "engine/openvpnseries.h"
#include "system/platform.h"
#include "ui/formattimeleft.h"
#include "ui/messagedialogs.h"
#include "ui/statformat.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTimer>

namespace {

// The controller answers every stop; a stop that hangs still ends the wait after its own
// longest wait has passed.
const int StopWaitLimitMs = VPNProcess::LongWaitMs + 5000;
const int NewIpRetryDelayMs = 1000;
const int NewIpMaxRetries = 2;

} // namespace

// ---- connect actions -----------------------------------------------------------------------

void MainWindow::connectTo(int first, int second)
{
    firstServerIndex = first;
    secondServerIndex = second;
    startConnection();
}

void MainWindow::on_vpnConAutoChoiceButton_clicked()
{
    if (currentSubIndex < 0 || currentSubIndex >= subscriptions.size())
        return;
    QRandomGenerator random(
        static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() & 0xffffffffu));
    switch (subscriptions.at(currentSubIndex).type) {
    case 1:
    case 3:
    case 4: {
        if (servers.isEmpty())
            return;
        const int k = random.bounded(servers.size());
        connectTo(k, k);
        return;
    }
    case 2: {
        QVector<int> entries;
        for (int i = 0; i < servers.size(); ++i) {
            if (servers.at(i).doubleEntry)
                entries.append(i);
        }
        if (entries.isEmpty())
            return;
        const int entry = entries.at(random.bounded(entries.size()));
        const QVector<int> &exits = servers.at(entry).doubleExits;
        if (exits.isEmpty())
            return;
        connectTo(entry, exits.at(random.bounded(exits.size())));
        return;
    }
    default:
        showErrorDialog(10, {}, dialogParent());
        return;
    }
}

int MainWindow::serverIndexOfId(const QVariant &id, int fallback) const
{
    if (!id.isValid())
        return fallback;
    const int wanted = id.toInt();
    for (int i = 0; i < servers.size(); ++i) {
        if (servers.at(i).id == wanted)
            return i;
    }
    return fallback;
}

void MainWindow::on_vpnServConnectButton_clicked()
{
    QListWidget *list = ui->vpnServStackedWidget->currentIndex() == 0
        ? ui->vpnServAllServListWidget
        : ui->vpnServFavServListWidget;
    if (list->currentRow() >= 0)
        emit list->doubleClicked(list->currentIndex());
}

void MainWindow::on_vpnServAllServListWidget_doubleClicked(const QModelIndex &index)
{
    const int k = serverIndexOfId(index.data(Qt::UserRole), firstServerIndex);
    if (vpnProcess && vpnProcess->procStatus == VPNProcess::ProcConnected)
        stopConnection(true);
    connectTo(k, k);
}

void MainWindow::on_vpnServFavServListWidget_doubleClicked(const QModelIndex &index)
{
    on_vpnServAllServListWidget_doubleClicked(index);
}

void MainWindow::on_vpnDoubleFavServConnectButton_clicked()
{
    QListWidget *list = ui->vpnDoubleFavServListWidget;
    if (list->currentRow() >= 0)
        emit list->doubleClicked(list->currentIndex());
}

void MainWindow::on_vpnDoubleFavServListWidget_doubleClicked(const QModelIndex &index)
{
    const int first = serverIndexOfId(index.data(Qt::UserRole), firstServerIndex);
    const int second = serverIndexOfId(index.data(Qt::UserRole + 1), secondServerIndex);
    if (vpnProcess && vpnProcess->procStatus == VPNProcess::ProcConnected)
        stopConnection(true);
    connectTo(first, second);
}

void MainWindow::on_vpnDoubleServConnectButton_clicked()
{
    const QVariant first = ui->vpnDoubleServFirstComboBox->currentData(Qt::UserRole);
    const QVariant second = ui->vpnDoubleServSecondComboBox->currentData(Qt::UserRole);
    if (!first.isValid() || !second.isValid())
        return;
    if (vpnProcess && vpnProcess->procStatus == VPNProcess::ProcConnected)
        stopConnection(true);
    connectTo(first.toInt(), second.toInt());
}

void MainWindow::on_vpnInfoReconnectButton_clicked()
{
    if (ui->vpnInfoChangeIPComboBox->isEnabled()) {
        const int k = ui->vpnInfoChangeIPComboBox->currentData(Qt::UserRole).toInt();
        if (k >= 0 && k < servers.size()) {
            saveSettings(Set_FavoriteIP);
            if (firstServerIndex == secondServerIndex)
                firstServerIndex = k;
            secondServerIndex = k;
        }
    }
    stopConnection(true);
    startConnection();
}

void MainWindow::switchVPNActionTriggered()
{
    if (!vpnUpdateTimer->isActive()) {
        bool connect = true;
        restoreLastServer(currentSubIndex, connect);
    } else {
        ui->vpnConCancelButton->click();
    }
}

void MainWindow::on_vpnConCancelButton_clicked()
{
    Loger::writeLine(tr("Stopping VPN connection"));
    disarmDiagnosis(true);
    stopConnection(true);
}

// ---- the chain --------------------------------------------------------------------------

void MainWindow::startConnection()
{
    if (!vpnProcess)
        return;
    ui->stackedWidget->setCurrentIndex(Page_Connection);
    QCoreApplication::processEvents();

    vpnProcess->procStatus = VPNProcess::ProcConnecting;
    armDiagnosis();
    refreshConnectionPage();

    for (qint32 &counter : trafficCounters)
        counter = 0;
    sendRequest(Req_OriginalIP);

    saveSettings(Set_LastConnection);
}

// A reply of the chain that arrives once the connection has been left is logged and dropped;
// its worker is still disposed of.
bool MainWindow::replyOutlivedItsConnection(const QString &logPrefix,
                                            VPNProcess::VPNProcessStatus expected)
{
    if (vpnProcess && vpnProcess->procStatus == expected)
        return false;
    Loger::writeLine(logPrefix
                     + tr("Interrupt connection status detected. Cancelation reply processing"));
    emit replyReceived();
    return true;
}

void MainWindow::getOriginalIPReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_OriginalIP);
    if (replyOutlivedItsConnection(QStringLiteral("[7]: ")))
        return;
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    const QString ip = parseUserIp(envelope.object);
    if (!envelope.ok || ip.isEmpty()) {
        RequestLog::writeFailure(Req_OriginalIP, envelope.ok ? Exc_Decode : envelope.failure,
                                 snapshot.errorString);
        stopConnection(false);
        startDiagnosis();
        showErrorDialog(6, {}, dialogParent());
        return;
    }
    originalIp = ip;
    Loger::writeLine(QStringLiteral("[7]: ") + tr("Real IP received"));
    sendRequest(mirrorActive ? Req_MirrorToolConfig : Req_OpenVPNConfig);
}

void MainWindow::getOpenVPNConfigReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_OpenVPNConfig);
    if (replyOutlivedItsConnection(QStringLiteral("[9]: ")))
        return;
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();

    bool saved = false;
    if (snapshot.failedWithoutBody() || snapshot.error != QNetworkReply::NoError) {
        RequestLog::writeFailure(Req_OpenVPNConfig, Exc_Network, snapshot.errorString);
    } else {
        QFile file(ovpnConfigPath);
        if (!Platform::instance().createOwnerOnly(file)) {
            Loger::writeLine(QStringLiteral("[9]: ")
                             + tr("Unable to save openvpn configuration in file"));
        } else {
            QByteArray config = patchDevice(snapshot.body);
            if (mirrorActive)
                config = patchMirror(config, ssConfigPath, mirrorEndpoint);
            if (ui->settingDNSProtectCheckBox->isChecked())
                config = patchDNS(config, appDir, tempDir);
            config = removeUnsafeLines(config, OpenVpnSeries::longLines(openVpnVersion));
            saved = file.write(config) == config.size();
            file.close();
            if (!saved)
                Loger::writeLine(QStringLiteral("[9]: ")
                                 + tr("Unable to save openvpn configuration in file"));
        }
    }
    if (!saved) {
        stopConnection(false);
        showErrorDialog(5, {}, dialogParent());
        return;
    }
    Loger::writeLine(QStringLiteral("[9]: ")
                     + tr("openvpn configuration has been successfully saved in file"));
    Loger::writeLine(tr("Initializing VPN connection"));
    emit vpnProcessStart(QString());
}

void MainWindow::vpnStateChanged(VPNProcess::VPNProcessStatus status)
{
    if (!vpnProcess)
        return;
    switch (status) {
    case VPNProcess::ProcUnconnected:
        if (ui->stackedWidget->currentIndex() == Page_Info)
            ui->vpnInfoBackButton->click();
        emit vpnProcessStopped();
        refreshConnectionPage();
        // OpenVPN ended with an error before the tunnel came up.
        if (vpnProcess->errorSeen)
            startDiagnosis();
        break;
    case VPNProcess::ProcConnected:
        disarmDiagnosis(true);
        sendRequest(Req_NewIP);
        break;
    case VPNProcess::ProcConnecting:
    case VPNProcess::ProcDisconnecting:
        break;
    }
}

void MainWindow::getNewIPReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_NewIP);
    // The address through the tunnel is asked for once the tunnel is up; an answer that
    // arrives after a disconnect must not start the connection timer again.
    if (replyOutlivedItsConnection(QStringLiteral("[8]: "), VPNProcess::ProcConnected))
        return;
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    const QString ip = parseUserIp(envelope.object);
    if (!envelope.ok || ip.isEmpty()) {
        RequestLog::writeFailure(Req_NewIP, envelope.ok ? Exc_Decode : envelope.failure,
                                 snapshot.errorString);
        ++newIpRetries;
        if (newIpRetries <= NewIpMaxRetries) {
            Loger::writeLine(QStringLiteral("[10]: ")
                             + tr("retrying network request (retry: %0)").arg(newIpRetries));
            QTimer::singleShot(NewIpRetryDelayMs, this, SLOT(getNewIPRetry()));
        } else {
            newIpRetries = 0;
            stopConnection(true);
            showErrorDialog(7, {}, dialogParent());
        }
        return;
    }
    newIp = ip;
    newIpRetries = 0;
    Loger::writeLine(QStringLiteral("[8]: ") + tr("User's IP through VPN connection received"));

    // Equal addresses mean the traffic does not go through the tunnel: that is never shown
    // or reported as a connection.
    if (originalIp.compare(newIp, Qt::CaseInsensitive) == 0) {
        Loger::writeLine(QStringLiteral("[8]: ")
                         + tr("User's IP before and after VPN connection establishment are "
                              "equal"));
        showErrorDialog(11, {}, dialogParent());
        stopConnection(true);
        return;
    }
    connectedSeconds = 0;
    vpnUpdateTimer->start(1000);
    refreshConnectionPage();
}

void MainWindow::getNewIPRetry()
{
    if (!vpnProcess || vpnProcess->procStatus != VPNProcess::ProcConnected)
        return;
    sendRequest(Req_NewIP);
}

// ---- ticks ------------------------------------------------------------------------------

void MainWindow::vpnDataStatChanged(int in, int out)
{
    const QString inText = formatSize(in);
    const QString outText = formatSize(out);
    ui->vpnInfoTrafficInLabel->setText(inText);
    ui->vpnInfoTrafficOutLabel->setText(outText);
    emit statWidgetTrafficChanged(inText, outText);

    trafficCounters[0] += in - trafficCounters[1];
    trafficCounters[1] = in;
    trafficCounters[2] += out - trafficCounters[3];
    trafficCounters[3] = out;
}

void MainWindow::timerVPNUpdate()
{
    if (!vpnProcess)
        return;
    ++connectedSeconds;
    if (vpnProcess->errorSeen) {
        if (vpnProcess->procStatus != VPNProcess::ProcConnected) {
            vpnUpdateTimer->stop();
            stopConnection(false);
        } else {
            vpnProcess->errorSeen = false;
        }
    }
    const QString time = formatDuration(static_cast<uint>(connectedSeconds));
    ui->vpnInfoTimeLabel->setText(time);
    emit statWidgetTimeChanged(time);
    const QString inSpeed = formatSpeed(trafficCounters[0]);
    const QString outSpeed = formatSpeed(trafficCounters[2]);
    ui->vpnInfoSpeedInLabel->setText(inSpeed);
    ui->vpnInfoSpeedOutLabel->setText(outSpeed);
    emit statWidgetSpeedChanged(inSpeed, outSpeed);
    trafficCounters[0] = 0;
    trafficCounters[2] = 0;
}

void MainWindow::timerSubUpdate()
{
    if (currentSubIndex < 0 || currentSubIndex >= subscriptions.size())
        return;
    const QString left = formatTimeLeft(subscriptions.at(currentSubIndex).timeEnd,
                                        qint16(interfaceLanguage()), true);
    if (!left.isEmpty()) {
        ui->vpnConSubLeftLabel->setText(left);
        subExpired = false;
        return;
    }
    ui->vpnConSubLeftLabel->setText(tr("expired"));
    subExpired = true;
    subUpdateTimer->stop();
    if (vpnProcess && vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(false);
    else
        refreshConnectionPage();
}

// ---- stop -------------------------------------------------------------------------------

void MainWindow::stopConnection(bool wait)
{
    // After the quit there is no controller left to stop.
    if (!vpnProcess)
        return;
    vpnProcess->procStatus = VPNProcess::ProcDisconnecting;
    emit vpnProcessStop();
    Loger::writeLine(tr("openvpn process closed"));
    refreshConnectionPage();

    if (vpnProcess->procStatus != VPNProcess::ProcUnconnected && wait) {
        QEventLoop loop;
        connect(this, SIGNAL(vpnProcessStopped()), &loop, SLOT(quit()));
        QTimer::singleShot(StopWaitLimitMs, &loop, SLOT(quit()));
        loop.exec();
        refreshConnectionPage();
    }

    if (mirrorActive && ssProcess
        && ssProcess->status != ShadowsocksProcess::Shadowsocks_NotRunning) {
        if (wait) {
            QEventLoop loop;
            connect(this, SIGNAL(shadowsocksProcessStopped()), &loop, SLOT(quit()));
            QTimer::singleShot(StopWaitLimitMs, &loop, SLOT(quit()));
            emit shadowsocksProcessStop();
            loop.exec();
        } else {
            emit shadowsocksProcessStop();
        }
    }
}

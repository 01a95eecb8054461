// MainWindow: what the connection page, the information page, the tray and the statistics
// window show of the connection.

#include "window/mainwindow.h"
#include "core/loger.h"
#include "ui/statwidget.h"
#include "ui/statwidgetplacement.h"
#include "ui/traynotification.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QTimer>

namespace {

const int DotsIntervalMs = 500;

QString statusText(const QString &word)
{
    return QStringLiteral("<p><span style=\" font-size:13px;\">") + word
        + QStringLiteral("</span><span style=\" color:rgba(0,0,0,0);\">.</span><span style=\" "
                         "color:rgba(0,0,0,0);\">.</span><span style=\" "
                         "color:rgba(0,0,0,0);\">.</span></p>");
}

} // namespace

void MainWindow::restartConnectionDots()
{
    stopConnectionDots();
    connectionDotsTimerId = startTimer(DotsIntervalMs, Qt::CoarseTimer);
}

void MainWindow::stopConnectionDots()
{
    if (connectionDotsTimerId >= 0) {
        killTimer(connectionDotsTimerId);
        connectionDotsTimerId = -1;
    }
}

// The route named by the tray's connect action.
QString MainWindow::connectActionRoute() const
{
    const int type = subscriptions.at(currentSubIndex).type;
    const bool firstValid = firstServerIndex >= 0 && firstServerIndex < servers.size();
    const bool secondValid = secondServerIndex >= 0 && secondServerIndex < servers.size();
    switch (type) {
    case 1:
    case 3:
    case 4:
        if (!firstValid)
            return tr("auto select");
        return QStringLiteral("%0, %1").arg(servers.at(firstServerIndex).countryName,
                                            servers.at(firstServerIndex).cityName);
    case 2:
        if (!firstValid || !secondValid)
            return tr("auto select");
        return QStringLiteral("%0, %1").arg(servers.at(firstServerIndex).countryName,
                                            servers.at(secondServerIndex).countryName);
    default:
        return tr("unknown");
    }
}

void MainWindow::refreshConnectionPage()
{
    if (!vpnProcess)
        return;
    const QString openVpnLog = vpnProcess->logFilePath();
    const QString logName
        = QFileInfo(openVpnLog).size() > 0 ? openVpnLog : Loger::currentFileName();
    const QString failureText
        = tr("<p style=\" color:#ff0000; font-size: 13px;\"><span>Unable to connect.</span><a "
             "href=\"file:///")
        + logName
        + tr("\"><br><span style=\" font-size: 13px; text-decoration: underline; "
             "color:#ff0000;\">View log</span></a></p>");
    const QString connectingText = statusText(tr("Connecting"));
    const QString disconnectingText = statusText(tr("Disconnecting"));

    const bool validSub = currentSubIndex >= 0 && currentSubIndex < subscriptions.size();
    if (validSub)
        refreshSubscriptionPanel();
    ui->vpnConAutoChoiceButton->setEnabled(!servers.isEmpty());

    const VPNProcess::VPNProcessStatus status = vpnProcess->procStatus;
    switch (status) {
    case VPNProcess::ProcConnecting:
    case VPNProcess::ProcDisconnecting: {
        const bool connecting = status == VPNProcess::ProcConnecting;
        restartConnectionDots();
        ui->vpnConLoadingLabel->setText(connecting ? connectingText : disconnectingText);
        ui->vpnConAutoChoiceButton->setVisible(!connecting);
        if (connecting) {
            ui->vpnConCancelButton->setText(tr("ABORT"));
            ui->vpnConCancelWidget->show();
        } else {
            ui->vpnConCancelWidget->hide();
            ui->vpnConAutoChoiceButton->setEnabled(false);
        }
        ui->stngBlockOtherConWidget->setEnabled(false);
        ui->vpnConChangeSubButton->setEnabled(false);
        ui->vpnConManualChoiceButton->setEnabled(false);
        ui->vpnConStatusStackedWidget->setCurrentIndex(2);
        if (switchVPNAction)
            switchVPNAction->setEnabled(false);
        if (showStatAction)
            showStatAction->setVisible(false);
        break;
    }
    case VPNProcess::ProcConnected: {
        stopConnectionDots();
        const bool entryValid = firstServerIndex >= 0 && firstServerIndex < servers.size();
        const bool exitValid = secondServerIndex >= 0 && secondServerIndex < servers.size();
        if (entryValid) {
            ui->vpnConConCountryLabel1->setText(servers.at(firstServerIndex).countryName);
            ui->vpnConConCityLabel1->setText(servers.at(firstServerIndex).cityName);
        }
        if (exitValid) {
            ui->vpnConConCountryLabel2->setText(servers.at(secondServerIndex).countryName);
            ui->vpnConConCityLabel2->setText(servers.at(secondServerIndex).cityName);
        }
        ui->vpConConSecondServWidget->setVisible(validSub
                                                 && subscriptions.at(currentSubIndex).type == 2);
        ui->vpnConLoadingLabel->clear();
        ui->vpnConAutoChoiceButton->hide();
        ui->vpnConCancelButton->setText(tr("SWITCH OFF VPN"));
        ui->vpnConCancelWidget->show();
        ui->vpnConManualChoiceButton->setEnabled(true);
        ui->vpnConChangeSubButton->setEnabled(true);
        ui->stngBlockOtherConWidget->setEnabled(false);
        ui->vpnConStatusStackedWidget->setCurrentIndex(1);
        if (switchVPNAction) {
            switchVPNAction->setEnabled(true);
            switchVPNAction->setText(tr("Disconnect VPN"));
        }
        if (showStatAction)
            showStatAction->setVisible(true);
        if (ui->settingShowStatWgtCheckBox->isChecked() && !statWindowOpen)
            openStatWidget();
        fillInfoPage();
        alertIfMinimised();
        if (windowOutOfView())
            showTrayNotification(6, windowTitle(), {originalIp, newIp}, trayIcon);
        break;
    }
    case VPNProcess::ProcUnconnected: {
        stopConnectionDots();
        const bool failed
            = vpnProcess->errorSeen || (mirrorActive && ssProcess && ssProcess->stoppedOnError);
        if (failed)
            ui->vpnConLoadingLabel->setText(failureText);
        else
            ui->vpnConLoadingLabel->clear();
        ui->vpnConAutoChoiceButton->show();
        ui->vpnConCancelWidget->hide();
        ui->vpnConChangeSubButton->setEnabled(true);
        ui->stngBlockOtherConWidget->setEnabled(true);
        ui->vpnConManualChoiceButton->setEnabled(!subExpired);
        ui->vpnConAutoChoiceButton->setEnabled(!subExpired && !servers.isEmpty());
        ui->vpnConStatusStackedWidget->setCurrentIndex(failed ? 2 : 0);
        if (failed)
            alertIfMinimised();
        showDiagnosisOnIdlePage();
        if (switchVPNAction) {
            switchVPNAction->setEnabled(true);
            if (validSub)
                switchVPNAction->setText(tr("Connect VPN (%0)").arg(connectActionRoute()));
        }
        if (showStatAction)
            showStatAction->setVisible(false);
        vpnUpdateTimer->stop();
        originalIp.clear();
        emit statWidgetClose();
        if (windowOutOfView() && lastTrayNotificationType() != 0)
            showTrayNotification(7, windowTitle(), {}, trayIcon);
        break;
    }
    }
    updateTrayIcon();
    updateTrayToolTip();
    announceConnectionStatus();
}

void MainWindow::fillInfoPage()
{
    ui->vpnInfoOrIPButton->setText(originalIp);
    ui->vpnInfoNewIPButton->setText(newIp);
    const bool entryValid = firstServerIndex >= 0 && firstServerIndex < servers.size();
    const bool exitValid = secondServerIndex >= 0 && secondServerIndex < servers.size();
    if (entryValid)
        ui->vpnInfoLocationLabel->setText(servers.at(firstServerIndex).countryName
                                          + QStringLiteral(", ")
                                          + servers.at(firstServerIndex).cityName);
    if (exitValid)
        ui->vpnInfoLocationLabel2->setText(servers.at(secondServerIndex).countryName
                                           + QStringLiteral(", ")
                                           + servers.at(secondServerIndex).cityName);
    ui->vpnInfoProtocolLabel->setText(ui->settingProtTCPRButton->isChecked()
                                          ? ui->settingProtTCPRButton->text()
                                          : ui->settingProtUDPRButton->text());

    QComboBox *choice = ui->vpnInfoChangeIPComboBox;
    choice->clear();
    const int type = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
    auto addServer = [this, choice](int k) {
        if (k >= 0 && k < servers.size())
            choice->addItem(servers.at(k).ip, k);
    };
    if (type == 2) {
        ui->vpnInfoLocationLabel2->show();
        if (entryValid && exitValid) {
            for (int k : servers.at(secondServerIndex).otherServersOfCity(secondServerIndex)) {
                if (servers.at(firstServerIndex).doubleExits.contains(k))
                    addServer(k);
            }
        }
    } else if (type == 1 || type == 3 || type == 4) {
        ui->vpnInfoLocationLabel2->hide();
        if (entryValid) {
            for (int k : servers.at(firstServerIndex).otherServersOfCity(firstServerIndex))
                addServer(k);
        }
    } else {
        ui->vpnInfoLocationLabel2->hide();
    }
    const bool choices = choice->count() > 0;
    choice->setEnabled(choices);
    ui->vpnInfoChangeIPWidget->setVisible(choices);
    ui->vpnInfoReconnectButton->setEnabled(choices);
}

// ---- statistics window -----------------------------------------------------------------

void MainWindow::openStatWidget()
{
    if (statWindowOpen || statWidget || !vpnProcess
        || vpnProcess->procStatus != VPNProcess::ProcConnected)
        return;
    // On the main window's screen; a position that had to be replaced is not tried again.
    statWindowPosition = StatWidgetPlacement::positionNear(statWindowPosition, this);

    auto *widget = new StatWidget({statWindowPosition}, nullptr);
    connect(this, SIGNAL(statWidgetTimeChanged(QString)), widget, SLOT(dataTimeChanged(QString)));
    connect(this, SIGNAL(statWidgetTrafficChanged(QString, QString)), widget,
            SLOT(dataTrafficChanged(QString, QString)));
    connect(this, SIGNAL(statWidgetSpeedChanged(QString, QString)), widget,
            SLOT(dataSpeedChanged(QString, QString)));
    connect(this, SIGNAL(statWidgetClose()), widget, SIGNAL(closeWidget()));
    connect(widget, SIGNAL(closed(QPoint)), this, SLOT(statWidgetClosed(QPoint)));
    statWidget = widget;
    statWindowOpen = true;
    // What the information page shows now, not the form's zeros until the next tick.
    emit statWidgetTimeChanged(ui->vpnInfoTimeLabel->text());
    emit statWidgetTrafficChanged(ui->vpnInfoTrafficInLabel->text(),
                                  ui->vpnInfoTrafficOutLabel->text());
    emit statWidgetSpeedChanged(ui->vpnInfoSpeedInLabel->text(), ui->vpnInfoSpeedOutLabel->text());
    widget->show();
}

void MainWindow::statWidgetClosed(QPoint position)
{
    statWindowOpen = false;
    statWindowPosition = position;
    saveSettings(Set_StatWindow);
}

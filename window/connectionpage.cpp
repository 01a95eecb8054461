// MainWindow: what the connection page, the information page, the tray and the statistics
// window show of the connection.

#include "core/clientsettings.h"
#include "core/loger.h"
#include "ui/statwidget.h"
#include "ui/statwidgetplacement.h"
#include "ui/traynotification.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

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
    case Sub_Premium:
    case Sub_Onion:
    case Sub_Free:
        if (!firstValid)
            return tr("auto select");
        return QStringLiteral("%0, %1").arg(servers.at(firstServerIndex).countryName,
                                            servers.at(firstServerIndex).cityName);
    case Sub_Double:
        if (!firstValid || !secondValid)
            return tr("auto select");
        return QStringLiteral("%0, %1").arg(servers.at(firstServerIndex).countryName,
                                            servers.at(secondServerIndex).countryName);
    default:
        return tr("unknown");
    }
}

// What a connection being made again says: it waits for the network, or reconnects.
QString MainWindow::reconnectingWord() const
{
    return connection->waitingForNetwork() ? tr("Waiting for the network") : tr("Reconnecting");
}

int MainWindow::connectionStatusNumber() const
{
    switch (connection->state()) {
    case ConnectionController::Unconnected:
        return 0;
    case ConnectionController::Connecting:
    case ConnectionController::TunnelUp:
    case ConnectionController::Reconnecting:
        return 1;
    case ConnectionController::Verified:
        return 2;
    case ConnectionController::Disconnecting:
        return 3;
    }
    return 0;
}

void MainWindow::refreshConnectionPage()
{
    renderConnection(connection->state(), connection->lastAttemptFailed());
}

void MainWindow::renderConnection(ConnectionController::State state, bool failed)
{
    const QString openVpnLog = connection->openVpnLogPath();
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

    switch (state) {
    case ConnectionController::Connecting:
    case ConnectionController::TunnelUp:
    case ConnectionController::Reconnecting:
    case ConnectionController::Disconnecting: {
        const bool connecting = state != ConnectionController::Disconnecting;
        const bool reconnecting = state == ConnectionController::Reconnecting;
        restartConnectionDots();
        ui->vpnConLoadingLabel->setText(reconnecting     ? statusText(reconnectingWord())
                                            : connecting ? connectingText
                                                         : disconnectingText);
        ui->vpnConAutoChoiceButton->setVisible(!connecting);
        if (reconnecting)
            emit statWidgetTimeChanged(reconnectingWord());
        if (connecting) {
            // A connection that waits for the network is switched off, not aborted.
            ui->vpnConCancelButton->setText(reconnecting ? tr("SWITCH OFF VPN") : tr("ABORT"));
            ui->vpnConCancelWidget->show();
        } else {
            ui->vpnConCancelWidget->hide();
            ui->vpnConAutoChoiceButton->setEnabled(false);
        }
        ui->vpnConChangeSubButton->setEnabled(false);
        ui->vpnConManualChoiceButton->setEnabled(false);
        ui->vpnConStatusStackedWidget->setCurrentIndex(Status_Busy);
        // A connection being made again can be switched off from the tray as well.
        if (switchVPNAction) {
            switchVPNAction->setEnabled(reconnecting);
            if (reconnecting)
                switchVPNAction->setText(tr("Disconnect VPN"));
        }
        if (showStatAction)
            showStatAction->setVisible(reconnecting);
        break;
    }
    case ConnectionController::Verified: {
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
        ui->vpConConSecondServWidget->setVisible(
            validSub && subscriptions.at(currentSubIndex).type == Sub_Double);
        ui->vpnConLoadingLabel->clear();
        ui->vpnConAutoChoiceButton->hide();
        ui->vpnConCancelButton->setText(tr("SWITCH OFF VPN"));
        ui->vpnConCancelWidget->show();
        ui->vpnConManualChoiceButton->setEnabled(true);
        ui->vpnConChangeSubButton->setEnabled(true);
        ui->vpnConStatusStackedWidget->setCurrentIndex(Status_Connected);
        if (switchVPNAction) {
            switchVPNAction->setEnabled(true);
            switchVPNAction->setText(tr("Disconnect VPN"));
        }
        if (showStatAction)
            showStatAction->setVisible(true);
        if (settings->showStatOnConnect() && !statWindowOpen)
            openStatWidget();
        fillInfoPage();
        alertIfMinimised();
        if (windowOutOfView())
            showTrayNotification(6, windowTitle(), {connection->originalIp(), connection->newIp()},
                                 trayIcon);
        break;
    }
    case ConnectionController::Unconnected: {
        stopConnectionDots();
        if (failed)
            ui->vpnConLoadingLabel->setText(failureText);
        else
            ui->vpnConLoadingLabel->clear();
        ui->vpnConAutoChoiceButton->show();
        ui->vpnConCancelWidget->hide();
        ui->vpnConChangeSubButton->setEnabled(true);
        ui->vpnConManualChoiceButton->setEnabled(!subExpired);
        ui->vpnConAutoChoiceButton->setEnabled(!subExpired && !servers.isEmpty());
        ui->vpnConStatusStackedWidget->setCurrentIndex(failed ? Status_Busy : Status_Idle);
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
        emit statWidgetClose();
        if (windowOutOfView() && lastTrayNotificationType() != 0)
            showTrayNotification(7, windowTitle(), {}, trayIcon);
        break;
    }
    }
    renderSettingsPageConnection();
    updateTrayIcon();
    updateTrayToolTip();
    announceConnectionStatus();
}

void MainWindow::fillInfoPage()
{
    ui->vpnInfoOrIPButton->setText(connection->originalIp());
    ui->vpnInfoNewIPButton->setText(connection->newIp());
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
    ui->vpnInfoProtocolLabel->setText(settings->udp() ? QStringLiteral("UDP")
                                                      : QStringLiteral("TCP"));

    QComboBox *choice = ui->vpnInfoChangeIPComboBox;
    choice->clear();
    const int type = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
    auto addServer = [this, choice](int k) {
        if (k >= 0 && k < servers.size())
            choice->addItem(servers.at(k).ip, k);
    };
    if (type == Sub_Double) {
        ui->vpnInfoLocationLabel2->show();
        if (entryValid && exitValid) {
            for (int k : servers.at(secondServerIndex).otherServersOfCity(secondServerIndex)) {
                if (servers.at(firstServerIndex).doubleExits.contains(k))
                    addServer(k);
            }
        }
    } else if (type == Sub_Premium || type == Sub_Onion || type == Sub_Free) {
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
    if (statWindowOpen || statWidget || !connection->tunnelUp())
        return;
    // On the main window's screen; a position that had to be replaced is not tried again.
    const QPoint position = StatWidgetPlacement::positionNear(settings->statWindowPosition(), this);
    settings->setStatWindowPosition(position);

    auto *widget = new StatWidget({position}, nullptr);
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
    settings->setStatWindowPosition(position);
    saveSettings(Set_StatWindow);
}

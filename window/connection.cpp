// MainWindow: the connect actions of the pages and the tray, turned into calls on the
// connection controller, and what the window renders of the connection's course.

#include "core/clientsettings.h"
#include "core/loger.h"
#include "ui/formattimeleft.h"
#include "ui/messagedialogs.h"
#include "ui/statformat.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDateTime>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTimer>

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
    case Sub_Premium:
    case Sub_Onion:
    case Sub_Free: {
        if (servers.isEmpty())
            return;
        const int k = random.bounded(servers.size());
        connectTo(k, k);
        return;
    }
    case Sub_Double: {
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
    if (connection->tunnelUp())
        connection->stop(true);
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
    if (connection->tunnelUp())
        connection->stop(true);
    connectTo(first, second);
}

void MainWindow::on_vpnDoubleServConnectButton_clicked()
{
    const QVariant first = ui->vpnDoubleServFirstComboBox->currentData(Qt::UserRole);
    const QVariant second = ui->vpnDoubleServSecondComboBox->currentData(Qt::UserRole);
    if (!first.isValid() || !second.isValid())
        return;
    if (connection->tunnelUp())
        connection->stop(true);
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
    connection->stop(true);
    startConnection();
}

void MainWindow::switchVPNActionTriggered()
{
    if (!connection->tunnelUp()) {
        bool connect = true;
        restoreLastServer(currentSubIndex, connect);
    } else {
        ui->vpnConCancelButton->click();
    }
}

void MainWindow::on_vpnConCancelButton_clicked()
{
    connection->abort();
}

void MainWindow::startConnection()
{
    ui->stackedWidget->setCurrentIndex(Page_Connection);
    QCoreApplication::processEvents();
    connection->connectRoute();
    saveSettings(Set_LastConnection);
}

// ---- what the connection reports --------------------------------------------------------

void MainWindow::connectionStateChanged(ConnectionController::State state)
{
    if (state == ConnectionController::Unconnected
        && ui->stackedWidget->currentIndex() == Page_Info)
        ui->vpnInfoBackButton->click();
    refreshConnectionPage();
}

void MainWindow::connectionFailed(int dialogCode, const QStringList &arguments)
{
    showErrorDialog(dialogCode, arguments, dialogParent());
}

void MainWindow::connectionTrafficChanged(qint64 received, qint64 sent)
{
    const QString inText = formatSize(received);
    const QString outText = formatSize(sent);
    ui->vpnInfoTrafficInLabel->setText(inText);
    ui->vpnInfoTrafficOutLabel->setText(outText);
    emit statWidgetTrafficChanged(inText, outText);
}

void MainWindow::connectionTicked(int seconds, qint64 receivedPerSecond, qint64 sentPerSecond)
{
    const QString time = formatDuration(static_cast<uint>(seconds));
    ui->vpnInfoTimeLabel->setText(time);
    emit statWidgetTimeChanged(time);
    const QString inSpeed = formatSpeed(receivedPerSecond);
    const QString outSpeed = formatSpeed(sentPerSecond);
    ui->vpnInfoSpeedInLabel->setText(inSpeed);
    ui->vpnInfoSpeedOutLabel->setText(outSpeed);
    emit statWidgetSpeedChanged(inSpeed, outSpeed);
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
    if (connection->state() != ConnectionController::Unconnected)
        connection->stop(false);
    else
        refreshConnectionPage();
}

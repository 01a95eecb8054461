// MainWindow: the server list of the chosen subscription and the route of the last run.

#include "api/replyparsers.h"
#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "api/restoredecision.h"
#include "core/clientsettings.h"
#include "core/favoriterules.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "ui/messagedialogs.h"
#include "ui/traynotification.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QNetworkReply>

namespace {

QStringList addressesOf(const QVector<VPNServer> &servers)
{
    QStringList addresses;
    addresses.reserve(servers.size());
    for (const VPNServer &server : servers)
        addresses << server.ip;
    return addresses;
}

} // namespace

void MainWindow::loadFavoritesIntoServers(int subscriptionType)
{
    if (FavoriteRules::arrayNameForType(subscriptionType).isEmpty())
        return;
    markFavorites(
        subscriptionType,
        SettingsStore(SettingsStore::fileNameIn(dataDir)).loadFavorites(subscriptionType));
}

void MainWindow::markFavorites(int subscriptionType, const FavoritesSettings &stored)
{
    storedFavorites = stored;
    const QStringList addresses = addressesOf(servers);
    if (subscriptionType == 2) {
        const QVector<QVector<int>> exits
            = FavoriteRules::restoreFavoriteExits(stored.pairs, addresses);
        for (int i = 0; i < servers.size() && i < exits.size(); ++i)
            servers[i].favoriteExits = exits.at(i);
    } else {
        const QVector<bool> flags = FavoriteRules::markFavorites(stored.addresses, addresses);
        for (int i = 0; i < servers.size() && i < flags.size(); ++i)
            servers[i].favorite = flags.at(i);
    }
}

void MainWindow::serverListFailed(RequestType type)
{
    autoConnectPending = false;
    ui->subsNextButton->setEnabled(true);
    ui->subsSubComboBox->setEnabled(true);
    // A remembered subscription is chosen from the waiting page; a failure must not leave
    // the user there with nothing to press.
    if (ui->stackedWidget->currentIndex() == Page_Auth) {
        waitForPageSlide();
        ui->stackedWidget->setCurrentIndex(Page_Subscription);
    }
    if (windowOutOfView())
        showTrayNotification(4, windowTitle(), {}, trayIcon);
    showErrorDialog(type == Req_DoubleServerList ? 3 : 2, {}, dialogParent());
}

void MainWindow::getServerListReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_ServerList);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    if (!envelope.ok) {
        RequestLog::writeFailure(Req_ServerList, envelope.failure, snapshot.errorString);
        serverListFailed(Req_ServerList);
        return;
    }

    const int type = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
        ? subscriptions.at(currentSubIndex).type
        : 0;
    servers = parseServerList(envelope.object, type, interfaceLanguage());
    loadFavoritesIntoServers(type);
    expiryWarningShown = false;
    Loger::writeLine(tr("[5]: VPN server list received. Server count: %0").arg(servers.size()));

    switch (serverListFollowUp(type)) {
    case FollowUp_DoubleMap:
        sendRequest(Req_DoubleServerList);
        return;
    case FollowUp_ListReady:
        serverListReady();
        return;
    case FollowUp_InvalidType:
        Loger::writeLine(RequestLog::invalidSubscriptionTypeLine());
        serverListFailed(Req_ServerList);
        return;
    }
}

void MainWindow::getDoubleServerListReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_DoubleServerList);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    if (!envelope.ok) {
        RequestLog::writeFailure(Req_DoubleServerList, envelope.failure, snapshot.errorString);
        serverListFailed(Req_DoubleServerList);
        return;
    }

    applyDoubleMap(servers, envelope.object);
    serverListReady();
}

void MainWindow::serverListReady()
{
    ui->subsNextButton->setEnabled(true);
    refreshConnectionPage();
    waitForPageSlide();
    ui->stackedWidget->setCurrentIndex(Page_Connection);
    if (settings->checkAvailableServers()) {
        startServerAvailabilityCheck();
        waitForServerAvailabilityCheck();
    }
    fillServerLists();
    fillFavoriteLists();
    restoreLastServer(currentSubIndex, autoConnectPending);
    if (autoConnectPending)
        autoConnectPending = false;
    else
        refreshConnectionPage();
}

void MainWindow::restoreLastServer(int &subIndex, bool &autoConnect)
{
    const int type
        = subIndex >= 0 && subIndex < subscriptions.size() ? subscriptions.at(subIndex).type : 0;
    const RestoreDecision decision
        = decideRestoreLastServer(type, firstServerIndex, secondServerIndex, autoConnect,
                                  storedLastServerId(1), storedLastServerId(2), servers);
    firstServerIndex = decision.firstServerIndex;
    secondServerIndex = decision.secondServerIndex;

    switch (decision.action) {
    case RestoreDecision::Restore_Nothing:
        break;
    case RestoreDecision::Restore_UnsupportedType:
        showErrorDialog(10, {}, dialogParent());
        break;
    case RestoreDecision::Restore_Connect:
        startConnection();
        break;
    case RestoreDecision::Restore_AutoChoice:
        ui->vpnConAutoChoiceButton->click();
        break;
    }
}

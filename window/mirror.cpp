// MainWindow: the second API address that sign-in falls back to, and the mirror decision.

#include "api/mirrorcheck.h"
#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "ui/messagedialogs.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QNetworkReply>

bool MainWindow::tryOtherApiBase()
{
    const QString defaultApi = endpoints.apiBase;
    if (apiBaseUrl == emergencyAddress && !emergencyByDefault)
        return false;
    if (apiBaseUrl == defaultApi) {
        if (emergencyByDefault)
            return false;
        apiBaseUrl = emergencyAddress;
        siteBaseUrl = emergencyAddress;
    } else {
        apiBaseUrl = emergencyByDefault ? defaultApi : emergencyAddress;
        siteBaseUrl = emergencyByDefault ? endpoints.siteBase : emergencyAddress;
    }
    setLinkTexts(siteBaseUrl);
    setDialogSiteBase(siteBaseUrl);
    return true;
}

void MainWindow::restorePrimaryApiBase()
{
    if (apiBaseUrl == emergencyAddress && !emergencyByDefault)
        apiBaseUrl = endpoints.apiBase;
    else if (apiBaseUrl == endpoints.apiBase && emergencyByDefault)
        apiBaseUrl = emergencyAddress;
}

void MainWindow::getSiteReachableReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_SiteReachable);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();

    if (snapshot.envelope().ok) {
        apiReachable = true;
        // The address that answered becomes the primary one of the next run.
        saveSettings(Set_EmergencyAddress);
        emit siteKSAPIReachableContinue();
        return;
    }
    if (tryOtherApiBase()) {
        Loger::writeLine(tr("[11]: Trying reconnect to emergency address"));
        sendRequest(Req_SiteReachable);
        return;
    }
    restorePrimaryApiBase();
    apiReachable = false;
    emit siteKSAPIReachableContinue();
}

void MainWindow::getServerMirrorCheckReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_ServerMirrorCheck);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();

    // A failed check never stops the sign-in: the other reasons for the mirror still count.
    if (snapshot.failedWithoutBody()) {
        RequestLog::writeFailure(Req_ServerMirrorCheck, Exc_Network, snapshot.errorString);
    } else {
        const MirrorCheck check = parseMirrorCheck(snapshot.body);
        if (check.valid)
            mirrorAskedByCountry = check.listed;
        else
            Loger::writeLine(RequestLog::wrongMirrorCheckDataLine());
    }

    bool mirrorActive
        = mirrorAskedByLanguage || settings->serverMirrorConfig() || mirrorAskedByCountry;
    Loger::writeLine(
        tr("Server Mirror Configuration needed: %0").arg(mirrorActive ? tr("yes") : tr("no")));

    if (mirrorActive && !connection->mirrorToolFound()) {
        mirrorActive = false;
        Loger::writeLine(
            tr("Server Mirror Configuration disabled: Shadowsocks component not found."));
        showErrorDialog(9,
                        {tr("Shadowsocks component not found.<br>Server mirror configurations "
                            "are disabled.")},
                        dialogParent());
    }
    connection->setMirrorActive(mirrorActive);
    if (mirrorActive) {
        // The mirror tool carries TCP only; the settings page shows it fixed.
        settings->setUdp(false);
        Loger::writeLine(tr("[WARNING]: server mirror configuration required TCP protocol only"));
    }

    sendRequest(Req_SubsList);
}

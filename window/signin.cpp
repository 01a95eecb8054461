// MainWindow: the sign-in chain up to the choice of a subscription.

#include "api/replyparsers.h"
#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "ui/messagedialogs.h"
#include "ui/traynotification.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"
#include "core/clientsettings.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QFontMetrics>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {

const int subscriptionTimerMs = 1000;
const int emailLabelWidth = 200;

} // namespace

bool MainWindow::windowOutOfView() const
{
    return !isVisible() || isMinimized();
}

QWidget *MainWindow::dialogParent()
{
    return isVisible() ? this : nullptr;
}

int MainWindow::interfaceLanguage() const
{
    // 1 Russian, 2 English, 3 Chinese, 4 Spanish, 5 Ukrainian; English until one is chosen.
    return languageIndex >= 1 && languageIndex <= 5 ? languageIndex : 2;
}

// ---- settings written by the sign-in side ----------------------------------------------

void MainWindow::takeSignInForm()
{
    LoginDataSettings values;
    values.rememberMe = ui->mainRememberCheckBox->isChecked();
    values.login = ui->mainLoginLineEdit->text();
    values.password = ui->mainPswdLineEdit->text();
    settings->setLoginData(values);
}

int MainWindow::storedLastServerId(int which)
{
    const QVariantList ids = loadSettings(Set_LastConnection);
    return ids.value(which == 1 ? 0 : 1, -1).toInt();
}

// ---- the chain ----------------------------------------------------------------------------

void MainWindow::startSignIn()
{
    // The construction always gives the window an address; a window put together without
    // one (the page tests) has no service to ask and leaves the pages to their own moves.
    if (apiBaseUrl.isEmpty()) {
        Loger::writeLine(tr("Sign-in not started: no service address"));
        return;
    }
    QCoreApplication::processEvents();
    saveSettings(Set_LoginData);

    // Reply [11] answers once it has tried both addresses; each try has the worker's time
    // limit, so this bound is only a safety net.
    apiReachable = false;
    QEventLoop loop;
    connect(this, SIGNAL(siteKSAPIReachableContinue()), &loop, SLOT(quit()));
    QTimer::singleShot(3 * qMax(settings->requestTimeout(), 1000) + 5000, &loop, SLOT(quit()));
    sendRequest(Req_SiteReachable);
    loop.exec();

    if (!apiReachable) {
        autoConnectPending = false;
        waitForPageSlide();
        ui->stackedWidget->setCurrentIndex(Page_SignIn);
        showErrorDialog(0, {tr("Server not reachable.")}, dialogParent());
        return;
    }
    sendRequest(Req_SignKey);
}

void MainWindow::signInFailed(RequestType type, NetworkRequestExceptionType failure,
                              const QString &userText)
{
    Q_UNUSED(failure)
    autoConnectPending = false;
    waitForPageSlide();
    const bool subscriptionList = type == Req_SubsList;
    if (windowOutOfView())
        showTrayNotification(subscriptionList ? 2 : 1, windowTitle(), {}, trayIcon);
    if (isVisible()) {
        pageSlideInProgress = true;
        slideToPage(Page_SignIn);
    } else {
        ui->stackedWidget->setCurrentIndex(Page_SignIn);
    }
    if (subscriptionList)
        showErrorDialog(1, {}, dialogParent());
    else
        showErrorDialog(0, {userText}, dialogParent());
}

void MainWindow::getSignKeyReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_SignKey);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    if (!envelope.ok) {
        RequestLog::writeFailure(Req_SignKey, envelope.failure, snapshot.errorString);
        QString text = tr("Incorrect server reply.");
        if (envelope.failure == Exc_Network)
            text = snapshot.userErrorText;
        else if (envelope.failure == Exc_Declined)
            text = tr("Server declined authorization request");
        signInFailed(Req_SignKey, envelope.failure, text);
        return;
    }

    requestKey = parseSignKey(envelope.object);
    Loger::writeLine(tr("[1]: Authorization key received"));
    saveSettings(Set_EmergencyAddress);
    sendRequest(Req_Auth);
}

void MainWindow::getAuthReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_Auth);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    if (!envelope.ok) {
        RequestLog::writeFailure(Req_Auth, envelope.failure, snapshot.errorString);
        QString text = tr("Incorrect server reply.");
        if (envelope.failure == Exc_Network)
            text = snapshot.userErrorText;
        else if (envelope.failure == Exc_Declined)
            text = tr("Server declined authorization request.");
        signInFailed(Req_Auth, envelope.failure, text);
        return;
    }

    const AuthInfo account = parseAuth(envelope.object);
    authToken = account.authToken;
    userId = account.userId;
    userEmail = account.userEmail;
    userName = account.userName;

    preparePage(Page_Subscription);
    const QString shown = QFontMetrics(ui->subsEmailLabel->font())
                              .elidedText(userEmail, Qt::ElideRight, emailLabelWidth);
    for (QLabel *label : {ui->subsEmailLabel, ui->vpnConEmailLabel, ui->vpnServEmailLabel,
                          ui->vpnInfoEmailLabel, ui->vpnDoubleServEmailLabel})
        label->setText(shown);
    showAccountOnSettingsPage(shown);
    Loger::writeLine(tr("[2]: Authorization completed (account: %0)").arg(userEmail));

    sendRequest(Req_ServerMirrorCheck);
}

void MainWindow::getSubsListReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_SubsList);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();
    const ReplyEnvelope envelope = snapshot.envelope();
    if (!envelope.ok) {
        RequestLog::writeFailure(Req_SubsList, envelope.failure, snapshot.errorString);
        signInFailed(Req_SubsList, envelope.failure, QString());
        return;
    }

    subscriptions = parseSubscriptions(envelope.object);
    fillSubscriptionCombo();
    Loger::writeLine(
        tr("[4]: Subscription list received. Subscription count: %0").arg(subscriptions.size()));
    Loger::writeLine(tr("[4]: Authorization completed"));

    waitForPageSlide();
    if (settings->packageId() >= 0 && ui->subsSubComboBox->isEnabled())
        ui->subsNextButton->click();
    else
        ui->stackedWidget->setCurrentIndex(Page_Subscription);
}

void MainWindow::on_subsNextButton_clicked()
{
    const bool fromConnectionPage = pageHistory.returnPage() == Page_Connection
        && ui->stackedWidget->currentIndex() == Page_Subscription;
    if (fromConnectionPage) {
        firstServerIndex = -1;
        secondServerIndex = -1;
        saveSettings(Set_LastConnection);
    }

    if (!ui->subsSubComboBox->isEnabled()) {
        QDesktopServices::openUrl(QUrl(siteBaseUrl + buyPagePath(interfaceLanguage())));
        Loger::writeLine(
            tr("Subscription selected: no active subscription (purchase webpage opened)"));
        return;
    }

    const int index = ui->subsSubComboBox->currentIndex();
    if (index < 0 || index >= subscriptions.size())
        return;
    currentSubIndex = index;
    const Subscription &chosen = subscriptions.at(index);
    settings->setPackageId(chosen.id);
    ui->subsBackButton->hide();
    ui->subsNextButton->setEnabled(false);
    ui->subsSubComboBox->setEnabled(false);
    QCoreApplication::processEvents();
    Loger::writeLine(tr("Subscription selected: %0").arg(chosen.typeName));

    if (chosen.type >= Sub_Premium && chosen.type <= Sub_Free) {
        sendRequest(Req_ServerList);
        // The general section stores the chosen package together with everything else the
        // user has set.
        saveSettings(Set_General);
        subUpdateTimer->start(subscriptionTimerMs);
        timerSubUpdate();
        ui->vpnConLoadingLabel->clear();
        return;
    }

    showErrorDialog(10, {}, dialogParent());
    ui->subsNextButton->setEnabled(true);
    ui->subsSubComboBox->setEnabled(true);
    if (fromConnectionPage)
        ui->subsBackButton->show();
    QCoreApplication::processEvents();
}

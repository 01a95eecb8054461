#include "api/apirequestbuilder.h"
#include "api/requestlauncher.h"
#include "api/requestlog.h"
#include "window/mainwindow.h"
#include "ui_mainwindow.h"

namespace {

// The reply slot of each request kind.
const char *replySlotFor(RequestType type)
{
    switch (type) {
    case Req_SignKey:
        return SLOT(getSignKeyReply(QNetworkReply *));
    case Req_Auth:
        return SLOT(getAuthReply(QNetworkReply *));
    case Req_ServerMirrorCheck:
        return SLOT(getServerMirrorCheckReply(QNetworkReply *));
    case Req_SubsList:
        return SLOT(getSubsListReply(QNetworkReply *));
    case Req_ServerList:
        return SLOT(getServerListReply(QNetworkReply *));
    case Req_DoubleServerList:
        return SLOT(getDoubleServerListReply(QNetworkReply *));
    case Req_OriginalIP:
        return SLOT(getOriginalIPReply(QNetworkReply *));
    case Req_OpenVPNConfig:
        return SLOT(getOpenVPNConfigReply(QNetworkReply *));
    case Req_NewIP:
        return SLOT(getNewIPReply(QNetworkReply *));
    case Req_SiteReachable:
        return SLOT(getSiteReachableReply(QNetworkReply *));
    case Req_MirrorToolConfig:
        return SLOT(getMirrorToolConfigReply(QNetworkReply *));
    }
    return nullptr;
}

} // namespace

void MainWindow::setTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    trustedCertificates = certificates;
}

void MainWindow::sendRequest(RequestType type)
{
    ApiRequestContext context;
    context.apiBaseUrl = apiBaseUrl;
    context.emergencyAddress = emergencyAddress;
    context.emergencyIsIp = emergencyIsIp;
    context.apiHostName = endpoints.apiHostName;
    context.ipEchoBase = endpoints.ipEchoBase;
    context.requestKey = requestKey;
    context.authToken = authToken;
    context.userId = userId;
    context.login = ui->mainLoginLineEdit->text();
    context.password = ui->mainPswdLineEdit->text();
    context.useTcp = ui->settingProtTCPRButton->isChecked();
    context.protocolLabel
        = context.useTcp ? ui->settingProtTCPRButton->text() : ui->settingProtUDPRButton->text();
    context.setRoute(subscriptions, currentSubIndex, servers, firstServerIndex, secondServerIndex);

    const ApiRequest request = ApiRequestBuilder::build(type, context);
    RequestLog::writeRequest(request);

    RequestRoute route;
    route.owner = this;
    route.disposeSignal = SIGNAL(replyReceived());
    route.receiver = this;
    route.replySlot = replySlotFor(type);
    route.sslErrorsSlot = SLOT(sendRequestSSLErrors(QNetworkReply *, QList<QSslError>));
    route.timeoutMs = requestTimeout;
    route.caCertificates = trustedCertificates;
    launchRequest(request, route);
}

void MainWindow::sendRequestSSLErrors(QNetworkReply *, const QList<QSslError> &errors)
{
    // Logged only: a certificate that fails validation fails the request.
    RequestLog::writeSslErrors(errors);
}

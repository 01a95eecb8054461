#include "api/apirequestbuilder.h"
#include "api/requestlauncher.h"
#include "api/requestlog.h"
#include "core/clientsettings.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

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
    case Req_SiteReachable:
        return SLOT(getSiteReachableReply(QNetworkReply *));
    case Req_OriginalIP:
    case Req_OpenVPNConfig:
    case Req_NewIP:
    case Req_MirrorToolConfig:
        // The connection controller sends these.
        break;
    }
    return nullptr;
}

} // namespace

void MainWindow::setTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    trustedCertificates = certificates;
    connection->setTrustedCertificates(certificates);
}

ApiRequestContext MainWindow::requestContext() const
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
    context.useTcp = !settings->udp();
    context.protocolLabel = context.useTcp ? QStringLiteral("TCP") : QStringLiteral("UDP");
    context.setRoute(subscriptions, currentSubIndex, servers, firstServerIndex, secondServerIndex);
    return context;
}

void MainWindow::sendRequest(RequestType type)
{
    const ApiRequest request = ApiRequestBuilder::build(type, requestContext());
    RequestLog::writeRequest(request);

    RequestRoute route;
    route.owner = this;
    route.disposeSignal = SIGNAL(replyReceived());
    route.receiver = this;
    route.replySlot = replySlotFor(type);
    route.sslErrorsSlot = SLOT(sendRequestSSLErrors(QNetworkReply *, QList<QSslError>));
    route.timeoutMs = settings->requestTimeout();
    route.caCertificates = trustedCertificates;
    launchRequest(request, route);
}

void MainWindow::sendRequestSSLErrors(QNetworkReply *, const QList<QSslError> &errors)
{
    // Logged only: a certificate that fails validation fails the request.
    RequestLog::writeSslErrors(errors);
}

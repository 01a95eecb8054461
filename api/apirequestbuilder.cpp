#include "apirequestbuilder.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

// A form value as an HTML form would send it: QUrlQuery leaves '+' alone, which a form
// decoder on the service reads as a blank, so a password with '+' would never match.
QByteArray formEncoded(const QString &value)
{
    return QUrl::toPercentEncoding(value);
}

QByteArray authHeaderUserId(int userId)
{
    return QString::number(userId).toLatin1();
}

} // namespace

namespace ApiRequestBuilder {

int logNumber(RequestType type)
{
    switch (type) {
    case Req_SignKey:
        return 1;
    case Req_Auth:
        return 2;
    case Req_ServerMirrorCheck:
        return 3;
    case Req_SubsList:
        return 4;
    case Req_ServerList:
        return 5;
    case Req_DoubleServerList:
        return 6;
    case Req_OriginalIP:
        return 7;
    case Req_OpenVPNConfig:
        return 9;
    case Req_NewIP:
        return 8;
    case Req_SiteReachable:
        return 11;
    case Req_MirrorToolConfig:
        return 10;
    }
    return 0;
}

QString logTag(RequestType type)
{
    return QStringLiteral("[%1]").arg(logNumber(type));
}

QString logName(RequestType type)
{
    switch (type) {
    case Req_SignKey:
        return QCoreApplication::translate("MainWindow", "auth key for server [1]");
    case Req_Auth:
        return QCoreApplication::translate("MainWindow", "user's authorization [2]");
    case Req_ServerMirrorCheck:
        return QCoreApplication::translate("MainWindow", "additional authorization support [3]");
    case Req_SubsList:
        return QCoreApplication::translate("MainWindow", "user's subscriptions [4]");
    case Req_ServerList:
        return QCoreApplication::translate("MainWindow", "available VPN server list (premium/free sub) [5]");
    case Req_DoubleServerList:
        return QCoreApplication::translate("MainWindow", "available VPN server list (double sub) [6]");
    case Req_OriginalIP:
        return QCoreApplication::translate("MainWindow", " user's original IP [7]");
    case Req_OpenVPNConfig:
        return QCoreApplication::translate("MainWindow", "openvpn configuration for VPN connection [9]");
    case Req_NewIP:
        return QCoreApplication::translate("MainWindow", "user's IP througth VPN connection [8]");
    case Req_SiteReachable:
        return QCoreApplication::translate("MainWindow", " server's availability on default address [11]");
    case Req_MirrorToolConfig:
        return QCoreApplication::translate("MainWindow", " mirror tool config [10]");
    }
    return QString();
}

bool isLiteralIpBase(const QString &address)
{
    static const QRegularExpression literalIp(
        QStringLiteral("//[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}"));
    return literalIp.match(address).hasMatch();
}

QString openVpnConfigKind(int subscriptionType)
{
    switch (subscriptionType) {
    case 1:
    case 4:
        return QStringLiteral("single");
    case 2:
        return QStringLiteral("double");
    case 3:
        return QStringLiteral("onion");
    default:
        return QStringLiteral("unknown");
    }
}

ApiRequest build(RequestType type, const ApiRequestContext &context)
{
    ApiRequest result;
    result.type = type;
    result.method = QByteArrayLiteral("GET");
    result.logName = logName(type);

    QNetworkRequest &request = result.request;
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    // Reached by its literal address, the API still needs its own name to pick the site.
    if (context.emergencyIsIp && context.apiBaseUrl == context.emergencyAddress)
        request.setRawHeader(QByteArrayLiteral("Host"), context.apiHostName);

    const auto setAuthHeaders = [&request, &context]() {
        request.setRawHeader(QByteArrayLiteral("X-Auth-Id"), authHeaderUserId(context.userId));
        request.setRawHeader(QByteArrayLiteral("X-Auth-Token"), context.authToken.toLatin1());
    };
    const QString &base = context.apiBaseUrl;

    switch (type) {
    case Req_SignKey:
        request.setUrl(QUrl(base + QStringLiteral("/v1/api/sign")));
        break;
    case Req_Auth:
        request.setUrl(QUrl(base + QStringLiteral("/v1/user/auth")));
        request.setRawHeader(QByteArrayLiteral("X-Request-Key"), context.requestKey.toLatin1());
        result.method = QByteArrayLiteral("POST");
        result.body = QByteArrayLiteral("login=") + formEncoded(context.login)
            + QByteArrayLiteral("&password=") + formEncoded(context.password);
        break;
    case Req_ServerMirrorCheck:
        request.setUrl(QUrl(context.ipEchoBase + QStringLiteral("/api/checkrealip")));
        // The echo service is not the API: its name must not be replaced.
        request.setRawHeader(QByteArrayLiteral("Host"), QByteArray());
        break;
    case Req_SubsList:
        request.setUrl(QUrl(base + QStringLiteral("/v1/package/list")));
        setAuthHeaders();
        break;
    case Req_ServerList:
        request.setUrl(QUrl(base + QStringLiteral("/v1/server/list?idPackage=")
                            + QString::number(context.subscription.id)));
        setAuthHeaders();
        break;
    case Req_DoubleServerList:
        request.setUrl(QUrl(base + QStringLiteral("/v1/server/double-map-in")));
        setAuthHeaders();
        break;
    case Req_OriginalIP:
    case Req_NewIP:
        request.setUrl(QUrl(base + QStringLiteral("/v1/api/info")));
        setAuthHeaders();
        break;
    case Req_OpenVPNConfig: {
        const int subType = context.subscription.type;
        QUrl url(base + QStringLiteral("/v1/openvpn/config-") + openVpnConfigKind(subType)
                 + QStringLiteral("-complement"));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("idPackage"), QString::number(context.subscription.id));
        const QString unknown = QStringLiteral("unknown");
        if (subType == 2) {
            query.addQueryItem(QStringLiteral("idServerIn"),
                               context.hasEntry ? QString::number(context.entryServer.id)
                                                : unknown);
            query.addQueryItem(QStringLiteral("idServerOut"),
                               context.hasExit ? QString::number(context.exitServer.id) : unknown);
        } else if (subType == 1 || subType == 3 || subType == 4) {
            query.addQueryItem(QStringLiteral("idServer"),
                               context.hasEntry ? QString::number(context.entryServer.id)
                                                : unknown);
        } else {
            query.addQueryItem(QStringLiteral("idServer"), unknown);
        }
        query.addQueryItem(QStringLiteral("proto"),
                           context.useTcp ? QStringLiteral("tcp") : QStringLiteral("udp"));
        url.setQuery(query);
        request.setUrl(url);
        setAuthHeaders();
        result.extraLogLines << QCoreApplication::translate("MainWindow", "[9]: VPN Server info: %0, %1 (IP: %2, Protocol: %3)")
                                    .arg(context.entryServer.cityName,
                                         context.entryServer.countryIso, context.entryServer.ip,
                                         context.protocolLabel);
        break;
    }
    case Req_SiteReachable:
        request.setUrl(QUrl(base + QStringLiteral("/v1/api/info")));
        break;
    case Req_MirrorToolConfig:
        request.setUrl(QUrl(base + QStringLiteral("/v1/shadow/config")));
        setAuthHeaders();
        break;
    }
    return result;
}

} // namespace ApiRequestBuilder

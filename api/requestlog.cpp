#include "requestlog.h"

#include "api/apirequestbuilder.h"
#include "core/loger.h"

#include <QCoreApplication>

namespace {

// What could not be done, as the "Details:" line of a failed transfer names it.
QString networkFailureWords(RequestType type)
{
    switch (type) {
    case Req_SignKey:
        return QCoreApplication::translate("MainWindow", "Unable to get authorization key");
    case Req_Auth:
        return QCoreApplication::translate("MainWindow", "Authorization failed");
    case Req_ServerMirrorCheck:
        return QCoreApplication::translate("MainWindow", "Unable to get authorization support reply");
    case Req_SubsList:
        return QCoreApplication::translate("MainWindow", "Unable to get subscription list");
    case Req_ServerList:
        return QCoreApplication::translate("MainWindow", "Unable to get available VPN server list");
    case Req_DoubleServerList:
        return QCoreApplication::translate("MainWindow", "Unable to get VPN server list (double sub)");
    case Req_OriginalIP:
        return QCoreApplication::translate("MainWindow", "Unable to get user's original IP");
    case Req_OpenVPNConfig:
        return QCoreApplication::translate("MainWindow", "Unable to get openvpn configuration");
    case Req_NewIP:
        return QCoreApplication::translate("MainWindow", "Unable to get user's IP througth VPN connection");
    case Req_MirrorToolConfig:
        return QCoreApplication::translate("MainWindow", "Unable to get mirror tool configuration");
    case Req_SiteReachable:
        break;
    }
    return QString();
}

void writeLines(const QStringList &lines)
{
    for (const QString &line : lines)
        Loger::writeLine(line);
}

} // namespace

namespace RequestLog {

void writeRequest(const ApiRequest &request)
{
    // One call: a line that another thread (OpenVPN's or the mirror tool's controller) writes
    // between the pieces of a line written piecewise lands inside it and takes its start.
    Loger::writeLine(
        QCoreApplication::translate("MainWindow", "Request to Kestrune server was sent: ")
        + request.logName);
    writeLines(request.extraLogLines);
}

QString replyHeaderLine(RequestType type)
{
    return QCoreApplication::translate("MainWindow", "Server reply on %0").arg(ApiRequestBuilder::logTag(type));
}

void writeReplyHeader(RequestType type)
{
    Loger::writeLine(replyHeaderLine(type));
}

QStringList failureLines(RequestType type, NetworkRequestExceptionType failure,
                         const QString &errorString)
{
    if (type == Req_SiteReachable)
        return {};
    const QString tag = ApiRequestBuilder::logTag(type) + QStringLiteral(": ");
    switch (failure) {
    case Exc_Declined:
        return {tag + QCoreApplication::translate("MainWindow", "\"declined\" server reply")};
    case Exc_Decode:
        return {tag + QCoreApplication::translate("MainWindow", "Unable to decode server reply")};
    case Exc_Network:
        return {tag + networkFailureWords(type) + QCoreApplication::translate("MainWindow", ". Details:"), errorString};
    }
    return {};
}

void writeFailure(RequestType type, NetworkRequestExceptionType failure, const QString &errorString)
{
    writeLines(failureLines(type, failure, errorString));
}

QString invalidSubscriptionTypeLine()
{
    return ApiRequestBuilder::logTag(Req_ServerList) + QStringLiteral(": ")
        + QCoreApplication::translate("MainWindow", "Invalid subscription type");
}

QString wrongMirrorCheckDataLine()
{
    return ApiRequestBuilder::logTag(Req_ServerMirrorCheck) + QStringLiteral(": ")
        + QCoreApplication::translate("MainWindow", "Wrong server data");
}

QStringList sslErrorLines(const QList<QSslError> &errors)
{
    QStringList lines {QCoreApplication::translate("MainWindow", "There are SSL errors occurred during request to server. Details:")};
    for (const QSslError &error : errors)
        lines << error.errorString();
    return lines;
}

void writeSslErrors(const QList<QSslError> &errors)
{
    writeLines(sslErrorLines(errors));
}

} // namespace RequestLog

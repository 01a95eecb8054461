#include "replyerrortext.h"

#include <QObject>

QString replyErrorText(QNetworkReply *reply)
{
    if (!reply)
        return QObject::tr("Unknown error.");
    return replyErrorText(reply->property("timedout").toBool(), reply->error());
}

QString replyErrorText(bool timedOut, QNetworkReply::NetworkError error)
{
    if (timedOut)
        return QObject::tr("Can't connect to server within given time interval.");
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return QObject::tr("Can't connect to server.");
    case QNetworkReply::ContentNotFoundError:
        return QObject::tr("Requested data not found on server.");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return QObject::tr("Proxy connection error. Turn off system proxy.");
    default:
        return QObject::tr("Unknown error.");
    }
}

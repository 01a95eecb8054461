#pragma once

#include "api/requesttype.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QStringList>

// Everything needed to send one request and to log it; built without touching the network.
struct ApiRequest
{
    RequestType type = Req_SignKey;
    QByteArray method; // "GET" or "POST"
    QNetworkRequest request;
    QByteArray body; // POST only
    QString logName; // appended to the "request sent" log line
    QStringList extraLogLines; // full lines written after the request line
};

#pragma once

#include "api/networkrequestexceptiontype.h"

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkReply>

// The common answer of the service: one JSON object whose "result" says whether the
// request was accepted. A failed transfer that still brought a body (an HTTP error status
// with the service's JSON answer) is read like a successful one.
struct ReplyEnvelope
{
    bool ok = false;
    NetworkRequestExceptionType failure = Exc_Network; // meaningful when !ok
    QJsonObject object; // the answer, when it was a JSON object

    static ReplyEnvelope decode(QNetworkReply::NetworkError error, const QByteArray &body);

    // The whole body of a finished reply; empty for one that was aborted before it had a
    // body (reading a closed reply only makes Qt complain).
    static QByteArray readBody(QNetworkReply *reply)
    {
        return reply && reply->isOpen() ? reply->readAll() : QByteArray();
    }

    // The transfer failed and left nothing to read: the replies that are not JSON ([3],
    // [9], [10]) share this first test.
    static bool failedWithoutBody(QNetworkReply::NetworkError error, const QByteArray &body)
    {
        return error != QNetworkReply::NoError && body.isEmpty();
    }
};

#pragma once

#include "api/replyenvelope.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QString>

// Everything a reply slot needs from a finished reply, taken in one step on the GUI
// thread. Once taken, the slot can emit replyReceived() (which lets the worker destroy
// the reply at any moment) and still log, decode and show the failure.
struct ReplySnapshot
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    bool timedOut = false; // the worker's time limit aborted it
    int httpStatus = 0; // 0 when no HTTP answer came
    QString errorString; // for the "Details:" log line
    QString userErrorText; // replyErrorText(): for the user
    QByteArray body;

    static ReplySnapshot take(QNetworkReply *reply);

    // The transfer failed and left nothing to read.
    bool failedWithoutBody() const { return ReplyEnvelope::failedWithoutBody(error, body); }
    // The body as the service's JSON answer.
    ReplyEnvelope envelope() const { return ReplyEnvelope::decode(error, body); }
};

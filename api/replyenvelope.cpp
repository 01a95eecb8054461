#include "replyenvelope.h"

#include <QJsonDocument>
#include <QJsonParseError>

ReplyEnvelope ReplyEnvelope::decode(QNetworkReply::NetworkError error, const QByteArray &body)
{
    ReplyEnvelope envelope;
    if (failedWithoutBody(error, body)) {
        envelope.failure = Exc_Network;
        return envelope;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError || document.isEmpty() || document.isNull()) {
        envelope.failure = Exc_Decode;
        return envelope;
    }
    // An array document has no "result" and so reads as declined.
    envelope.object = document.object();
    if (!envelope.object.value(QStringLiteral("result")).toBool(false)) {
        envelope.failure = Exc_Declined;
        return envelope;
    }
    envelope.ok = true;
    return envelope;
}

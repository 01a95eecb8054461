#include "replysnapshot.h"

#include "api/replyerrortext.h"

ReplySnapshot ReplySnapshot::take(QNetworkReply *reply)
{
    ReplySnapshot snapshot;
    if (!reply) {
        snapshot.error = QNetworkReply::UnknownNetworkError;
        snapshot.userErrorText = replyErrorText(nullptr);
        return snapshot;
    }
    snapshot.error = reply->error();
    snapshot.timedOut = reply->property("timedout").toBool();
    snapshot.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    snapshot.errorString = reply->errorString();
    snapshot.userErrorText = replyErrorText(reply);
    snapshot.body = ReplyEnvelope::readBody(reply);
    return snapshot;
}

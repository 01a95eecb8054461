#pragma once

#include "api/apirequest.h"
#include "api/networkrequestexceptiontype.h"
#include "api/requesttype.h"

#include <QList>
#include <QSslError>
#include <QStringList>

// The log words of the service dialogue. The *Lines functions only compose text; the
// write* functions hand it to the application log.
namespace RequestLog {

// "Request to Kestrune server was sent: " + the request's name, then its extra lines.
void writeRequest(const ApiRequest &request);

// "Server reply on [n]".
QString replyHeaderLine(RequestType type);
void writeReplyHeader(RequestType type);

// The lines that tell why reading a reply failed; none for the reachability check, whose
// failures are expressed by its retry.
QStringList failureLines(RequestType type, NetworkRequestExceptionType failure,
                         const QString &errorString);
void writeFailure(RequestType type, NetworkRequestExceptionType failure,
                  const QString &errorString);

// "[5]: Invalid subscription type": a server list for a subscription type the client cannot
// use, counted as declined but logged in these words.
QString invalidSubscriptionTypeLine();
// "[3]: Wrong server data": an address check reply with fewer than three lines.
QString wrongMirrorCheckDataLine();

// The certificate problems of a request, one line each after a heading line.
QStringList sslErrorLines(const QList<QSslError> &errors);
void writeSslErrors(const QList<QSslError> &errors);

} // namespace RequestLog

#pragma once

#include "api/apirequest.h"
#include "api/apirequestcontext.h"
#include "api/requesttype.h"

#include <QString>

// Pure construction of the service requests: URL, method, headers, body and log words.
// Nothing here sends, logs or reads global state, so every request can be checked
// without a network.
namespace ApiRequestBuilder {

// The number that names the request in every log line: 1..11.
int logNumber(RequestType type);
// "[n]" for the request.
QString logTag(RequestType type);
// The words that follow "Request to Kestrune server was sent: " (translated).
QString logName(RequestType type);

// True when the address names its host by a literal IPv4 address ("http://1.2.3.4...").
bool isLiteralIpBase(const QString &address);

// "single", "double", "onion" or "unknown": the kind in the path of [9].
QString openVpnConfigKind(int subscriptionType);

ApiRequest build(RequestType type, const ApiRequestContext &context);

} // namespace ApiRequestBuilder

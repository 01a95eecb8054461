// The service's replies: the common JSON envelope and every reader of what it holds, and the
// plain-text address check.

#include "api/mirrorcheck.h"
#include "api/replyenvelope.h"
#include "api/replyparsers.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), int(size));
    parseMirrorCheck(body);
    // The first byte picks the transfer result, the subscription type and the language.
    const int pick = size ? data[0] : 0;
    const auto error = (pick & 1) ? QNetworkReply::ContentNotFoundError : QNetworkReply::NoError;
    const ReplyEnvelope envelope = ReplyEnvelope::decode(error, body);
    if (envelope.ok && envelope.object.isEmpty())
        abort(); // an accepted reply always has its object
    const QJsonObject &reply = envelope.object;
    parseSignKey(reply);
    parseAuth(reply);
    parseSubscriptions(reply);
    const int type = 1 + (pick >> 1) % 5;
    QVector<VPNServer> servers = parseServerList(reply, type, 1 + (pick >> 4) % 5);
    fillSameCity(servers);
    applyDoubleMap(servers, reply);
    serverListFollowUp(type);
    buyPagePath(pick % 7);
    return 0;
}

// The network watcher's reading of rtnetlink messages: whatever the bytes, as notifications or
// as a reply (a link dump, a route answer or dump), nothing reads outside the buffer, and every
// route read is one the server's family could have.

#include "system/netlinkroutes.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    NetlinkRoutes netlink;
    netlink.setServer(QHostAddress(QStringLiteral("198.51.100.7")), QStringLiteral("ksvpn_tun"));
    netlink.readNotifications(bytes);
    QVector<NetlinkRoutes::Route> routes;
    int error = 0;
    netlink.readReply(bytes, 0, &routes, &error);
    netlink.readReply(bytes, 1, &routes, &error);
    for (const NetlinkRoutes::Route &route : routes) {
        const int bits = route.destination.protocol() == QAbstractSocket::IPv6Protocol ? 128 : 32;
        if (route.prefixLength < 0 || route.prefixLength > bits)
            abort();
        netlink.judge(route);
    }
    NetlinkRoutes::Route best;
    if (netlink.bestOutsideTunnel(routes, &best) && netlink.isTunnel(best.interfaceIndex))
        abort();
    return 0;
}

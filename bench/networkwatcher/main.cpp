// Prints what a storm of routing notifications costs the network watcher: 100,000 route
// messages (a routing daemon at work: most for other networks, some for the tunnel, one in
// twenty covering the server), read in receive-sized buffers, judged and fed to the settle as
// they would arrive over ten seconds, and the number of decisions the storm gives.
#include "system/netlinkroutes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <QElapsedTimer>
#include <QtEndian>

namespace {

void put(QByteArray *bytes, const void *data, int size)
{
    bytes->append(static_cast<const char *>(data), size);
    bytes->append(QByteArray(NLMSG_ALIGN(size) - size, '\0'));
}

void attribute(QByteArray *bytes, quint16 type, const void *data, int size)
{
    const rtattr header = {quint16(RTA_LENGTH(size)), type};
    put(bytes, &header, sizeof header);
    put(bytes, data, size);
}

QByteArray routeMessage(quint32 destination, int prefixLength, int oif, quint32 gateway)
{
    QByteArray bytes(NLMSG_HDRLEN, '\0');
    rtmsg body = {};
    body.rtm_family = AF_INET;
    body.rtm_dst_len = quint8(prefixLength);
    body.rtm_table = RT_TABLE_MAIN;
    body.rtm_type = RTN_UNICAST;
    put(&bytes, &body, sizeof body);
    const quint32 dst = qToBigEndian(destination), gw = qToBigEndian(gateway), out = quint32(oif);
    attribute(&bytes, RTA_DST, &dst, 4);
    attribute(&bytes, RTA_GATEWAY, &gw, 4);
    attribute(&bytes, RTA_OIF, &out, 4);
    nlmsghdr header = {};
    header.nlmsg_len = quint32(bytes.size());
    header.nlmsg_type = RTM_NEWROUTE;
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

QByteArray linkMessage(int index, const char *name)
{
    QByteArray bytes(NLMSG_HDRLEN, '\0');
    ifinfomsg body = {};
    body.ifi_index = index;
    body.ifi_flags = IFF_UP | IFF_RUNNING;
    put(&bytes, &body, sizeof body);
    attribute(&bytes, IFLA_IFNAME, name, int(std::strlen(name)) + 1);
    nlmsghdr header = {};
    header.nlmsg_len = quint32(bytes.size());
    header.nlmsg_type = RTM_NEWLINK;
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    constexpr int Messages = 100000;
    constexpr qint64 StormMs = 10000;
    const quint32 server = 0xC6336407; // 198.51.100.7
    // Buffers as one receive gives them (up to 64 KiB).
    QVector<QByteArray> buffers(1);
    for (int i = 0; i < Messages; ++i) {
        QByteArray message;
        if (i % 20 == 0)
            message = routeMessage(0, 0, 2, 0xC0000201 + quint32(i % 2)); // default route
        else if (i % 20 == 1)
            message = routeMessage(0, 1, 7, 0); // the tunnel's 0/1
        else
            message = routeMessage(0x0A000000 + (quint32(i) << 8), 24, 2, 0xC0000201);
        if (buffers.last().size() + message.size() > 64 * 1024)
            buffers.append(QByteArray());
        buffers.last() += message;
    }

    const int messageSize = routeMessage(0, 0, 0, 0).size();
    double best = 0;
    int decisions = 0;
    for (int round = 0; round < rounds; ++round) {
        NetlinkRoutes netlink;
        netlink.setServer(QHostAddress(server), QStringLiteral("ksvpn_tun"));
        QVector<NetlinkRoutes::Route> none;
        netlink.readReply(linkMessage(2, "eth0") + linkMessage(7, "ksvpn_tun"), 0, &none);
        RouteDecider decider;
        decider.start(ServerRoute());
        decisions = 0;
        int read = 0;
        QElapsedTimer timer;
        timer.start();
        for (const QByteArray &buffer : buffers) {
            // The messages of a buffer arrive at the storm's pace.
            const qint64 now = StormMs * read / Messages;
            read += buffer.size() / messageSize;
            if (netlink.readNotifications(buffer))
                decider.noteChange(now);
            if (decider.msUntilDecision(now) == 0) {
                decider.decide(ServerRoute());
                ++decisions;
            }
        }
        if (decider.isSettling())
            ++decisions;
        const double perMessage = double(timer.nsecsElapsed()) / Messages;
        best = round == 0 ? perMessage : std::min(best, perMessage);
    }
    std::printf("%d route messages in %d buffers over %lld s: %.0f ns per message (best of %d),"
                " %d decisions\n",
                Messages, int(buffers.size()), StormMs / 1000, best, rounds, decisions);
    std::printf("BENCH\tstorm: time per route message\t%.0f\tns\t-\t<2000\n", best);
    std::printf("BENCH\tstorm: decisions for 100,000 messages in 10 s\t%d\tdecisions\t-\t<=4\n",
                decisions);
    return 0;
}

#include "system/netlinkroutes.h"
#include "system/networkwatcher.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QSocketNotifier>
#include <QTimer>

namespace {

constexpr int ReceiveSize = 64 * 1024;
// Receives per wake-up of the notifier, and the pause after one: a storm is read in slices of
// the backlog rather than one wake-up per message, and the event loop runs between them. What
// the socket cannot hold meanwhile ends as an overrun and a fresh read of the state.
constexpr int ReceivesPerWakeUp = 256;
constexpr int PauseAfterWakeUpMs = 50;
// The kernel answers a request while it is sent; the bound only keeps a strange system from
// holding the thread.
constexpr int ReplyTimeoutMs = 500;
// A dump of a table larger than this is read no further (a full Internet table on a router).
constexpr int ReplyReceivesAtMost = 4096;

int openSocket(unsigned groups, int flags)
{
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | flags, NETLINK_ROUTE);
    if (fd < 0)
        return -1;
    sockaddr_nl local = {};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

struct NetworkWatcher::Platform
{
    ~Platform()
    {
        delete notifier;
        for (int fd : {events, requests})
            if (fd >= 0)
                ::close(fd);
    }

    // Sends one request and reads its reply to the end.
    NetlinkRoutes::Reply ask(const QByteArray &request, QVector<NetlinkRoutes::Route> *routes,
                             int *error = nullptr)
    {
        const quint32 number = ++seq;
        QByteArray bytes = request;
        std::memcpy(bytes.data() + offsetof(nlmsghdr, nlmsg_seq), &number, sizeof number);
        sockaddr_nl kernel = {};
        kernel.nl_family = AF_NETLINK;
        if (::sendto(requests, bytes.constData(), size_t(bytes.size()), 0,
                     reinterpret_cast<sockaddr *>(&kernel), sizeof kernel)
            != bytes.size())
            return NetlinkRoutes::Reply::Failed;
        for (int i = 0; i < ReplyReceivesAtMost; ++i) {
            const ssize_t got = ::recv(requests, buffer.data(), size_t(buffer.size()), 0);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return NetlinkRoutes::Reply::Failed;
            const auto reply = netlink.readReply(
                QByteArray::fromRawData(buffer.constData(), int(got)), number, routes, error);
            if (reply != NetlinkRoutes::Reply::More)
                return reply;
        }
        return NetlinkRoutes::Reply::Failed;
    }

    bool readLinks()
    {
        netlink.forgetLinks();
        QVector<NetlinkRoutes::Route> none;
        return ask(NetlinkRoutes::linkDump(0), &none) == NetlinkRoutes::Reply::Done;
    }

    // A request whose answer is one route: false when the kernel gave no answer at all; a
    // refusal (no route) leaves `answer` empty.
    bool askRoute(const QByteArray &request, QVector<NetlinkRoutes::Route> *answer)
    {
        int error = 0;
        const NetlinkRoutes::Reply reply = ask(request, answer, &error);
        return reply == NetlinkRoutes::Reply::Done || error != 0;
    }

    // The kernel's answer for the server. Where it goes into the tunnel, the route outside
    // the tunnel is the longest prefix of the main table through another interface, and the
    // kernel's answer through that interface gives its gateway and source.
    bool route(ServerRoute *found)
    {
        *found = ServerRoute();
        const QHostAddress &server = netlink.server();
        QVector<NetlinkRoutes::Route> answer;
        if (!askRoute(NetlinkRoutes::routeQuery(server, 0, 0), &answer))
            return false;
        if (answer.isEmpty())
            return true;
        if (!netlink.isTunnel(answer.first().interfaceIndex)) {
            *found = netlink.judge(answer.first());
            return true;
        }
        QVector<NetlinkRoutes::Route> table;
        const int family = server.protocol() == QAbstractSocket::IPv6Protocol ? AF_INET6 : AF_INET;
        if (ask(NetlinkRoutes::routeDump(family, 0), &table) != NetlinkRoutes::Reply::Done)
            return false;
        NetlinkRoutes::Route best;
        if (!netlink.bestOutsideTunnel(table, &best))
            return true;
        QVector<NetlinkRoutes::Route> outside;
        if (!askRoute(NetlinkRoutes::routeQuery(server, best.interfaceIndex, 0), &outside))
            return false;
        if (!outside.isEmpty()) {
            *found = netlink.judge(outside.first());
            found->intoTunnel = true;
        }
        return true;
    }

    NetlinkRoutes netlink;
    // One receive buffer for both sockets: both are read on this thread, one at a time.
    QByteArray buffer = QByteArray(ReceiveSize, Qt::Uninitialized);
    int events = -1;
    int requests = -1;
    quint32 seq = 0;
    QSocketNotifier *notifier = nullptr;
};

NetworkWatcher::NetworkWatcher(QObject *parent)
    : QObject(parent)
    , m_settleTimer(new QTimer(this))
{
    m_settleTimer->setSingleShot(true);
    connect(m_settleTimer, &QTimer::timeout, this, &NetworkWatcher::settle);
    // logind announces sleep and wake-up on the system bus; without a bus (a container, a
    // system without logind) the routes alone are watched.
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected())
        bus.connect(QStringLiteral("org.freedesktop.login1"),
                    QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager"),
                    QStringLiteral("PrepareForSleep"), this, SLOT(sleepChanged(bool)));
}

NetworkWatcher::~NetworkWatcher() = default;

bool NetworkWatcher::startPlatform()
{
    auto platform = std::make_unique<Platform>();
    platform->netlink.setServer(m_server, m_tunnelDevice);
    platform->events = openSocket(RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE
                                      | RTMGRP_IPV6_IFADDR | RTMGRP_IPV6_ROUTE,
                                  SOCK_NONBLOCK);
    platform->requests = openSocket(0, 0);
    if (platform->events < 0 || platform->requests < 0)
        return false;
    const timeval timeout = {0, ReplyTimeoutMs * 1000};
    ::setsockopt(platform->requests, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (!platform->readLinks())
        return false;
    platform->notifier = new QSocketNotifier(platform->events, QSocketNotifier::Read);
    connect(platform->notifier, &QSocketNotifier::activated, this, [this] {
        Platform &p = *m_platform;
        for (int i = 0; i < ReceivesPerWakeUp; ++i) {
            const ssize_t got = ::recv(p.events, p.buffer.data(), size_t(p.buffer.size()), 0);
            if (got > 0) {
                if (p.netlink.readNotifications(
                        QByteArray::fromRawData(p.buffer.constData(), int(got))))
                    noteChange();
            } else if (got < 0 && errno == ENOBUFS) {
                // Notifications were lost: whatever they said, the interfaces are read again
                // and the route is looked at after the settle.
                p.readLinks();
                noteChange();
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                break;
            }
        }
        QSocketNotifier *notifier = p.notifier;
        notifier->setEnabled(false);
        QTimer::singleShot(PauseAfterWakeUpMs, notifier,
                           [notifier] { notifier->setEnabled(true); });
    });
    m_platform = std::move(platform);
    return true;
}

void NetworkWatcher::stopPlatform()
{
    m_platform.reset();
}

bool NetworkWatcher::currentRoute(ServerRoute *route)
{
    return m_platform && m_platform->route(route);
}

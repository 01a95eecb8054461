#include "system/networkwatcher.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <windows.h>
// clang-format on

#include <atomic>
#include <cstring>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QTimer>

namespace {

QHostAddress addressOf(const SOCKADDR_INET &socketAddress)
{
    QHostAddress address(reinterpret_cast<const sockaddr *>(&socketAddress));
    // An unspecified next hop means the server is on the link itself.
    return address.isNull() || address == QHostAddress(QHostAddress::AnyIPv4)
            || address == QHostAddress(QHostAddress::AnyIPv6)
        ? QHostAddress()
        : address;
}

SOCKADDR_INET socketAddressOf(const QHostAddress &address)
{
    SOCKADDR_INET socketAddress;
    std::memset(&socketAddress, 0, sizeof socketAddress);
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        socketAddress.Ipv6.sin6_family = AF_INET6;
        const Q_IPV6ADDR ip = address.toIPv6Address();
        std::memcpy(&socketAddress.Ipv6.sin6_addr, ip.c, 16);
    } else {
        socketAddress.Ipv4.sin_family = AF_INET;
        socketAddress.Ipv4.sin_addr.s_addr = htonl(address.toIPv4Address());
    }
    return socketAddress;
}

} // namespace

// The IP helper calls back on threads of its own; each call only queues one look at the
// network to the watcher's thread, and no more than one is queued at a time, so a storm of
// changes costs a flag test per change.
struct NetworkWatcher::Platform : QAbstractNativeEventFilter
{
    explicit Platform(NetworkWatcher *owner)
        : watcher(owner)
        , queued(std::make_shared<std::atomic_bool>(false))
    { }

    ~Platform() override
    {
        // Returns once no callback runs any more; none runs on this thread.
        for (HANDLE handle : {routes, interfaces, addresses})
            if (handle)
                CancelMibChangeNotify2(handle);
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool isTunnel(const NET_LUID &luid) const
    {
        return hasTunnel && luid.Value == tunnelLuid.Value;
    }

    // Called on the IP helper's threads.
    void changed()
    {
        if (queued->exchange(true))
            return;
        NetworkWatcher *target = watcher;
        const std::shared_ptr<std::atomic_bool> flag = queued;
        QMetaObject::invokeMethod(
            target,
            [target, flag] {
                flag->store(false);
                target->noteChange();
            },
            Qt::QueuedConnection);
    }

    static void NETIOAPI_API_ routeChanged(PVOID context, PMIB_IPFORWARD_ROW2 row,
                                           MIB_NOTIFICATION_TYPE)
    {
        auto *platform = static_cast<Platform *>(context);
        // The tunnel's own routes, and routes that cannot carry the server, change nothing.
        if (row) {
            const QHostAddress prefix = addressOf(row->DestinationPrefix.Prefix);
            const bool covers = row->DestinationPrefix.PrefixLength == 0
                || platform->server.isInSubnet(prefix, row->DestinationPrefix.PrefixLength);
            if (platform->isTunnel(row->InterfaceLuid) || !covers)
                return;
        }
        platform->changed();
    }

    static void NETIOAPI_API_ interfaceChanged(PVOID context, PMIB_IPINTERFACE_ROW row,
                                               MIB_NOTIFICATION_TYPE)
    {
        auto *platform = static_cast<Platform *>(context);
        if (!row || !platform->isTunnel(row->InterfaceLuid))
            platform->changed();
    }

    static void NETIOAPI_API_ addressChanged(PVOID context, PMIB_UNICASTIPADDRESS_ROW row,
                                             MIB_NOTIFICATION_TYPE)
    {
        auto *platform = static_cast<Platform *>(context);
        if (!row || !platform->isTunnel(row->InterfaceLuid))
            platform->changed();
    }

    // The resume broadcast reaches every top-level window of the program, the hidden ones too.
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *) override
    {
        if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_POWERBROADCAST && msg->wParam == PBT_APMRESUMEAUTOMATIC)
            QMetaObject::invokeMethod(watcher, "sleepChanged", Qt::QueuedConnection,
                                      Q_ARG(bool, false));
        return false;
    }

    static ServerRoute judge(const MIB_IPFORWARD_ROW2 &row, const SOCKADDR_INET &source)
    {
        ServerRoute route;
        route.reachable = true;
        route.gateway = addressOf(row.NextHop);
        route.interfaceIndex = int(row.InterfaceIndex);
        route.source = addressOf(source);
        return route;
    }

    // The system's best route to the server; where it goes into the tunnel, the longest
    // prefix through another interface, and the system's answer through that interface.
    // A failing GetBestRoute2 means no route; a table that cannot be read is no answer.
    bool route(ServerRoute *found) const
    {
        *found = ServerRoute();
        const SOCKADDR_INET destination = socketAddressOf(server);
        MIB_IPFORWARD_ROW2 row;
        SOCKADDR_INET source;
        if (GetBestRoute2(nullptr, 0, nullptr, &destination, 0, &row, &source) != NO_ERROR)
            return true;
        if (!isTunnel(row.InterfaceLuid)) {
            *found = judge(row, source);
            return true;
        }
        PMIB_IPFORWARD_TABLE2 table = nullptr;
        if (GetIpForwardTable2(destination.si_family, &table) != NO_ERROR)
            return false;
        const MIB_IPFORWARD_ROW2 *best = nullptr;
        for (ULONG i = 0; i < table->NumEntries; ++i) {
            const MIB_IPFORWARD_ROW2 &entry = table->Table[i];
            const int length = entry.DestinationPrefix.PrefixLength;
            if (isTunnel(entry.InterfaceLuid)
                || (length > 0
                    && !server.isInSubnet(addressOf(entry.DestinationPrefix.Prefix), length)))
                continue;
            if (!best || length > best->DestinationPrefix.PrefixLength
                || (length == best->DestinationPrefix.PrefixLength && entry.Metric < best->Metric))
                best = &entry;
        }
        const NET_IFINDEX outside = best ? best->InterfaceIndex : 0;
        FreeMibTable(table);
        if (outside
            && GetBestRoute2(nullptr, outside, nullptr, &destination, 0, &row, &source)
                == NO_ERROR) {
            *found = judge(row, source);
            found->intoTunnel = true;
        }
        return true;
    }

    NetworkWatcher *watcher;
    std::shared_ptr<std::atomic_bool> queued;
    QHostAddress server;
    NET_LUID tunnelLuid = {};
    bool hasTunnel = false;
    HANDLE routes = nullptr;
    HANDLE interfaces = nullptr;
    HANDLE addresses = nullptr;
};

NetworkWatcher::NetworkWatcher(QObject *parent)
    : QObject(parent)
    , m_settleTimer(new QTimer(this))
{
    m_settleTimer->setSingleShot(true);
    connect(m_settleTimer, &QTimer::timeout, this, &NetworkWatcher::settle);
}

NetworkWatcher::~NetworkWatcher() = default;

bool NetworkWatcher::startPlatform()
{
    auto platform = std::make_unique<Platform>(this);
    platform->server = m_server;
    platform->hasTunnel = !m_tunnelDevice.isEmpty()
        && ConvertInterfaceAliasToLuid(reinterpret_cast<const wchar_t *>(m_tunnelDevice.utf16()),
                                       &platform->tunnelLuid)
            == NO_ERROR;
    Platform *context = platform.get();
    if (NotifyRouteChange2(AF_UNSPEC, &Platform::routeChanged, context, FALSE, &context->routes)
            != NO_ERROR
        || NotifyIpInterfaceChange(AF_UNSPEC, &Platform::interfaceChanged, context, FALSE,
                                   &context->interfaces)
            != NO_ERROR
        || NotifyUnicastIpAddressChange(AF_UNSPEC, &Platform::addressChanged, context, FALSE,
                                        &context->addresses)
            != NO_ERROR)
        return false;
    QCoreApplication::instance()->installNativeEventFilter(context);
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

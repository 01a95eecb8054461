#include "system/netlinkroutes.h"

#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include <QtEndian>

namespace {

// Every read copies the header it looks at out of the buffer: a receive buffer owes no
// alignment to the structures, and a recorded message none at all.
template<typename T> bool take(const char *data, int size, T *value)
{
    if (size < int(sizeof(T)))
        return false;
    std::memcpy(value, data, sizeof(T));
    return true;
}

// Calls visit(header, payload, payloadSize) for each message. A length that leaves the buffer
// ends the walk, since nothing after it can be found; false then.
template<typename Visit> bool forEachMessage(const QByteArray &buffer, Visit visit)
{
    const int size = buffer.size();
    int offset = 0;
    nlmsghdr header;
    while (take(buffer.constData() + offset, size - offset, &header)) {
        if (header.nlmsg_len < NLMSG_HDRLEN || header.nlmsg_len > quint32(size - offset))
            return false;
        visit(header, buffer.constData() + offset + NLMSG_HDRLEN,
              int(header.nlmsg_len) - int(NLMSG_HDRLEN));
        offset += NLMSG_ALIGN(header.nlmsg_len);
        if (offset >= size)
            return true;
    }
    return offset >= size;
}

// Calls visit(type, data, size) for each attribute; false when one leaves its message.
template<typename Visit> bool forEachAttribute(const char *data, int size, Visit visit)
{
    int offset = 0;
    rtattr attribute;
    while (offset < size) {
        if (!take(data + offset, size - offset, &attribute) || attribute.rta_len < RTA_LENGTH(0)
            || attribute.rta_len > size - offset)
            return false;
        if (!visit(attribute.rta_type, data + offset + RTA_LENGTH(0),
                   int(attribute.rta_len) - int(RTA_LENGTH(0))))
            return false;
        offset += RTA_ALIGN(attribute.rta_len);
    }
    return true;
}

bool readAddress(int family, const char *data, int size, QHostAddress *address)
{
    if (family == AF_INET && size == 4) {
        quint32 ip;
        std::memcpy(&ip, data, 4);
        address->setAddress(qFromBigEndian(ip));
        return true;
    }
    if (family == AF_INET6 && size == 16) {
        quint8 ip[16];
        std::memcpy(ip, data, 16);
        address->setAddress(ip);
        return true;
    }
    return false;
}

bool readU32(const char *data, int size, quint32 *value)
{
    return size == 4 && take(data, size, value);
}

bool parseRoute(const char *payload, int size, NetlinkRoutes::Route *route)
{
    rtmsg message;
    if (!take(payload, size, &message))
        return false;
    const int family = message.rtm_family;
    const int bits = family == AF_INET ? 32 : family == AF_INET6 ? 128 : -1;
    if (message.rtm_dst_len > bits)
        return false;
    route->prefixLength = message.rtm_dst_len;
    route->table = message.rtm_table;
    route->type = message.rtm_type;
    route->destination = family == AF_INET ? QHostAddress(QHostAddress::AnyIPv4)
                                           : QHostAddress(QHostAddress::AnyIPv6);
    quint32 oif = 0;
    const int offset = NLMSG_ALIGN(sizeof(rtmsg));
    const bool wellFormed = forEachAttribute(
        payload + offset, size - offset, [&](quint16 type, const char *data, int length) {
            switch (type) {
            case RTA_DST:
                return readAddress(family, data, length, &route->destination);
            case RTA_GATEWAY:
                return readAddress(family, data, length, &route->gateway);
            case RTA_PREFSRC:
                return readAddress(family, data, length, &route->source);
            case RTA_OIF:
                return readU32(data, length, &oif);
            case RTA_PRIORITY:
                return readU32(data, length, &route->priority);
            case RTA_TABLE:
                return readU32(data, length, &route->table);
            case RTA_MULTIPATH: {
                // The first way of a route with several stands for all of them.
                rtnexthop hop;
                if (oif == 0 && take(data, length, &hop) && hop.rtnh_len <= length)
                    oif = quint32(hop.rtnh_ifindex);
                return true;
            }
            default:
                return true;
            }
        });
    route->interfaceIndex = int(oif);
    return wellFormed;
}

// A request: the header, then each part padded to the netlink alignment.
class Request
{
public:
    Request(quint16 type, quint16 flags, quint32 seq)
    {
        nlmsghdr header = {};
        header.nlmsg_type = type;
        header.nlmsg_flags = NLM_F_REQUEST | flags;
        header.nlmsg_seq = seq;
        append(&header, sizeof header);
    }
    void append(const void *data, int size)
    {
        m_bytes.append(static_cast<const char *>(data), size);
        m_bytes.append(QByteArray(NLMSG_ALIGN(size) - size, '\0'));
    }
    void attribute(quint16 type, const void *data, int size)
    {
        rtattr attribute;
        attribute.rta_len = quint16(RTA_LENGTH(size));
        attribute.rta_type = type;
        m_bytes.append(reinterpret_cast<const char *>(&attribute), sizeof attribute);
        append(data, size);
    }
    QByteArray bytes()
    {
        const quint32 length = quint32(m_bytes.size());
        std::memcpy(m_bytes.data() + offsetof(nlmsghdr, nlmsg_len), &length, sizeof length);
        return m_bytes;
    }

private:
    QByteArray m_bytes;
};

} // namespace

void NetlinkRoutes::setServer(const QHostAddress &server, const QString &tunnelDevice)
{
    bool mapped = false;
    const quint32 ipv4 = server.toIPv4Address(&mapped);
    m_server = mapped ? QHostAddress(ipv4) : server;
    m_tunnelDevice = tunnelDevice;
}

int NetlinkRoutes::family() const
{
    return m_server.protocol() == QAbstractSocket::IPv6Protocol ? AF_INET6 : AF_INET;
}

bool NetlinkRoutes::isTunnel(int interfaceIndex) const
{
    const auto link = m_links.constFind(interfaceIndex);
    return link != m_links.constEnd() && !m_tunnelDevice.isEmpty() && link->name == m_tunnelDevice;
}

bool NetlinkRoutes::readLink(quint16 type, const char *payload, int size)
{
    ifinfomsg message;
    if (!take(payload, size, &message))
        return false;
    QString name;
    const int offset = NLMSG_ALIGN(sizeof(ifinfomsg));
    const bool wellFormed = forEachAttribute(
        payload + offset, size - offset, [&](quint16 attribute, const char *data, int length) {
            if (attribute == IFLA_IFNAME)
                name = QString::fromUtf8(data, int(qstrnlen(data, uint(length))));
            return true;
        });
    if (!wellFormed) {
        ++m_skipped;
        return false;
    }
    const int index = message.ifi_index;
    const Link before = m_links.value(index);
    if (name.isEmpty())
        name = before.name;
    const bool tunnel = !m_tunnelDevice.isEmpty() && name == m_tunnelDevice;
    if (type == RTM_DELLINK) {
        const bool known = m_links.remove(index) > 0;
        return known && !tunnel;
    }
    const bool known = m_links.contains(index);
    Link &link = m_links[index];
    link.name = name;
    link.up = (message.ifi_flags & IFF_UP) && (message.ifi_flags & IFF_RUNNING);
    return known && !tunnel && link.up != before.up;
}

bool NetlinkRoutes::covers(const Route &route) const
{
    return m_server.isInSubnet(route.destination, route.prefixLength);
}

bool NetlinkRoutes::routeCounts(const Route &route) const
{
    return route.table != RT_TABLE_LOCAL && !isTunnel(route.interfaceIndex) && covers(route);
}

bool NetlinkRoutes::readNotifications(const QByteArray &buffer)
{
    bool relevant = false;
    const bool whole
        = forEachMessage(buffer, [&](const nlmsghdr &header, const char *payload, int size) {
              switch (header.nlmsg_type) {
              case RTM_NEWLINK:
              case RTM_DELLINK:
                  relevant |= readLink(header.nlmsg_type, payload, size);
                  break;
              case RTM_NEWADDR:
              case RTM_DELADDR: {
                  ifaddrmsg message;
                  const int offset = NLMSG_ALIGN(sizeof(ifaddrmsg));
                  if (!take(payload, size, &message)
                      || !forEachAttribute(payload + offset, size - offset,
                                           [](quint16, const char *, int) { return true; })) {
                      ++m_skipped;
                      break;
                  }
                  relevant |= message.ifa_family == family() && !isTunnel(int(message.ifa_index));
                  break;
              }
              case RTM_NEWROUTE:
              case RTM_DELROUTE: {
                  Route route;
                  rtmsg message;
                  if (!parseRoute(payload, size, &route) || !take(payload, size, &message)) {
                      ++m_skipped;
                      break;
                  }
                  // Cached exceptions (a path MTU learnt) are no route of the tables.
                  relevant |= message.rtm_family == family() && !(message.rtm_flags & RTM_F_CLONED)
                      && routeCounts(route);
                  break;
              }
              default:
                  break;
              }
          });
    if (!whole)
        ++m_skipped;
    return relevant;
}

NetlinkRoutes::Reply NetlinkRoutes::readReply(const QByteArray &buffer, quint32 seq,
                                              QVector<Route> *routes, int *error)
{
    Reply reply = Reply::More;
    const bool whole
        = forEachMessage(buffer, [&](const nlmsghdr &header, const char *payload, int size) {
              if (header.nlmsg_seq != seq || reply != Reply::More)
                  return;
              switch (header.nlmsg_type) {
              case NLMSG_DONE:
                  reply = Reply::Done;
                  break;
              case NLMSG_ERROR: {
                  nlmsgerr refusal;
                  if (!take(payload, size, &refusal)) {
                      ++m_skipped;
                      reply = Reply::Failed;
                      break;
                  }
                  reply = refusal.error == 0 ? Reply::Done : Reply::Failed;
                  if (error)
                      *error = -refusal.error;
                  break;
              }
              case RTM_NEWROUTE: {
                  Route route;
                  if (parseRoute(payload, size, &route))
                      routes->append(route);
                  else
                      ++m_skipped;
                  if (!(header.nlmsg_flags & NLM_F_MULTI))
                      reply = Reply::Done;
                  break;
              }
              case RTM_NEWLINK:
                  readLink(header.nlmsg_type, payload, size);
                  break;
              default:
                  break;
              }
          });
    if (!whole) {
        ++m_skipped;
        if (reply == Reply::More)
            reply = Reply::Failed;
    }
    return reply;
}

ServerRoute NetlinkRoutes::judge(const Route &answer) const
{
    ServerRoute route;
    const auto link = m_links.constFind(answer.interfaceIndex);
    if (answer.type != RTN_UNICAST || answer.interfaceIndex == 0
        || (link != m_links.constEnd() && !link->up))
        return route;
    route.reachable = true;
    route.gateway = answer.gateway;
    route.interfaceIndex = answer.interfaceIndex;
    route.source = answer.source;
    return route;
}

bool NetlinkRoutes::bestOutsideTunnel(const QVector<Route> &table, Route *best) const
{
    bool found = false;
    for (const Route &route : table) {
        const auto link = m_links.constFind(route.interfaceIndex);
        if (route.type != RTN_UNICAST || route.table != RT_TABLE_MAIN || route.interfaceIndex == 0
            || isTunnel(route.interfaceIndex) || (link != m_links.constEnd() && !link->up)
            || !covers(route))
            continue;
        if (!found || route.prefixLength > best->prefixLength
            || (route.prefixLength == best->prefixLength && route.priority < best->priority)) {
            *best = route;
            found = true;
        }
    }
    return found;
}

QByteArray NetlinkRoutes::routeQuery(const QHostAddress &destination, int interfaceIndex,
                                     quint32 seq)
{
    Request request(RTM_GETROUTE, 0, seq);
    rtmsg message = {};
    const bool v6 = destination.protocol() == QAbstractSocket::IPv6Protocol;
    message.rtm_family = v6 ? AF_INET6 : AF_INET;
    message.rtm_dst_len = v6 ? 128 : 32;
    request.append(&message, sizeof message);
    if (v6) {
        const Q_IPV6ADDR ip = destination.toIPv6Address();
        request.attribute(RTA_DST, ip.c, 16);
    } else {
        const quint32 ip = qToBigEndian(destination.toIPv4Address());
        request.attribute(RTA_DST, &ip, 4);
    }
    if (interfaceIndex) {
        const quint32 oif = quint32(interfaceIndex);
        request.attribute(RTA_OIF, &oif, 4);
    }
    return request.bytes();
}

QByteArray NetlinkRoutes::linkDump(quint32 seq)
{
    Request request(RTM_GETLINK, NLM_F_DUMP, seq);
    ifinfomsg message = {};
    message.ifi_family = AF_UNSPEC;
    request.append(&message, sizeof message);
    return request.bytes();
}

QByteArray NetlinkRoutes::routeDump(int family, quint32 seq)
{
    Request request(RTM_GETROUTE, NLM_F_DUMP, seq);
    rtmsg message = {};
    message.rtm_family = quint8(family);
    request.append(&message, sizeof message);
    return request.bytes();
}

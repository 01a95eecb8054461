#pragma once

#include "system/routedecider.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QString>
#include <QVector>

// Linux's routing messages (rtnetlink) read and written without a socket: what the network
// watcher receives is given here as the bytes of one receive, so every judgement on it can be
// made from recorded messages. A message that is malformed or cut short is skipped and
// counted; the messages after it in the same buffer are still read when their bounds hold.
class NetlinkRoutes
{
public:
    // One route as the kernel describes it (an answer to a query, a dump, a notification).
    struct Route
    {
        QHostAddress destination;
        int prefixLength = 0;
        QHostAddress gateway;
        QHostAddress source;
        int interfaceIndex = 0;
        quint32 priority = 0;
        quint32 table = 0;
        quint8 type = 0;
    };

    // Where a reply to one request stands after a buffer.
    enum class Reply { More, Done, Failed };

    // `server`: the address whose route counts; `tunnelDevice`: the interface whose routes and
    // addresses are the tunnel's own doing and never count.
    void setServer(const QHostAddress &server, const QString &tunnelDevice);
    const QHostAddress &server() const { return m_server; }

    // Notifications: links update the table of interfaces; true when anything in the buffer
    // can change the route to the server (a route covering it outside the tunnel, an address
    // of its family outside the tunnel, an interface that went up or down or away).
    bool readNotifications(const QByteArray &buffer);

    // Replies to the request numbered `seq` (other messages are left aside): routes are
    // appended to `routes`, links fill the table of interfaces. `error` gets the kernel's
    // errno of a refusal.
    Reply readReply(const QByteArray &buffer, quint32 seq, QVector<Route> *routes,
                    int *error = nullptr);

    // After an overrun of the notifications the interfaces are read again from a dump.
    void forgetLinks() { m_links.clear(); }
    bool isTunnel(int interfaceIndex) const;
    QString linkName(int interfaceIndex) const { return m_links.value(interfaceIndex).name; }

    // The kernel's answer to the route query as the watcher judges it: a route through an
    // interface that is down carries nothing.
    ServerRoute judge(const Route &answer) const;
    // The route the server would take outside the tunnel: the longest prefix covering it among
    // the unicast routes of the main table through any other interface that is up, the lowest
    // priority among equals. False when there is none.
    bool bestOutsideTunnel(const QVector<Route> &table, Route *best) const;

    int skipped() const { return m_skipped; }

    // Requests: the route to `destination` (through `interfaceIndex` alone when not 0), and
    // dumps of all links or all routes of a family.
    static QByteArray routeQuery(const QHostAddress &destination, int interfaceIndex, quint32 seq);
    static QByteArray linkDump(quint32 seq);
    static QByteArray routeDump(int family, quint32 seq);

private:
    struct Link
    {
        QString name;
        bool up = false;
    };

    bool readLink(quint16 type, const char *payload, int size);
    bool routeCounts(const Route &route) const;
    bool covers(const Route &route) const;
    int family() const;

    QHostAddress m_server;
    QString m_tunnelDevice;
    QHash<int, Link> m_links;
    int m_skipped = 0;
};

#pragma once

#include <QHostAddress>
#include <QtGlobal>

// The way the system sends packets to one address (the VPN server), as far as a tunnel that
// runs over it cares: a packet source and an output interface change the tunnel's own packets.
struct ServerRoute
{
    bool reachable = false;
    // Null when the server is on the link itself.
    QHostAddress gateway;
    int interfaceIndex = 0;
    QHostAddress source;
    // The system's own answer sends the server's packets into the tunnel (its routes to 0/1
    // and 128/1 stayed while the route that kept the server outside went away); the other
    // members then describe the route outside the tunnel.
    bool intoTunnel = false;
};

enum class RouteChange { Unchanged, Gone, Back, Changed };

// Turns a stream of "something in the network changed" notes into one decision once the
// network settles: 0.7 s without a note, at most 3 s after the first note, so that a link that
// flaps, or a routing daemon that never stops, still gets one decision per settle and never an
// endless wait. The quiet is short enough for a lost route to be shown within a second (the
// kernel's own burst for a link going down lasts milliseconds) and long enough to span the
// steps of a link coming back (link, address, routes); the longest wait keeps a storm from
// putting the decision off beyond the few seconds in which the tunnel should follow. Time is given
// in milliseconds by the caller, from any monotonic clock.
class RouteDecider
{
public:
    static constexpr qint64 QuietMs = 700;
    static constexpr qint64 LongestWaitMs = 3000;

    // Forgets any pending settle; `known` is the route from now on.
    void start(const ServerRoute &known);
    void noteChange(qint64 nowMs);
    bool isSettling() const { return m_settling; }
    // -1 when nothing is pending; 0 when the decision is due.
    qint64 msUntilDecision(qint64 nowMs) const;
    // Ends the settle: what happened between the known route and `current`, which becomes the
    // known one.
    RouteChange decide(const ServerRoute &current);
    const ServerRoute &known() const { return m_known; }

    // A route that only came back into the tunnel's own hands (the tunnel made its route to
    // the server again) is no change; the server's packets going into the tunnel is one.
    static RouteChange compare(const ServerRoute &before, const ServerRoute &after);

private:
    ServerRoute m_known;
    bool m_settling = false;
    qint64 m_firstNote = 0;
    qint64 m_lastNote = 0;
};

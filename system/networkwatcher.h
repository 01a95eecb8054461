#pragma once

#include "system/routedecider.h"

#include <memory>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QTimer;

// Watches the route to the VPN server and the computer's wake-ups, so that a tunnel can follow
// the network: on Linux through the kernel's routing notifications (no privileges needed) and
// logind's sleep signal on the system bus where there is one; on Windows through the route,
// interface and address notifications of the IP helper and the resume broadcast.
//
// Every signal comes on the thread that created the watcher (the notifications of other
// threads are queued to it), and only between watchServer() and stop(). A burst of changes
// (a link that flaps, a routing daemon at work) gives one signal once the network has been
// quiet for 0.7 s, and at the latest three seconds after the burst began; changes that
// leave the route as it was give none. Routes and addresses of the tunnel's own interface
// never count, so the tunnel coming up or going down is no change of the route.
class NetworkWatcher : public QObject
{
    Q_OBJECT

public:
    explicit NetworkWatcher(QObject *parent = nullptr);
    ~NetworkWatcher() override;

    // Starts watching the route to `server`: the address the tunnel's packets go to (the
    // OpenVPN server; in mirror mode the mirror server that the local proxy connects to, not
    // the proxy on loopback). `tunnelDevice` is the name of the tunnel's interface (the client's
    // adapter, "ksvpn_tun"). The route known now is the one later routes are compared with.
    // Calling it again replaces the server. False when the address is not an IP address or
    // the system offers no notifications; no signal comes then.
    bool watchServer(const QHostAddress &server, const QString &tunnelDevice);
    // Ends the watch at once: no signal comes after it, a pending decision included.
    void stop();
    bool isWatching() const { return !m_server.isNull(); }
    // The route last decided on (reachable false when there was none).
    ServerRoute knownRoute() const { return m_decider.known(); }

signals:
    // The server can no longer be reached outside the tunnel: no route, or its interface is
    // down. Wait for routeBack().
    void routeGone();
    // A route to the server came back after routeGone(), or was missing when the watch began.
    void routeBack();
    // The server is reached another way: another gateway, interface or source address, or the
    // system sends the server's packets into the tunnel (the route that kept them outside
    // went away while the tunnel's routes stayed). The tunnel has to be made again.
    void routeChanged();
    // The computer woke from sleep (logind's PrepareForSleep(false); Windows'
    // PBT_APMRESUMEAUTOMATIC).
    void wokeUp();

private slots:
    // Something that may change the route to the server happened.
    void noteChange();
    void settle();
    void sleepChanged(bool sleeping);

private:
    struct Platform;

    // The platform's own part: notifications on and off, and the route to the server now
    // (false when the system gave no answer at all, which decides nothing).
    bool startPlatform();
    void stopPlatform();
    bool currentRoute(ServerRoute *route);

    QHostAddress m_server;
    QString m_tunnelDevice;
    RouteDecider m_decider;
    QElapsedTimer m_clock;
    QTimer *m_settleTimer = nullptr;
    std::unique_ptr<Platform> m_platform;
};

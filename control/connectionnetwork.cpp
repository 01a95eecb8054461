// ConnectionController: the tunnel follows the network. A verified tunnel watches the route
// to its server; when that route goes, the connection waits (OpenVPN keeps the tunnel and the
// lock stays as it is); when it comes back or changes, or the computer wakes, OpenVPN is
// started anew at once, so that it makes its route to the server again, and the tunnel is
// verified again before it is shown as connected.

#include "control/connectioncontroller.h"
#include "core/loger.h"
#include "engine/configpatches.h"
#include "engine/configremote.h"
#include "system/networkwatcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QTimer>

void ConnectionController::watchNetwork()
{
    if (m_watcher->isWatching())
        return;
    // Through the mirror, the packets go to the mirror server; otherwise to OpenVPN's remote.
    QString server = m_mirrorActive ? m_mirrorEndpoint.serverAddress : QString();
    if (server.isEmpty()) {
        QFile config(m_ovpnConfigPath);
        if (config.open(QIODevice::ReadOnly))
            server = ConfigRemote::read(config.readAll()).host;
    }
    if (m_watcher->watchServer(QHostAddress(server), staticDeviceName()))
        return;
    Loger::writeLine(QCoreApplication::translate(
                         "MainWindow", "Network: the route to the VPN server is not watched (%1)")
                         .arg(server.isEmpty() ? QStringLiteral("-") : server));
}

void ConnectionController::enterReconnecting(bool waiting)
{
    m_waitingForNetwork = waiting;
    m_tickTimer->stop();
    if (m_state == Reconnecting)
        emit stateChanged(Reconnecting);
    else
        setState(Reconnecting);
}

void ConnectionController::networkRouteGone()
{
    if (!tunnelUp())
        return;
    Loger::writeLine(QCoreApplication::translate(
        "MainWindow", "Network: the route to the VPN server is gone, waiting"));
    if (m_state != Reconnecting)
        m_reconnectClock.start();
    enterReconnecting(true);
}

void ConnectionController::networkRouteBack()
{
    m_restartInFlight = false; // a new network: the restart under way went nowhere
    restartTunnel(QT_TRANSLATE_NOOP("MainWindow",
                                    "Network: the route to the VPN server is back, reconnecting"));
}

void ConnectionController::networkRouteChanged()
{
    restartTunnel(QT_TRANSLATE_NOOP("MainWindow",
                                    "Network: the route to the VPN server changed, reconnecting"));
}

void ConnectionController::computerWokeUp()
{
    restartTunnel(QT_TRANSLATE_NOOP("MainWindow", "Network: the computer woke up, reconnecting"));
}

// OpenVPN started anew makes its host route to the server again; a restart inside OpenVPN
// (with persist-tun) would keep the old tunnel's routes and send its own packets into the
// tunnel, and a TCP connection would wait for OpenVPN's own timeout.
void ConnectionController::restartTunnel(const char *logText)
{
    // A restart under way makes the routes that a change reports: it is not made again.
    if (!tunnelUp() || !m_openVpnStarted || m_restartInFlight)
        return;
    m_restartInFlight = true;
    Loger::writeLine(QCoreApplication::translate("MainWindow", logText));
    if (m_state != Reconnecting || m_waitingForNetwork)
        m_reconnectClock.start();
    enterReconnecting(false);
    ++m_restartStopsPending;
    emit vpnProcessStop();
    emit vpnProcessStart(QString());
}

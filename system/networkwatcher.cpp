#include "system/networkwatcher.h"

#include <QTimer>

bool NetworkWatcher::watchServer(const QHostAddress &server, const QString &tunnelDevice)
{
    stop();
    const auto protocol = server.protocol();
    if (protocol != QAbstractSocket::IPv4Protocol && protocol != QAbstractSocket::IPv6Protocol)
        return false;
    m_server = server;
    m_tunnelDevice = tunnelDevice;
    if (!startPlatform()) {
        m_server.clear();
        return false;
    }
    m_clock.start();
    ServerRoute route;
    currentRoute(&route);
    m_decider.start(route);
    return true;
}

void NetworkWatcher::stop()
{
    if (!isWatching())
        return;
    stopPlatform();
    m_settleTimer->stop();
    m_decider.start(ServerRoute());
    m_server.clear();
}

void NetworkWatcher::noteChange()
{
    if (!isWatching())
        return;
    // The timer is armed once per settle and looks again when it fires, so a storm of notes
    // costs no timer work.
    m_decider.noteChange(m_clock.elapsed());
    if (!m_settleTimer->isActive())
        m_settleTimer->start(int(m_decider.msUntilDecision(m_clock.elapsed())));
}

void NetworkWatcher::settle()
{
    if (!isWatching() || !m_decider.isSettling())
        return;
    const qint64 wait = m_decider.msUntilDecision(m_clock.elapsed());
    if (wait > 0) {
        m_settleTimer->start(int(wait));
        return;
    }
    ServerRoute current;
    if (!currentRoute(&current)) {
        // Nothing to compare with: the next change of the network asks again.
        m_decider.start(m_decider.known());
        return;
    }
    switch (m_decider.decide(current)) {
    case RouteChange::Gone:
        emit routeGone();
        break;
    case RouteChange::Back:
        emit routeBack();
        break;
    case RouteChange::Changed:
        emit routeChanged();
        break;
    case RouteChange::Unchanged:
        break;
    }
}

void NetworkWatcher::sleepChanged(bool sleeping)
{
    if (!sleeping && isWatching())
        emit wokeUp();
}

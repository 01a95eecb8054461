#include "system/routedecider.h"

#include <algorithm>

void RouteDecider::start(const ServerRoute &known)
{
    m_known = known;
    m_settling = false;
}

void RouteDecider::noteChange(qint64 nowMs)
{
    if (!m_settling) {
        m_settling = true;
        m_firstNote = nowMs;
    }
    m_lastNote = nowMs;
}

qint64 RouteDecider::msUntilDecision(qint64 nowMs) const
{
    if (!m_settling)
        return -1;
    const qint64 due = std::min(m_lastNote + QuietMs, m_firstNote + LongestWaitMs);
    return std::max<qint64>(0, due - nowMs);
}

RouteChange RouteDecider::decide(const ServerRoute &current)
{
    const RouteChange change = compare(m_known, current);
    m_known = current;
    m_settling = false;
    return change;
}

RouteChange RouteDecider::compare(const ServerRoute &before, const ServerRoute &after)
{
    if (before.reachable != after.reachable)
        return after.reachable ? RouteChange::Back : RouteChange::Gone;
    if (!after.reachable)
        return RouteChange::Unchanged;
    if (before.gateway != after.gateway || before.interfaceIndex != after.interfaceIndex
        || before.source != after.source)
        return RouteChange::Changed;
    return !before.intoTunnel && after.intoTunnel ? RouteChange::Changed : RouteChange::Unchanged;
}

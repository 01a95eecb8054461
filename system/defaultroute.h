#pragma once

#include <QByteArray>

// Whether this computer has a default route, the way to anything beyond its own networks.
namespace DefaultRoute {

enum class State { Unknown, Present, Missing };

// The system's answer now; Unknown where the system gives none.
State current();
// From the text of Linux's /proc/net/route and /proc/net/ipv6_route: a route to 0.0.0.0/0
// or ::/0 is a default route.
State fromProcTables(const QByteArray &ipv4, const QByteArray &ipv6);

} // namespace DefaultRoute

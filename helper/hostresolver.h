#pragma once

#include <QStringList>

// Resolves host names for the network lock, all at once and within one bound: while the lock
// is on, names cannot be looked up outside the tunnel, so what is not resolved now stays
// blocked.
class HostResolver
{
public:
    struct Result
    {
        QStringList addresses; // textual IPv4 and IPv6 addresses, to be vetted like the rest
        QStringList unresolved;
    };
    static Result resolve(const QStringList &names, int timeoutMs);
};

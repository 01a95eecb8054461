#include "system/defaultroute.h"

// The probes of the server and of the service tell the rest; the routing table is not read
// here.
DefaultRoute::State DefaultRoute::current()
{
    return State::Unknown;
}

#pragma once

#include "engine/openvpnoutcome.h"

// What one probe saw.
enum class ProbeResult {
    NotRun, // nothing to probe (no address, no mirror tool or configuration)
    Answered, // the far end answered as an OpenVPN server does
    Silent, // the connection was accepted, then nothing came within the bound
    Refused, // nothing listens there
    TimedOut, // no answer at all within the bound
    Unreachable, // the network says there is no way there
    Unresolved, // the name does not resolve
    Garbage // something answered, but not as an OpenVPN server does
};

// Everything a diagnosis knows when it decides: what OpenVPN reported, and the probes.
struct DiagnosisFacts
{
    enum class Route { Unknown, Present, Missing };
    Route defaultRoute = Route::Unknown;
    // The service's reachability on its two addresses; not probed leaves both unknown.
    bool apiProbed = false;
    bool apiReachable[2] = {false, false};
    // The protocol of the configuration OpenVPN was given.
    bool udp = true;
    // The connection went through the mirror route already.
    bool mirrorUsed = false;
    // TCP to the server's port, directly and through the mirror tool.
    ProbeResult serverTcp = ProbeResult::NotRun;
    ProbeResult mirror = ProbeResult::NotRun;
    OpenVpnOutcome openVpn;
};

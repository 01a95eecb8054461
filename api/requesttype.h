#pragma once

// The eleven requests of the service dialogue. The values are fixed (they are stored in
// nothing, but the order is part of the program's vocabulary); the log numbers [1]..[11]
// differ from this order, see requestLogNumber().
enum RequestType {
    Req_SignKey = 0,
    Req_Auth = 1,
    Req_ServerMirrorCheck = 2,
    Req_SubsList = 3,
    Req_ServerList = 4,
    Req_DoubleServerList = 5,
    Req_OriginalIP = 6,
    Req_OpenVPNConfig = 7,
    Req_NewIP = 8,
    Req_SiteReachable = 9,
    Req_MirrorToolConfig = 10
};

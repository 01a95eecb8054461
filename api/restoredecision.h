#pragma once

#include "api/vpnserver.h"

#include <QVector>

// What the window does with the route of the last run once a server list is ready.
struct RestoreDecision
{
    enum Action {
        Restore_Nothing, // leave the choice as it is
        Restore_UnsupportedType, // tell the user the subscription type is not supported
        Restore_Connect, // connect to firstServerIndex / secondServerIndex
        Restore_AutoChoice // let the automatic choice pick a server and connect
    };
    Action action = Restore_Nothing;
    int firstServerIndex = -1; // the chosen entry and exit after the decision
    int secondServerIndex = -1;
};

// subscriptionType: type of the chosen subscription; first/secondServerIndex: the window's
// current choice; lastId1/lastId2: the remembered server ids (-1 when none). A current
// choice is only trusted while it points into servers.
RestoreDecision decideRestoreLastServer(int subscriptionType, int firstServerIndex,
                                        int secondServerIndex, bool autoConnect, int lastId1,
                                        int lastId2, const QVector<VPNServer> &servers);

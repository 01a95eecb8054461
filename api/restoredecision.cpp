#include "restoredecision.h"

namespace {

bool inList(int index, const QVector<VPNServer> &servers)
{
    return index >= 0 && index < servers.size();
}

RestoreDecision::Action connectIf(bool autoConnect)
{
    return autoConnect ? RestoreDecision::Restore_Connect : RestoreDecision::Restore_Nothing;
}

RestoreDecision::Action autoChoiceIf(bool autoConnect)
{
    return autoConnect ? RestoreDecision::Restore_AutoChoice : RestoreDecision::Restore_Nothing;
}

} // namespace

RestoreDecision decideRestoreLastServer(int subscriptionType, int firstServerIndex,
                                        int secondServerIndex, bool autoConnect, int lastId1,
                                        int lastId2, const QVector<VPNServer> &servers)
{
    RestoreDecision decision;
    decision.firstServerIndex = firstServerIndex;
    decision.secondServerIndex = secondServerIndex;

    switch (subscriptionType) {
    case 1:
    case 3:
    case 4: {
        // A choice that survived a reload of the list is kept, but only while it still
        // names a server: an index past the new list would be followed blindly otherwise.
        if (firstServerIndex != -1 && autoConnect && inList(firstServerIndex, servers)) {
            decision.action = RestoreDecision::Restore_Connect;
            return decision;
        }
        if (lastId1 != -1 && !servers.isEmpty()) {
            for (int k = 0; k < servers.size(); ++k) {
                if (servers.at(k).id == lastId1) {
                    decision.firstServerIndex = decision.secondServerIndex = k;
                    decision.action = connectIf(autoConnect);
                    return decision;
                }
            }
            decision.action = autoChoiceIf(autoConnect);
            return decision;
        }
        decision.action = autoChoiceIf(autoConnect);
        return decision;
    }
    case 2: {
        if (firstServerIndex != -1 && secondServerIndex != -1 && autoConnect
            && inList(firstServerIndex, servers) && inList(secondServerIndex, servers)) {
            decision.action = RestoreDecision::Restore_Connect;
            return decision;
        }
        if (lastId1 != -1 && lastId2 != -1) {
            int entry = -1;
            int exit = -1;
            for (int k = 0; k < servers.size() && (entry < 0 || exit < 0); ++k) {
                if (entry < 0 && servers.at(k).id == lastId1)
                    entry = k;
                if (exit < 0 && servers.at(k).id == lastId2)
                    exit = k;
            }
            // A remembered route with a server gone is not replaced by another one.
            if (entry >= 0 && exit >= 0) {
                decision.firstServerIndex = entry;
                decision.secondServerIndex = exit;
                decision.action = connectIf(autoConnect);
            }
            return decision;
        }
        decision.action = autoChoiceIf(autoConnect);
        return decision;
    }
    default:
        decision.action = RestoreDecision::Restore_UnsupportedType;
        return decision;
    }
}

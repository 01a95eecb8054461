#pragma once

#include "api/subscription.h"
#include "api/vpnserver.h"

#include <QString>
#include <QVector>

// The window state a request is built from, copied at the moment of sending.
struct ApiRequestContext
{
    QString apiBaseUrl;
    QString emergencyAddress;
    bool emergencyIsIp = false;
    QByteArray apiHostName;
    QString ipEchoBase;

    QString requestKey;
    QString authToken;
    int userId = 0;

    QString login; // as typed in the sign-in form
    QString password; // as typed; goes into the body of [2] only, never into a log

    // The chosen subscription and route; hasSubscription / hasEntry / hasExit say whether
    // the indices the window holds pointed at real entries.
    bool hasSubscription = false;
    Subscription subscription;
    bool hasEntry = false;
    VPNServer entryServer;
    bool hasExit = false;
    VPNServer exitServer;

    bool useTcp = false;
    QString protocolLabel; // text of the checked protocol button, for the log

    // Fills the subscription and route from the window's vectors and indices, checking
    // every index against its vector.
    void setRoute(const QVector<Subscription> &subscriptions, int currentSubIndex,
                  const QVector<VPNServer> &servers, int firstServerIndex, int secondServerIndex)
    {
        hasSubscription = currentSubIndex >= 0 && currentSubIndex < subscriptions.size();
        subscription = hasSubscription ? subscriptions.at(currentSubIndex) : Subscription();
        hasEntry = firstServerIndex >= 0 && firstServerIndex < servers.size();
        entryServer = hasEntry ? servers.at(firstServerIndex) : VPNServer();
        hasExit = secondServerIndex >= 0 && secondServerIndex < servers.size();
        exitServer = hasExit ? servers.at(secondServerIndex) : VPNServer();
    }
};

#pragma once

#include "api/authinfo.h"
#include "api/subscription.h"
#include "api/vpnserver.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// Decoding of the service's answers into the client's records. Every member is read with
// the JSON defaults (false, 0, empty string) when it is missing or of another type; only
// the envelope's "result" decides whether a reply was accepted.

// Reply [1]: the request key.
QString parseSignKey(const QJsonObject &reply);

// Replies [7] and [8]: the user's public address as the service sees it.
QString parseUserIp(const QJsonObject &reply);

// Reply [2]: token and account.
AuthInfo parseAuth(const QJsonObject &reply);

// One element of "data" of reply [4].
Subscription parseSubscription(const QJsonObject &element);
// Reply [4]: every element of "data", sorted by ascending type (equal types in any order).
QVector<Subscription> parseSubscriptions(const QJsonObject &reply);

// The path of the buy page below the site base, by interface language (1 Russian,
// 2 English, 3 Chinese, 4 Spanish, 5 Ukrainian).
QString buyPagePath(int language);

// Reply [5]: the servers a subscription of the given type may use, names in the interface
// language, with their same-city lists. Free servers are left out unless the type is the
// free kind (4).
QVector<VPNServer> parseServerList(const QJsonObject &reply, int subscriptionType, int language);

// sameCity of every server: the ascending indices of all servers with exactly the same
// cityName (the server itself included), one list per city shared by its servers. Linear in
// the number of servers, in time and in memory.
void fillSameCity(QVector<VPNServer> &servers);

// Reply [6]: marks the entries of double routes and their exits. Map names and exit ids
// that are not whole numbers, or name no server of the list, are skipped.
void applyDoubleMap(QVector<VPNServer> &servers, const QJsonObject &reply);

// What follows a server list reply, by subscription type.
enum ServerListFollowUp {
    FollowUp_ListReady, // types 1, 3, 4: the list is complete
    FollowUp_DoubleMap, // type 2: request the double map [6] next
    FollowUp_InvalidType // anything else: the reply counts as declined
};
ServerListFollowUp serverListFollowUp(int subscriptionType);

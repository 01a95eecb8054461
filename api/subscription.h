#pragma once

#include <QString>
#include <QtGlobal>

// The kinds of package the service sells, as its replies number them.
enum SubscriptionType { Sub_Premium = 1, Sub_Double = 2, Sub_Onion = 3, Sub_Free = 4 };

// One package of the account, as reply [4] lists it.
struct Subscription
{
    int id = 0;
    int type = 0; // a SubscriptionType; anything else is unsupported
    QString typeName;
    int timeCreated = 0; // seconds since the epoch
    int timeEnd = 0; // seconds since the epoch
    QString name;
    qint16 status = 0; // 1 active, 2 paused, 3 expired
};

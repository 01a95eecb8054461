#pragma once

#include <QString>
#include <QtGlobal>

// One package of the account, as reply [4] lists it.
struct Subscription
{
    int id = 0;
    int type = 0; // 1 premium, 2 double, 3 onion, 4 free; anything else is unsupported
    QString typeName;
    int timeCreated = 0; // seconds since the epoch
    int timeEnd = 0; // seconds since the epoch
    QString name;
    qint16 status = 0; // 1 active, 2 paused, 3 expired
};

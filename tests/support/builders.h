#pragma once

#include "api/subscription.h"
#include "api/vpnserver.h"

#include <QDateTime>
#include <QFile>

// Servers, subscriptions and files as the tests need them, with only what matters said.
inline VPNServer server(int id, const QString &ip = QString(), const QString &country = QString(),
                        const QString &city = QString())
{
    VPNServer s;
    s.id = id;
    s.ip = ip;
    s.countryName = country;
    s.cityName = city;
    return s;
}

// Ends `daysLeft` days from now (negative: has ended).
inline Subscription subscription(int id, int type, int daysLeft = 30, qint16 status = 1,
                                 const QString &typeName = QString())
{
    Subscription s;
    s.id = id;
    s.type = type;
    s.status = status;
    s.typeName = typeName;
    s.timeEnd = int(QDateTime::currentSecsSinceEpoch() + qint64(daysLeft) * 86400);
    return s;
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

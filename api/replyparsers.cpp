#include "replyparsers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QCborMap>
#include <QCborValue>
#include <QHash>
#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

namespace {

// A number of seconds, truncated toward zero; values beyond the range of int are clamped
// rather than left to an undefined conversion.
int truncatedSeconds(const QJsonValue &value)
{
    const double number = value.toDouble(0.0);
    if (!std::isfinite(number))
        return 0;
    if (number >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (number <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(std::trunc(number));
}

// A whole number given as a JSON number or as a string of digits.
bool readId(const QJsonValue &value, int *id)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (std::trunc(number) != number || number > double(std::numeric_limits<int>::max())
            || number < double(std::numeric_limits<int>::min()))
            return false;
        *id = int(number);
        return true;
    }
    if (value.isString()) {
        bool ok = false;
        *id = value.toString().toInt(&ok, 10);
        return ok;
    }
    return false;
}

} // namespace

QString parseSignKey(const QJsonObject &reply)
{
    return reply.value(QStringLiteral("key")).toString();
}

QString parseUserIp(const QJsonObject &reply)
{
    return reply.value(QStringLiteral("api")).toObject().value(QStringLiteral("ip")).toString();
}

AuthInfo parseAuth(const QJsonObject &reply)
{
    AuthInfo info;
    info.authToken = reply.value(QStringLiteral("token")).toString();
    const QJsonObject user = reply.value(QStringLiteral("user")).toObject();
    info.userId = user.value(QStringLiteral("id")).toInt(0);
    info.userEmail = user.value(QStringLiteral("email")).toString();
    info.userName = user.value(QStringLiteral("username")).toString();
    return info;
}

Subscription parseSubscription(const QJsonObject &element)
{
    Subscription sub;
    sub.id = element.value(QStringLiteral("id")).toInt(0);
    sub.type = element.value(QStringLiteral("type")).toInt(0);
    sub.typeName = element.value(QStringLiteral("typeName")).toString();
    sub.timeCreated = truncatedSeconds(element.value(QStringLiteral("timeCreated")));
    sub.timeEnd = truncatedSeconds(element.value(QStringLiteral("timeEnd")));
    sub.name = element.value(QStringLiteral("name")).toString();
    sub.status = qint16(element.value(QStringLiteral("status")).toInt(0));
    return sub;
}

QVector<Subscription> parseSubscriptions(const QJsonObject &reply)
{
    const QJsonArray data = reply.value(QStringLiteral("data")).toArray();
    QVector<Subscription> subscriptions;
    subscriptions.reserve(data.size());
    for (const QJsonValue &element : data)
        subscriptions.append(parseSubscription(element.toObject()));
    std::sort(subscriptions.begin(), subscriptions.end(),
              [](const Subscription &a, const Subscription &b) { return a.type < b.type; });
    return subscriptions;
}

QString buyPagePath(int language)
{
    switch (language) {
    case 3:
        return QStringLiteral("/cn/panel/package/buy");
    case 1:
    case 5:
        return QStringLiteral("/ru/panel/package/buy");
    default:
        return QStringLiteral("/en/panel/package/buy");
    }
}

QVector<VPNServer> parseServerList(const QJsonObject &reply, int subscriptionType, int language)
{
    const QJsonArray data = reply.value(QStringLiteral("data")).toArray();
    const bool russian = language == 1;
    const QLatin1String countryKey(russian ? "countryNameRu" : "countryNameEn");
    const QLatin1String cityKey(russian ? "cityNameRu" : "cityNameEn");

    // Members are read through the CBOR view of each object, which shares its data: a lookup
    // there tests keys for equality, where QJsonObject::value runs an ordering search over the
    // keys and wraps the member in a QJsonValue. With thousands of servers that was nearly a
    // third of the time. The id goes through QJsonValue, to keep JSON's rules for numbers.
    QVector<VPNServer> servers;
    servers.reserve(data.size());
    for (const QJsonValue &value : data) {
        const QCborMap element = QCborMap::fromJsonObject(value.toObject());
        if (subscriptionType != 4 && element.value(QLatin1String("isFree")).toBool(false))
            continue;
        VPNServer server;
        server.id = element.value(QLatin1String("id")).toJsonValue().toInt(0);
        server.ip = element.value(QLatin1String("ip")).toString();
        server.name = element.value(QLatin1String("name")).toString();
        const QCborMap def
            = element.value(QLatin1String("geo")).toMap().value(QLatin1String("def")).toMap();
        server.countryIso = def.value(QLatin1String("countryIso")).toString();
        server.countryName = def.value(countryKey).toString();
        server.cityName = def.value(cityKey).toString();
        servers.append(std::move(server));
    }
    fillSameCity(servers);
    return servers;
}

void fillSameCity(QVector<VPNServer> &servers)
{
    // Each server's city, cities numbered in the order of their first server, and their sizes.
    QHash<QString, int> cityOf;
    cityOf.reserve(servers.size());
    QVector<int> cityIndex(servers.size());
    QVector<int> sizes;
    for (int i = 0; i < servers.size(); ++i) {
        auto it = cityOf.constFind(servers.at(i).cityName);
        if (it == cityOf.constEnd()) {
            it = cityOf.insert(servers.at(i).cityName, sizes.size());
            sizes.append(0);
        }
        ++sizes[it.value()];
        cityIndex[i] = it.value();
    }
    // Each list made once at its size, ascending because indices are appended in order, and
    // complete before it is shared (an append to a shared list would copy it).
    QVector<QVector<int>> cities(sizes.size());
    for (int c = 0; c < cities.size(); ++c)
        cities[c].reserve(sizes.at(c));
    for (int i = 0; i < servers.size(); ++i)
        cities[cityIndex.at(i)].append(i);
    for (int i = 0; i < servers.size(); ++i)
        servers[i].sameCity = cities.at(cityIndex.at(i));
}

void applyDoubleMap(QVector<VPNServer> &servers, const QJsonObject &reply)
{
    const QJsonObject map = reply.value(QStringLiteral("map")).toObject();

    // The first server with each id, as a linear search from the front would find it.
    QHash<int, int> indexById;
    indexById.reserve(servers.size());
    for (int i = 0; i < servers.size(); ++i) {
        if (!indexById.contains(servers.at(i).id))
            indexById.insert(servers.at(i).id, i);
    }

    QStringList names = map.keys();
    std::sort(names.begin(), names.end());
    for (const QString &name : names) {
        bool ok = false;
        const int entryId = name.toInt(&ok, 10);
        if (!ok)
            continue;
        const auto entry = indexById.constFind(entryId);
        if (entry == indexById.constEnd())
            continue;
        VPNServer &server = servers[entry.value()];
        server.doubleEntry = true;
        const QJsonArray exits = map.value(name).toArray();
        for (const QJsonValue &value : exits) {
            int exitId = 0;
            if (!readId(value, &exitId))
                continue;
            const auto exit = indexById.constFind(exitId);
            if (exit != indexById.constEnd())
                server.doubleExits.append(exit.value());
        }
    }
}

ServerListFollowUp serverListFollowUp(int subscriptionType)
{
    switch (subscriptionType) {
    case 1:
    case 3:
    case 4:
        return FollowUp_ListReady;
    case 2:
        return FollowUp_DoubleMap;
    default:
        return FollowUp_InvalidType;
    }
}

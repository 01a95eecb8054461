#pragma once

#include <QString>
#include <QVector>

// One server of the chosen subscription. Index vectors refer to positions in the same
// server vector, so they are only meaningful together with it.
struct VPNServer
{
    int id = 0;
    QString ip;
    QString name;
    QString countryIso;
    QString countryName;
    QString cityName;
    bool doubleEntry = false;
    QVector<int> doubleExits;
    bool favorite = false;
    QVector<int> favoriteExits;
    // Every server of this server's city (exactly the same cityName), this one included, in
    // ascending order. The servers of a city hold one shared list: copying it costs a
    // reference count, so a city of thousands of servers costs one list, not one per server.
    // Read it through const references (a write detaches a private copy); the other servers
    // of the city are otherServersOfCity(own index).
    QVector<int> sameCity;

    // The other servers of this server's city, ascending, given this server's own index.
    QVector<int> otherServersOfCity(int ownIndex) const
    {
        QVector<int> others;
        others.reserve(sameCity.size());
        for (int k : sameCity) {
            if (k != ownIndex)
                others.append(k);
        }
        return others;
    }
};

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
    QVector<int> sameCity;
};

#pragma once

#include "api/vpnserver.h"

#include <QLocale>
#include <QPair>
#include <QVector>

// Which servers the server lists show, as indexes into the server list. A location is its
// city: the first server of a city stands for all of it.
namespace ServerListRows {

// One server per city, ordered by "country | city" in the alphabetical order of `language`
// (the interface language).
QVector<int> allLocations(const QVector<VPNServer> &servers, const QLocale &language);

// Favourites in list order; a favourite whose city an earlier server stands for has no row.
QVector<int> favorites(const QVector<VPNServer> &servers);

// Favourite routes (entry, exit): entries in list order, each with its valid favourite exits
// in list order; a server is never its own exit.
QVector<QPair<int, int>> favoritePairs(const QVector<VPNServer> &servers);

// Entry servers, one per city among the entries.
QVector<int> doubleEntries(const QVector<VPNServer> &servers);

// The valid exits of entry, one per city.
QVector<int> doubleExits(const QVector<VPNServer> &servers, int entry);

// The row to make current after a refill: the remembered row while it still exists; else
// none in an empty list; else row 0 when nothing is chosen, or the row of the chosen server
// (row 0 when it has none).
int currentRow(int remembered, const QVector<int> &rowIds, bool serverChosen, int chosenId);

} // namespace ServerListRows

#pragma once

#include "settingsvalues.h"

#include <QString>
#include <QStringList>
#include <QVector>

// How stored favourites map onto the server list of a subscription and back. Servers are
// given by their addresses in list order; results use indexes into that list.
namespace FavoriteRules {

// The array key of a subscription type inside the favourites group: "PremiumSub",
// "DoubleSub", "OnionSub", "FreeSub"; empty for any other type.
QString arrayNameForType(int subscriptionType);

// The server a stored single favourite marks: the first one whose address occurs within
// the stored text (stored texts may carry more than the bare address), or -1.
int serverMarkedBy(const QString &stored, const QStringList &serverAddresses);

// The favourite flag of every server after loading the stored addresses in order.
QVector<bool> markFavorites(const QStringList &stored, const QStringList &serverAddresses);

// The favourite exits (indexes) of every server after loading the stored pairs. Every
// server whose address occurs within a stored entry address receives the exits whose
// address equals a server's address exactly.
QVector<QVector<int>> restoreFavoriteExits(const QVector<DoubleFavorite> &stored,
                                           const QStringList &serverAddresses);

// The addresses to store for the servers whose flag is set, in list order.
QStringList addressesToStore(const QStringList &serverAddresses,
                             const QVector<bool> &favoriteFlags);

// The pairs to store: one per server with favourite exits, in list order, each with the
// addresses of those exits in list order; a server never lists itself.
QVector<DoubleFavorite> pairsToStore(const QStringList &serverAddresses,
                                     const QVector<QVector<int>> &favoriteExits);

// Favourites to save for a list: those built from the list, plus the stored ones that speak
// of servers absent from it (left out by the availability check, or missing from this
// reply), since the list cannot say that the user gave them up. A pair whose entry is in the
// list keeps its stored exits that are not.
FavoritesSettings keepAbsentFavorites(FavoritesSettings fromList, const FavoritesSettings &stored,
                                      const QStringList &serverAddresses);

} // namespace FavoriteRules

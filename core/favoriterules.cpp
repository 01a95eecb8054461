#include "favoriterules.h"

#include <algorithm>

namespace FavoriteRules {

QString arrayNameForType(int subscriptionType)
{
    switch (subscriptionType) {
    case 1:
        return QStringLiteral("PremiumSub");
    case 2:
        return QStringLiteral("DoubleSub");
    case 3:
        return QStringLiteral("OnionSub");
    case 4:
        return QStringLiteral("FreeSub");
    default:
        return QString();
    }
}

int serverMarkedBy(const QString &stored, const QStringList &serverAddresses)
{
    for (int i = 0; i < serverAddresses.size(); ++i) {
        // An empty address occurs within every text; a server without an address cannot
        // be anybody's favourite.
        const QString &address = serverAddresses.at(i);
        if (!address.isEmpty() && stored.contains(address))
            return i;
    }
    return -1;
}

QVector<bool> markFavorites(const QStringList &stored, const QStringList &serverAddresses)
{
    QVector<bool> flags(serverAddresses.size(), false);
    for (const QString &entry : stored) {
        const int index = serverMarkedBy(entry, serverAddresses);
        if (index >= 0)
            flags[index] = true;
    }
    return flags;
}

QVector<QVector<int>> restoreFavoriteExits(const QVector<DoubleFavorite> &stored,
                                           const QStringList &serverAddresses)
{
    QVector<QVector<int>> exits(serverAddresses.size());
    for (const DoubleFavorite &pair : stored) {
        for (int i = 0; i < serverAddresses.size(); ++i) {
            const QString &entry = serverAddresses.at(i);
            if (entry.isEmpty() || !pair.entryAddress.contains(entry))
                continue;
            for (const QString &exitAddress : pair.exitAddresses) {
                const int j = serverAddresses.indexOf(exitAddress);
                // An exit that is no longer in the list, the entry itself or one already
                // restored adds nothing.
                if (j < 0 || j == i || exits.at(i).contains(j))
                    continue;
                exits[i].append(j);
            }
        }
    }
    return exits;
}

QStringList addressesToStore(const QStringList &serverAddresses, const QVector<bool> &favoriteFlags)
{
    QStringList addresses;
    const int count = qMin(serverAddresses.size(), favoriteFlags.size());
    for (int i = 0; i < count; ++i) {
        if (favoriteFlags.at(i))
            addresses.append(serverAddresses.at(i));
    }
    return addresses;
}

QVector<DoubleFavorite> pairsToStore(const QStringList &serverAddresses,
                                     const QVector<QVector<int>> &favoriteExits)
{
    QVector<DoubleFavorite> pairs;
    const int count = qMin(serverAddresses.size(), favoriteExits.size());
    for (int i = 0; i < count; ++i) {
        if (favoriteExits.at(i).isEmpty())
            continue;
        DoubleFavorite pair;
        pair.entryAddress = serverAddresses.at(i);
        for (int j = 0; j < serverAddresses.size(); ++j) {
            if (j != i && favoriteExits.at(i).contains(j))
                pair.exitAddresses.append(serverAddresses.at(j));
        }
        pairs.append(pair);
    }
    return pairs;
}

FavoritesSettings keepAbsentFavorites(FavoritesSettings fromList, const FavoritesSettings &stored,
                                      const QStringList &serverAddresses)
{
    if (stored.subscriptionType != fromList.subscriptionType)
        return fromList;
    for (const QString &entry : stored.addresses) {
        if (serverMarkedBy(entry, serverAddresses) < 0 && !fromList.addresses.contains(entry))
            fromList.addresses.append(entry);
    }
    for (const DoubleFavorite &pair : stored.pairs) {
        QStringList absentExits;
        for (const QString &exitAddress : pair.exitAddresses) {
            if (!serverAddresses.contains(exitAddress))
                absentExits.append(exitAddress);
        }
        const bool entryAbsent = serverMarkedBy(pair.entryAddress, serverAddresses) < 0;
        if (entryAbsent) {
            fromList.pairs.append(pair);
            continue;
        }
        if (absentExits.isEmpty())
            continue;
        auto same = std::find_if(fromList.pairs.begin(), fromList.pairs.end(),
                                 [&](const DoubleFavorite &built) {
                                     return pair.entryAddress.contains(built.entryAddress);
                                 });
        if (same == fromList.pairs.end())
            fromList.pairs.append({pair.entryAddress, absentExits});
        else
            same->exitAddresses += absentExits;
    }
    return fromList;
}

} // namespace FavoriteRules

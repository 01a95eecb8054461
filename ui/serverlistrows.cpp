#include "serverlistrows.h"

#include <algorithm>

#include <QCollator>
#include <QSet>

namespace ServerListRows {

namespace {

bool firstOfCity(QSet<QString> &seen, const QString &city)
{
    if (seen.contains(city))
        return false;
    seen.insert(city);
    return true;
}

bool valid(const QVector<VPNServer> &servers, int index)
{
    return index >= 0 && index < servers.size();
}

} // namespace

QVector<int> allLocations(const QVector<VPNServer> &servers, const QLocale &language)
{
    // Alphabetical as the user's language has it: "Åland" near "Albania", lower case beside
    // capitals, "Ё" with "Е"; code-point order would put all of them after "Zimbabwe".
    QCollator collator(language);
    QVector<QPair<QCollatorSortKey, int>> rows;
    QSet<QString> cities;
    for (int i = 0; i < servers.size(); ++i) {
        if (firstOfCity(cities, servers.at(i).cityName))
            rows.append({collator.sortKey(servers.at(i).countryName + QStringLiteral(" | ")
                                          + servers.at(i).cityName),
                         i});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const QPair<QCollatorSortKey, int> &a,
                        const QPair<QCollatorSortKey, int> &b) { return a.first < b.first; });
    QVector<int> order;
    order.reserve(rows.size());
    for (const QPair<QCollatorSortKey, int> &row : rows)
        order.append(row.second);
    return order;
}

QVector<int> favorites(const QVector<VPNServer> &servers)
{
    QVector<int> rows;
    QSet<QString> cities;
    for (int i = 0; i < servers.size(); ++i) {
        const bool first = firstOfCity(cities, servers.at(i).cityName);
        if (first && servers.at(i).favorite)
            rows.append(i);
    }
    return rows;
}

QVector<QPair<int, int>> favoritePairs(const QVector<VPNServer> &servers)
{
    QVector<QPair<int, int>> pairs;
    for (int i = 0; i < servers.size(); ++i) {
        if (!servers.at(i).doubleEntry)
            continue;
        QVector<int> exits = servers.at(i).favoriteExits;
        std::sort(exits.begin(), exits.end());
        exits.erase(std::unique(exits.begin(), exits.end()), exits.end());
        for (int j : exits) {
            if (j != i && valid(servers, j))
                pairs.append({i, j});
        }
    }
    return pairs;
}

QVector<int> doubleEntries(const QVector<VPNServer> &servers)
{
    QVector<int> entries;
    QSet<QString> cities;
    for (int i = 0; i < servers.size(); ++i) {
        if (servers.at(i).doubleEntry && firstOfCity(cities, servers.at(i).cityName))
            entries.append(i);
    }
    return entries;
}

QVector<int> doubleExits(const QVector<VPNServer> &servers, int entry)
{
    QVector<int> exits;
    if (!valid(servers, entry))
        return exits;
    QSet<QString> cities;
    for (int j : servers.at(entry).doubleExits) {
        if (valid(servers, j) && firstOfCity(cities, servers.at(j).cityName))
            exits.append(j);
    }
    return exits;
}

int currentRow(int remembered, const QVector<int> &rowIds, bool serverChosen, int chosenId)
{
    if (remembered != -1 && remembered < rowIds.size())
        return remembered;
    if (rowIds.isEmpty())
        return -1;
    if (!serverChosen)
        return 0;
    const int row = int(rowIds.indexOf(chosenId));
    return row >= 0 ? row : 0;
}

} // namespace ServerListRows

// Turns a server list reply of 10,000 servers into the client's server vector, same-city
// lists included, beside the JSON decode of the same reply alone (what any client pays), and
// compares the same-city step with the plain quadratic pass.
#include "api/replyenvelope.h"
#include "api/replyparsers.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QSet>

namespace {

QByteArray makeReply(int servers, int cities)
{
    QRandomGenerator random(4242);
    QJsonArray data;
    for (int i = 0; i < servers; ++i) {
        const int city = int(random.bounded(cities));
        data.append(QJsonObject {
            {"id", 1000 + i},
            {"ip", QStringLiteral("10.%1.%2.%3").arg(i >> 16).arg((i >> 8) & 255).arg(i & 255)},
            {"name", QStringLiteral("server-%1").arg(i)},
            {"isFree", i % 10 == 0},
            {"geo",
             QJsonObject {{"def",
                           QJsonObject {{"countryIso", "NL"},
                                        {"countryNameEn", "Netherlands"},
                                        {"countryNameRu", "Нидерланды"},
                                        {"cityNameEn", QStringLiteral("City %1").arg(city)},
                                        {"cityNameRu", QStringLiteral("Город %1").arg(city)}}}}}});
    }
    return QJsonDocument(QJsonObject {{"result", true}, {"data", data}}).toJson();
}

// The other servers of each server's city, by comparing every pair.
QVector<QVector<int>> quadraticSameCity(const QVector<VPNServer> &servers)
{
    QVector<QVector<int>> others(servers.size());
    for (int i = 0; i < servers.size(); ++i) {
        for (int j = 0; j < servers.size(); ++j) {
            if (j != i && servers.at(i).cityName == servers.at(j).cityName)
                others[i].append(j);
        }
    }
    return others;
}

template<typename F> double bestOf(int runs, F work)
{
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer clock;
        clock.start();
        work();
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = 10000;
    std::printf("server list reply: %d servers, 10 %% free (left out for premium)\n", count);
    for (int cities : {20, 500, 5000}) {
        const QByteArray body = makeReply(count, cities);
        QVector<VPNServer> servers;
        const double decode = bestOf(5, [&] {
            const ReplyEnvelope envelope = ReplyEnvelope::decode(QNetworkReply::NoError, body);
            if (!envelope.ok)
                std::printf("the reply did not decode\n");
        });
        const double whole = bestOf(5, [&] {
            const ReplyEnvelope envelope = ReplyEnvelope::decode(QNetworkReply::NoError, body);
            servers = parseServerList(envelope.object, 1, 2);
        });
        QVector<VPNServer> copy = servers;
        const double sameCity = bestOf(5, [&] { fillSameCity(copy); });
        QVector<QVector<int>> reference;
        const double quadratic = bestOf(3, [&] { reference = quadraticSameCity(servers); });
        bool equal = true;
        for (int i = 0; i < servers.size(); ++i)
            equal = equal && servers.at(i).otherServersOfCity(i) == reference.at(i)
                && servers.at(i).sameCity.size() == reference.at(i).size() + 1;
        // What the lists hold in memory: each city's shared list once.
        QSet<const int *> lists;
        qint64 entries = 0;
        for (const VPNServer &s : servers) {
            if (!lists.contains(s.sameCity.constData())) {
                lists.insert(s.sameCity.constData());
                entries += s.sameCity.size();
            }
        }
        std::printf("%5d cities: reply -> servers %.1f ms, JSON decode alone %.1f ms (body %.1f MB, "
                    "%d servers, %d same-city lists of %lld indices); same-city step %.2f ms, "
                    "quadratic pass %.1f ms, ratio %.0fx, lists %s\n",
                    cities, whole, decode, body.size() / 1048576.0, servers.size(), lists.size(),
                    static_cast<long long>(entries), sameCity, quadratic,
                    quadratic / std::max(sameCity, 1e-3), equal ? "identical" : "DIFFERENT");
        // The lines tools/bench.sh collects (bench/README.md): the whole reply within 1.5 times
        // its JSON decode alone, the same-city step at least ten times quicker than the
        // quadratic pass.
        std::printf("BENCH\tserver list 10,000, %d cities: reply -> servers\t%.2f\tms\t%.2f\t"
                    "x<=1.5\n",
                    cities, whole, decode);
        std::printf("BENCH\tserver list 10,000, %d cities: same-city step\t%.3f\tms\t%.1f\tx<=0.1\n",
                    cities, sameCity, quadratic);
        if (!equal)
            return 1;
    }
    return 0;
}

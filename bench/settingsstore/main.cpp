// Prints how long the settings operations of the GUI thread take: one section saved or
// loaded, a long favourites list, and the password cipher.
#include "core/settingsstore.h"
#include "core/storedpassword.h"

#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

void measure(const char *name, int rounds, const std::function<void()> &operation)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        operation();
    const double micros = double(timer.nsecsElapsed()) / 1000.0 / rounds;
    std::printf("%-40s %10.1f us per operation (%d rounds)\n", name, micros, rounds);
    // The line tools/bench.sh collects (bench/README.md).
    std::printf("BENCH\tsettings: %s\t%.1f\tus\t-\t-\n", name, micros);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    SettingsStore store(SettingsStore::fileNameIn(dir.path()));

    GeneralSettings general;
    general.loginData = {true, QStringLiteral("alice@example.com"), QStringLiteral("s3cret")};
    FavoritesSettings favorites;
    favorites.subscriptionType = 1;
    for (int i = 0; i < 200; ++i)
        favorites.addresses.append(QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250));

    measure("save general section", 200, [&] { store.saveGeneral(general); });
    measure("load general section", 200, [&] { store.loadGeneral(); });
    measure("save 200 favourites", 50, [&] { store.saveFavorites(favorites); });
    measure("load 200 favourites", 50, [&] { store.loadFavorites(1); });
    measure("encipher password", 10000,
            [] { StoredPassword::encryptPassword(QStringLiteral("s3cret"), 'a'); });
    const QString stored = StoredPassword::encryptPassword(QStringLiteral("s3cret"), 'a');
    measure("decipher password", 10000, [&] { StoredPassword::decryptPassword(stored, 'a'); });
    return 0;
}

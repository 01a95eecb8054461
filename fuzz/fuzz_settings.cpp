// settings.ini as it may be found on disk: every section read, with whatever the file holds.

#include "core/settingsstore.h"

#include <cstdint>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory: the file is written for every input.
    static QTemporaryDir dir(QStringLiteral("/dev/shm/kestrune-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // The first byte picks the section, so that every input is read once.
    SettingsStore store(path);
    switch (size ? data[0] % 10 : 0) {
    case 0:
        store.loadLoginData();
        break;
    case 1:
        store.loadGeneral();
        break;
    case 2:
        store.loadFavorites(1 + size % 4);
        break;
    case 3:
        store.loadLastConnection();
        break;
    case 4:
        store.loadFavoriteIp(QStringLiteral("Amsterdam"));
        break;
    case 5:
        store.loadLanguage();
        break;
    case 6:
        store.loadStatWindow();
        break;
    case 7:
        store.loadLastVersion();
        break;
    case 8:
        store.loadEmergencyAddress();
        break;
    default:
        store.loadExtra();
        break;
    }
    // Copies of damaged files are kept beside it; the next input starts from an empty folder.
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(dir.filePath(name));
    return 0;
}

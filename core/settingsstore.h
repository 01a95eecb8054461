#pragma once

#include "settingstype.h"
#include "settingsvalues.h"

#include <functional>

#include <QCoreApplication>
#include <QString>

class QSettings;

// settings.ini in the data folder, read and written one section at a time in Qt's INI format,
// so that every key the program does not write survives untouched and files of earlier
// releases load as they are. Each operation opens and closes its own QSettings; only the GUI
// thread uses the store.
//
// Values that cannot be read (wrong type, out of range, unreadable file) give their defaults.
// A save reports whether the file was really written: when it was not, settings.ini keeps what
// it held and the log says so instead of claiming success.
class SettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)

public:
    // The data folder, the native directory separator, then "settings.ini".
    static QString fileNameIn(const QString &dataDir);

    explicit SettingsStore(const QString &fileName);

    QString fileName() const { return m_fileName; }

    bool saveLoginData(const LoginDataSettings &values);
    bool saveGeneral(const GeneralSettings &values);
    bool saveFavorites(const FavoritesSettings &values);
    bool saveLastConnection(const LastConnectionSettings &values);
    bool saveFavoriteIp(const FavoriteIpSettings &values);
    bool saveLanguage(const LanguageSettings &values);
    bool saveStatWindow(const StatWindowSettings &values);
    // Always records this program's version.
    bool saveLastVersion();
    bool saveEmergencyAddress(const EmergencyAddressSettings &values);
    bool saveExtra(const ExtraSettings &values);

    // The login data keys are read with the general section; this only logs.
    void loadLoginData();
    GeneralSettings loadGeneral();
    FavoritesSettings loadFavorites(int subscriptionType);
    LastConnectionSettings loadLastConnection();
    FavoriteIpSettings loadFavoriteIp(const QString &cityName);
    LanguageSettings loadLanguage();
    StatWindowSettings loadStatWindow();
    LastVersionSettings loadLastVersion();
    // An empty stored address reads as the built-in emergency address.
    EmergencyAddressSettings loadEmergencyAddress();
    ExtraSettings loadExtra();

    bool removeEmergencyAddress();

    // At start: when another version ran last, records this one and drops the stored
    // emergency address, so that none survives an upgrade. Returns whether it changed.
    bool updateLastVersion();

private:
    bool save(SettingsType type, const std::function<void(QSettings &)> &write);
    bool writeToFile(const std::function<void(QSettings &)> &write);
    void logWriteFailure(SettingsType type);
    void keepCopyOfDamagedFile(const QByteArray &content);
    void logLoaded(const QString &description);

    QString m_fileName;
};

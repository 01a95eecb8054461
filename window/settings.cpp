#include "core/clientsettings.h"
#include "core/favoriterules.h"
#include "core/languagechoice.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "core/settingsvalues.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QLocale>

// The options live in the settings object (ClientSettings), which the settings page binds
// to; the sections about the account's servers are written from the window's own members.
// Every section is written and read here, so each has one way to the file.

namespace {

constexpr int LanguageCount = 5;

QStringList addressesOf(const QVector<VPNServer> &servers)
{
    QStringList addresses;
    addresses.reserve(servers.size());
    for (const VPNServer &server : servers)
        addresses.append(server.ip);
    return addresses;
}

bool validIndex(int index, const QVector<VPNServer> &servers)
{
    return index >= 0 && index < servers.size();
}

} // namespace

bool MainWindow::saveSettings(SettingsType type)
{
    if (type == Set_General || type == Set_LoginData)
        takeSignInForm();
    if (type == Set_EmergencyAddress) {
        EmergencyAddressSettings values;
        values.address = emergencyAddress;
        values.useByDefault = !apiBaseUrl.isEmpty() && apiBaseUrl == emergencyAddress;
        settings->setEmergencyAddress(values);
    }
    if (ClientSettings::holds(type))
        return settings->save(type);
    SettingsStore store(settings->fileName());
    switch (type) {
    case Set_Favorites: {
        FavoritesSettings values;
        if (currentSubIndex >= 0 && currentSubIndex < subscriptions.size())
            values.subscriptionType = subscriptions.at(currentSubIndex).type;
        const QStringList addresses = addressesOf(servers);
        if (values.subscriptionType == Sub_Double) {
            QVector<QVector<int>> exits;
            exits.reserve(servers.size());
            for (const VPNServer &server : servers)
                exits.append(server.favoriteExits);
            values.pairs = FavoriteRules::pairsToStore(addresses, exits);
        } else {
            QVector<bool> flags;
            flags.reserve(servers.size());
            for (const VPNServer &server : servers)
                flags.append(server.favorite);
            values.addresses = FavoriteRules::addressesToStore(addresses, flags);
        }
        values = FavoriteRules::keepAbsentFavorites(values, storedFavorites, addresses);
        // An unknown type writes nothing; the store logs it.
        const bool saved = store.saveFavorites(values);
        if (saved)
            storedFavorites = values;
        return saved;
    }
    case Set_LastConnection: {
        LastConnectionSettings values;
        if (validIndex(firstServerIndex, servers)) {
            values.firstServerId = servers.at(firstServerIndex).id;
            // A route without a separate exit is a single server: it is its own exit.
            values.secondServerId = validIndex(secondServerIndex, servers)
                ? servers.at(secondServerIndex).id
                : values.firstServerId;
        }
        return store.saveLastConnection(values);
    }
    case Set_FavoriteIP: {
        // The key is named after the exit server's city; without one there is nothing to
        // name it after, and a key of the bare suffix would be read by no server.
        if (!validIndex(secondServerIndex, servers)) {
            Loger::writeLine(tr("App's settings saving error: no server selected (%0)")
                                 .arg(settingsTypeDescription(type)));
            return false;
        }
        FavoriteIpSettings values;
        values.cityName = servers.at(secondServerIndex).cityName;
        values.address = ui->vpnInfoChangeIPComboBox->currentText();
        return store.saveFavoriteIp(values);
    }
    case Set_LastVersion:
        return store.saveLastVersion();
    default:
        return false;
    }
}

QVariantList MainWindow::loadSettings(SettingsType type)
{
    SettingsStore store(settings->fileName());
    switch (type) {
    case Set_Favorites: {
        const int subscriptionType = currentSubType();
        const FavoritesSettings values = store.loadFavorites(subscriptionType);
        storedFavorites = values;
        if (!FavoriteRules::arrayNameForType(subscriptionType).isEmpty())
            markFavorites(subscriptionType, values);
        return {};
    }
    case Set_LastConnection: {
        const LastConnectionSettings values = store.loadLastConnection();
        return {values.firstServerId, values.secondServerId};
    }
    case Set_LastVersion:
        return {store.loadLastVersion().lastLaunchedVersion};
    case Set_Language: {
        settings->load(Set_Language);
        int language = settings->language();
        const bool chosen = language >= 1 && language <= LanguageCount;
        if (!chosen) {
            const QLocale::Language system = QLocale::system().language();
            language = LanguageChoice::valueForSystemLanguage(system);
            if (LanguageChoice::isOwnLanguage(system))
                QLocale::setDefault(LanguageChoice::localeForValue(language));
            settings->setLanguage(language);
        }
        languageIndex = qint16(language);
        // Chinese interfaces are used where the service is blocked: ask for the mirror.
        mirrorAskedByLanguage = languageIndex == 3;
        if (!chosen)
            saveSettings(Set_Language);
        return {};
    }
    case Set_General: {
        settings->load(Set_General);
        const LoginDataSettings &login = settings->loginData();
        ui->mainRememberCheckBox->setChecked(login.rememberMe);
        ui->mainLoginLineEdit->setText(login.login);
        ui->mainPswdLineEdit->setText(login.password);
        return {};
    }
    case Set_EmergencyAddress:
        settings->load(Set_EmergencyAddress);
        emergencyAddress = settings->emergencyAddress().address;
        emergencyByDefault = settings->emergencyAddress().useByDefault;
        return {};
    default:
        settings->load(type);
        return {};
    }
}

bool MainWindow::removeEmergencyAddress()
{
    return SettingsStore(settings->fileName()).removeEmergencyAddress();
}

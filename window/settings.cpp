#include "window/mainwindow.h"
#include "core/favoriterules.h"
#include "core/languagechoice.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "core/settingsvalues.h"
#include "ui_mainwindow.h"

#include <QLocale>

// The window keeps its settings in its widgets and members; these functions only copy them
// to and from the plain values that SettingsStore reads and writes.

namespace {

constexpr int LanguageCount = 5;

LoginDataSettings loginDataFrom(const Ui::MainWindow *ui)
{
    LoginDataSettings values;
    values.rememberMe = ui->mainRememberCheckBox->isChecked();
    values.login = ui->mainLoginLineEdit->text();
    values.password = ui->mainPswdLineEdit->text();
    return values;
}

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
    SettingsStore store(SettingsStore::fileNameIn(dataDir));
    switch (type) {
    case Set_LoginData:
        return store.saveLoginData(loginDataFrom(ui));
    case Set_General: {
        GeneralSettings values;
        values.loginData = loginDataFrom(ui);
        values.udp = ui->settingProtUDPRButton->isChecked();
        values.packageId = savedPackageId;
        values.lockConnection = ui->stngBlockOtherConCheckBox->isChecked();
        values.autoConnect = ui->stngVPNAutoConCheckBox->isChecked();
        values.startMinimized = ui->settingStartMinimizedCheckBox->isChecked();
        values.showStatOnConnect = ui->settingShowStatWgtCheckBox->isChecked();
        values.systemAutostart = ui->settingSystemStartupCheckBox->isChecked();
        values.checkAvailableServers = ui->settingCheckAvailableServCheckBox->isChecked();
        values.serverMirrorConfig = mirrorFlags[1];
        values.requestTimeout = requestTimeout;
        values.dnsProtection = ui->settingDNSProtectCheckBox->isChecked();
        values.diagnosisSeconds = diagnosisSeconds;
        values.switchRoadAutomatically = settingAutoSwitchCheckBox->isChecked();
        return store.saveGeneral(values);
    }
    case Set_Favorites: {
        FavoritesSettings values;
        if (currentSubIndex >= 0 && currentSubIndex < subscriptions.size())
            values.subscriptionType = subscriptions.at(currentSubIndex).type;
        const QStringList addresses = addressesOf(servers);
        if (values.subscriptionType == 2) {
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
    case Set_Language: {
        LanguageSettings values;
        values.language = ui->settingLanguageComboBox->currentIndex() + 1;
        return store.saveLanguage(values);
    }
    case Set_StatWindow: {
        StatWindowSettings values;
        values.screenPosition = statWindowPosition;
        return store.saveStatWindow(values);
    }
    case Set_LastVersion:
        return store.saveLastVersion();
    case Set_EmergencyAddress: {
        EmergencyAddressSettings values;
        values.address = emergencyAddress;
        values.useByDefault = !apiBaseUrl.isEmpty() && apiBaseUrl == emergencyAddress;
        return store.saveEmergencyAddress(values);
    }
    case Set_Extra: {
        ExtraSettings values;
        values.blockNetworkWarningDisabled = blockNetworkWarningDisabled;
        return store.saveExtra(values);
    }
    }
    return false;
}

QVariantList MainWindow::loadSettings(SettingsType type, const QVariant &argument)
{
    SettingsStore store(SettingsStore::fileNameIn(dataDir));
    switch (type) {
    case Set_LoginData:
        store.loadLoginData();
        return {};
    case Set_General: {
        const GeneralSettings values = store.loadGeneral();
        ui->mainRememberCheckBox->setChecked(values.loginData.rememberMe);
        ui->mainLoginLineEdit->setText(values.loginData.login);
        ui->mainPswdLineEdit->setText(values.loginData.password);
        ui->settingProtUDPRButton->setChecked(values.udp);
        ui->settingProtTCPRButton->setChecked(!values.udp);
        ui->stngBlockOtherConCheckBox->setChecked(values.lockConnection);
        networkLockApplied = ui->stngBlockOtherConCheckBox->isChecked();
        ui->settingStartMinimizedCheckBox->setChecked(values.startMinimized);
        ui->stngVPNAutoConCheckBox->setChecked(values.autoConnect);
        savedPackageId = values.packageId;
        ui->settingShowStatWgtCheckBox->setChecked(values.showStatOnConnect);
        ui->settingSystemStartupCheckBox->setChecked(values.systemAutostart);
        ui->settingCheckAvailableServCheckBox->setChecked(values.checkAvailableServers);
        mirrorFlags[1] = values.serverMirrorConfig;
        requestTimeout = values.requestTimeout;
        ui->settingDNSProtectCheckBox->setChecked(values.dnsProtection);
        diagnosisSeconds = values.diagnosisSeconds;
        settingAutoSwitchCheckBox->setChecked(values.switchRoadAutomatically);
        return {};
    }
    case Set_Favorites: {
        const int subscriptionType = currentSubIndex >= 0 && currentSubIndex < subscriptions.size()
            ? subscriptions.at(currentSubIndex).type
            : 0;
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
    case Set_FavoriteIP: {
        bool ok = false;
        const int index = argument.toInt(&ok);
        // A server that is not in the list has no city to look up.
        if (!ok || !validIndex(index, servers))
            return {QString()};
        return {store.loadFavoriteIp(servers.at(index).cityName).address};
    }
    case Set_Language: {
        int language = store.loadLanguage().language;
        const bool chosen = language >= 1 && language <= LanguageCount;
        if (!chosen) {
            const QLocale::Language system = QLocale::system().language();
            language = LanguageChoice::valueForSystemLanguage(system);
            if (LanguageChoice::isOwnLanguage(system))
                QLocale::setDefault(LanguageChoice::localeForValue(language));
        }
        languageIndex = qint16(language);
        ui->settingLanguageComboBox->setCurrentIndex(language - 1);
        // Chinese interfaces are used where the service is blocked: ask for the mirror.
        mirrorFlags[0] = languageIndex == 3;
        if (!chosen)
            saveSettings(Set_Language);
        return {};
    }
    case Set_StatWindow:
        statWindowPosition = store.loadStatWindow().screenPosition;
        return {};
    case Set_LastVersion:
        return {store.loadLastVersion().lastLaunchedVersion};
    case Set_EmergencyAddress: {
        const EmergencyAddressSettings values = store.loadEmergencyAddress();
        emergencyAddress = values.address;
        emergencyByDefault = values.useByDefault;
        return {};
    }
    case Set_Extra:
        blockNetworkWarningDisabled = store.loadExtra().blockNetworkWarningDisabled;
        return {};
    }
    return {};
}

bool MainWindow::removeEmergencyAddress()
{
    return SettingsStore(SettingsStore::fileNameIn(dataDir)).removeEmergencyAddress();
}

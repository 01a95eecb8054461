#include "settingsvalues.h"

#include <tuple>

bool operator==(const LoginDataSettings &a, const LoginDataSettings &b)
{
    return std::tie(a.rememberMe, a.login, a.password)
        == std::tie(b.rememberMe, b.login, b.password);
}

bool operator==(const GeneralSettings &a, const GeneralSettings &b)
{
    return a.loginData == b.loginData
        && std::tie(a.udp, a.packageId, a.lockConnection, a.autoConnect, a.startMinimized,
                    a.showStatOnConnect, a.systemAutostart, a.checkAvailableServers,
                    a.serverMirrorConfig, a.requestTimeout, a.dnsProtection, a.diagnosisSeconds,
                    a.switchRoadAutomatically)
        == std::tie(b.udp, b.packageId, b.lockConnection, b.autoConnect, b.startMinimized,
                    b.showStatOnConnect, b.systemAutostart, b.checkAvailableServers,
                    b.serverMirrorConfig, b.requestTimeout, b.dnsProtection, b.diagnosisSeconds,
                    b.switchRoadAutomatically);
}

bool operator==(const DoubleFavorite &a, const DoubleFavorite &b)
{
    return a.entryAddress == b.entryAddress && a.exitAddresses == b.exitAddresses;
}

bool operator==(const FavoritesSettings &a, const FavoritesSettings &b)
{
    return a.subscriptionType == b.subscriptionType && a.addresses == b.addresses
        && a.pairs == b.pairs;
}

bool operator==(const LastConnectionSettings &a, const LastConnectionSettings &b)
{
    return a.firstServerId == b.firstServerId && a.secondServerId == b.secondServerId;
}

bool operator==(const FavoriteIpSettings &a, const FavoriteIpSettings &b)
{
    return a.cityName == b.cityName && a.address == b.address;
}

bool operator==(const LanguageSettings &a, const LanguageSettings &b)
{
    return a.language == b.language;
}

bool operator==(const StatWindowSettings &a, const StatWindowSettings &b)
{
    return a.screenPosition == b.screenPosition;
}

bool operator==(const LastVersionSettings &a, const LastVersionSettings &b)
{
    return a.lastLaunchedVersion == b.lastLaunchedVersion;
}

bool operator==(const EmergencyAddressSettings &a, const EmergencyAddressSettings &b)
{
    return a.address == b.address && a.useByDefault == b.useByDefault;
}

bool operator==(const ExtraSettings &a, const ExtraSettings &b)
{
    return a.blockNetworkWarningDisabled == b.blockNetworkWarningDisabled;
}

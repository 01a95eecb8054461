#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

// Plain values of the settings.ini sections. The main window copies them to and from its
// widgets; the store copies them to and from the file. Defaults are the values a missing key
// reads as.

// Set_LoginData: the sign-in form. The password is held here in plain text; the store
// enciphers it on the way to the file.
struct LoginDataSettings
{
    bool rememberMe = true;
    QString login;
    QString password;
};

// Set_General: the sign-in form and every option of the settings page.
struct GeneralSettings
{
    LoginDataSettings loginData;
    bool udp = true;
    int packageId = -1;
    bool lockConnection = false;
    bool autoConnect = false;
    bool startMinimized = false;
    bool showStatOnConnect = false;
    bool systemAutostart = false;
    bool checkAvailableServers = false;
    bool serverMirrorConfig = false;
    int requestTimeout = 5000;
    bool dnsProtection = true;
    // Seconds a connection may take before it is diagnosed; 0: never by time.
    int diagnosisSeconds = 20;
    // Take the TCP or mirror road by itself when the network blocks VPN.
    bool switchRoadAutomatically = false;
};

// One favourite entry server of the double subscription with its favourite exits.
struct DoubleFavorite
{
    QString entryAddress;
    QStringList exitAddresses;
};

// Set_Favorites: the favourites of one subscription type (1 premium, 2 double, 3 onion,
// 4 free). Single types use addresses, the double type uses pairs.
struct FavoritesSettings
{
    int subscriptionType = 0;
    QStringList addresses;
    QVector<DoubleFavorite> pairs;
};

// Set_LastConnection: server ids of the last route; -1 when there is none.
struct LastConnectionSettings
{
    int firstServerId = -1;
    int secondServerId = -1;

    bool hasConnection() const { return firstServerId != -1; }
};

// Set_FavoriteIP: the address the user picked for the servers of one city.
struct FavoriteIpSettings
{
    QString cityName;
    QString address;
};

// Set_Language: 1 Russian, 2 English, 3 Chinese, 4 Spanish, 5 Ukrainian; 0 not chosen yet.
struct LanguageSettings
{
    int language = 0;
};

// Set_StatWindow: the statistics window's last position; (-1, -1) when none is stored.
struct StatWindowSettings
{
    QPoint screenPosition {-1, -1};

    bool hasPosition() const { return screenPosition != QPoint(-1, -1); }
};

// Set_LastVersion: the version of the program that last ran.
struct LastVersionSettings
{
    QString lastLaunchedVersion;
};

// Set_EmergencyAddress: the API base used when the regular one cannot be reached, and
// whether it is the one in use (the current API base equals it).
struct EmergencyAddressSettings
{
    QString address;
    bool useByDefault = false;
};

// Set_Extra.
struct ExtraSettings
{
    bool blockNetworkWarningDisabled = false;
};

bool operator==(const LoginDataSettings &a, const LoginDataSettings &b);
bool operator==(const GeneralSettings &a, const GeneralSettings &b);
bool operator==(const DoubleFavorite &a, const DoubleFavorite &b);
bool operator==(const FavoritesSettings &a, const FavoritesSettings &b);
bool operator==(const LastConnectionSettings &a, const LastConnectionSettings &b);
bool operator==(const FavoriteIpSettings &a, const FavoriteIpSettings &b);
bool operator==(const LanguageSettings &a, const LanguageSettings &b);
bool operator==(const StatWindowSettings &a, const StatWindowSettings &b);
bool operator==(const LastVersionSettings &a, const LastVersionSettings &b);
bool operator==(const EmergencyAddressSettings &a, const EmergencyAddressSettings &b);
bool operator==(const ExtraSettings &a, const ExtraSettings &b);

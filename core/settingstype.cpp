#include "settingstype.h"

#include <QCoreApplication>

QString settingsTypeDescription(SettingsType type)
{
    switch (type) {
    case Set_LoginData:
        return QCoreApplication::translate("SettingsStore", "login data");
    case Set_General:
        return QCoreApplication::translate("SettingsStore", "general");
    case Set_Favorites:
        return QCoreApplication::translate("SettingsStore", "favorites");
    case Set_LastConnection:
        return QCoreApplication::translate("SettingsStore", "last connection data");
    case Set_FavoriteIP:
        return QCoreApplication::translate("SettingsStore", "VPN server's favorite IP");
    case Set_Language:
        return QCoreApplication::translate("SettingsStore", "app's language");
    case Set_StatWindow:
        return QCoreApplication::translate("SettingsStore", "stat window");
    case Set_LastVersion:
        return QCoreApplication::translate("SettingsStore", "last launched version");
    case Set_EmergencyAddress:
        return QCoreApplication::translate("SettingsStore", "emergency addresses");
    case Set_Extra:
        return QCoreApplication::translate("SettingsStore", "additional");
    }
    return QString();
}

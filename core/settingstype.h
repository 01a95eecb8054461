#pragma once

#include <QString>

// The sections of settings.ini; each is written and read on its own.
enum SettingsType {
    Set_LoginData = 0,
    Set_General = 1,
    Set_Favorites = 2,
    Set_LastConnection = 3,
    Set_FavoriteIP = 4,
    Set_Language = 5,
    Set_StatWindow = 6,
    Set_LastVersion = 7,
    Set_EmergencyAddress = 8,
    Set_Extra = 9
};

// The section's name in the log lines, translated.
QString settingsTypeDescription(SettingsType type);

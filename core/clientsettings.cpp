#include "core/clientsettings.h"

#include "core/settingsstore.h"

ClientSettings::ClientSettings(const QString &dataDir, QObject *parent)
    : QObject(parent)
    , m_dataDir(dataDir)
{ }

QString ClientSettings::fileName() const
{
    return SettingsStore::fileNameIn(m_dataDir);
}

template<typename T> void ClientSettings::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit changed();
}

bool ClientSettings::holds(SettingsType type)
{
    switch (type) {
    case Set_LoginData:
    case Set_General:
    case Set_Language:
    case Set_StatWindow:
    case Set_EmergencyAddress:
    case Set_Extra:
        return true;
    default:
        return false;
    }
}

bool ClientSettings::load(SettingsType type)
{
    SettingsStore store(fileName());
    switch (type) {
    case Set_LoginData:
        // The login keys are read with the general section; the store only logs here.
        store.loadLoginData();
        return true;
    case Set_General:
        assign(m_general, store.loadGeneral());
        return true;
    case Set_Language:
        assign(m_language, store.loadLanguage());
        return true;
    case Set_StatWindow:
        assign(m_statWindow, store.loadStatWindow());
        return true;
    case Set_EmergencyAddress:
        assign(m_emergency, store.loadEmergencyAddress());
        return true;
    case Set_Extra:
        assign(m_extra, store.loadExtra());
        return true;
    default:
        return false;
    }
}

bool ClientSettings::save(SettingsType type)
{
    SettingsStore store(fileName());
    switch (type) {
    case Set_LoginData:
        return store.saveLoginData(m_general.loginData);
    case Set_General:
        return store.saveGeneral(m_general);
    case Set_Language:
        return store.saveLanguage(m_language);
    case Set_StatWindow:
        return store.saveStatWindow(m_statWindow);
    case Set_EmergencyAddress:
        return store.saveEmergencyAddress(m_emergency);
    case Set_Extra:
        return store.saveExtra(m_extra);
    default:
        return false;
    }
}

void ClientSettings::setGeneral(const GeneralSettings &values)
{
    assign(m_general, values);
}

void ClientSettings::setLoginData(const LoginDataSettings &values)
{
    assign(m_general.loginData, values);
}

void ClientSettings::setUdp(bool udp)
{
    assign(m_general.udp, udp);
}

void ClientSettings::setLockConnection(bool on)
{
    assign(m_general.lockConnection, on);
}

void ClientSettings::setAutoConnect(bool on)
{
    assign(m_general.autoConnect, on);
}

void ClientSettings::setStartMinimized(bool on)
{
    assign(m_general.startMinimized, on);
}

void ClientSettings::setShowStatOnConnect(bool on)
{
    assign(m_general.showStatOnConnect, on);
}

void ClientSettings::setSystemAutostart(bool on)
{
    assign(m_general.systemAutostart, on);
}

void ClientSettings::setCheckAvailableServers(bool on)
{
    assign(m_general.checkAvailableServers, on);
}

void ClientSettings::setServerMirrorConfig(bool on)
{
    assign(m_general.serverMirrorConfig, on);
}

void ClientSettings::setDnsProtection(bool on)
{
    assign(m_general.dnsProtection, on);
}

void ClientSettings::setSwitchRoadAutomatically(bool on)
{
    assign(m_general.switchRoadAutomatically, on);
}

void ClientSettings::setPackageId(int id)
{
    assign(m_general.packageId, id);
}

void ClientSettings::setLanguage(int language)
{
    assign(m_language.language, language);
}

void ClientSettings::setStatWindowPosition(const QPoint &position)
{
    assign(m_statWindow.screenPosition, position);
}

void ClientSettings::setEmergencyAddress(const EmergencyAddressSettings &values)
{
    assign(m_emergency, values);
}

void ClientSettings::setBlockNetworkWarningDisabled(bool disabled)
{
    assign(m_extra.blockNetworkWarningDisabled, disabled);
}

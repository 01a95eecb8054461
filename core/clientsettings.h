#pragma once

#include "core/settingstype.h"
#include "core/settingsvalues.h"

#include <QObject>
#include <QPoint>
#include <QString>

// The client's settings in memory: every option of the settings page, the sign-in form's
// remembered account, the interface language, the statistics window's place, the emergency
// address and the extras. Views bind to it and follow changed(); the controllers read it.
// settings.ini is read and written through SettingsStore, a section at a time, only when
// load() or save() is called, so the file changes exactly when the program decides.
class ClientSettings : public QObject
{
    Q_OBJECT

public:
    explicit ClientSettings(const QString &dataDir, QObject *parent = nullptr);

    QString fileName() const;

    // Reads one of the sections held here; a section held elsewhere gives false.
    bool load(SettingsType type);
    // Writes one of the sections held here; false when the file was not written.
    bool save(SettingsType type);
    static bool holds(SettingsType type);

    const GeneralSettings &general() const { return m_general; }
    void setGeneral(const GeneralSettings &values);

    const LoginDataSettings &loginData() const { return m_general.loginData; }
    void setLoginData(const LoginDataSettings &values);

    bool udp() const { return m_general.udp; }
    void setUdp(bool udp);
    bool lockConnection() const { return m_general.lockConnection; }
    void setLockConnection(bool on);
    bool autoConnect() const { return m_general.autoConnect; }
    void setAutoConnect(bool on);
    bool startMinimized() const { return m_general.startMinimized; }
    void setStartMinimized(bool on);
    bool showStatOnConnect() const { return m_general.showStatOnConnect; }
    void setShowStatOnConnect(bool on);
    bool systemAutostart() const { return m_general.systemAutostart; }
    void setSystemAutostart(bool on);
    bool checkAvailableServers() const { return m_general.checkAvailableServers; }
    void setCheckAvailableServers(bool on);
    bool serverMirrorConfig() const { return m_general.serverMirrorConfig; }
    void setServerMirrorConfig(bool on);
    bool dnsProtection() const { return m_general.dnsProtection; }
    void setDnsProtection(bool on);
    bool switchRoadAutomatically() const { return m_general.switchRoadAutomatically; }
    void setSwitchRoadAutomatically(bool on);
    int packageId() const { return m_general.packageId; }
    void setPackageId(int id);
    int requestTimeout() const { return m_general.requestTimeout; }
    int diagnosisSeconds() const { return m_general.diagnosisSeconds; }

    // 1 Russian, 2 English, 3 Chinese, 4 Spanish, 5 Ukrainian; 0 not chosen yet.
    int language() const { return m_language.language; }
    void setLanguage(int language);

    QPoint statWindowPosition() const { return m_statWindow.screenPosition; }
    void setStatWindowPosition(const QPoint &position);

    const EmergencyAddressSettings &emergencyAddress() const { return m_emergency; }
    void setEmergencyAddress(const EmergencyAddressSettings &values);

    bool blockNetworkWarningDisabled() const { return m_extra.blockNetworkWarningDisabled; }
    void setBlockNetworkWarningDisabled(bool disabled);

signals:
    // Any value changed, by a setter or a load.
    void changed();

private:
    template<typename T> void assign(T &member, const T &value);

    QString m_dataDir;
    GeneralSettings m_general;
    LanguageSettings m_language;
    StatWindowSettings m_statWindow;
    EmergencyAddressSettings m_emergency;
    ExtraSettings m_extra;
};

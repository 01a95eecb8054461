#pragma once

#include "core/loger.h"
#include "dialogrecorder.h"
#include "logrecorder.h"
#include "mockservice/mockservice.h"
#include "programfolder.h"
#include "reservedport.h"
#include "window/mainwindow.h"

#include <functional>
#include <memory>

#include <QAction>
#include <QStackedWidget>
#include <QTemporaryDir>


// Reads and sets the window's private state (a friend of MainWindow).
class WindowProbe
{
public:
    explicit WindowProbe(MainWindow *window)
        : w(window)
    { }
    MainWindow *w;

    int page() const;
    int statusPage() const; // of the connection page: 0 idle, 1 connected, 2 busy
    QStackedWidget *stack() const;
    VPNProcess *vpn() const { return w->vpnProcess; }
    VPNProcess::VPNProcessStatus status() const;
    bool connected() const; // the connection timer runs
    QString &apiBaseUrl() { return w->apiBaseUrl; }
    QString &siteBaseUrl() { return w->siteBaseUrl; }
    QString &emergencyAddress() { return w->emergencyAddress; }
    bool &emergencyByDefault() { return w->emergencyByDefault; }
    bool emergencyIsIp() const { return w->emergencyIsIp; }
    QString &authToken() { return w->authToken; }
    int &userId() { return w->userId; }
    qint16 &language() { return w->languageIndex; }
    bool *mirrorFlags() { return w->mirrorFlags; }
    bool &mirrorToolFound() { return w->mirrorToolFound; }
    bool &mirrorActive() { return w->mirrorActive; }
    bool &autoConnectPending() { return w->autoConnectPending; }
    bool &expiryWarningShown() { return w->expiryWarningShown; }
    QVector<Subscription> &subscriptions() { return w->subscriptions; }
    int &currentSubIndex() { return w->currentSubIndex; }
    int &savedPackageId() { return w->savedPackageId; }
    QVector<VPNServer> &servers() { return w->servers; }
    int &firstServerIndex() { return w->firstServerIndex; }
    int &secondServerIndex() { return w->secondServerIndex; }
    int &requestTimeout() { return w->requestTimeout; }
    QPoint &statWindowPosition() { return w->statWindowPosition; }
    bool &blockNetworkWarningDisabled() { return w->blockNetworkWarningDisabled; }
    QString originalIp() const { return w->originalIp; }
    QString newIp() const { return w->newIp; }
    QSystemTrayIcon *tray() const { return w->trayIcon; }
    QAction *switchAction() const { return w->switchVPNAction; }
    QAction *showStatAction() const { return w->showStatAction; }
    QThread *vpnThread() const { return w->vpnThread; }
    QThread *ssThread() const { return w->ssThread; }
    ShadowsocksProcess::ShadowsocksProcessStatus ssStatus() const;
    QTimer *vpnUpdateTimer() const { return w->vpnUpdateTimer; }
    void restoreLastServer(bool autoConnect);
    bool tryOtherApiBase() { return w->tryOtherApiBase(); }
    void restorePrimaryApiBase() { w->restorePrimaryApiBase(); }
};

// The one window builder: a MainWindow over a temporary data folder (with logs/ and temp/,
// the log open there and recorded), a program folder of its own holding the OpenVPN
// stand-in, dialogs recorded, and the service addresses at one of:
//  ClosedPort       every address is a reserved loopback port nobody listens on;
//  LocalService     the local service (demo account and data) as API, site and echo;
//  EmergencyAddress the API address is closed, the emergency address is the local service,
//                   which expects the service's name in Host.
class WindowRig
{
public:
    enum Endpoints { ClosedPort, LocalService, EmergencyAddress };
    static constexpr const char *ApiHost = "api.kestrune.test";

    explicit WindowRig(Endpoints endpoints = ClosedPort,
                       const QString &openVpnVersion = QStringLiteral("2.4.9"));
    ~WindowRig();
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    QString dataPath() const { return data.path(); }
    QString settingsFile() const { return data.filePath(QStringLiteral("settings.ini")); }
    ServiceEndpoints endpoints() const;
    // Builds the window; with waitShown, returns once its start-up check has shown it.
    MainWindow *open(bool waitShown = true);
    MainWindow *window() const { return m_window.get(); }
    void close(); // ends a connection still up, then the window
    WindowProbe probe() const { return WindowProbe(m_window.get()); }

    template<typename T = QWidget> T *widget(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("the window has no %s", name);
        return found;
    }
    void click(const char *name);
    // Runs action and waits, within a bound, for the page slide it starts to end on page.
    bool slide(const std::function<void()> &action, int page);
    // Types the account and clicks sign-in (the service's own account by default).
    void signIn(const QString &login = QString(), const QString &password = QString());
    // Signs in, takes the first subscription offered and returns once its servers are in.
    bool signInAndChoose();
    bool waitConnected(int timeoutMs = 20000);
    bool waitIdle(int timeoutMs = 20000);
    QList<QByteArray> requestPaths() const;
    int requestCount(const QByteArray &pathStart) const;

    QTemporaryDir data;
    ProgramFolder programs;
    ReservedPort closedPort;
    MockService service;
    LogRecorder log;
    DialogRecorder dialogs;

private:
    Endpoints m_endpoints;
    std::unique_ptr<MainWindow> m_window;
};

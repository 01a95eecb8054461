#pragma once

#include "core/clientsettings.h"
#include "core/loger.h"
#include "dialogrecorder.h"
#include "logrecorder.h"
#include "mockservice/mockservice.h"
#include "programfolder.h"
#include "reservedport.h"
#include "ui/deferredpage.h"
#include "window/mainwindow.h"

#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QAction>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

// Reads and sets the window's private state (a friend of MainWindow) that the view tests
// need: the account and server data the window still holds. The connection is read through
// the controller's own interface.
class WindowProbe
{
public:
    MainWindow *w;

    QStackedWidget *stack() const { return w->findChild<QStackedWidget *>("stackedWidget"); }
    int page() const { return stack()->currentIndex(); }
    ConnectionController *connection() const { return w->connectionController(); }
    ClientSettings *settings() const { return w->clientSettings(); }
    ConnectionController::State state() const { return connection()->state(); }
    bool connected() const { return state() == ConnectionController::Verified; }
    QSystemTrayIcon *tray() const { return w->trayIcon; }
    QAction *switchAction() const { return w->switchVPNAction; }
    QAction *showStatAction() const { return w->showStatAction; }
    QString &apiBaseUrl() { return w->apiBaseUrl; }
    QString &siteBaseUrl() { return w->siteBaseUrl; }
    QString &authToken() { return w->authToken; }
    qint16 &language() { return w->languageIndex; }
    bool &mirrorAskedByLanguage() { return w->mirrorAskedByLanguage; }
    bool &autoConnectPending() { return w->autoConnectPending; }
    QVector<Subscription> &subscriptions() { return w->subscriptions; }
    int &currentSubIndex() { return w->currentSubIndex; }
    QVector<VPNServer> &servers() { return w->servers; }
    int &firstServerIndex() { return w->firstServerIndex; }
    int &secondServerIndex() { return w->secondServerIndex; }
    quint16 &availCheckPort() { return w->availCheckPort; } // 444 in the product
    QPointer<QThread> availCheckThread() const { return w->availCheckThread; }
    bool availCheckRunning() const { return w->availCheckRunning; }
    QPointer<QThread> applierThread() const { return w->applierThread; }
    int &availCheckEndWaitMs() { return w->availCheckEndWaitMs; }
    int &threadEndWaitMs() { return w->threadEndWaitMs; }
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
    ~WindowRig() { close(); }

    QString settingsFile() const { return data.filePath(QStringLiteral("settings.ini")); }
    ServiceEndpoints endpoints() const;
    // Builds the window; with waitShown, returns once its start-up check has shown it.
    MainWindow *open(bool waitShown = true);
    MainWindow *window() const { return m_window.get(); }
    // Ends a connection still up (unless told not to, as when the system ends the program),
    // then the window.
    void close(bool stopFirst = true);
    WindowProbe probe() const { return WindowProbe {m_window.get()}; }

    template<typename T = QWidget> T *widget(const char *name) const
    {
        if (T *found = DeferredPage::find<T>(m_window.get(), QLatin1String(name)))
            return found;
        qFatal("the window has no %s", name);
    }
    void click(const char *name) { widget<QAbstractButton>(name)->click(); }
    // Runs action and waits, within a bound, for the page slide it starts to end on page.
    bool slide(const std::function<void()> &action, int page);
    // Types the account (the service's own by default) and clicks sign-in.
    void signIn(const QString &login = QString(), const QString &password = QString());
    // Signs in, takes the subscription offered and returns once its servers are in.
    bool signInAndChoose();
    // The connection page's status: 0 idle, 1 connected, 2 busy.
    int statusPage() const
    {
        return widget<QStackedWidget>("vpnConStatusStackedWidget")->currentIndex();
    }
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

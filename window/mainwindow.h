#pragma once

#include "api/networkrequestexceptiontype.h"
#include "api/requesttype.h"
#include "api/serviceendpoints.h"
#include "api/subscription.h"
#include "api/vpnserver.h"
#include "control/connectioncontroller.h"
#include "core/settingstype.h"
#include "core/settingsvalues.h"
#include "system/settingsapplier.h"
#include "ui/pagenavigation.h"

#include <memory>

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QSslError>
#include <QString>
#include <QSystemTrayIcon>
#include <QVariant>
#include <QVector>

namespace Ui {
class MainWindow;
}
class QAbstractButton;
class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QListWidget;
class QListWidgetItem;
class VPNServerItem;
class ClientSettings;
class QMenu;
class QModelIndex;
class QNetworkReply;
class QStyledItemDelegate;
class QThread;
class QTimer;
class SlidingButton;

// The one main window: the view of the client. It builds the pages, renders what the
// settings (ClientSettings) and the connection (ConnectionController) signal, and turns
// clicks into calls on them; it still holds the account and the server lists. Its member
// functions are defined in window/, a file per page or subject: mainwindow.cpp
// (construction), quit.cpp, pages.cpp (pages, navigation, look), settings.cpp (sections
// written from the window), settingspage.cpp (the one file that touches the settings
// page's widgets), signin.cpp, requests.cpp, subscriptions.cpp, serverlist.cpp (server list
// replies), serverlists.cpp, favorites.cpp, availability.cpp, connection.cpp (connect
// actions), connectionpage.cpp, mirror.cpp, diagnosis.cpp (the verdict's widgets), tray.cpp
// and accessibility.cpp.
class MainWindow : public QMainWindow
{
    Q_OBJECT
    // Tests read the window's state through their probe.
    friend class WindowProbe;

public:
    explicit MainWindow(const QString &dataDir, QWidget *parent = nullptr);
    // With the service addresses given explicitly (the built-in ones otherwise).
    MainWindow(const QString &dataDir, const ServiceEndpoints &endpoints,
               QWidget *parent = nullptr);
    // With the program folder (ovpn/, shadowsocks/, scripts/) given too; an empty one is the
    // executable's folder.
    MainWindow(const QString &dataDir, const ServiceEndpoints &endpoints, const QString &programDir,
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // ---- construction and quit ---------------------------------------------------------
    // False when the installed OpenVPN was refused and the application is quitting.
    bool isOperational() const { return !openVpnRefused; }

    // ---- pages and navigation --------------------------------------------------------
    // Returns once the main stack's running slide (the sign-in slide) has ended; at once
    // when none runs. Reply handlers call it before they change the page or show a box.
    void waitForPageSlide();
    // The tray set-up hands over its icon: while it is visible, closing only hides.
    void setTrayIcon(QSystemTrayIcon *icon);
    // The page About and Settings lead back to.
    int returnPage() const { return pageHistory.returnPage(); }
    // Slides the main stack to index (automatic direction).
    void slideToPage(int index);
    void slideToReturnPage();

    ClientSettings *clientSettings() const { return settings; }
    ConnectionController *connectionController() const { return connection; }

    // ---- settings ---------------------------------------------------------------------
    // Writes one section of settings.ini from the widgets and members. Returns whether the
    // file was really written (the file keeps what it held when it was not).
    bool saveSettings(SettingsType type);
    // Reads one section of settings.ini into the settings object or the window's members.
    // Values come back for two sections only: Set_LastConnection gives [first id, second
    // id] (-1 each when none); Set_LastVersion gives [last launched version]. Set_Language
    // with no stored choice takes the system's language and stores it. Every other section
    // gives an empty list.
    QVariantList loadSettings(SettingsType type);
    // Drops the stored emergency address, so the next load gives the built-in one.
    bool removeEmergencyAddress();

    // ---- sign-in, subscriptions, server lists ------------------------------------------
    using NetworkRequestExceptionType = ::NetworkRequestExceptionType;

    // Builds request `type` from the window's state as it is now, logs it and runs it on a
    // worker thread of its own; the reply reaches the slot of its kind on this thread.
    void sendRequest(RequestType type);
    // The account, the service addresses and the route as they are now.
    ApiRequestContext requestContext() const;
    // Authorities trusted for HTTPS besides the system's (tests trust their own CA here).
    void setTrustedCertificates(const QList<QSslCertificate> &certificates);
    // The reachability check failed on apiBaseUrl: switches to the address of this run not
    // tried yet; false when both have been tried.
    bool tryOtherApiBase();
    // Puts apiBaseUrl back to this run's primary address (the links keep theirs).
    void restorePrimaryApiBase();
    // The subscription page's list box from subscriptions, with the preselection.
    void fillSubscriptionCombo();
    // Logo, name and colour of the connection page's subscription panel; warns once when
    // three days or less are left.
    void refreshSubscriptionPanel();
    // Brings back the route of the last run for the subscription at subIndex and connects
    // when autoConnect is set.
    void restoreLastServer(int &subIndex, bool &autoConnect);
    // The server lists (single kinds) or the double page's combos from servers.
    void fillServerLists();
    // The favourites list (single kinds) or the favourite pairs (double kind).
    void fillFavoriteLists();
    // Probes every server of the list (at most five at once, each within the time limit)
    // and drops the ones that do not answer; the window waits for it without blocking.
    void startServerAvailabilityCheck();

    // ---- connection --------------------------------------------------------------------
    // Shows the connection page and has the controller connect the route chosen now.
    void startConnection();
    // Renders the connection's state on the connection page, the tray and the settings page.
    void refreshConnectionPage();
    // The same for a state given (the view tests render states without a tunnel).
    void renderConnection(ConnectionController::State state, bool failed);
    void fillInfoPage();

    // ---- settings page and applier -------------------------------------------------------
    // Starts one settings applier on a thread of its own; settingsApplierFinished() follows
    // once its result has been handled.
    void applySpecialOption(SettingsApplier::ApplyType type);

    // ---- tray ----------------------------------------------------------------------------
    void createTrayIcon();
    void updateTrayIcon();
    void updateTrayToolTip();
    void alertIfMinimised();

signals:
    // ---- sign-in, subscriptions, server lists ----
    // Every reply slot emits it once it has read its reply: it disposes of the workers.
    void replyReceived();
    // The reachability check has its answer in apiReachable.
    void siteKSAPIReachableContinue();

    // ---- construction and quit ----
    // A server availability check has finished.
    void continueSignal();
    // Cuts a running availability check short.
    void serverAvailCheckAbort();
    // A row's star changed the favourite state of the server with this id.
    void vpnServerItemFavoriteStateChanged(int id, bool state);

    // ---- settings page ----
    void settingsApplierFinished();

    // ---- connection ----
    void statWidgetTimeChanged(QString timeString);
    void statWidgetTrafficChanged(QString inString, QString outString);
    void statWidgetSpeedChanged(QString inString, QString outString);
    void statWidgetClose();

public slots:
    // ---- construction and quit ----
    void aboutToQuit();

    // ---- pages and navigation ----
    void checkStartType();
    void openSettings();
    void showAbout();
    void showWindow();
    // Another start of the program was refused: the running copy's window comes to the front.
    void showAtAnotherStart();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void copyToClipboard();
    // Sign-in failed: back to the sign-in page once the slide to the waiting page is over.
    void returnToSignInPage();

    // ---- sign-in, subscriptions, server lists ----
    void sendRequestSSLErrors(QNetworkReply *reply, const QList<QSslError> &errors);
    // Reply slots, one per request kind.
    void getSignKeyReply(QNetworkReply *reply);
    void getAuthReply(QNetworkReply *reply);
    void getServerMirrorCheckReply(QNetworkReply *reply);
    void getSubsListReply(QNetworkReply *reply);
    void getServerListReply(QNetworkReply *reply);
    void getDoubleServerListReply(QNetworkReply *reply);
    void getSiteReachableReply(QNetworkReply *reply);

    // ---- connection ----
    void connectionStateChanged(ConnectionController::State state);
    void connectionFailed(int dialogCode, const QStringList &arguments);
    void connectionTrafficChanged(qint64 received, qint64 sent);
    void connectionTicked(int seconds, qint64 receivedPerSecond, qint64 sentPerSecond);
    void timerSubUpdate();
    void switchVPNActionTriggered();
    void openStatWidget();
    void statWidgetClosed(QPoint position);

    // ---- settings page ----
    void settingsApplierResultReceived(bool result, short type, QVariant data);

    // ---- server lists and availability ----
    void serverAvailResultReceived(int id, bool result);
    void serverAvailCheckFinished();
    void vpnServerItemFavButtonClicked();
    void slidingButtonClicked();
    void slidingVPNServSWAnimFinished();
    void vpnServerSelectionChanged(const QModelIndex &current, const QModelIndex &previous);
    void serverListScrolled();

private slots:
    // ---- pages and navigation ----
    void on_stackedWidget_currentChanged(int index);
    void slidingSWAnimFinished();
    void on_mainLoginLineEdit_textChanged(const QString &text);
    void on_mainPswdLineEdit_textChanged(const QString &text);
    void on_mainLoginButton_clicked();
    void on_subsBackButton_clicked();
    void on_vpnConChangeSubButton_clicked();
    void on_vpnConConInfoButton_clicked();
    void on_vpnInfoBackButton_clicked();
    void on_vpnServBackButton_clicked();
    void on_vpnDoubleServBackButton_clicked();
    void on_aboutBackButton_clicked();

    // ---- settings page ----
    void on_settingBackButton_clicked();
    void on_settingLogoutButton_clicked();
    void on_settingOpenOpenVPNLogButton_clicked();
    void on_settingOpenAppLogButton_clicked();
    void on_settingLanguageComboBox_currentIndexChanged(int index);
    void saveDiagnosticsClicked();
    void testLockClicked();
    void lockSelfTestFinished(const QStringList &lines, bool passed);

    // ---- sign-in, subscriptions, server lists ----
    void on_subsNextButton_clicked();
    void on_subsSubComboBox_currentIndexChanged(int index);
    void on_vpnDoubleServFirstComboBox_currentIndexChanged(int index);
    void on_vpnDoubleServSecondComboBox_currentIndexChanged(int index);
    void on_vpnConManualChoiceButton_clicked();
    void on_vpnDoubleServFavServButton_clicked();
    void on_vpnServAllServListWidget_currentItemChanged(QListWidgetItem *current,
                                                        QListWidgetItem *previous);
    void on_vpnServFavServListWidget_currentItemChanged(QListWidgetItem *current,
                                                        QListWidgetItem *previous);
    void on_vpnDoubleFavServListWidget_currentItemChanged(QListWidgetItem *current,
                                                          QListWidgetItem *previous);

    // ---- connection ----
    void on_vpnConAutoChoiceButton_clicked();
    void on_vpnInfoReconnectButton_clicked();
    void on_vpnConCancelButton_clicked();
    void on_vpnDoubleServConnectButton_clicked();
    void on_vpnServConnectButton_clicked();
    void on_vpnServAllServListWidget_doubleClicked(const QModelIndex &index);
    void on_vpnServFavServListWidget_doubleClicked(const QModelIndex &index);
    void on_vpnDoubleFavServConnectButton_clicked();
    void on_vpnDoubleFavServListWidget_doubleClicked(const QModelIndex &index);

    // ---- diagnosis ----
    void diagnosisStarted();
    void diagnosisFound(int kind, int road);
    void diagnosisRoadTaken(int road, bool automatically);

private:
    // ---- construction and quit ----
    QString dataDir;
    ServiceEndpoints endpoints;
    Ui::MainWindow *ui = nullptr;
    QString appDir; // the executable's folder: ovpn/, shadowsocks/, scripts/
    QString tempDir; // data folder + "temp", native separators
    QString ovpnConfigPath;
    QString ssConfigPath;
    QString ssDir;
    ClientSettings *settings = nullptr;
    ConnectionController *connection = nullptr;
    QString emergencyAddress;
    bool emergencyByDefault = false;
    bool emergencyIsIp = false;
    QString apiBaseUrl;
    QString siteBaseUrl;
    qint16 languageIndex = 0;
    bool autoConnectPending = false;
    QTimer *subUpdateTimer = nullptr;
    bool availCheckRunning = false;
    // Reasons for the mirror route besides the user's own setting: the interface language
    // (Chinese) and the service's list of countries that block it.
    bool mirrorAskedByLanguage = false;
    bool mirrorAskedByCountry = false;
    // Set when the installed OpenVPN was refused; the window then only waits for the quit.
    bool openVpnRefused = false;
    // The quit has begun: a close of the window that follows it only closes.
    bool quitting = false;
    // How long the window's end waits for each of its threads before leaving it to end alone.
    int threadEndWaitMs = ConnectionController::ThreadEndWaitMs;
    QString checkServersTemplate;
    void setUpConnection();
    void applySettingsOnQuit();

    // ---- pages and navigation ----
    void setUpPages();
    void connectForm();
    void setUpComboBoxes();
    void setUpSlidingWidgets();
    void setUpInfoPage();
    void applyLook();
    void deferUnseenPages();
    // After the first paint (or a start out of sight) the pages not seen yet join the
    // window while it is idle: whatever is shown or measured later finds them styled.
    void joinDeferredPagesWhenIdle();
    void joinNextDeferredPage();
    // A page about to be measured before the idle joining has reached it joins at once.
    void preparePage(int index);
    void applyStyleSheet();
    void applyApplicationFont();
    void setLinkTexts(const QString &siteBase);
    void riseHintOnce(int page);
    void updateSignInButton();

    PageHistory pageHistory;
    // One flag per hint label (sign-in, connection, settings page): each rises only once.
    bool hintShown[3] = {false, false, false};
    bool pageSlideInProgress = false;
    // The first paint has happened: the window's icon and the deferred pages follow it.
    bool firstPaintSeen = false;
    bool deferredPagesJoining = false;
    int authDotsTimerId = -1;
    QPointer<QSystemTrayIcon> trayIcon;
    QStyledItemDelegate *comboItemDelegate = nullptr;
    SlidingButton *vpnServSlidingButton = nullptr;
    SlidingButton *vpnDoubleSlidingButton = nullptr;
    QString mainTipTemplate;
    QString remindPswdTemplate;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // ---- settings page ----
    // Taken on entering the settings page; leaving it changes in the system what differs.
    struct SettingsSnapshot
    {
        bool networkLock = false;
        bool languageChanged = false;
        bool startAtLogon = false;
    } settingsSnapshot;
    int settingsDotsTimerId = -1;
    // Set on entering the settings page, cleared when its apply step begins: whatever road
    // leaves the page applies it once.
    bool settingsUnapplied = false;
    QPointer<QThread> applierThread;
    void setUpSettingsPage();
    // The settings page's widgets follow the settings object and write it when changed.
    void bindSettingsPage();
    // Rows made in code: diagnostics, the lock's self-test, the automatic road switch.
    void addSettingsRows();
    void connectSettingsPage();
    // What the connection allows on the settings page (the lock row, the protocol).
    void renderSettingsPageConnection();
    // Leaving the settings page by another road than its Back button applies it as well.
    void applySettingsAndReopenPage();
    QLabel *settingsHintLabel() const;
    QLabel *settingsLoadingLabel() const;
    QAbstractButton *settingsBackButton() const;
    void showAccountOnSettingsPage(const QString &account);
    void enterSettingsPage();
    // A button made for the settings page, in the size and look of its log buttons.
    QPushButton *makeSettingsButton(const QString &text);
    // The network lock, start at logon, the settings file and the language notice; the page
    // stays disabled on its status page until the caller takes it back.
    void applySettings();
    // applySpecialOption, then a wait (bounded) until that applier's thread has ended.
    void runSpecialOption(SettingsApplier::ApplyType type);
    QStringList networkLockAllowedHosts() const;
    void openLogFile(const QString &path);

    // ---- sign-in, subscriptions, server lists ----
    QList<QSslCertificate> trustedCertificates;
    QString requestKey;
    QString authToken;
    int userId = 0;
    QString userEmail;
    QString userName;
    QVector<Subscription> subscriptions;
    int currentSubIndex = -1;
    bool apiReachable = false;
    QVector<VPNServer> servers;
    int firstServerIndex = -1;
    int secondServerIndex = -1;
    bool expiryWarningShown = false;

    void startSignIn();
    void signInFailed(RequestType type, NetworkRequestExceptionType failure,
                      const QString &userText);
    void serverListFailed(RequestType type);
    void serverListReady();
    bool windowOutOfView() const;
    QWidget *dialogParent();
    int interfaceLanguage() const;
    // The sign-in form into the settings object (the form is the sign-in page's, not a
    // settings widget).
    void takeSignInForm();
    int storedLastServerId(int which);
    void loadFavoritesIntoServers(int subscriptionType);
    // Marks the servers' favourites from the stored ones and remembers those.
    void markFavorites(int subscriptionType, const FavoritesSettings &stored);
    // The favourites as last read or written, so that a save keeps those of absent servers.
    FavoritesSettings storedFavorites;
    int currentSubType() const;

    // ---- server lists and availability ----
    void setUpServerLists();
    void fillDoubleCombos();
    void addServerRow(QListWidget *list, int first, int second, int listType);
    VPNServerItem *makeRowWidget(QListWidget *list, QListWidgetItem *item);
    void makeVisibleRows(QListWidget *list);
    int rowHeight(bool pair);
    int serverRowHeight[2] = {0, 0};
    // CONNECT of the server page follows the list on show, that of the pairs its list.
    void updateConnectButtons();
    void waitForServerAvailabilityCheck();
    void endServerAvailabilityWait();
    // Ends a running check at once and joins its threads (the window is going).
    void endServerAvailabilityCheck();
    void removeServerAt(int index);
    // The availability check's TCP port and time limit per probe (milliseconds).
    quint16 availCheckPort = 444;
    int availCheckTimeout = 5000;
    int availFinished = 0;
    int availTotal = 0;
    int availReachable = 0;
    int availDotsTimerId = -1;
    QPointer<QThread> availCheckThread;
    // Relays the running series' reports; deleted with them when the series ends or is cut.
    QPointer<QObject> availSeries;
    // How long the window's end waits for a running series before leaving it to end alone.
    int availCheckEndWaitMs = 10000;

    // ---- connection ----
    bool subExpired = false;
    bool statWindowOpen = false;
    int connectionDotsTimerId = -1;
    QPointer<QWidget> statWidget;
    void connectTo(int first, int second);
    // Index of the first server with this id in servers, or `fallback` when there is none.
    int serverIndexOfId(const QVariant &id, int fallback) const;
    QString connectActionRoute() const;
    void restartConnectionDots();
    void stopConnectionDots();
    // The tray's and the statistics' number for the connection's state: 0 unconnected,
    // 1 connecting, 2 connected, 3 disconnecting.
    int connectionStatusNumber() const;
    QString reconnectingWord() const;

    // ---- accessibility ----
    // Names made in code, the toggles' Tab order, the page keys and the focus ring. Runs once.
    void setUpAccessibility();
    // Enter, Escape and Space for the page on show; true when the key did something.
    bool pageKeyPressed(QWidget *focus, int key);
    // Names the connection page's status after what it shows and has a screen reader say a
    // change at once.
    void announceConnectionStatus();

    // ---- diagnosis ----
    QWidget *diagnosisWidget = nullptr;
    QLabel *diagnosisLabel = nullptr;
    QPushButton *diagnosisButton = nullptr;
    void setUpDiagnosis();
    void showDiagnosisOnIdlePage();

    // ---- tray ----
    QMenu *trayMenu = nullptr;
    QAction *switchVPNAction = nullptr;
    QAction *showStatAction = nullptr;
    QAction *showWindowAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *quitAction = nullptr;
};

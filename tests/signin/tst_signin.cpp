#include "api/subscriptionchoice.h"
#include "core/settingsstore.h"
#include "signinfixture.h"
#include "support/testmain.h"
#include "ui/slidingstackedwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkProxy>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QUrlQuery>

namespace {

const QString Login = QStringLiteral("user@kestrune.test");
const QString Password = QStringLiteral("secret pass");
const QByteArray ApiHost = "api.kestrune.test";
const QString SiteBase = QStringLiteral("https://site.kestrune.test");

// Opens the buy page instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dataDir;
    std::unique_ptr<MockService> service;
    std::unique_ptr<MockService> emergency;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MainWindowProbe> probe;
    std::unique_ptr<LogRecorder> log;
    std::unique_ptr<DialogRecorder> dialogs;
    std::unique_ptr<QSystemTrayIcon> tray;

    template<typename T> T *child(const char *name)
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qWarning("no widget %s", name);
        return widget;
    }
    int page() { return child<SlidingStackedWidget>("stackedWidget")->currentIndex(); }

    static QList<QByteArray> paths(const MockService &mock)
    {
        QList<QByteArray> result;
        for (const MockService::Request &request : mock.requests())
            result << request.path;
        return result;
    }

    // A window over a fresh data folder, its API at apiBase and its emergency address at
    // emergencyBase, shown by its own start-up check unless hidden is asked for.
    void openWindow(const QString &apiBase, const QString &emergencyBase, const QString &echoBase,
                    bool hidden = false)
    {
        ServiceEndpoints endpoints;
        endpoints.apiBase = apiBase;
        endpoints.siteBase = SiteBase;
        endpoints.emergencyBase = emergencyBase;
        endpoints.apiHostName = ApiHost;
        endpoints.ipEchoBase = echoBase;
        KestruneTest::expectQtWarning(
            QRegularExpression(QStringLiteral("^This plugin does not support raise\\(\\)$")));
        window = std::make_unique<MainWindow>(dataDir->path(), endpoints);
        MainWindow *w = window.get();
        QVERIFY(QTest::qWaitFor([w]() { return w->isVisible(); }, 5000));
        probe = std::make_unique<MainWindowProbe>(w);
        probe->pointAt(apiBase, emergencyBase, true);
        probe->language() = 2;
        tray = std::make_unique<QSystemTrayIcon>();
        window->setTrayIcon(tray.get());
        if (hidden)
            window->hide();
        child<QLineEdit>("mainLoginLineEdit")->setText(Login);
        child<QLineEdit>("mainPswdLineEdit")->setText(Password);
        child<QCheckBox>("mainRememberCheckBox")->setChecked(false);
    }

    void openWindowOnService(bool hidden = false)
    {
        openWindow(service->baseUrl(), QStringLiteral("http://127.0.0.1:9"), service->baseUrl(),
                   hidden);
    }

    void startService(MockService &mock)
    {
        QVERIFY(mock.start());
        mock.setAccount(Login, Password, 42, Login, QStringLiteral("user"));
        mock.loadDemoData();
        mock.setEchoReply("203.0.113.7\nAS64500 Example\nGermany\n");
    }

    void signIn() { child<QPushButton>("mainLoginButton")->click(); }

    // The chain has come to rest on page expected, with no request of the window running.
    bool settlesOn(int expected)
    {
        return QTest::qWaitFor([&]() { return page() == expected; }, 10000);
    }

    void signInAndWaitFor(const QByteArray &lastPath, int expectedPage)
    {
        signIn();
        QTRY_VERIFY_WITH_TIMEOUT(paths(*service).contains(lastPath), 10000);
        QVERIFY2(settlesOn(expectedPage), qPrintable(QString::number(page())));
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void init()
    {
        dataDir = std::make_unique<QTemporaryDir>();
        QVERIFY(dataDir->isValid());
        QVERIFY(QDir(dataDir->path()).mkpath(QStringLiteral("logs")));
        log = std::make_unique<LogRecorder>(dataDir->path() + QStringLiteral("/logs"));
        dialogs = std::make_unique<DialogRecorder>();
        dialogs->install();
        resetLastTrayNotificationType();
        service = std::make_unique<MockService>();
        startService(*service);
    }

    void cleanup()
    {
        // Let the last workers go before the window that owns their threads.
        if (window)
            QTest::qWait(0);
        probe.reset();
        window.reset();
        tray.reset();
        if (service)
            QVERIFY2(service->violations().isEmpty(),
                     qPrintable(service->violations().join(QLatin1Char('\n'))));
        if (emergency)
            QVERIFY2(emergency->violations().isEmpty(),
                     qPrintable(emergency->violations().join(QLatin1Char('\n'))));
        service.reset();
        emergency.reset();
        dialogs.reset();
        log.reset();
        dataDir.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void signInSendsTheChainInOrderAndOffersTheSubscriptions()
    {
        openWindowOnService();
        signInAndWaitFor("/v1/package/list", Page_Subscription);

        QCOMPARE(paths(*service),
                 (QList<QByteArray> {"/v1/api/info", "/v1/api/sign", "/v1/user/auth",
                                     "/api/checkrealip", "/v1/package/list"}));
        QCOMPARE(probe->requestKey(), service->requestKey());
        QCOMPARE(probe->authToken(), service->authToken());
        QCOMPARE(probe->userId(), 42);
        QCOMPARE(child<QLabel>("vpnConEmailLabel")->text(), Login);
        QCOMPARE(child<QLabel>("settingEmailLabel")->text(), Login);
        QVERIFY(dialogs->texts.isEmpty());
        QVERIFY(log->has(QStringLiteral("[1]: Authorization key received")));
        QVERIFY(log->has(QStringLiteral("[2]: Authorization completed (account: %1)").arg(Login)));
        QVERIFY(log->has(QStringLiteral("[4]: Subscription list received. Subscription count: 7")));
        QVERIFY(log->indexOf(QStringLiteral("Server reply on [11]"))
                < log->indexOf(QStringLiteral("Server reply on [1]")));
        for (const QString &line : log->lines) {
            QVERIFY2(!line.contains(Password), qPrintable(line));
            QVERIFY2(!line.contains(service->authToken()), qPrintable(line));
        }

        // Sorted by kind; paused and expired greyed with their reasons; the first active
        // one offered.
        const QVector<Subscription> &subs = probe->subscriptions();
        for (int i = 1; i < subs.size(); ++i)
            QVERIFY(subs.at(i - 1).type <= subs.at(i).type);
        auto *combo = child<QComboBox>("subsSubComboBox");
        QCOMPARE(combo->count(), 7);
        QVERIFY(combo->isEnabled());
        auto *model = qobject_cast<QStandardItemModel *>(combo->model());
        QVERIFY(model);
        for (int i = 0; i < subs.size(); ++i) {
            QCOMPARE(combo->itemData(i).toInt(), subs.at(i).id);
            QCOMPARE(model->item(i)->isEnabled(), subs.at(i).status != 2 && subs.at(i).status != 3);
            QCOMPARE(model->item(i)->toolTip(), subscriptionDisabledToolTip(subs.at(i).status));
        }
        QCOMPARE(subs.at(combo->currentIndex()).status, qint16(1));
        QCOMPARE(subs.at(combo->currentIndex()).type, 1);
        QCOMPARE(child<QPushButton>("subsNextButton")->text(), QStringLiteral("NEXT"));
    }

    void signInFailureEndsOnTheSignInPage_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("wrongPassword");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("logLine");
        QTest::addColumn<int>("trayType");

        const auto F = [](MockService::Fault f) { return int(f); };
        QTest::newRow("key declined")
            << QByteArray("/v1/api/sign") << F(MockService::Fault::Declined) << false << false
            << "Error code: 0<br>Server declined authorization request"
            << "[1]: \"declined\" server reply" << 0;
        QTest::newRow("key not JSON")
            << QByteArray("/v1/api/sign") << F(MockService::Fault::InvalidJson) << false << false
            << "Error code: 0<br>Incorrect server reply."
            << "[1]: Unable to decode server reply" << 0;
        QTest::newRow("key lost, window hidden")
            << QByteArray("/v1/api/sign") << F(MockService::Fault::ServerErrorPlain) << false
            << true << QString() << "[1]: Unable to get authorization key. Details:" << 1;
        QTest::newRow("wrong password")
            << QByteArray() << F(MockService::Fault::None) << true << false
            << "Error code: 0<br>Server declined authorization request."
            << "[2]: \"declined\" server reply" << 0;
        QTest::newRow("wrong password, window hidden")
            << QByteArray() << F(MockService::Fault::None) << true << true
            << "Error code: 0<br>Server declined authorization request."
            << "[2]: \"declined\" server reply" << 1;
        QTest::newRow("authorization not JSON")
            << QByteArray("/v1/user/auth") << F(MockService::Fault::InvalidJson) << false << false
            << "Error code: 0<br>Incorrect server reply."
            << "[2]: Unable to decode server reply" << 0;
        QTest::newRow("authorization cut off")
            << QByteArray("/v1/user/auth") << F(MockService::Fault::Close) << false << false
            << QString() << "[2]: Authorization failed. Details:" << 0;
        QTest::newRow("subscriptions declined")
            << QByteArray("/v1/package/list") << F(MockService::Fault::ServerErrorJson) << false
            << false << "Error code: 1<br>Unable to get list of subscriptions."
            << "[4]: \"declined\" server reply" << 0;
        QTest::newRow("subscriptions empty, window hidden")
            << QByteArray("/v1/package/list") << F(MockService::Fault::EmptyBody) << false << true
            << "Error code: 1<br>Unable to get list of subscriptions."
            << "[4]: Unable to decode server reply" << 2;
        QTest::newRow("subscriptions lost")
            << QByteArray("/v1/package/list") << F(MockService::Fault::NotFound) << false << false
            << "Error code: 1<br>Unable to get list of subscriptions."
            << "[4]: Unable to get subscription list. Details:" << 0;
    }
    void signInFailureEndsOnTheSignInPage()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, fault);
        QFETCH(bool, wrongPassword);
        QFETCH(bool, hidden);
        QFETCH(QString, dialog);
        QFETCH(QString, logLine);
        QFETCH(int, trayType);

        if (!path.isEmpty())
            service->setFault(path, MockService::Fault(fault));
        openWindowOnService(hidden);
        if (wrongPassword)
            child<QLineEdit>("mainPswdLineEdit")->setText(QStringLiteral("wrong"));
        probe->autoConnectPending() = true;
        signIn();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->texts.size(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_SignIn), 3000);
        if (dialog.isEmpty()) {
            // The reason comes from the transfer; it is a sentence of its own after the code.
            QVERIFY(dialogs->texts.first().startsWith(QStringLiteral("Error code: 0<br>")));
            QVERIFY(dialogs->texts.first().size() > QStringLiteral("Error code: 0<br>").size());
        } else {
            QCOMPARE(dialogs->texts.first(), dialog);
        }
        QCOMPARE(dialogs->parented.first(), !hidden);
        QVERIFY2(log->has(logLine), qPrintable(log->lines.join(QLatin1Char('\n'))));
        QCOMPARE(lastTrayNotificationType(), trayType);
        QVERIFY(!probe->autoConnectPending());
        // Nothing goes on after a failure.
        const int sent = service->requests().size();
        QTest::qWait(50);
        QCOMPARE(service->requests().size(), sent);
    }

    void signInFallsBackToTheEmergencyAddress()
    {
        emergency = std::make_unique<MockService>();
        startService(*emergency);
        emergency->setExpectedApiHost(ApiHost);
        service->setFault("/v1/api/info", MockService::Fault::ServerErrorPlain);
        openWindow(service->baseUrl(), emergency->baseUrl(), emergency->baseUrl());

        signIn();
        QTRY_VERIFY_WITH_TIMEOUT(paths(*emergency).contains("/v1/package/list"), 10000);
        QVERIFY(settlesOn(Page_Subscription));

        QCOMPARE(paths(*service), QList<QByteArray> {"/v1/api/info"});
        QCOMPARE(paths(*emergency),
                 (QList<QByteArray> {"/v1/api/info", "/v1/api/sign", "/v1/user/auth",
                                     "/api/checkrealip", "/v1/package/list"}));
        // The service's name goes with every request to its literal address, never to the
        // address check (the mock records a violation otherwise).
        for (const MockService::Request &request : emergency->requests())
            if (request.path != "/api/checkrealip")
                QCOMPARE(request.header("Host"), ApiHost);
        QVERIFY(log->has(QStringLiteral("[11]: Trying reconnect to emergency address")));
        QCOMPARE(probe->apiBaseUrl(), emergency->baseUrl());
        const EmergencyAddressSettings stored
            = SettingsStore(SettingsStore::fileNameIn(dataDir->path())).loadEmergencyAddress();
        QVERIFY(stored.useByDefault);
        QCOMPARE(stored.address, emergency->baseUrl());
        QVERIFY(dialogs->texts.isEmpty());
    }

    void signInStopsWhenNeitherAddressAnswers()
    {
        emergency = std::make_unique<MockService>();
        startService(*emergency);
        emergency->setExpectedApiHost(ApiHost);
        service->setFault("/v1/api/info", MockService::Fault::ServerErrorPlain);
        emergency->setFault("/v1/api/info", MockService::Fault::Declined);
        openWindow(service->baseUrl(), emergency->baseUrl(), emergency->baseUrl());

        signIn();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->texts,
                                  QStringList {"Error code: 0<br>Server not reachable."}, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_SignIn), 3000);
        QCOMPARE(paths(*service), QList<QByteArray> {"/v1/api/info"});
        QCOMPARE(paths(*emergency), QList<QByteArray> {"/v1/api/info"});
        QCOMPARE(probe->apiBaseUrl(), service->baseUrl());
        QCOMPARE(probe->siteBaseUrl(), emergency->baseUrl());
        QVERIFY(child<QLabel>("mainRemindPswdLabel")->text().contains(emergency->baseUrl()));
        QVERIFY(!probe->apiReachable());
    }

    void addressSwitchTriesEachAddressOnce_data()
    {
        QTest::addColumn<bool>("emergencyFirst");
        QTest::newRow("built-in address first") << false;
        QTest::newRow("emergency address first") << true;
    }
    void addressSwitchTriesEachAddressOnce()
    {
        QFETCH(bool, emergencyFirst);
        openWindowOnService();
        const QString builtIn = service->baseUrl();
        const QString other = QStringLiteral("http://127.0.0.1:9");
        const QString primary = emergencyFirst ? other : builtIn;
        const QString secondary = emergencyFirst ? builtIn : other;
        probe->emergencyByDefault() = emergencyFirst;
        probe->apiBaseUrl() = primary;

        QVERIFY(probe->tryOtherApiBase());
        QCOMPARE(probe->apiBaseUrl(), secondary);
        QCOMPARE(probe->siteBaseUrl(), emergencyFirst ? SiteBase : other);
        QVERIFY(!probe->tryOtherApiBase());
        QCOMPARE(probe->apiBaseUrl(), secondary);
        probe->restorePrimaryApiBase();
        QCOMPARE(probe->apiBaseUrl(), primary);
    }

    void addressCheckDecidesTheMirrorRoute_data()
    {
        QTest::addColumn<QByteArray>("echo");
        QTest::addColumn<bool>("echoFails");
        QTest::addColumn<bool>("languageAsks");
        QTest::addColumn<bool>("toolFound");
        QTest::addColumn<bool>("active");
        QTest::addColumn<QString>("logLine");
        QTest::addColumn<QString>("dialog");

        const QString yes = QStringLiteral("Server Mirror Configuration needed: yes");
        const QString no = QStringLiteral("Server Mirror Configuration needed: no");
        QTest::newRow("Hong Kong with blanks")
            << QByteArray("1.2.3.4\nAS1\n  Hong   Kong \n") << false << false << true << true << yes
            << QString();
        QTest::newRow("China in capitals") << QByteArray("1.2.3.4\n\nAS1\nCHINA\n") << false
                                           << false << true << true << yes << QString();
        QTest::newRow("another country") << QByteArray("1.2.3.4\nAS1\nGermany\n") << false << false
                                         << true << false << no << QString();
        QTest::newRow("two lines") << QByteArray("1.2.3.4\nChina\n") << false << false << true
                                   << false << "[3]: Wrong server data" << QString();
        QTest::newRow("language asks, tool missing")
            << QByteArray("1.2.3.4\nAS1\nGermany\n") << false << true << false << false
            << "Server Mirror Configuration disabled: Shadowsocks component not found."
            << "Error code: 9<br>Shadowsocks component not found.<br>Server mirror "
               "configurations are disabled.";
        QTest::newRow("no answer, language asks")
            << QByteArray() << true << true << true << true
            << "[3]: Unable to get authorization support reply. Details:" << QString();
    }

    void addressCheckDecidesTheMirrorRoute()
    {
        QFETCH(QByteArray, echo);
        QFETCH(bool, echoFails);
        QFETCH(bool, languageAsks);
        QFETCH(bool, toolFound);
        QFETCH(bool, active);
        QFETCH(QString, logLine);
        QFETCH(QString, dialog);

        service->setEchoReply(echo);
        if (echoFails)
            service->setFault("/api/checkrealip", MockService::Fault::ServerErrorPlain);
        openWindowOnService();
        probe->mirrorFlags()[0] = languageAsks;
        probe->mirrorToolFound() = toolFound;
        child<QRadioButton>("settingProtUDPRButton")->setChecked(true);
        signInAndWaitFor("/v1/package/list", Page_Subscription);

        QCOMPARE(probe->mirrorActive(), active);
        QVERIFY2(log->has(logLine), qPrintable(log->lines.join(QLatin1Char('\n'))));
        QCOMPARE(child<QRadioButton>("settingProtTCPRButton")->isChecked(), active);
        QCOMPARE(child<QWidget>("settingProtWidget")->isEnabled(), !active);
        QCOMPARE(dialogs->texts, dialog.isEmpty() ? QStringList() : QStringList {dialog});
        if (active)
            QVERIFY(log->has(QStringLiteral(
                "[WARNING]: server mirror configuration required TCP protocol only")));
    }

    void rememberedSubscriptionGoesOnToItsServers_data()
    {
        QTest::addColumn<int>("savedId");
        QTest::addColumn<QByteArray>("requestedPackage");
        QTest::addColumn<int>("serverCount");
        QTest::addColumn<bool>("endsSoon");

        QTest::newRow("nothing remembered: the page asks") << -1 << QByteArray() << 0 << false;
        QTest::newRow("remembered onion") << 13 << QByteArray("idPackage=13") << 9 << false;
        QTest::newRow("remembered but paused: first active")
            << 15 << QByteArray("idPackage=11") << 9 << false;
        QTest::newRow("remembered free keeps free servers, ends within hours")
            << 14 << QByteArray("idPackage=14") << 11 << true;
    }
    void rememberedSubscriptionGoesOnToItsServers()
    {
        QFETCH(int, savedId);
        QFETCH(QByteArray, requestedPackage);
        QFETCH(int, serverCount);
        QFETCH(bool, endsSoon);

        openWindowOnService();
        probe->savedPackageId() = savedId;
        QSignalSpy pages(child<SlidingStackedWidget>("stackedWidget"), SIGNAL(currentChanged(int)));
        if (requestedPackage.isEmpty()) {
            signInAndWaitFor("/v1/package/list", Page_Subscription);
            QVERIFY(!paths(*service).contains("/v1/server/list"));
            return;
        }
        signInAndWaitFor("/v1/server/list", Page_Connection);
        QCOMPARE(service->requests().last().query, requestedPackage);
        for (const QList<QVariant> &change : pages)
            QVERIFY(change.first().toInt() != Page_Subscription);
        QCOMPARE(probe->servers().size(), serverCount);
        QVERIFY(log->has(
            QStringLiteral("[5]: VPN server list received. Server count: %1").arg(serverCount)));
        const QString chosen = probe->subscriptions().at(probe->currentSubIndex()).typeName;
        QVERIFY(log->has(QStringLiteral("Subscription selected: %1").arg(chosen)));
        QCOMPARE(SettingsStore(SettingsStore::fileNameIn(dataDir->path())).loadGeneral().packageId,
                 probe->savedPackageId());
        // One row per city; the connection page can offer them.
        auto *rows = child<QListWidget>("vpnServAllServListWidget");
        QCOMPARE(rows->count(), serverCount == 11 ? 7 : 6);
        QCOMPARE(rows->currentRow(), 0);
        for (int i = 1; i < rows->count(); ++i)
            QVERIFY(rows->item(i - 1)->text() <= rows->item(i)->text());
        QCOMPARE(dialogs->texts.size(), endsSoon ? 1 : 0);
        QCOMPARE(child<QLabel>("vpnConSubLeftLabel")->styleSheet().contains("#dc6566"), endsSoon);
    }

    void doubleSubscriptionGetsItsRoutes()
    {
        openWindowOnService();
        probe->savedPackageId() = 12;
        signInAndWaitFor("/v1/server/double-map-in", Page_Connection);

        const QVector<VPNServer> &list = probe->servers();
        const auto at = [&list](int id) {
            for (int i = 0; i < list.size(); ++i)
                if (list.at(i).id == id)
                    return i;
            return -1;
        };
        QVERIFY(list.at(at(101)).doubleEntry);
        QCOMPARE(list.at(at(101)).doubleExits, (QVector<int> {at(104), at(106), at(111)}));
        QCOMPARE(list.at(at(104)).doubleExits, (QVector<int> {at(101), at(107)}));
        QCOMPARE(list.at(at(106)).doubleExits, (QVector<int> {at(109), at(102)}));
        QVERIFY(!list.at(at(102)).doubleEntry);
        QVERIFY(list.at(at(102)).doubleExits.isEmpty());

        // Entry cities, one each, sorted; the exits of the entry shown.
        auto *entries = child<QComboBox>("vpnDoubleServFirstComboBox");
        QCOMPARE(entries->count(), 4);
        QCOMPARE(entries->itemText(0), QStringLiteral("Amsterdam"));
        auto *exits = child<QComboBox>("vpnDoubleServSecondComboBox");
        QCOMPARE(exits->count(), 3);
        QCOMPARE(exits->itemText(0), QStringLiteral("Frankfurt"));
        QVERIFY(child<QPushButton>("vpnDoubleServConnectButton")->isEnabled());
        QCOMPARE(child<QLabel>("vpnDoubleServLocLabel2")->text(),
                 QStringLiteral("Germany | Frankfurt"));

        // Another entry brings its own exits.
        entries->setCurrentIndex(entries->findText(QStringLiteral("Frankfurt")));
        QCOMPARE(child<QLabel>("vpnDoubleServLocLabel1")->text(),
                 QStringLiteral("Germany | Frankfurt"));
        QCOMPARE(exits->count(), 2);
        QCOMPARE(exits->itemText(0), QStringLiteral("Amsterdam"));
        QCOMPARE(exits->itemText(1), QStringLiteral("New York"));
        QCOMPARE(exits->currentIndex(), 0);
        QCOMPARE(child<QLabel>("vpnDoubleServLocLabel2")->text(),
                 QStringLiteral("Netherlands | Amsterdam"));
        QCOMPARE(entries->currentText(), QStringLiteral("Frankfurt"));
    }

    void serverListFailureStaysOnTheSubscriptionPage_data()
    {
        QTest::addColumn<int>("savedId");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("logLine");

        QTest::newRow("list declined") << 11 << QByteArray("/v1/server/list")
                                       << "Error code: 2<br>Unable to get list of servers."
                                       << "[5]: \"declined\" server reply";
        QTest::newRow("map not JSON") << 12 << QByteArray("/v1/server/double-map-in")
                                      << "Error code: 3<br>Unable to get list of servers for "
                                         "double subscription."
                                      << "[6]: Unable to decode server reply";
    }
    void serverListFailureStaysOnTheSubscriptionPage()
    {
        QFETCH(int, savedId);
        QFETCH(QByteArray, path);
        QFETCH(QString, dialog);
        QFETCH(QString, logLine);

        service->setFault(path,
                          path.endsWith("list") ? MockService::Fault::Declined
                                                : MockService::Fault::InvalidJson);
        openWindowOnService();
        probe->savedPackageId() = savedId;
        probe->autoConnectPending() = true;
        signIn();
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->texts, QStringList {dialog}, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_Subscription), 3000);
        QVERIFY(log->has(logLine));
        QVERIFY(child<QPushButton>("subsNextButton")->isEnabled());
        QVERIFY(child<QComboBox>("subsSubComboBox")->isEnabled());
        QVERIFY(!probe->autoConnectPending());
    }

    void unsupportedSubscriptionTypeIsDeclined()
    {
        openWindowOnService();
        signInAndWaitFor("/v1/package/list", Page_Subscription);
        int unsupported = -1;
        for (int i = 0; i < probe->subscriptions().size(); ++i)
            if (probe->subscriptions().at(i).type == 7)
                unsupported = i;
        QVERIFY(unsupported >= 0);

        // Chosen on the page: refused before any request.
        const int sent = service->requests().size();
        child<QComboBox>("subsSubComboBox")->setCurrentIndex(unsupported);
        child<QPushButton>("subsNextButton")->click();
        QCOMPARE(dialogs->texts, QStringList {"Error code: 10<br>Unsupported subscription type."});
        QCOMPARE(service->requests().size(), sent);
        QVERIFY(child<QPushButton>("subsNextButton")->isEnabled());
        QVERIFY(child<QComboBox>("subsSubComboBox")->isEnabled());

        // A server list that arrives for it all the same counts as declined.
        probe->currentSubIndex() = unsupported;
        window->sendRequest(Req_ServerList);
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->texts.size(), 2, 10000);
        QCOMPARE(dialogs->texts.last(),
                 QStringLiteral("Error code: 2<br>Unable to get list of servers."));
        QVERIFY(log->has(QStringLiteral("[5]: VPN server list received. Server count: 9")));
        QVERIFY(log->has(QStringLiteral("[5]: Invalid subscription type")));
        QCOMPARE(page(), int(Page_Subscription));
    }

    void withoutActiveSubscriptionTheButtonOpensTheBuyPage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("path");
        QTest::newRow("Russian") << 1 << "/ru/panel/package/buy";
        QTest::newRow("English") << 2 << "/en/panel/package/buy";
        QTest::newRow("Chinese") << 3 << "/cn/panel/package/buy";
        QTest::newRow("Spanish") << 4 << "/en/panel/package/buy";
        QTest::newRow("Ukrainian") << 5 << "/ru/panel/package/buy";
    }
    void withoutActiveSubscriptionTheButtonOpensTheBuyPage()
    {
        QFETCH(int, language);
        QFETCH(QString, path);

        const qint64 now = QDateTime::currentSecsSinceEpoch();
        service->setSubscriptions(QJsonArray {QJsonObject {{"id", 5},
                                                           {"type", 1},
                                                           {"typeName", "Premium"},
                                                           {"status", 2},
                                                           {"timeEnd", double(now + 86400)}},
                                              QJsonObject {{"id", 6},
                                                           {"type", 2},
                                                           {"typeName", "Double"},
                                                           {"status", 3},
                                                           {"timeEnd", double(now - 86400)}}});
        openWindowOnService(true);
        probe->language() = qint16(language);
        signInAndWaitFor("/v1/package/list", Page_Subscription);
        QCOMPARE(lastTrayNotificationType(), 3);
        QVERIFY(!child<QComboBox>("subsSubComboBox")->isEnabled());
        auto *next = child<QPushButton>("subsNextButton");
        QCOMPARE(next->text(), QStringLiteral("BUY SUBSCRIBTION"));

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        next->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls, QList<QUrl> {QUrl(SiteBase + path)});
        QVERIFY(log->has(QStringLiteral(
            "Subscription selected: no active subscription (purchase webpage opened)")));
        QVERIFY(!paths(*service).contains("/v1/server/list"));
    }

    void lastRouteIsRestoredOnlyWhileItsServersAreListed_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("lastId1");
        QTest::addColumn<int>("lastId2");
        QTest::addColumn<bool>("autoConnect");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("autoChoice");

        QTest::newRow("single server still listed") << 1 << 103 << 103 << false << 2 << 2 << false;
        QTest::newRow("single server gone: automatic choice")
            << 1 << 555 << 555 << true << -1 << -1 << true;
        QTest::newRow("single server gone, no auto-connect")
            << 3 << 555 << 555 << false << -1 << -1 << false;
        QTest::newRow("nothing remembered: automatic choice")
            << 4 << -1 << -1 << true << -1 << -1 << true;
        QTest::newRow("double route listed") << 2 << 102 << 101 << true << 1 << 0 << false;
        QTest::newRow("double route with one server gone")
            << 2 << 101 << 555 << true << -1 << -1 << false;
    }
    void lastRouteIsRestoredOnlyWhileItsServersAreListed()
    {
        QFETCH(int, type);
        QFETCH(int, lastId1);
        QFETCH(int, lastId2);
        QFETCH(bool, autoConnect);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(bool, autoChoice);

        openWindowOnService();
        LastConnectionSettings last;
        last.firstServerId = lastId1;
        last.secondServerId = lastId2;
        QVERIFY(SettingsStore(SettingsStore::fileNameIn(dataDir->path())).saveLastConnection(last));
        Subscription subscription;
        subscription.id = 1;
        subscription.type = type;
        probe->subscriptions() = {subscription};
        probe->currentSubIndex() = 0;
        QVector<VPNServer> list(3);
        for (int i = 0; i < 3; ++i)
            list[i].id = 101 + i;
        probe->servers() = list;

        // Signed in as the service's account, so that a restored route may really connect.
        probe->userId() = service->userId();
        probe->authToken() = service->authToken();
        // The automatic choice is only counted here: what it picks is the connection's business.
        auto *button = child<QPushButton>("vpnConAutoChoiceButton");
        button->setEnabled(true);
        QVERIFY(QObject::disconnect(button, SIGNAL(clicked()), window.get(),
                                    SLOT(on_vpnConAutoChoiceButton_clicked())));
        QSignalSpy clicked(button, SIGNAL(clicked()));
        const int sentBefore = paths(*service).size();
        probe->restoreLastServer(autoConnect);
        QCOMPARE(probe->firstServerIndex(), first);
        QCOMPARE(probe->secondServerIndex(), second);
        QCOMPARE(clicked.count(), autoChoice ? 1 : 0);
        // A remembered route that is still listed starts its connection with [7] at once.
        const bool connects = first >= 0 && autoConnect;
        QTRY_COMPARE_WITH_TIMEOUT(paths(*service).mid(sentBefore).contains("/v1/api/info"),
                                  connects, 5000);
    }

    void changingTheSubscriptionForgetsTheRoute()
    {
        openWindowOnService();
        probe->savedPackageId() = 11;
        signInAndWaitFor("/v1/server/list", Page_Connection);
        probe->firstServerIndex() = 2;
        probe->secondServerIndex() = 2;
        LastConnectionSettings last;
        last.firstServerId = probe->servers().at(2).id;
        last.secondServerId = last.firstServerId;
        QVERIFY(SettingsStore(SettingsStore::fileNameIn(dataDir->path())).saveLastConnection(last));

        child<QPushButton>("vpnConChangeSubButton")->click();
        QCOMPARE(page(), int(Page_Subscription));
        auto *combo = child<QComboBox>("subsSubComboBox");
        combo->setCurrentIndex(combo->findData(13));
        service->clearRequests();
        child<QPushButton>("subsNextButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_Connection), 10000);
        QCOMPARE(service->requests().first().query, QByteArray("idPackage=13"));
        QCOMPARE(probe->firstServerIndex(), -1);
        QCOMPARE(probe->secondServerIndex(), -1);
        const LastConnectionSettings stored
            = SettingsStore(SettingsStore::fileNameIn(dataDir->path())).loadLastConnection();
        QCOMPARE(stored.firstServerId, -1);
        QCOMPARE(stored.secondServerId, -1);
    }

    void endedSubscriptionReadsExpired()
    {
        openWindowOnService();
        Subscription subscription;
        subscription.type = 1;
        subscription.typeName = QStringLiteral("Premium");
        subscription.timeEnd = int(QDateTime::currentSecsSinceEpoch() - 10);
        probe->subscriptions() = {subscription};
        probe->currentSubIndex() = 0;
        QMetaObject::invokeMethod(window.get(), "timerSubUpdate");
        QCOMPARE(child<QLabel>("vpnConSubLeftLabel")->text(), QStringLiteral("expired"));

        probe->subscriptions()[0].timeEnd = int(QDateTime::currentSecsSinceEpoch() + 3599);
        QMetaObject::invokeMethod(window.get(), "timerSubUpdate");
        QVERIFY(child<QLabel>("vpnConSubLeftLabel")->text().contains(QStringLiteral("59 m")));
    }

    void expiryWarningIsShownOncePerServerList()
    {
        openWindowOnService();
        Subscription subscription;
        subscription.type = 2;
        subscription.typeName = QStringLiteral("Double");
        subscription.timeEnd = int(QDateTime::currentSecsSinceEpoch() + 2 * 86400);
        probe->subscriptions() = {subscription};
        probe->currentSubIndex() = 0;
        window->refreshSubscriptionPanel();
        window->refreshSubscriptionPanel();
        QCOMPARE(dialogs->texts.size(), 1);
        QVERIFY(
            dialogs->texts.first().contains(QStringLiteral("Subscription \"Double\" will end")));
        QVERIFY(child<QLabel>("vpnConSubLeftLabel")->styleSheet().contains("#dc6566"));
        QCOMPARE(child<QLabel>("vpnConSubTypeLabel")->text(), QStringLiteral("Double"));
        probe->expiryWarningShown() = false; // as a new server list does
        window->refreshSubscriptionPanel();
        QCOMPARE(dialogs->texts.size(), 2);
    }

    void hostileRepliesEndOnTheFailurePaths_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("expectedPage");

        QByteArray noise(4096, '\0');
        QRandomGenerator generator(20261206);
        for (char &c : noise)
            c = char(generator.bounded(256));

        QTest::newRow("key: random bytes") << int(Req_SignKey) << noise << int(Page_SignIn);
        QTest::newRow("key: an array")
            << int(Req_SignKey) << QByteArray("[1,2]") << int(Page_SignIn);
        QTest::newRow("auth: result of the wrong type")
            << int(Req_Auth) << QByteArray("{\"result\":\"true\",\"token\":1}") << int(Page_SignIn);
        QTest::newRow("auth: random bytes") << int(Req_Auth) << noise << int(Page_SignIn);
        QTest::newRow("subscriptions: data not an array")
            << int(Req_SubsList) << QByteArray("{\"result\":true,\"data\":\"oops\"}")
            << int(Page_Subscription);
        QTest::newRow("subscriptions: elements of every kind")
            << int(Req_SubsList)
            << QByteArray("{\"result\":true,\"data\":[1,\"a\",null,[],{\"type\":\"2\",\"id\":"
                          "\"x\",\"status\":{},\"timeEnd\":\"soon\",\"name\":7}]}")
            << int(Page_Subscription);
        QTest::newRow("subscriptions: random bytes")
            << int(Req_SubsList) << noise << int(Page_SignIn);
        QTest::newRow("servers: data an object")
            << int(Req_ServerList) << QByteArray("{\"result\":true,\"data\":{\"a\":1}}")
            << int(Page_Connection);
        QTest::newRow("servers: geo of the wrong kinds")
            << int(Req_ServerList)
            << QByteArray("{\"result\":true,\"data\":[{\"geo\":\"x\"},{\"geo\":{\"def\":7}},"
                          "{\"id\":\"9\",\"isFree\":\"yes\",\"ip\":[]}]}")
            << int(Page_Connection);
        QTest::newRow("servers: random bytes")
            << int(Req_ServerList) << noise << int(Page_Subscription);
        QTest::newRow("address check: random bytes") << int(Req_ServerMirrorCheck) << noise << -1;
    }
    void hostileRepliesEndOnTheFailurePaths()
    {
        QFETCH(int, slot);
        QFETCH(QByteArray, body);
        QFETCH(int, expectedPage);

        openWindowOnService();
        // As after a sign-in with a premium subscription chosen.
        Subscription premium;
        premium.id = 11;
        premium.type = 1;
        premium.status = 1;
        premium.timeEnd = int(QDateTime::currentSecsSinceEpoch() + 40 * 86400);
        probe->subscriptions() = {premium};
        probe->currentSubIndex() = 0;
        probe->authToken() = service->authToken();
        probe->userId() = 42;
        child<SlidingStackedWidget>("stackedWidget")
            ->setCurrentIndex(slot == Req_ServerList ? Page_Subscription : Page_Auth);

        auto *reply = new CannedReply(body);
        QElapsedTimer busy;
        busy.start();
        switch (RequestType(slot)) {
        case Req_SignKey:
            window->getSignKeyReply(reply);
            break;
        case Req_Auth:
            window->getAuthReply(reply);
            break;
        case Req_SubsList:
            window->getSubsListReply(reply);
            break;
        case Req_ServerList:
            window->getServerListReply(reply);
            break;
        default:
            window->getServerMirrorCheckReply(reply);
            break;
        }
        const qint64 blockedMs = busy.elapsed();
        delete reply;
        QVERIFY2(blockedMs < 100, qPrintable(QString::number(blockedMs)));
        if (expectedPage >= 0) {
            QTRY_COMPARE_WITH_TIMEOUT(page(), expectedPage, 5000);
        } else {
            // The address check never stops the sign-in: the subscriptions are asked for.
            QTRY_VERIFY_WITH_TIMEOUT(paths(*service).contains("/v1/package/list"), 5000);
            QVERIFY(log->has(QStringLiteral("[3]: Wrong server data")));
        }
    }

    void hugeServerListIsTaken()
    {
        QJsonArray pool;
        for (int i = 0; i < 20000; ++i)
            pool.append(QJsonObject {
                {"id", i + 1},
                {"ip", QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250)},
                {"geo",
                 QJsonObject {{"def",
                               QJsonObject {{"countryIso", "DE"},
                                            {"countryNameEn", "Germany"},
                                            {"cityNameEn", QString::number(i % 500)}}}}}});
        service->setServers(11, pool);
        QJsonObject map;
        for (int i = 1; i <= 20000; i += 7)
            map.insert(QString::number(i), QJsonArray {i + 1, i + 2, 999999, "x"});
        service->setDoubleMap(map);
        service->setServers(12, pool);
        openWindowOnService();
        probe->savedPackageId() = 12;
        signInAndWaitFor("/v1/server/double-map-in", Page_Connection);
        QCOMPARE(probe->servers().size(), 20000);
        QCOMPARE(probe->servers().at(0).doubleExits, (QVector<int> {1, 2}));
        QVERIFY(child<QComboBox>("vpnDoubleServFirstComboBox")->count() > 0);
        // Only the demo double subscription's near end is told.
        QCOMPARE(dialogs->texts.size(), 1);
        QVERIFY(dialogs->texts.first().contains(QStringLiteral("will end")));
    }
};

KESTRUNE_TEST_MAIN(TestSignIn)
#include "tst_signin.moc"

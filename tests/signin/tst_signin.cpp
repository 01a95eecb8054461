// Sign-in, subscriptions and server lists with the real request worker against the local
// service: the chain, its failures and fall-backs, and replies no real service would send.

#include "api/subscriptionchoice.h"
#include "core/settingsstore.h"
#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"
#include "ui/traynotification.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardItemModel>

namespace {

// Opens the buy page instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

using Paths = QList<QByteArray>;

} // namespace

class TestSignIn : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowRig> rig;

    // A window over a fresh data folder; the account's fields are typed by signIn().
    void openRig(WindowRig::Endpoints endpoints = WindowRig::LocalService, bool hidden = false,
                 bool mirrorTool = false)
    {
        rig.reset();
        rig = std::make_unique<WindowRig>(endpoints);
        if (mirrorTool)
            QVERIFY(!rig->programs.installSsLocal().isEmpty());
        rig->open();
        rig->probe().language() = 2;
        if (hidden)
            rig->window()->hide();
    }
    int page() const { return rig->probe().page(); }
    bool signInAndWaitFor(const QByteArray &lastPath, int expectedPage)
    {
        rig->signIn();
        return settlesAfter(lastPath, expectedPage);
    }
    bool settlesAfter(const QByteArray &lastPath, int expectedPage)
    {
        return QTest::qWaitFor([&]() { return rig->requestPaths().contains(lastPath); }, 10000)
            && QTest::qWaitFor([&]() { return page() == expectedPage; }, 10000);
    }
    SettingsStore store() const { return SettingsStore(rig->settingsFile()); }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init() { resetLastTrayNotificationType(); }
    void cleanup()
    {
        if (rig)
            QVERIFY2(rig->service.violations().isEmpty(),
                     qPrintable(rig->service.violations().join(QLatin1Char('\n'))));
        rig.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void signInSendsTheChainInOrderAndOffersTheSubscriptions()
    {
        openRig();
        // Longer than its label: cut to the label's width in the page's own font, although
        // the page had not been seen when the reply came.
        const QString email = QStringLiteral("a.rather.long.name.for.a.mailbox@example.com");
        rig->service.setAccount(rig->service.login(), rig->service.password(),
                                rig->service.userId(), email, QStringLiteral("User"));
        QVERIFY(signInAndWaitFor("/v1/package/list", Page_Subscription));
        auto *emailLabel = rig->widget<QLabel>("subsEmailLabel");
        QCOMPARE(emailLabel->text(),
                 QFontMetrics(emailLabel->font()).elidedText(email, Qt::ElideRight, 200));
        QVERIFY(emailLabel->text() != email);
        QCOMPARE(rig->requestPaths(),
                 (Paths {"/v1/api/info", "/v1/api/sign", "/v1/user/auth", "/api/checkrealip",
                         "/v1/package/list"}));
        WindowProbe p = rig->probe();
        QCOMPARE(p.authToken(), rig->service.authToken());
        QVERIFY(rig->log.contains(
            QStringLiteral("[2]: Authorization completed (account: %1)").arg(email)));
        for (const QString &line : rig->log.lines()) {
            QVERIFY2(!line.contains(rig->service.password()), qPrintable(line));
            QVERIFY2(!line.contains(rig->service.authToken()), qPrintable(line));
        }
        // Sorted by kind; paused and expired greyed with their reasons; the first active
        // premium one offered.
        const QVector<Subscription> &subs = p.subscriptions();
        auto *combo = rig->widget<QComboBox>("subsSubComboBox");
        auto *model = qobject_cast<QStandardItemModel *>(combo->model());
        QCOMPARE(combo->count(), subs.size());
        for (int i = 0; i < subs.size(); ++i) {
            QVERIFY(i == 0 || subs.at(i - 1).type <= subs.at(i).type);
            QCOMPARE(combo->itemData(i).toInt(), subs.at(i).id);
            QCOMPARE(model->item(i)->isEnabled(), subs.at(i).status != 2 && subs.at(i).status != 3);
            QCOMPARE(model->item(i)->toolTip(), subscriptionDisabledToolTip(subs.at(i).status));
        }
        QCOMPARE(combo->currentData().toInt(), 11); // the first active one
    }

    // Credentials sent before the start-up check has run: that check starts no second sign-in.
    void signInBeforeTheStartCheckIsTheOnlyOne()
    {
        rig = std::make_unique<WindowRig>(WindowRig::LocalService);
        rig->open(false);
        rig->signIn();
        QVERIFY(settlesAfter("/v1/package/list", Page_Subscription));
        QCOMPARE(rig->requestPaths().count("/v1/api/info"), 1);
    }

    void signInFailureEndsOnItsPage_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("fault"); // none: the password is wrong
        QTest::addColumn<int>("savedId"); // remembered subscription
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("code"); // of the error box
        QTest::addColumn<QString>("logLine");
        QTest::addColumn<int>("trayType");
        QTest::addColumn<int>("endPage");
        const auto row
            = [](const char *name, const char *path, MockService::Fault fault, int savedId,
                 bool hidden, int code, const char *logLine, int trayType, int endPage) {
                  QTest::newRow(name) << QByteArray(path) << int(fault) << savedId << hidden << code
                                      << QString(logLine) << trayType << endPage;
              };
        using F = MockService::Fault;
        row("key declined", "/v1/api/sign", F::Declined, -1, false, 0,
            "[1]: \"declined\" server reply", 0, Page_SignIn);
        row("key lost, window hidden", "/v1/api/sign", F::ServerErrorPlain, -1, true, 0,
            "[1]: Unable to get authorization key. Details:", 1, Page_SignIn);
        row("wrong password, window hidden", "", F::None, -1, true, 0,
            "[2]: \"declined\" server reply", 1, Page_SignIn);
        row("authorization not JSON", "/v1/user/auth", F::InvalidJson, -1, false, 0,
            "[2]: Unable to decode server reply", 0, Page_SignIn);
        row("subscriptions declined", "/v1/package/list", F::ServerErrorJson, -1, false, 1,
            "[4]: \"declined\" server reply", 0, Page_SignIn);
        row("subscriptions empty, window hidden", "/v1/package/list", F::EmptyBody, -1, true, 1,
            "[4]: Unable to decode server reply", 2, Page_SignIn);
        row("server list declined", "/v1/server/list", F::Declined, 11, false, 2,
            "[5]: \"declined\" server reply", 0, Page_Subscription);
        row("double map not JSON", "/v1/server/double-map-in", F::InvalidJson, 12, false, 3,
            "[6]: Unable to decode server reply", 0, Page_Subscription);
    }
    void signInFailureEndsOnItsPage()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, fault);
        QFETCH(int, savedId);
        QFETCH(bool, hidden);
        QFETCH(int, code);
        QFETCH(QString, logLine);
        QFETCH(int, trayType);
        QFETCH(int, endPage);
        openRig(WindowRig::LocalService, hidden);
        if (!path.isEmpty())
            rig->service.setFault(path, MockService::Fault(fault));
        rig->probe().settings()->setPackageId(savedId);
        rig->probe().autoConnectPending() = true;
        rig->dialogs.expect();
        rig->signIn(QString(), path.isEmpty() ? QStringLiteral("wrong") : QString());
        QVERIFY(rig->dialogs.waitFor(1));
        QTRY_COMPARE_WITH_TIMEOUT(page(), endPage, 3000);
        // Over the window while it shows, on its own while it is hidden; with a reason.
        const DialogRecorder::Dialog shown = rig->dialogs.dialogs().first();
        QCOMPARE(shown.code, code);
        QVERIFY2(shown.text.size() > 24, qPrintable(shown.text));
        QCOMPARE(shown.parented, !hidden);
        QVERIFY2(rig->log.contains(logLine), qPrintable(rig->log.lines().join('\n')));
        QCOMPARE(lastTrayNotificationType(), trayType);
        QVERIFY(!rig->probe().autoConnectPending());
    }

    void signInFallsBackToTheEmergencyAddress_data()
    {
        QTest::addColumn<bool>("emergencyAnswers");
        QTest::newRow("emergency address answers") << true;
        QTest::newRow("neither address answers") << false;
    }
    void signInFallsBackToTheEmergencyAddress()
    {
        QFETCH(bool, emergencyAnswers);
        openRig(WindowRig::EmergencyAddress);
        WindowProbe p = rig->probe();
        const QString primary = p.apiBaseUrl();
        if (!emergencyAnswers) {
            rig->service.setFault("/v1/api/info", MockService::Fault::Declined);
            rig->dialogs.expect();
        }
        rig->signIn();
        if (!emergencyAnswers) {
            QVERIFY(rig->dialogs.waitFor(1));
            QCOMPARE(rig->dialogs.dialogs().value(0).text,
                     "Error code: 0<br>Server not reachable.");
            QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_SignIn), 3000);
            QCOMPARE(rig->requestPaths(), Paths {"/v1/api/info"});
            QCOMPARE(p.apiBaseUrl(), primary);
            QCOMPARE(p.siteBaseUrl(), rig->service.baseUrl());
            QVERIFY(rig->widget<QLabel>("mainRemindPswdLabel")->text().contains(p.siteBaseUrl()));
            return;
        }
        QVERIFY(settlesAfter("/v1/package/list", Page_Subscription));
        // The service's name went with every request to its literal address, never to the
        // address check: the local service checks both (see cleanup()).
        QVERIFY(rig->service.requests().first().header("Host") == WindowRig::ApiHost);
        QVERIFY(rig->log.contains(QStringLiteral("[11]: Trying reconnect to emergency address")));
        QCOMPARE(p.apiBaseUrl(), rig->service.baseUrl());
        const EmergencyAddressSettings stored = store().loadEmergencyAddress();
        QVERIFY(stored.useByDefault);
        QCOMPARE(stored.address, rig->service.baseUrl());
    }

    void addressCheckDecidesTheMirrorRoute_data()
    {
        QTest::addColumn<QByteArray>("echo"); // empty: the check fails
        QTest::addColumn<bool>("languageAsks");
        QTest::addColumn<bool>("toolFound");
        QTest::addColumn<bool>("active");
        QTest::addColumn<QString>("logLine");
        const QString yes = QStringLiteral("Server Mirror Configuration needed: yes");
        QTest::newRow("listed country")
            << QByteArray("1.2.3.4\nAS1\nChina\n") << false << true << true << yes;
        QTest::newRow("another country") << QByteArray("1.2.3.4\nAS1\nGermany\n") << false << true
                                         << false << "Server Mirror Configuration needed: no";
        QTest::newRow("language asks, tool missing")
            << QByteArray("1.2.3.4\nAS1\nGermany\n") << true << false << false
            << "Server Mirror Configuration disabled: Shadowsocks component not found.";
        QTest::newRow("no answer, language asks")
            << QByteArray() << true << true << true
            << "[3]: Unable to get authorization support reply. Details:";
    }
    void addressCheckDecidesTheMirrorRoute()
    {
        QFETCH(QByteArray, echo);
        QFETCH(bool, languageAsks);
        QFETCH(bool, toolFound);
        QFETCH(bool, active);
        QFETCH(QString, logLine);
        openRig(WindowRig::LocalService, false, toolFound);
        rig->service.setEchoReply(echo);
        if (echo.isEmpty())
            rig->service.setFault("/api/checkrealip", MockService::Fault::ServerErrorPlain);
        WindowProbe p = rig->probe();
        p.mirrorAskedByLanguage() = languageAsks;
        rig->widget<QRadioButton>("settingProtUDPRButton")->setChecked(true);
        if (!toolFound)
            rig->dialogs.expect();
        QVERIFY(signInAndWaitFor("/v1/package/list", Page_Subscription));
        QVERIFY2(rig->log.contains(logLine), qPrintable(rig->log.lines().join('\n')));
        QCOMPARE(rig->widget<QRadioButton>("settingProtTCPRButton")->isChecked(), active);
        QCOMPARE(rig->widget("settingProtWidget")->isEnabled(), !active);
        QCOMPARE(rig->dialogs.size(), toolFound ? 0 : 1);
    }

    void rememberedSubscriptionGoesOnToItsServers_data()
    {
        QTest::addColumn<int>("savedId");
        QTest::addColumn<QByteArray>("requested");
        QTest::addColumn<int>("serverCount");
        QTest::addColumn<bool>("endsSoon");
        QTest::newRow("remembered onion") << 13 << QByteArray("idPackage=13") << 9 << false;
        QTest::newRow("remembered but paused: first active")
            << 15 << QByteArray("idPackage=11") << 9 << false;
        QTest::newRow("remembered free, ends within hours")
            << 14 << QByteArray("idPackage=14") << 11 << true;
    }
    void rememberedSubscriptionGoesOnToItsServers()
    {
        QFETCH(int, savedId);
        QFETCH(QByteArray, requested);
        QFETCH(int, serverCount);
        QFETCH(bool, endsSoon);
        openRig();
        WindowProbe p = rig->probe();
        p.settings()->setPackageId(savedId);
        QSignalSpy pages(p.stack(), SIGNAL(currentChanged(int)));
        rig->dialogs.expect(endsSoon ? 1 : 0);
        QVERIFY(signInAndWaitFor("/v1/server/list", Page_Connection));
        QCOMPARE(rig->service.requests().last().query, requested);
        for (const QList<QVariant> &change : pages)
            QVERIFY(change.first().toInt() != Page_Subscription);
        QCOMPARE(p.servers().size(), serverCount);
        QCOMPARE(store().loadGeneral().packageId, p.settings()->packageId());
        // One row per city, sorted; the first chosen.
        auto *rows = rig->widget<QListWidget>("vpnServAllServListWidget");
        QCOMPARE(rows->count(), serverCount == 11 ? 7 : 6);
        QCOMPARE(rows->currentRow(), 0);
        for (int i = 1; i < rows->count(); ++i)
            QVERIFY(rows->item(i - 1)->text() <= rows->item(i)->text());
        QCOMPARE(rig->dialogs.size(), endsSoon ? 1 : 0);
        QCOMPARE(rig->widget("vpnConSubLeftLabel")->styleSheet().contains("#dc6566"), endsSoon);
    }

    void withoutActiveSubscriptionTheButtonOpensTheBuyPage()
    {
        openRig(WindowRig::LocalService, true);
        rig->service.setSubscriptions(QJsonArray {
            QJsonObject {{"id", 5}, {"type", 1}, {"status", 2}, {"timeEnd", 2000000000}},
            QJsonObject {{"id", 6}, {"type", 2}, {"status", 3}, {"timeEnd", 1000000000}}});
        rig->probe().language() = 3; // Chinese
        QVERIFY(signInAndWaitFor("/v1/package/list", Page_Subscription));
        QCOMPARE(lastTrayNotificationType(), 3);
        QVERIFY(!rig->widget("subsSubComboBox")->isEnabled());
        QCOMPARE(rig->widget<QPushButton>("subsNextButton")->text(),
                 QStringLiteral("BUY SUBSCRIBTION"));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        rig->widget<QPushButton>("subsNextButton")->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.urls,
                 QList<QUrl> {QUrl(rig->probe().siteBaseUrl() + "/cn/panel/package/buy")});
        QVERIFY(!rig->requestPaths().contains("/v1/server/list"));
    }

    void subscriptionPanelWarnsOnceAndReadsExpired()
    {
        openRig();
        WindowProbe p = rig->probe();
        p.subscriptions() = {subscription(1, 2, 2, 1, QStringLiteral("Double"))};
        p.currentSubIndex() = 0;
        rig->dialogs.expect();
        rig->window()->refreshSubscriptionPanel();
        rig->window()->refreshSubscriptionPanel();
        QCOMPARE(rig->dialogs.size(), 1);
        QVERIFY(rig->dialogs.dialogs().value(0).text.contains("Subscription \"Double\" will end"));
        QVERIFY(rig->widget("vpnConSubLeftLabel")->styleSheet().contains("#dc6566"));
        p.subscriptions()[0].timeEnd = int(QDateTime::currentSecsSinceEpoch() - 10);
        rig->window()->timerSubUpdate();
        QCOMPARE(rig->widget<QLabel>("vpnConSubLeftLabel")->text(), QStringLiteral("expired"));
    }
};

KESTRUNE_TEST_MAIN(TestSignIn)
#include "tst_signin.moc"

#include "support/testmain.h"
#include "ui/messagedialogs.h"
#include "ui/pagenavigation.h"
#include "windowfixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QParallelAnimationGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

using namespace WindowFixture;

class TestMainWindowNavigation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        dataDir = std::make_unique<QTemporaryDir>();
        QVERIFY(dataDir->isValid());
        // A sign-in started by a test fails against the closed port; its box must not wait
        // for a user.
        setDialogRunner([](QMessageBox *) { return int(QMessageBox::Ok); });
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void returnPageSkipsAboutAndSettings_data();
    void returnPageSkipsAboutAndSettings();
    void settingsThenTrayAboutReturnToServerPage();
    void gearOfEveryPageOpensSettingsAndLeadsBack_data();
    void gearOfEveryPageOpensSettingsAndLeadsBack();
    void plainMovesReachTheirPages_data();
    void plainMovesReachTheirPages();
    void connectionHintRisesOnlyOnFirstVisit();
    void signInHintRisesAtStart();
    void subscriptionBackFollowsTheWayIn_data();
    void subscriptionBackFollowsTheWayIn();
    void infoValuesMakeRoomForTheScrollBar_data();
    void infoValuesMakeRoomForTheScrollBar();
    void closeHidesToTrayOnlyWithVisibleIcon_data();
    void closeHidesToTrayOnlyWithVisibleIcon();
    void signInErrorDuringSlideWaitsForIt();
    void signInErrorAfterSlideReturnsAtOnce();
    void signInSlidesOnlyWhenVisible_data();
    void signInSlidesOnlyWhenVisible();
    void signInNeedsBothFields_data();
    void signInNeedsBothFields();
    void returnKeyInFieldsSignsIn();
    void waitingPageDotsMove();
    void addressMenuCopiesTheAddress();
    void aboutFromHiddenWindowShowsIt();
    void changeSubscriptionReopensTheChoice();
    void manualChoicePageFollowsSubscriptionType_data();
    void manualChoicePageFollowsSubscriptionType();
    void loadingLabelFollowsPageOnShow_data();
    void loadingLabelFollowsPageOnShow();

private:
    std::unique_ptr<QTemporaryDir> dataDir;
};

// ---- navigation -------------------------------------------------------------------------

void TestMainWindowNavigation::returnPageSkipsAboutAndSettings_data()
{
    QTest::addColumn<QList<int>>("visits");
    QTest::addColumn<int>("returnPage");

    QTest::newRow("settings from the server list") << QList<int> {3, 4, 8} << 4;
    QTest::newRow("about after settings keeps the page before both")
        << QList<int> {3, 4, 8, 7} << 4;
    QTest::newRow("settings after about keeps the page before both") << QList<int> {5, 7, 8} << 5;
    QTest::newRow("settings from the sign-in page") << QList<int> {0, 8} << 0;
    QTest::newRow("an ordinary page returns to the one before") << QList<int> {2, 3, 6} << 3;
}

void TestMainWindowNavigation::returnPageSkipsAboutAndSettings()
{
    QFETCH(QList<int>, visits);
    QFETCH(int, returnPage);

    PageHistory history;
    for (int page : visits)
        history.enter(page);
    QCOMPARE(history.returnPage(), returnPage);
}

void TestMainWindowNavigation::settingsThenTrayAboutReturnToServerPage()
{
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    jump(w, Page_Connection);
    jump(w, Page_Servers);

    auto *gear = w->findChild<QPushButton *>(QStringLiteral("vpnServSettingButton"));
    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(gear, Qt::LeftButton); }, Page_Settings));
    allowRaises(1);
    QVERIFY(slideBy(
        w, [&]() { w->showAbout(); }, Page_About));
    auto *aboutBack = w->findChild<QPushButton *>(QStringLiteral("aboutBackButton"));
    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(aboutBack, Qt::LeftButton); }, Page_Servers));

    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(gear, Qt::LeftButton); }, Page_Settings));
    allowRaises(1);
    QVERIFY(slideBy(
        w, [&]() { w->showAbout(); }, Page_About));
    jump(w, Page_Settings);
    auto *settingBack = w->findChild<QPushButton *>(QStringLiteral("settingBackButton"));
    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(settingBack, Qt::LeftButton); }, Page_Servers));
}

void TestMainWindowNavigation::gearOfEveryPageOpensSettingsAndLeadsBack_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("gear");

    QTest::newRow("sign-in") << int(Page_SignIn) << QStringLiteral("mainSettingButton");
    QTest::newRow("subscription") << int(Page_Subscription) << QStringLiteral("subsSettingButton");
    QTest::newRow("connection") << int(Page_Connection) << QStringLiteral("vpnConSettingButton");
    QTest::newRow("servers") << int(Page_Servers) << QStringLiteral("vpnServSettingButton");
    QTest::newRow("information") << int(Page_Info) << QStringLiteral("vpnInfoSettingButton");
    QTest::newRow("double") << int(Page_DoubleServers)
                            << QStringLiteral("vpnDoubleServSettingButton");
}

void TestMainWindowNavigation::gearOfEveryPageOpensSettingsAndLeadsBack()
{
    QFETCH(int, page);
    QFETCH(QString, gear);

    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    if (page != Page_SignIn)
        jump(w, page);
    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(w->findChild<QPushButton *>(gear), Qt::LeftButton); },
        Page_Settings));
    QCOMPARE(w->returnPage(), page);
    auto *back = w->findChild<QPushButton *>(QStringLiteral("settingBackButton"));
    QVERIFY(slideBy(
        w, [&]() { QTest::mouseClick(back, Qt::LeftButton); }, page));
}

void TestMainWindowNavigation::plainMovesReachTheirPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("slides");

    QTest::newRow("info button slides to the information page")
        << int(Page_Connection) << QStringLiteral("vpnConConInfoButton") << int(Page_Info) << true;
    QTest::newRow("information back slides to the connection page")
        << int(Page_Info) << QStringLiteral("vpnInfoBackButton") << int(Page_Connection) << true;
    QTest::newRow("server list back jumps to the connection page")
        << int(Page_Servers) << QStringLiteral("vpnServBackButton") << int(Page_Connection)
        << false;
    QTest::newRow("double page back jumps to the connection page")
        << int(Page_DoubleServers) << QStringLiteral("vpnDoubleServBackButton")
        << int(Page_Connection) << false;
    QTest::newRow("subscription back jumps to the connection page")
        << int(Page_Subscription) << QStringLiteral("subsBackButton") << int(Page_Connection)
        << false;
}

void TestMainWindowNavigation::plainMovesReachTheirPages()
{
    QFETCH(int, from);
    QFETCH(QString, button);
    QFETCH(int, to);
    QFETCH(bool, slides);

    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    if (from == Page_Subscription)
        jump(w, Page_Connection); // the Back button exists only when coming from there
    jump(w, from);
    auto *target = w->findChild<QPushButton *>(button);
    if (target->parentWidget() && target->parentWidget()->objectName() == "conPage")
        w->findChild<QStackedWidget *>(QStringLiteral("vpnConStatusStackedWidget"))
            ->setCurrentIndex(1);
    if (slides) {
        QVERIFY(slideBy(
            w, [&]() { QTest::mouseClick(target, Qt::LeftButton); }, to));
    } else {
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(mainStack(w)->currentIndex(), to);
    }
}

void TestMainWindowNavigation::connectionHintRisesOnlyOnFirstVisit()
{
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    auto *hint = w->findChild<QLabel *>(QStringLiteral("vpnConTipLabel"));
    QVERIFY(hint->isHidden());
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(hint->graphicsEffect());
    QVERIFY(effect);

    jump(w, Page_Connection);
    QVERIFY(!hint->isHidden());
    QVERIFY(effect->opacity() < 0.5);
    QTRY_COMPARE_WITH_TIMEOUT(hint->y(), 405, 2000);
    QTRY_COMPARE_WITH_TIMEOUT(effect->opacity(), 1.0, 2000);

    jump(w, Page_Servers);
    jump(w, Page_Connection);
    // No new rise: the hint stays in place and fully shown from the first moment.
    QCOMPARE(hint->y(), 405);
    QCOMPARE(effect->opacity(), 1.0);
    QVERIFY(hint->findChildren<QParallelAnimationGroup *>().isEmpty());
}

void TestMainWindowNavigation::signInHintRisesAtStart()
{
    auto window = makeWindow(dataDir->path());
    auto *hint = window->findChild<QLabel *>(QStringLiteral("mainTipLabel"));
    QVERIFY(!hint->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(hint->y(), 405, 2000);
    QVERIFY(window->findChild<QLabel *>(QStringLiteral("settingTipLabel"))->isHidden());

    jump(window.get(), Page_Settings);
    auto *settingHint = window->findChild<QLabel *>(QStringLiteral("settingTipLabel"));
    QVERIFY(!settingHint->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(settingHint->y(), 0, 2000);
}

void TestMainWindowNavigation::subscriptionBackFollowsTheWayIn_data()
{
    QTest::addColumn<QList<int>>("visits");
    QTest::addColumn<bool>("shown");

    QTest::newRow("after sign-in it is hidden") << QList<int> {1, 2} << false;
    QTest::newRow("from the connection page it is shown") << QList<int> {1, 2, 3, 2} << true;
    QTest::newRow("kept across settings") << QList<int> {1, 2, 3, 2, 8, 2} << true;
    QTest::newRow("kept across about") << QList<int> {1, 2, 3, 2, 7, 2} << true;
    QTest::newRow("hidden state kept across settings") << QList<int> {1, 2, 8, 2} << false;
    QTest::newRow("after a new sign-in it is hidden again")
        << QList<int> {1, 2, 3, 2, 0, 1, 2} << false;
}

void TestMainWindowNavigation::subscriptionBackFollowsTheWayIn()
{
    QFETCH(QList<int>, visits);
    QFETCH(bool, shown);

    auto window = makeWindow(dataDir->path());
    for (int page : visits)
        jump(window.get(), page);
    QCOMPARE(!window->findChild<QPushButton *>(QStringLiteral("subsBackButton"))->isHidden(),
             shown);
}

void TestMainWindowNavigation::infoValuesMakeRoomForTheScrollBar_data()
{
    QTest::addColumn<int>("policy");
    QTest::addColumn<int>("rightMargin");

    QTest::newRow("no scroll bar") << int(Qt::ScrollBarAlwaysOff) << 20;
    QTest::newRow("scroll bar shown") << int(Qt::ScrollBarAlwaysOn) << 15;
}

void TestMainWindowNavigation::infoValuesMakeRoomForTheScrollBar()
{
    QFETCH(int, policy);
    QFETCH(int, rightMargin);

    QCOMPARE(infoValuesRightMargin(policy == Qt::ScrollBarAlwaysOn), rightMargin);

    auto window = makeWindow(dataDir->path());
    auto *area = window->findChild<QScrollArea *>(QStringLiteral("vpnInfoScrollArea"));
    auto *values = window->findChild<QWidget *>(QStringLiteral("vpnInfoSAWidget"));
    // Start from the other margin, so entering the page must set it.
    values->layout()->setContentsMargins(0, 0, 35 - rightMargin, 0);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarPolicy(policy));
    jump(window.get(), Page_Info);
    QCOMPARE(values->layout()->contentsMargins(), QMargins(0, 0, rightMargin, 0));
}

void TestMainWindowNavigation::closeHidesToTrayOnlyWithVisibleIcon_data()
{
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<bool>("iconVisible");
    QTest::addColumn<bool>("closes");

    QTest::newRow("visible tray icon: the window only hides") << true << true << false;
    QTest::newRow("hidden tray icon: the window closes") << true << false << true;
    QTest::newRow("no tray icon yet: the window closes") << false << false << true;
}

void TestMainWindowNavigation::closeHidesToTrayOnlyWithVisibleIcon()
{
    QFETCH(bool, hasIcon);
    QFETCH(bool, iconVisible);
    QFETCH(bool, closes);

    auto window = makeWindow(dataDir->path());
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    QSystemTrayIcon tray {QIcon(picture)};
    if (hasIcon) {
        if (iconVisible && QGuiApplication::platformName() == QLatin1String("offscreen"))
            KestruneTest::expectQtWarning(
                QRegularExpression(QStringLiteral("No such signal.*systemTrayWindowChanged")));
        tray.setVisible(iconVisible);
        window->setTrayIcon(&tray);
    }
    QCOMPARE(window->close(), closes);
    QVERIFY(!window->isVisible());
    tray.hide();
}

void TestMainWindowNavigation::signInErrorDuringSlideWaitsForIt()
{
    // The sign-in started here fails ("Server not reachable."): its box is answered at once.
    setDialogRunner([](QMessageBox *) { return int(QMessageBox::Ok); });
    auto restoreRunner = qScopeGuard([]() { setDialogRunner(nullptr); });
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    auto *login = w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"));
    auto *password = w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"));
    QTest::keyClicks(login, QStringLiteral("user"));
    QTest::keyClicks(password, QStringLiteral("secret"));

    QSignalSpy finished(mainStack(w), SIGNAL(animationFinished()));
    QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("mainLoginButton")),
                      Qt::LeftButton);
    QCOMPARE(mainStack(w)->currentIndex(), Page_SignIn); // the slide is under way

    w->returnToSignInPage();
    QCOMPARE(finished.count(), 1); // it waited for the slide to end
    QCOMPARE(mainStack(w)->currentIndex(), Page_SignIn);
}

void TestMainWindowNavigation::signInErrorAfterSlideReturnsAtOnce()
{
    // The sign-in started here fails ("Server not reachable."): its box is answered at once.
    setDialogRunner([](QMessageBox *) { return int(QMessageBox::Ok); });
    auto restoreRunner = qScopeGuard([]() { setDialogRunner(nullptr); });
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
    w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
    // The waiting page as the sign-in shows it; the slide has ended when the failure comes.
    QVERIFY(slideBy(
        w, [&]() { w->slideToPage(Page_Auth); }, Page_Auth));

    bool eventsRan = false;
    QTimer::singleShot(0, this, [&]() { eventsRan = true; });
    w->returnToSignInPage();
    QVERIFY(!eventsRan); // no event loop ran: it did not wait
    QCOMPARE(mainStack(w)->currentIndex(), Page_SignIn);
}

void TestMainWindowNavigation::signInSlidesOnlyWhenVisible_data()
{
    QTest::addColumn<bool>("visible");
    QTest::newRow("visible window slides") << true;
    QTest::newRow("hidden window jumps") << false;
}

void TestMainWindowNavigation::signInSlidesOnlyWhenVisible()
{
    QFETCH(bool, visible);

    // The sign-in started here fails ("Server not reachable."): its box is answered at once.
    setDialogRunner([](QMessageBox *) { return int(QMessageBox::Ok); });
    auto restoreRunner = qScopeGuard([]() { setDialogRunner(nullptr); });
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
    w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
    if (!visible)
        w->hide();
    // The page each finished slide arrived at: a visible window slides to the waiting page,
    // a hidden one jumps there (and only the way back may slide).
    QList<int> slidTo;
    QList<int> pages;
    connect(mainStack(w), &SlidingStackedWidget::animationFinished, this,
            [&]() { slidTo << mainStack(w)->currentIndex(); });
    connect(mainStack(w), &QStackedWidget::currentChanged, this,
            [&](int index) { pages << index; });
    w->findChild<QPushButton *>(QStringLiteral("mainLoginButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!pages.isEmpty(), 5000);
    QCOMPARE(pages.first(), int(Page_Auth));
    QCOMPARE(slidTo.contains(int(Page_Auth)), visible);
}

void TestMainWindowNavigation::signInNeedsBothFields_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("both empty") << QString() << QString() << false;
    QTest::newRow("login only") << QStringLiteral("user") << QString() << false;
    QTest::newRow("password only") << QString() << QStringLiteral("secret") << false;
    QTest::newRow("both filled") << QStringLiteral("user") << QStringLiteral("secret") << true;
}

void TestMainWindowNavigation::signInNeedsBothFields()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, enabled);

    QCOMPARE(signInAllowed(login, password), enabled);

    auto window = makeWindow(dataDir->path());
    auto *loginEdit = window->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"));
    auto *passwordEdit = window->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"));
    auto *button = window->findChild<QPushButton *>(QStringLiteral("mainLoginButton"));
    auto *remember = window->findChild<QCheckBox *>(QStringLiteral("mainRememberCheckBox"));
    // Start from the opposite state, so the fields' edits must change it.
    loginEdit->setText(QStringLiteral("x"));
    passwordEdit->setText(enabled ? QString() : QStringLiteral("y"));
    QCOMPARE(button->isEnabled(), !enabled);

    loginEdit->setText(login);
    passwordEdit->setText(password);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(remember->isEnabled(), enabled);
}

void TestMainWindowNavigation::returnKeyInFieldsSignsIn()
{
    for (const char *field : {"mainLoginLineEdit", "mainPswdLineEdit"}) {
        auto window = makeWindow(dataDir->path());
        MainWindow *w = window.get();
        w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
        w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
        w->hide(); // a hidden window jumps, so the page changes at once
        QSignalSpy changed(mainStack(w), SIGNAL(currentChanged(int)));
        QTest::keyClick(w->findChild<QLineEdit *>(QString::fromLatin1(field)), Qt::Key_Return);
        // The sign-in went to the waiting page (and back, once the closed port refused it).
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.first().first().toInt(), int(Page_Auth));
    }
}

void TestMainWindowNavigation::waitingPageDotsMove()
{
    auto window = makeWindow(dataDir->path());
    auto *loading = window->findChild<QLabel *>(QStringLiteral("authLoadingLabel"));
    const QString visibleDot = QStringLiteral("<span>.</span>");
    QVERIFY(!loading->text().contains(visibleDot));
    jump(window.get(), Page_Auth);
    QTRY_VERIFY_WITH_TIMEOUT(loading->text().contains(visibleDot), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(loading->text().contains(visibleDot.repeated(2)), 3000);
}

void TestMainWindowNavigation::addressMenuCopiesTheAddress()
{
    auto window = makeWindow(dataDir->path());
    for (const char *name : {"vpnInfoOrIPButton", "vpnInfoNewIPButton"}) {
        auto *button = window->findChild<QPushButton *>(QString::fromLatin1(name));
        const QString address = QStringLiteral("203.0.113.%1").arg(qstrlen(name));
        button->setText(address);
        QMenu *menu = button->menu();
        QVERIFY(menu);
        QCOMPARE(menu->parent(), button);
        QCOMPARE(menu->actions().size(), 1);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Copy"));
        QApplication::clipboard()->clear();
        menu->actions().first()->trigger();
        QCOMPARE(QApplication::clipboard()->text(), address);
    }
}

void TestMainWindowNavigation::aboutFromHiddenWindowShowsIt()
{
    auto window = makeWindow(dataDir->path());
    window->hide();
    allowRaises(1);
    window->showAbout();
    QVERIFY(window->isVisible());
    QCOMPARE(mainStack(window.get())->currentIndex(), Page_About);
}

void TestMainWindowNavigation::changeSubscriptionReopensTheChoice()
{
    auto window = makeWindow(dataDir->path());
    MainWindow *w = window.get();
    auto *combo = w->findChild<QComboBox *>(QStringLiteral("subsSubComboBox"));
    auto *next = w->findChild<QPushButton *>(QStringLiteral("subsNextButton"));
    combo->addItem(QStringLiteral("Premium"));
    combo->setEnabled(false);
    next->setEnabled(true);
    jump(w, Page_Connection);
    QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("vpnConChangeSubButton")),
                      Qt::LeftButton);
    QCOMPARE(mainStack(w)->currentIndex(), Page_Subscription);
    QVERIFY(combo->isEnabled());
    QVERIFY(!next->isEnabled());
    QVERIFY(!w->findChild<QPushButton *>(QStringLiteral("subsBackButton"))->isHidden());
}

// ---- pure rules -------------------------------------------------------------------------

void TestMainWindowNavigation::manualChoicePageFollowsSubscriptionType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("page");

    QTest::newRow("premium") << 1 << int(Page_Servers);
    QTest::newRow("double") << 2 << int(Page_DoubleServers);
    QTest::newRow("onion") << 3 << int(Page_Servers);
    QTest::newRow("free") << 4 << int(Page_Servers);
    QTest::newRow("unknown type is an error") << 5 << -1;
    QTest::newRow("no type is an error") << 0 << -1;
}

void TestMainWindowNavigation::manualChoicePageFollowsSubscriptionType()
{
    QFETCH(int, type);
    QFETCH(int, page);
    QCOMPARE(manualChoicePage(type), page);
}

void TestMainWindowNavigation::loadingLabelFollowsPageOnShow_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("label");

    QTest::newRow("waiting page") << int(Page_Auth) << 0 << QStringLiteral("authLoadingLabel");
    QTest::newRow("connecting") << int(Page_Connection) << 2
                                << QStringLiteral("vpnConLoadingLabel");
    QTest::newRow("checking servers")
        << int(Page_Connection) << 3 << QStringLiteral("vpnConCheckServAvailLoadingLabel");
    QTest::newRow("connected: nothing loads") << int(Page_Connection) << 1 << QString();
    QTest::newRow("applying settings")
        << int(Page_Settings) << 0 << QStringLiteral("settingLoadingLabel");
    QTest::newRow("server list: nothing loads") << int(Page_Servers) << 2 << QString();
}

void TestMainWindowNavigation::loadingLabelFollowsPageOnShow()
{
    QFETCH(int, page);
    QFETCH(int, status);
    QFETCH(QString, label);
    QCOMPARE(loadingLabelName(page, status), label);
}

KESTRUNE_TEST_MAIN(TestMainWindowNavigation)
#include "tst_mainwindownavigation.moc"

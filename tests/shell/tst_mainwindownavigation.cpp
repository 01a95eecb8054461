// Moving between the window's pages: gears and back buttons, the return page, the sign-in's
// slide to the waiting page and back, and the tray's hiding.

#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"
#include "ui/slidingstackedwidget.h"

#include <QIcon>
#include <QLineEdit>
#include <QSignalSpy>

class TestMainWindowNavigation : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowRig> rig;
    void jump(int page) { rig->probe().stack()->setCurrentIndex(page); }
    int page() const { return rig->probe().page(); }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        rig = std::make_unique<WindowRig>();
        rig->open();
    }
    void cleanup()
    {
        rig.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void buttonsLeadToTheirPages_data()
    {
        QTest::addColumn<QList<int>>("visits"); // the pages seen before, the last one shown
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("slides");
        const auto gear = [](const char *row, int page, const char *button) {
            QTest::newRow(row) << QList<int> {page} << QByteArray(button) << int(Page_Settings)
                               << true;
        };
        gear("subscription gear", Page_Subscription, "subsSettingButton");
        gear("servers gear", Page_Servers, "vpnServSettingButton");
        gear("information gear", Page_Info, "vpnInfoSettingButton");
        gear("double gear", Page_DoubleServers, "vpnDoubleServSettingButton");
        QTest::newRow("settings back returns to the page before")
            << QList<int> {3, 4, 8} << QByteArray("settingBackButton") << 4 << true;
        QTest::newRow("about back skips settings")
            << QList<int> {3, 4, 8, 7} << QByteArray("aboutBackButton") << 4 << true;
        QTest::newRow("info button slides to the information page")
            << QList<int> {3} << QByteArray("vpnConConInfoButton") << int(Page_Info) << true;
        QTest::newRow("information back slides to the connection page")
            << QList<int> {3, 5} << QByteArray("vpnInfoBackButton") << 3 << true;
        QTest::newRow("server list back jumps to the connection page")
            << QList<int> {3, 4} << QByteArray("vpnServBackButton") << 3 << false;
        QTest::newRow("subscription back jumps to the connection page")
            << QList<int> {3, 2} << QByteArray("subsBackButton") << 3 << false;
    }
    void buttonsLeadToTheirPages()
    {
        QFETCH(QList<int>, visits);
        QFETCH(QByteArray, button);
        QFETCH(int, to);
        QFETCH(bool, slides);
        for (int visit : visits)
            jump(visit);
        rig->widget<QStackedWidget>("vpnConStatusStackedWidget")->setCurrentIndex(1); // connected
        // A page first seen now has joined the window before anyone sees it.
        QVERIFY(rig->widget(button)->isVisible());
        if (slides)
            QVERIFY(rig->slide([&]() { rig->click(button); }, to));
        else
            rig->click(button);
        QCOMPARE(page(), to);
    }

    void windowTakesItsIconOncePainted()
    {
        const QList<QSize> sizes
            = QIcon(QStringLiteral(":/images/icons/ksvpn.ico")).availableSizes();
        QVERIFY(sizes.size() > 1);
        QTRY_COMPARE_WITH_TIMEOUT(rig->window()->windowIcon().availableSizes(), sizes, 5000);
    }

    void subscriptionBackFollowsTheWayIn_data()
    {
        QTest::addColumn<QList<int>>("visits");
        QTest::addColumn<bool>("shown");
        QTest::newRow("after sign-in it is hidden") << QList<int> {1, 2} << false;
        QTest::newRow("from the connection page it is shown") << QList<int> {1, 2, 3, 2} << true;
        QTest::newRow("hidden state kept across about") << QList<int> {1, 2, 7, 2} << false;
        QTest::newRow("after a new sign-in it is hidden again")
            << QList<int> {1, 2, 3, 2, 0, 1, 2} << false;
    }
    void subscriptionBackFollowsTheWayIn()
    {
        QFETCH(QList<int>, visits);
        QFETCH(bool, shown);
        for (int page : visits)
            jump(page);
        QCOMPARE(!rig->widget("subsBackButton")->isHidden(), shown);
    }

    void signInGoesToTheWaitingPage_data()
    {
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QByteArray>("how"); // the button, or the field Return is pressed in
        QTest::newRow("visible window slides") << true << QByteArray("mainLoginButton");
        QTest::newRow("hidden window jumps") << false << QByteArray("mainLoginButton");
        QTest::newRow("Return in the login field") << false << QByteArray("mainLoginLineEdit");
    }
    void signInGoesToTheWaitingPage()
    {
        QFETCH(bool, visible);
        QFETCH(QByteArray, how);
        if (!visible)
            rig->window()->hide();
        auto *stack = qobject_cast<SlidingStackedWidget *>(rig->probe().stack());
        QList<int> slidTo;
        connect(stack, &SlidingStackedWidget::animationFinished, this,
                [&]() { slidTo << stack->currentIndex(); });
        QSignalSpy changed(stack, SIGNAL(currentChanged(int)));
        rig->dialogs.expect(); // the closed port refuses the sign-in
        rig->widget<QLineEdit>("mainLoginLineEdit")->setText(QStringLiteral("user"));
        rig->widget<QLineEdit>("mainPswdLineEdit")->setText(QStringLiteral("secret"));
        if (how.endsWith("Button"))
            rig->click(how);
        else
            QTest::keyClick(rig->widget(how), Qt::Key_Return);
        QVERIFY(rig->dialogs.waitFor(1));
        QCOMPARE(changed.first().first().toInt(), int(Page_Auth));
        // The failure came during the slide; the way back waited for its end.
        QCOMPARE(slidTo.contains(int(Page_Auth)), visible);
        QCOMPARE(page(), int(Page_SignIn));
    }

    void signInNeedsBothFields_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("password only") << QString() << "secret";
        QTest::newRow("both filled") << "user"
                                     << "secret";
    }
    void signInNeedsBothFields()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        const bool enabled = !login.isEmpty() && !password.isEmpty();
        // From the opposite state, so the fields' edits must change it.
        rig->widget<QLineEdit>("mainLoginLineEdit")->setText(QStringLiteral("x"));
        rig->widget<QLineEdit>("mainPswdLineEdit")->setText(enabled ? "" : "y");
        QCOMPARE(rig->widget("mainLoginButton")->isEnabled(), !enabled);
        rig->widget<QLineEdit>("mainLoginLineEdit")->setText(login);
        rig->widget<QLineEdit>("mainPswdLineEdit")->setText(password);
        QCOMPARE(rig->widget("mainLoginButton")->isEnabled(), enabled);
        QCOMPARE(rig->widget("mainRememberCheckBox")->isEnabled(), enabled);
    }

    void closeHidesToTrayOnlyWithVisibleIcon_data()
    {
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<bool>("iconVisible");
        QTest::newRow("visible tray icon: the window only hides") << true << true;
        // Last of the suite: the quit ends the application's event loops.
        QTest::newRow("hidden tray icon: closing is the tray's Quit") << true << false;
    }
    void closeHidesToTrayOnlyWithVisibleIcon()
    {
        QFETCH(bool, hasIcon);
        QFETCH(bool, iconVisible);
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        QSystemTrayIcon tray {QIcon(picture)};
        if (iconVisible)
            KestruneTest::expectQtWarning(QRegularExpression("No such signal.*systemTrayWindow"));
        tray.setVisible(iconVisible);
        rig->window()->setTrayIcon(hasIcon ? &tray : nullptr);
        QCOMPARE(rig->window()->close(), !iconVisible);
        QVERIFY(!rig->window()->isVisible());
        QCOMPARE(rig->log.contains(QStringLiteral("Application is shutting down")), !iconVisible);
        tray.hide();
    }
};

KESTRUNE_TEST_MAIN(TestMainWindowNavigation)
#include "tst_mainwindownavigation.moc"

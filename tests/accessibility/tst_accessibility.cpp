// A screen reader and a keyboard alone on every page of the real window: every control has a
// name, Tab visits the controls in the order they are seen, Enter and Escape press the page's
// main and Back buttons, Space stars a list row, and the connection state is spoken.

#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListWidget>
#include <QTranslator>

namespace {

QString nameOf(QWidget *widget)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    QTranslator translator;
    std::unique_ptr<WindowRig> rig;

    // An active window in `language` on the page `setup` names, in a state that shows its
    // controls.
    void open(const QString &setup, const QString &language = QStringLiteral("en"))
    {
        if (language != "en") {
            QVERIFY(translator.load(":/loc/loc/loc_" + language));
            QVERIFY(QCoreApplication::installTranslator(&translator));
        }
        rig = std::make_unique<WindowRig>();
        MainWindow *w = rig->open();
        WindowProbe p = rig->probe();
        p.subscriptions() = {subscription(1, setup == "double servers" ? 2 : 1, 30, 1, "Pro")};
        p.currentSubIndex() = 0;
        p.servers()
            = {server(1, "10.0.0.1", "Japan", "Tokyo"), server(2, "10.0.0.2", "Germany", "Berlin")};
        p.servers()[1].doubleEntry = true; // Berlin, then Tokyo
        p.servers()[1].doubleExits = {0};
        rig->widget<QLineEdit>("mainLoginLineEdit")->setText("user");
        rig->widget<QLineEdit>("mainPswdLineEdit")->setText("secret");
        w->fillSubscriptionCombo();
        w->fillServerLists();
        const QMap<QString, int> pages {{"sign-in", Page_SignIn},
                                        {"subscription", Page_Subscription},
                                        {"servers", Page_Servers},
                                        {"information", Page_Info},
                                        {"double servers", Page_DoubleServers},
                                        {"about", Page_About},
                                        {"settings", Page_Settings}};
        if (setup != "sign-in")
            p.stack()->setCurrentIndex(Page_Connection); // Back and Log out are offered then
        p.stack()->setCurrentIndex(pages.value(setup, Page_Connection));
        if (setup.endsWith("connected")) {
            rig->widget<QStackedWidget>("vpnConStatusStackedWidget")->setCurrentIndex(1);
            rig->widget("vpnConAutoChoiceButton")->hide();
            rig->widget("vpnConCancelWidget")->show();
        }
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    // The widgets Tab (or Shift+Tab) reaches from `first` until it is back there, by name;
    // each must show the focus ring.
    QStringList tabCycle(QWidget *first, Qt::Key key)
    {
        first->setFocus(Qt::OtherFocusReason);
        QStringList seen {first->objectName()};
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QWidget *focus = QApplication::focusWidget();
            auto *ring = focus->findChild<QWidget *>("keyboardFocusRing");
            if (!ring || !ring->isVisible())
                return {"no focus ring on " + focus->objectName()};
            if (focus == first)
                break;
            if (seen.last() != focus->objectName()) // a label's links, one after the other
                seen << focus->objectName();
        }
        return seen;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup()
    {
        rig.reset();
        QCoreApplication::removeTranslator(&translator);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void everyControlIsNamedAndTabbedInVisualOrder_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("order");
        const QList<QPair<const char *, const char *>> pages {
            {"sign-in",
             "mainSettingButton mainLoginLineEdit mainPswdLineEdit mainRememberCheckBox "
             "mainRemindPswdLabel mainLoginButton mainTipLabel"},
            {"subscription", "subsSettingButton subsSubComboBox subsNextButton subsBackButton"},
            {"connection",
             "vpnConSettingButton vpnConChangeSubButton vpnConAutoChoiceButton "
             "vpnConManualChoiceButton"},
            {"connection, connected",
             "vpnConSettingButton vpnConChangeSubButton vpnConConInfoButton vpnConCancelButton "
             "vpnConManualChoiceButton"},
            {"servers",
             "vpnServSettingButton button vpnServAllServListWidget vpnServConnectButton "
             "vpnServBackButton"},
            {"information",
             "vpnInfoSettingButton vpnInfoBackButton vpnInfoNewIPButton vpnInfoOrIPButton "
             "vpnInfoChangeIPComboBox vpnInfoReconnectButton"},
            {"double servers",
             "vpnDoubleServSettingButton button vpnDoubleServFirstComboBox "
             "vpnDoubleServSecondComboBox vpnDoubleServFavServButton vpnDoubleServConnectButton "
             "vpnDoubleServBackButton"},
            {"about", "aboutBackButton"},
            {"settings",
             "settingLogoutButton settingBackButton stngBlockOtherConCheckBox "
             "stngVPNAutoConCheckBox settingStartMinimizedCheckBox settingProtTCPRButton "
             "settingLanguageComboBox settingShowStatWgtCheckBox settingSystemStartupCheckBox "
             "settingCheckAvailableServCheckBox settingAutoSwitchCheckBox "
             "settingOpenOpenVPNLogButton settingOpenAppLogButton settingSaveDiagnosticsButton"}};
        for (const char *language : {"en", "ru"})
            for (const auto &page : pages)
                QTest::addRow("%s, %s", page.first, language)
                    << page.first << language << QString(page.second).split(' ');
    }
    void everyControlIsNamedAndTabbedInVisualOrder()
    {
        QFETCH(QString, setup);
        QFETCH(QString, language);
        QFETCH(QStringList, order);
        open(setup, language);
        QWidget *page = rig->probe().stack()->currentWidget();
        QStringList unnamed;
        for (QWidget *widget : page->findChildren<QWidget *>()) {
            const bool control
                = widget->focusPolicy() & Qt::TabFocus || qobject_cast<QAbstractButton *>(widget);
            if (control && widget->isVisible() && nameOf(widget).isEmpty())
                unnamed << widget->objectName();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

        QWidget *first = page->findChild<QWidget *>(order.first());
        QCOMPARE(tabCycle(first, Qt::Key_Tab), order);
        std::reverse(order.begin() + 1, order.end());
        QCOMPARE(tabCycle(first, Qt::Key_Backtab), order);
        // A click brings the mouse's look back.
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(2, page->height() - 2));
        QVERIFY(!page->findChild<QWidget *>("keyboardFocusRing")->isVisible());
    }

    void enterPressesTheMainButtonAndEscapeTheBackButton_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("pressed");
        const auto row = [](const char *setup, const char *focus, int key, QStringList pressed) {
            QTest::addRow("%s, %s on %s", setup, key == Qt::Key_Escape ? "Escape" : "Enter", focus)
                << setup << focus << key << pressed;
        };
        row("sign-in", "mainPswdLineEdit", Qt::Key_Return, {"mainLoginButton"}); // once only
        row("sign-in", "mainRememberCheckBox", Qt::Key_Enter, {"mainLoginButton"});
        row("subscription", "subsSubComboBox", Qt::Key_Return, {"subsNextButton"});
        row("subscription", "subsSubComboBox", Qt::Key_Escape, {"subsBackButton"});
        row("servers", "vpnServAllServListWidget", Qt::Key_Return, {"vpnServConnectButton"});
        row("servers", "vpnServBackButton", Qt::Key_Return, {"vpnServBackButton"}); // focused
        row("servers", "vpnServAllServListWidget", Qt::Key_Escape, {"vpnServBackButton"});
        row("information", "vpnInfoReconnectButton", Qt::Key_Escape, {"vpnInfoBackButton"});
        row("double servers", "vpnDoubleServFirstComboBox", Qt::Key_Escape,
            {"vpnDoubleServBackButton"});
        row("about", "aboutBackButton", Qt::Key_Escape, {"aboutBackButton"});
        row("settings", "settingLanguageComboBox", Qt::Key_Escape, {"settingBackButton"});
        row("connection", "vpnConManualChoiceButton", Qt::Key_Escape, {}); // no Back there
    }
    void enterPressesTheMainButtonAndEscapeTheBackButton()
    {
        QFETCH(QString, setup);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QStringList, pressed);
        open(setup);
        // Which button is pressed matters here, not what the window does then.
        QStringList seen;
        for (QAbstractButton *button : rig->window()->findChildren<QAbstractButton *>()) {
            QObject::disconnect(button, nullptr, rig->window(), nullptr);
            connect(button, &QAbstractButton::clicked, this,
                    [&seen, button]() { seen << button->objectName(); });
        }
        QWidget *target = rig->window()->findChild<QWidget *>(focus);
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(seen, pressed);
    }

    void arrowsMoveThroughTheListAndSpaceStarsTheRow()
    {
        open("servers");
        auto *list = rig->widget<QListWidget>("vpnServAllServListWidget");
        list->setFocus(Qt::TabFocusReason);
        QCOMPARE(list->currentRow(), 0); // Germany, Berlin: the list is alphabetical
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(rig->probe().servers().at(0).favorite); // Japan, Tokyo
        QVERIFY(!rig->probe().servers().at(1).favorite);
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(!rig->probe().servers().at(0).favorite);
    }

    void aChangeOfTheConnectionStateIsSpoken_data()
    {
        QTest::addColumn<bool>("connectingBefore");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("connecting")
            << false << int(ConnectionController::Connecting) << "Connecting";
        QTest::newRow("connected")
            << true << int(ConnectionController::Verified) << "Connected: Germany, Berlin";
        // The status page stays the same one: only its text changes.
        QTest::newRow("failed while connecting")
            << true << int(ConnectionController::Unconnected) << "Unable to connect. View log";
    }
    void aChangeOfTheConnectionStateIsSpoken()
    {
        QFETCH(bool, connectingBefore);
        QFETCH(int, status);
        QFETCH(QString, spoken);
        open("connection");
        WindowProbe p = rig->probe();
        p.firstServerIndex() = p.secondServerIndex() = 1;
        rig->widget<QAbstractButton>("settingShowStatWgtCheckBox")->setChecked(false);
        if (connectingBefore)
            rig->window()->renderConnection(ConnectionController::Connecting, false);
        rig->window()->renderConnection(ConnectionController::State(status),
                                        status == ConnectionController::Unconnected);
        // What a screen reader reads of the status. (The alert that makes it speak at once is
        // dropped by Qt before any handler sees it unless a screen reader bridge is active,
        // which no test platform here has.)
        QCOMPARE(nameOf(rig->widget("vpnConStatusStackedWidget")), spoken);
    }
};

KESTRUNE_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"

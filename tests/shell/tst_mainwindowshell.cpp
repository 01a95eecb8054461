#include "app/mainwindow.h"
#include "buildconfig.h"
#include "support/testmain.h"
#include "ui/comboboxchangedpopup.h"
#include "ui/pagenavigation.h"
#include "ui/slidingbutton.h"
#include "ui/slidingstackedwidget.h"

#include <memory>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QParallelAnimationGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

namespace {

// Marks every text it is asked for in the window's context, so a test sees which texts
// went through the translator and with which source text.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation)
        Q_UNUSED(n)
        if (qstrcmp(context, "MainWindow") != 0)
            return QString();
        return QLatin1Char('[') + QString::fromUtf8(sourceText) + QLatin1Char(']');
    }
};

QString marked(const QString &text)
{
    return QLatin1Char('[') + text + QLatin1Char(']');
}

const QString siteBase = QString::fromUtf8(BuildConfig::DefaultSiteBase);

// The offscreen platform cannot raise windows and says so each time the window raises
// itself; that is the test platform talking, not the client.
void allowRaises(int count)
{
    for (int i = 0; i < count; ++i)
        KestruneTest::expectQtWarning(
            QRegularExpression(QStringLiteral("^This plugin does not support raise\\(\\)$")));
}

} // namespace

class TestMainWindowShell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formHoldsEveryNamedWidget_data();
    void formHoldsEveryNamedWidget();
    void windowIsFixedSizeWithoutMaximise();
    void textsPassTheTranslator_data();
    void textsPassTheTranslator();
    void comboBoxesOpenTheNarrowPopup();
    void stacksStartAtTheirFirstPage();
    void dnsProtectionRowIsOutOfSight();

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
    std::unique_ptr<MainWindow> makeWindow();
    SlidingStackedWidget *stack(MainWindow *w);
    void jump(MainWindow *w, int page);
    void slideBy(MainWindow *w, const std::function<void()> &action, int expectedPage);

    std::unique_ptr<QTemporaryDir> dataDir;
};

void TestMainWindowShell::initTestCase()
{
    KestruneTest::guardQtWarnings();
}

void TestMainWindowShell::init()
{
    dataDir = std::make_unique<QTemporaryDir>();
    QVERIFY(dataDir->isValid());
}

void TestMainWindowShell::cleanup()
{
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

std::unique_ptr<MainWindow> TestMainWindowShell::makeWindow()
{
    allowRaises(1);
    auto window = std::make_unique<MainWindow>(dataDir->path());
    // The start-up check runs from the event loop and shows the window.
    MainWindow *w = window.get();
    if (!QTest::qWaitFor([w]() { return w->isVisible(); }, 2000))
        qWarning("the main window did not show itself");
    return window;
}

SlidingStackedWidget *TestMainWindowShell::stack(MainWindow *w)
{
    return w->findChild<SlidingStackedWidget *>(QStringLiteral("stackedWidget"));
}

void TestMainWindowShell::jump(MainWindow *w, int page)
{
    stack(w)->setCurrentIndex(page);
}

void TestMainWindowShell::slideBy(MainWindow *w, const std::function<void()> &action,
                                  int expectedPage)
{
    QSignalSpy finished(stack(w), SIGNAL(animationFinished()));
    action();
    QVERIFY2(finished.wait(3000), "the page did not slide");
    QCOMPARE(stack(w)->currentIndex(), expectedPage);
}

// ---- the form ---------------------------------------------------------------------------

void TestMainWindowShell::formHoldsEveryNamedWidget_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("page");

    struct Row
    {
        const char *name;
        const char *cls;
        const char *page;
    };
    const Row rows[] = {
        {"centralWidget", "QWidget", ""},
        {"stackedWidget", "SlidingStackedWidget", ""},
        {"mainPage", "QWidget", ""},
        {"authPage", "QWidget", ""},
        {"subsPage", "QWidget", ""},
        {"vpnConPage", "QWidget", ""},
        {"vpnServPage", "QWidget", ""},
        {"vpnInfoPage", "QWidget", ""},
        {"vpnDoubleServPage", "QWidget", ""},
        {"aboutPage", "QWidget", ""},
        {"settingPage", "QWidget", ""},
        // sign-in
        {"mainSettingButton", "QPushButton", "mainPage"},
        {"mainLoginLineEdit", "QLineEdit", "mainPage"},
        {"mainPswdLineEdit", "QLineEdit", "mainPage"},
        {"mainRemindPswdLabel", "QLabel", "mainPage"},
        {"mainRememberCheckBox", "QCheckBox", "mainPage"},
        {"mainLoginButton", "QPushButton", "mainPage"},
        {"mainTipLabel", "QLabel", "mainPage"},
        // waiting
        {"authImageLogoLabel", "QLabel", "authPage"},
        {"authLabel", "QLabel", "authPage"},
        {"authLoadingLabel", "QLabel", "authPage"},
        // subscription
        {"subsAcWidget", "QWidget", "subsPage"},
        {"subsAcLogoLabel", "QLabel", "subsPage"},
        {"subsEmailLabel", "QLabel", "subsPage"},
        {"subsSettingButton", "QPushButton", "subsPage"},
        {"subsImageLogoLabel", "QLabel", "subsPage"},
        {"subsSubLabel", "QLabel", "subsPage"},
        {"subsSubComboBox", "ComboBoxChangedPopup", "subsPage"},
        {"subsNextButton", "QPushButton", "subsPage"},
        {"subsBackButton", "QPushButton", "subsPage"},
        // connection
        {"vpnConAcWidget", "QWidget", "vpnConPage"},
        {"vpnConAcLogoLabel", "QLabel", "vpnConPage"},
        {"vpnConEmailLabel", "QLabel", "vpnConPage"},
        {"vpnConSettingButton", "QPushButton", "vpnConPage"},
        {"vpnConSubLogoLabel", "QLabel", "vpnConPage"},
        {"vpnConSubLeftLabel", "QLabel", "vpnConPage"},
        {"vpnConSubTypeLabel", "QLabel", "vpnConPage"},
        {"vpnConChangeSubButton", "QPushButton", "vpnConPage"},
        {"vpnConCancelWidget", "QWidget", "vpnConPage"},
        {"vpnConCancelButton", "QPushButton", "vpnConCancelWidget"},
        {"vpnConAutoChoiceButton", "QPushButton", "vpnConPage"},
        {"vpnConManualChoiceButton", "QPushButton", "vpnConPage"},
        {"vpnConStatusStackedWidget", "QStackedWidget", "vpnConPage"},
        {"vpnConTipLabel", "QLabel", "vpnConPage"},
        {"unconPage", "QWidget", "vpnConStatusStackedWidget"},
        {"vpnConUnconLabel", "QLabel", "unconPage"},
        {"conPage", "QWidget", "vpnConStatusStackedWidget"},
        {"vpnConConLogoLabel", "QLabel", "conPage"},
        {"vpnConConLabel", "QLabel", "conPage"},
        {"vpnConConCountryLabel1", "QLabel", "conPage"},
        {"vpnConConCityLabel1", "QLabel", "conPage"},
        {"vpConConSecondServWidget", "QWidget", "conPage"},
        {"vpnConConCountryLabel2", "QLabel", "vpConConSecondServWidget"},
        {"vpnConConCityLabel2", "QLabel", "vpConConSecondServWidget"},
        {"vpnConConInfoButton", "QPushButton", "conPage"},
        {"statusPage", "QWidget", "vpnConStatusStackedWidget"},
        {"vpnConLoadingLabel", "QLabel", "statusPage"},
        {"checkServAvailPage", "QWidget", "vpnConStatusStackedWidget"},
        {"vpnConCheckServAvailLabel", "QLabel", "checkServAvailPage"},
        {"vpnConCheckServAvailLoadingLabel", "QLabel", "checkServAvailPage"},
        // server list
        {"vpnServAcWidget", "QWidget", "vpnServPage"},
        {"vpnServAcLogoLabel", "QLabel", "vpnServPage"},
        {"vpnServEmailLabel", "QLabel", "vpnServPage"},
        {"vpnServSettingButton", "QPushButton", "vpnServPage"},
        {"vpnServSlidingButtonHLayout", "QHBoxLayout", "vpnServPage"},
        {"vpnServStackedWidget", "SlidingStackedWidget", "vpnServPage"},
        {"allServPage", "QWidget", "vpnServStackedWidget"},
        {"vpnServAllServListWidget", "QListWidget", "allServPage"},
        {"allServFavPage", "QWidget", "vpnServStackedWidget"},
        {"vpnServFavServListWidget", "QListWidget", "allServFavPage"},
        {"vpnServConnectButton", "QPushButton", "vpnServPage"},
        {"vpnServBackButton", "QPushButton", "vpnServPage"},
        // information
        {"vpnInfoAcWidget", "QWidget", "vpnInfoPage"},
        {"vpnInfoAcLogoLabel", "QLabel", "vpnInfoPage"},
        {"vpnInfoEmailLabel", "QLabel", "vpnInfoPage"},
        {"vpnInfoSettingButton", "QPushButton", "vpnInfoPage"},
        {"vpnInfoBackButton", "QPushButton", "vpnInfoPage"},
        {"vpnInfoTitleLabel", "QLabel", "vpnInfoPage"},
        {"vpnInfoScrollArea", "QScrollArea", "vpnInfoPage"},
        {"vpnInfoSAWidget", "QWidget", "vpnInfoScrollArea"},
        {"vpnInfoProtocolTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoLocationTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoNewIPTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoOrIPTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTimeTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoSpeedTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoSpeedInTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoSpeedOutTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTrafficTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTrafficInTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTrafficOutTitleLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoProtocolLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoLocationLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoLocationLabel2", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTimeLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoSpeedInLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoSpeedOutLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTrafficInLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoTrafficOutLabel", "QLabel", "vpnInfoSAWidget"},
        {"vpnInfoOrIPButton", "QPushButton", "vpnInfoSAWidget"},
        {"vpnInfoNewIPButton", "QPushButton", "vpnInfoSAWidget"},
        {"vpnInfoChangeIPWidget", "QWidget", "vpnInfoPage"},
        {"vpnInfoChangeIPLabel", "QLabel", "vpnInfoChangeIPWidget"},
        {"vpnInfoChangeIPComboBox", "ComboBoxChangedPopup", "vpnInfoChangeIPWidget"},
        {"vpnInfoReconnectButton", "QPushButton", "vpnInfoPage"},
        // double servers
        {"vpnDoubleServAcWidget", "QWidget", "vpnDoubleServPage"},
        {"vpnDoubleServAcLogoLabel", "QLabel", "vpnDoubleServPage"},
        {"vpnDoubleServEmailLabel", "QLabel", "vpnDoubleServPage"},
        {"vpnDoubleServSettingButton", "QPushButton", "vpnDoubleServPage"},
        {"vpnDoubleSlidingButtonHLayout", "QHBoxLayout", "vpnDoubleServPage"},
        {"vpnDoubleServStackedWidget", "SlidingStackedWidget", "vpnDoubleServPage"},
        {"allDoubleServPage", "QWidget", "vpnDoubleServStackedWidget"},
        {"vpnDoubleServFirstLabel", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServSecondLabel", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServFirstComboBox", "ComboBoxChangedPopup", "allDoubleServPage"},
        {"vpnDoubleServSecondComboBox", "ComboBoxChangedPopup", "allDoubleServPage"},
        {"vpnDoubleServFlagLabel1", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServFlagLabel2", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServLocLabel1", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServLocLabel2", "QLabel", "allDoubleServPage"},
        {"vpnDoubleServFavServButton", "QPushButton", "allDoubleServPage"},
        {"vpnDoubleServConnectButton", "QPushButton", "allDoubleServPage"},
        {"favDoubleServPage", "QWidget", "vpnDoubleServStackedWidget"},
        {"vpnDoubleFavServListWidget", "QListWidget", "favDoubleServPage"},
        {"vpnDoubleFavServConnectButton", "QPushButton", "favDoubleServPage"},
        {"vpnDoubleServBackButton", "QPushButton", "vpnDoubleServPage"},
        // about
        {"aboutImageLogoLabel", "QLabel", "aboutPage"},
        {"aboutTextLogoLabel", "QLabel", "aboutPage"},
        {"aboutVersionLabel", "QLabel", "aboutPage"},
        {"aboutBackButton", "QPushButton", "aboutPage"},
        // settings
        {"settingAcWidget", "QWidget", "settingPage"},
        {"settingAcLogoLabel", "QLabel", "settingAcWidget"},
        {"settingEmailLabel", "QLabel", "settingAcWidget"},
        {"settingLogoutButton", "QPushButton", "settingAcWidget"},
        {"settingBackButton", "QPushButton", "settingPage"},
        {"settingTitleLabel", "QLabel", "settingPage"},
        {"settingCentralWidget", "QWidget", "settingPage"},
        {"settingCWScrollArea", "QScrollArea", "settingCentralWidget"},
        {"settingSAWidget", "QWidget", "settingCWScrollArea"},
        {"settingStackedWidget", "SlidingStackedWidget", "settingPage"},
        {"settingTipPage", "QWidget", "settingStackedWidget"},
        {"settingTipLabel", "QLabel", "settingTipPage"},
        {"settingStatusPage", "QWidget", "settingStackedWidget"},
        {"settingLoadingLabel", "QLabel", "settingStatusPage"},
        {"stngBlockOtherConWidget", "QWidget", "settingSAWidget"},
        {"stngBlockOtherConLbl", "QLabel", "stngBlockOtherConWidget"},
        {"stngBlockOtherConCheckBox", "QCheckBox", "stngBlockOtherConWidget"},
        {"stngVPNAutoConLabel", "QLabel", "settingSAWidget"},
        {"stngVPNAutoConCheckBox", "QCheckBox", "settingSAWidget"},
        {"settingStartMinimizedLabel", "QLabel", "settingSAWidget"},
        {"settingStartMinimizedCheckBox", "QCheckBox", "settingSAWidget"},
        {"settingProtWidget", "QWidget", "settingSAWidget"},
        {"settingProtLabel", "QLabel", "settingProtWidget"},
        {"settingProtTCPRButton", "QRadioButton", "settingProtWidget"},
        {"settingProtUDPRButton", "QRadioButton", "settingProtWidget"},
        {"settingLangLabel", "QLabel", "settingSAWidget"},
        {"settingLanguageComboBox", "ComboBoxChangedPopup", "settingSAWidget"},
        {"settingShowStatWgtLabel", "QLabel", "settingSAWidget"},
        {"settingShowStatWgtCheckBox", "QCheckBox", "settingSAWidget"},
        {"settingSystemStartupLabel", "QLabel", "settingSAWidget"},
        {"settingSystemStartupCheckBox", "QCheckBox", "settingSAWidget"},
        {"settingCheckAvailableServLabel", "QLabel", "settingSAWidget"},
        {"settingCheckAvailableServCheckBox", "QCheckBox", "settingSAWidget"},
        {"settingDNSProtectWidget", "QWidget", "settingSAWidget"},
        {"settingDNSProtectLabel", "QLabel", "settingDNSProtectWidget"},
        {"settingDNSProtectCheckBox", "QCheckBox", "settingDNSProtectWidget"},
        {"settingLine2", "QFrame", "settingSAWidget"},
        {"settingLine3", "QFrame", "settingSAWidget"},
        {"settingLine4", "QFrame", "settingSAWidget"},
        {"settingLine5", "QFrame", "settingSAWidget"},
        {"settingLine6", "QFrame", "settingSAWidget"},
        {"settingLine7", "QFrame", "settingSAWidget"},
        {"settingLine8", "QFrame", "settingSAWidget"},
        {"settingLine9", "QFrame", "settingSAWidget"},
        {"settingOpenOpenVPNLogButton", "QPushButton", "settingSAWidget"},
        {"settingOpenAppLogButton", "QPushButton", "settingSAWidget"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << QString::fromLatin1(row.cls)
                                << QString::fromLatin1(row.page);
}

void TestMainWindowShell::formHoldsEveryNamedWidget()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, page);

    MainWindow window(dataDir->path());
    const QList<QObject *> found = window.findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);

    if (page.isEmpty())
        return;
    QWidget *holder = window.findChild<QWidget *>(page);
    QVERIFY2(holder, qPrintable(page));
    QWidget *widget = qobject_cast<QWidget *>(found.first());
    if (auto *layout = qobject_cast<QLayout *>(found.first()))
        widget = layout->parentWidget();
    QVERIFY(widget);
    QVERIFY2(holder->isAncestorOf(widget), qPrintable(name + " is not on " + page));
}

void TestMainWindowShell::windowIsFixedSizeWithoutMaximise()
{
    auto window = makeWindow();
    QCOMPARE(window->minimumSize(), QSize(300, 470));
    QCOMPARE(window->maximumSize(), QSize(300, 470));
    QCOMPARE(window->windowTitle(), QStringLiteral("Kestrune VPN"));
    const Qt::WindowFlags flags = window->windowFlags();
    for (Qt::WindowType wanted : {Qt::Dialog, Qt::WindowTitleHint, Qt::WindowMinimizeButtonHint,
                                  Qt::CustomizeWindowHint, Qt::WindowCloseButtonHint})
        QVERIFY(flags.testFlag(wanted));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->styleSheet().isEmpty());

    auto *password = window->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"));
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QVERIFY(password->placeholderText().isEmpty());
}

void TestMainWindowShell::textsPassTheTranslator_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("source");

    const QString hiddenDots
        = QStringLiteral("<span style=\" color:rgba(0,0,0,0);\">.</span>").repeated(3);
    struct Row
    {
        const char *name;
        QString source;
    };
    const QList<Row> rows = {
        {"mainRememberCheckBox", "Remember me"},
        {"mainLoginButton", "SIGN IN"},
        {"authLabel", "Authorization"},
        {"authLoadingLabel",
         R"(<p><span style=" font-size:13px;">Loading packages</span>)" + hiddenDots + "</p>"},
        {"subsSubLabel", "Select subscription:"},
        {"subsNextButton", "NEXT"},
        {"subsBackButton", "Back"},
        {"vpnServBackButton", "Back"},
        {"vpnDoubleServBackButton", "Back"},
        {"aboutBackButton", "Back"},
        {"vpnConChangeSubButton", "change"},
        {"vpnConCancelButton", "SWITCH OFF VPN"},
        {"vpnConAutoChoiceButton", "AUTO SELECT"},
        {"vpnConManualChoiceButton", "CHOOSE SERVER"},
        {"vpnConUnconLabel", "VPN disabled"},
        {"vpnConConLabel", "Active:"},
        {"vpnConLoadingLabel",
         R"(<html><head/><body><p><span style=" font-size:13px;">Connecting...</span></p></body></html>)"},
        {"vpnConCheckServAvailLabel",
         R"(<p><span style=" font-size:13px;">Checking servers</span></p>)"},
        {"vpnConTipLabel",
         R"(<html><head/><body><p style=" line-height: 17px; color:#5f5f5f; font-size: 9px;"><span>&quot;Auto select&quot; mode connects you to the <br>fastest VPN location at the moment</span></p></body></html>)"},
        {"vpnServConnectButton", "CONNECT"},
        {"vpnDoubleServConnectButton", "CONNECT"},
        {"vpnDoubleFavServConnectButton", "CONNECT"},
        {"vpnInfoTitleLabel",
         R"(<html><head/><body><p><span style=" font-size:24px;">Information</span></p></body></html>)"},
        {"vpnInfoProtocolTitleLabel", "Protocol:"},
        {"vpnInfoLocationTitleLabel", "Location:"},
        {"vpnInfoNewIPTitleLabel", "New IP:"},
        {"vpnInfoOrIPTitleLabel", "Original IP:"},
        {"vpnInfoTimeTitleLabel", "Time:"},
        {"vpnInfoSpeedTitleLabel", "Speed"},
        {"vpnInfoSpeedInTitleLabel", "Download:"},
        {"vpnInfoSpeedOutTitleLabel", "Upload:"},
        {"vpnInfoTrafficTitleLabel", "Traffic"},
        {"vpnInfoTrafficInTitleLabel", "In:"},
        {"vpnInfoTrafficOutTitleLabel", "Out:"},
        {"vpnInfoChangeIPLabel", "Change IP:"},
        {"vpnInfoTrafficInLabel", "0 B"},
        {"vpnInfoTrafficOutLabel", "0 B"},
        {"vpnInfoSpeedInLabel", "0 b/s"},
        {"vpnInfoSpeedOutLabel", "0 b/s"},
        {"vpnInfoReconnectButton", "RECONNECT"},
        {"vpnDoubleServFirstLabel", "Select first server:"},
        {"vpnDoubleServSecondLabel", "Select second server:"},
        {"settingEmailLabel", "<Not connected>"},
        {"settingTitleLabel",
         R"(<html><head/><span style=" font-size: 24px;">Settings</span></p></body></html>)"},
        {"stngBlockOtherConLbl", "Lock network if VPN disconnected:"},
        {"stngVPNAutoConLabel", "Autoconnect to VPN with startup:"},
        {"settingStartMinimizedLabel", "Start minimized:"},
        {"settingProtLabel", "Protocol:"},
        {"settingLangLabel", "Language:"},
        {"settingShowStatWgtLabel", "Show stats window on VPN connect:"},
        {"settingSystemStartupLabel", "Autostart on system logon:"},
        {"settingCheckAvailableServLabel", "Check servers for availability:"},
        {"settingDNSProtectLabel", "Enable DNS leak protection:"},
        {"settingOpenOpenVPNLogButton", "VPN log"},
        {"settingOpenAppLogButton", "Program log"},
        {"settingTipLabel",
         R"(<html><head/><body><p style=" line-height: 17px; color:#5f5f5f; font-size: 9px;"><span >Settings will be applied on</span><br><span>"BACK" clicked</span></p></body></html>)"},
        {"settingLoadingLabel",
         R"(<p style="font-size: 11px;">Applying settings)" + hiddenDots + "</p>"},
        // The link texts carry the web site's address in place of %0.
        {"mainRemindPswdLabel",
         R"(<a href="%0/en/password-remind"><span style=" color:#5f5f5f; font-size: 9px;">Forgot password?</span></a>)"},
        {"mainTipLabel",
         R"(<html><head/><body><p style=" line-height: 17px; color:#5f5f5f; font-size: 9px;">To sign in you need <a href="%0/en/signup"><span style=" text-decoration: underline; color:#5f5f5f;">to register</span></a> on site<br>and <a href="%0/en/panel/package/buy"><span style=" text-decoration: underline; color:#5f5f5f;">buy subscription</span></a></p></body></html>)"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.source;
}

void TestMainWindowShell::textsPassTheTranslator()
{
    QFETCH(QString, name);
    QFETCH(QString, source);

    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    MainWindow window(dataDir->path());
    QCoreApplication::removeTranslator(&translator);

    QObject *widget = window.findChild<QObject *>(name);
    QVERIFY(widget);
    const QString expected = marked(source).replace(QLatin1String("%0"), siteBase);
    QCOMPARE(widget->property("text").toString(), expected);
}

void TestMainWindowShell::comboBoxesOpenTheNarrowPopup()
{
    auto window = makeWindow();
    const QList<QComboBox *> combos = window->findChildren<QComboBox *>();
    QCOMPARE(combos.size(), 5);
    QAbstractItemDelegate *shared = combos.first()->itemDelegate();
    for (QComboBox *plain : combos) {
        auto *combo = qobject_cast<ComboBoxChangedPopup *>(plain);
        QVERIFY2(combo, qPrintable(plain->objectName()));
        QCOMPARE(combo->popupLeftInset(), 15);
        QCOMPARE(combo->popupRightInset(), 15);
        QCOMPARE(combo->popupTopOffset(), 1);
        QCOMPARE(combo->itemDelegate(), shared);
        QCOMPARE(combo->view()->textElideMode(), Qt::ElideRight);
        const Qt::WindowFlags flags = combo->view()->window()->windowFlags();
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::NoDropShadowWindowHint));
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Popup);
    }
    QStringList languages;
    auto *language = window->findChild<QComboBox *>(QStringLiteral("settingLanguageComboBox"));
    for (int i = 0; i < language->count(); ++i)
        languages << language->itemText(i);
    QCOMPARE(
        languages,
        QStringList({QStringLiteral("Русский"), QStringLiteral("English"), QStringLiteral("中文"),
                     QStringLiteral("Español"), QStringLiteral("Українська")}));

    // The popup opens inside the field's border, just below it.
    auto *subs = window->findChild<ComboBoxChangedPopup *>(QStringLiteral("subsSubComboBox"));
    subs->addItems({QStringLiteral("One"), QStringLiteral("Two")});
    subs->setEnabled(true);
    jump(window.get(), Page_Subscription);
    allowRaises(1);
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        KestruneTest::expectQtWarning(
            QRegularExpression(QStringLiteral("^This plugin does not support grabbing")));
    subs->showPopup();
    QWidget *popup = subs->view()->window();
    QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), 2000);
    QCOMPARE(popup->width(), subs->width() - 30);
    QCOMPARE(popup->x(), subs->mapToGlobal(QPoint(0, 0)).x() + 15);
    subs->hidePopup();
}

void TestMainWindowShell::stacksStartAtTheirFirstPage()
{
    auto window = makeWindow();
    for (const char *name : {"stackedWidget", "vpnConStatusStackedWidget", "vpnServStackedWidget",
                             "vpnDoubleServStackedWidget", "settingStackedWidget"})
        QCOMPARE(window->findChild<QStackedWidget *>(QString::fromLatin1(name))->currentIndex(), 0);
    for (QListWidget *list : window->findChildren<QListWidget *>())
        QCOMPARE(list->currentRow(), -1);
    QCOMPARE(window->findChildren<SlidingButton *>().size(), 2);
}

void TestMainWindowShell::dnsProtectionRowIsOutOfSight()
{
    auto window = makeWindow();
    auto *row = window->findChild<QWidget *>(QStringLiteral("settingDNSProtectWidget"));
    auto *line = window->findChild<QWidget *>(QStringLiteral("settingLine9"));
    auto *rows = window->findChild<QWidget *>(QStringLiteral("settingSAWidget"));
    QVERIFY(row->isHidden());
    QVERIFY(line->isHidden());
    QCOMPARE(rows->layout()->indexOf(row), -1);
    QCOMPARE(rows->layout()->indexOf(line), -1);
}

// ---- navigation -------------------------------------------------------------------------

void TestMainWindowShell::returnPageSkipsAboutAndSettings_data()
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

void TestMainWindowShell::returnPageSkipsAboutAndSettings()
{
    QFETCH(QList<int>, visits);
    QFETCH(int, returnPage);

    PageHistory history;
    for (int page : visits)
        history.enter(page);
    QCOMPARE(history.returnPage(), returnPage);
}

void TestMainWindowShell::settingsThenTrayAboutReturnToServerPage()
{
    auto window = makeWindow();
    MainWindow *w = window.get();
    jump(w, Page_Connection);
    jump(w, Page_Servers);

    auto *gear = w->findChild<QPushButton *>(QStringLiteral("vpnServSettingButton"));
    slideBy(
        w, [&]() { QTest::mouseClick(gear, Qt::LeftButton); }, Page_Settings);
    allowRaises(1);
    slideBy(
        w, [&]() { w->showAbout(); }, Page_About);
    auto *aboutBack = w->findChild<QPushButton *>(QStringLiteral("aboutBackButton"));
    slideBy(
        w, [&]() { QTest::mouseClick(aboutBack, Qt::LeftButton); }, Page_Servers);

    slideBy(
        w, [&]() { QTest::mouseClick(gear, Qt::LeftButton); }, Page_Settings);
    allowRaises(1);
    slideBy(
        w, [&]() { w->showAbout(); }, Page_About);
    jump(w, Page_Settings);
    auto *settingBack = w->findChild<QPushButton *>(QStringLiteral("settingBackButton"));
    slideBy(
        w, [&]() { QTest::mouseClick(settingBack, Qt::LeftButton); }, Page_Servers);
}

void TestMainWindowShell::gearOfEveryPageOpensSettingsAndLeadsBack_data()
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

void TestMainWindowShell::gearOfEveryPageOpensSettingsAndLeadsBack()
{
    QFETCH(int, page);
    QFETCH(QString, gear);

    auto window = makeWindow();
    MainWindow *w = window.get();
    if (page != Page_SignIn)
        jump(w, page);
    slideBy(
        w, [&]() { QTest::mouseClick(w->findChild<QPushButton *>(gear), Qt::LeftButton); },
        Page_Settings);
    QCOMPARE(w->returnPage(), page);
    auto *back = w->findChild<QPushButton *>(QStringLiteral("settingBackButton"));
    slideBy(
        w, [&]() { QTest::mouseClick(back, Qt::LeftButton); }, page);
}

void TestMainWindowShell::plainMovesReachTheirPages_data()
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

void TestMainWindowShell::plainMovesReachTheirPages()
{
    QFETCH(int, from);
    QFETCH(QString, button);
    QFETCH(int, to);
    QFETCH(bool, slides);

    auto window = makeWindow();
    MainWindow *w = window.get();
    if (from == Page_Subscription)
        jump(w, Page_Connection); // the Back button exists only when coming from there
    jump(w, from);
    auto *target = w->findChild<QPushButton *>(button);
    if (target->parentWidget() && target->parentWidget()->objectName() == "conPage")
        w->findChild<QStackedWidget *>(QStringLiteral("vpnConStatusStackedWidget"))
            ->setCurrentIndex(1);
    if (slides) {
        slideBy(
            w, [&]() { QTest::mouseClick(target, Qt::LeftButton); }, to);
    } else {
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(stack(w)->currentIndex(), to);
    }
}

void TestMainWindowShell::connectionHintRisesOnlyOnFirstVisit()
{
    auto window = makeWindow();
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

void TestMainWindowShell::signInHintRisesAtStart()
{
    auto window = makeWindow();
    auto *hint = window->findChild<QLabel *>(QStringLiteral("mainTipLabel"));
    QVERIFY(!hint->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(hint->y(), 405, 2000);
    QVERIFY(window->findChild<QLabel *>(QStringLiteral("settingTipLabel"))->isHidden());

    jump(window.get(), Page_Settings);
    auto *settingHint = window->findChild<QLabel *>(QStringLiteral("settingTipLabel"));
    QVERIFY(!settingHint->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(settingHint->y(), 0, 2000);
}

void TestMainWindowShell::subscriptionBackFollowsTheWayIn_data()
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

void TestMainWindowShell::subscriptionBackFollowsTheWayIn()
{
    QFETCH(QList<int>, visits);
    QFETCH(bool, shown);

    auto window = makeWindow();
    for (int page : visits)
        jump(window.get(), page);
    QCOMPARE(!window->findChild<QPushButton *>(QStringLiteral("subsBackButton"))->isHidden(),
             shown);
}

void TestMainWindowShell::infoValuesMakeRoomForTheScrollBar_data()
{
    QTest::addColumn<int>("policy");
    QTest::addColumn<int>("rightMargin");

    QTest::newRow("no scroll bar") << int(Qt::ScrollBarAlwaysOff) << 20;
    QTest::newRow("scroll bar shown") << int(Qt::ScrollBarAlwaysOn) << 15;
}

void TestMainWindowShell::infoValuesMakeRoomForTheScrollBar()
{
    QFETCH(int, policy);
    QFETCH(int, rightMargin);

    QCOMPARE(infoValuesRightMargin(policy == Qt::ScrollBarAlwaysOn), rightMargin);

    auto window = makeWindow();
    auto *area = window->findChild<QScrollArea *>(QStringLiteral("vpnInfoScrollArea"));
    auto *values = window->findChild<QWidget *>(QStringLiteral("vpnInfoSAWidget"));
    // Start from the other margin, so entering the page must set it.
    values->layout()->setContentsMargins(0, 0, 35 - rightMargin, 0);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarPolicy(policy));
    jump(window.get(), Page_Info);
    QCOMPARE(values->layout()->contentsMargins(), QMargins(0, 0, rightMargin, 0));
}

void TestMainWindowShell::closeHidesToTrayOnlyWithVisibleIcon_data()
{
    QTest::addColumn<bool>("hasIcon");
    QTest::addColumn<bool>("iconVisible");
    QTest::addColumn<bool>("closes");

    QTest::newRow("visible tray icon: the window only hides") << true << true << false;
    QTest::newRow("hidden tray icon: the window closes") << true << false << true;
    QTest::newRow("no tray icon yet: the window closes") << false << false << true;
}

void TestMainWindowShell::closeHidesToTrayOnlyWithVisibleIcon()
{
    QFETCH(bool, hasIcon);
    QFETCH(bool, iconVisible);
    QFETCH(bool, closes);

    auto window = makeWindow();
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

void TestMainWindowShell::signInErrorDuringSlideWaitsForIt()
{
    auto window = makeWindow();
    MainWindow *w = window.get();
    auto *login = w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"));
    auto *password = w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"));
    QTest::keyClicks(login, QStringLiteral("user"));
    QTest::keyClicks(password, QStringLiteral("secret"));

    QSignalSpy finished(stack(w), SIGNAL(animationFinished()));
    QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("mainLoginButton")),
                      Qt::LeftButton);
    QCOMPARE(stack(w)->currentIndex(), Page_SignIn); // the slide is under way

    w->returnToSignInPage();
    QCOMPARE(finished.count(), 1); // it waited for the slide to end
    QCOMPARE(stack(w)->currentIndex(), Page_SignIn);
}

void TestMainWindowShell::signInErrorAfterSlideReturnsAtOnce()
{
    auto window = makeWindow();
    MainWindow *w = window.get();
    w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
    w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
    slideBy(
        w,
        [&]() {
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("mainLoginButton")),
                              Qt::LeftButton);
        },
        Page_Auth);

    bool eventsRan = false;
    QTimer::singleShot(0, this, [&]() { eventsRan = true; });
    w->returnToSignInPage();
    QVERIFY(!eventsRan); // no event loop ran: it did not wait
    QCOMPARE(stack(w)->currentIndex(), Page_SignIn);
}

void TestMainWindowShell::signInSlidesOnlyWhenVisible_data()
{
    QTest::addColumn<bool>("visible");
    QTest::newRow("visible window slides") << true;
    QTest::newRow("hidden window jumps") << false;
}

void TestMainWindowShell::signInSlidesOnlyWhenVisible()
{
    QFETCH(bool, visible);

    auto window = makeWindow();
    MainWindow *w = window.get();
    w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
    w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
    if (!visible)
        w->hide();
    w->findChild<QPushButton *>(QStringLiteral("mainLoginButton"))->click();
    if (visible) {
        QCOMPARE(stack(w)->currentIndex(), Page_SignIn);
        QSignalSpy finished(stack(w), SIGNAL(animationFinished()));
        QVERIFY(finished.wait(3000));
    }
    QCOMPARE(stack(w)->currentIndex(), Page_Auth);
}

void TestMainWindowShell::signInNeedsBothFields_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("both empty") << QString() << QString() << false;
    QTest::newRow("login only") << QStringLiteral("user") << QString() << false;
    QTest::newRow("password only") << QString() << QStringLiteral("secret") << false;
    QTest::newRow("both filled") << QStringLiteral("user") << QStringLiteral("secret") << true;
}

void TestMainWindowShell::signInNeedsBothFields()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, enabled);

    QCOMPARE(signInAllowed(login, password), enabled);

    auto window = makeWindow();
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

void TestMainWindowShell::returnKeyInFieldsSignsIn()
{
    for (const char *field : {"mainLoginLineEdit", "mainPswdLineEdit"}) {
        auto window = makeWindow();
        MainWindow *w = window.get();
        w->findChild<QLineEdit *>(QStringLiteral("mainLoginLineEdit"))->setText("user");
        w->findChild<QLineEdit *>(QStringLiteral("mainPswdLineEdit"))->setText("secret");
        w->hide(); // a hidden window jumps, so the page changes at once
        QTest::keyClick(w->findChild<QLineEdit *>(QString::fromLatin1(field)), Qt::Key_Return);
        QCOMPARE(stack(w)->currentIndex(), Page_Auth);
    }
}

void TestMainWindowShell::waitingPageDotsMove()
{
    auto window = makeWindow();
    auto *loading = window->findChild<QLabel *>(QStringLiteral("authLoadingLabel"));
    const QString visibleDot = QStringLiteral("<span>.</span>");
    QVERIFY(!loading->text().contains(visibleDot));
    jump(window.get(), Page_Auth);
    QTRY_VERIFY_WITH_TIMEOUT(loading->text().contains(visibleDot), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(loading->text().contains(visibleDot.repeated(2)), 3000);
}

void TestMainWindowShell::addressMenuCopiesTheAddress()
{
    auto window = makeWindow();
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

void TestMainWindowShell::aboutFromHiddenWindowShowsIt()
{
    auto window = makeWindow();
    window->hide();
    allowRaises(1);
    window->showAbout();
    QVERIFY(window->isVisible());
    QCOMPARE(stack(window.get())->currentIndex(), Page_About);
}

void TestMainWindowShell::changeSubscriptionReopensTheChoice()
{
    auto window = makeWindow();
    MainWindow *w = window.get();
    auto *combo = w->findChild<QComboBox *>(QStringLiteral("subsSubComboBox"));
    auto *next = w->findChild<QPushButton *>(QStringLiteral("subsNextButton"));
    combo->addItem(QStringLiteral("Premium"));
    combo->setEnabled(false);
    next->setEnabled(true);
    jump(w, Page_Connection);
    QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("vpnConChangeSubButton")),
                      Qt::LeftButton);
    QCOMPARE(stack(w)->currentIndex(), Page_Subscription);
    QVERIFY(combo->isEnabled());
    QVERIFY(!next->isEnabled());
    QVERIFY(!w->findChild<QPushButton *>(QStringLiteral("subsBackButton"))->isHidden());
}

// ---- pure rules -------------------------------------------------------------------------

void TestMainWindowShell::manualChoicePageFollowsSubscriptionType_data()
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

void TestMainWindowShell::manualChoicePageFollowsSubscriptionType()
{
    QFETCH(int, type);
    QFETCH(int, page);
    QCOMPARE(manualChoicePage(type), page);
}

void TestMainWindowShell::loadingLabelFollowsPageOnShow_data()
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

void TestMainWindowShell::loadingLabelFollowsPageOnShow()
{
    QFETCH(int, page);
    QFETCH(int, status);
    QFETCH(QString, label);
    QCOMPARE(loadingLabelName(page, status), label);
}

KESTRUNE_TEST_MAIN(TestMainWindowShell)
#include "tst_mainwindowshell.moc"

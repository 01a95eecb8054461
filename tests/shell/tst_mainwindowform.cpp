#include "buildconfig.h"
#include "support/testmain.h"
#include "ui/comboboxchangedpopup.h"
#include "ui/pagenavigation.h"
#include "ui/slidingbutton.h"
#include "windowfixture.h"

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
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

using namespace WindowFixture;

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

} // namespace

class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        dataDir = std::make_unique<QTemporaryDir>();
        QVERIFY(dataDir->isValid());
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void formHoldsEveryNamedWidget_data();
    void formHoldsEveryNamedWidget();
    void windowIsFixedSizeWithoutMaximise();
    void textsPassTheTranslator_data();
    void textsPassTheTranslator();
    void comboBoxesOpenTheNarrowPopup();
    void stacksStartAtTheirFirstPage();
    void dnsProtectionRowIsOutOfSight();

private:
    std::unique_ptr<QTemporaryDir> dataDir;
    // The form's rows look at one window each rather than building a window per row.
    QTemporaryDir sharedDataDir;
    std::unique_ptr<MainWindow> plainWindow;
    std::unique_ptr<MainWindow> translatedWindow;
};

void TestMainWindowForm::formHoldsEveryNamedWidget_data()
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

void TestMainWindowForm::formHoldsEveryNamedWidget()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, page);

    if (!plainWindow) {
        allowRaises(1); // its start-up check shows it later
        plainWindow = std::make_unique<MainWindow>(sharedDataDir.path());
    }
    MainWindow &window = *plainWindow;
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

void TestMainWindowForm::windowIsFixedSizeWithoutMaximise()
{
    auto window = makeWindow(dataDir->path());
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

void TestMainWindowForm::textsPassTheTranslator_data()
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

void TestMainWindowForm::textsPassTheTranslator()
{
    QFETCH(QString, name);
    QFETCH(QString, source);

    if (!translatedWindow) {
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        allowRaises(1);
        translatedWindow = std::make_unique<MainWindow>(sharedDataDir.path());
        QCoreApplication::removeTranslator(&translator);
    }
    MainWindow &window = *translatedWindow;

    QObject *widget = window.findChild<QObject *>(name);
    QVERIFY(widget);
    const QString expected = marked(source).replace(QLatin1String("%0"), siteBase);
    QCOMPARE(widget->property("text").toString(), expected);
}

void TestMainWindowForm::comboBoxesOpenTheNarrowPopup()
{
    auto window = makeWindow(dataDir->path());
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

void TestMainWindowForm::stacksStartAtTheirFirstPage()
{
    auto window = makeWindow(dataDir->path());
    for (const char *name : {"stackedWidget", "vpnConStatusStackedWidget", "vpnServStackedWidget",
                             "vpnDoubleServStackedWidget", "settingStackedWidget"})
        QCOMPARE(window->findChild<QStackedWidget *>(QString::fromLatin1(name))->currentIndex(), 0);
    for (QListWidget *list : window->findChildren<QListWidget *>())
        QCOMPARE(list->currentRow(), -1);
    QCOMPARE(window->findChildren<SlidingButton *>().size(), 2);
}

void TestMainWindowForm::dnsProtectionRowIsOutOfSight()
{
    auto window = makeWindow(dataDir->path());
    auto *row = window->findChild<QWidget *>(QStringLiteral("settingDNSProtectWidget"));
    auto *line = window->findChild<QWidget *>(QStringLiteral("settingLine9"));
    auto *rows = window->findChild<QWidget *>(QStringLiteral("settingSAWidget"));
    QVERIFY(row->isHidden());
    QVERIFY(line->isHidden());
    QCOMPARE(rows->layout()->indexOf(row), -1);
    QCOMPARE(rows->layout()->indexOf(line), -1);
}

KESTRUNE_TEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"

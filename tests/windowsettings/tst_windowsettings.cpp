#include "buildconfig.h"
#include "core/languagechoice.h"
#include "core/settingsstore.h"
#include "core/storedpassword.h"
#include "shell/windowfixture.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"

#include <memory>
#include <signal.h>
#include <sys/resource.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>

// Reads and sets the window's private state the way the rest of the program does.
class MainWindowProbe
{
public:
    explicit MainWindowProbe(MainWindow *window)
        : w(window)
    { }

    QVector<VPNServer> &servers() { return w->servers; }
    QVector<Subscription> &subscriptions() { return w->subscriptions; }
    int &currentSubIndex() { return w->currentSubIndex; }
    int &firstServerIndex() { return w->firstServerIndex; }
    int &secondServerIndex() { return w->secondServerIndex; }
    int &savedPackageId() { return w->savedPackageId; }
    int &requestTimeout() { return w->requestTimeout; }
    bool &userMirrorFlag() { return w->mirrorFlags[1]; }
    bool &languageMirrorFlag() { return w->mirrorFlags[0]; }
    qint16 &languageIndex() { return w->languageIndex; }
    QPoint &statWindowPosition() { return w->statWindowPosition; }
    bool &networkLockApplied() { return w->networkLockApplied; }
    bool &blockNetworkWarningDisabled() { return w->blockNetworkWarningDisabled; }
    QString &emergencyAddress() { return w->emergencyAddress; }
    bool &emergencyByDefault() { return w->emergencyByDefault; }
    QString &apiBaseUrl() { return w->apiBaseUrl; }

    template<typename T> T *widget(const char *name)
    {
        T *found = w->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QCheckBox *box(const char *name) { return widget<QCheckBox>(name); }
    QLineEdit *edit(const char *name) { return widget<QLineEdit>(name); }

private:
    MainWindow *w;
};

namespace {

VPNServer server(int id, const QString &ip, const QString &city = QString())
{
    VPNServer s;
    s.id = id;
    s.ip = ip;
    s.cityName = city;
    return s;
}

QVector<VPNServer> fourServers()
{
    return {server(11, QStringLiteral("10.0.0.1"), QStringLiteral("Berlin")),
            server(12, QStringLiteral("10.0.0.12"), QStringLiteral("Paris")),
            server(13, QStringLiteral("10.0.0.3"), QStringLiteral("New York")),
            server(14, QStringLiteral("10.0.0.4"), QStringLiteral("Paris"))};
}

Subscription subscriptionOfType(int type)
{
    Subscription sub;
    sub.id = 500 + type;
    sub.type = type;
    return sub;
}

// The option boxes of the settings page and the sign-in page, with their keys.
struct BoxKey
{
    const char *box;
    const char *key;
};
const BoxKey OptionBoxes[] = {
    {"mainRememberCheckBox", "RememberMe"},
    {"stngBlockOtherConCheckBox", "LockConnection"},
    {"stngVPNAutoConCheckBox", "AutoConnect"},
    {"settingStartMinimizedCheckBox", "StartMinimized"},
    {"settingShowStatWgtCheckBox", "StatWidget/ShowOnConnect"},
    {"settingSystemStartupCheckBox", "SystemAutostart"},
    {"settingCheckAvailableServCheckBox", "CheckAvailableServers"},
    {"settingDNSProtectCheckBox", "DNSProtection"},
};
constexpr int OptionCount = int(sizeof(OptionBoxes) / sizeof(OptionBoxes[0]));

} // namespace

class TestWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_file = SettingsStore::fileNameIn(m_dir->path());
        // Each case starts from a window built over an empty data folder, as at a first
        // start, and then works on the file that folder holds.
        m_window = WindowFixture::makeWindow(m_dir->path());
        QVERIFY(m_window->isVisible());
    }
    void cleanup()
    {
        m_window.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void widgetStatesAreWrittenToTheirKeys_data()
    {
        QTest::addColumn<int>("flags"); // bit i checks OptionBoxes[i]
        QTest::addColumn<bool>("udp");
        QTest::addColumn<int>("packageId");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("mirror");
        QTest::newRow("everything on, UDP") << 0xff << true << 42 << 9000 << true;
        QTest::newRow("everything off, TCP") << 0x00 << false << -1 << 5000 << false;
        QTest::newRow("alternating, TCP") << 0x55 << false << 7 << 1200 << true;
        QTest::newRow("alternating the other way, UDP") << 0xaa << true << 0 << 30000 << false;
    }
    void widgetStatesAreWrittenToTheirKeys()
    {
        QFETCH(int, flags);
        QFETCH(bool, udp);
        QFETCH(int, packageId);
        QFETCH(int, timeout);
        QFETCH(bool, mirror);
        MainWindowProbe p(window());
        for (int i = 0; i < OptionCount; ++i)
            p.box(OptionBoxes[i].box)->setChecked(flags & (1 << i));
        p.widget<QRadioButton>(udp ? "settingProtUDPRButton" : "settingProtTCPRButton")
            ->setChecked(true);
        p.edit("mainLoginLineEdit")->setText(QStringLiteral("alice"));
        p.edit("mainPswdLineEdit")->setText(QStringLiteral("secret"));
        p.savedPackageId() = packageId;
        p.requestTimeout() = timeout;
        p.userMirrorFlag() = mirror;

        QVERIFY(window()->saveSettings(Set_General));

        QSettings file(m_file, QSettings::IniFormat);
        for (int i = 0; i < OptionCount; ++i)
            QCOMPARE(file.value(QLatin1String(OptionBoxes[i].key)).toString(),
                     QLatin1String((flags & (1 << i)) ? "true" : "false"));
        QCOMPARE(file.value(QStringLiteral("UDP")).toString(),
                 QLatin1String(udp ? "true" : "false"));
        QCOMPARE(file.value(QStringLiteral("PackageID")).toString(), QString::number(packageId));
        QCOMPARE(file.value(QStringLiteral("RequestTimeout")).toString(), QString::number(timeout));
        QCOMPARE(file.value(QStringLiteral("ServerMirrorConfig")).toString(),
                 QLatin1String(mirror ? "true" : "false"));
        const bool remembered = flags & 1;
        QCOMPARE(file.value(QStringLiteral("Login")).toString(),
                 remembered ? QStringLiteral("alice") : QString());
        const QString stored = file.value(QStringLiteral("Password")).toString();
        if (remembered) {
            QVERIFY(stored != QStringLiteral("secret"));
            QCOMPARE(StoredPassword::decryptPassword(stored, 'a'), QStringLiteral("secret"));
        } else {
            QCOMPARE(stored, QString());
        }
    }

    void handWrittenFileReachesTheWidgets_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("udp");
        QTest::addColumn<int>("packageId");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<bool>("mirror");
        // Defaults: remember-me and DNS protection on, UDP.
        QTest::newRow("no file") << QByteArray() << 0x81 << true << -1 << 5000 << false;
        QTest::newRow("every option on")
            << QByteArray("[General]\nRememberMe=true\nUDP=true\nPackageID=77\n"
                          "LockConnection=true\nAutoConnect=true\nStartMinimized=true\n"
                          "SystemAutostart=true\nCheckAvailableServers=true\n"
                          "ServerMirrorConfig=true\nRequestTimeout=12000\nDNSProtection=true\n"
                          "[StatWidget]\nShowOnConnect=true\n")
            << 0xff << true << 77 << 12000 << true;
        QTest::newRow("every option off, TCP")
            << QByteArray("[General]\nRememberMe=false\nUDP=false\nPackageID=3\n"
                          "LockConnection=false\nAutoConnect=false\nStartMinimized=false\n"
                          "SystemAutostart=false\nCheckAvailableServers=false\n"
                          "ServerMirrorConfig=false\nRequestTimeout=800\nDNSProtection=false\n"
                          "[StatWidget]\nShowOnConnect=false\n")
            << 0x00 << false << 3 << 800 << false;
        QTest::newRow("only the lock and the statistics window")
            << QByteArray("[General]\nRememberMe=false\nLockConnection=true\nDNSProtection=false\n"
                          "[StatWidget]\nShowOnConnect=true\n")
            << 0x12 << true << -1 << 5000 << false;
    }
    void handWrittenFileReachesTheWidgets()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, flags);
        QFETCH(bool, udp);
        QFETCH(int, packageId);
        QFETCH(int, timeout);
        QFETCH(bool, mirror);
        writeFile(content);
        MainWindowProbe p(window());
        // Start from the opposite of every expected state, so each one is really set.
        for (int i = 0; i < OptionCount; ++i)
            p.box(OptionBoxes[i].box)->setChecked(!(flags & (1 << i)));
        p.widget<QRadioButton>(udp ? "settingProtTCPRButton" : "settingProtUDPRButton")
            ->setChecked(true);
        p.networkLockApplied() = !(flags & 2);
        p.userMirrorFlag() = !mirror;

        QVERIFY(window()->loadSettings(Set_General).isEmpty());

        for (int i = 0; i < OptionCount; ++i)
            QVERIFY2(p.box(OptionBoxes[i].box)->isChecked() == bool(flags & (1 << i)),
                     OptionBoxes[i].box);
        QCOMPARE(p.widget<QRadioButton>("settingProtUDPRButton")->isChecked(), udp);
        QCOMPARE(p.widget<QRadioButton>("settingProtTCPRButton")->isChecked(), !udp);
        QCOMPARE(p.networkLockApplied(), bool(flags & 2));
        QCOMPARE(p.savedPackageId(), packageId);
        QCOMPARE(p.requestTimeout(), timeout);
        QCOMPARE(p.userMirrorFlag(), mirror);
    }

    void uncheckedRememberMeWritesEmptyCredentials_data()
    {
        QTest::addColumn<int>("section");
        QTest::newRow("sign-in form") << int(Set_LoginData);
        QTest::newRow("general") << int(Set_General);
    }
    void uncheckedRememberMeWritesEmptyCredentials()
    {
        QFETCH(int, section);
        writeFile("[General]\nRememberMe=true\nLogin=bob\nPassword=old\n");
        MainWindowProbe p(window());
        p.box("mainRememberCheckBox")->setChecked(false);
        p.edit("mainLoginLineEdit")->setText(QStringLiteral("carol"));
        p.edit("mainPswdLineEdit")->setText(QStringLiteral("hunter2"));

        QVERIFY(window()->saveSettings(SettingsType(section)));

        QSettings file(m_file, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("RememberMe")).toString(), QStringLiteral("false"));
        QVERIFY(file.contains(QStringLiteral("Login")));
        QVERIFY(file.contains(QStringLiteral("Password")));
        QCOMPARE(file.value(QStringLiteral("Login")).toString(), QString());
        QCOMPARE(file.value(QStringLiteral("Password")).toString(), QString());
        // The form itself keeps what the user typed.
        QCOMPARE(p.edit("mainLoginLineEdit")->text(), QStringLiteral("carol"));
    }

    void loadingTheSignInSectionLeavesTheFormAlone()
    {
        writeFile("[General]\nRememberMe=false\nLogin=bob\n");
        MainWindowProbe p(window());
        p.box("mainRememberCheckBox")->setChecked(true);
        p.edit("mainLoginLineEdit")->setText(QStringLiteral("typed"));
        QVERIFY(window()->loadSettings(Set_LoginData).isEmpty());
        QVERIFY(p.box("mainRememberCheckBox")->isChecked());
        QCOMPARE(p.edit("mainLoginLineEdit")->text(), QStringLiteral("typed"));
    }

    void passwordRoundTripsThroughTheWidgets_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::newRow("latin login")
            << QStringLiteral("alice@example.org") << QStringLiteral("s3cr3t!");
        QTest::newRow("login beyond Latin-1")
            << QStringLiteral("Юрий") << QStringLiteral("пароль с пробелами");
        QTest::newRow("empty login") << QString() << QStringLiteral("lonely");
        QTest::newRow("empty password") << QStringLiteral("dave") << QString();
        QTest::newRow("long password") << QStringLiteral("erin") << QString(300, QLatin1Char('x'));
    }
    void passwordRoundTripsThroughTheWidgets()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        {
            MainWindowProbe p(window());
            p.box("mainRememberCheckBox")->setChecked(true);
            p.edit("mainLoginLineEdit")->setText(login);
            p.edit("mainPswdLineEdit")->setText(password);
            QVERIFY(window()->saveSettings(Set_LoginData));
        }
        QSettings file(m_file, QSettings::IniFormat);
        if (!password.isEmpty())
            QVERIFY(!file.value(QStringLiteral("Password")).toString().contains(password));

        MainWindowProbe p(window());
        p.edit("mainLoginLineEdit")->clear();
        p.edit("mainPswdLineEdit")->setText(QStringLiteral("stale"));
        window()->loadSettings(Set_General);
        QCOMPARE(p.edit("mainLoginLineEdit")->text(), login);
        QCOMPARE(p.edit("mainPswdLineEdit")->text(), password);
    }

    void loginEditedInTheFileEmptiesThePassword()
    {
        {
            MainWindowProbe p(window());
            p.box("mainRememberCheckBox")->setChecked(true);
            p.edit("mainLoginLineEdit")->setText(QStringLiteral("alice"));
            p.edit("mainPswdLineEdit")->setText(QStringLiteral("secret"));
            QVERIFY(window()->saveSettings(Set_General));
        }
        {
            QSettings file(m_file, QSettings::IniFormat);
            file.setValue(QStringLiteral("Login"), QStringLiteral("mallory"));
        }
        MainWindowProbe p(window());
        window()->loadSettings(Set_General);
        QCOMPARE(p.edit("mainLoginLineEdit")->text(), QStringLiteral("mallory"));
        QCOMPARE(p.edit("mainPswdLineEdit")->text(), QString());
    }

    void storedLanguageSelectsItsEntry_data()
    {
        QTest::addColumn<int>("stored");
        for (int value = 1; value <= 5; ++value)
            QTest::addRow("language %d", value) << value;
    }
    void storedLanguageSelectsItsEntry()
    {
        QFETCH(int, stored);
        const QByteArray content = "[General]\nLanguage=" + QByteArray::number(stored) + "\n";
        writeFile(content);
        MainWindowProbe p(window());
        p.languageMirrorFlag() = stored != 3;
        QVERIFY(window()->loadSettings(Set_Language).isEmpty());
        QCOMPARE(p.widget<QComboBox>("settingLanguageComboBox")->currentIndex(), stored - 1);
        QCOMPARE(int(p.languageIndex()), stored);
        QCOMPARE(p.languageMirrorFlag(), stored == 3);
        // A language already chosen is not written again.
        QCOMPARE(readFile(), content);
    }

    void languageIsWrittenAsEntryPlusOne_data()
    {
        QTest::addColumn<int>("entry");
        for (int entry = 0; entry < 5; ++entry)
            QTest::addRow("entry %d", entry) << entry;
    }
    void languageIsWrittenAsEntryPlusOne()
    {
        QFETCH(int, entry);
        MainWindowProbe p(window());
        p.widget<QComboBox>("settingLanguageComboBox")->setCurrentIndex(entry);
        QVERIFY(window()->saveSettings(Set_Language));
        QCOMPARE(QSettings(m_file, QSettings::IniFormat).value(QStringLiteral("Language")).toInt(),
                 entry + 1);
    }

    // Run under a chosen system locale: the environment names the value it must give and
    // the locale that becomes the default (empty when the default stays as it is).
    void unchosenLanguageComesFromTheSystem_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("stored zero") << QByteArray("[General]\nLanguage=0\n");
        QTest::newRow("stored value of no language") << QByteArray("[General]\nLanguage=9\n");
    }
    void unchosenLanguageComesFromTheSystem()
    {
        QFETCH(QByteArray, content);
        const QByteArray expectedValue = qgetenv("KESTRUNE_TEST_LANGUAGE_VALUE");
        if (expectedValue.isEmpty())
            QSKIP("runs under a system locale chosen by the test registration");
        const QString expectedLocale
            = QString::fromLatin1(qgetenv("KESTRUNE_TEST_LANGUAGE_LOCALE"));
        const int value = expectedValue.toInt();
        const QLocale before(QLocale::Finnish, QLocale::Finland);
        QLocale::setDefault(before);
        writeFile(content);

        MainWindowProbe p(window());
        window()->loadSettings(Set_Language);

        QCOMPARE(int(p.languageIndex()), value);
        QCOMPARE(p.widget<QComboBox>("settingLanguageComboBox")->currentIndex(), value - 1);
        QCOMPARE(p.languageMirrorFlag(), value == 3);
        QCOMPARE(QSettings(m_file, QSettings::IniFormat).value(QStringLiteral("Language")).toInt(),
                 value);
        QCOMPARE(QLocale().name(), expectedLocale.isEmpty() ? before.name() : expectedLocale);
        QLocale::setDefault(QLocale::c());
    }

    void lastConnectionWritesTheRoute_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("firstId");
        QTest::addColumn<int>("secondId");
        QTest::newRow("no server chosen") << -1 << -1 << -1 << -1;
        QTest::newRow("single server") << 2 << 2 << 13 << 13;
        QTest::newRow("double route") << 0 << 3 << 11 << 14;
        QTest::newRow("double route, exit before entry") << 3 << 1 << 14 << 12;
        QTest::newRow("entry without an exit is a single server") << 1 << -1 << 12 << 12;
        QTest::newRow("index past the list") << 9 << 9 << -1 << -1;
    }
    void lastConnectionWritesTheRoute()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, firstId);
        QFETCH(int, secondId);
        writeFile("[General]\nLastVPN_ID_1=99\nLastVPN_ID_2=98\n");
        MainWindowProbe p(window());
        p.servers() = fourServers();
        p.firstServerIndex() = first;
        p.secondServerIndex() = second;

        QVERIFY(window()->saveSettings(Set_LastConnection));

        QSettings file(m_file, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("LastVPN_ID_1")).toString(), QString::number(firstId));
        QCOMPARE(file.value(QStringLiteral("LastVPN_ID_2")).toString(), QString::number(secondId));
        QCOMPARE(window()->loadSettings(Set_LastConnection), (QVariantList {firstId, secondId}));
    }

    void lastConnectionReadsHandWrittenIds_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("no file") << QByteArray() << QVariantList {-1, -1};
        QTest::newRow("double route")
            << QByteArray("[General]\nLastVPN_ID_1=7\nLastVPN_ID_2=8\n") << QVariantList {7, 8};
        QTest::newRow("no last connection")
            << QByteArray("[General]\nLastVPN_ID_1=-1\nLastVPN_ID_2=-1\n") << QVariantList {-1, -1};
    }
    void lastConnectionReadsHandWrittenIds()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariantList, expected);
        writeFile(content);
        QCOMPARE(window()->loadSettings(Set_LastConnection), expected);
    }

    void singleFavouritesRoundTripThroughServers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("array");
        QTest::newRow("premium") << 1 << QStringLiteral("PremiumSub");
        QTest::newRow("onion") << 3 << QStringLiteral("OnionSub");
        QTest::newRow("free") << 4 << QStringLiteral("FreeSub");
    }
    void singleFavouritesRoundTripThroughServers()
    {
        QFETCH(int, type);
        QFETCH(QString, array);
        {
            MainWindowProbe p(window());
            p.subscriptions() = {subscriptionOfType(2), subscriptionOfType(type)};
            p.currentSubIndex() = 1;
            p.servers() = fourServers();
            p.servers()[0].favorite = true;
            p.servers()[2].favorite = true;
            p.servers()[3].favorite = true;
            QVERIFY(window()->saveSettings(Set_Favorites));
        }
        {
            // Entries are numbered without gaps.
            QSettings file(m_file, QSettings::IniFormat);
            file.beginGroup(QStringLiteral("Favorives"));
            QCOMPARE(file.beginReadArray(array), 3);
            QStringList stored;
            for (int i = 0; i < 3; ++i) {
                file.setArrayIndex(i);
                stored.append(file.value(QStringLiteral("IP")).toString());
            }
            file.endArray();
            QCOMPARE(stored,
                     (QStringList {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.3"),
                                   QStringLiteral("10.0.0.4")}));
        }
        MainWindowProbe p(window());
        p.subscriptions() = {subscriptionOfType(type)};
        p.currentSubIndex() = 0;
        p.servers() = fourServers();
        p.servers()[1].favorite = true; // a stale mark the file does not hold
        window()->loadSettings(Set_Favorites);
        QCOMPARE(favoriteFlags(p), (QVector<bool> {true, false, true, true}));
    }

    void storedFavouriteMarksTheFirstServerItContains()
    {
        writeFile("[Favorives]\nPremiumSub\\size=1\nPremiumSub\\1\\IP=10.0.0.12\n");
        MainWindowProbe p(window());
        p.subscriptions() = {subscriptionOfType(1)};
        p.currentSubIndex() = 0;
        p.servers() = fourServers();
        window()->loadSettings(Set_Favorites);
        // "10.0.0.12" holds "10.0.0.1", which comes first.
        QCOMPARE(favoriteFlags(p), (QVector<bool> {true, false, false, false}));
    }

    void doubleFavouritesRoundTripThroughServers()
    {
        {
            MainWindowProbe p(window());
            p.subscriptions() = {subscriptionOfType(2)};
            p.currentSubIndex() = 0;
            p.servers() = fourServers();
            p.servers()[0].favoriteExits = {2, 3};
            p.servers()[3].favoriteExits = {1};
            QVERIFY(window()->saveSettings(Set_Favorites));
        }
        {
            QSettings file(m_file, QSettings::IniFormat);
            file.beginGroup(QStringLiteral("Favorives"));
            QCOMPARE(file.beginReadArray(QStringLiteral("DoubleSub")), 2);
            file.setArrayIndex(0);
            QCOMPARE(file.value(QStringLiteral("IPInput")).toString(), QStringLiteral("10.0.0.1"));
            QCOMPARE(file.beginReadArray(QStringLiteral("IPOutput")), 2);
            file.setArrayIndex(1);
            QCOMPARE(file.value(QStringLiteral("IP")).toString(), QStringLiteral("10.0.0.4"));
            file.endArray();
            file.setArrayIndex(1);
            QCOMPARE(file.value(QStringLiteral("IPInput")).toString(), QStringLiteral("10.0.0.4"));
            file.endArray();
        }
        MainWindowProbe p(window());
        p.subscriptions() = {subscriptionOfType(2)};
        p.currentSubIndex() = 0;
        p.servers() = fourServers();
        window()->loadSettings(Set_Favorites);
        QCOMPARE(p.servers().at(0).favoriteExits, (QVector<int> {2, 3}));
        QCOMPARE(p.servers().at(1).favoriteExits, QVector<int>());
        QCOMPARE(p.servers().at(2).favoriteExits, QVector<int>());
        QCOMPARE(p.servers().at(3).favoriteExits, (QVector<int> {1}));
    }

    void favouritesWithoutAKnownSubscriptionTouchNothing_data()
    {
        QTest::addColumn<int>("subscriptionIndex");
        QTest::addColumn<int>("type");
        QTest::newRow("no subscription chosen") << -1 << 1;
        QTest::newRow("unsupported type") << 0 << 7;
    }
    void favouritesWithoutAKnownSubscriptionTouchNothing()
    {
        QFETCH(int, subscriptionIndex);
        QFETCH(int, type);
        const QByteArray content("[Favorives]\nPremiumSub\\size=1\nPremiumSub\\1\\IP=10.0.0.3\n");
        writeFile(content);
        MainWindowProbe p(window());
        p.subscriptions() = {subscriptionOfType(type)};
        p.currentSubIndex() = subscriptionIndex;
        p.servers() = fourServers();
        p.servers()[1].favorite = true;
        window()->saveSettings(Set_Favorites);
        QCOMPARE(readFile(), content);
        window()->loadSettings(Set_Favorites);
        QCOMPARE(favoriteFlags(p), (QVector<bool> {false, true, false, false}));
    }

    void favoriteAddressIsKeptPerCity()
    {
        MainWindowProbe p(window());
        p.servers() = fourServers();
        p.firstServerIndex() = 0;
        p.secondServerIndex() = 1; // Paris
        auto *combo = p.widget<QComboBox>("vpnInfoChangeIPComboBox");
        combo->addItem(QStringLiteral("10.0.0.12"));
        combo->addItem(QStringLiteral("10.0.0.4"));
        combo->setCurrentIndex(1);
        QVERIFY(window()->saveSettings(Set_FavoriteIP));

        QCOMPARE(QSettings(m_file, QSettings::IniFormat)
                     .value(QStringLiteral("Favorives/Paris_favoriteIP"))
                     .toString(),
                 QStringLiteral("10.0.0.4"));
        // Both Paris servers read it, the other cities and unknown servers read nothing.
        QCOMPARE(window()->loadSettings(Set_FavoriteIP, 3),
                 QVariantList {QStringLiteral("10.0.0.4")});
        QCOMPARE(window()->loadSettings(Set_FavoriteIP, 1),
                 QVariantList {QStringLiteral("10.0.0.4")});
        QCOMPARE(window()->loadSettings(Set_FavoriteIP, 2), QVariantList {QString()});
        QCOMPARE(window()->loadSettings(Set_FavoriteIP, 17), QVariantList {QString()});
        QCOMPARE(window()->loadSettings(Set_FavoriteIP), QVariantList {QString()});
    }

    void favoriteAddressWithoutAServerWritesNothing()
    {
        const QByteArray content("[General]\nUDP=false\n");
        writeFile(content);
        MainWindowProbe p(window());
        p.servers() = fourServers();
        p.firstServerIndex() = -1;
        p.secondServerIndex() = -1;
        p.widget<QComboBox>("vpnInfoChangeIPComboBox")->addItem(QStringLiteral("10.0.0.1"));
        QVERIFY(!window()->saveSettings(Set_FavoriteIP));
        QCOMPARE(readFile(), content);
    }

    void statisticsWindowPositionRoundTrips_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::newRow("on screen") << QPoint(120, 340);
        QTest::newRow("left of the primary screen") << QPoint(-900, 15);
        QTest::newRow("none") << QPoint(-1, -1);
    }
    void statisticsWindowPositionRoundTrips()
    {
        QFETCH(QPoint, position);
        MainWindowProbe(window()).statWindowPosition() = position;
        QVERIFY(window()->saveSettings(Set_StatWindow));
        QCOMPARE(QSettings(m_file, QSettings::IniFormat)
                     .value(QStringLiteral("StatWidget/ScreenPosition"))
                     .toPoint(),
                 position);
        MainWindowProbe p(window());
        p.statWindowPosition() = QPoint(5, 5);
        QVERIFY(window()->loadSettings(Set_StatWindow).isEmpty());
        QCOMPARE(p.statWindowPosition(), position);
    }

    void statisticsWindowHasNoPositionAtFirstStart()
    {
        MainWindowProbe p(window());
        p.statWindowPosition() = QPoint(5, 5);
        window()->loadSettings(Set_StatWindow);
        QCOMPARE(p.statWindowPosition(), QPoint(-1, -1));
    }

    void versionChangeDropsTheEmergencyAddress_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("changed");
        QTest::newRow("same version") << QByteArray(BuildConfig::AppVersion) << false;
        QTest::newRow("earlier version") << QByteArray("1.25.0") << true;
        QTest::newRow("first start") << QByteArray() << true;
        QTest::newRow("case differs")
            << QByteArray(BuildConfig::AppVersion).toUpper() + "A" << true;
    }
    void versionChangeDropsTheEmergencyAddress()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, changed);
        QByteArray content("[General]\nEmergencyAddress=http://192.0.2.7/api\nUDP=false\n");
        if (!version.isEmpty())
            content += "LastLaunchedVersion=" + version + "\n";
        writeFile(content);

        QCOMPARE(window()->loadSettings(Set_LastVersion),
                 QVariantList {QString::fromLatin1(version)});
        QCOMPARE(window()->updateLastVersion(), changed);

        if (!changed) {
            QCOMPARE(readFile(), content);
            return;
        }
        QSettings file(m_file, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("LastLaunchedVersion")).toString(),
                 QString::fromLatin1(BuildConfig::AppVersion));
        QVERIFY(!file.contains(QStringLiteral("EmergencyAddress")));
        QCOMPARE(file.value(QStringLiteral("UDP")).toString(), QStringLiteral("false"));
        window()->loadSettings(Set_EmergencyAddress);
        QCOMPARE(MainWindowProbe(window()).emergencyAddress(),
                 QString::fromLatin1(BuildConfig::DefaultEmergencyAddress));
    }

    void emergencyAddressIsInUseWhenItIsTheApiBase_data()
    {
        QTest::addColumn<QString>("apiBase");
        QTest::addColumn<bool>("inUse");
        QTest::newRow("emergency address in use") << QStringLiteral("http://192.0.2.7/api") << true;
        QTest::newRow("regular address in use") << QStringLiteral("https://api.example") << false;
        QTest::newRow("no address yet") << QString() << false;
    }
    void emergencyAddressIsInUseWhenItIsTheApiBase()
    {
        QFETCH(QString, apiBase);
        QFETCH(bool, inUse);
        {
            MainWindowProbe p(window());
            p.emergencyAddress() = QStringLiteral("http://192.0.2.7/api");
            p.apiBaseUrl() = apiBase;
            QVERIFY(window()->saveSettings(Set_EmergencyAddress));
        }
        QSettings file(m_file, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("EmergencyAddress")).toString(),
                 QStringLiteral("http://192.0.2.7/api"));
        QCOMPARE(file.value(QStringLiteral("EmergencyAddressUseByDef")).toString(),
                 QLatin1String(inUse ? "true" : "false"));

        MainWindowProbe p(window());
        p.emergencyAddress() = QStringLiteral("stale");
        p.emergencyByDefault() = !inUse;
        window()->loadSettings(Set_EmergencyAddress);
        QCOMPARE(p.emergencyAddress(), QStringLiteral("http://192.0.2.7/api"));
        QCOMPARE(p.emergencyByDefault(), inUse);
    }

    void emptyEmergencyAddressReadsAsTheBuiltInOne_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("empty value") << QByteArray("[General]\nEmergencyAddress=\n");
    }
    void emptyEmergencyAddressReadsAsTheBuiltInOne()
    {
        QFETCH(QByteArray, content);
        writeFile(content);
        MainWindowProbe p(window());
        p.emergencyAddress() = QStringLiteral("stale");
        p.emergencyByDefault() = true;
        window()->loadSettings(Set_EmergencyAddress);
        QCOMPARE(p.emergencyAddress(), QString::fromLatin1(BuildConfig::DefaultEmergencyAddress));
        QVERIFY(!p.emergencyByDefault());
    }

    void networkWarningChoiceRoundTrips_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::newRow("warning disabled") << true;
        QTest::newRow("warning shown") << false;
    }
    void networkWarningChoiceRoundTrips()
    {
        QFETCH(bool, disabled);
        MainWindowProbe(window()).blockNetworkWarningDisabled() = disabled;
        QVERIFY(window()->saveSettings(Set_Extra));
        QCOMPARE(QSettings(m_file, QSettings::IniFormat)
                     .value(QStringLiteral("Extra/BlockNetworkWarningDisabled"))
                     .toString(),
                 QLatin1String(disabled ? "true" : "false"));
        MainWindowProbe p(window());
        p.blockNetworkWarningDisabled() = !disabled;
        window()->loadSettings(Set_Extra);
        QCOMPARE(p.blockNetworkWarningDisabled(), disabled);
    }

    void unwritableSettingsFileLosesNothing_data()
    {
        QTest::addColumn<int>("section");
        QTest::newRow("general") << int(Set_General);
        QTest::newRow("language") << int(Set_Language);
        QTest::newRow("last connection") << int(Set_LastConnection);
        QTest::newRow("statistics window") << int(Set_StatWindow);
    }
    void unwritableSettingsFileLosesNothing()
    {
        QFETCH(int, section);
        const QByteArray content = "[General]\nUDP=false\nLanguage=2\nLastVPN_ID_1=5\n[Keep]\nPad="
            + QByteArray(40000, 'p') + "\n";
        writeFile(content);
        MainWindowProbe p(window());
        p.widget<QRadioButton>("settingProtUDPRButton")->setChecked(true);
        p.box("stngVPNAutoConCheckBox")->setChecked(true);
        p.widget<QComboBox>("settingLanguageComboBox")->setCurrentIndex(3);
        p.servers() = fourServers();
        p.firstServerIndex() = p.secondServerIndex() = 1;
        p.statWindowPosition() = QPoint(40, 50);
        {
            // The rewritten file would outgrow the limit, as on a full disk.
            FileSizeLimit limit(20000);
            QVERIFY(!window()->saveSettings(SettingsType(section)));
            QVERIFY(!window()->removeEmergencyAddress());
        }
        QCOMPARE(readFile(), content);
        // The window still holds what it could not write, and writes it once it can.
        QVERIFY(p.widget<QRadioButton>("settingProtUDPRButton")->isChecked());
        QVERIFY(p.box("stngVPNAutoConCheckBox")->isChecked());
        QVERIFY(window()->saveSettings(SettingsType(section)));
        QSettings file(m_file, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Keep/Pad")).toByteArray(), QByteArray(40000, 'p'));
        switch (section) {
        case Set_General:
            QCOMPARE(file.value(QStringLiteral("UDP")).toString(), QStringLiteral("true"));
            QCOMPARE(file.value(QStringLiteral("AutoConnect")).toString(), QStringLiteral("true"));
            break;
        case Set_Language:
            QCOMPARE(file.value(QStringLiteral("Language")).toInt(), 4);
            break;
        case Set_LastConnection:
            QCOMPARE(file.value(QStringLiteral("LastVPN_ID_1")).toInt(), 12);
            break;
        case Set_StatWindow:
            QCOMPARE(file.value(QStringLiteral("StatWidget/ScreenPosition")).toPoint(),
                     QPoint(40, 50));
            break;
        }
    }

private:
    MainWindow *window() { return m_window.get(); }

    // An empty content stands for a data folder without settings.ini.
    void writeFile(const QByteArray &content)
    {
        QFile::remove(m_file);
        if (content.isEmpty())
            return;
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    QByteArray readFile() const
    {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

    static QVector<bool> favoriteFlags(MainWindowProbe &p)
    {
        QVector<bool> flags;
        for (const VPNServer &s : p.servers())
            flags.append(s.favorite);
        return flags;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    std::unique_ptr<MainWindow> m_window;
};

KESTRUNE_TEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"

#include "buildconfig.h"
#include "core/favoriterules.h"
#include "core/languagechoice.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "core/storedpassword.h"
#include "core/stringcipher.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"

#include <memory>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

namespace {

GeneralSettings changedGeneral()
{
    GeneralSettings values;
    values.loginData = {true, QStringLiteral("alice@example.com"), QStringLiteral("s3cret, pw=1")};
    values.udp = false;
    values.packageId = 4711;
    values.lockConnection = true;
    values.autoConnect = true;
    values.startMinimized = true;
    values.showStatOnConnect = true;
    values.systemAutostart = true;
    values.checkAvailableServers = true;
    values.serverMirrorConfig = true;
    values.requestTimeout = 12000;
    values.dnsProtection = false;
    return values;
}

FavoritesSettings singleFavorites(int type, const QStringList &addresses)
{
    FavoritesSettings values;
    values.subscriptionType = type;
    values.addresses = addresses;
    return values;
}

FavoritesSettings doubleFavorites(const QVector<DoubleFavorite> &pairs)
{
    FavoritesSettings values;
    values.subscriptionType = 2;
    values.pairs = pairs;
    return values;
}

// A file QSettings cannot make sense of: bytes of every value, lines of random length.
QByteArray binaryContent()
{
    QRandomGenerator random(7);
    QByteArray bytes(4096, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(GeneralSettings)
Q_DECLARE_METATYPE(FavoritesSettings)
Q_DECLARE_METATYPE(LastConnectionSettings)
Q_DECLARE_METATYPE(StatWindowSettings)
Q_DECLARE_METATYPE(QVector<bool>)
Q_DECLARE_METATYPE(QVector<QVector<int>>)
Q_DECLARE_METATYPE(QVector<DoubleFavorite>)

class TestSettingsStore : public QObject
{
    Q_OBJECT

public:
    TestSettingsStore() = default;

private:
    QTemporaryDir m_logDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    QStringList m_log;

    void writeFile(const QByteArray &content)
    {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), qint64(content.size()));
    }

    QByteArray readFile() const
    {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

    QStringList fileKeys() const
    {
        QSettings settings(m_file, QSettings::IniFormat);
        QStringList keys = settings.allKeys();
        keys.sort();
        return keys;
    }

    QVariant rawValue(const QString &key) const
    {
        return QSettings(m_file, QSettings::IniFormat).value(key);
    }

    // The log lines written since the test began, without their time stamps.
    QStringList logTexts() const
    {
        QStringList texts;
        for (QString line : m_log)
            texts.append(line.remove(QRegularExpression(QStringLiteral("^\\[[^\\]]*\\] "))));
        return texts;
    }

    // Writes one section with non-default values; the name is the data row's section.
    bool saveSection(SettingsStore &store, const QString &section)
    {
        if (section == QLatin1String("login data"))
            return store.saveLoginData({true, QStringLiteral("bob"), QStringLiteral("pw")});
        if (section == QLatin1String("general"))
            return store.saveGeneral(changedGeneral());
        if (section == QLatin1String("premium favorites"))
            return store.saveFavorites(singleFavorites(1, {QStringLiteral("10.0.0.1")}));
        if (section == QLatin1String("onion favorites"))
            return store.saveFavorites(singleFavorites(3, {QStringLiteral("10.0.0.1")}));
        if (section == QLatin1String("free favorites"))
            return store.saveFavorites(singleFavorites(4, {QStringLiteral("10.0.0.1")}));
        if (section == QLatin1String("double favorites"))
            return store.saveFavorites(
                doubleFavorites({{QStringLiteral("10.0.0.1"), {QStringLiteral("10.0.0.2")}}}));
        if (section == QLatin1String("last connection"))
            return store.saveLastConnection({5, 6});
        if (section == QLatin1String("favorite ip"))
            return store.saveFavoriteIp({QStringLiteral("Amsterdam"), QStringLiteral("10.0.0.9")});
        if (section == QLatin1String("language"))
            return store.saveLanguage({3});
        if (section == QLatin1String("stat window"))
            return store.saveStatWindow({QPoint(10, 20)});
        if (section == QLatin1String("last version"))
            return store.saveLastVersion();
        if (section == QLatin1String("emergency address"))
            return store.saveEmergencyAddress({QStringLiteral("http://192.0.2.10"), true});
        if (section == QLatin1String("extra"))
            return store.saveExtra({true});
        qFatal("unknown section %s", qPrintable(section));
        return false;
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QVERIFY(m_logDir.isValid());
        Loger::init(m_logDir.path(), false, false, QStringLiteral("settings_test_log"));
        connect(Loger::notifier(), &Loger::lineAdded, this,
                [this](const QString &line) { m_log.append(line); });
    }

    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_file = SettingsStore::fileNameIn(m_dir->path());
        m_log.clear();
    }

    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void cleanupTestCase() { Loger::close(); }

    void firstStartWithoutFileReadsDefaults()
    {
        SettingsStore store(m_file);
        QCOMPARE(store.loadGeneral(), GeneralSettings());
        QVERIFY(store.loadGeneral().loginData.rememberMe);
        QVERIFY(store.loadGeneral().udp);
        QVERIFY(store.loadGeneral().dnsProtection);
        QCOMPARE(store.loadGeneral().requestTimeout, 5000);
        QCOMPARE(store.loadGeneral().packageId, -1);
        for (int type = 1; type <= 4; ++type)
            QCOMPARE(store.loadFavorites(type), singleFavorites(type, {}));
        QCOMPARE(store.loadLastConnection(), LastConnectionSettings());
        QVERIFY(!store.loadLastConnection().hasConnection());
        QCOMPARE(store.loadFavoriteIp(QStringLiteral("Amsterdam")).address, QString());
        QCOMPARE(store.loadLanguage().language, 0);
        QCOMPARE(store.loadStatWindow().screenPosition, QPoint(-1, -1));
        QVERIFY(!store.loadStatWindow().hasPosition());
        QCOMPARE(store.loadLastVersion().lastLaunchedVersion, QString());
        QCOMPARE(store.loadEmergencyAddress(),
                 (EmergencyAddressSettings {
                     QString::fromLatin1(BuildConfig::DefaultEmergencyAddress), false}));
        QCOMPARE(store.loadExtra(), ExtraSettings());
        QVERIFY2(!QFile::exists(m_file), "reading must not create the file");
    }

    void versionChangeRecordsVersionAndDropsEmergencyAddress_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("changed");
        QTest::newRow("first start without a file") << QByteArray() << true;
        QTest::newRow("older version") << QByteArray("[General]\nLastLaunchedVersion=1.25.3\n"
                                                     "EmergencyAddress=http://203.0.113.5\n")
                                       << true;
        QTest::newRow("version compared as exact text")
            << QByteArray("[General]\nLastLaunchedVersion=1.26.00\n"
                          "EmergencyAddress=http://203.0.113.5\n")
            << true;
        QTest::newRow("same version keeps the stored address")
            << QByteArray("[General]\nLastLaunchedVersion=1.26.0\n"
                          "EmergencyAddress=http://203.0.113.5\n")
            << false;
    }
    void versionChangeRecordsVersionAndDropsEmergencyAddress()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, changed);
        if (!content.isEmpty())
            writeFile(content);
        SettingsStore store(m_file);
        QCOMPARE(store.updateLastVersion(), changed);
        QCOMPARE(rawValue(QStringLiteral("LastLaunchedVersion")).toString(),
                 QStringLiteral("1.26.0"));
        QCOMPARE(fileKeys().contains(QStringLiteral("EmergencyAddress")), !changed);
        QCOMPARE(store.loadEmergencyAddress().address,
                 changed ? QString::fromLatin1(BuildConfig::DefaultEmergencyAddress)
                         : QStringLiteral("http://203.0.113.5"));
        QVERIFY(!store.updateLastVersion());
    }

    // Files as earlier installations wrote them.
    void generalSectionOfEarlierInstallationsLoads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<GeneralSettings>("expected");

        GeneralSettings all = changedGeneral();
        all.loginData = {true, QStringLiteral("user@example.com"), QStringLiteral("s3cret!")};
        all.requestTimeout = 8000;
        QTest::newRow("every key set") << QByteArray("[General]\n"
                                                     "AutoConnect=true\n"
                                                     "CheckAvailableServers=true\n"
                                                     "DNSProtection=false\n"
                                                     "LockConnection=true\n"
                                                     "Login=user@example.com\n"
                                                     "PackageID=4711\n"
                                                     "Password=AwIpk/+Mv9yuy8rr\n"
                                                     "RememberMe=true\n"
                                                     "RequestTimeout=8000\n"
                                                     "ServerMirrorConfig=true\n"
                                                     "StartMinimized=true\n"
                                                     "SystemAutostart=true\n"
                                                     "UDP=false\n"
                                                     "\n"
                                                     "[StatWidget]\n"
                                                     "ShowOnConnect=true\n"
                                                     "ScreenPosition=@Point(120 340)\n")
                                       << all;

        GeneralSettings latin;
        latin.loginData = {true, QString::fromUtf8("élise"), QString::fromUtf8("pässwörd")};
        QTest::newRow("login escaped beyond ascii, key above code 127")
            << QByteArray("[General]\r\nLogin=\\xe9lise\r\nPassword=AwLoNfl2ShGdEY+z+nfs\r\n")
            << latin;

        GeneralSettings forgotten;
        forgotten.loginData = {false, QString(), QString()};
        QTest::newRow("remember-me unchecked")
            << QByteArray("[General]\nRememberMe=false\nLogin=\nPassword=\n") << forgotten;

        GeneralSettings edited;
        edited.loginData = {true, QStringLiteral("xuser@example.com"), QString()};
        QTest::newRow("login edited in the file loses the password")
            << QByteArray("[General]\nLogin=xuser@example.com\nPassword=AwIpk/+Mv9yuy8rr\n")
            << edited;
    }
    void generalSectionOfEarlierInstallationsLoads()
    {
        QFETCH(QByteArray, content);
        QFETCH(GeneralSettings, expected);
        writeFile(content);
        const GeneralSettings loaded = SettingsStore(m_file).loadGeneral();
        QCOMPARE(loaded.loginData.login, expected.loginData.login);
        QCOMPARE(loaded.loginData.password, expected.loginData.password);
        QCOMPARE(loaded.loginData.rememberMe, expected.loginData.rememberMe);
        QCOMPARE(loaded.packageId, expected.packageId);
        QCOMPARE(loaded.requestTimeout, expected.requestTimeout);
        QCOMPARE(loaded, expected);
    }

    void otherSectionsOfEarlierInstallationsLoad()
    {
        writeFile("[General]\n"
                  "EmergencyAddress=http://198.51.100.77\n"
                  "EmergencyAddressUseByDef=true\n"
                  "Language=4\n"
                  "LastLaunchedVersion=1.25.1\n"
                  "LastVPN_ID_1=118\n"
                  "LastVPN_ID_2=42\n"
                  "\n"
                  "[Extra]\n"
                  "BlockNetworkWarningDisabled=true\n"
                  "\n"
                  "[Favorives]\n"
                  "Amsterdam_favoriteIP=185.0.0.7\n"
                  "DoubleSub\\1\\IPInput=10.1.0.1\n"
                  "DoubleSub\\1\\IPOutput\\1\\IP=10.1.0.3\n"
                  "DoubleSub\\1\\IPOutput\\2\\IP=10.1.0.4\n"
                  "DoubleSub\\1\\IPOutput\\size=2\n"
                  "DoubleSub\\2\\IPInput=10.1.0.2\n"
                  "DoubleSub\\2\\IPOutput\\1\\IP=10.1.0.1\n"
                  "DoubleSub\\2\\IPOutput\\size=1\n"
                  "DoubleSub\\size=2\n"
                  "FreeSub\\1\\IP=10.4.0.1\n"
                  "FreeSub\\size=1\n"
                  "OnionSub\\size=0\n"
                  "PremiumSub\\1\\IP=10.0.0.1\n"
                  "PremiumSub\\2\\IP=10.0.0.7\n"
                  "PremiumSub\\size=2\n"
                  "\n"
                  "[StatWidget]\n"
                  "ScreenPosition=@Point(-1200 35)\n");
        SettingsStore store(m_file);
        QCOMPARE(store.loadFavorites(1).addresses,
                 (QStringList {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.7")}));
        QCOMPARE(store.loadFavorites(3).addresses, QStringList());
        QCOMPARE(store.loadFavorites(4).addresses, QStringList {QStringLiteral("10.4.0.1")});
        const QVector<DoubleFavorite> pairs {
            {QStringLiteral("10.1.0.1"), {QStringLiteral("10.1.0.3"), QStringLiteral("10.1.0.4")}},
            {QStringLiteral("10.1.0.2"), {QStringLiteral("10.1.0.1")}}};
        QCOMPARE(store.loadFavorites(2).pairs, pairs);
        QCOMPARE(store.loadFavoriteIp(QStringLiteral("Amsterdam")).address,
                 QStringLiteral("185.0.0.7"));
        QCOMPARE(store.loadLastConnection(), (LastConnectionSettings {118, 42}));
        QCOMPARE(store.loadLanguage().language, 4);
        QCOMPARE(store.loadStatWindow().screenPosition, QPoint(-1200, 35));
        QCOMPARE(store.loadLastVersion().lastLaunchedVersion, QStringLiteral("1.25.1"));
        QCOMPARE(store.loadEmergencyAddress(),
                 (EmergencyAddressSettings {QStringLiteral("http://198.51.100.77"), true}));
        QVERIFY(store.loadExtra().blockNetworkWarningDisabled);
    }

    void sectionWritesExactlyItsKeys_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("keys");
        const QStringList login {"Login", "Password", "RememberMe"};
        QTest::newRow("login data") << "login data" << login;
        QTest::newRow("general") << "general"
                                 << QStringList {"AutoConnect",     "CheckAvailableServers",
                                                 "DNSProtection",   "LockConnection",
                                                 "Login",           "PackageID",
                                                 "Password",        "RememberMe",
                                                 "RequestTimeout",  "ServerMirrorConfig",
                                                 "StartMinimized",  "StatWidget/ShowOnConnect",
                                                 "SystemAutostart", "UDP"};
        QTest::newRow("premium favorites")
            << "premium favorites"
            << QStringList {"Favorives/PremiumSub/1/IP", "Favorives/PremiumSub/size"};
        QTest::newRow("onion favorites")
            << "onion favorites"
            << QStringList {"Favorives/OnionSub/1/IP", "Favorives/OnionSub/size"};
        QTest::newRow("free favorites")
            << "free favorites" << QStringList {"Favorives/FreeSub/1/IP", "Favorives/FreeSub/size"};
        QTest::newRow("double favorites")
            << "double favorites"
            << QStringList {"Favorives/DoubleSub/1/IPInput", "Favorives/DoubleSub/1/IPOutput/1/IP",
                            "Favorives/DoubleSub/1/IPOutput/size", "Favorives/DoubleSub/size"};
        QTest::newRow("last connection")
            << "last connection" << QStringList {"LastVPN_ID_1", "LastVPN_ID_2"};
        QTest::newRow("favorite ip")
            << "favorite ip" << QStringList {"Favorives/Amsterdam_favoriteIP"};
        QTest::newRow("language") << "language" << QStringList {"Language"};
        QTest::newRow("stat window") << "stat window" << QStringList {"StatWidget/ScreenPosition"};
        QTest::newRow("last version") << "last version" << QStringList {"LastLaunchedVersion"};
        QTest::newRow("emergency address")
            << "emergency address" << QStringList {"EmergencyAddress", "EmergencyAddressUseByDef"};
        QTest::newRow("extra") << "extra" << QStringList {"Extra/BlockNetworkWarningDisabled"};
    }
    void sectionWritesExactlyItsKeys()
    {
        QFETCH(QString, section);
        QFETCH(QStringList, keys);
        SettingsStore store(m_file);
        QVERIFY(saveSection(store, section));
        QCOMPARE(fileKeys(), keys);
    }

    void fileTextFollowsQtIniConventions()
    {
        SettingsStore store(m_file);
        QVERIFY(store.saveGeneral(changedGeneral()));
        QVERIFY(store.saveFavorites(
            singleFavorites(1, {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")})));
        QVERIFY(store.saveFavorites(
            doubleFavorites({{QStringLiteral("10.1.0.1"),
                              {QStringLiteral("10.1.0.3"), QStringLiteral("10.1.0.4")}}})));
        QVERIFY(store.saveStatWindow({QPoint(120, 340)}));
        const QString text = QString::fromLatin1(readFile());
        const QStringList expectedLines {
            "[General]",
            "RememberMe=true",
            "UDP=false",
            "RequestTimeout=12000",
            "[Favorives]",
            "PremiumSub\\1\\IP=10.0.0.1",
            "PremiumSub\\2\\IP=10.0.0.2",
            "PremiumSub\\size=2",
            "DoubleSub\\1\\IPInput=10.1.0.1",
            "DoubleSub\\1\\IPOutput\\1\\IP=10.1.0.3",
            "DoubleSub\\1\\IPOutput\\2\\IP=10.1.0.4",
            "DoubleSub\\1\\IPOutput\\size=2",
            "DoubleSub\\size=1",
            "[StatWidget]",
            "ShowOnConnect=true",
            "ScreenPosition=@Point(120 340)",
        };
        const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
        for (const QString &line : expectedLines)
            QVERIFY2(lines.contains(line),
                     qPrintable(line + QStringLiteral(" missing in:\n") + text));
    }

    void generalRoundTrips_data()
    {
        QTest::addColumn<GeneralSettings>("values");
        QTest::newRow("defaults") << GeneralSettings();
        QTest::newRow("every option changed") << changedGeneral();
        GeneralSettings unicode = changedGeneral();
        unicode.loginData = {true, QString::fromUtf8("ñandú@example.com"),
                             QString::fromUtf8("контра密码 ;=\"\\")};
        QTest::newRow("login and password beyond ascii") << unicode;
        GeneralSettings wide = changedGeneral();
        wide.loginData = {true, QString::fromUtf8("Жанна"), QStringLiteral("pw")};
        QTest::newRow("login above code 255") << wide;
        GeneralSettings empty = changedGeneral();
        empty.loginData = {true, QString(), QString()};
        QTest::newRow("remembered but empty") << empty;
        GeneralSettings punctuation = changedGeneral();
        punctuation.loginData
            = {true, QStringLiteral("bob, \"the\" builder; [x]=y"), QStringLiteral("a,b")};
        QTest::newRow("login with commas, quotes and brackets") << punctuation;
        GeneralSettings longPassword = changedGeneral();
        longPassword.loginData.password = QStringLiteral("abcdefgh").repeated(40);
        QTest::newRow("long compressible password") << longPassword;
    }
    void generalRoundTrips()
    {
        QFETCH(GeneralSettings, values);
        SettingsStore store(m_file);
        QVERIFY(store.saveGeneral(values));
        QCOMPARE(store.loadGeneral(), values);
    }

    void loginDataRoundTripsThroughGeneral()
    {
        SettingsStore store(m_file);
        QVERIFY(store.saveGeneral(changedGeneral()));
        const LoginDataSettings login {true, QStringLiteral("carol"), QStringLiteral("n3w")};
        QVERIFY(store.saveLoginData(login));
        GeneralSettings expected = changedGeneral();
        expected.loginData = login;
        QCOMPARE(store.loadGeneral(), expected);
    }

    void rememberMeUncheckedWritesEmptyLoginAndPassword_data()
    {
        QTest::addColumn<bool>("general");
        QTest::newRow("sign-in") << false;
        QTest::newRow("general options") << true;
    }
    void rememberMeUncheckedWritesEmptyLoginAndPassword()
    {
        QFETCH(bool, general);
        SettingsStore store(m_file);
        QVERIFY(store.saveLoginData({true, QStringLiteral("bob"), QStringLiteral("pw")}));
        const LoginDataSettings forget {false, QStringLiteral("bob"), QStringLiteral("pw")};
        if (general) {
            GeneralSettings values = changedGeneral();
            values.loginData = forget;
            QVERIFY(store.saveGeneral(values));
        } else {
            QVERIFY(store.saveLoginData(forget));
        }
        QCOMPARE(rawValue(QStringLiteral("RememberMe")).toString(), QStringLiteral("false"));
        QVERIFY(fileKeys().contains(QStringLiteral("Login")));
        QCOMPARE(rawValue(QStringLiteral("Login")).toString(), QString());
        QVERIFY(fileKeys().contains(QStringLiteral("Password")));
        QCOMPARE(rawValue(QStringLiteral("Password")).toString(), QString());
    }

    void passwordIsStoredEnciphered_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<quint64>("key");
        QTest::newRow("ascii login") << "dave" << quint64('d');
        QTest::newRow("login above code 127")
            << QString::fromUtf8("éric") << quint64(0xffffffffffffffe9ULL);
        QTest::newRow("login above code 255 takes the built-in key")
            << QString::fromUtf8("Жанна") << quint64(StoredPassword::DefaultKeyByte);
        QTest::newRow("empty login takes the built-in key")
            << QString() << quint64(StoredPassword::DefaultKeyByte);
    }
    void passwordIsStoredEnciphered()
    {
        QFETCH(QString, login);
        QFETCH(quint64, key);
        SettingsStore store(m_file);
        QVERIFY(store.saveLoginData({true, login, QStringLiteral("my password")}));
        const QString stored = rawValue(QStringLiteral("Password")).toString();
        QVERIFY(!stored.contains(QStringLiteral("password")));
        QCOMPARE(QByteArray::fromBase64(stored.toLatin1()).at(0), char(3));
        StringCipher cipher(key);
        QCOMPARE(cipher.decryptToString(stored), QStringLiteral("my password"));
    }

    void favoritesRoundTrip_data()
    {
        QTest::addColumn<FavoritesSettings>("values");
        QTest::newRow("premium") << singleFavorites(
            1,
            {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.5"), QStringLiteral("10.0.0.3")});
        QTest::newRow("onion") << singleFavorites(3, {QStringLiteral("10.3.0.1")});
        QTest::newRow("free") << singleFavorites(4, {QStringLiteral("10.4.0.1")});
        QTest::newRow("premium, none") << singleFavorites(1, {});
        QTest::newRow("double, entry with two exits") << doubleFavorites(
            {{QStringLiteral("10.1.0.1"), {QStringLiteral("10.1.0.3"), QStringLiteral("10.1.0.4")}},
             {QStringLiteral("10.1.0.2"), {QStringLiteral("10.1.0.1")}}});
        QTest::newRow("double, entry without exits")
            << doubleFavorites({{QStringLiteral("10.1.0.1"), {}}});
        QTest::newRow("double, none") << doubleFavorites({});
    }
    void favoritesRoundTrip()
    {
        QFETCH(FavoritesSettings, values);
        SettingsStore store(m_file);
        // Every type keeps its own array.
        QVERIFY(store.saveFavorites(
            singleFavorites(values.subscriptionType == 1 ? 3 : 1, {QStringLiteral("192.0.2.1")})));
        QVERIFY(store.saveFavorites(values));
        QCOMPARE(store.loadFavorites(values.subscriptionType), values);
        QCOMPARE(store.loadFavorites(values.subscriptionType == 1 ? 3 : 1).addresses,
                 QStringList {QStringLiteral("192.0.2.1")});
    }

    void clearedMiddleFavoriteLeavesNoGap()
    {
        const QStringList servers {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
        SettingsStore store(m_file);
        QVERIFY(store.saveFavorites(
            singleFavorites(1, FavoriteRules::addressesToStore(servers, {true, true, true}))));
        QVERIFY(store.saveFavorites(
            singleFavorites(1, FavoriteRules::addressesToStore(servers, {true, false, true}))));
        QCOMPARE(fileKeys(),
                 (QStringList {"Favorives/PremiumSub/1/IP", "Favorives/PremiumSub/2/IP",
                               "Favorives/PremiumSub/size"}));
        QCOMPARE(rawValue(QStringLiteral("Favorives/PremiumSub/1/IP")).toString(),
                 QStringLiteral("10.0.0.1"));
        QCOMPARE(rawValue(QStringLiteral("Favorives/PremiumSub/2/IP")).toString(),
                 QStringLiteral("10.0.0.3"));
        QCOMPARE(rawValue(QStringLiteral("Favorives/PremiumSub/size")).toInt(), 2);
    }

    void doubleFavoriteWithTwoExitsRestoresBoth()
    {
        writeFile("[Favorives]\n"
                  "DoubleSub\\1\\IPInput=10.1.0.2\n"
                  "DoubleSub\\1\\IPOutput\\1\\IP=10.1.0.4\n"
                  "DoubleSub\\1\\IPOutput\\2\\IP=10.1.0.1\n"
                  "DoubleSub\\1\\IPOutput\\size=2\n"
                  "DoubleSub\\size=1\n");
        const QStringList servers {"10.1.0.1", "10.1.0.2", "10.1.0.3", "10.1.0.4"};
        SettingsStore store(m_file);
        const QVector<QVector<int>> exits
            = FavoriteRules::restoreFavoriteExits(store.loadFavorites(2).pairs, servers);
        QCOMPARE(exits, (QVector<QVector<int>> {{}, {3, 0}, {}, {}}));

        // Written back, the exits follow the server list's order.
        QVERIFY(store.saveFavorites(doubleFavorites(FavoriteRules::pairsToStore(servers, exits))));
        QCOMPARE(
            store.loadFavorites(2).pairs,
            (QVector<DoubleFavorite> {{QStringLiteral("10.1.0.2"),
                                       {QStringLiteral("10.1.0.1"), QStringLiteral("10.1.0.4")}}}));
    }

    void storedFavoriteMarksServers_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QVector<bool>>("marked");
        QTest::newRow("longer stored address marks the server that comes first")
            << QStringList {"10.0.0.12"} << QStringList {"10.0.0.1", "10.0.0.12"}
            << QVector<bool> {true, false};
        QTest::newRow("exact server first")
            << QStringList {"10.0.0.12"} << QStringList {"10.0.0.12", "10.0.0.1"}
            << QVector<bool> {true, false};
        QTest::newRow("each entry marks one server")
            << QStringList {"10.0.0.3", "10.0.0.2"}
            << QStringList {"10.0.0.1", "10.0.0.2", "10.0.0.3"}
            << QVector<bool> {false, true, true};
        QTest::newRow("unknown address is ignored")
            << QStringList {"192.0.2.1"} << QStringList {"10.0.0.1"} << QVector<bool> {false};
        QTest::newRow("server without address is never marked")
            << QStringList {"10.0.0.2"} << QStringList {"", "10.0.0.2"}
            << QVector<bool> {false, true};
        QTest::newRow("empty stored entry marks nothing")
            << QStringList {""} << QStringList {"10.0.0.1"} << QVector<bool> {false};
    }
    void storedFavoriteMarksServers()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, servers);
        QFETCH(QVector<bool>, marked);
        QCOMPARE(FavoriteRules::markFavorites(stored, servers), marked);
    }

    void storedPairsRestoreExits_data()
    {
        QTest::addColumn<QVector<DoubleFavorite>>("stored");
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QVector<QVector<int>>>("exits");
        const QStringList servers {"10.0.0.1", "10.0.0.12", "10.0.0.3"};
        QTest::newRow("exits are compared exactly")
            << QVector<DoubleFavorite> {{"10.0.0.3", {"10.0.0.1", "10.0.0.", "10.0.0.12 "}}}
            << servers << QVector<QVector<int>> {{}, {}, {0}};
        QTest::newRow("entry marks every server it contains")
            << QVector<DoubleFavorite> {{"10.0.0.12", {"10.0.0.3"}}} << servers
            << QVector<QVector<int>> {{2}, {2}, {}};
        QTest::newRow("exit no longer listed is dropped")
            << QVector<DoubleFavorite> {{"10.0.0.3", {"192.0.2.1", "10.0.0.12"}}} << servers
            << QVector<QVector<int>> {{}, {}, {1}};
        QTest::newRow("entry never becomes its own exit")
            << QVector<DoubleFavorite> {{"10.0.0.3", {"10.0.0.3", "10.0.0.1"}}} << servers
            << QVector<QVector<int>> {{}, {}, {0}};
        QTest::newRow("same exit twice counts once")
            << QVector<DoubleFavorite> {{"10.0.0.3", {"10.0.0.1"}}, {"10.0.0.3", {"10.0.0.1"}}}
            << servers << QVector<QVector<int>> {{}, {}, {0}};
        QTest::newRow("unknown entry is ignored")
            << QVector<DoubleFavorite> {{"192.0.2.1", {"10.0.0.1"}}} << servers
            << QVector<QVector<int>> {{}, {}, {}};
    }
    void storedPairsRestoreExits()
    {
        QFETCH(QVector<DoubleFavorite>, stored);
        QFETCH(QStringList, servers);
        QFETCH(QVector<QVector<int>>, exits);
        QCOMPARE(FavoriteRules::restoreFavoriteExits(stored, servers), exits);
    }

    void pairsAreStoredInListOrder()
    {
        const QStringList servers {"a", "b", "c", "d"};
        const QVector<QVector<int>> exits {{3, 1, 0}, {}, {1}, {}};
        QCOMPARE(FavoriteRules::pairsToStore(servers, exits),
                 (QVector<DoubleFavorite> {{"a", {"b", "d"}}, {"c", {"b"}}}));
    }

    void invalidSubscriptionTypeKeepsFavorites_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("zero") << 0;
        QTest::newRow("five") << 5;
        QTest::newRow("negative") << -1;
    }
    void invalidSubscriptionTypeKeepsFavorites()
    {
        QFETCH(int, type);
        SettingsStore store(m_file);
        QVERIFY(store.saveFavorites(singleFavorites(1, {QStringLiteral("10.0.0.1")})));
        const QByteArray before = readFile();
        m_log.clear();

        FavoritesSettings values = singleFavorites(type, {QStringLiteral("10.0.0.9")});
        values.pairs = {{QStringLiteral("10.0.0.9"), {QStringLiteral("10.0.0.8")}}};
        store.saveFavorites(values);
        QCOMPARE(readFile(), before);
        const FavoritesSettings loaded = store.loadFavorites(type);
        QVERIFY(loaded.addresses.isEmpty());
        QVERIFY(loaded.pairs.isEmpty());
        QCOMPARE(logTexts(),
                 (QStringList {
                     QStringLiteral("App's settings saving error: invalid subscription type (%0)")
                         .arg(type),
                     QStringLiteral("App's settings saved in file: favorites"),
                     QStringLiteral("App's settings loading error: invalid subscription type (%0)")
                         .arg(type),
                     QStringLiteral("App's settings loaded from file: favorites")}));
    }

    void smallSectionsRoundTrip()
    {
        SettingsStore store(m_file);
        const QVector<LastConnectionSettings> connections {{-1, -1}, {12, 12}, {3, 7}};
        for (const LastConnectionSettings &values : connections) {
            QVERIFY(store.saveLastConnection(values));
            QCOMPARE(store.loadLastConnection(), values);
        }
        for (int language = 0; language <= 5; ++language) {
            QVERIFY(store.saveLanguage({language}));
            QCOMPARE(store.loadLanguage().language, language);
        }
        const QVector<QPoint> positions {{-1, -1}, {0, 0}, {120, 340}, {-1600, 20}};
        for (const QPoint &position : positions) {
            QVERIFY(store.saveStatWindow({position}));
            QCOMPARE(store.loadStatWindow().screenPosition, position);
        }
        const QVector<EmergencyAddressSettings> addresses {
            {QStringLiteral("http://192.0.2.10"), true},
            {QStringLiteral("http://192.0.2.11:8080"), false}};
        for (const EmergencyAddressSettings &values : addresses) {
            QVERIFY(store.saveEmergencyAddress(values));
            QCOMPARE(store.loadEmergencyAddress(), values);
        }
        QVERIFY(store.saveEmergencyAddress({QString(), false}));
        QCOMPARE(store.loadEmergencyAddress().address,
                 QString::fromLatin1(BuildConfig::DefaultEmergencyAddress));
        for (bool disabled : {true, false}) {
            QVERIFY(store.saveExtra({disabled}));
            QCOMPARE(store.loadExtra().blockNetworkWarningDisabled, disabled);
        }
        QVERIFY(store.saveLastVersion());
        QCOMPARE(store.loadLastVersion().lastLaunchedVersion, QStringLiteral("1.26.0"));
    }

    void favoriteIpIsKeptPerCity_data()
    {
        QTest::addColumn<QString>("city");
        QTest::newRow("ascii") << "Amsterdam";
        QTest::newRow("with a space") << "New York";
        QTest::newRow("cyrillic") << QString::fromUtf8("Москва");
        QTest::newRow("accented") << QString::fromUtf8("São Paulo");
    }
    void favoriteIpIsKeptPerCity()
    {
        QFETCH(QString, city);
        SettingsStore store(m_file);
        QVERIFY(store.saveFavoriteIp({QStringLiteral("Elsewhere"), QStringLiteral("10.9.9.9")}));
        QVERIFY(store.saveFavoriteIp({city, QStringLiteral("10.0.0.77")}));
        QCOMPARE(store.loadFavoriteIp(city).address, QStringLiteral("10.0.0.77"));
        QCOMPARE(store.loadFavoriteIp(QStringLiteral("Elsewhere")).address,
                 QStringLiteral("10.9.9.9"));
        QCOMPARE(store.loadFavoriteIp(city + QLatin1Char('x')).address, QString());
    }

    void logLinesNameTheSection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("login data") << "login data"
                                    << "login data"
                                    << "";
        QTest::newRow("general") << "general"
                                 << "general"
                                 << "general";
        QTest::newRow("favorites") << "premium favorites"
                                   << "favorites"
                                   << "favorites";
        QTest::newRow("last connection") << "last connection"
                                         << "last connection data"
                                         << "last connection data";
        QTest::newRow("favorite ip") << "favorite ip"
                                     << "VPN server's favorite IP"
                                     << "VPN server's favorite IP";
        QTest::newRow("language") << "language"
                                  << "app's language"
                                  << "app's language";
        QTest::newRow("stat window") << "stat window"
                                     << "stat window"
                                     << "stat window";
        QTest::newRow("last version") << "last version"
                                      << "last launched version"
                                      << "last launched version";
        QTest::newRow("emergency address") << "emergency address"
                                           << "emergency addresses"
                                           << "emergency addresses";
        QTest::newRow("extra") << "extra"
                               << "additional"
                               << "additional";
    }
    void logLinesNameTheSection()
    {
        QFETCH(QString, section);
        QFETCH(QString, saved);
        QFETCH(QString, loaded);
        SettingsStore store(m_file);
        QVERIFY(saveSection(store, section));
        if (section == QLatin1String("login data"))
            store.loadLoginData();
        else if (section == QLatin1String("general"))
            store.loadGeneral();
        else if (section == QLatin1String("premium favorites"))
            store.loadFavorites(1);
        else if (section == QLatin1String("last connection"))
            store.loadLastConnection();
        else if (section == QLatin1String("favorite ip"))
            store.loadFavoriteIp(QStringLiteral("Amsterdam"));
        else if (section == QLatin1String("language"))
            store.loadLanguage();
        else if (section == QLatin1String("stat window"))
            store.loadStatWindow();
        else if (section == QLatin1String("last version"))
            store.loadLastVersion();
        else if (section == QLatin1String("emergency address"))
            store.loadEmergencyAddress();
        else
            store.loadExtra();
        QCOMPARE(logTexts(),
                 (QStringList {QStringLiteral("App's settings saved in file: ") + saved,
                               QStringLiteral("App's settings loaded from file: ") + loaded}));
        QVERIFY(!m_log.join(QLatin1Char('\n')).contains(QStringLiteral("pw")));
    }

    void passwordNeverReachesTheLog()
    {
        SettingsStore store(m_file);
        GeneralSettings values = changedGeneral();
        values.loginData.password = QStringLiteral("Tr0ub4dor&3");
        QVERIFY(store.saveGeneral(values));
        QCOMPARE(store.loadGeneral().loginData.password, values.loginData.password);
        const QString stored = rawValue(QStringLiteral("Password")).toString();
        const QString log = m_log.join(QLatin1Char('\n'));
        QVERIFY(!log.contains(values.loginData.password));
        QVERIFY(!log.contains(stored));
    }

    void badInputReadsAsDefaultsAndKeepsOtherKeys_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<GeneralSettings>("general");
        QTest::addColumn<QStringList>("premium");
        QTest::addColumn<int>("language");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<LastConnectionSettings>("last");

        const QStringList none;
        const QPoint noPosition(-1, -1);
        GeneralSettings defaults;

        GeneralSettings garbage;
        garbage.udp = false;
        garbage.requestTimeout = 7000;
        QTest::newRow("garbage lines")
            << QByteArray("[General]\nthis is not a key\nUDP=false\n;comment\n\x01\x02\x03\n=\n"
                          "RequestTimeout=7000\n[[[\nLanguage=3\n[Keep]\nMe=1\n")
            << garbage << none << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("wrong types")
            << QByteArray("[General]\nRememberMe=maybe\nUDP=12\nDNSProtection=\nPackageID=abc\n"
                          "RequestTimeout=fast\nLanguage=English\nLastVPN_ID_1=first\n"
                          "LastVPN_ID_2=1.5\nLogin=@Point(1 2)\n[StatWidget]\nScreenPosition=left\n"
                          "[Keep]\nMe=1\n")
            << defaults << none << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("huge numbers")
            << QByteArray("[General]\nPackageID=99999999999999999999\nRequestTimeout=2147483648\n"
                          "Language=7\nLastVPN_ID_1=1e99\nLastVPN_ID_2=-99999999999\n"
                          "[Keep]\nMe=1\n")
            << defaults << none << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("time limit that cannot pass")
            << QByteArray("[General]\nRequestTimeout=-5\nLanguage=-1\n[Keep]\nMe=1\n") << defaults
            << none << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("array size not a number")
            << QByteArray("[Favorives]\nPremiumSub\\size=banana\nPremiumSub\\1\\IP=10.0.0.1\n"
                          "PremiumSub\\2\\IP=10.0.0.2\n[Keep]\nMe=1\n")
            << defaults << QStringList {"10.0.0.1", "10.0.0.2"} << 0 << noPosition
            << LastConnectionSettings();
        QTest::newRow("huge array size")
            << QByteArray("[Favorives]\nPremiumSub\\size=2147483647\nPremiumSub\\1\\IP=10.0.0.1\n"
                          "PremiumSub\\7\\IP=10.0.0.7\nPremiumSub\\x\\IP=10.0.0.9\n"
                          "PremiumSub\\02\\IP=10.0.0.2\n[Keep]\nMe=1\n")
            << defaults << QStringList {"10.0.0.1", "10.0.0.7"} << 0 << noPosition
            << LastConnectionSettings();
        QTest::newRow("negative array size")
            << QByteArray("[Favorives]\nPremiumSub\\size=-3\nPremiumSub\\1\\IP=10.0.0.1\n"
                          "[Keep]\nMe=1\n")
            << defaults << QStringList {"10.0.0.1"} << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("size below the entries present")
            << QByteArray("[Favorives]\nPremiumSub\\size=1\nPremiumSub\\1\\IP=10.0.0.1\n"
                          "PremiumSub\\2\\IP=10.0.0.2\n[Keep]\nMe=1\n")
            << defaults << QStringList {"10.0.0.1"} << 0 << noPosition << LastConnectionSettings();
        GeneralSettings topLevel;
        topLevel.udp = false;
        QTest::newRow("keys without a section")
            << QByteArray("UDP=false\nLanguage=3\nLastVPN_ID_1=8\n[Keep]\nMe=1\n") << topLevel
            << none << 3 << noPosition << LastConnectionSettings {8, -1};
        QTest::newRow("section header never closed")
            << QByteArray("[StatWidget\nScreenPosition=@Point(5 6)\n[Keep]\nMe=1\n") << defaults
            << none << 0 << QPoint(5, 6) << LastConnectionSettings();
        QTest::newRow("empty file")
            << QByteArray() << defaults << none << 0 << noPosition << LastConnectionSettings();
        QTest::newRow("not text") << binaryContent() << defaults << none << 0 << noPosition
                                  << LastConnectionSettings();
    }
    void badInputReadsAsDefaultsAndKeepsOtherKeys()
    {
        QFETCH(QByteArray, content);
        QFETCH(GeneralSettings, general);
        QFETCH(QStringList, premium);
        QFETCH(int, language);
        QFETCH(QPoint, position);
        QFETCH(LastConnectionSettings, last);
        writeFile(content);
        const QStringList keysBefore = fileKeys();

        SettingsStore store(m_file);
        QCOMPARE(store.loadGeneral(), general);
        QCOMPARE(store.loadFavorites(1).addresses, premium);
        QCOMPARE(store.loadLanguage().language, language);
        QCOMPARE(store.loadStatWindow().screenPosition, position);
        QCOMPARE(store.loadLastConnection(), last);

        QVERIFY(store.saveExtra({true}));
        QStringList keysAfter = fileKeys();
        for (const QString &key : keysBefore)
            QVERIFY2(keysAfter.contains(key), qPrintable(key));
        if (content.contains("[Keep]"))
            QCOMPARE(rawValue(QStringLiteral("Keep/Me")).toString(), QStringLiteral("1"));
        QVERIFY(store.loadExtra().blockNetworkWarningDisabled);
        QVERIFY(store.saveGeneral(changedGeneral()));
        QCOMPARE(store.loadGeneral(), changedGeneral());
    }

    void unreadableFileIsCopiedBeforeItIsRewritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("copied");
        QTest::newRow("clean file") << QByteArray("[General]\nUDP=false\n") << false;
        QTest::newRow("line without a value") << QByteArray("[General]\nUDP=false\noops\n") << true;
        QTest::newRow("not text") << binaryContent() << true;
    }
    void unreadableFileIsCopiedBeforeItIsRewritten()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, copied);
        writeFile(content);
        SettingsStore store(m_file);
        QVERIFY(store.saveExtra({true}));
        const QString copyName = m_file + QStringLiteral(".damaged");
        QCOMPARE(QFile::exists(copyName), copied);
        if (copied) {
            QFile copy(copyName);
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), content);
            QVERIFY(logTexts().contains(
                QStringLiteral("App's settings file has lines that cannot be read, a copy is kept "
                               "in file: ")
                + QDir::toNativeSeparators(copyName)));
        }
        // Once rewritten, the file reads cleanly and is not copied again.
        QVERIFY(store.saveExtra({false}));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), copied ? 2 : 1);
    }

    void unwritableFileLosesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray padding = "[Keep]\nPadding=" + QByteArray(40000, 'p') + "\n";
        QTest::newRow("clean file") << QByteArray("[General]\nUDP=false\nLanguage=2\n") + padding;
        QTest::newRow("file with a damaged line")
            << QByteArray("[General]\nUDP=false\nno value here\n") + padding;
    }
    void unwritableFileLosesNothing()
    {
        QFETCH(QByteArray, content);
        writeFile(content);
        SettingsStore store(m_file);
        {
            // The log of this run stays far below the limit; the rewritten file cannot.
            FileSizeLimit limit(20000);
            QVERIFY(!store.saveGeneral(changedGeneral()));
            QVERIFY(!store.saveLanguage({4}));
            QVERIFY(!store.removeEmergencyAddress());
        }
        QCOMPARE(readFile(), content);
        const QStringList texts = logTexts();
        QVERIFY(texts.contains(QStringLiteral("App's settings saving error: file %0 cannot be "
                                              "written (general)")
                                   .arg(QDir::toNativeSeparators(m_file))));
        QVERIFY(texts.contains(QStringLiteral("App's settings saving error: file %0 cannot be "
                                              "written (app's language)")
                                   .arg(QDir::toNativeSeparators(m_file))));
        for (const QString &text : texts)
            QVERIFY2(!text.startsWith(QStringLiteral("App's settings saved")), qPrintable(text));

        // Writable again, the next save succeeds and still keeps the other keys.
        QVERIFY(store.saveExtra({true}));
        QCOMPARE(rawValue(QStringLiteral("Keep/Padding")).toByteArray(), QByteArray(40000, 'p'));
        QCOMPARE(store.loadGeneral().udp, false);
    }

    // Qt 5's QSettings reports success for a file cut short by a failed last write; the
    // store must notice before settings.ini is touched.
    void fileCutShortWhileWritingLosesNothing()
    {
        const QByteArray content("[General]\nUDP=false\nLanguage=2\n");
        QStringList many;
        for (int i = 0; i < 1100; ++i)
            many.append(QStringLiteral("10.%1.%2.1").arg(i / 250).arg(i % 250));

        // The same write on a file of its own tells how long the result is; the limit then
        // lets every buffered write through except the last one.
        const QString sibling = m_dir->path() + QStringLiteral("/sibling.ini");
        {
            QFile file(sibling);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(SettingsStore(sibling).saveFavorites(singleFavorites(1, many)));
        const qint64 size = QFileInfo(sibling).size();
        QVERIFY2(size > 16384 + 1000 && size < 2 * 16384, qPrintable(QString::number(size)));

        writeFile(content);
        SettingsStore store(m_file);
        {
            FileSizeLimit limit(rlim_t(size - 40));
            QVERIFY(!store.saveFavorites(singleFavorites(1, many)));
        }
        QCOMPARE(readFile(), content);
        QVERIFY(store.saveFavorites(singleFavorites(1, many)));
        QCOMPARE(store.loadFavorites(1).addresses, many);
        QCOMPARE(store.loadLanguage().language, 2);
    }

    void settingsPathThatIsAFolderReadsAsDefaults()
    {
        QVERIFY(QDir().mkpath(m_file));
        SettingsStore store(m_file);
        QCOMPARE(store.loadGeneral(), GeneralSettings());
        QVERIFY(!store.saveGeneral(changedGeneral()));
        QVERIFY(QFileInfo(m_file).isDir());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
    }

    void languageIsChosenFromTheSystem_data()
    {
        QTest::addColumn<QLocale::Language>("system");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("locale");
        QTest::newRow("russian") << QLocale::Russian << 1 << true << "ru"
                                 << "ru_RU";
        QTest::newRow("english") << QLocale::English << 2 << true << "en"
                                 << "en_US";
        QTest::newRow("chinese") << QLocale::Chinese << 3 << true << "cn"
                                 << "zh_CN";
        QTest::newRow("spanish") << QLocale::Spanish << 4 << true << "es"
                                 << "es_ES";
        QTest::newRow("ukrainian") << QLocale::Ukrainian << 5 << true << "ua"
                                   << "uk_UA";
        QTest::newRow("german falls back to english") << QLocale::German << 2 << false << "en"
                                                      << "en_US";
    }
    void languageIsChosenFromTheSystem()
    {
        QFETCH(QLocale::Language, system);
        QFETCH(int, value);
        QFETCH(bool, own);
        QFETCH(QString, code);
        QFETCH(QString, locale);
        QCOMPARE(LanguageChoice::valueForSystemLanguage(system), value);
        QCOMPARE(LanguageChoice::isOwnLanguage(system), own);
        QCOMPARE(LanguageChoice::codeForValue(value), code);
        QCOMPARE(LanguageChoice::localeForValue(value).name(), locale);
    }

    void unknownLanguageValueHasNoCode()
    {
        QCOMPARE(LanguageChoice::codeForValue(0), QString());
        QCOMPARE(LanguageChoice::codeForValue(6), QString());
    }
};

KESTRUNE_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"

#include "buildconfig.h"
#include "core/favoriterules.h"
#include "core/languagechoice.h"
#include "core/settingsstore.h"
#include "core/storedpassword.h"
#include "core/stringcipher.h"
#include "support/builders.h"
#include "support/filesizelimit.h"
#include "support/logrecorder.h"
#include "support/testmain.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Every section with values other than its defaults, and settings.ini as it holds them: the
// keys, groups and value forms earlier installations wrote and read. The stored password is
// the one an earlier installation wrote for "s3cret!" and this login.
const QByteArray EveryValueFile
    = "[General]\nAutoConnect=true\nCheckAvailableServers=true\nDNSProtection=false\n"
      "DiagnosisSeconds=12\n"
      "EmergencyAddress=http://198.51.100.77\nEmergencyAddressUseByDef=true\nLanguage=4\n"
      "LastLaunchedVersion=1.26.0\nLastVPN_ID_1=118\nLastVPN_ID_2=42\nLockConnection=true\n"
      "Login=user@example.com\nPackageID=4711\nPassword=AwIpk/+Mv9yuy8rr\nRememberMe=true\n"
      "RequestTimeout=8000\nServerMirrorConfig=true\nStartMinimized=true\n"
      "SwitchRoadAutomatically=true\nSystemAutostart=true\nUDP=false\n\n"
      "[Extra]\nBlockNetworkWarningDisabled=true\n\n"
      "[Favorives]\nDoubleSub\\1\\IPInput=10.1.0.1\nDoubleSub\\1\\IPOutput\\1\\IP=10.1.0.3\n"
      "DoubleSub\\1\\IPOutput\\2\\IP=10.1.0.4\nDoubleSub\\1\\IPOutput\\size=2\n"
      "DoubleSub\\2\\IPInput=10.1.0.2\nDoubleSub\\2\\IPOutput\\size=0\nDoubleSub\\size=2\n"
      "FreeSub\\1\\IP=10.4.0.1\nFreeSub\\size=1\nOnionSub\\size=0\n"
      "PremiumSub\\1\\IP=10.0.0.1\nPremiumSub\\2\\IP=10.0.0.7\nPremiumSub\\size=2\n"
      "S%E3o%20Paulo_favoriteIP=185.0.0.7\n\n"
      "[StatWidget]\nScreenPosition=@Point(-1200 35)\nShowOnConnect=true\n";

const GeneralSettings EveryGeneralValue = [] {
    GeneralSettings v {{true, "user@example.com", "s3cret!"}};
    v.udp = v.dnsProtection = false;
    v.lockConnection = v.autoConnect = v.startMinimized = v.showStatOnConnect = true;
    v.systemAutostart = v.checkAvailableServers = v.serverMirrorConfig = true;
    v.packageId = 4711;
    v.requestTimeout = 8000;
    v.diagnosisSeconds = 12;
    v.switchRoadAutomatically = true;
    return v;
}();

const QVector<FavoritesSettings> EveryFavorite {
    FavoritesSettings {1, {"10.0.0.1", "10.0.0.7"}, {}},
    FavoritesSettings {2, {}, {{"10.1.0.1", {"10.1.0.3", "10.1.0.4"}}, {"10.1.0.2", {}}}},
    FavoritesSettings {3, {}, {}}, FavoritesSettings {4, {"10.4.0.1"}, {}}};
const QString SaoPaulo = QString::fromUtf8("São Paulo");

} // namespace

Q_DECLARE_METATYPE(LoginDataSettings)

class TestSettingsStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<LogRecorder> m_log;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    QByteArray readFile(const QString &name = QString()) const
    {
        QFile file(name.isEmpty() ? m_file : name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        m_log.reset();
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_file = SettingsStore::fileNameIn(m_dir->path());
        m_log.reset(new LogRecorder(m_dir->path() + QStringLiteral("/logs")));
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // settings.ini with every section set as earlier installations wrote it loads whole, and
    // the same values saved one section at a time give it back byte for byte (but for the
    // random byte inside the stored password), each save logged under its section's name.
    void fileOfEarlierInstallationsLoadsAndIsWrittenAlike()
    {
        QVERIFY(writeFile(m_file, EveryValueFile));
        SettingsStore earlier(m_file);
        QCOMPARE(earlier.loadGeneral(), EveryGeneralValue);
        for (const FavoritesSettings &values : EveryFavorite)
            QCOMPARE(earlier.loadFavorites(values.subscriptionType), values);
        QCOMPARE(earlier.loadFavoriteIp(SaoPaulo).address, QStringLiteral("185.0.0.7"));
        QCOMPARE(earlier.loadLastConnection(), (LastConnectionSettings {118, 42}));
        QCOMPARE(earlier.loadLanguage().language, 4);
        QCOMPARE(earlier.loadStatWindow().screenPosition, QPoint(-1200, 35));
        QCOMPARE(earlier.loadLastVersion().lastLaunchedVersion, QStringLiteral("1.26.0"));
        const EmergencyAddressSettings emergency {QStringLiteral("http://198.51.100.77"), true};
        QCOMPARE(earlier.loadEmergencyAddress(), emergency);
        QVERIFY(earlier.loadExtra().blockNetworkWarningDisabled);

        m_file = m_dir->path() + QStringLiteral("/fresh.ini");
        SettingsStore store(m_file);
        // Earlier values are replaced whole: a shorter list leaves no entries of a longer one.
        QVERIFY(store.saveLoginData({true, "x@example.com", "old"}));
        QVERIFY(
            store.saveFavorites(FavoritesSettings {1, {"10.0.0.1", "10.0.0.2", "10.0.0.7"}, {}}));
        QVERIFY(store.saveGeneral(EveryGeneralValue));
        for (const FavoritesSettings &values : EveryFavorite)
            QVERIFY(store.saveFavorites(values));
        QVERIFY(store.saveLastConnection({118, 42}));
        QVERIFY(store.saveFavoriteIp({SaoPaulo, QStringLiteral("185.0.0.7")}));
        QVERIFY(store.saveLanguage({4}));
        QVERIFY(store.saveStatWindow({QPoint(-1200, 35)}));
        QVERIFY(store.saveLastVersion());
        QVERIFY(store.saveEmergencyAddress(emergency));
        QVERIFY(store.saveExtra({true}));
        const QRegularExpression password(QStringLiteral("Password=[^\n]*"));
        QCOMPARE(QString::fromLatin1(readFile()).replace(password, "Password=*"),
                 QString::fromLatin1(EveryValueFile).replace(password, "Password=*"));
        const QString saved = "login data|favorites|general|favorites|favorites|favorites|"
                              "favorites|last connection data|VPN server's favorite IP|"
                              "app's language|stat window|last launched version|"
                              "emergency addresses|additional";
        const QString prefix("App's settings saved in file: ");
        QCOMPARE(m_log->matching(prefix).replaceInStrings(prefix, QString()), saved.split('|'));
    }

    void versionChangeRecordsVersionAndDropsEmergencyAddress_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("changed");
        const QByteArray address("EmergencyAddress=http://203.0.113.5\n");
        QTest::newRow("first start without a file") << QByteArray() << true;
        QTest::newRow("other version, compared as text")
            << "[General]\nLastLaunchedVersion=1.26.00\n" + address << true;
        QTest::newRow("same version keeps the stored address")
            << "[General]\nLastLaunchedVersion=1.26.0\n" + address << false;
    }
    void versionChangeRecordsVersionAndDropsEmergencyAddress()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, changed);
        QVERIFY(content.isEmpty() || writeFile(m_file, content));
        SettingsStore store(m_file);
        store.loadGeneral();
        QCOMPARE(QFile::exists(m_file), !content.isEmpty()); // reading never creates the file
        QCOMPARE(store.updateLastVersion(), changed);
        QCOMPARE(QSettings(m_file, QSettings::IniFormat).value("LastLaunchedVersion").toString(),
                 QString("1.26.0"));
        QCOMPARE(store.loadEmergencyAddress().address,
                 changed ? QString::fromLatin1(BuildConfig::DefaultEmergencyAddress)
                         : QStringLiteral("http://203.0.113.5"));
    }

    // Login and password as earlier installations left them, and as users edit them.
    void loginDataOfEarlierInstallationsLoads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<LoginDataSettings>("loaded");
        QTest::newRow("login escaped beyond ascii, key above code 127")
            << QByteArray("[General]\r\nLogin=\\xe9lise\r\nPassword=AwLoNfl2ShGdEY+z+nfs\r\n")
            << LoginDataSettings {true, QString::fromUtf8("élise"), QString::fromUtf8("pässwörd")};
        QTest::newRow("login edited in the file loses the password")
            << QByteArray("[General]\nLogin=xuser@example.com\nPassword=AwIpk/+Mv9yuy8rr\n")
            << LoginDataSettings {true, "xuser@example.com", QString()};
    }
    void loginDataOfEarlierInstallationsLoads()
    {
        QFETCH(QByteArray, content);
        QFETCH(LoginDataSettings, loaded);
        QVERIFY(writeFile(m_file, content));
        QVERIFY(SettingsStore(m_file).loadGeneral().loginData == loaded);
    }

    // The password is enciphered with the login's key and never reaches the log; with
    // remember-me unchecked neither login nor password stay in the file.
    void loginDataIsStoredEnciphered_data()
    {
        QTest::addColumn<bool>("rememberMe");
        QTest::addColumn<QString>("login");
        QTest::addColumn<quint64>("key");
        QTest::newRow("login beyond ascii with punctuation")
            << true << QString::fromUtf8("éric, \"the\" [x]=y") << quint64(0xffffffffffffffe9ULL);
        QTest::newRow("login above code 255 takes the built-in key")
            << true << QString::fromUtf8("Жанна") << quint64(StoredPassword::DefaultKeyByte);
        QTest::newRow("remember-me unchecked") << false << "dave" << quint64('d');
    }
    void loginDataIsStoredEnciphered()
    {
        QFETCH(bool, rememberMe);
        QFETCH(QString, login);
        QFETCH(quint64, key);
        const QString password = QString::fromUtf8("Tr0ub4dor&3 контра密码 ;=\"\\").repeated(9);
        SettingsStore store(m_file);
        QVERIFY(store.saveLoginData({true, login, password}));
        GeneralSettings values = EveryGeneralValue;
        values.loginData = {rememberMe, login, password};
        QVERIFY(store.saveGeneral(values));
        const QString stored = QSettings(m_file, QSettings::IniFormat).value("Password").toString();
        QCOMPARE(StringCipher(key).decryptToString(stored), rememberMe ? password : QString());
        QCOMPARE(store.loadGeneral().loginData.login, rememberMe ? login : QString());
        QVERIFY(!m_log->lines().join('\n').contains(QStringLiteral("Tr0ub4dor")));
        QVERIFY(stored.isEmpty() || !m_log->lines().join('\n').contains(stored));
    }

    void storedFavoritesMarkServers()
    {
        const QStringList servers {"10.0.0.1", "10.0.0.12", "", "10.0.0.3"};
        // A stored text marks the first server whose address it holds; empty or unknown ones
        // mark nothing.
        QCOMPARE(FavoriteRules::markFavorites({"10.0.0.12", "192.0.2.1", "", "10.0.0.3"}, servers),
                 (QVector<bool> {true, false, false, true}));
        // A pair marks every server its entry holds; its exits are compared exactly, counted
        // once, and never the entry itself.
        const QVector<DoubleFavorite> pairs {
            {"10.0.0.12", {"10.0.0.3", "10.0.0.", "10.0.0.3", "10.0.0.12"}},
            {"192.0.2.1", {"10.0.0.1"}}};
        QCOMPARE(FavoriteRules::restoreFavoriteExits(pairs, servers),
                 (QVector<QVector<int>> {{3, 1}, {3}, {}, {}}));
        QCOMPARE(FavoriteRules::pairsToStore({"a", "b", "c", "d"}, {{3, 1, 0}, {}, {1}, {}}),
                 (QVector<DoubleFavorite> {{"a", {"b", "d"}}, {"c", {"b"}}}));
    }

    void invalidSubscriptionTypeKeepsFavorites()
    {
        SettingsStore store(m_file);
        QVERIFY(store.saveFavorites(FavoritesSettings {1, {"10.0.0.1"}, {}}));
        const QByteArray before = readFile();
        store.saveFavorites(FavoritesSettings {5, {"10.0.0.9"}, {{"10.0.0.9", {"10.0.0.8"}}}});
        QCOMPARE(readFile(), before);
        QCOMPARE(store.loadFavorites(0), (FavoritesSettings {0, {}, {}}));
        QVERIFY(m_log->contains("App's settings saving error: invalid subscription type (5)"));
        QVERIFY(m_log->contains("App's settings loading error: invalid subscription type (0)"));
    }

    // Values that cannot be read give their defaults and lose nothing else; a file QSettings
    // cannot parse whole is copied aside once before its first rewrite.
    void badInputReadsAsDefaultsAndKeepsOtherKeys_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("udp");
        QTest::addColumn<QStringList>("premium");
        QTest::addColumn<bool>("copied");
        QTest::newRow("garbage lines")
            << QByteArray("[General]\nnot a key\nUDP=false\n;comment\n\x01\x02\n=\n[[[\n"
                          "PackageID=99999999999999999999\nRequestTimeout=-5\n")
            << false << QStringList() << true;
        QTest::newRow("wrong types")
            << QByteArray("[General]\nRememberMe=maybe\nUDP=12\nDNSProtection=\nPackageID=abc\n"
                          "RequestTimeout=fast\nLogin=@Point(1 2)\n")
            << true << QStringList() << false;
        QTest::newRow("huge array size, entries out of order")
            << QByteArray("[Favorives]\nPremiumSub\\size=2147483647\nPremiumSub\\7\\IP=10.0.0.7\n"
                          "PremiumSub\\x\\IP=10.0.0.9\nPremiumSub\\02\\IP=10.0.0.2\n")
            << true << QStringList {"10.0.0.7"} << false;
        // Bytes of every value, lines of random length.
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char(i * 7919 % 251);
        QTest::newRow("not text") << binary << true << QStringList() << true;
    }
    void badInputReadsAsDefaultsAndKeepsOtherKeys()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, udp);
        QFETCH(QStringList, premium);
        QFETCH(bool, copied);
        content += "[Keep]\nMe=1\n";
        QVERIFY(writeFile(m_file, content));
        const QStringList keysBefore = QSettings(m_file, QSettings::IniFormat).allKeys();
        SettingsStore store(m_file);
        GeneralSettings general;
        general.udp = udp;
        QCOMPARE(store.loadGeneral(), general);
        QCOMPARE(store.loadFavorites(1).addresses, premium);
        QVERIFY(store.saveGeneral(EveryGeneralValue));
        QCOMPARE(store.loadGeneral(), EveryGeneralValue);
        const QStringList keysAfter = QSettings(m_file, QSettings::IniFormat).allKeys();
        for (const QString &key : keysBefore)
            QVERIFY2(keysAfter.contains(key), qPrintable(key));

        const QString copyName = m_file + QStringLiteral(".damaged");
        QCOMPARE(readFile(copyName), copied ? content : QByteArray());
        QCOMPARE(m_log->contains("App's settings file has lines that cannot be read, a copy is "
                                 "kept in file: "
                                 + QDir::toNativeSeparators(copyName)),
                 copied);
        // Once rewritten, the file reads cleanly and is not copied again.
        QVERIFY(store.saveExtra({true}));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), copied ? 2 : 1);
    }

    // A file that cannot be written whole keeps what it held and the log says so. Qt 5's
    // QSettings reports success for a file cut short by a failed last write (here only the
    // last buffered write fails): the store must notice that too before settings.ini is
    // touched.
    void unwritableFileLosesNothing()
    {
        const QByteArray content("[General]\nUDP=false\n");
        QStringList many;
        for (int i = 0; i < 1100; ++i)
            many.append(QStringLiteral("10.%1.%2.1").arg(i / 250).arg(i % 250));
        // The same write on a file of its own tells how long the result is.
        const QString sibling = m_dir->path() + QStringLiteral("/sibling.ini");
        QVERIFY(writeFile(sibling, content));
        QVERIFY(SettingsStore(sibling).saveFavorites(FavoritesSettings {1, many, {}}));
        const qint64 size = QFileInfo(sibling).size();
        QVERIFY2(size > 16384 + 1000 && size < 2 * 16384, qPrintable(QString::number(size)));

        QVERIFY(writeFile(m_file, content));
        SettingsStore store(m_file);
        {
            FileSizeLimit limit(rlim_t(size - 40));
            QVERIFY(!store.saveFavorites(FavoritesSettings {1, many, {}}));
        }
        QCOMPARE(readFile(), content);
        const QString error("App's settings saving error: file %0 cannot be written (favorites)");
        QVERIFY(m_log->contains(error.arg(QDir::toNativeSeparators(m_file))));
        QCOMPARE(m_log->matching(QStringLiteral("App's settings saved")).size(), 1); // the sibling
    }

    void languageIsChosenFromTheSystem()
    {
        QCOMPARE(LanguageChoice::valueForSystemLanguage(QLocale::Ukrainian), 5);
        QVERIFY(LanguageChoice::isOwnLanguage(QLocale::Chinese));
        QCOMPARE(LanguageChoice::valueForSystemLanguage(QLocale::German), 2);
        QVERIFY(!LanguageChoice::isOwnLanguage(QLocale::German));
    }
};

KESTRUNE_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"

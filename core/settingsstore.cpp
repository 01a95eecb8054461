#include "settingsstore.h"

#include "buildconfig.h"
#include "favoriterules.h"
#include "loger.h"
#include "storedpassword.h"

#include <algorithm>
#include <memory>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QUuid>

namespace {

const QString FavoritesGroup = QStringLiteral("Favorives");
const QString StatWidgetGroup = QStringLiteral("StatWidget");
const QString ExtraGroup = QStringLiteral("Extra");
const QString FavoriteIpSuffix = QStringLiteral("_favoriteIP");
constexpr int LanguageCount = 5;

// QSettings hands INI values back as text, so a value is taken only when its text is one
// of that type's own forms; anything else gives the default instead of a guess.
bool readBool(const QSettings &settings, const QString &key, bool fallback)
{
    const QVariant value = settings.value(key);
    if (value.type() == QVariant::Bool)
        return value.toBool();
    if (value.type() != QVariant::String)
        return fallback;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

bool readIntChecked(const QSettings &settings, const QString &key, int *result)
{
    const QVariant value = settings.value(key);
    bool ok = false;
    int number = 0;
    if (value.type() == QVariant::Int)
        number = value.toInt(&ok);
    else if (value.type() == QVariant::String)
        number = value.toString().trimmed().toInt(&ok, 10);
    if (ok)
        *result = number;
    return ok;
}

int readInt(const QSettings &settings, const QString &key, int fallback)
{
    int number = fallback;
    return readIntChecked(settings, key, &number) ? number : fallback;
}

QString readString(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    // An unquoted comma in a hand-edited value makes QSettings split it into a list.
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    if (value.type() == QVariant::String || value.type() == QVariant::ByteArray)
        return value.toString();
    return QString();
}

// The entry numbers of an array in Qt's convention ("name\N\key" plus "name\size"), bounded
// by the entries that really are in the file: a damaged or huge size key neither loses the
// entries nor makes loading walk through numbers that do not exist.
QVector<int> arrayEntries(QSettings &settings, const QString &array)
{
    settings.beginGroup(array);
    QVector<int> numbers;
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        bool ok = false;
        const int number = group.toInt(&ok, 10);
        if (ok && number >= 1 && group == QString::number(number))
            numbers.append(number);
    }
    int size = -1;
    if (readIntChecked(settings, QStringLiteral("size"), &size) && size >= 0) {
        numbers.erase(std::remove_if(numbers.begin(), numbers.end(),
                                     [size](int number) { return number > size; }),
                      numbers.end());
    }
    settings.endGroup();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString entryKey(const QString &array, int number, const QString &key)
{
    return array + QLatin1Char('/') + QString::number(number) + QLatin1Char('/') + key;
}

void writeLoginData(QSettings &settings, const LoginDataSettings &values)
{
    settings.setValue(QStringLiteral("RememberMe"), values.rememberMe);
    settings.setValue(QStringLiteral("Login"), values.rememberMe ? values.login : QString());
    if (values.rememberMe) {
        const quint8 keyByte = StoredPassword::keyByteForLogin(values.login);
        settings.setValue(QStringLiteral("Password"),
                          StoredPassword::encryptPassword(values.password, keyByte));
    } else {
        settings.setValue(QStringLiteral("Password"), QString());
    }
}

// QSettings keeps files it has read in a process-wide cache and trusts their size and time
// stamp, and in Qt 5 the QSaveFile it writes through commits a file whose last buffered write
// failed, cutting it short on a full disk. So QSettings only ever works on a private copy;
// settings.ini itself is replaced only by bytes that were checked to hold every key.
bool readWholeFile(const QString &fileName, QByteArray *content)
{
    content->clear();
    QFile file(fileName);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *content = file.readAll();
    return file.error() == QFileDevice::NoError;
}

std::unique_ptr<QTemporaryFile> privateCopy(const QString &folder, const QByteArray &content)
{
    for (const QString &place : {folder, QDir::tempPath()}) {
        auto copy
            = std::make_unique<QTemporaryFile>(place + QStringLiteral("/settings.XXXXXX.ini"));
        if (copy->open() && copy->write(content) == content.size() && copy->flush()) {
            copy->close();
            return copy;
        }
    }
    return nullptr;
}

// Every key with its value as text, the form in which the file holds it.
QMap<QString, QString> contentsOf(QSettings &settings)
{
    QMap<QString, QString> contents;
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys) {
        // A line of a damaged file may carry an empty key, which QSettings cannot look up.
        if (key.isEmpty())
            continue;
        const QVariant value = settings.value(key);
        if (value.type() == QVariant::Point)
            contents.insert(
                key,
                QStringLiteral("@Point(%1 %2)").arg(value.toPoint().x()).arg(value.toPoint().y()));
        else if (value.type() == QVariant::StringList)
            contents.insert(key, value.toStringList().join(QChar(0x1f)));
        else
            contents.insert(key, value.toString());
    }
    return contents;
}

bool replaceFile(const QString &fileName, const QByteArray &content)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not notice a failure of the final flush, so it is checked here.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// What the loads read from: a private copy of settings.ini, or nothing at all when it is
// missing or cannot be read. A name that never exists stands for the empty file; QSettings
// drops empty files from its cache, so nothing of it lingers.
struct ReadCopy
{
    explicit ReadCopy(const QString &fileName)
    {
        QByteArray content;
        if (readWholeFile(fileName, &content) && !content.isEmpty())
            copy = privateCopy(QFileInfo(fileName).absolutePath(), content);
        const QString source = copy ? copy->fileName()
                                    : fileName + QLatin1Char('.')
                + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".absent");
        settings = std::make_unique<QSettings>(source, QSettings::IniFormat);
    }

    std::unique_ptr<QTemporaryFile> copy;
    std::unique_ptr<QSettings> settings;
};

} // namespace

QString SettingsStore::fileNameIn(const QString &dataDir)
{
    return dataDir + QDir::separator() + QStringLiteral("settings.ini");
}

SettingsStore::SettingsStore(const QString &fileName)
    : m_fileName(fileName)
{ }

bool SettingsStore::save(SettingsType type, const std::function<void(QSettings &)> &write)
{
    const bool written = writeToFile(write);
    if (written)
        Loger::writeLine(tr("App's settings saved in file: %0").arg(settingsTypeDescription(type)));
    else
        logWriteFailure(type);
    return written;
}

bool SettingsStore::writeToFile(const std::function<void(QSettings &)> &write)
{
    QByteArray original;
    if (!readWholeFile(m_fileName, &original))
        return false;
    const bool existed = QFile::exists(m_fileName);
    const QString folder = QFileInfo(m_fileName).absolutePath();
    QDir().mkpath(folder);

    const std::unique_ptr<QTemporaryFile> work = privateCopy(folder, original);
    if (!work)
        return false;
    QSettings::Status status = QSettings::NoError;
    QMap<QString, QString> expected;
    {
        QSettings settings(work->fileName(), QSettings::IniFormat);
        settings.allKeys();
        if (settings.status() == QSettings::FormatError)
            keepCopyOfDamagedFile(original);
        write(settings);
        settings.sync();
        status = settings.status();
        expected = contentsOf(settings);
    }
    if (status == QSettings::AccessError)
        return false;

    QByteArray result;
    if (!readWholeFile(work->fileName(), &result))
        return false;
    if (result == original && (existed || result.isEmpty()))
        return true;
    const std::unique_ptr<QTemporaryFile> check = privateCopy(folder, result);
    if (!check)
        return false;
    {
        QSettings written(check->fileName(), QSettings::IniFormat);
        if (contentsOf(written) != expected)
            return false;
    }
    return replaceFile(m_fileName, result);
}

void SettingsStore::logWriteFailure(SettingsType type)
{
    Loger::writeLine(tr("App's settings saving error: file %0 cannot be written (%1)")
                         .arg(QDir::toNativeSeparators(m_fileName), settingsTypeDescription(type)));
}

// A file QSettings cannot fully parse loses its unreadable lines when it is written again, so
// its original is kept beside it first.
void SettingsStore::keepCopyOfDamagedFile(const QByteArray &content)
{
    QString copyName = m_fileName + QStringLiteral(".damaged");
    QFile existing(copyName);
    if (existing.exists()) {
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
            return;
        copyName += QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-hhmmsszzz"));
    }
    if (replaceFile(copyName, content)) {
        Loger::writeLine(tr("App's settings file has lines that cannot be read, a copy is kept "
                            "in file: %0")
                             .arg(QDir::toNativeSeparators(copyName)));
    }
}

void SettingsStore::logLoaded(const QString &description)
{
    Loger::writeLine(tr("App's settings loaded from file: %0").arg(description));
}

bool SettingsStore::saveLoginData(const LoginDataSettings &values)
{
    return save(Set_LoginData, [&](QSettings &settings) { writeLoginData(settings, values); });
}

bool SettingsStore::saveGeneral(const GeneralSettings &values)
{
    return save(Set_General, [&](QSettings &settings) {
        writeLoginData(settings, values.loginData);
        settings.setValue(QStringLiteral("UDP"), values.udp);
        settings.setValue(QStringLiteral("PackageID"), values.packageId);
        settings.setValue(QStringLiteral("LockConnection"), values.lockConnection);
        settings.setValue(QStringLiteral("AutoConnect"), values.autoConnect);
        settings.setValue(QStringLiteral("StartMinimized"), values.startMinimized);
        settings.beginGroup(StatWidgetGroup);
        settings.setValue(QStringLiteral("ShowOnConnect"), values.showStatOnConnect);
        settings.endGroup();
        settings.setValue(QStringLiteral("SystemAutostart"), values.systemAutostart);
        settings.setValue(QStringLiteral("CheckAvailableServers"), values.checkAvailableServers);
        settings.setValue(QStringLiteral("ServerMirrorConfig"), values.serverMirrorConfig);
        settings.setValue(QStringLiteral("RequestTimeout"), values.requestTimeout);
        settings.setValue(QStringLiteral("DNSProtection"), values.dnsProtection);
        settings.setValue(QStringLiteral("DiagnosisSeconds"), values.diagnosisSeconds);
        settings.setValue(QStringLiteral("SwitchRoadAutomatically"),
                          values.switchRoadAutomatically);
    });
}

bool SettingsStore::saveFavorites(const FavoritesSettings &values)
{
    return save(Set_Favorites, [&](QSettings &settings) {
        const QString array = FavoriteRules::arrayNameForType(values.subscriptionType);
        if (array.isEmpty()) {
            Loger::writeLine(tr("App's settings saving error: invalid subscription type (%0)")
                                 .arg(values.subscriptionType));
            return;
        }
        settings.beginGroup(FavoritesGroup);
        settings.remove(array);
        settings.beginWriteArray(array);
        if (values.subscriptionType == 2) {
            for (int i = 0; i < values.pairs.size(); ++i) {
                const DoubleFavorite &pair = values.pairs.at(i);
                settings.setArrayIndex(i);
                settings.setValue(QStringLiteral("IPInput"), pair.entryAddress);
                settings.remove(QStringLiteral("IPOutput"));
                settings.beginWriteArray(QStringLiteral("IPOutput"));
                for (int j = 0; j < pair.exitAddresses.size(); ++j) {
                    settings.setArrayIndex(j);
                    settings.setValue(QStringLiteral("IP"), pair.exitAddresses.at(j));
                }
                settings.endArray();
            }
        } else {
            for (int i = 0; i < values.addresses.size(); ++i) {
                settings.setArrayIndex(i);
                settings.setValue(QStringLiteral("IP"), values.addresses.at(i));
            }
        }
        settings.endArray();
        settings.endGroup();
    });
}

bool SettingsStore::saveLastConnection(const LastConnectionSettings &values)
{
    return save(Set_LastConnection, [&](QSettings &settings) {
        settings.setValue(QStringLiteral("LastVPN_ID_1"), values.firstServerId);
        settings.setValue(QStringLiteral("LastVPN_ID_2"), values.secondServerId);
    });
}

bool SettingsStore::saveFavoriteIp(const FavoriteIpSettings &values)
{
    return save(Set_FavoriteIP, [&](QSettings &settings) {
        settings.beginGroup(FavoritesGroup);
        settings.setValue(values.cityName + FavoriteIpSuffix, values.address);
        settings.endGroup();
    });
}

bool SettingsStore::saveLanguage(const LanguageSettings &values)
{
    return save(Set_Language, [&](QSettings &settings) {
        settings.setValue(QStringLiteral("Language"), values.language);
    });
}

bool SettingsStore::saveStatWindow(const StatWindowSettings &values)
{
    return save(Set_StatWindow, [&](QSettings &settings) {
        settings.beginGroup(StatWidgetGroup);
        settings.setValue(QStringLiteral("ScreenPosition"), values.screenPosition);
        settings.endGroup();
    });
}

bool SettingsStore::saveLastVersion()
{
    return save(Set_LastVersion, [](QSettings &settings) {
        settings.setValue(QStringLiteral("LastLaunchedVersion"),
                          QString::fromLatin1(BuildConfig::AppVersion));
    });
}

bool SettingsStore::saveEmergencyAddress(const EmergencyAddressSettings &values)
{
    return save(Set_EmergencyAddress, [&](QSettings &settings) {
        settings.setValue(QStringLiteral("EmergencyAddress"), values.address);
        settings.setValue(QStringLiteral("EmergencyAddressUseByDef"), values.useByDefault);
    });
}

bool SettingsStore::saveExtra(const ExtraSettings &values)
{
    return save(Set_Extra, [&](QSettings &settings) {
        settings.beginGroup(ExtraGroup);
        settings.setValue(QStringLiteral("BlockNetworkWarningDisabled"),
                          values.blockNetworkWarningDisabled);
        settings.endGroup();
    });
}

void SettingsStore::loadLoginData()
{
    // Its keys come with the general section, and this load has never named a section.
    logLoaded(QString());
}

GeneralSettings SettingsStore::loadGeneral()
{
    GeneralSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        LoginDataSettings &login = values.loginData;
        login.rememberMe = readBool(settings, QStringLiteral("RememberMe"), login.rememberMe);
        login.login = readString(settings, QStringLiteral("Login"));
        // The key comes from the login just read, so a login edited in the file no longer
        // opens the password.
        login.password
            = StoredPassword::decryptPassword(readString(settings, QStringLiteral("Password")),
                                              StoredPassword::keyByteForLogin(login.login));
        values.udp = readBool(settings, QStringLiteral("UDP"), values.udp);
        values.lockConnection
            = readBool(settings, QStringLiteral("LockConnection"), values.lockConnection);
        values.startMinimized
            = readBool(settings, QStringLiteral("StartMinimized"), values.startMinimized);
        values.autoConnect = readBool(settings, QStringLiteral("AutoConnect"), values.autoConnect);
        values.packageId = readInt(settings, QStringLiteral("PackageID"), values.packageId);
        settings.beginGroup(StatWidgetGroup);
        values.showStatOnConnect
            = readBool(settings, QStringLiteral("ShowOnConnect"), values.showStatOnConnect);
        settings.endGroup();
        values.systemAutostart
            = readBool(settings, QStringLiteral("SystemAutostart"), values.systemAutostart);
        values.checkAvailableServers = readBool(settings, QStringLiteral("CheckAvailableServers"),
                                                values.checkAvailableServers);
        values.serverMirrorConfig
            = readBool(settings, QStringLiteral("ServerMirrorConfig"), values.serverMirrorConfig);
        // A request needs a time limit it can reach: zero or less keeps the default.
        const int timeout = readInt(settings, QStringLiteral("RequestTimeout"), 0);
        if (timeout > 0)
            values.requestTimeout = timeout;
        values.dnsProtection
            = readBool(settings, QStringLiteral("DNSProtection"), values.dnsProtection);
        // A negative limit keeps the default; 0 turns the limit off.
        const int seconds = readInt(settings, QStringLiteral("DiagnosisSeconds"), -1);
        if (seconds >= 0)
            values.diagnosisSeconds = seconds;
        values.switchRoadAutomatically = readBool(
            settings, QStringLiteral("SwitchRoadAutomatically"), values.switchRoadAutomatically);
    }
    logLoaded(settingsTypeDescription(Set_General));
    return values;
}

FavoritesSettings SettingsStore::loadFavorites(int subscriptionType)
{
    FavoritesSettings values;
    values.subscriptionType = subscriptionType;
    const QString array = FavoriteRules::arrayNameForType(subscriptionType);
    if (array.isEmpty()) {
        Loger::writeLine(tr("App's settings loading error: invalid subscription type (%0)")
                             .arg(subscriptionType));
    } else {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        settings.beginGroup(FavoritesGroup);
        const QVector<int> entries = arrayEntries(settings, array);
        for (int number : entries) {
            if (subscriptionType == 2) {
                DoubleFavorite pair;
                pair.entryAddress
                    = readString(settings, entryKey(array, number, QStringLiteral("IPInput")));
                const QString outputs = entryKey(array, number, QStringLiteral("IPOutput"));
                const QVector<int> exits = arrayEntries(settings, outputs);
                for (int exit : exits)
                    pair.exitAddresses.append(
                        readString(settings, entryKey(outputs, exit, QStringLiteral("IP"))));
                values.pairs.append(pair);
            } else {
                values.addresses.append(
                    readString(settings, entryKey(array, number, QStringLiteral("IP"))));
            }
        }
        settings.endGroup();
    }
    logLoaded(settingsTypeDescription(Set_Favorites));
    return values;
}

LastConnectionSettings SettingsStore::loadLastConnection()
{
    LastConnectionSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        values.firstServerId
            = readInt(settings, QStringLiteral("LastVPN_ID_1"), values.firstServerId);
        values.secondServerId
            = readInt(settings, QStringLiteral("LastVPN_ID_2"), values.secondServerId);
    }
    logLoaded(settingsTypeDescription(Set_LastConnection));
    return values;
}

FavoriteIpSettings SettingsStore::loadFavoriteIp(const QString &cityName)
{
    FavoriteIpSettings values;
    values.cityName = cityName;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        settings.beginGroup(FavoritesGroup);
        values.address = readString(settings, cityName + FavoriteIpSuffix);
        settings.endGroup();
    }
    logLoaded(settingsTypeDescription(Set_FavoriteIP));
    return values;
}

LanguageSettings SettingsStore::loadLanguage()
{
    LanguageSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        const int language = readInt(settings, QStringLiteral("Language"), values.language);
        // A value with no language behind it counts as not chosen, so the language is
        // taken from the system again.
        if (language >= 0 && language <= LanguageCount)
            values.language = language;
    }
    logLoaded(settingsTypeDescription(Set_Language));
    return values;
}

StatWindowSettings SettingsStore::loadStatWindow()
{
    StatWindowSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        settings.beginGroup(StatWidgetGroup);
        const QVariant position = settings.value(QStringLiteral("ScreenPosition"));
        if (position.type() == QVariant::Point)
            values.screenPosition = position.toPoint();
        settings.endGroup();
    }
    logLoaded(settingsTypeDescription(Set_StatWindow));
    return values;
}

LastVersionSettings SettingsStore::loadLastVersion()
{
    LastVersionSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        values.lastLaunchedVersion = readString(settings, QStringLiteral("LastLaunchedVersion"));
    }
    logLoaded(settingsTypeDescription(Set_LastVersion));
    return values;
}

EmergencyAddressSettings SettingsStore::loadEmergencyAddress()
{
    EmergencyAddressSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        values.address = readString(settings, QStringLiteral("EmergencyAddress"));
        values.useByDefault
            = readBool(settings, QStringLiteral("EmergencyAddressUseByDef"), values.useByDefault);
    }
    if (values.address.isEmpty())
        values.address = QString::fromLatin1(BuildConfig::DefaultEmergencyAddress);
    logLoaded(settingsTypeDescription(Set_EmergencyAddress));
    return values;
}

ExtraSettings SettingsStore::loadExtra()
{
    ExtraSettings values;
    {
        const ReadCopy source(m_fileName);
        QSettings &settings = *source.settings;
        settings.beginGroup(ExtraGroup);
        values.blockNetworkWarningDisabled
            = readBool(settings, QStringLiteral("BlockNetworkWarningDisabled"),
                       values.blockNetworkWarningDisabled);
        settings.endGroup();
    }
    logLoaded(settingsTypeDescription(Set_Extra));
    return values;
}

bool SettingsStore::removeEmergencyAddress()
{
    const bool written = writeToFile(
        [](QSettings &settings) { settings.remove(QStringLiteral("EmergencyAddress")); });
    if (!written)
        logWriteFailure(Set_EmergencyAddress);
    return written;
}

bool SettingsStore::updateLastVersion()
{
    const QString current = QString::fromLatin1(BuildConfig::AppVersion);
    if (loadLastVersion().lastLaunchedVersion == current)
        return false;
    saveLastVersion();
    removeEmergencyAddress();
    return true;
}

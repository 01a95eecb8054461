// The window's side of settings.ini: each section is written from the widgets that show it
// and read back into them. What the file holds byte for byte is the settings store's.

#include "support/testmain.h"
#include "support/windowrig.h"

#include <QLineEdit>
#include <QSettings>

class TestWindowSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void sectionsGoFromTheWidgetsAndBack_data()
    {
        QTest::addColumn<int>("section"); // written with this section, read with General's
        QTest::addColumn<QByteArray>("widget");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("other"); // set before reading, so the read must change it
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored"); // empty: anything but the value in plain text
        const auto row = [](const char *name, SettingsType section, const char *widget,
                            const char *property, const QVariant &value, const QVariant &other,
                            const char *key, const char *stored) {
            QTest::newRow(name) << int(section) << QByteArray(widget) << QByteArray(property)
                                << value << other << QString(key) << QString(stored);
        };
        row("login", Set_LoginData, "mainLoginLineEdit", "text", "alice", "", "Login", "alice");
        row("password, never in plain text", Set_LoginData, "mainPswdLineEdit", "text",
            "s3cret pass", "stale", "Password", "");
        row("password beyond Latin-1", Set_General, "mainPswdLineEdit", "text",
            "пароль с пробелами", "", "Password", "");
        row("auto-connect", Set_General, "stngVPNAutoConCheckBox", "checked", true, false,
            "AutoConnect", "true");
        row("network lock", Set_General, "stngBlockOtherConCheckBox", "checked", true, false,
            "LockConnection", "true");
        row("statistics window", Set_General, "settingShowStatWgtCheckBox", "checked", true, false,
            "StatWidget/ShowOnConnect", "true");
        row("DNS protection off", Set_General, "settingDNSProtectCheckBox", "checked", false, true,
            "DNSProtection", "false");
        row("start minimised", Set_General, "settingStartMinimizedCheckBox", "checked", true, false,
            "StartMinimized", "true");
        row("language: entry plus one", Set_Language, "settingLanguageComboBox", "currentIndex", 3,
            0, "Language", "4");
    }
    void sectionsGoFromTheWidgetsAndBack()
    {
        QFETCH(int, section);
        QFETCH(QByteArray, widget);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        QFETCH(QVariant, other);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        WindowRig rig;
        rig.open();
        // The password is kept for a remembered login only.
        rig.widget("mainRememberCheckBox")->setProperty("checked", true);
        rig.widget<QLineEdit>("mainLoginLineEdit")->setText(QStringLiteral("alice"));
        QVERIFY(rig.widget(widget)->setProperty(property, value));
        QVERIFY(rig.window()->saveSettings(SettingsType(section)));
        const QString text
            = QSettings(rig.settingsFile(), QSettings::IniFormat).value(key).toString();
        if (stored.isEmpty())
            QVERIFY2(!text.isEmpty() && !text.contains(value.toString()), qPrintable(text));
        else
            QCOMPARE(text, stored);

        rig.widget(widget)->setProperty(property, other);
        const SettingsType read = section == Set_Language ? Set_Language : Set_General;
        QVERIFY(rig.window()->loadSettings(read).isEmpty());
        QCOMPARE(rig.widget(widget)->property(property), value);
    }

};

KESTRUNE_TEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"

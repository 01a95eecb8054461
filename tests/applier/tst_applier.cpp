#include "support/testmain.h"
#include "system/networklockallowlist.h"
#include "system/posixcommands.h"
#include "system/settingsapplier.h"

#include <QProcess>

class TestApplier : public QObject
{
    Q_OBJECT

    QTemporaryDir config;

    bool apply(SettingsApplier::ApplyType type, const QVariantList &data)
    {
        auto *applier = new SettingsApplier(type, data); // deletes itself after init()
        QSignalSpy result(applier, SIGNAL(sendResultData(bool, short, QVariant)));
        applier->init();
        return result.value(0).value(0).toBool();
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void lockScriptCommandLines_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("root");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QString scripts = QStringLiteral("/opt/kestrune vpn/scripts/");
        const QString temp = QStringLiteral("/home/a \"b\"/.local/share/kestrune/temp");
        QTest::newRow("root runs the block script with /bin/sh")
            << int(NetworkLockStep::Block) << true << "/bin/sh"
            << QStringList {scripts + "nft_block.sh", temp};
        QTest::newRow("a user goes through pkexec")
            << int(NetworkLockStep::Unblock) << false << "/usr/bin/pkexec"
            << QStringList {scripts + "nft_unblock.sh", temp};
        QTest::newRow("emergency unblock gets no folder")
            << int(NetworkLockStep::EmergencyUnblock) << true << "/bin/sh"
            << QStringList {scripts + "nft_unblock_emergency.sh"};
    }
    void lockScriptCommandLines()
    {
        QFETCH(int, step);
        QFETCH(bool, root);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const SystemCommand command = PosixCommands::networkLockCommand(
            NetworkLockStep(step), QStringLiteral("/opt/kestrune vpn"),
            QStringLiteral("/home/a \"b\"/.local/share/kestrune/temp/"), root);
        QCOMPARE(command.program, program);
        QCOMPARE(command.arguments, arguments);
        QCOMPARE(command.script, arguments.first());
    }

    // The file is read by a script running as root: nothing but hosts and addresses.
    void allowListKeepsPlainHostsOnly()
    {
        QCOMPARE(NetworkLockAllowList::hostsOf(
                     {"https://api.kestrune.net/v1", "http://198.51.100.23:8080", "[2001:db8::1]",
                      "api.kestrune.net", "10.0.0.1; flush ruleset", "a\nb", "", "10.0.0.2"}),
                 QStringList({"api.kestrune.net", "198.51.100.23", "2001:db8::1", "10.0.0.2"}));
    }

    void autostartEntryStartsTheProgramAndGoesWhenSwitchedOff()
    {
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("Kestrune \"VPN\" $HOME 100% `x`"));
        QVERIFY(QDir().mkpath(program + QStringLiteral("/scripts")));
        QVERIFY(QFile::copy(QStringLiteral(KESTRUNE_DIST "/scripts/kestrunevpn_autostart.desktop"),
                            program + QStringLiteral("/scripts/kestrunevpn_autostart.desktop")));
        QFile standIn(program + QStringLiteral("/kestrunevpn"));
        QVERIFY(standIn.open(QIODevice::WriteOnly));
        standIn.write("#!/bin/sh\necho started > \"$(dirname \"$0\")/marker\"\n");
        standIn.close();
        standIn.setPermissions(standIn.permissions() | QFile::ExeOwner);

        QVERIFY(apply(SettingsApplier::Apply_StartOnUserLogonOn, {program, root.path()}));
        QFile entry(config.filePath(QStringLiteral("autostart/kestrunevpn.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QMap<QString, QString> keys; // the values with the entry's string escapes undone
        for (const QString &line : QString::fromUtf8(entry.readAll()).split('\n'))
            keys.insert(line.section('=', 0, 0), line.section('=', 1).replace("\\\\", "\\"));
        QCOMPARE(keys.value(QStringLiteral("Path")), program);
        // Exec's quoting is the shell's double quoting once %% is undone.
        const QString exec = QString(keys.value(QStringLiteral("Exec"))).replace("%%", "%");
        QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), exec}), 0);
        QVERIFY(QFile::exists(program + QStringLiteral("/marker")));

        QVERIFY(apply(SettingsApplier::Apply_StartOnUserLogonOff, {}));
        QVERIFY(!QFile::exists(config.filePath(QStringLiteral("autostart/kestrunevpn.desktop"))));
    }
};

KESTRUNE_TEST_MAIN(TestApplier)
#include "tst_applier.moc"

#include "support/builders.h"
#include "support/testmain.h"
#include "system/windowscommands.h"
#include "system/windowsplatform.h"

using namespace WindowsCommands;

// The command lines the Windows build runs, as argument lists after the interpreter.
class TestWindowsCommands : public QObject
{
    Q_OBJECT

private slots:
    // Pure functions: a Qt warning would still fail the run at its end.
    void initTestCase() { KestruneTest::guardQtWarnings(); }

    void taskkillCommandLines_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("tree");
        QTest::addColumn<QStringList>("expected");
        const QString cmd = "D:\\Windows\\System32\\cmd.exe";
        QTest::newRow("openvpn ends every process of its name")
            << "openvpn.exe" << false
            << QStringList {cmd, "/c", "taskkill", "/F", "/IM", "openvpn.exe"};
        QTest::newRow("mirror tool ends its children too")
            << "ss-local.exe" << true
            << QStringList {cmd, "/c", "taskkill", "/T", "/F", "/IM", "ss-local.exe"};
    }
    void taskkillCommandLines()
    {
        QFETCH(QString, image);
        QFETCH(bool, tree);
        QFETCH(QStringList, expected);
        QCOMPARE(QStringList {interpreterPath("D:")}
                     + interpreterArguments(taskkillCommand(image, tree)),
                 expected);
    }

    void networkLockAndLogonTaskCommandLines_data()
    {
        using namespace WindowsCommands;
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QStringList>("expected");
        const QString program = QStringLiteral("C:/Program Files/Kestrune VPN");
        const QString temp = QStringLiteral("C:/Users/A B/AppData/Roaming/kestrune/temp/");
        const QString scripts = QStringLiteral("C:\\Program Files\\Kestrune VPN\\scripts\\");
        const QString nativeTemp = QStringLiteral("C:\\Users\\A B\\AppData\\Roaming\\kestrune\\temp\\");
        QTest::newRow("block gets the temp folder")
            << interpreterArguments(networkLockCommand(NetworkLockStep::Block, program, temp))
            << QStringList{"/c", scripts + "wfw_block.bat", nativeTemp};
        QTest::newRow("emergency unblock gets nothing")
            << interpreterArguments(
                   networkLockCommand(NetworkLockStep::EmergencyUnblock, program, temp))
            << QStringList{"/c", scripts + "wfw_unblock_emergency.bat"};
        QTest::newRow("logon task created from the filled copy")
            << interpreterArguments(createLogonTaskCommand(temp + "startup_schtask.xml"))
            << QStringList{"/c", "schtasks", "/CREATE", "/TN", "Run Kestrune VPN on system logon",
                           "/XML", nativeTemp + "startup_schtask.xml"};
        QTest::newRow("logon task deleted")
            << interpreterArguments(deleteLogonTaskCommand())
            << QStringList{"/c", "schtasks", "/DELETE", "/TN", "Run Kestrune VPN on system logon",
                           "/f"};
        QTest::newRow("template filled in order, escaped for XML")
            << QStringList{fillLogonTaskTemplate("<C>%1</C><W>%2</W>", "C:/R&D/kestrunevpn.exe",
                                                 "C:/R&D")}
            << QStringList{"<C>C:\\R&amp;D\\kestrunevpn.exe</C><W>C:\\R&amp;D</W>"};
    }
    void networkLockAndLogonTaskCommandLines()
    {
        QFETCH(QStringList, command);
        QFETCH(QStringList, expected);
        QCOMPARE(command, expected);
    }

#ifndef Q_OS_WIN
    // taskkill through a shell script standing in for cmd.exe: only one that ran, ended in time
    // and said so counts as success.
    void endingProcessesThroughTaskkill_data()
    {
        QTest::addColumn<QByteArray>("interpreter"); // empty: none can start
        QTest::addColumn<bool>("ended");
        QTest::newRow("taskkill ends them") << QByteArray("true") << true;
        QTest::newRow("taskkill refuses") << QByteArray("false") << false;
        QTest::newRow("taskkill still running at the limit") << QByteArray("sleep 30") << false;
        QTest::newRow("the interpreter cannot start") << QByteArray() << false;
    }
    void endingProcessesThroughTaskkill()
    {
        QFETCH(QByteArray, interpreter);
        QFETCH(bool, ended);
        QTemporaryDir dir;
        struct StandIn : WindowsPlatform
        {
            QString cmd;
            QString shellProgram() const override { return cmd; }
        } windows;
        windows.cmd = dir.filePath("cmd.exe");
        if (!interpreter.isEmpty()) {
            QVERIFY(writeFile(windows.cmd,
                              "#!/bin/sh\necho \"$@\" > \"$0.args\"\nexec " + interpreter));
            QFile(windows.cmd).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        QCOMPARE(windows.endProcessesOf("C:/Kestrune/shadowsocks/ss-local.exe", true, 500), ended);
        QFile args(windows.cmd + ".args");
        QCOMPARE(args.open(QIODevice::ReadOnly) ? args.readAll() : QByteArray(),
                 interpreter.isEmpty() ? QByteArray() : "/c taskkill /T /F /IM ss-local.exe\n");
    }
#endif
};

KESTRUNE_TEST_MAIN(TestWindowsCommands)
#include "tst_windowscommands.moc"

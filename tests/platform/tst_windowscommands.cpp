#include "system/windowscommands.h"
#include "support/testmain.h"

class TestWindowsCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void interpreterIsCmdOfTheSystemDrive()
    {
        QCOMPARE(WindowsCommands::interpreterPath(QStringLiteral("C:")),
                 QStringLiteral("C:\\Windows\\System32\\cmd.exe"));
    }

    void taskkillCommandLines_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("tree");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("openvpn ends every process of its name")
            << "openvpn.exe" << false
            << QStringList{"/c", "taskkill", "/F", "/IM", "openvpn.exe"};
        QTest::newRow("mirror tool ends its children too")
            << "ss-local.exe" << true
            << QStringList{"/c", "taskkill", "/T", "/F", "/IM", "ss-local.exe"};
    }
    void taskkillCommandLines()
    {
        QFETCH(QString, image);
        QFETCH(bool, tree);
        QFETCH(QStringList, expected);
        QCOMPARE(WindowsCommands::interpreterArguments(WindowsCommands::taskkillCommand(image, tree)),
                 expected);
    }
};

KESTRUNE_TEST_MAIN(TestWindowsCommands)
#include "tst_windowscommands.moc"

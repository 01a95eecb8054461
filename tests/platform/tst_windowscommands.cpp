#include "support/testmain.h"
#include "system/windowscommands.h"

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
};

KESTRUNE_TEST_MAIN(TestWindowsCommands)
#include "tst_windowscommands.moc"

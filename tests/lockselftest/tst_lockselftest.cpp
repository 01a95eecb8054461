#include "support/testmain.h"
#include "support/windowrig.h"
#include "system/lockselftest.h"
#ifndef Q_OS_WIN
#include "helper/netlockselftest.h"
#endif

#include <QAccessible>
#include <QCheckBox>
#include <QPushButton>

class TestLockSelfTest : public QObject
{
    Q_OBJECT

private slots:
    void helperAnswerIsReadByShapeOnly_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("checks");
        QTest::addColumn<bool>("passed");
        const QByteArray all = "a PASS t\nb PASS 7 of 7\nc PASS 12 packets\nd PASS ok\n";
        QTest::newRow("four passed checks pass") << all << 4 << true;
        QTest::newRow("a failed check")
            << QByteArray(all).replace("b PASS", "b FAIL") << 4 << false;
        QTest::newRow("a missing check fails")
            << QByteArray("a PASS t\nb PASS x\nc PASS 1\n") << 3 << false;
        QTest::newRow("a repeated letter counts once, the first")
            << QByteArray("a FAIL x\n") + all << 4 << false;
        QTest::newRow("other lines and shapes are ignored")
            << QByteArray("e PASS x\nA PASS x\na  PASS x\nkestrunevpn-helper: a PASS\n") << 0
            << false;
    }
    void helperAnswerIsReadByShapeOnly()
    {
        QFETCH(QByteArray, output);
        const LockSelfTest::Result result = LockSelfTest::parse(output);
        QTEST(int(result.checks.size()), "checks");
        QTEST(result.passed, "passed");
        QCOMPARE(LockSelfTest::lines(result).last().contains("emergency unblock"), !result.passed);
    }

    void theHelperIsRunThroughPkexecUnlessElevated()
    {
        const SystemCommand user = LockSelfTest::command("/opt/k", "/t", false);
        QCOMPARE(user.program, QString("/usr/bin/pkexec"));
        QCOMPARE(user.arguments,
                 QStringList({"/opt/k/kestrunevpn-helper", "netlock-selftest", "/t"}));
        QCOMPARE(LockSelfTest::command("/opt/k", "/t", true).program,
                 QString("/opt/k/kestrunevpn-helper"));
    }

#ifndef Q_OS_WIN
    void aChangedTableIsDescribedByItsRules()
    {
        const QByteArray expected = "table inet t {\n\tset s {\n\t\ttype ipv4_addr\n\t\telements = "
                                    "{ 10.0.0.1 }\n\t}\n\tchain output {\n\t\toifname \"lo\" "
                                    "accept\n\t\tcounter packets 0 bytes 0 drop\n\t}\n}\n";
        QByteArray live = expected;
        live.replace("packets 0 bytes 0", "packets 9 bytes 900")
            .replace("10.0.0.1", "10.0.0.1, 10.0.0.2")
            .replace("\t\toifname", "\t\tudp dport 53 accept\n\t\toifname");
        QCOMPARE(NetLockSelfTest::ruleDifferences(live, expected),
                 QStringList {"added: udp dport 53 accept (chain output)"});
        QCOMPARE(NetLockSelfTest::ruleDifferences(expected, expected), QStringList());
    }
#endif

    void theButtonFollowsTheLockSetting()
    {
        WindowRig rig;
        rig.open();
        auto *button = rig.widget<QPushButton>("settingTestLockButton");
        auto *lock = rig.widget<QCheckBox>("stngBlockOtherConCheckBox");
        lock->setChecked(false);
        QVERIFY(!button->isEnabled());
        lock->setChecked(true);
        QVERIFY(button->isEnabled());
        QAccessibleInterface *named = QAccessible::queryAccessibleInterface(button);
        QCOMPARE(named->text(QAccessible::Name), QString("Test network lock"));
        lock->setChecked(false);
    }
};

KESTRUNE_TEST_MAIN(TestLockSelfTest)
#include "tst_lockselftest.moc"

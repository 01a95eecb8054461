#include "support/programfolder.h"
#include "support/testmain.h"
#include "system/platform.h"
#include "system/posixplatform.h"

#include <QProcess>

// Every program runs from this suite's own program folder, so a scan by executable never
// sees another suite's processes.
class TestPosixPlatform : public QObject
{
    Q_OBJECT

    Platform &m_platform = Platform::instance();

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void shellRunsTheJoinedCommand_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("output");
        QTest::newRow("words are joined with blanks") << QStringList {"echo", "a", "b"} << "a b\n";
        QTest::newRow("a pipeline runs in the interpreter")
            << QStringList {"printf", "'x\\ny\\n'", "|", "wc", "-l"} << "2\n";
    }
    void shellRunsTheJoinedCommand()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, output);
        QProcess shell;
        shell.start(m_platform.shellProgram(), m_platform.shellArguments(command));
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).trimmed(), output.trimmed());
    }

    void endingAProgramSparesOtherCopiesOfTheSameTool()
    {
        ProgramFolder folder;
        const QString tool = folder.installCopy("/bin/sleep", "tool");
        folder.installCopy("/bin/sleep", "other");
        QVERIFY(m_platform.endProcessesOf(tool, true, 1000)); // nothing runs yet: no failure
        QProcess ours[2], other;
        for (QProcess &process : ours)
            process.start(tool, {"300"});
        other.start(folder.path() + "/other", {"300"});
        for (QProcess *process : {&ours[0], &ours[1], &other})
            QVERIFY(process->waitForStarted(5000));
        const QList<qint64> found = PosixPlatform::processesOf(tool);
        QCOMPARE(QSet<qint64>(found.cbegin(), found.cend()),
                 (QSet<qint64> {ours[0].processId(), ours[1].processId()}));
        QVERIFY(m_platform.endProcessesOf(tool, false, 5000));
        for (QProcess &process : ours)
            QVERIFY(process.waitForFinished(5000) && process.exitStatus() == QProcess::CrashExit);
        QCOMPARE(other.state(), QProcess::Running);
        QVERIFY(PosixPlatform::processesOf(tool).isEmpty());
        other.kill();
        QVERIFY(other.waitForFinished(5000));
    }

    void endingWithChildrenTakesTheirChildrenToo_data()
    {
        QTest::addColumn<bool>("withChildren");
        QTest::newRow("children end with their parent") << true;
        QTest::newRow("children are left alone without the flag") << false;
    }
    void endingWithChildrenTakesTheirChildrenToo()
    {
        QFETCH(bool, withChildren);
        ProgramFolder folder;
        const QString shell = folder.installCopy("/bin/sh", "tool");
        const QString child = folder.installCopy("/bin/sleep", "child");
        // The trailing command keeps the shell from replacing itself with the child.
        QProcess parent;
        parent.start(shell, {"-c", child + " 300 & echo $!; wait"});
        QVERIFY(parent.waitForReadyRead(5000));
        const qint64 pid = parent.readLine().trimmed().toLongLong();
        QVERIFY(PosixPlatform::descendantsOf(parent.processId()).contains(pid));
        // Until it has replaced itself with the child program, the fork is still the shell.
        QTRY_VERIFY_WITH_TIMEOUT(folder.running("child").contains(pid), 5000);
        QVERIFY(m_platform.endProcessesOf(shell, withChildren, 5000));
        QVERIFY(parent.waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(folder.running("child").contains(pid), !withChildren, 5000);
    }
};

KESTRUNE_TEST_MAIN(TestPosixPlatform)
#include "tst_posixplatform.moc"

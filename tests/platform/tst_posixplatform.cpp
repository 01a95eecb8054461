#include "support/testmain.h"
#include "system/platform.h"
#include "system/posixplatform.h"

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A started process that is ended and reaped whatever the test's outcome.
struct Running
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();

    ~Running()
    {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
};

std::unique_ptr<Running> start(const QString &program, const QStringList &args)
{
    auto running = std::make_unique<Running>();
    running->process->start(program, args);
    if (!running->process->waitForStarted(5000))
        return nullptr;
    return running;
}

// Copies a system program into the folder, as the program folder holds its own copies of
// the tools it runs.
QString copyProgram(const QTemporaryDir &dir, const QString &system, const QString &name)
{
    const QString copy = dir.filePath(name);
    if (!QFile::copy(system, copy))
        return QString();
    QFile::setPermissions(copy, QFile::permissions(system) | QFile::ExeOwner);
    return copy;
}

} // namespace

class TestPosixPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void executableNamesHaveNoExtension_data()
    {
        QTest::addColumn<QString>("base");
        QTest::newRow("openvpn") << QStringLiteral("openvpn");
        QTest::newRow("ss-local") << QStringLiteral("ss-local");
        QTest::newRow("kestrunevpn") << QStringLiteral("kestrunevpn");
    }
    void executableNamesHaveNoExtension()
    {
        QFETCH(QString, base);
        QCOMPARE(Platform::instance().executableName(base), base);
    }

    void shellRunsTheJoinedCommand_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("output");
        QTest::newRow("words are joined with blanks")
            << QStringList {"echo", "a", "b"} << QStringLiteral("a b\n");
        QTest::newRow("a pipeline runs in the interpreter")
            << QStringList {"printf", "'x\\ny\\n'", "|", "wc", "-l"} << QStringLiteral("2\n");
    }
    void shellRunsTheJoinedCommand()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, output);
        Platform &platform = Platform::instance();
        QCOMPARE(platform.shellProgram(), QStringLiteral("/bin/sh"));
        const QStringList args = platform.shellArguments(command);
        QCOMPARE(args.value(0), QStringLiteral("-c"));
        QProcess shell;
        shell.start(platform.shellProgram(), args);
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()).trimmed(), output.trimmed());
    }

    void endingAProgramSparesOtherCopiesOfTheSameTool()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString program
            = copyProgram(dir, QStringLiteral("/bin/sleep"), QStringLiteral("tool"));
        QVERIFY(!program.isEmpty());

        std::vector<std::unique_ptr<Running>> ours;
        for (int i = 0; i < 2; ++i) {
            ours.push_back(start(program, {QStringLiteral("300")}));
            QVERIFY(ours.back());
        }
        const auto plain = start(QStringLiteral("/bin/sleep"), {QStringLiteral("300")});
        QVERIFY(plain);

        QList<qint64> found = PosixPlatform::processesOf(program);
        std::sort(found.begin(), found.end());
        QList<qint64> expected {ours.at(0)->process->processId(), ours.at(1)->process->processId()};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);

        QVERIFY(Platform::instance().endProcessesOf(program, false, 5000));
        for (const auto &running : ours) {
            QVERIFY(running->process->waitForFinished(5000));
            QCOMPARE(running->process->exitStatus(), QProcess::CrashExit);
        }
        QCOMPARE(plain->process->state(), QProcess::Running);
        QVERIFY(PosixPlatform::processesOf(program).isEmpty());
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
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString shell = copyProgram(dir, QStringLiteral("/bin/sh"), QStringLiteral("tool"));
        QVERIFY(!shell.isEmpty());
        // The trailing command keeps the shell from replacing itself with sleep.
        const auto parent = start(
            shell, {QStringLiteral("-c"), QStringLiteral("/bin/sleep 300 & echo $!; wait")});
        QVERIFY(parent);
        QVERIFY(parent->process->waitForReadyRead(5000));
        const qint64 child = parent->process->readLine().trimmed().toLongLong();
        QVERIFY(child > 0);
        QVERIFY(PosixPlatform::descendantsOf(parent->process->processId()).contains(child));

        QVERIFY(Platform::instance().endProcessesOf(shell, withChildren, 5000));
        QVERIFY(parent->process->waitForFinished(5000));
        const bool childAlive = QFile::exists(QStringLiteral("/proc/%1/exe").arg(child))
            && !QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(child)).isEmpty();
        QCOMPARE(childAlive, !withChildren);
        if (childAlive)
            ::kill(pid_t(child), SIGKILL);
    }

    void nothingRunningIsNotAFailure()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(Platform::instance().endProcessesOf(dir.filePath(QStringLiteral("absent")), true,
                                                    1000));
    }
};

KESTRUNE_TEST_MAIN(TestPosixPlatform)
#include "tst_posixplatform.moc"

#include "core/loger.h"
#include "support/testmain.h"
#include "vpnprocessfixture.h"

#include <memory>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

using Status = VPNProcess::VPNProcessStatus;
using StatusList = QList<VPNProcess::VPNProcessStatus>;

Q_DECLARE_METATYPE(StatusList)

namespace {

const QByteArray kBaseConfig("client\ndev tun\nremote 198.51.100.7 1194\n");

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestVpnProcess : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_logDir;

    std::unique_ptr<VpnProcessFixture> make(const QByteArray &script)
    {
        auto f = std::make_unique<VpnProcessFixture>(QStringLiteral(STANDIN_PATH));
        if (!f->isValid())
            return nullptr;
        f->writeConfig(kBaseConfig + script);
        f->startThread();
        return f;
    }

    QString appLog() const { return readFile(Loger::currentFileName()); }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        QVERIFY2(QFile::exists(QStringLiteral(STANDIN_PATH)), "openvpn-standin was not built");
        QVERIFY(m_logDir.isValid());
        Loger::init(m_logDir.path(), false, false, QStringLiteral("kestrunevpn"));
    }

    void cleanupTestCase() { Loger::close(); }

    void cleanup()
    {
        qunsetenv("OPENVPN_STANDIN_VERSION");
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void tunnelStatesReachTheWindowInOrder_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<StatusList>("expected");
        const StatusList upOnce {VPNProcess::ProcConnecting, VPNProcess::ProcConnected};
        QTest::newRow("states one by one") << QByteArray("#standin connect-delay 40\n") << upOnce;
        QTest::newRow("state history decides at once")
            << QByteArray("#standin connect-delay 0\n#standin history-only\n") << upOnce;
        QTest::newRow("reconnecting reads as connecting")
            << QByteArray("#standin connect-delay 40\n#standin reconnect\n") << (upOnce + upOnce);
    }

    void tunnelStatesReachTheWindowInOrder()
    {
        QFETCH(QByteArray, script);
        QFETCH(StatusList, expected);
        auto f = make(script);
        QVERIFY(f);
        f->requestStart();
        QTRY_COMPARE_WITH_TIMEOUT(f->states, expected, 15000);
        QCOMPARE(f->proc->procStatus.load(), VPNProcess::ProcConnected);

        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.size(), expected.size() + 1, 15000);
        QCOMPARE(f->states.last(), VPNProcess::ProcUnconnected);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
        // The stand-in ended through the management interface, not by force.
        QTRY_VERIFY_WITH_TIMEOUT(f->openvpnLog().contains("SIGTERM[hard,] received"), 5000);
        QVERIFY(!f->proc->errorSeen);
    }

    void byteCountsFollowTheTunnel_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("plain counts") << QByteArray();
        QTest::newRow("count beyond 2147483647 is skipped")
            << QByteArray("#standin big-bytecount\n");
    }

    void byteCountsFollowTheTunnel()
    {
        QFETCH(QByteArray, script);
        auto f = make("#standin connect-delay 0\n" + script);
        QVERIFY(f);
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(f->counts.size() >= 2, 5000);
        QCOMPARE(f->counts.at(0), qMakePair(1500, 700));
        QCOMPARE(f->counts.at(1), qMakePair(3000, 1400));
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
    }

    void failuresEndInUnconnected_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("error");
        QTest::addColumn<int>("minElapsedMs");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("fatal line stops openvpn")
            << QByteArray("#standin fatal\n#standin connect-delay 1500\n") << true << 0
            << QString();
        QTest::newRow("openvpn that exits while connecting")
            << QByteArray("#standin exit-while-connecting\n#standin connect-delay 100\n") << false
            << 0 << QString();
        // Nine pauses of 500 ms lie between ten attempts.
        QTest::newRow("ten failed management connections")
            << QByteArray("#standin no-management\n") << false << 4000
            << QStringLiteral("[OpenVPN]: management interface did not answer");
    }

    void failuresEndInUnconnected()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, error);
        QFETCH(int, minElapsedMs);
        QFETCH(QString, logLine);
        auto f = make(script);
        QVERIFY(f);
        QElapsedTimer clock;
        clock.start();
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(
            !f->states.isEmpty() && f->states.last() == VPNProcess::ProcUnconnected, 20000);
        QVERIFY2(clock.elapsed() >= minElapsedMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(f->states.first(), VPNProcess::ProcConnecting);
        QVERIFY(!f->states.contains(VPNProcess::ProcConnected));
        QCOMPARE(f->proc->procStatus.load(), VPNProcess::ProcUnconnected);
        QCOMPARE(f->proc->errorSeen.load(), error);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
        if (!logLine.isEmpty())
            QVERIFY(appLog().contains(logLine));
    }

    void errorOutputSetsTheErrorMarkAndReachesTheLog()
    {
        auto f = make("#standin error-output\n#standin connect-delay 0\n");
        QVERIFY(f);
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->proc->errorSeen.load(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(f->openvpnLog().contains("Options ERROR"), 5000);
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
    }

    void droppedTunnelIsStopped()
    {
        auto f = make("#standin connect-delay 0\n#standin drop-tunnel 1500\n");
        QVERIFY(f);
        f->requestStart();
        const StatusList expected {VPNProcess::ProcConnecting, VPNProcess::ProcConnected,
                                   VPNProcess::ProcUnconnected};
        QTRY_COMPARE_WITH_TIMEOUT(f->states, expected, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
        QVERIFY(f->openvpnLog().contains("SIGTERM[hard,] received"));
    }

    void stopWhileConnectingEndsOpenVpn()
    {
        auto f = make("#standin hold-connecting\n#standin connect-delay 0\n");
        QVERIFY(f);
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->openvpnLog().contains("MANAGEMENT: Client connected"), 10000);
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
    }

    void stopWithoutOpenVpnAnswersUnconnected()
    {
        auto f = make(QByteArray());
        QVERIFY(f);
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states, StatusList {VPNProcess::ProcUnconnected}, 5000);
    }

    void missingProgramAnswersUnconnected()
    {
        auto f = make(QByteArray());
        QVERIFY(f);
        QVERIFY(QFile::remove(f->programPath));
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(
            !f->states.isEmpty() && f->states.last() == VPNProcess::ProcUnconnected, 5000);
    }

    void leftoverOpenVpnIsShutDownWithTheStoredPassword()
    {
        auto f = std::make_unique<VpnProcessFixture>(QStringLiteral(STANDIN_PATH));
        QVERIFY(f->isValid());
        f->writeConfig(kBaseConfig + "#standin connect-delay 0\n");
        const QString passwordPath = f->tempDir + "/openvpn_pswd.data";
        const QByteArray earlier("0123456789abcdef");
        {
            QFile pw(passwordPath);
            QVERIFY(pw.open(QIODevice::WriteOnly));
            pw.write(earlier);
        }
        const QString leftoverLog = f->root() + "/leftover.log";
        qint64 leftoverPid = 0;
        QVERIFY(
            QProcess::startDetached(f->programPath,
                                    {"--config", f->configPath, "--management", "::ffff:127.0.0.1",
                                     "7505", passwordPath, "--log", leftoverLog},
                                    f->root(), &leftoverPid));
        QTRY_VERIFY_WITH_TIMEOUT(readFile(leftoverLog).contains("listening"), 5000);

        f->startThread();
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 15000);
        QVERIFY(readFile(leftoverLog).contains("SIGTERM[hard,] received"));
        QCOMPARE(f->runningCopies().size(), 1);
        QVERIFY(!f->runningCopies().contains(leftoverPid));
        QVERIFY(appLog().contains("Shutting down another active openvpn process"));
        const QString fresh = f->storedPassword();
        QVERIFY(fresh != QString::fromLatin1(earlier));
        QVERIFY(!appLog().contains(QString::fromLatin1(earlier)));
        QVERIFY(!appLog().contains(fresh));

        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
    }

    void stopDuringLeftoverShutdownStartsNoOpenVpn()
    {
        auto f = std::make_unique<VpnProcessFixture>(QStringLiteral(STANDIN_PATH));
        QVERIFY(f->isValid());
        f->writeConfig(kBaseConfig + "#standin connect-delay 0\n");
        const QString leftoverConfig = f->root() + "/leftover.ovpn";
        const QString passwordPath = f->tempDir + "/openvpn_pswd.data";
        {
            QFile config(leftoverConfig);
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write(kBaseConfig + "#standin ignore-sigterm\n");
            QFile pw(passwordPath);
            QVERIFY(pw.open(QIODevice::WriteOnly));
            pw.write("00112233445566aa");
        }
        const QString leftoverLog = f->root() + "/leftover.log";
        QVERIFY(
            QProcess::startDetached(f->programPath,
                                    {"--config", leftoverConfig, "--management", "::ffff:127.0.0.1",
                                     "7505", passwordPath, "--log", leftoverLog},
                                    f->root()));
        QTRY_VERIFY_WITH_TIMEOUT(readFile(leftoverLog).contains("listening"), 5000);

        f->startThread();
        const int before = appLog().count("Shutting down another active openvpn process");
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(
            appLog().count("Shutting down another active openvpn process") > before, 5000);
        f->requestStop();
        // The leftover ignores the request to end, so it is ended by force after 10 s.
        QTRY_COMPARE_WITH_TIMEOUT(f->states, StatusList {VPNProcess::ProcUnconnected}, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
    }

    void managementPasswordIsPrivateRandomAndUnlogged()
    {
        auto f = make("#standin connect-delay 0\n");
        QVERIFY(f);
        QStringList passwords;
        for (int run = 0; run < 2; ++run) {
            f->states.clear();
            f->requestStart();
            QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 10000);
            const QString password = f->storedPassword();
            QVERIFY2(QRegularExpression("^[0-9a-f]{16}$").match(password).hasMatch(),
                     qPrintable(password));
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
            QCOMPARE(QFile::permissions(f->tempDir + "/openvpn_pswd.data") & others,
                     QFile::Permissions());
            QVERIFY(!appLog().contains(password));
            QVERIFY(!f->openvpnLog().contains(password));
            passwords.append(password);
            f->requestStop();
            QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
        }
        QVERIFY(passwords.at(0) != passwords.at(1));
    }

    void ignoredSigtermIsEndedByForceAfterTenSeconds()
    {
        auto f = make("#standin connect-delay 0\n#standin ignore-sigterm\n");
        QVERIFY(f);
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 10000);
        QElapsedTimer clock;
        clock.start();
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 20000);
        QVERIFY2(clock.elapsed() >= 9000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
        QVERIFY(!f->openvpnLog().contains("SIGTERM[hard,] received"));
    }

    void manyStartStopCyclesLeaveNothingBehind()
    {
        auto f = make("#standin connect-delay 0\n");
        QVERIFY(f);
        const auto cycle = [&f]() {
            f->states.clear();
            f->requestStart();
            QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 10000);
            f->requestStop();
            QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
            QTRY_VERIFY_WITH_TIMEOUT(VpnProcessFixture::childProcesses().isEmpty(), 5000);
        };
        cycle();
        if (QTest::currentTestFailed())
            return;
        const int files = VpnProcessFixture::openFileCount();
        const int threads = VpnProcessFixture::threadCount();
        for (int i = 0; i < 50; ++i) {
            cycle();
            if (QTest::currentTestFailed())
                return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(VpnProcessFixture::threadCount(), threads, 5000);
        QCOMPARE(VpnProcessFixture::openFileCount(), files);
        QVERIFY(f->runningCopies().isEmpty());
    }

    void versionComesFromTheBanner_data()
    {
        QTest::addColumn<QByteArray>("banner");
        QTest::addColumn<QString>("version");
        QTest::newRow("2.4.9") << QByteArray("2.4.9") << "2.4.9";
        QTest::newRow("two-digit part is cut") << QByteArray("2.4.10") << "2.4.1";
        QTest::newRow("2.3.18") << QByteArray("2.3.18") << "2.3.1";
        QTest::newRow("2.5.0") << QByteArray("2.5.0") << "2.5.0";
        QTest::newRow("silent program gives null") << QByteArray("silent") << QString();
    }

    void versionComesFromTheBanner()
    {
        QFETCH(QByteArray, banner);
        QFETCH(QString, version);
        VpnProcessFixture f(QStringLiteral(STANDIN_PATH));
        QVERIFY(f.isValid());
        qputenv("OPENVPN_STANDIN_VERSION", banner);
        VPNProcess proc(f.appDir);
        const QString got = proc.version();
        QCOMPARE(got, version);
        QCOMPARE(got.isNull(), version.isNull());
    }

    void missingProgramGivesNoVersion()
    {
        QTemporaryDir empty;
        VPNProcess proc(empty.path());
        QVERIFY(proc.version().isNull());
    }

    void managementHostFollowsTheMode()
    {
        VPNProcess proc(m_logDir.path());
        QCOMPARE(proc.managementHost(), QStringLiteral("::ffff:127.0.0.1"));
        proc.setMode(VPNProcess::PM_OpenVPN23);
        QCOMPARE(proc.managementHost(), QStringLiteral("127.0.0.1"));
        proc.setMode(static_cast<VPNProcess::VPNProcessMode>(7));
        QCOMPARE(proc.managementHost(), QStringLiteral("127.0.0.1"));
        proc.setMode(VPNProcess::PM_OpenVPN24);
        QCOMPARE(proc.managementHost(), QStringLiteral("::ffff:127.0.0.1"));
    }

    void badManagementPeerNeitherCrashesNorHangs_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("connects");
        const QByteArray up("\r\n>STATE:1607000000,CONNECTED,SUCCESS,10.8.0.6,,,,\r\n");
        QByteArray junk;
        for (int i = 0; i < 65536; ++i)
            junk.append(char(i * 37 % 256));
        QTest::newRow("port that accepts and never speaks") << QByteArray() << false;
        QTest::newRow("megabyte without line end")
            << QByteArray(QByteArray(1024 * 1024, 'A') + up) << true;
        QTest::newRow("binary garbage") << QByteArray(junk + up) << true;
    }

    void badManagementPeerNeitherCrashesNorHangs()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, connects);
        auto f = make("#standin no-management\n");
        QVERIFY(f);
        f->requestStart();
        // The fake peer opens only after the check for a leftover OpenVPN, so the controller
        // meets it through its regular connection attempts.
        QTRY_VERIFY_WITH_TIMEOUT(!f->states.isEmpty(), 5000);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, VPNProcess::ManagementPort));
        QVERIFY(server.waitForNewConnection(8000));
        QTcpSocket *peer = server.nextPendingConnection();
        QVERIFY(peer);
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT((received += peer->readAll()).contains("state on all\r\n"), 5000);
        QVERIFY(QRegularExpression("^[0-9a-f]{16}\r\n")
                    .match(QString::fromLatin1(received))
                    .hasMatch());
        if (!payload.isEmpty()) {
            peer->write(payload);
            peer->flush();
        }
        if (connects) {
            QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 10000);
            QTRY_VERIFY_WITH_TIMEOUT((received += peer->readAll()).contains("bytecount 1\r\n"),
                                     5000);
        }
        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
        received += peer->readAll();
        QVERIFY(received.contains("signal SIGTERM\r\n"));
    }
};

KESTRUNE_TEST_MAIN(TestVpnProcess)
#include "tst_vpnprocess.moc"

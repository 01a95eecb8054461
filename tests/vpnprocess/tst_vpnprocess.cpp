#include "support/logrecorder.h"
#include "support/testmain.h"
#include "tunnel.h"

#include <csignal>
#include <memory>

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

using StatusList = QList<VPNProcess::VPNProcessStatus>;
Q_DECLARE_METATYPE(StatusList)

namespace {

const QString Program = QStringLiteral("ovpn/openvpn");
const StatusList UpOnce {VPNProcess::ProcConnecting, VPNProcess::ProcConnected};

int entriesIn(const char *folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

} // namespace

// The controller against the OpenVPN stand-in, each test with a program folder of its own.
class TestVpnProcess : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<LogRecorder> m_log;
    std::unique_ptr<Tunnel> t;

    QString file(const QString &name) const
    {
        QFile file(name.startsWith('/') ? name : m_folder->path() + "/" + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void tunnel(const QByteArray &script)
    {
        t.reset(new Tunnel(*m_folder, "client\ndev tun\nremote 198.51.100.7 1194\n" + script));
        t->setTerminateWait(1000); // instead of 10 s, so an OpenVPN ended by force ends soon
    }
    // An OpenVPN left from an earlier run on the management port, with the password file
    // the controller is about to use.
    qint64 startLeftover(const QByteArray &script)
    {
        writeFile(m_folder->path() + "/leftover.ovpn", script);
        writeFile(t->data + "/temp/openvpn_pswd.data", "0123456789abcdef");
        qint64 pid = 0;
        QProcess::startDetached(m_folder->path() + "/" + Program,
                                {"--config", m_folder->path() + "/leftover.ovpn", "--management",
                                 "::ffff:127.0.0.1", "7505", t->data + "/temp/openvpn_pswd.data",
                                 "--log", m_folder->path() + "/leftover.log"},
                                m_folder->path(), &pid);
        return pid;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        m_log.reset();
        m_folder.reset(new ProgramFolder);
        QVERIFY(!m_folder->installStandIn().isEmpty());
        m_log.reset(new LogRecorder(m_folder->path() + QStringLiteral("/logs")));
    }
    void cleanup()
    {
        t.reset();
        m_folder.reset(); // ends whatever of its programs still runs
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // States reach the window in order; an OpenVPN that fails on its own ends in
    // "unconnected" as well. Every start meets a count beyond 2147483647 before each regular
    // one: it is skipped.
    void scriptedOpenVpnRuns_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("ups");
        QTest::addColumn<bool>("endsAlone");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("polite");
        QTest::addColumn<QString>("logLine");
        const auto row = [](const char *name, const char *script, int ups, bool endsAlone,
                            bool error, bool polite, const char *logLine = "") {
            QTest::newRow(name) << QByteArray(script) << ups << endsAlone << error << polite
                                << QString(logLine);
        };
        row("states one by one", "#standin connect-delay 40\n", 1, false, false, true);
        row("state history decides at once", "#standin history-only\n", 1, false, false, true);
        row("reconnecting reads as connecting", "#standin reconnect\n", 2, false, false, true);
        row("error output sets the mark", "#standin error-output\n", 1, false, true, true);
        row("fatal line", "#standin fatal\n#standin connect-delay 1500\n", 0, true, true, true);
        row("exits while connecting", "#standin exit-while-connecting\n", 0, true, false, false);
        row("ten failed management connections", "#standin no-management\n", 0, true, false, false,
            "[OpenVPN]: management interface did not answer");
        row("dropped tunnel", "#standin drop-tunnel 500\n", 1, true, false, true);
        row("missing program", "#missing\n", 0, true, false, false, "[OpenVPN]: cannot start ");
    }
    void scriptedOpenVpnRuns()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, ups);
        QFETCH(bool, endsAlone);
        QFETCH(bool, error);
        QFETCH(bool, polite);
        QFETCH(QString, logLine);
        tunnel(script + "#standin big-bytecount\n");
        if (script.contains("#missing"))
            QVERIFY(QFile::remove(m_folder->path() + "/" + Program));
        t->start();
        StatusList expected;
        for (int up = 0; up < ups; ++up)
            expected += UpOnce;
        if (!endsAlone) {
            QTRY_COMPARE_WITH_TIMEOUT(t->states, expected, 15000);
            QTRY_VERIFY_WITH_TIMEOUT(!t->counts.isEmpty(), 5000);
            QCOMPARE(t->counts.first(), qMakePair(1500, 700));
            t->stop();
        }
        QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 20000);
        QCOMPARE(t->states.first(), VPNProcess::ProcConnecting);
        QCOMPARE(t->states.count(VPNProcess::ProcConnected), ups);
        QVERIFY(endsAlone || t->states == expected + StatusList {VPNProcess::ProcUnconnected});
        QCOMPARE(t->proc->errorSeen.load(), error);
        // Ended through the management interface, not by force.
        QCOMPARE(t->openVpnLog().contains("SIGTERM[hard,] received"), polite);
        QVERIFY(logLine.isEmpty() || !m_log->matching(logLine).isEmpty());
        if (script.contains("no-management"))
            QCOMPARE(t->proc->connectAttemptsUsed(), VPNProcess::ConnectAttempts);
        QTRY_VERIFY_WITH_TIMEOUT(m_folder->running(Program).isEmpty(), 5000);
    }

    // A stop always ends in "unconnected" with no OpenVPN left: without one, while one
    // connects, when one ignores the request to end (it is ended by force once the
    // terminate timer fires), and while a leftover that ignores it is being ended (no new
    // OpenVPN starts then).
    void stopEndsEveryOpenVpn_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("leftover");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("polite");
        QTest::newRow("without openvpn") << QByteArray() << QByteArray() << QString() << false;
        QTest::newRow("while connecting") << QByteArray("#standin hold-connecting\n")
                                          << QByteArray() << "MANAGEMENT: Client connected" << true;
        QTest::newRow("openvpn ignores the request")
            << QByteArray("#standin ignore-sigterm\n") << QByteArray()
            << "MANAGEMENT: Client connected" << false;
        QTest::newRow("during the end of a leftover")
            << QByteArray() << QByteArray("#standin ignore-sigterm\n")
            << "Shutting down another active openvpn process" << false;
    }
    void stopEndsEveryOpenVpn()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, leftover);
        QFETCH(QString, before);
        QFETCH(bool, polite);
        tunnel(script);
        if (!leftover.isEmpty()) {
            startLeftover(leftover);
            QTRY_VERIFY_WITH_TIMEOUT(file("leftover.log").contains("listening"), 5000);
        }
        if (!before.isEmpty()) {
            t->start();
            QTRY_VERIFY_WITH_TIMEOUT(t->openVpnLog().contains(before) || m_log->contains(before),
                                     10000);
        }
        t->stop();
        QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 20000);
        if (before.isEmpty() || !leftover.isEmpty())
            QCOMPARE(t->states, StatusList {VPNProcess::ProcUnconnected});
        QTRY_VERIFY_WITH_TIMEOUT(m_folder->running(Program).isEmpty(), 5000);
        QCOMPARE(t->openVpnLog().contains("SIGTERM[hard,] received"), polite);
    }

    // Passwords are secrets: each start writes a fresh random one to a file only its owner
    // may read, and none reaches a log. A leftover OpenVPN is ended with the stored one. Once
    // running, further runs leave no file or thread behind.
    void leftoverIsEndedAndPasswordsStayPrivate()
    {
        tunnel(QByteArray());
        const qint64 leftover = startLeftover(QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(file("leftover.log").contains("listening"), 5000);
        t->start();
        QTRY_VERIFY_WITH_TIMEOUT(file("leftover.log").contains("SIGTERM[hard,] received"), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_folder->running(Program).contains(leftover), 5000);
        // The new OpenVPN starts once the leftover has closed its management connection, which
        // may be before it has let go of the port: then it ends at once, unconnected.
        QTRY_VERIFY_WITH_TIMEOUT(
            t->endsIn(VPNProcess::ProcConnected) || t->endsIn(VPNProcess::ProcUnconnected), 15000);
        t->stop();
        QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 15000);
        QStringList passwords {QStringLiteral("0123456789abcdef")};
        int files = 0;
        int threads = 0;
        for (int run = 0; run < 3; ++run) {
            t->start();
            QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcConnected), 15000);
            QCOMPARE(m_folder->running(Program).size(), 1);
            passwords << file(t->data + "/temp/openvpn_pswd.data");
            QVERIFY2(QRegularExpression("^[0-9a-f]{16}$").match(passwords.last()).hasMatch(),
                     qPrintable(passwords.last()));
            QCOMPARE(QFile::permissions(t->data + "/temp/openvpn_pswd.data") & 0x77,
                     QFile::Permissions());
            t->stop();
            QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 15000);
            QTRY_VERIFY_WITH_TIMEOUT(m_folder->running(Program).isEmpty(), 5000);
            files = run == 1 ? entriesIn("/proc/self/fd") : files;
            threads = run == 1 ? entriesIn("/proc/self/task") : threads;
        }
        QTRY_VERIFY_WITH_TIMEOUT(entriesIn("/proc/self/task") <= threads, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(entriesIn("/proc/self/fd") <= files, 5000);
        QCOMPARE(m_log->lines().count("Shutting down another active openvpn process"), 1);
        QCOMPARE(QSet<QString>(passwords.begin(), passwords.end()).size(), 4);
        for (const QString &password : passwords)
            QVERIFY(m_log->matching(password).isEmpty() && !t->openVpnLog().contains(password));
    }

    // A peer on the management port that sends nothing, a megabyte without a line end or
    // binary junk neither crashes the controller nor holds up its stop.
    void badManagementPeerNeitherCrashesNorHangs_data()
    {
        QTest::addColumn<QByteArray>("payload");
        const QByteArray up("\r\n>STATE:1607000000,CONNECTED,SUCCESS,10.8.0.6,,,,\r\n");
        QByteArray junk;
        for (int i = 0; i < 65536; ++i)
            junk.append(char(i * 37 % 256));
        QTest::newRow("port that accepts and never speaks") << QByteArray();
        QTest::newRow("megabyte without line end") << QByteArray(1024 * 1024, 'A') + up;
        QTest::newRow("binary garbage") << junk + up;
    }
    void badManagementPeerNeitherCrashesNorHangs()
    {
        QFETCH(QByteArray, payload);
        tunnel("#standin no-management\n");
        t->start();
        // The peer opens only after the check for a leftover OpenVPN, so the controller meets
        // it through its regular connection attempts.
        QTRY_VERIFY_WITH_TIMEOUT(!t->states.isEmpty(), 5000);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, VPNProcess::ManagementPort));
        QVERIFY(server.waitForNewConnection(8000));
        QTcpSocket *peer = server.nextPendingConnection();
        QByteArray got;
        QTRY_VERIFY_WITH_TIMEOUT((got += peer->readAll()).contains("state on all\r\n"), 5000);
        QVERIFY(QRegularExpression("^[0-9a-f]{16}\r\n").match(QString::fromLatin1(got)).hasMatch());
        peer->write(payload);
        if (!payload.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(t->states.contains(VPNProcess::ProcConnected), 10000);
            QTRY_VERIFY_WITH_TIMEOUT((got += peer->readAll()).contains("bytecount 1\r\n"), 5000);
        }
        t->stop();
        QTRY_VERIFY_WITH_TIMEOUT((got += peer->readAll()).contains("signal SIGTERM\r\n"), 5000);
        // The OpenVPN behind the peer ends as asked, without a word.
        for (qint64 pid : m_folder->running(Program))
            ::kill(pid_t(pid), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 10000);
    }
};

KESTRUNE_TEST_MAIN(TestVpnProcess)
#include "tst_vpnprocess.moc"

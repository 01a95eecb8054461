#include "engine/vpnprocess.h"
#include "support/builders.h"
#include "support/logrecorder.h"
#include "support/programfolder.h"
#include "support/reservedport.h"
#include "support/testmain.h"
#include "system/listenerowner.h"
#include "system/tcpmanagementsocket.h"

#include <arpa/inet.h>
#include <csignal>
#include <grp.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

using StatusList = QList<VPNProcess::VPNProcessStatus>;
Q_DECLARE_METATYPE(StatusList)

namespace {

const QString Program = QStringLiteral("ovpn/openvpn");
const StatusList UpOnce {VPNProcess::ProcConnecting, VPNProcess::ProcConnected};

int entriesIn(const char *folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// One VPNProcess on a thread of its own, wired as the main window wires it: calls reach it
// queued, its reports come back queued and are kept. Its OpenVPN is the copy in the
// suite's program folder; the data folder ("logs", "temp") lies in the same place.
struct Tunnel
{
    explicit Tunnel(const ProgramFolder &folder, const QByteArray &config)
        : data(folder.path() + QStringLiteral("/data"))
        , proc(new VPNProcess(folder.path()))
    {
        QDir().mkpath(data + QStringLiteral("/logs"));
        QDir().mkpath(data + QStringLiteral("/temp"));
        writeFile(data + QStringLiteral("/temp/openvpn_config.ovpn"), config);
        proc->setup(data, data + QStringLiteral("/temp"));
        proc->configPath = data + QStringLiteral("/temp/openvpn_config.ovpn");
        proc->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, proc, &VPNProcess::init);
        QObject::connect(&thread, &QThread::finished, proc, &QObject::deleteLater);
        QObject::connect(proc, &VPNProcess::vpnStateChanged, &context,
                         [this](VPNProcess::VPNProcessStatus status) { states << status; });
        QObject::connect(proc, &VPNProcess::dataStatChanged, &context,
                         [this](int in, int out) { counts << qMakePair(in, out); });
        thread.start();
    }
    ~Tunnel()
    {
        thread.quit();
        thread.wait();
    }

    // As the main window does it: the status first, then the queued call.
    void start()
    {
        proc->procStatus = VPNProcess::ProcConnecting;
        QMetaObject::invokeMethod(proc, "start", Qt::QueuedConnection, Q_ARG(QString, QString()));
    }
    void stop()
    {
        proc->procStatus = VPNProcess::ProcDisconnecting;
        QMetaObject::invokeMethod(proc, "stop", Qt::QueuedConnection);
    }
    // What OpenVPN printed, as the controller keeps it.
    QString openVpnLog() const { return readText(data + QStringLiteral("/logs/openvpn_log.txt")); }
    bool endsIn(VPNProcess::VPNProcessStatus status) const
    {
        return !states.isEmpty() && states.last() == status;
    }

    QString data;
    QThread thread;
    VPNProcess *proc;
    QObject context; // reports arrive on the test's thread
    QList<VPNProcess::VPNProcessStatus> states;
    QList<QPair<int, int>> counts;
};

// A listener of user nobody at `path` (a Unix socket) or on loopback `port`: a Unix socket is
// bound as root in the suite's folder and listens as nobody, whose credentials its peers see;
// a port is nobody's from the start, as the socket tables tell. Writes "L" once listening
// ("U" when no other user can be taken on), then for each connection "Y" when anything
// reached it, "N" otherwise. Returns the child's id; *report is the reading end.
pid_t listenAsNobody(const QString &path, quint16 port, int *report)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    // Only system calls in the child: the controller's thread may hold the allocator's lock.
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    if (child != 0) {
        ::close(pipeEnds[1]);
        *report = pipeEnds[0];
        return child;
    }
    ::close(pipeEnds[0]);
    const int out = pipeEnds[1];
    sockaddr_storage address {};
    socklen_t length = 0;
    if (port == 0) {
        auto *local = reinterpret_cast<sockaddr_un *>(&address);
        local->sun_family = AF_UNIX;
        qstrncpy(local->sun_path, name.constData(), sizeof local->sun_path);
        length = sizeof *local;
    } else {
        auto *in = reinterpret_cast<sockaddr_in *>(&address);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        in->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof *in;
    }
    const auto becomeNobody = [out]() {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(::write(out, "U", 1) == 1 ? 0 : 2);
    };
    if (port != 0)
        becomeNobody();
    const int on = 1;
    const int fd = ::socket(address.ss_family, SOCK_STREAM, 0);
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0
        || ::bind(fd, reinterpret_cast<sockaddr *>(&address), length) != 0)
        ::_exit(2);
    if (port == 0)
        becomeNobody();
    if (::listen(fd, 8) != 0 || ::write(out, "L", 1) != 1)
        ::_exit(2);
    for (int peer; (peer = ::accept(fd, nullptr, nullptr)) >= 0; ::close(peer)) {
        char bytes[4096];
        bool reached = false;
        for (ssize_t n; (n = ::read(peer, bytes, sizeof bytes)) > 0;)
            reached = true;
        if (::write(out, reached ? "Y" : "N", 1) != 1)
            ::_exit(3);
    }
    ::_exit(0);
}

} // namespace

// The controller against the OpenVPN stand-in and against Debian's OpenVPN, each test with a
// program folder of its own.
class TestVpnProcess : public QObject
{
    Q_OBJECT

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<LogRecorder> m_log;
    std::unique_ptr<Tunnel> t;

    QString file(const QString &name) const { return readText(m_folder->path() + "/" + name); }
    // Where the controller finds an OpenVPN it started itself: beside its password file.
    QString socketPath() const { return t->data + "/temp/management.sock"; }
    void tunnel(const QByteArray &script)
    {
        t.reset(new Tunnel(*m_folder, "client\ndev tun\nremote 198.51.100.7 1194\n" + script));
        // The wait for OpenVPN's answer to "signal SIGTERM" before it is ended by force: 1 s
        // instead of 10 s, so an OpenVPN ended by force ends soon.
        QMetaObject::invokeMethod(
            t->proc, [this] { t->proc->terminateTimer->setInterval(1000); },
            Qt::BlockingQueuedConnection);
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

    // States reach the window in order; a stop, or an OpenVPN that fails on its own, ends in
    // "unconnected" with no OpenVPN left. Every start meets a count beyond 2147483647 before each
    // regular one: it is skipped.
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
        // The states pass quickly, so they are history when the controller asks.
        row("state history decides at once", "#standin history-only\n#standin connect-delay 1\n", 1,
            false, false, true);
        row("reconnecting reads as connecting", "#standin reconnect\n", 2, false, false, true);
        row("error output sets the mark", "#standin error-output\n", 1, false, true, true);
        row("fatal line", "#standin fatal\n#standin connect-delay 1500\n", 0, true, true, true);
        row("exits while connecting", "#standin exit-while-connecting\n", 0, true, false, false);
        row("ten failed management connections", "#standin no-management\n", 0, true, false, false,
            "[OpenVPN]: management interface did not answer");
        // Ended by force once the terminate timer fires.
        row("openvpn ignores the request to end", "#standin ignore-sigterm\n", 1, false, false,
            false);
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

    // Passwords are secrets: each start writes a fresh random one to a file only its owner
    // may read, and none reaches a log. A leftover OpenVPN is ended with the stored one. Once
    // running, further runs leave no file or thread behind.
    void leftoverIsEndedAndPasswordsStayPrivate()
    {
        tunnel(QByteArray());
        // An OpenVPN left from an earlier run on the management port, with the password file
        // the controller is about to use.
        writeFile(m_folder->path() + "/leftover.ovpn", QByteArray());
        writeFile(t->data + "/temp/openvpn_pswd.data", "0123456789abcdef");
        qint64 leftover = 0;
        QProcess::startDetached(m_folder->path() + "/" + Program,
                                {"--config", m_folder->path() + "/leftover.ovpn", "--management",
                                 socketPath(), "unix", t->data + "/temp/openvpn_pswd.data", "--log",
                                 m_folder->path() + "/leftover.log"},
                                m_folder->path(), &leftover);
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
            passwords << readText(t->data + "/temp/openvpn_pswd.data");
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
        QLocalServer server;
        QVERIFY(server.listen(socketPath()));
        QVERIFY(server.waitForNewConnection(8000));
        QLocalSocket *peer = server.nextPendingConnection();
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

    void listenerOwnerIsReadFromTheSocketTables_data()
    {
        QTest::addColumn<QByteArray>("tcp");
        QTest::addColumn<QByteArray>("tcp6");
        QTest::addColumn<qint64>("owner");
        const QByteArray head
            = "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when "
              "retrnsmt   uid  timeout inode\n";
        const auto line = [](const char *local, const char *state, const char *uid) {
            return QByteArray("   0: ") + local + " 00000000:0000 " + state
                + " 00000000:00000000 00:00000000 00000000 " + uid + " 0 4242 1\n";
        };
        QTest::newRow("root listens on loopback")
            << head + line("0100007F:1D51", "0A", "0") << head << qint64(0);
        QTest::newRow("a user listens on every IPv6 address")
            << head << head + line("00000000000000000000000000000000:1D51", "0A", "1000")
            << qint64(1000);
        QTest::newRow("a connection to the port is no listener")
            << head + line("0100007F:1D51", "01", "1000") << head << qint64(-1);
        QTest::newRow("another port")
            << head + line("0100007F:1D52", "0A", "0") << head << qint64(-1);
        QTest::newRow("the port inside a longer one")
            << head + line("0100007F:11D51", "0A", "7") << head << qint64(-1);
        QTest::newRow("damaged tables") << QByteArray("\x00 1D51 0A") << QByteArray() << qint64(-1);
    }
    void listenerOwnerIsReadFromTheSocketTables()
    {
        QFETCH(QByteArray, tcp);
        QFETCH(QByteArray, tcp6);
        QTEST(ListenerOwner::fromProcTables(tcp, tcp6, VPNProcess::ManagementPort), "owner");
    }

    // A program of another user at the management interface is given nothing: on Linux a
    // Unix socket (not the stored password to end a leftover OpenVPN, nor the new one), on
    // Windows' road the loopback port, whose listener is looked up.
    void managementPeerOfAnotherUserIsGivenNothing_data()
    {
        QTest::addColumn<bool>("unixSocket");
        QTest::newRow("Unix socket, through the controller") << true;
        QTest::newRow("loopback port, Windows' road") << false;
    }
    void managementPeerOfAnotherUserIsGivenNothing()
    {
        QFETCH(bool, unixSocket);
        if (::geteuid() != 0)
            QSKIP("needs root to listen as another user");
        tunnel("#standin no-management\n");
        ReservedPort reserved;
        const quint16 port = unixSocket ? 0 : reserved.port();
        reserved.release();
        int report = -1;
        const pid_t child = listenAsNobody(socketPath(), port, &report);
        QVERIFY(child > 0);
        char listening = 0;
        QVERIFY(::read(report, &listening, 1) == 1);
        if (listening == 'U') {
            ::waitpid(child, nullptr, 0);
            ::close(report);
            QSKIP("no other user can be taken on here");
        }
        QCOMPARE(listening, 'L');
        if (unixSocket) {
            t->start();
            QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 30000);
        } else {
            TcpManagementSocket socket;
            socket.aimAt({false, QString(), "127.0.0.1", port});
            socket.connectToOpenVpn();
            QVERIFY(socket.waitForConnected(5000));
            QVERIFY(!socket.peerMayBeTold());
            socket.abort();
        }
        QByteArray told;
        char byte = 0;
        if (!unixSocket && ::read(report, &byte, 1) == 1) // the one connection, once it is over
            told += byte;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        while (::read(report, &byte, 1) == 1)
            told += byte;
        ::close(report);
        QVERIFY2(!told.isEmpty() && !told.contains('Y'), told.constData());
        if (unixSocket) {
            QVERIFY(m_log->matching("held by a program of another user").size() >= 2);
            QVERIFY(m_log->matching("Shutting down another active openvpn process").isEmpty());
        }
    }

    // Debian's OpenVPN, run with "dev null" so no tunnel device is needed, tells its version
    // and keeps connecting until its peer listens: a second OpenVPN on the loopback address,
    // from a copy of its own, which ending the client's OpenVPN must not touch.
    void debianOpenVpnConnectsToALoopbackPeer()
    {
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (m_folder->installOpenVpn().isEmpty() || openssl.isEmpty())
            QSKIP("needs Debian's openvpn and the openssl program");
        const QString pki = m_folder->path();
        QProcess run;
        run.start(openssl,
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", pki + "/key.pem", "-out", pki + "/cert.pem", "-days", "2",
                   "-subj", "/CN=kestrune-test"});
        QVERIFY(run.waitForFinished(30000) && run.exitCode() == 0);
        run.start(pki + "/" + Program, {"--version"});
        QVERIFY(run.waitForFinished(30000));
        const QRegularExpressionMatch banner = QRegularExpression("^OpenVPN (\\d+\\.\\d+\\.\\d+)")
                                                   .match(run.readAllStandardOutput());
        // A two-digit part is cut to its first digit ("2.6.14" reads as "2.6.1").
        QCOMPARE(VPNProcess(pki).version(), banner.captured(1).left(5));

        ReservedPort reserved;
        const QByteArray common = "dev null\nverb 3\nca " + pki.toUtf8() + "/cert.pem\ncert "
            + pki.toUtf8() + "/cert.pem\nkey " + pki.toUtf8() + "/key.pem\n";
        const QByteArray port = QByteArray::number(reserved.port()) + "\n";
        t.reset(new Tunnel(*m_folder,
                           common + "tls-client\nproto tcp-client\nremote 127.0.0.1 " + port));
        t->start();
        // Only a client that gave the right password may switch on the state notifications.
        QTRY_VERIFY_WITH_TIMEOUT(t->openVpnLog().contains("MANAGEMENT: CMD 'state on all'"), 15000);
        QVERIFY(!t->openVpnLog().contains("group or others accessible"));
        QCOMPARE(t->states, StatusList {VPNProcess::ProcConnecting});
        writeFile(pki + "/server.ovpn",
                  common
                      + "tls-server\ndh none\nproto tcp-server\n"
                        "local 127.0.0.1\nlport "
                      + port);
        reserved.release();
        QProcess server;
        server.start(m_folder->installCopy(pki + "/" + Program, "peer/openvpn"),
                     {"--config", pki + "/server.ovpn"});
        QTRY_VERIFY_WITH_TIMEOUT(t->states.contains(VPNProcess::ProcConnected), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!t->counts.isEmpty(), 5000);
        QVERIFY(t->counts.first().first >= 0 && t->counts.first().second > 0);
        t->stop();
        QTRY_VERIFY_WITH_TIMEOUT(t->endsIn(VPNProcess::ProcUnconnected), 15000);
        QVERIFY(t->openVpnLog().contains("MANAGEMENT: CMD 'signal SIGTERM'"));
        QTRY_VERIFY_WITH_TIMEOUT(m_folder->running(Program).isEmpty(), 5000);
        QCOMPARE(server.state(), QProcess::Running);
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
    }
};

KESTRUNE_TEST_MAIN(TestVpnProcess)
#include "tst_vpnprocess.moc"

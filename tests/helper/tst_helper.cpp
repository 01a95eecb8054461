#include "helper/callerfile.h"
#include "helper/lockruleset.h"
#include "helper/openvpnlauncher.h"
#include "support/builders.h"
#include "support/programfolder.h"
#include "support/testmain.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A provider's configuration, and ones that tried to reach root through the earlier helper.
void smugglingRows()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("accepted");
    const QByteArray head = "client\nremote 127.0.0.1 1194\n";
    QTest::newRow("provider configuration")
        << head + "dev ksvpn_tun\nproto udp\nnobind\n<ca>\nAAAA\n</ca>\nverb 3\n"
        << true;
    QTest::newRow("setenv opt") << head + "setenv opt script-security 2\nsetenv opt up EVIL\n"
                                << false;
    QTest::newRow("escaped blank") << head + "\\ script-security 2\n\\ up EVIL\n" << false;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBFup EVIL\n" + head << false;
    QTest::newRow("pkcs11 library") << head + "show-pkcs11-ids EVIL\n" << false;
    QTest::newRow("memstats file") << head + "memstats WRITTEN\n" << false;
    QTest::newRow("quoted name, then path") << head + "\"auth-user-pass\"/etc/shadow\n" << false;
    QTest::newRow("proxy credentials file") << head + "http-proxy 127.0.0.1 18080 /etc/shadow\n"
                                            << false;
    QTest::newRow("files written as root") << head + "writepid WRITTEN\nlog-append WRITTEN\n"
                                           << false;
}

struct Run
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// folder: where the helper's run folder (run/) and state folder (state/) are, never the
// machine's own.
Run run(const QString &program, const QStringList &arguments, const QString &folder = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!folder.isEmpty()) {
        environment.insert("KESTRUNE_CONTROL_DIR", folder + "/run");
        environment.insert("KESTRUNE_NETLOCK_STATE_DIR", folder + "/state");
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Connects to the Unix socket at path as user nobody, in a child: "refused: Permission denied"
// (or "refused: other"), "closed" (connected, then closed by the peer without a word) or what
// the peer said first.
QByteArray attemptAsNobody(const QString &path)
{
    int out[2];
    if (::pipe(out) != 0)
        return "no pipe";
    // Only system calls in the child: another thread may hold the allocator's lock.
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const char *said = "cannot become nobody";
        char bytes[256];
        ssize_t n = -1;
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) {
            if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
                said = errno == EACCES ? "refused: Permission denied" : "refused: other";
            else if ((n = ::read(fd, bytes, sizeof bytes)) <= 0)
                said = "closed";
        }
        const bool ok = n > 0 ? ::write(out[1], bytes, size_t(n)) == n
                              : ::write(out[1], said, std::strlen(said)) >= 0;
        ::_exit(ok ? 0 : 1);
    }
    ::close(out[1]);
    QByteArray said;
    char bytes[256];
    for (ssize_t n; (n = ::read(out[0], bytes, sizeof bytes)) > 0;)
        said.append(bytes, int(n));
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return said;
}

} // namespace

// The privileged helper: what it reads of a caller's files, what it refuses to hand OpenVPN,
// what it ends, and the addresses its lock lets through.
class TestHelper : public QObject
{
    Q_OBJECT

private slots:
    void callerFileReadsOnlyTheCallersPlainText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain text") << "plain"
                                    << "";
        QTest::newRow("CR LF line ends") << "crlf"
                                         << "";
        QTest::newRow("FIFO") << "fifo"
                              << "not a regular file";
        QTest::newRow("link") << "link"
                              << "is a link";
        QTest::newRow("through /proc/PID/root") << "proc"
                                                << "is a link";
        QTest::newRow("another user's file") << "chown"
                                             << "not owned by the caller";
        QTest::newRow("caller's file in a folder of group root") << "group"
                                                                 << "cannot be read by the caller";
        QTest::newRow("10 MB") << "big"
                               << "larger than 1 MB";
        QTest::newRow("NUL bytes") << "nul"
                                   << "holds NUL bytes";
        QTest::newRow("CR-only line ends") << "cr"
                                           << "line ends other than LF";
        QTest::newRow("relative path") << "relative"
                                       << "not an absolute path";
    }
    void callerFileReadsOnlyTheCallersPlainText()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath("file");
        const QByteArray secret = "secret line\n";
        QVERIFY(writeFile(dir.filePath("target"), secret));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
        else if (kind == "link")
            QVERIFY(QFile::link(dir.filePath("target"), path));
        else if (kind == "relative")
            path = "file";
        else if (kind == "proc") // root's way into another process's mount namespace
            path = QString("/proc/%1/root%2").arg(::getpid()).arg(dir.filePath("target"));
        else
            QVERIFY(writeFile(path,
                              kind == "big"        ? QByteArray(10 << 20, 'a')
                                  : kind == "nul"  ? QByteArray("a\0b\n", 4)
                                  : kind == "cr"   ? QByteArray("client\rup x\r")
                                  : kind == "crlf" ? QByteArray("client\r\n")
                                                   : secret));
        if (kind == "group") { // root's groups, as pkexec gives them, must not open it
            const gid_t root = 0;
            QVERIFY(QDir(dir.path()).mkdir("root") && ::setgroups(1, &root) == 0);
            QVERIFY(::chmod(dir.path().toLocal8Bit().constData(), 0711) == 0);
            QVERIFY(::chmod(dir.filePath("root").toLocal8Bit().constData(), 0750) == 0);
            path = dir.filePath("root/file");
            QVERIFY(writeFile(path, secret));
        }
        const uid_t caller = kind == "group" ? 4321 : ::geteuid();
        if ((kind == "chown" || kind == "group")
            && ::chown(path.toLocal8Bit().constData(), 4321, 4321) != 0)
            QSKIP("giving a file to another user needs root");
        QElapsedTimer timer;
        timer.start();
        const CallerFile::Result file
            = CallerFile::read(path, caller, gid_t(caller == ::geteuid() ? ::getegid() : caller));
        QVERIFY2(timer.elapsed() < 1000, "a refusal comes within a second");
        QCOMPARE(file.ok, reason.isEmpty());
        QVERIFY2(file.reason.contains(reason), qPrintable(file.reason));
        QVERIFY(!file.reason.contains("secret"));
        QCOMPARE(file.bytes.isEmpty(), !file.ok);
    }

    void lockFolderIsLookedAtAsTheCaller_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("folder");
        QTest::newRow("the caller's folder") << "own" << true;
        QTest::newRow("a folder only root enters") << "root" << false;
        QTest::newRow("a file") << "file" << false;
    }
    void lockFolderIsLookedAtAsTheCaller()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("folder");
        QVERIFY(kind == "file" ? writeFile(path, "x") : QDir(dir.path()).mkdir("folder"));
        const uid_t caller = kind == "root" ? 4321 : ::geteuid();
        if (kind == "root" && (::geteuid() != 0 || ::chmod(dir.path().toLocal8Bit(), 0700) != 0))
            QSKIP("a folder the caller cannot enter needs root");
        QTEST(CallerFile::isFolder(path, caller, gid_t(caller)), "folder");
    }

    // The path flips between the caller's file and a link to a root-only one while it is read:
    // every read gives the caller's file or a refusal, never the link's target.
    void aLinkSwappedInWhileReadingFailsClosed()
    {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("netlock_allow.txt"));
        QVERIFY(writeFile(dir.filePath("secret"), "root only\n"));
        QVERIFY(QFile::setPermissions(dir.filePath("secret"), QFile::ReadOwner));
        std::atomic<bool> done {false};
        std::thread swapper([&]() {
            while (!done) {
                writeFile(dir.filePath("plain"), "10.0.0.1\n");
                std::rename(QFile::encodeName(dir.filePath("plain")).constData(), path.constData());
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                ::symlink(QFile::encodeName(dir.filePath("secret")).constData(),
                          QFile::encodeName(dir.filePath("link")).constData());
                std::rename(QFile::encodeName(dir.filePath("link")).constData(), path.constData());
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        int refused = 0;
        for (int i = 0; i < 3000; ++i) {
            const CallerFile::Result file
                = CallerFile::read(QFile::decodeName(path), ::geteuid(), ::getegid());
            if (!file.ok)
                ++refused;
            if (file.ok
                    ? file.bytes != "10.0.0.1\n"
                    : !file.reason.contains("is a link") && !file.reason.contains("No such file")) {
                done = true;
                swapper.join();
                QFAIL(qPrintable("read through the swap: " + file.reason + file.bytes));
            }
        }
        done = true;
        swapper.join();
        qInfo("%d of 3000 reads met the link and were refused", refused);
    }

    void checkConfigRefusesSmuggledLines_data() { smugglingRows(); }
    void checkConfigRefusesSmuggledLines()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, accepted);
        ProgramFolder folder;
        const QString helper = folder.installHelper();
        QVERIFY(!helper.isEmpty());
        QVERIFY(writeFile(folder.path() + "/c.ovpn", config));
        const Run r = run(helper, {"check-config", folder.path() + "/c.ovpn"});
        QCOMPARE(r.code, accepted ? 0 : 2);
        QCOMPARE(r.out.contains("remote 127.0.0.1 1194\n"), accepted);
        QCOMPARE(r.err.trimmed().isEmpty(), accepted);
    }

    // In a network namespace of its own, so that an OpenVPN started by mistake would reach
    // nothing: for a refused configuration nothing is written and nothing runs.
    void openVpnStartWithSmuggledLinesCreatesAndRunsNothing_data() { smugglingRows(); }
    void openVpnStartWithSmuggledLinesCreatesAndRunsNothing()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, accepted);
        const QString unshare = QStandardPaths::findExecutable("unshare");
        if (unshare.isEmpty() || run(unshare, {"-rn", "true"}).code != 0)
            QSKIP("no private network namespace here");
        ProgramFolder folder;
        const QString helper = folder.installHelper();
        const QString dir = folder.path();
        // It tells the bounds it runs within, then its arguments.
        QVERIFY(QDir().mkpath(dir + "/ovpn")
                && writeFile(dir + "/ovpn/openvpn",
                             "#!/bin/sh\necho $(ulimit -d) $(ulimit -n) \"$@\" >\"$0.ran\"\n"));
        QVERIFY(QFile::setPermissions(dir + "/ovpn/openvpn", QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(writeFile(dir + "/evil.sh", "#!/bin/sh\ntouch \"$0.ran\"\n"));
        QVERIFY(QFile::setPermissions(dir + "/evil.sh", QFile::ReadOwner | QFile::ExeOwner));
        config.replace("EVIL", (dir + "/evil.sh").toUtf8());
        config.replace("WRITTEN", (dir + "/written").toUtf8());
        QVERIFY(writeFile(dir + "/c.ovpn", config) && writeFile(dir + "/p", "0123456789abcdef"));
        const Run r
            = run(unshare, {"-rn", helper, "openvpn-start", dir + "/c.ovpn", dir + "/p"}, dir);
        QCOMPARE(r.code, accepted ? 0 : 2);
        QVERIFY2(r.err.trimmed().isEmpty() == accepted, r.err);
        QCOMPARE(QFile::exists(dir + "/run"), accepted);
        QCOMPARE(QFile::exists(dir + "/ovpn/openvpn.ran"), accepted);
        QVERIFY(!QFile::exists(dir + "/evil.sh.ran"));
        QVERIFY(!QFile::exists(dir + "/written"));
        if (!accepted)
            return;
        // OpenVPN got bounds on its memory and files, the private copies, which only their
        // owner reads, its management socket in the caller's own folder, open to the caller
        // alone, the test's folders for its hooks, and the helper itself as those hooks.
        const QString copies = dir + "/run/private/0/";
        QFile ran(dir + "/ovpn/openvpn.ran");
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(ran.readAll(),
                 (QString(OpenVpnLauncher::BoundsData ? "131072" : "unlimited")
                  + QString(" 64 --config %1openvpn.ovpn --management %2/run/0/management.sock "
                            "unix %1management.pswd --management-client-user root "
                            "--setenv KESTRUNE_CONTROL_DIR %2/run "
                            "--setenv KESTRUNE_NETLOCK_STATE_DIR %2/state --script-security 2 "
                            "--up %3 dns-up --down %3 dns-down\n")
                        .arg(copies, dir, QFileInfo(helper).canonicalFilePath()))
                     .toUtf8());
        for (const char *copy : {"openvpn.ovpn", "management.pswd"})
            QCOMPARE(QFile(copies + copy).permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(dir + "/run/0").permissions() & 0x0077, QFileDevice::Permissions());
    }

    void openVpnStopEndsOnlyOurOpenVpn_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("ours");
        QTest::newRow("ours, ending on SIGTERM") << "read x" << true;
        QTest::newRow("ours, ignoring SIGTERM") << "trap '' TERM; read x" << true;
        QTest::newRow("another configuration's") << "trap '' TERM; read x" << false;
    }
    void openVpnStopEndsOnlyOurOpenVpn()
    {
        QFETCH(QString, script);
        QFETCH(bool, ours);
        if (::getuid() != 0)
            QSKIP("the helper's test folders are for root only");
        ProgramFolder folder;
        const QString helper = folder.installHelper();
        const QString openVpn = folder.installCopy("/bin/sh", "ovpn/openvpn");
        const QString privateDir = folder.path() + "/run/private/0";
        QVERIFY(QDir().mkpath(privateDir));
        // sh -c SCRIPT NAME ARG: the command line reads "--config FILE" as OpenVPN's would.
        QProcess fake;
        fake.start(openVpn,
                   {"-c", script, "--config",
                    ours ? privateDir + "/openvpn.ovpn" : folder.path() + "/other"});
        QVERIFY(fake.waitForStarted());
        QVERIFY(writeFile(privateDir + "/openvpn.pid", QByteArray::number(fake.processId())));
        QTRY_VERIFY_WITH_TIMEOUT(folder.running("ovpn/openvpn").size() == 1, 5000);
        if (ours) { // a second start would leave the first OpenVPN beyond openvpn-stop's reach
            QVERIFY(writeFile(folder.path() + "/c.ovpn", "client\n")
                    && writeFile(folder.path() + "/p", "0123456789abcdef\n"));
            const Run again
                = run(helper, {"openvpn-start", folder.path() + "/c.ovpn", folder.path() + "/p"},
                      folder.path());
            QVERIFY2(again.code == 2 && again.err.contains("still runs"), again.err);
        }
        QCOMPARE(run(helper, {"openvpn-stop"}, folder.path()).code, 0);
        QCOMPARE(fake.waitForFinished(ours ? 10000 : 300), ours);
        fake.kill();
        fake.waitForFinished();
        QVERIFY(!QFile::exists(privateDir + "/openvpn.pid"));
    }

    // The tunnel is the machine's: while one user's runs, another's start is refused, and a
    // stop of the caller's own OpenVPN leaves what the running tunnel set up.
    void anotherUsersTunnelIsLeftAlone()
    {
        if (::getuid() != 0)
            QSKIP("the helper's test folders are for root only");
        ProgramFolder folder;
        const QString dir = folder.path();
        const QString helper = folder.installHelper();
        const QString openVpn = folder.installCopy("/bin/sh", "ovpn/openvpn");
        QList<std::shared_ptr<QProcess>> tunnels;
        for (const char *user : {"4321", "0"}) { // another user's, then the caller's
            const QString privateDir = dir + "/run/private/" + user;
            QVERIFY(QDir().mkpath(privateDir));
            tunnels << std::make_shared<QProcess>();
            tunnels.last()->start(openVpn,
                                  {"-c", "read x", "--config", privateDir + "/openvpn.ovpn"});
            QVERIFY(tunnels.last()->waitForStarted());
            if (QByteArray(user) != "0")
                QVERIFY(writeFile(privateDir + "/openvpn.pid",
                                  QByteArray::number(tunnels.last()->processId())));
        }
        // What the running tunnel set up (a resolved link that is not there at all).
        QVERIFY(QDir().mkpath(dir + "/state") && writeFile(dir + "/state/resolved.link", ""));
        QVERIFY(writeFile(dir + "/c.ovpn", "client\n")
                && writeFile(dir + "/p", "0123456789abcdef"));
        const Run start = run(helper, {"openvpn-start", dir + "/c.ovpn", dir + "/p"}, dir);
        QVERIFY2(start.code == 2 && start.err.contains("the tunnel of user 4321 runs"), start.err);
        QVERIFY(writeFile(dir + "/run/private/0/openvpn.pid",
                          QByteArray::number(tunnels.last()->processId())));
        const Run stop = run(helper, {"openvpn-stop"}, dir);
        QVERIFY2(stop.code == 0 && stop.err.contains("what it set up stays"), stop.err);
        QVERIFY(tunnels.last()->waitForFinished(10000));
        QVERIFY(QFile::exists(dir + "/state/resolved.link"));
        QCOMPARE(tunnels.first()->state(), QProcess::Running);
        tunnels.first()->kill();
        QVERIFY(tunnels.first()->waitForFinished(10000));
    }

    // Debian's OpenVPN as root through the helper, in a network of its own: its management
    // socket lies in the caller's own folder, which another user cannot enter, and OpenVPN
    // itself takes no other user even where the folder is opened.
    void managementSocketTakesTheCallerAlone()
    {
        const QString openssl = QStandardPaths::findExecutable("openssl");
        if (::getuid() != 0 || openssl.isEmpty())
            QSKIP("needs root and openssl");
        ProgramFolder folder;
        const QString dir = folder.path();
        const QString helper = folder.installHelper();
        QVERIFY(!folder.installOpenVpn().isEmpty());
        QVERIFY(QProcess::execute(openssl,
                                  {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                                   "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                                   dir + "/key.pem", "-out", dir + "/cert.pem", "-days", "2",
                                   "-subj", "/CN=kestrune-test"})
                == 0);
        QFile cert(dir + "/cert.pem");
        QFile key(dir + "/key.pem");
        QVERIFY(cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
        const QByteArray pem = cert.readAll();
        QVERIFY(writeFile(dir + "/c.ovpn",
                          "client\ndev ksvpn_tun\nproto udp\nnobind\nremote 127.0.0.1 9\n<ca>\n"
                              + pem + "</ca>\n<cert>\n" + pem + "</cert>\n<key>\n" + key.readAll()
                              + "</key>\n")
                && writeFile(dir + "/p", "0123456789abcdef"));
        QProcess openVpn;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KESTRUNE_CONTROL_DIR", dir + "/run");
        environment.insert("KESTRUNE_NETLOCK_STATE_DIR", dir + "/state");
        openVpn.setProcessEnvironment(environment);
        openVpn.start("unshare", {"-n", helper, "openvpn-start", dir + "/c.ovpn", dir + "/p"});
        const QString socket = dir + "/run/0/management.sock";
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(socket).exists(), 10000);
        QCOMPARE(attemptAsNobody(socket), QByteArray("refused: Permission denied"));
        for (const QString &way : {dir, dir + "/run/0"})
            QVERIFY(QFile::setPermissions(
                way, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
        QCOMPARE(attemptAsNobody(socket), QByteArray("closed"));
        // OpenVPN listens again once it has sent the other user away.
        const auto callerHears = [&socket]() {
            QLocalSocket caller;
            caller.connectToServer(socket);
            return caller.waitForConnected(2000) && caller.waitForReadyRead(2000) ? caller.readAll()
                                                                                  : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(callerHears(), QByteArray("ENTER PASSWORD:"), 10000);
        QCOMPARE(run(helper, {"openvpn-stop"}, dir).code, 0);
        QVERIFY(openVpn.waitForFinished(15000));
    }

    void lockRulesetTakesOnlyParsedAddresses_data()
    {
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("kept"); // "4 ADDRESS", "6 ADDRESS", "name HOST" or ""
        QTest::newRow("IPv4") << " 10.0.0.1 "
                              << "4 10.0.0.1";
        QTest::newRow("IPv4 with a leading zero") << "10.0.0.01"
                                                  << "";
        QTest::newRow("IPv6, canonical form") << "FD31:0:0::10"
                                              << "6 fd31::10";
        QTest::newRow("bracketed IPv6") << "[fd31::1]"
                                        << "6 fd31::1";
        QTest::newRow("malformed IPv6") << "1::2::3"
                                        << "";
        QTest::newRow("IPv6 with a zone") << "fe80::1%eth0"
                                          << "";
        QTest::newRow("a path") << "/etc/shadow"
                                << "";
        QTest::newRow("a link target") << "../../root/secret"
                                       << "";
        QTest::newRow("nft text") << "1.2.3.4; flush ruleset"
                                  << "";
        QTest::newRow("host name") << "Api.Kestrune.net"
                                   << "name api.kestrune.net";
        QTest::newRow("digits as a last label") << "1.2.3"
                                                << "";
        QTest::newRow("a line end inside a host name") << "api\n.kestrune.net"
                                                       << "";
        QTest::newRow("an address cut short by a NUL")
            << QString::fromLatin1("10.0.0.1\0 flush ruleset", 23) << "";
    }
    void lockRulesetTakesOnlyParsedAddresses()
    {
        QFETCH(QString, candidate);
        const LockRuleset::Addresses a = LockRuleset::vet({candidate, "", candidate});
        QStringList kept;
        for (const QString &v4 : a.v4)
            kept << "4 " + v4;
        for (const QString &v6 : a.v6)
            kept << "6 " + v6;
        for (const QString &name : a.names)
            kept << "name " + name;
        QTEST(kept.join(','), "kept");
        QCOMPARE(a.skipped.size(), kept.isEmpty() ? 2 : 0);
    }

    // A megabyte of host names from the service would be as many lookups made as root.
    void lockLooksUpOnlyTheFirstHostNames()
    {
        QStringList names;
        for (int i = 0; i < 100000; ++i)
            names << QStringLiteral("h%1.example").arg(i);
        const LockRuleset::Addresses a = LockRuleset::vet(names << names.first());
        QCOMPARE(a.names.size(), LockRuleset::MaxNames);
        QVERIFY(a.names.contains("h0.example") && a.names.contains("h255.example"));
        QCOMPARE(a.namesLeftOut, 100000 - LockRuleset::MaxNames);
    }
};

KESTRUNE_TEST_MAIN(TestHelper)
#include "tst_helper.moc"

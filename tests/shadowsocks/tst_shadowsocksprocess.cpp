#include "engine/shadowsocksprocess.h"
#include "support/builders.h"
#include "support/logrecorder.h"
#include "support/programfolder.h"
#include "support/reservedport.h"
#include "support/testmain.h"

#include <memory>

#include <QNetworkProxy>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

using Status = ShadowsocksProcess::ShadowsocksProcessStatus;

namespace {

const QString Method = QStringLiteral("chacha20-ietf-poly1305");
const QString Password = QStringLiteral("loopback-only-test");

QByteArray ssConfig(quint16 localPort, quint16 serverPort)
{
    return QStringLiteral(R"({"server":"127.0.0.1","server_port":%1,"local_address":"127.0.0.1",)"
                          R"("local_port":%2,"password":"%3","method":"%4","timeout":30})")
        .arg(serverPort)
        .arg(localPort)
        .arg(Password, Method)
        .toUtf8();
}

bool isListening(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(2000);
}

// The controller as the main window wires it: on a thread of its own, built in init(), its
// state reports kept on the test's thread.
struct Controller
{
    Controller(const QString &toolDir, const QString &configPath)
    {
        object->toolDir = toolDir;
        object->configPath = configPath;
        object->moveToThread(&thread);
        QObject::connect(&thread, &QThread::started, object, &ShadowsocksProcess::init);
        QObject::connect(&thread, &QThread::finished, object, &QObject::deleteLater);
        QObject::connect(object, &ShadowsocksProcess::shadowsocksStateChanged, &context,
                         [this](Status state) { states << state; });
        thread.start();
    }
    ~Controller()
    {
        invoke("stop");
        if (!QTest::qWaitFor([this] { return endsIn(Status::Shadowsocks_NotRunning); }, 10000))
            qWarning("the mirror tool did not stop");
        thread.quit();
        thread.wait();
    }
    void invoke(const char *slot) { QMetaObject::invokeMethod(object, slot, Qt::QueuedConnection); }
    bool endsIn(Status state) const { return !states.isEmpty() && states.last() == state; }

    QThread thread;
    ShadowsocksProcess *object = new ShadowsocksProcess;
    QObject context;
    QList<Status> states;
};

} // namespace

// ShadowsocksProcess against Debian's ss-local (and ss-server as the mirror), copied into a
// program folder of the suite's own, and against small scripts that say what is asked.
class TestShadowsocksProcess : public QObject
{
    Q_OBJECT

    ProgramFolder m_folder;
    std::unique_ptr<LogRecorder> m_log;
    QString m_config;

    // A script standing in for ss-local at the top of the program folder.
    QString script(const QByteArray &body)
    {
        writeFile(m_folder.path() + "/ss-local", "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(m_folder.path() + "/ss-local", QFile::ReadOwner | QFile::ExeOwner);
        return m_folder.path();
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        if (m_folder.installSsLocal().isEmpty()
            || QStandardPaths::findExecutable("ss-server").isEmpty())
            QSKIP("needs ss-local and ss-server (Debian package shadowsocks-libev)");
        m_config = m_folder.path() + QStringLiteral("/ss_config.json");
    }
    void init() { m_log.reset(new LogRecorder(m_folder.path() + QStringLiteral("/logs"))); }
    void cleanup()
    {
        m_log.reset(); // one recorder at a time
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // What the tool prints is judged line by line: an error line stops it and marks the error,
    // whatever came before; nothing after a zero byte counts.
    // The version comes from the usage text, asked for within a bound.
    void toolOutputDecidesTheOutcome_data()
    {
        QTest::addColumn<QByteArray>("body"); // empty: the real tool on a busy port
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("version");
        const auto row = [](const char *name, const char *body, bool error,
                            const QString &version = QString()) {
            QTest::newRow(name) << QByteArray(body) << error << version;
        };
        QProcess dpkg; // the installed tool's version, as its package says
        dpkg.start("dpkg-query", {"-W", "-f=${Version}", "shadowsocks-libev"});
        dpkg.waitForFinished(10000);
        row("local port already in use", "", true,
            QRegularExpression("^\\d+\\.\\d+\\.\\d+").match(dpkg.readAll()).captured());
        const char *later = "'; exec sleep 60";
        row("error after the listening line",
            QByteArray("printf ' INFO: listening at 127.0.0.1:1\\n ERROR: bind\\n") + later, true);
        row("error after a zero byte is not read",
            QByteArray("printf ' INFO: listening at 127.0.0.1:1\\0 ERROR: hidden\\n") + later,
            false);
    }
    void toolOutputDecidesTheOutcome()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, error);
        QFETCH(QString, version);
        ReservedPort busy(ReservedPort::Silent);
        writeFile(m_config, ssConfig(busy.port(), 9));
        ShadowsocksProcess tool;
        tool.toolDir = body.isEmpty() ? m_folder.path() + "/shadowsocks" : script(body);
        QCOMPARE(tool.version(), version);
        Controller c(tool.toolDir, m_config);
        c.invoke("start");
        const Status end = error ? Status::Shadowsocks_NotRunning : Status::Shadowsocks_Running;
        QTRY_VERIFY_WITH_TIMEOUT(c.endsIn(end) && c.states.size() > 1, 10000);
        QCOMPARE(c.object->stoppedOnError.load(), error);
        QVERIFY(m_log->matching("hidden").isEmpty());
        if (error)
            QVERIFY(m_log->waitFor("[Shadowsocks]: state changed to stopped"));
    }

    // Starting up ends a proxy left running from this program file, and no other; then the
    // tool runs until it is stopped and carries traffic to the mirror server meanwhile.
    void proxyCarriesTrafficThroughTheMirrorServerUntilStopped()
    {
        // Proxies already run: one of this program file, one of another copy that must
        // survive, and the mirror server, which reads the same kind of file.
        const auto run = [this](const QString &program, const QString &copy) {
            ReservedPort port;
            writeFile(m_config, ssConfig(port.port(), port.port()));
            port.release();
            QProcess::startDetached(copy.isEmpty() ? program : m_folder.installCopy(program, copy),
                                    {"-c", m_config});
            return QTest::qWaitFor([&port] { return isListening(port.port()); }, 10000)
                ? port.port()
                : quint16(0);
        };
        const quint16 leftover = run(m_folder.path() + "/shadowsocks/ss-local", QString());
        const quint16 other = run(QStandardPaths::findExecutable("ss-local"), "other/ss-local");
        const quint16 server = run(QStandardPaths::findExecutable("ss-server"), "mirror/ss-server");
        QVERIFY(leftover && other && server);
        QTcpServer echo;
        QVERIFY(echo.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&echo, &QTcpServer::newConnection, &echo, [&echo] {
            QTcpSocket *peer = echo.nextPendingConnection();
            QObject::connect(peer, &QTcpSocket::readyRead, peer,
                             [peer] { peer->write(peer->readAll()); });
        });
        ReservedPort local;
        local.release();
        writeFile(m_config, ssConfig(local.port(), server));
        Controller c(m_folder.path() + "/shadowsocks", m_config);
        QTRY_VERIFY_WITH_TIMEOUT(m_folder.running("shadowsocks/ss-local").isEmpty(), 10000);
        QVERIFY(!isListening(leftover) && isListening(other));
        c.invoke("stop"); // nothing runs yet: stopped all the same
        c.invoke("start");
        QTRY_VERIFY_WITH_TIMEOUT(c.endsIn(Status::Shadowsocks_Running), 10000);
        // The tool announces the address a moment before it binds it.
        QTRY_VERIFY_WITH_TIMEOUT(isListening(local.port()), 10000);

        QTcpSocket client;
        client.setProxy(QNetworkProxy(QNetworkProxy::Socks5Proxy, "127.0.0.1", local.port()));
        client.connectToHost(QHostAddress::LocalHost, echo.serverPort());
        client.write("through the mirror");
        QByteArray received;
        QTRY_COMPARE_WITH_TIMEOUT(received += client.readAll(), QByteArray("through the mirror"),
                                  10000);
        c.invoke("stop");
        QTRY_VERIFY_WITH_TIMEOUT(c.endsIn(Status::Shadowsocks_NotRunning), 10000);
        QCOMPARE(c.states,
                 (QList<Status> {Status::Shadowsocks_NotRunning, Status::Shadowsocks_Starting,
                                 Status::Shadowsocks_Running, Status::Shadowsocks_NotRunning}));
        QVERIFY(!c.object->stoppedOnError && !isListening(local.port()));
        QVERIFY(m_log->waitFor("[Shadowsocks]: process successfully stopped"));
    }
};

KESTRUNE_TEST_MAIN(TestShadowsocksProcess)
#include "tst_shadowsocksprocess.moc"

#include "core/loger.h"
#include "engine/shadowsocksprocess.h"
#include "support/testmain.h"

#include <memory>

#include <QNetworkProxy>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int WaitMs = 10000;
const QString Method = QStringLiteral("chacha20-ietf-poly1305");
const QString Password = QStringLiteral("loopback-only-test");

int freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return -1;
    return probe.serverPort();
}

bool writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        return false;
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return true;
}

QByteArray ssConfig(int localPort, int serverPort, const QString &method = Method)
{
    return QStringLiteral(R"({"server":"127.0.0.1","server_port":%1,"local_address":"127.0.0.1",)"
                          R"("local_port":%2,"password":"%3","method":"%4","timeout":30})")
        .arg(serverPort)
        .arg(localPort)
        .arg(Password, method)
        .toUtf8();
}

bool isListening(int port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    return socket.waitForConnected(2000);
}

// Receives the controller's reports on the test's thread, queued, as the main window does.
class Relay : public QObject
{
    Q_OBJECT

signals:
    void started();
    void stopped();
    void stateChanged(ShadowsocksProcess::ShadowsocksProcessStatus state);
};

// The controller as the main window wires it: on a thread of its own, built in init().
class Controller
{
public:
    Controller(const QString &toolDir, const QString &configPath)
        : object(new ShadowsocksProcess)
    {
        object->toolDir = toolDir;
        object->configPath = configPath;
        object->moveToThread(&thread);
        QObject::connect(&thread, SIGNAL(started()), object, SLOT(init()));
        QObject::connect(&thread, &QThread::finished, object, &QObject::deleteLater);
        QObject::connect(object, SIGNAL(started()), &relay, SIGNAL(started()));
        QObject::connect(object, SIGNAL(stopped()), &relay, SIGNAL(stopped()));
        QObject::connect(
            object, SIGNAL(shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus)),
            &relay, SIGNAL(stateChanged(ShadowsocksProcess::ShadowsocksProcessStatus)));
        startedSpy.reset(new QSignalSpy(&relay, SIGNAL(started())));
        stoppedSpy.reset(new QSignalSpy(&relay, SIGNAL(stopped())));
        stateSpy.reset(new QSignalSpy(
            &relay, SIGNAL(stateChanged(ShadowsocksProcess::ShadowsocksProcessStatus))));
        thread.start();
    }

    ~Controller()
    {
        if (object->status != ShadowsocksProcess::Shadowsocks_NotRunning) {
            stoppedSpy->clear();
            invoke("stop");
            stoppedSpy->wait(WaitMs);
        }
        thread.quit();
        thread.wait(WaitMs);
    }

    void invoke(const char *slot) { QMetaObject::invokeMethod(object, slot, Qt::QueuedConnection); }

    Relay relay;
    QThread thread;
    ShadowsocksProcess *object;
    std::unique_ptr<QSignalSpy> startedSpy;
    std::unique_ptr<QSignalSpy> stoppedSpy;
    std::unique_ptr<QSignalSpy> stateSpy;
};

} // namespace

class TestShadowsocksProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void versionComesFromUsageText();
    void versionOfToolThatSaysOtherwise_data();
    void versionOfToolThatSaysOtherwise();
    void listeningToolIsReportedStarted();
    void errorMessageStopsToolAndMarksError_data();
    void errorMessageStopsToolAndMarksError();
    void toolOutputIsJudgedLineByLine_data();
    void toolOutputIsJudgedLineByLine();
    void stopEndsRunningTool();
    void stopWhenNotRunningStillReportsStopped();
    void missingProgramReportsStopped();
    void initEndsLeftoverProxyOfSameProgram();
    void killAllEndsOnlyThisProgramCopy();
    void proxyCarriesTrafficThroughMirrorServer();

private:
    QString logText() const { return m_log.join(QLatin1Char('\n')); }
    QProcess *startRaw(const QString &program, const QString &configPath);

    QString m_ssLocal;
    QString m_ssServer;
    QTemporaryDir m_dir;
    QString m_toolDir;
    QString m_configPath;
    QStringList m_log;
    QList<QProcess *> m_raw;
};

void TestShadowsocksProcess::initTestCase()
{
    KestruneTest::guardQtWarnings();
    m_ssLocal = QStandardPaths::findExecutable(QStringLiteral("ss-local"));
    m_ssServer = QStandardPaths::findExecutable(QStringLiteral("ss-server"));
    if (m_ssLocal.isEmpty())
        QSKIP("ss-local (Debian package shadowsocks-libev) is not installed");
    if (m_ssServer.isEmpty())
        QSKIP("ss-server (Debian package shadowsocks-libev) is not installed");
    QVERIFY(m_dir.isValid());
    m_toolDir = m_dir.filePath(QStringLiteral("shadowsocks"));
    QVERIFY(QDir().mkpath(m_toolDir));
    QVERIFY(QFile::copy(m_ssLocal, m_toolDir + QStringLiteral("/ss-local")));
    m_configPath = m_dir.filePath(QStringLiteral("ss_config.json"));
    Loger::init(m_dir.path(), false, false, QStringLiteral("app_log"));
}

void TestShadowsocksProcess::init()
{
    m_log.clear();
    // A fresh notifier connection per test: lines from the controller's thread arrive queued.
    disconnect(Loger::notifier(), nullptr, this, nullptr);
    connect(
        Loger::notifier(), &Loger::lineAdded, this,
        [this](const QString &line) { m_log.append(line); }, Qt::QueuedConnection);
}

void TestShadowsocksProcess::cleanup()
{
    for (QProcess *p : qAsConst(m_raw)) {
        p->kill();
        p->waitForFinished(WaitMs);
        delete p;
    }
    m_raw.clear();
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

QProcess *TestShadowsocksProcess::startRaw(const QString &program, const QString &configPath)
{
    auto *p = new QProcess;
    m_raw.append(p);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(program, {QStringLiteral("-c"), configPath});
    return p;
}

void TestShadowsocksProcess::versionComesFromUsageText()
{
    QProcess dpkg;
    dpkg.start(QStringLiteral("dpkg-query"),
               {QStringLiteral("-W"), QStringLiteral("-f=${Version}"),
                QStringLiteral("shadowsocks-libev")});
    QVERIFY(dpkg.waitForFinished(WaitMs));
    const QString packaged = QString::fromLatin1(dpkg.readAll());
    QVERIFY2(!packaged.isEmpty(), "dpkg-query did not name the shadowsocks-libev version");

    ShadowsocksProcess tool;
    tool.toolDir = m_toolDir;
    const QString version = tool.version();
    QVERIFY(!version.isEmpty());
    QVERIFY2(packaged.startsWith(version + QLatin1Char('+'))
                 || packaged.startsWith(version + QLatin1Char('-')) || packaged == version,
             qPrintable(version + " vs " + packaged));
    // Asking for the version must not leave a proxy running from the system configuration.
    QVERIFY(tool.killAll());
}

void TestShadowsocksProcess::versionOfToolThatSaysOtherwise_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("expected");

    QTest::newRow("usage text in other letter case")
        << QByteArray("#!/bin/sh\n[ \"$1\" = -h ] && printf '\\n Shadowsocks-LIBEV 10.2.33\\n'\n")
        << QStringLiteral("10.2.33");
    QTest::newRow("no output") << QByteArray("#!/bin/sh\nexit 0\n") << QString();
    QTest::newRow("version only for -v")
        << QByteArray("#!/bin/sh\n[ \"$1\" = -v ] && echo 'shadowsocks-libev 3.3.5'\nexit 0\n")
        << QString();
    QTest::newRow("version beyond the first 50 characters")
        << QByteArray("#!/bin/sh\nprintf '%060d shadowsocks-libev 3.3.5\\n' 0\n") << QString();
    QTest::newRow("two-part version")
        << QByteArray("#!/bin/sh\necho 'shadowsocks-libev 3.3'\n") << QString();
    QTest::newRow("tool that never ends") << QByteArray("#!/bin/sh\nexec sleep 30\n") << QString();
}

void TestShadowsocksProcess::versionOfToolThatSaysOtherwise()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("ss-local")), script, true));
    ShadowsocksProcess tool;
    tool.toolDir = dir.path();
    QCOMPARE(tool.version(), expected);
    QVERIFY(tool.killAll());
}

void TestShadowsocksProcess::listeningToolIsReportedStarted()
{
    const int port = freePort();
    QVERIFY(writeFile(m_configPath, ssConfig(port, freePort())));
    Controller c(m_toolDir, m_configPath);
    c.invoke("start");

    QVERIFY(c.startedSpy->wait(WaitMs));
    QCOMPARE(c.object->status.load(), ShadowsocksProcess::Shadowsocks_Running);
    QVERIFY(!c.object->stoppedOnError);
    // The tool announces the address a moment before it binds it.
    QTRY_VERIFY_WITH_TIMEOUT(isListening(port), WaitMs);
    QCOMPARE(c.stoppedSpy->count(), 0);
    const QList<ShadowsocksProcess::ShadowsocksProcessStatus> expectedStates {
        ShadowsocksProcess::Shadowsocks_Starting, ShadowsocksProcess::Shadowsocks_Running};
    QCOMPARE(c.stateSpy->count(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(c.stateSpy->at(i).at(0).value<ShadowsocksProcess::ShadowsocksProcessStatus>(),
                 expectedStates.at(i));
    QTRY_VERIFY_WITH_TIMEOUT(
        logText().contains(QStringLiteral("[Shadowsocks]: state changed to running")), WaitMs);
    QVERIFY(logText().contains(QStringLiteral("INFO: listening at 127.0.0.1:%1").arg(port)));
}

void TestShadowsocksProcess::errorMessageStopsToolAndMarksError_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("toolMessage");

    QTest::newRow("local port already in use") << "port"
                                               << "ERROR: bind";
    QTest::newRow("unknown cipher") << "method"
                                    << "ERROR: invalid cipher name";
    QTest::newRow("configuration that is not JSON") << "json"
                                                    << "ERROR:";
}

void TestShadowsocksProcess::errorMessageStopsToolAndMarksError()
{
    QFETCH(QString, trouble);
    QFETCH(QString, toolMessage);

    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
    const int port = trouble == QLatin1String("port") ? holder.serverPort() : freePort();
    QByteArray config
        = ssConfig(port, freePort(),
                   trouble == QLatin1String("method") ? QStringLiteral("rot13-ish") : Method);
    if (trouble == QLatin1String("json"))
        config = "local_port = 1080\n";
    QVERIFY(writeFile(m_configPath, config));

    Controller c(m_toolDir, m_configPath);
    c.invoke("start");
    QVERIFY(c.stoppedSpy->wait(WaitMs));
    QVERIFY(c.object->stoppedOnError);
    QCOMPARE(c.object->status.load(), ShadowsocksProcess::Shadowsocks_NotRunning);
    QTRY_VERIFY_WITH_TIMEOUT(
        logText().contains(QStringLiteral("[Shadowsocks]: state changed to stopped")), WaitMs);
    QVERIFY2(logText().contains(toolMessage), qPrintable(logText()));
    QTRY_COMPARE_WITH_TIMEOUT(c.stateSpy->count(), 3, WaitMs);
    QCOMPARE(c.stateSpy->last().at(0).value<ShadowsocksProcess::ShadowsocksProcessStatus>(),
             ShadowsocksProcess::Shadowsocks_NotRunning);
}

void TestShadowsocksProcess::toolOutputIsJudgedLineByLine_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("staysRunning");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QByteArray>("then");

    QTest::newRow("error right after the listening line")
        << QByteArray(" INFO: listening at 127.0.0.1:1\\n ERROR: bind: Address in use\\n") << false
        << true << QByteArray("exec sleep 60");
    QTest::newRow("error on the second line of one write")
        << QByteArray(" INFO: initializing ciphers\\n ERROR: invalid password\\n") << false << true
        << QByteArray("exec sleep 60");
    QTest::newRow("listening line alone") << QByteArray(" INFO: listening at 127.0.0.1:1\\n")
                                          << true << false << QByteArray("exec sleep 60");
    QTest::newRow("error after a zero byte is not read")
        << QByteArray(" INFO: listening at 127.0.0.1:1\\0 ERROR: hidden\\n") << true << false
        << QByteArray("exec sleep 60");
    QTest::newRow("error line without line end before exit")
        << QByteArray(" ERROR: fatal") << false << true << QByteArray("exit 1");
}

// A stand-in prints the given output in one write and then waits or ends; it is not a program file
// that killAll() knows (its process runs /bin/sh), so a stop has to end it through the process.
void TestShadowsocksProcess::toolOutputIsJudgedLineByLine()
{
    QFETCH(QByteArray, output);
    QFETCH(bool, staysRunning);
    QFETCH(bool, error);
    QFETCH(QByteArray, then);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray script = "#!/bin/sh\nprintf '" + output + "'\n" + then + "\n";
    QVERIFY(writeFile(dir.filePath(QStringLiteral("ss-local")), script, true));
    Controller c(dir.path(), m_configPath);
    c.invoke("start");

    if (staysRunning) {
        QVERIFY(c.startedSpy->wait(WaitMs));
        QCOMPARE(c.object->status.load(), ShadowsocksProcess::Shadowsocks_Running);
    } else {
        QVERIFY(c.stoppedSpy->wait(WaitMs));
        QCOMPARE(c.startedSpy->count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            logText().contains(QStringLiteral("[Shadowsocks]: state changed to stopped")), WaitMs);
    }
    QCOMPARE(c.object->stoppedOnError.load(), error);
    QCOMPARE(logText().contains(QStringLiteral("hidden")), false);
}

void TestShadowsocksProcess::stopEndsRunningTool()
{
    const int port = freePort();
    QVERIFY(writeFile(m_configPath, ssConfig(port, freePort())));
    Controller c(m_toolDir, m_configPath);
    c.invoke("start");
    QVERIFY(c.startedSpy->wait(WaitMs));

    c.invoke("stop");
    QVERIFY(c.stoppedSpy->wait(WaitMs));
    QCOMPARE(c.stoppedSpy->count(), 1);
    QCOMPARE(c.object->status.load(), ShadowsocksProcess::Shadowsocks_NotRunning);
    QVERIFY(!c.object->stoppedOnError);
    QVERIFY(!isListening(port));
    QTRY_VERIFY_WITH_TIMEOUT(
        logText().contains(QStringLiteral("[Shadowsocks]: state changed to stopped")), WaitMs);
    QVERIFY(logText().contains(QStringLiteral("[Shadowsocks]: process successfully stopped")));
}

void TestShadowsocksProcess::stopWhenNotRunningStillReportsStopped()
{
    Controller c(m_toolDir, m_configPath);
    c.invoke("stop");
    QVERIFY(c.stoppedSpy->wait(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(c.stateSpy->count(), 1, WaitMs);
    QCOMPARE(c.stateSpy->at(0).at(0).value<ShadowsocksProcess::ShadowsocksProcessStatus>(),
             ShadowsocksProcess::Shadowsocks_NotRunning);
    QTRY_VERIFY_WITH_TIMEOUT(
        logText().contains(QStringLiteral("[Shadowsocks]: state changed to stopped")), WaitMs);
    QVERIFY(!logText().contains(QStringLiteral("process successfully stopped")));
}

void TestShadowsocksProcess::missingProgramReportsStopped()
{
    Controller c(m_dir.filePath(QStringLiteral("no-such-folder")), m_configPath);
    c.invoke("start");
    QVERIFY(c.stoppedSpy->wait(WaitMs));
    QCOMPARE(c.startedSpy->count(), 0);
    QVERIFY(!c.object->stoppedOnError);
    QCOMPARE(c.object->status.load(), ShadowsocksProcess::Shadowsocks_NotRunning);
}

void TestShadowsocksProcess::initEndsLeftoverProxyOfSameProgram()
{
    const QString leftoverConfig = m_dir.filePath(QStringLiteral("leftover.json"));
    QVERIFY(writeFile(leftoverConfig, ssConfig(freePort(), freePort())));
    QProcess *leftover = startRaw(m_toolDir + QStringLiteral("/ss-local"), leftoverConfig);
    QVERIFY(leftover->waitForStarted(WaitMs));

    Controller c(m_toolDir, m_configPath);
    QVERIFY(leftover->waitForFinished(WaitMs));
    QCOMPARE(leftover->exitStatus(), QProcess::CrashExit);
}

void TestShadowsocksProcess::killAllEndsOnlyThisProgramCopy()
{
    const QString copyConfig = m_dir.filePath(QStringLiteral("copy.json"));
    const QString systemConfig = m_dir.filePath(QStringLiteral("system.json"));
    const int systemPort = freePort();
    QVERIFY(writeFile(copyConfig, ssConfig(freePort(), freePort())));
    QVERIFY(writeFile(systemConfig, ssConfig(systemPort, freePort())));
    QProcess *copy = startRaw(m_toolDir + QStringLiteral("/ss-local"), copyConfig);
    QProcess *system = startRaw(m_ssLocal, systemConfig);
    QVERIFY(copy->waitForStarted(WaitMs));
    QVERIFY(system->waitForStarted(WaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(system->peek(4096).contains("listening at"), WaitMs);

    ShadowsocksProcess tool;
    tool.toolDir = m_toolDir;
    QVERIFY(tool.killAll());
    QVERIFY(copy->waitForFinished(WaitMs));
    QCOMPARE(system->state(), QProcess::Running);
    QVERIFY(isListening(systemPort));
}

void TestShadowsocksProcess::proxyCarriesTrafficThroughMirrorServer()
{
    QTcpServer echo;
    QVERIFY(echo.listen(QHostAddress::LocalHost, 0));
    connect(&echo, &QTcpServer::newConnection, &echo, [&echo] {
        QTcpSocket *peer = echo.nextPendingConnection();
        connect(peer, &QTcpSocket::readyRead, peer, [peer] { peer->write(peer->readAll()); });
    });

    const int serverPort = freePort();
    const int localPort = freePort();
    auto *server = new QProcess;
    m_raw.append(server);
    server->setProcessChannelMode(QProcess::MergedChannels);
    server->start(m_ssServer,
                  {QStringLiteral("-s"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                   QString::number(serverPort), QStringLiteral("-k"), Password,
                   QStringLiteral("-m"), Method});
    QVERIFY(server->waitForStarted(WaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(isListening(serverPort), WaitMs);

    QVERIFY(writeFile(m_configPath, ssConfig(localPort, serverPort)));
    Controller c(m_toolDir, m_configPath);
    c.invoke("start");
    QVERIFY(c.startedSpy->wait(WaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(isListening(localPort), WaitMs);

    QTcpSocket client;
    client.setProxy(QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"),
                                  static_cast<quint16>(localPort)));
    client.connectToHost(QHostAddress::LocalHost, echo.serverPort());
    QTRY_VERIFY2_WITH_TIMEOUT(client.state() == QAbstractSocket::ConnectedState,
                              qPrintable(client.errorString() + " / " + server->peek(4096)),
                              WaitMs);
    client.write("through the mirror");
    QByteArray received;
    QTRY_VERIFY_WITH_TIMEOUT((received += client.readAll()) == "through the mirror", WaitMs);
}

KESTRUNE_TEST_MAIN(TestShadowsocksProcess)
#include "tst_shadowsocksprocess.moc"

// The connection road with the real request worker, a local service and the OpenVPN
// stand-in: from a connect action to a verified tunnel and back, and its failures.

#include "clientrig.h"
#include "support/testmain.h"
#include "ui/traynotification.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>

namespace {

// Resident memory of this process in kB.
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The longest gap between the ticks of a 10 ms timer on the GUI thread.
class GapMeter : public QObject
{
public:
    GapMeter()
    {
        clock.start();
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this]() {
            const qint64 now = clock.elapsed();
            if (last >= 0)
                longest = qMax(longest, now - last);
            last = now;
        });
        timer.start(10);
    }
    QElapsedTimer clock;
    QTimer timer;
    qint64 last = -1;
    qint64 longest = 0;
};

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void connectsVerifiesAndSwitchesOff();
    void abortWhileAddressCheckIsOutIgnoresTheLateReply();
    void tunnelAddressCheckIsRetriedTwice();
    void equalAddressesStopTheTunnel();
    void expiringSubscriptionStopsTheTunnelWithinASecond();
    void errorMarkIsClearedWhileConnectedAndActedOnAfterReconnect();
    void secondConnectionWaitsForTheOldTunnelToGoDown();
    void mirrorConnectionStartsTheToolBeforeTheConfiguration();
    void windowEndedBySystemStopsOpenVpnPolitely();
    // Last: the quit ends every event loop of the process from then on.
    void quitWhileConnectedStopsOpenVpnAndThreads();

private:
    bool connectOnce(ClientRig &rig);
};

bool TestConnection::connectOnce(ClientRig &rig)
{
    if (!rig.installOpenVpn(QStringLiteral("2.4.9")) || !rig.startService())
        return false;
    rig.makeWindow();
    if (!rig.signInAndChoose()) {
        qDebug("sign-in did not reach the server list");
        return false;
    }
    MainWindowProbe(rig.window.get()).ui()->vpnConAutoChoiceButton->click();
    return rig.waitConnected();
}

void TestConnection::connectsVerifiesAndSwitchesOff()
{
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    GapMeter gaps;
    MainWindow *w = rig.makeWindow();
    MainWindowProbe p(w);
    QVERIFY(rig.signInAndChoose());

    // Timestamps of the chain's log lines, for the figures printed below.
    QElapsedTimer clock;
    QList<QPair<qint64, QString>> lines;
    QObject listening;
    connect(Loger::notifier(), &Loger::lineAdded, &listening, [&](const QString &line) {
        lines.append({clock.elapsed(), line});
    });

    QVERIFY(p.ui()->vpnConAutoChoiceButton->isEnabled());
    p.ui()->settingShowStatWgtCheckBox->setChecked(true);
    rig.service.clearRequests();
    clock.start();
    p.ui()->vpnConAutoChoiceButton->click();
    QVERIFY(rig.waitConnected());
    const qint64 total = clock.elapsed();
    const qint64 rss = residentKb();

    // [7], [9], [8] in this order, the two addresses differing.
    QStringList order;
    for (const MockService::Request &r : rig.service.requests())
        order << QString::fromLatin1(r.path);
    QCOMPARE(order.size(), 3);
    QCOMPARE(order.at(0), QStringLiteral("/v1/api/info"));
    QVERIFY2(order.at(1).startsWith(QStringLiteral("/v1/openvpn/config-")),
             qPrintable(order.at(1)));
    QCOMPARE(order.at(2), QStringLiteral("/v1/api/info"));
    QCOMPARE(p.originalIp(), QStringLiteral("198.51.100.7"));
    QCOMPARE(p.newIp(), QStringLiteral("203.0.113.9"));

    // The connected page, the tray and its menu.
    QCOMPARE(p.status(), VPNProcess::ProcConnected);
    QCOMPARE(p.ui()->vpnConCancelButton->text(), QStringLiteral("SWITCH OFF VPN"));
    QVERIFY(!p.ui()->vpnConConCountryLabel1->text().isEmpty());
    QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN connected"));
    QCOMPARE(p.tray()->icon().pixmap(16).toImage(),
             trayIcon(VPNProcess::ProcConnected).pixmap(16).toImage());
    QVERIFY(p.showStatAction()->isVisible());
    QCOMPARE(p.switchAction()->text(), QStringLiteral("Disconnect VPN"));
    // Asked for in the settings: the statistics window opens with the tunnel.
    auto statWindows = []() {
        int n = 0;
        for (QWidget *top : QApplication::topLevelWidgets())
            n += top->inherits("StatWidget") && top->isVisible() ? 1 : 0;
        return n;
    };
    QCOMPARE(statWindows(), 1);
    QCOMPARE(rig.runningOpenVpn().size(), 1);
    QCOMPARE(p.ui()->vpnInfoOrIPButton->text(), QStringLiteral("198.51.100.7"));
    const QString managementPassword = p.vpn()->password;

    p.ui()->vpnConCancelButton->click();
    QVERIFY(rig.waitIdle());
    QVERIFY(rig.runningOpenVpn().isEmpty());
    QVERIFY(!p.showStatAction()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(statWindows(), 0, 3000);
    QCOMPARE(p.tray()->toolTip(), QStringLiteral("Kestrune VPN 1.26.0\nVPN not connected"));
    QVERIFY(p.switchAction()->text().startsWith(QStringLiteral("Connect VPN (")));
    QVERIFY(rig.dialogTexts.isEmpty());

    // Figures: the whole road, the waits for the service and for OpenVPN, and the rest.
    auto at = [&lines](const QString &needle, int from = 0) -> qint64 {
        for (int i = from; i < lines.size(); ++i)
            if (lines.at(i).second.contains(needle))
                return lines.at(i).first;
        return -1;
    };
    const qint64 sent7 = at(QStringLiteral("[7]"));
    const qint64 reply7 = at(QStringLiteral("Server reply on [7]"));
    const qint64 reply9 = at(QStringLiteral("Server reply on [9]"));
    const qint64 started = at(QStringLiteral("Initializing VPN connection"));
    const qint64 reply8 = at(QStringLiteral("Server reply on [8]"));
    qint64 sent9 = -1, sent8 = -1;
    for (const auto &l : lines) {
        if (sent9 < 0 && l.second.contains(QStringLiteral("Request to Kestrune server was sent"))
            && l.first >= reply7)
            sent9 = l.first;
    }
    for (const auto &l : lines) {
        if (l.second.contains(QStringLiteral("Request to Kestrune server was sent"))
            && l.first >= started)
            sent8 = l.first;
    }
    const qint64 serviceWait = (reply7 - sent7) + (reply9 - sent9) + (reply8 - sent8);
    const qint64 openVpnWait = sent8 - started;
    std::printf("FIGURE connect-to-verified %lld ms: service replies %lld ms, OpenVPN start to "
                "connected report %lld ms, client's own share %lld ms\n",
                static_cast<long long>(total), static_cast<long long>(serviceWait),
                static_cast<long long>(openVpnWait),
                static_cast<long long>(total - serviceWait - openVpnWait));
    std::printf("FIGURE VmRSS while connected %lld kB\n", static_cast<long long>(rss));
    std::printf("FIGURE longest gap of a 10 ms GUI timer during the run %lld ms\n",
                static_cast<long long>(gaps.longest));
    QVERIFY2(gaps.longest < 50, qPrintable(QString::number(gaps.longest)));

    // No secret in the log of the whole run.
    const QString log = rig.logText();
    QVERIFY(!log.isEmpty());
    QVERIFY(!log.contains(rig.service.password()));
    QVERIFY(!rig.service.authToken().isEmpty());
    QVERIFY(!log.contains(rig.service.authToken()));
    QVERIFY(!managementPassword.isEmpty());
    QVERIFY(!log.contains(managementPassword));
}

void TestConnection::abortWhileAddressCheckIsOutIgnoresTheLateReply()
{
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindowProbe p(rig.makeWindow());
    QVERIFY(rig.signInAndChoose());

    rig.service.setFault("/v1/api/info", MockService::Fault::Delay, 1500, 1);
    rig.service.clearRequests();
    QSignalSpy lines(Loger::notifier(), SIGNAL(lineAdded(QString)));
    p.ui()->vpnConAutoChoiceButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/api/info"), 1, 3000);
    QCOMPARE(p.ui()->vpnConCancelButton->text(), QStringLiteral("ABORT"));
    p.ui()->vpnConCancelButton->click();
    QVERIFY(rig.waitIdle(5000));

    const QString interrupted
        = QStringLiteral("[7]: Interrupt connection status detected. Cancelation reply processing");
    QTRY_VERIFY_WITH_TIMEOUT(rig.logText().contains(interrupted), 5000);
    QCOMPARE(rig.requestCount("/v1/openvpn/"), 0);
    QVERIFY(p.originalIp().isEmpty());
    QCOMPARE(p.status(), VPNProcess::ProcUnconnected);
    QVERIFY(rig.runningOpenVpn().isEmpty());
    QVERIFY(rig.dialogTexts.isEmpty());
}

void TestConnection::tunnelAddressCheckIsRetriedTwice()
{
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    MainWindowProbe p(rig.makeWindow());
    QVERIFY(rig.signInAndChoose());

    // Once the configuration is out, the next two address checks ([8]) are declined.
    p.ui()->vpnConAutoChoiceButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(rig.requestCount("/v1/openvpn/"), 1, 5000);
    rig.service.setFault("/v1/api/info", MockService::Fault::Declined, 0, 2);
    QVERIFY(rig.waitConnected(20000));

    const QString log = rig.logText();
    QVERIFY(log.contains(QStringLiteral("[10]: retrying network request (retry: 1)")));
    QVERIFY(log.contains(QStringLiteral("[10]: retrying network request (retry: 2)")));
    QVERIFY(!log.contains(QStringLiteral("(retry: 3)")));
    QCOMPARE(log.count(QStringLiteral("[8]: \"declined\" server reply")), 2);
    QCOMPARE(p.newIpRetries(), 0);
    QCOMPARE(p.newIp(), QStringLiteral("203.0.113.9"));
    QVERIFY(rig.dialogTexts.isEmpty());
}

void TestConnection::equalAddressesStopTheTunnel()
{
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(rig.startService());
    rig.service.setConnectAfterConfig(false);
    MainWindowProbe p(rig.makeWindow());
    QVERIFY(rig.signInAndChoose());
    rig.service.setConnectAfterConfig(false);

    QSignalSpy ticks(p.vpnUpdateTimer(), SIGNAL(timeout()));
    p.ui()->vpnConAutoChoiceButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogTexts.size(), 1, 20000);
    QVERIFY2(rig.dialogTexts.first().startsWith(QStringLiteral("Error code: 11<br>")),
             qPrintable(rig.dialogTexts.first()));
    QVERIFY(rig.waitIdle(15000));
    QVERIFY(rig.runningOpenVpn().isEmpty());
    // Never shown or counted as a connection.
    QCOMPARE(ticks.count(), 0);
    QVERIFY(rig.logText().contains(
        QStringLiteral("[8]: User's IP before and after VPN connection establishment are equal")));
}

void TestConnection::expiringSubscriptionStopsTheTunnelWithinASecond()
{
    ClientRig rig;
    QVERIFY(connectOnce(rig));
    MainWindowProbe p(rig.window.get());

    p.subscriptions()[p.currentSubIndex()].timeEnd = int(QDateTime::currentSecsSinceEpoch() - 1);
    QElapsedTimer clock;
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(p.ui()->vpnConSubLeftLabel->text(), QStringLiteral("expired"), 1500);
    QVERIFY(clock.elapsed() <= 1100);
    QVERIFY(rig.waitIdle(15000));
    QVERIFY(rig.runningOpenVpn().isEmpty());
    QVERIFY(!p.ui()->vpnConManualChoiceButton->isEnabled());
    QVERIFY(!p.ui()->vpnConAutoChoiceButton->isEnabled());
}

void TestConnection::errorMarkIsClearedWhileConnectedAndActedOnAfterReconnect()
{
    ClientRig rig;
    QVERIFY(connectOnce(rig));
    MainWindowProbe p(rig.window.get());

    // An error line while the tunnel is up: forgotten at the next tick.
    QSignalSpy ticks(p.vpnUpdateTimer(), SIGNAL(timeout()));
    p.vpn()->errorSeen = true;
    QVERIFY(ticks.wait(2000));
    QVERIFY(!p.vpn()->errorSeen);
    QCOMPARE(p.status(), VPNProcess::ProcConnected);
    QVERIFY(p.connected());

    // OpenVPN reconnecting on its own with the mark set: the next tick stops the tunnel.
    p.vpn()->procStatus = VPNProcess::ProcConnecting;
    p.vpn()->errorSeen = true;
    QVERIFY(ticks.wait(2000));
    QVERIFY(
        rig.waitIdle(15000)
        || QTest::qWaitFor(
            [&p]() { return p.status() == VPNProcess::ProcUnconnected && !p.connected(); }, 5000));
    QVERIFY(rig.runningOpenVpn().isEmpty());
}

void TestConnection::secondConnectionWaitsForTheOldTunnelToGoDown()
{
    ClientRig rig;
    rig.followTunnel();
    QVERIFY(connectOnce(rig));
    MainWindowProbe p(rig.window.get());
    QVERIFY(!rig.runningOpenVpn().isEmpty());

    // When the new connection's first request is sent, the old OpenVPN must be gone.
    int checked = 0;
    QList<qint64> runningAtSecondRequest {-1};
    QObject listening;
    connect(Loger::notifier(), &Loger::lineAdded, &listening, [&](const QString &line) {
        if (line.contains(QStringLiteral("Request to Kestrune server was sent"))
            && line.contains(QStringLiteral("[7]"))) {
            ++checked;
            runningAtSecondRequest = rig.runningOpenVpn();
        }
    });
    // Another server of the all-locations list, chosen while connected.
    QListWidget *list = p.ui()->vpnServAllServListWidget;
    QVERIFY(list->count() >= 2);
    const int row
        = list->item(0)->data(Qt::UserRole).toInt() == p.servers().at(p.firstServerIndex()).id ? 1
                                                                                               : 0;
    const int wantedId = list->item(row)->data(Qt::UserRole).toInt();
    list->setCurrentRow(row);
    emit list->doubleClicked(list->currentIndex());
    QVERIFY(rig.waitConnected());
    QCOMPARE(checked, 1);
    QVERIFY(runningAtSecondRequest.isEmpty());
    QCOMPARE(rig.runningOpenVpn().size(), 1);
    QCOMPARE(p.servers().at(p.firstServerIndex()).id, wantedId);
    QCOMPARE(p.secondServerIndex(), p.firstServerIndex());
}

void TestConnection::mirrorConnectionStartsTheToolBeforeTheConfiguration()
{
    const QString ssLocal = QStandardPaths::findExecutable(QStringLiteral("ss-local"));
    if (ssLocal.isEmpty())
        QSKIP("shadowsocks-libev's ss-local is not installed");
    ClientRig rig;
    QVERIFY(rig.installOpenVpn(QStringLiteral("2.4.9")));
    QVERIFY(QDir().mkpath(rig.programDir + QStringLiteral("/shadowsocks")));
    QVERIFY(QFile::copy(ssLocal, rig.programDir + QStringLiteral("/shadowsocks/ss-local")));
    QVERIFY(rig.startService());
    quint16 localPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        localPort = probe.serverPort();
    }
    rig.service.setMirrorConfig(QJsonObject {{"server", "127.0.0.1"},
                                             {"server_port", 9},
                                             {"local_address", "127.0.0.1"},
                                             {"local_port", int(localPort)},
                                             {"password", "demo-mirror"},
                                             {"method", "aes-256-gcm"},
                                             {"timeout", 60}});
    // The user asked for the mirror route.
    {
        QSettings ini(rig.dataDir + QStringLiteral("/settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("LastLaunchedVersion"), QStringLiteral("1.26.0"));
        ini.setValue(QStringLiteral("ServerMirrorConfig"), true);
    }
    MainWindowProbe p(rig.makeWindow());
    QVERIFY(rig.signInAndChoose());
    rig.service.clearRequests();
    p.ui()->vpnConAutoChoiceButton->click();
    QVERIFY(rig.waitConnected());

    QStringList order;
    for (const MockService::Request &r : rig.service.requests())
        order << QString::fromLatin1(r.path);
    QCOMPARE(order.size(), 4);
    QCOMPARE(order.at(0), QStringLiteral("/v1/api/info"));
    QCOMPARE(order.at(1), QStringLiteral("/v1/shadow/config"));
    QVERIFY(order.at(2).startsWith(QStringLiteral("/v1/openvpn/config-")));
    QVERIFY(rig.service.requests().at(2).query.contains("proto=tcp"));
    QCOMPARE(p.w->findChild<QWidget *>(QStringLiteral("settingProtWidget"))->isEnabled(), false);
    QCOMPARE(p.ssStatus(), ShadowsocksProcess::Shadowsocks_Running);

    QFile config(rig.dataDir + QStringLiteral("/temp/openvpn_config.ovpn"));
    QVERIFY(config.open(QIODevice::ReadOnly));
    QVERIFY(config.readAll().contains(
        QStringLiteral("socks-proxy 127.0.0.1 %1\n").arg(localPort).toLatin1()));

    p.ui()->vpnConCancelButton->click();
    QVERIFY(rig.waitIdle());
    QCOMPARE(p.ssStatus(), ShadowsocksProcess::Shadowsocks_NotRunning);
    QVERIFY(rig.dialogTexts.isEmpty());
}

void TestConnection::windowEndedBySystemStopsOpenVpnPolitely()
{
    ClientRig rig;
    QVERIFY(connectOnce(rig));
    QVERIFY(!rig.runningOpenVpn().isEmpty());
    // As after SIGTERM: the event loop has ended and the window goes without the tray's Quit.
    rig.window.reset();
    QVERIFY(rig.runningOpenVpn().isEmpty());
    const QString log = rig.logText();
    const int closed = log.lastIndexOf(QStringLiteral("openvpn process closed"));
    QVERIFY(closed >= 0);
    QVERIFY(log.indexOf(QStringLiteral("[OpenVPN]: state changed to stopped"), closed) > closed);
}

void TestConnection::quitWhileConnectedStopsOpenVpnAndThreads()
{
    ClientRig rig;
    QVERIFY(connectOnce(rig));
    MainWindowProbe p(rig.window.get());
    QPointer<QThread> vpnThread = p.vpnThread();
    QPointer<QThread> ssThread = p.ssThread();
    QVERIFY(vpnThread && vpnThread->isRunning());

    const QString logFile = Loger::currentFileName();
    rig.window->aboutToQuit();
    // OpenVPN is gone when the quit returns, and both long-lived threads end.
    QVERIFY(rig.runningOpenVpn().isEmpty());
    QVERIFY(vpnThread->wait(5000));
    QVERIFY(ssThread->wait(5000));
    QFile file(logFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray log = file.readAll();
    const int shutting = log.lastIndexOf("Application is shutting down");
    QVERIFY(shutting >= 0);
    QVERIFY(log.indexOf("openvpn process closed", shutting) > shutting);
    // The quit closed the log; the rig opens it again for the next case.
    Loger::init(rig.dataDir + QStringLiteral("/logs"), false, true, QStringLiteral("log"));
}

KESTRUNE_TEST_MAIN(TestConnection)
#include "tst_connection.moc"

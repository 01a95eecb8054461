// The connection controller on its own: the local service, the suite's copy of the OpenVPN
// stand-in and a settings object over a temporary data folder; no window.

#include "control/connectioncontroller.h"
#include "core/clientsettings.h"
#include "mockservice/mockservice.h"
#include "support/builders.h"
#include "support/logrecorder.h"
#include "support/programfolder.h"
#include "support/testmain.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

using State = ConnectionController::State;
Q_DECLARE_METATYPE(QVector<ConnectionController::State>)

namespace {

const QString Before = QStringLiteral("198.51.100.7");
const QString Through = QStringLiteral("203.0.113.9");

} // namespace

class TestConnectionController : public QObject
{
    Q_OBJECT

    struct Rig
    {
        QTemporaryDir data;
        LogRecorder log {data.filePath(QStringLiteral("logs"))};
        ProgramFolder programs;
        MockService service;
        std::unique_ptr<ClientSettings> settings;
        std::unique_ptr<ConnectionController> controller;
        QVector<State> states;

        bool start()
        {
            QDir().mkpath(data.filePath(QStringLiteral("temp")));
            programs.installStandIn();
            if (!service.start())
                return false;
            service.loadDemoData();
            service.setAddresses(Before, Through);
            ServiceEndpoints endpoints;
            endpoints.apiBase = endpoints.siteBase = endpoints.ipEchoBase = service.baseUrl();
            endpoints.emergencyBase = service.baseUrl();
            settings = std::make_unique<ClientSettings>(data.path());
            controller = std::make_unique<ConnectionController>(settings.get(), data.path(),
                                                                programs.path(), endpoints);
            controller->startOpenVpnController();
            if (!controller->acceptOpenVpn())
                return false;
            controller->startMirrorToolController();
            controller->setRequestContext([this]() {
                ApiRequestContext context;
                context.apiBaseUrl = service.baseUrl();
                context.ipEchoBase = service.baseUrl();
                context.authToken = service.authToken();
                context.userId = service.userId();
                const QVector<VPNServer> servers {server(100, QStringLiteral("127.0.0.1"))};
                context.setRoute({subscription(11, Sub_Premium)}, 0, servers, 0, 0);
                return context;
            });
            connect(controller.get(), &ConnectionController::stateChanged,
                    [this](State state) { states << state; });
            return true;
        }
    };

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void chainEndsInItsStateAndDialog_data()
    {
        QTest::addColumn<QByteArray>("faultPath");
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("sameAddress");
        QTest::addColumn<int>("dialogCode"); // 0: none, the tunnel is verified
        QTest::addColumn<QVector<State>>("states");
        const QVector<State> stopped {State::Connecting, State::Disconnecting, State::Unconnected};
        QTest::newRow("verified") << QByteArray() << int(MockService::Fault::None) << false << 0
                                  << QVector<State> {State::Connecting, State::TunnelUp,
                                                     State::Verified};
        QTest::newRow("address before the tunnel unknown")
            << QByteArray("/v1/api/info") << int(MockService::Fault::Declined) << false << 6
            << stopped;
        QTest::newRow("configuration not served")
            << QByteArray("/v1/openvpn/config-single-complement")
            << int(MockService::Fault::NotFound) << false << 5 << stopped;
        QTest::newRow("the same address through the tunnel")
            << QByteArray() << int(MockService::Fault::None) << true << 11
            << QVector<State> {State::Connecting, State::TunnelUp, State::Disconnecting,
                               State::Unconnected};
    }
    void chainEndsInItsStateAndDialog()
    {
        QFETCH(QByteArray, faultPath);
        QFETCH(int, fault);
        QFETCH(bool, sameAddress);
        QFETCH(int, dialogCode);
        QFETCH(QVector<State>, states);
        Rig rig;
        QVERIFY(rig.start());
        if (!faultPath.isEmpty())
            rig.service.setFault(faultPath, MockService::Fault(fault));
        if (sameAddress)
            rig.service.setAddresses(Before, Before);
        QSignalSpy failed(rig.controller.get(), &ConnectionController::failed);
        rig.controller->connectRoute();
        QTRY_COMPARE_WITH_TIMEOUT(rig.states.size(), states.size(), 20000);
        QCOMPARE(rig.states, states);
        QCOMPARE(failed.isEmpty() ? 0 : failed.first().first().toInt(), dialogCode);
        QCOMPARE(rig.controller->state(), states.last());
        if (dialogCode != 0)
            return;
        QCOMPARE(rig.controller->originalIp(), Before);
        QCOMPARE(rig.controller->newIp(), Through);
        QSignalSpy ticks(rig.controller.get(), &ConnectionController::ticked);
        QVERIFY(ticks.wait(3000));
        rig.controller->abort();
        // The user's stop returns once OpenVPN is down.
        QCOMPARE(rig.controller->state(), State::Unconnected);
        QVERIFY(rig.programs.running(QStringLiteral("ovpn/openvpn")).isEmpty());
        QVERIFY(rig.log.contains(QStringLiteral("Stopping VPN connection")));
    }

    // The network under a verified tunnel: the route gone makes it wait (OpenVPN is left
    // alone), the route back or changed or a wake-up starts OpenVPN anew, and the tunnel is
    // verified again before it is shown as connected. OpenVPN's own restart reads the same.
    void tunnelFollowsTheNetwork_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<bool>("openVpnStartedAnew");
        QTest::newRow("route gone, then back")
            << QStringList {"gone", "back"} << QString()
            << QStringList {"Network: the route to the VPN server is gone, waiting",
                            "Network: the route to the VPN server is back, reconnecting"}
            << true;
        QTest::newRow("route changed") << QStringList {"changed"} << QString()
                                       << QStringList {"Network: the route to the VPN server "
                                                       "changed, reconnecting"}
                                       << true;
        QTest::newRow("woke up") << QStringList {"woke"} << QString()
                                 << QStringList {"Network: the computer woke up, reconnecting"}
                                 << true;
        QTest::newRow("OpenVPN restarts by itself")
            << QStringList() << QStringLiteral("#standin reconnect\n#standin connect-delay 300\n")
            << QStringList {"Network: OpenVPN is reconnecting by itself"} << false;
    }
    void tunnelFollowsTheNetwork()
    {
        QFETCH(QStringList, events);
        QFETCH(QString, script);
        QFETCH(QStringList, logged);
        QFETCH(bool, openVpnStartedAnew);
        Rig rig;
        QVERIFY(rig.start());
        if (!script.isEmpty())
            QVERIFY(writeFile(rig.programs.path() + "/ovpn/standin-script", script.toUtf8()));
        rig.controller->connectRoute();
        QTRY_COMPARE_WITH_TIMEOUT(rig.states.value(2), State::Verified, 20000);
        const QList<qint64> first = rig.programs.running(QStringLiteral("ovpn/openvpn"));
        QCOMPARE(first.size(), 1);
        for (const QString &event : events) {
            if (event == "gone") {
                rig.controller->networkRouteGone();
                QCOMPARE(rig.controller->state(), State::Reconnecting);
                QVERIFY(rig.controller->waitingForNetwork());
                // Nothing is tried while the network is away.
                QCOMPARE(rig.programs.running(QStringLiteral("ovpn/openvpn")), first);
            } else if (event == "back") {
                rig.controller->networkRouteBack();
            } else if (event == "changed") {
                rig.controller->networkRouteChanged();
            } else {
                rig.controller->computerWokeUp();
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig.states.contains(State::Reconnecting), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(rig.states.last(), State::Verified, 20000);
        QVERIFY(!rig.controller->waitingForNetwork());
        for (const QString &line : logged)
            QVERIFY2(rig.log.contains(line), qPrintable(line));
        QCOMPARE(rig.log.matching(QStringLiteral("Network: reconnected in ")).size(), 1);
        const QList<qint64> now = rig.programs.running(QStringLiteral("ovpn/openvpn"));
        QCOMPARE(now.size(), 1);
        QCOMPARE(now != first, openVpnStartedAnew);
        // Never shown as disconnected meanwhile.
        QVERIFY(!rig.states.contains(State::Unconnected));
        rig.controller->stop(true);
        QCOMPARE(rig.controller->state(), State::Unconnected);
    }

    // A stop before OpenVPN was asked for ends without it, and a reply still under way for
    // the connection left is dropped.
    void stopWhileAskingForTheAddressEndsAtOnce()
    {
        Rig rig;
        QVERIFY(rig.start());
        rig.service.setFault("/v1/api/info", MockService::Fault::Delay, 500, 1);
        rig.controller->connectRoute();
        rig.controller->stop(true);
        QCOMPARE(rig.controller->state(), State::Unconnected);
        QCOMPARE(rig.states,
                 (QVector<State> {State::Connecting, State::Disconnecting, State::Unconnected}));
        QVERIFY(rig.log.waitFor(QStringLiteral("[7]: Interrupt connection status detected. "
                                               "Cancelation reply processing")));
        for (const MockService::Request &request : rig.service.requests())
            QVERIFY(!request.path.startsWith("/v1/openvpn/"));
    }
};

KESTRUNE_TEST_MAIN(TestConnectionController)
#include "tst_connectioncontroller.moc"

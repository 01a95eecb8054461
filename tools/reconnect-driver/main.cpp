// Connects the connection controller, with a copy of the system's OpenVPN in a program folder
// of its own, to a real OpenVPN server through the demo service's chain of requests, waits for
// the verified tunnel, then prints every state change and every "Network: " log line with the
// time (seconds since the epoch, to the millisecond), until SIGTERM or SIGINT, or until the
// lifetime has passed. The network test runs it in the client's namespace.
//
// Usage: kestrune-reconnect-driver --remote HOST PORT --proto udp|tcp --extra FILE
//            [--no-persist-tun] [--mirror HOST PORT PASSWORD] [--helper PATH]
//            [--data DIR] [--lifetime SECONDS]
// FILE holds the lines added to the configuration the service hands out (the inline keys).
// With --mirror, the connection goes through the mirror route: the system's ss-local, copied
// into the program folder, to the ss-server at HOST PORT (chacha20-ietf-poly1305, PASSWORD).
// With --helper, the helper at PATH is copied beside the program and DNS protection is on: the
// helper starts OpenVPN with its hooks for the tunnel's name servers, as an installed client's.
// Exit status: 0 after a stop asked for, 1 when the connection failed or ended by itself,
// 2 on bad arguments, 3 when the lifetime passed.
#include "api/apirequestcontext.h"
#include "api/subscription.h"
#include "api/vpnserver.h"
#include "control/connectioncontroller.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QJsonObject>
#include <QMetaEnum>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

namespace {

std::atomic<bool> stopAsked {false};

extern "C" void onSignal(int)
{
    stopAsked = true;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: kestrune-reconnect-driver --remote HOST PORT --proto udp|tcp --extra FILE"
                 " [--no-persist-tun] [--mirror HOST PORT PASSWORD] [--helper PATH]"
                 " [--data DIR] [--lifetime SECONDS]\n");
    return 2;
}

void say(const QString &what)
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    std::printf("%lld.%03lld %s\n", ms / 1000, ms % 1000, qPrintable(what));
    std::fflush(stdout);
}

// The program folder holds its own copy of OpenVPN: ending "every OpenVPN of the program"
// then never reaches the server's OpenVPN or another test's.
bool layOutProgramFolder(const QString &folder)
{
    const QString copy = folder + QStringLiteral("/ovpn/openvpn");
    if (!QDir().mkpath(folder + QStringLiteral("/ovpn")))
        return false;
    for (const char *source : {"/usr/sbin/openvpn", "/usr/bin/openvpn"}) {
        if (QFile::exists(QLatin1String(source)) && QFile::copy(QLatin1String(source), copy))
            return QFile::setPermissions(copy,
                                         QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return false;
}

bool copyMirrorTool(const QString &folder)
{
    const QString copy = folder + QStringLiteral("/shadowsocks/ss-local");
    if (!QDir().mkpath(folder + QStringLiteral("/shadowsocks")))
        return false;
    for (const char *source : {"/usr/bin/ss-local", "/usr/local/bin/ss-local"}) {
        if (QFile::exists(QLatin1String(source)) && QFile::copy(QLatin1String(source), copy))
            return QFile::setPermissions(copy,
                                         QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return false;
}

bool copyHelper(const QString &helper, const QString &folder)
{
    const QString copy = folder + QStringLiteral("/kestrunevpn-helper");
    return QFile::copy(helper, copy)
        && QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A port nothing listens on now, for the mirror tool's local end.
quint16 freeLocalPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString host;
    quint16 port = 0;
    QString proto;
    QString extraFile;
    QString dataDir;
    bool persistTun = true;
    QString mirrorHost;
    quint16 mirrorPort = 0;
    QString mirrorPassword;
    QString helper;
    int lifetime = 300;
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        bool ok = true;
        if (option == QLatin1String("--remote") && args.size() >= 2) {
            host = args.takeFirst();
            port = quint16(args.takeFirst().toUInt(&ok));
        } else if (option == QLatin1String("--proto") && !args.isEmpty()) {
            proto = args.takeFirst();
        } else if (option == QLatin1String("--extra") && !args.isEmpty()) {
            extraFile = args.takeFirst();
        } else if (option == QLatin1String("--data") && !args.isEmpty()) {
            dataDir = args.takeFirst();
        } else if (option == QLatin1String("--lifetime") && !args.isEmpty()) {
            lifetime = args.takeFirst().toInt(&ok);
        } else if (option == QLatin1String("--mirror") && args.size() >= 3) {
            mirrorHost = args.takeFirst();
            mirrorPort = quint16(args.takeFirst().toUInt(&ok));
            mirrorPassword = args.takeFirst();
            ok = ok && mirrorPort != 0 && !mirrorPassword.isEmpty();
        } else if (option == QLatin1String("--helper") && !args.isEmpty()) {
            helper = args.takeFirst();
        } else if (option == QLatin1String("--no-persist-tun")) {
            persistTun = false;
        } else {
            return usage();
        }
        if (!ok)
            return usage();
    }
    if (host.isEmpty() || port == 0 || (proto != QLatin1String("udp") && proto != "tcp")
        || extraFile.isEmpty() || lifetime <= 0)
        return usage();
    QFile extra(extraFile);
    if (!extra.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(extraFile));
        return 2;
    }

    QTemporaryDir ownData;
    QTemporaryDir programs;
    if (dataDir.isEmpty())
        dataDir = ownData.path();
    if (!QDir().mkpath(dataDir + QStringLiteral("/temp"))
        || !QDir().mkpath(dataDir + QStringLiteral("/logs")) || !programs.isValid()
        || !layOutProgramFolder(programs.path())
        || (!mirrorHost.isEmpty() && !copyMirrorTool(programs.path()))
        || (!helper.isEmpty() && !copyHelper(helper, programs.path()))) {
        std::fprintf(stderr, "cannot lay out the data and program folders\n");
        return 1;
    }
    Loger::init(dataDir + QStringLiteral("/logs"), false, true, QStringLiteral("log"));
    QObject::connect(Loger::notifier(), &Loger::lineAdded, &app, [](const QString &line) {
        const int at = line.indexOf(QLatin1String("Network: "));
        if (at >= 0)
            say(QStringLiteral("log ") + line.mid(at).trimmed());
    });

    // The service on the client's loopback: the tunnel's routes never take that address.
    MockService service;
    service.loadDemoData();
    service.setAddresses(QStringLiteral("192.0.2.2"), QStringLiteral("203.0.113.9"));
    service.setOpenVpnRemote(host, port);
    service.setOpenVpnExtraLines(extra.readAll());
    service.setOpenVpnPersistTun(persistTun);
    if (!mirrorHost.isEmpty()) {
        const quint16 localPort = freeLocalPort();
        if (localPort == 0) {
            std::fprintf(stderr, "no free local port for the mirror tool\n");
            return 1;
        }
        service.setMirrorConfig({{"server", mirrorHost},
                                 {"server_port", mirrorPort},
                                 {"local_address", "127.0.0.1"},
                                 {"local_port", localPort},
                                 {"password", mirrorPassword},
                                 {"method", "chacha20-ietf-poly1305"},
                                 {"timeout", 60}});
    }
    if (!service.start()) {
        std::fprintf(stderr, "the service cannot listen\n");
        return 1;
    }

    ClientSettings settings(dataDir);
    settings.setUdp(proto == QLatin1String("udp"));
    // Without the helper, the name servers are not the test's matter.
    settings.setDnsProtection(!helper.isEmpty());
    ServiceEndpoints endpoints;
    endpoints.apiBase = endpoints.siteBase = endpoints.ipEchoBase = service.baseUrl();
    endpoints.emergencyBase = service.baseUrl();
    ConnectionController controller(&settings, dataDir, programs.path(), endpoints);
    controller.startOpenVpnController();
    // A build configured for older series refuses Debian's 2.6 at the window; its management
    // dialogue on the local socket is the same, so the driver goes on.
    if (!controller.acceptOpenVpn())
        say(QStringLiteral("note OpenVPN %1 is outside the series this build accepts")
                .arg(controller.openVpnVersion()));
    controller.startMirrorToolController();
    if (!mirrorHost.isEmpty()) {
        if (!controller.mirrorToolFound()) {
            std::fprintf(stderr, "the mirror tool in the program folder does not answer\n");
            return 1;
        }
        controller.setMirrorActive(true);
    }
    controller.setRequestContext([&service]() {
        ApiRequestContext context;
        context.apiBaseUrl = service.baseUrl();
        context.ipEchoBase = service.baseUrl();
        context.authToken = service.authToken();
        context.userId = service.userId();
        VPNServer server;
        server.id = 100;
        server.ip = QStringLiteral("127.0.0.1");
        Subscription subscription;
        subscription.id = 11;
        subscription.type = Sub_Premium;
        subscription.status = 1;
        subscription.timeEnd = int(QDateTime::currentSecsSinceEpoch() + 86400);
        context.setRoute({subscription}, 0, {server}, 0, 0);
        return context;
    });

    int status = 3;
    bool verifiedOnce = false;
    const QMetaEnum states = QMetaEnum::fromType<ConnectionController::State>();
    QObject::connect(&controller, &ConnectionController::stateChanged, &app,
                     [&](ConnectionController::State state) {
                         say(QStringLiteral("state ") + QLatin1String(states.valueToKey(state)));
                         // The tunnel is up: the service sees the client through it from now.
                         if (state == ConnectionController::TunnelUp)
                             service.setConnected(true);
                         if (state == ConnectionController::Verified && !verifiedOnce) {
                             verifiedOnce = true;
                             say(QStringLiteral("openvpn-log ") + controller.openVpnLogPath());
                         }
                         if (state == ConnectionController::Unconnected && !stopAsked) {
                             status = 1;
                             app.quit();
                         }
                     });
    QObject::connect(
        &controller, &ConnectionController::failed, &app,
        [](int code, const QStringList &) { say(QStringLiteral("failed %1").arg(code)); });

    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&]() {
        if (!stopAsked)
            return;
        status = 0;
        app.quit();
    });
    poll.start(50);
    QTimer::singleShot(lifetime * 1000, &app, &QCoreApplication::quit);

    controller.connectRoute();
    app.exec();
    stopAsked = true;
    controller.shutDown();
    say(QStringLiteral("end"));
    return status;
}

// Runs the network watcher on one server address and prints each of its signals on a line of
// its own ("ready", "gone", "back", "changed", "woke"), with the milliseconds since the start,
// until it is ended. The network test drives it inside a namespace of its own.
//
// Usage: kestrune-networkwatch SERVER [TUNNEL-DEVICE]
#include "system/networkwatcher.h"

#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: kestrune-networkwatch SERVER [TUNNEL-DEVICE]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const auto say = [&clock](const char *what) {
        std::printf("%s %lld\n", what, static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
    };
    NetworkWatcher watcher;
    QObject::connect(&watcher, &NetworkWatcher::routeGone, [&] { say("gone"); });
    QObject::connect(&watcher, &NetworkWatcher::routeBack, [&] { say("back"); });
    QObject::connect(&watcher, &NetworkWatcher::routeChanged, [&] { say("changed"); });
    QObject::connect(&watcher, &NetworkWatcher::wokeUp, [&] { say("woke"); });
    const QString tunnel = args.size() > 2 ? args.at(2) : QStringLiteral("ksvpn_tun");
    if (!watcher.watchServer(QHostAddress(args.at(1)), tunnel)) {
        std::fprintf(stderr, "cannot watch the route to %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const ServerRoute route = watcher.knownRoute();
    std::printf("ready %s via %s source %s\n", route.reachable ? "reachable" : "unreachable",
                qPrintable(route.gateway.toString()), qPrintable(route.source.toString()));
    std::fflush(stdout);
    return app.exec();
}

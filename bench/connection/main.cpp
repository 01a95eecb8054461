// Figures of the connection road through the real window: from the connect click to the
// verified tunnel, split into the service's replies, OpenVPN's start and the client's own
// share; the longest gap of a 10 ms GUI timer meanwhile; resident memory while connected.

#include "support/windowrig.h"

#include <algorithm>
#include <cstdio>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>

namespace {

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

struct Run
{
    qint64 total = 0, service = 0, openVpn = 0, gap = 0, rss = 0;
};

bool measure(WindowRig &rig, Run &run)
{
    QElapsedTimer clock;
    QList<QPair<qint64, QString>> lines;
    QObject listening;
    QObject::connect(Loger::notifier(), &Loger::lineAdded, &listening, [&](const QString &line) {
        lines.append({clock.elapsed(), line});
    });
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    qint64 last = -1;
    QObject::connect(&ticker, &QTimer::timeout, [&]() {
        const qint64 now = clock.elapsed();
        run.gap = last < 0 ? 0 : std::max(run.gap, now - last);
        last = now;
    });
    clock.start();
    ticker.start(10);
    rig.click("vpnConAutoChoiceButton");
    if (!rig.waitConnected())
        return false;
    run.total = clock.elapsed();
    run.rss = residentKb();
    ticker.stop();
    // Each request's wait runs from its "sent" line to the next "Server reply" line.
    qint64 sent = -1, started = -1;
    for (const auto &line : lines) {
        if (line.second.contains(QStringLiteral("Request to Kestrune server was sent"))) {
            sent = line.first;
            // The first request after OpenVPN's start goes out once it reports the tunnel.
            if (started >= 0 && run.openVpn == 0)
                run.openVpn = sent - started;
        } else if (line.second.contains(QStringLiteral("Server reply on [")) && sent >= 0) {
            run.service += line.first - sent;
            sent = -1;
        } else if (line.second.contains(QStringLiteral("Initializing VPN connection"))) {
            started = line.first;
        }
    }
    rig.click("vpnConCancelButton");
    return rig.waitIdle();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    WindowRig rig(WindowRig::LocalService);
    // The service answers with the tunnel's address exactly while OpenVPN runs, as a service
    // seen through a real tunnel does, so round after round starts from the original one.
    rig.service.setConnectAfterConfig(false);
    QObject following;
    QObject::connect(Loger::notifier(), &Loger::lineAdded, &following, [&rig](const QString &line) {
        if (line.contains(QStringLiteral("Initializing VPN connection")))
            rig.service.setConnected(true);
        else if (line.contains(QStringLiteral("openvpn process closed")))
            rig.service.setConnected(false);
    });
    rig.open();
    if (!rig.signInAndChoose()) {
        std::fprintf(stderr, "sign-in did not reach the server list\n");
        return 1;
    }
    QList<Run> runs;
    for (int i = 0; i < rounds; ++i) {
        Run run;
        if (!measure(rig, run)) {
            std::fprintf(stderr, "round %d did not connect\n", i + 1);
            return 1;
        }
        runs << run;
        std::printf("round %d: connect-to-verified %lld ms (service replies %lld ms, OpenVPN "
                    "start to connected %lld ms, client's own share %lld ms); longest GUI gap "
                    "%lld ms; VmRSS %lld kB\n",
                    i + 1, static_cast<long long>(run.total), static_cast<long long>(run.service),
                    static_cast<long long>(run.openVpn),
                    static_cast<long long>(run.total - run.service - run.openVpn),
                    static_cast<long long>(run.gap), static_cast<long long>(run.rss));
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run &a, const Run &b) { return a.total < b.total; });
    const Run &median = runs.at(runs.size() / 2);
    std::printf("median connect-to-verified %lld ms over %d rounds\n",
                static_cast<long long>(median.total), rounds);
    std::printf("BENCH\tconnection through the window: connect -> verified (median)"
                "\t%lld\tms\t-\t-\n"
                "BENCH\tconnection through the window: client's own share\t%lld\tms\t-\t<50\n"
                "BENCH\tconnection through the window: longest GUI gap\t%lld\tms\t-\t<50\n"
                "BENCH\tconnection through the window: resident memory while connected"
                "\t%.1f\tMB\t-\t-\n",
                static_cast<long long>(median.total),
                static_cast<long long>(median.total - median.service - median.openVpn),
                static_cast<long long>(median.gap), median.rss / 1024.0);
    return 0;
}

// Figures for the server page and the availability check:
//  1. filling the all-locations list with 1,000 cities, row widgets included;
//  2. probing 1,000 refused loopback ports, five at once;
//  3. the GUI thread's longest stall while the window takes the results of a check of
//     1,000 servers.
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/servers/bench_servers

#include "engine/serverconnectcheckerthreadlauncher.h"
#include "support/windowrig.h"
#include "ui/deferredpage.h"
#include "ui/messagedialogs.h"
#include "window/mainwindow.h"

#include <cstdio>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

// The bench reaches the window's lists through the tests' probe.
void setServers(MainWindow *w, const QVector<VPNServer> &servers)
{
    WindowProbe p {w};
    p.subscriptions() = {Subscription()};
    p.subscriptions()[0].type = Sub_Premium;
    p.currentSubIndex() = 0;
    p.servers() = servers;
}

namespace {

const char *const Countries[][2] = {
    {"NL", "Netherlands"},    {"DE", "Germany"},     {"JP", "Japan"},     {"US", "United States"},
    {"GB", "United Kingdom"}, {"CH", "Switzerland"}, {"SG", "Singapore"}, {"FI", "Finland"}};

QVector<VPNServer> cities(int count)
{
    QVector<VPNServer> servers;
    for (int i = 0; i < count; ++i) {
        VPNServer s;
        s.id = i + 1;
        s.ip = QStringLiteral("127.0.0.1");
        s.countryIso = QLatin1String(Countries[i % 8][0]);
        s.countryName = QLatin1String(Countries[i % 8][1]);
        s.cityName = QStringLiteral("City %1").arg(count - i);
        s.favorite = i % 7 == 0;
        servers.append(s);
    }
    return servers;
}

// Ports bound on loopback and not listening: a connection is refused at once.
QVector<int> refusedPorts(int count, QVector<int> &descriptors)
{
    rlimit limit {};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    QVector<int> ports;
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            break;
        descriptors.append(fd);
        ports.append(ntohs(address.sin_port));
    }
    return ports;
}

double probeRefusedPorts(const QVector<int> &ports)
{
    QList<QVariant> queue;
    for (int i = 0; i < ports.size(); ++i)
        queue << ServerConnectCheckerThreadLauncher::entry(i, QStringLiteral("127.0.0.1"),
                                                           ports.at(i));
    auto *launcher = new ServerConnectCheckerThreadLauncher(queue, 5, 5000);
    QThread thread;
    launcher->moveToThread(&thread);
    int refused = 0;
    QObject::connect(&thread, &QThread::started, launcher,
                     &ServerConnectCheckerThreadLauncher::init);
    QObject::connect(launcher, &ServerConnectCheckerThreadLauncher::finished, &thread,
                     &QThread::quit, Qt::DirectConnection);
    QObject::connect(launcher, &ServerConnectCheckerThreadLauncher::sendResult, &thread,
                     [&refused](int, bool ok) { refused += ok ? 0 : 1; });
    QElapsedTimer clock;
    clock.start();
    thread.start();
    while (!thread.wait(1))
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("availability check: %d refused loopback ports in %.0f ms, %.0f probes/s (%d "
                "reported refused)\n",
                int(ports.size()), seconds * 1000, ports.size() / seconds, refused);
    std::printf("BENCH\tavailability check: refused loopback ports probed per second\t%.0f\t/s\t-"
                "\t-\n",
                ports.size() / seconds);
    return ports.size() / seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    setDialogRunner([](QMessageBox *) { return int(QMessageBox::Ok); });
    QTemporaryDir data;
    MainWindow window(data.path());
    window.show();

    // 1. The list, best of five fills.
    const QVector<VPNServer> servers = cities(1000);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        setServers(&window, servers);
        QElapsedTimer clock;
        clock.start();
        window.fillServerLists();
        best = qMin(best, clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    std::printf("all-locations list: 1000 cities with their rows filled in %.1f ms (best of 5)\n",
                best);
    std::printf("BENCH\tall-locations list of 1000 cities filled\t%.1f\tms\t-\t<150\n", best);

    // Rows get their widgets as they come into view: a page at a time down the whole list.
    auto *list
        = DeferredPage::find<QListWidget>(&window, QStringLiteral("vpnServAllServListWidget"));
    QScrollBar *scroll = list->verticalScrollBar();
    scroll->setValue(0);
    double longestStep = 0;
    int steps = 0;
    while (scroll->value() < scroll->maximum()) {
        QElapsedTimer clock;
        clock.start();
        scroll->setValue(scroll->value() + list->viewport()->height());
        longestStep = qMax(longestStep, clock.nsecsElapsed() / 1e6);
        ++steps;
    }
    std::printf("scrolling the list a page at a time: %d pages, longest page %.1f ms\n", steps,
                longestStep);

    if (argc > 1 && QByteArray(argv[1]) == "list")
        return 0;

    // 2. Refused ports.
    QVector<int> descriptors;
    const QVector<int> ports = refusedPorts(1000, descriptors);
    probeRefusedPorts(ports);

    // 3. The window's own check of 1,000 servers on one refused port, while a 1 ms timer
    //    measures how long the GUI thread is kept from it.
    setServers(&window, servers);
    qint64 longest = 0;
    QElapsedTimer gap;
    gap.start();
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&]() {
        longest = qMax(longest, gap.nsecsElapsed());
        gap.restart();
    });
    ticker.start(1);
    QElapsedTimer clock;
    clock.start();
    WindowProbe {&window}.availCheckPort() = quint16(ports.value(0));
    window.startServerAvailabilityCheck();
    gap.restart();
    while (WindowProbe {&window}.availCheckRunning() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ticker.stop();
    std::printf("window check of 1000 servers: %.0f ms, longest GUI stall %.1f ms\n",
                clock.nsecsElapsed() / 1e6, longest / 1e6);
    std::printf("BENCH\tlongest GUI stall while the window checks 1000 servers"
                "\t%.1f\tms\t-\t<50\n",
                longest / 1e6);

    for (int fd : descriptors)
        ::close(fd);
    setDialogRunner(nullptr);
    return 0;
}

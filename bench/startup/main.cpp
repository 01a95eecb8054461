// The client's window against a bare Qt Widgets window of the same size, in one run:
//   start-up     process start -> first paint of the window (median of the runs)
//   memory       resident set once the window is signed in, beside the bare window shown
//   connect      connect action -> verified tunnel with the OpenVPN stand-in, split into the
//                client's own share (CPU time of the client process) and the waits (the
//                fixed pauses of the design, the stand-in and the service)
//   GUI stall    the GUI thread's longest time away from its event loop during sign-in,
//                connect and disconnect
// Children of this program do the measuring in fresh processes: `--bare W H` and
// `--window DATA PROGRAM BASE [--session]`. The service is tools/mockservice on loopback.
// `--first-paint` as the last argument of either ends the child at its first paint, for a
// profiler (valgrind --tool=callgrind or massif) that should see the start and nothing else.
// The stand-in uses the fixed management port 7505: tools/bench.sh runs this in a network
// namespace of its own.

#include "app/startup.h"
#include "core/loger.h"
#include "core/settingsstore.h"
#include "mockservice/mockservice.h"
#include "ui/deferredpage.h"
#include "window/mainwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

namespace {

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Reports the first paint of `widget`, then, after the start-up has settled, its memory.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *widget, bool reportMemory, bool endThere = false)
        : m_widget(widget)
        , m_memory(reportMemory)
        , m_end(endThere)
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            say(QStringLiteral("SHOWN %1 %2").arg(m_widget->width()).arg(m_widget->height()));
            if (m_end)
                std::_Exit(0);
            if (m_memory)
                QTimer::singleShot(500, [] { say(QStringLiteral("RSS %1").arg(residentMb())); });
        }
        return false;
    }

private:
    QWidget *m_widget;
    bool m_memory;
    bool m_end;
    bool m_seen = false;
};

// The longest time the GUI thread spent away from its event loop, seen by a short timer.
class StallWatch : public QObject
{
public:
    StallWatch()
    {
        m_clock.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const double stall = (now - m_last) / 1e6 - IntervalMs;
            if (stall > m_longest) {
                m_longest = stall;
                m_where = lastLogLine;
            }
            m_last = now;
        });
        m_last = m_clock.nsecsElapsed();
        m_timer.start(IntervalMs);
    }
    double longestMs() const { return m_longest; }
    // The log line written last before the longest stall ended.
    QString where() const { return m_where; }
    QString lastLogLine;

private:
    static constexpr int IntervalMs = 2;
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_last = 0;
    double m_longest = 0;
    QString m_where;
};

bool endsAtFirstPaint(int argc, char **argv)
{
    return QByteArray(argv[argc - 1]) == "--first-paint";
}

int runBare(int argc, char **argv)
{
    const bool endThere = endsAtFirstPaint(argc, argv);
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(QString(argv[2]).toInt(), QString(argv[3]).toInt());
    FirstPaint paint(&window, true, endThere);
    window.show();
    QTimer::singleShot(2000, &app, &QApplication::quit);
    return app.exec();
}

// The client as its entry point builds it, over the given folders and service.
int runWindow(int argc, char **argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("kestrune"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrunevpn"));
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString data = argv[2];
    const bool endThere = endsAtFirstPaint(argc, argv);
    const bool session = argc > 5 && !endThere;
    StartState state
        = prepareStart(&app, data, argv[3], [](const int &, const QStringList &, QWidget *) {});
    ServiceEndpoints service;
    service.apiBase = service.siteBase = service.emergencyBase = service.ipEchoBase = argv[4];
    MainWindow window(data, service, argv[3]);
    FirstPaint paint(&window, session, endThere);
    // From the end of the construction on: sign-in, connect and disconnect.
    StallWatch stalls;
    if (!session) {
        QTimer::singleShot(3000, &app, &QApplication::quit);
        return app.exec();
    }
    double t0 = 0, cpu0 = 0;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(Loger::notifier(), &Loger::lineAdded, &window, [&](const QString &line) {
        stalls.lastLogLine = line;
        if (line.contains(QLatin1String("Subscription selected"))) {
            // The lists are built after the subscription is chosen; then the user connects.
            QTimer::singleShot(1000, &window, [&] {
                say(QStringLiteral("SIGNEDIN %1").arg(residentMb()));
                t0 = clock.nsecsElapsed() / 1e6;
                cpu0 = cpuMs();
                QMetaObject::invokeMethod(&window, "switchVPNActionTriggered");
            });
        } else if (line.contains(QLatin1String("[8]: "))
                   && line.contains(QLatin1String("received"))) {
            say(QStringLiteral("CONNECT %1 %2")
                    .arg(clock.nsecsElapsed() / 1e6 - t0)
                    .arg(cpuMs() - cpu0));
            QTimer::singleShot(500, &window, [&] {
                DeferredPage::find<QAbstractButton>(&window, QStringLiteral("vpnConCancelButton"))
                    ->click();
            });
        } else if (line.contains(QLatin1String("state changed to stopped"))) {
            QTimer::singleShot(200, &app, [&] {
                say(QStringLiteral("STALL %1 after: %2")
                        .arg(stalls.longestMs())
                        .arg(stalls.where()));
                app.quit();
            });
        }
    });
    QTimer::singleShot(60000, &app, [&] {
        say("TIMEOUT");
        app.exit(1);
    });
    return app.exec();
}

struct Child
{
    QStringList lines;
    double shownMs = -1;
};

Child runChild(const QStringList &arguments, const QStringList &stopAt)
{
    Child child;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray pending;
    QElapsedTimer limit;
    limit.start();
    while (limit.elapsed() < 90000) {
        if (!process.waitForReadyRead(1000) && process.state() == QProcess::NotRunning)
            break;
        pending += process.readAllStandardOutput();
        while (pending.contains('\n')) {
            const int end = pending.indexOf('\n');
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (line.startsWith(QLatin1String("SHOWN")) && child.shownMs < 0)
                child.shownMs = clock.nsecsElapsed() / 1e6;
            child.lines << line;
        }
        if (std::any_of(stopAt.begin(), stopAt.end(), [&](const QString &s) {
                return std::any_of(child.lines.begin(), child.lines.end(),
                                   [&](const QString &l) { return l.startsWith(s); });
            }))
            break;
    }
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished(5000);
    return child;
}

QString field(const Child &child, const QString &key, int index)
{
    for (const QString &line : child.lines) {
        if (line.startsWith(key + QLatin1Char(' ')))
            return line.split(QLatin1Char(' ')).value(index);
    }
    return QString();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

void bench(const char *name, double value, const char *unit, double baseline, const char *aim)
{
    const QString base = baseline < 0 ? QStringLiteral("-") : QString::number(baseline, 'f', 1);
    std::printf("BENCH\t%s\t%.1f\t%s\t%s\t%s\n", name, value, unit, qPrintable(base), aim);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && QByteArray(argv[1]) == "--bare")
        return runBare(argc, argv);
    if (argc >= 5 && QByteArray(argv[1]) == "--window")
        return runWindow(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QTemporaryDir dir;
    const QString program = dir.path() + "/program";
    QDir().mkpath(program + "/ovpn");
    if (!QFile::copy(QStringLiteral(STANDIN_PATH), program + "/ovpn/openvpn")) {
        std::fprintf(stderr, "cannot copy the OpenVPN stand-in\n");
        return 1;
    }
    MockService service;
    service.loadDemoData();
    service.setEchoCountry(QStringLiteral("Netherlands"));
    if (!service.start()) {
        std::fprintf(stderr, "cannot start the local service\n");
        return 1;
    }

    QList<double> windowMs, bareMs;
    double bareRss = -1;
    QString width = "300", height = "470";
    for (int i = 0; i < runs; ++i) {
        const QString data = dir.path() + QStringLiteral("/data-%1").arg(i);
        const Child window = runChild({"--window", data, program, service.baseUrl()}, {"SHOWN"});
        width = field(window, "SHOWN", 1);
        height = field(window, "SHOWN", 2);
        const Child bare = runChild({"--bare", width, height}, {"RSS"});
        if (window.shownMs < 0 || bare.shownMs < 0) {
            std::fprintf(stderr, "a window was not shown\n");
            return 1;
        }
        windowMs << window.shownMs;
        bareMs << bare.shownMs;
        bareRss = field(bare, "RSS", 1).toDouble();
    }

    // A returning user: sign-in remembered, the demo subscription chosen.
    const QString data = dir.path() + "/session";
    QDir().mkpath(data);
    SettingsStore store(SettingsStore::fileNameIn(data));
    GeneralSettings general;
    general.loginData.rememberMe = true;
    general.loginData.login = service.login();
    general.loginData.password = service.password();
    general.packageId = 11;
    LanguageSettings language;
    language.language = 2;
    store.saveLastVersion();
    store.saveGeneral(general);
    store.saveLanguage(language);
    const Child session = runChild({"--window", data, program, service.baseUrl(), "--session"},
                                   {"STALL", "TIMEOUT"});
    if (field(session, "STALL", 1).isEmpty()) {
        std::fprintf(stderr, "the session did not reach a verified tunnel and back: %s\n",
                     qPrintable(session.lines.join(QLatin1String(" | "))));
        return 1;
    }
    const double connectMs = field(session, "CONNECT", 1).toDouble();
    const double ownMs = field(session, "CONNECT", 2).toDouble();

    bench("start-up to the first window shown (median)", median(windowMs), "ms", median(bareMs),
          "x<=1.3");
    bench("resident memory signed in", field(session, "SIGNEDIN", 1).toDouble(), "MB", bareRss,
          "x<=1.5");
    bench("connect action -> verified (total)", connectMs, "ms", -1, "-");
    bench("  waits: design's pauses, stand-in, service", connectMs - ownMs, "ms", -1, "-");
    bench("  client's own share (CPU time)", ownMs, "ms", -1, "<50");
    bench("GUI thread's longest stall, sign-in to disconnect",
          field(session, "STALL", 1).toDouble(), "ms", -1, "<50");
    for (const QString &line : session.lines) {
        if (line.startsWith(QLatin1String("STALL ")))
            std::printf("longest GUI stall %s\n", qPrintable(line.mid(6)));
    }
    service.stop();
    return 0;
}

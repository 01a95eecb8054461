// Usage: kestrune_soak_driver <program folder> <cycles> [extra OpenVPN configuration file]
//
// Runs the demo service on the loopback address, builds the main window with the given
// program folder (its ovpn/openvpn is the OpenVPN it starts), signs in with the demo account
// and then runs <cycles> times: connect by the automatic choice, wait for the verified
// connection, press "ABORT"/disconnect and wait until the window is idle again. After the
// sign-in and after every 10 cycles it prints the child processes, threads, open files and
// resident memory of this process. The extra configuration file, when given, is appended to
// every configuration the service sends (keys and the far end for a real OpenVPN).

#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "ui/deferredpage.h"
#include "ui/messagedialogs.h"
#include "ui/pagenavigation.h"
#include "window/mainwindow.h"

#include <cstdio>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

// The window's widgets by name, the deferred pages included.
template<typename T = QWidget> T *widget(MainWindow *w, const char *name)
{
    return DeferredPage::find<T>(w, QLatin1String(name));
}

int statusPage(MainWindow *w)
{
    return widget<QStackedWidget>(w, "vpnConStatusStackedWidget")->currentIndex();
}

bool verified(MainWindow *w)
{
    return w->connectionController()->state() == ConnectionController::Verified
        && statusPage(w) == Status_Connected;
}

bool idle(MainWindow *w)
{
    return w->connectionController()->state() == ConnectionController::Unconnected
        && statusPage(w) == Status_Idle;
}

// Signed in with the servers in: the automatic choice can be clicked.
bool onConnectionPage(MainWindow *w)
{
    return widget<QStackedWidget>(w, "stackedWidget")->currentIndex() == Page_Connection
        && widget(w, "vpnConAutoChoiceButton")->isEnabled();
}

namespace {

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray statusField(const QByteArray &name)
{
    for (const QByteArray &line : readFile(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).simplified();
    }
    return QByteArray();
}

// Live children and zombies of this process.
QPair<int, int> children()
{
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    QPair<int, int> count {0, 0};
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(entry));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1) == self)
            ++(fields.at(0) == "Z" ? count.second : count.first);
    }
    return count;
}

void printFigures(const char *when)
{
    const QPair<int, int> kids = children();
    std::printf("%-14s children %d (zombies %d), threads %s, open files %d, RSS %s\n", when,
                kids.first, kids.second, statusField("Threads").constData(),
                int(QDir(QStringLiteral("/proc/self/fd"))
                        .entryList(QDir::NoDotAndDotDot | QDir::System)
                        .size()),
                statusField("VmRSS").constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <program folder> <cycles> [extra OpenVPN config]\n",
                     argv[0]);
        return 2;
    }
    const QString programDir = QString::fromLocal8Bit(argv[1]);
    const int cycles = QByteArray(argv[2]).toInt();
    QTemporaryDir dataDir;
    if (!dataDir.isValid() || !QDir().mkpath(dataDir.filePath(QStringLiteral("temp")))
        || !QDir().mkpath(dataDir.filePath(QStringLiteral("logs"))))
        return 1;
    Loger::init(dataDir.filePath(QStringLiteral("logs")), false, true, QStringLiteral("log"));
    QStringList dialogs;
    setDialogRunner([&dialogs](QMessageBox *box) {
        dialogs << box->text();
        return int(QMessageBox::Ok);
    });

    MockService service;
    if (!service.start())
        return 1;
    service.loadDemoData();
    service.setAddresses(QStringLiteral("198.51.100.7"), QStringLiteral("203.0.113.9"));
    if (argc > 3)
        service.setOpenVpnExtraLines(readFile(QString::fromLocal8Bit(argv[3])));
    // The service answers with the tunnel's address while OpenVPN runs, as one seen through
    // a real tunnel does.
    service.setConnectAfterConfig(false);
    QObject::connect(Loger::notifier(), &Loger::lineAdded, [&service](const QString &line) {
        if (line.contains(QLatin1String("Initializing VPN connection")))
            service.setConnected(true);
        else if (line.contains(QLatin1String("openvpn process closed")))
            service.setConnected(false);
    });

    ServiceEndpoints endpoints = ServiceEndpoints::builtIn();
    endpoints.apiBase = endpoints.siteBase = endpoints.emergencyBase = endpoints.ipEchoBase
        = service.baseUrl();
    int failures = 0;
    {
        MainWindow window(dataDir.path(), endpoints, programDir);
        window.show();
        MainWindow *w = &window;
        // The start-up check runs first; credentials typed before it would start a sign-in
        // of its own.
        waitFor([&window]() { return window.isVisible(); }, 5000);
        waitFor([]() { return false; }, 300);
        widget<QLineEdit>(w, "mainLoginLineEdit")->setText(service.login());
        widget<QLineEdit>(w, "mainPswdLineEdit")->setText(service.password());
        widget<QAbstractButton>(w, "mainLoginButton")->click();
        if (!waitFor(
                [w]() {
                    return widget<QStackedWidget>(w, "stackedWidget")->currentIndex()
                        == Page_Subscription
                        && widget(w, "subsNextButton")->isEnabled();
                },
                20000)) {
            std::fprintf(stderr, "no sign-in; dialogs: %s\n%s\n", qPrintable(dialogs.join('|')),
                         readFile(Loger::currentFileName()).right(3000).constData());
            return 1;
        }
        widget<QComboBox>(w, "subsSubComboBox")->setCurrentIndex(0);
        widget<QAbstractButton>(w, "subsNextButton")->click();
        if (!waitFor([w]() { return onConnectionPage(w); }, 20000))
            return 1;
        printFigures("signed in");
        QElapsedTimer clock;
        clock.start();
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            widget<QAbstractButton>(w, "vpnConAutoChoiceButton")->click();
            if (!waitFor([w]() { return verified(w); }, 60000)) {
                std::fprintf(stderr, "cycle %d: not verified; dialogs: %s\n", cycle,
                             qPrintable(dialogs.join('|')));
                if (qEnvironmentVariableIsSet("KESTRUNE_SOAK_VERBOSE"))
                    std::fprintf(stderr, "%s\n",
                                 readFile(Loger::currentFileName()).right(2500).constData());
                ++failures;
            }
            widget<QAbstractButton>(w, "vpnConCancelButton")->click();
            if (!waitFor([w]() { return idle(w); }, 60000)) {
                std::fprintf(stderr, "cycle %d: not idle after the stop\n", cycle);
                return 1;
            }
            if (cycle % 10 == 0)
                printFigures(qPrintable(QStringLiteral("cycle %1").arg(cycle)));
        }
        std::printf("%d cycles in %lld s, %d not verified, dialogs: %s\n", cycles,
                    clock.elapsed() / 1000, failures, qPrintable(dialogs.join('|')));
    }
    setDialogRunner(nullptr);
    Loger::close();
    return failures ? 1 : 0;
}

#include "windowrig.h"

#include "qtwarningguard.h"
#include "ui/pagenavigation.h"
#include "ui/slidingstackedwidget.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

int WindowProbe::page() const
{
    return stack()->currentIndex();
}

int WindowProbe::statusPage() const
{
    return w->findChild<QStackedWidget *>(QStringLiteral("vpnConStatusStackedWidget"))
        ->currentIndex();
}

QStackedWidget *WindowProbe::stack() const
{
    return w->findChild<SlidingStackedWidget *>(QStringLiteral("stackedWidget"));
}

VPNProcess::VPNProcessStatus WindowProbe::status() const
{
    // A window after its quit has no controller: nothing runs.
    return w->vpnProcess ? w->vpnProcess->procStatus.load() : VPNProcess::ProcUnconnected;
}

bool WindowProbe::connected() const
{
    return w->vpnUpdateTimer && w->vpnUpdateTimer->isActive();
}

ShadowsocksProcess::ShadowsocksProcessStatus WindowProbe::ssStatus() const
{
    return w->ssProcess ? w->ssProcess->status.load() : ShadowsocksProcess::Shadowsocks_NotRunning;
}

void WindowProbe::restoreLastServer(bool autoConnect)
{
    w->autoConnectPending = autoConnect;
    w->restoreLastServer(w->currentSubIndex, w->autoConnectPending);
}

WindowRig::WindowRig(Endpoints endpoints, const QString &openVpnVersion)
    : log(data.filePath(QStringLiteral("logs")))
    , m_endpoints(endpoints)
{
    QDir().mkpath(data.filePath(QStringLiteral("temp")));
    if (!openVpnVersion.isEmpty())
        programs.installStandIn(openVpnVersion);
    if (endpoints == ClosedPort)
        return;
    if (!service.start())
        qFatal("the local service did not start");
    service.loadDemoData();
    service.setAddresses(QStringLiteral("198.51.100.7"), QStringLiteral("203.0.113.9"));
    if (endpoints == EmergencyAddress)
        service.setExpectedApiHost(ApiHost);
}

WindowRig::~WindowRig()
{
    close();
    service.stop();
    programs.killAll();
}

ServiceEndpoints WindowRig::endpoints() const
{
    const QString closed = QStringLiteral("http://127.0.0.1:%1").arg(closedPort.port());
    const QString local = m_endpoints == ClosedPort ? closed : service.baseUrl();
    ServiceEndpoints e;
    e.apiBase = m_endpoints == LocalService ? local : closed;
    e.siteBase = e.ipEchoBase = local;
    e.emergencyBase = m_endpoints == EmergencyAddress ? local : closed;
    e.apiHostName = ApiHost;
    return e;
}

MainWindow *WindowRig::open(bool waitShown)
{
    // The offscreen platform cannot raise windows and says so each time the window tries.
    for (int i = 0; i < 4; ++i)
        KestruneTest::expectQtWarning(
            QRegularExpression(QStringLiteral("^This plugin does not support raise\\(\\)$")));
    m_window = std::make_unique<MainWindow>(data.path(), endpoints(), programs.path());
    MainWindow *w = m_window.get();
    if (waitShown && !QTest::qWaitFor([w]() { return w->isVisible(); }, 5000))
        qWarning("the window did not show itself");
    return w;
}

void WindowRig::close()
{
    if (m_window && probe().status() != VPNProcess::ProcUnconnected)
        m_window->stopConnection(true);
    // Replies still queued for the window go before it.
    if (m_window)
        QTest::qWait(0);
    m_window.reset();
}

void WindowRig::click(const char *name)
{
    QTest::mouseClick(widget<QPushButton>(name), Qt::LeftButton);
}

bool WindowRig::slide(const std::function<void()> &action, int page)
{
    QSignalSpy finished(probe().stack(), SIGNAL(animationFinished()));
    action();
    if (!finished.wait(3000) || probe().page() != page) {
        qWarning("no slide to page %d (now on %d)", page, probe().page());
        return false;
    }
    return true;
}

void WindowRig::signIn(const QString &login, const QString &password)
{
    widget<QLineEdit>("mainLoginLineEdit")->setText(login.isNull() ? service.login() : login);
    widget<QLineEdit>("mainPswdLineEdit")->setText(password.isNull() ? service.password()
                                                                     : password);
    widget<QPushButton>("mainLoginButton")->click();
}

bool WindowRig::signInAndChoose()
{
    WindowProbe p = probe();
    signIn();
    if (!QTest::qWaitFor([&p]() { return p.page() == Page_Subscription; }, 10000)
        || !QTest::qWaitFor([this]() { return widget<QPushButton>("subsNextButton")->isEnabled(); },
                            3000))
        return false;
    click("subsNextButton");
    return QTest::qWaitFor([&p]() { return !p.servers().isEmpty() && p.page() == Page_Connection; },
                           10000);
}

bool WindowRig::waitConnected(int timeoutMs)
{
    WindowProbe p = probe();
    if (QTest::qWaitFor([&p]() { return p.connected() && p.statusPage() == 1; }, timeoutMs))
        return true;
    qDebug("not connected; the log ends: %s", qPrintable(log.lines().join('\n').right(3000)));
    return false;
}

bool WindowRig::waitIdle(int timeoutMs)
{
    WindowProbe p = probe();
    return QTest::qWaitFor(
        [&p]() {
            return p.status() == VPNProcess::ProcUnconnected && !p.connected()
                && p.statusPage() == 0;
        },
        timeoutMs);
}

QList<QByteArray> WindowRig::requestPaths() const
{
    QList<QByteArray> paths;
    for (const MockService::Request &request : service.requests())
        paths << request.path;
    return paths;
}

int WindowRig::requestCount(const QByteArray &pathStart) const
{
    int n = 0;
    for (const QByteArray &path : requestPaths())
        n += path.startsWith(pathStart) ? 1 : 0;
    return n;
}

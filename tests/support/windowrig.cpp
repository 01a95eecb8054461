#include "windowrig.h"

#include "qtwarningguard.h"
#include "ui/pagenavigation.h"

#include <algorithm>

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>

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
        KestruneTest::expectQtWarning(QRegularExpression("^This plugin does not support raise"));
    m_window = std::make_unique<MainWindow>(data.path(), endpoints(), programs.path());
    MainWindow *w = m_window.get();
    if (waitShown && !QTest::qWaitFor([w]() { return w->isVisible(); }, 5000))
        qWarning("the window did not show itself");
    return w;
}

void WindowRig::close(bool stopFirst)
{
    if (stopFirst && m_window && probe().state() != ConnectionController::Unconnected)
        m_window->connectionController()->stop(true);
    if (m_window)
        QTest::qWait(0); // replies still queued for the window go first
    m_window.reset();
}

bool WindowRig::slide(const std::function<void()> &action, int page)
{
    QSignalSpy finished(probe().stack(), SIGNAL(animationFinished()));
    action();
    return finished.wait(3000) && probe().page() == page;
}

void WindowRig::signIn(const QString &login, const QString &password)
{
    widget<QLineEdit>("mainLoginLineEdit")->setText(login.isNull() ? service.login() : login);
    widget<QLineEdit>("mainPswdLineEdit")
        ->setText(password.isNull() ? service.password() : password);
    click("mainLoginButton");
}

bool WindowRig::signInAndChoose()
{
    signIn();
    const auto offered = [this]() {
        return probe().page() == Page_Subscription && widget("subsNextButton")->isEnabled();
    };
    if (!QTest::qWaitFor(offered, 10000))
        return false;
    click("subsNextButton");
    return QTest::qWaitFor(
        [this]() { return probe().page() == Page_Connection && !probe().servers().isEmpty(); },
        10000);
}

bool WindowRig::waitConnected(int timeoutMs)
{
    return QTest::qWaitFor([this]() { return probe().connected() && statusPage() == 1; },
                           timeoutMs);
}

bool WindowRig::waitIdle(int timeoutMs)
{
    const auto idle = [this]() {
        return probe().state() == ConnectionController::Unconnected && statusPage() == 0;
    };
    return QTest::qWaitFor(idle, timeoutMs);
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
    const QList<QByteArray> paths = requestPaths();
    return int(std::count_if(paths.begin(), paths.end(),
                             [&](const QByteArray &path) { return path.startsWith(pathStart); }));
}

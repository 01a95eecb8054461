#pragma once

#include "window/mainwindow.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "support/qtwarningguard.h"
#include "ui/messagedialogs.h"
#include "ui/slidingstackedwidget.h"
#include "ui_mainwindow.h"

#include <functional>
#include <memory>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

// Reads and drives the window's private state for the tests.
class MainWindowProbe
{
public:
    explicit MainWindowProbe(MainWindow *w)
        : w(w)
    { }
    MainWindow *w;

    Ui::MainWindow *ui() const { return w->ui; }
    VPNProcess *vpn() const { return w->vpnProcess; }
    QThread *vpnThread() const { return w->vpnThread; }
    QThread *ssThread() const { return w->ssThread; }
    // A window after its quit has no controller: nothing runs.
    VPNProcess::VPNProcessStatus status() const
    {
        return w->vpnProcess ? w->vpnProcess->procStatus.load() : VPNProcess::ProcUnconnected;
    }
    ShadowsocksProcess::ShadowsocksProcessStatus ssStatus() const
    {
        return w->ssProcess ? w->ssProcess->status.load()
                            : ShadowsocksProcess::Shadowsocks_NotRunning;
    }
    bool connected() const { return w->vpnUpdateTimer->isActive(); }
    QTimer *vpnUpdateTimer() const { return w->vpnUpdateTimer; }
    QString originalIp() const { return w->originalIp; }
    QString newIp() const { return w->newIp; }
    int newIpRetries() const { return w->newIpRetries; }
    bool emergencyIsIp() const { return w->emergencyIsIp; }
    QString emergencyAddress() const { return w->emergencyAddress; }
    QString apiBaseUrl() const { return w->apiBaseUrl; }
    QSystemTrayIcon *tray() const { return w->trayIcon; }
    QAction *switchAction() const { return w->switchVPNAction; }
    QAction *showStatAction() const { return w->showStatAction; }
    QVector<Subscription> &subscriptions() const { return w->subscriptions; }
    QVector<VPNServer> &servers() const { return w->servers; }
    int &currentSubIndex() const { return w->currentSubIndex; }
    int &firstServerIndex() const { return w->firstServerIndex; }
    int &secondServerIndex() const { return w->secondServerIndex; }
    QString authToken() const { return w->authToken; }
    int page() const { return w->ui->stackedWidget->currentIndex(); }
    int statusPage() const { return w->ui->vpnConStatusStackedWidget->currentIndex(); }
};

// One client as the user runs it: a program folder whose ovpn/ holds a copy of the OpenVPN
// stand-in, a data folder with temp/ and logs/, the log open there, and a local service.
// Dialogs are recorded with their error codes and answered at once.
class ClientRig
{
public:
    QTemporaryDir dir;
    QString programDir;
    QString dataDir;
    QString openvpnPath;
    MockService service;
    std::unique_ptr<MainWindow> window;
    QStringList dialogTexts;

    ClientRig()
    {
        programDir = dir.filePath(QStringLiteral("program"));
        dataDir = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(programDir + QStringLiteral("/ovpn"));
        QDir().mkpath(dataDir + QStringLiteral("/temp"));
        QDir().mkpath(dataDir + QStringLiteral("/logs"));
        openvpnPath = programDir + QStringLiteral("/ovpn/openvpn");
        Loger::init(dataDir + QStringLiteral("/logs"), false, true, QStringLiteral("log"));
        setDialogRunner([this](QMessageBox *box) {
            dialogTexts << box->text();
            return int(QMessageBox::Ok);
        });
    }

    ~ClientRig()
    {
        if (window) {
            MainWindowProbe probe(window.get());
            if (probe.status() != VPNProcess::ProcUnconnected)
                window->stopConnection(true);
            window.reset();
        }
        setDialogRunner(nullptr);
        tunnelFollower.reset();
        service.stop();
        Loger::close();
    }

    // The stand-in as the program folder's OpenVPN, saying `version` when asked (empty: no
    // program at all).
    bool installOpenVpn(const QString &version)
    {
        if (version.isEmpty())
            return true;
        if (!QFile::copy(QStringLiteral(STANDIN_PATH), openvpnPath))
            return false;
        QFile::setPermissions(openvpnPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile file(programDir + QStringLiteral("/ovpn/standin-version"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(version.toUtf8());
        return true;
    }

    ServiceEndpoints endpoints() const
    {
        ServiceEndpoints e;
        e.apiBase = service.baseUrl();
        e.siteBase = service.baseUrl();
        e.emergencyBase = service.baseUrl();
        e.ipEchoBase = service.baseUrl();
        return e;
    }

    bool startService()
    {
        if (!service.start())
            return false;
        service.loadDemoData();
        service.setAddresses(QStringLiteral("198.51.100.7"), QStringLiteral("203.0.113.9"));
        if (afterStart)
            afterStart();
        return true;
    }

    MainWindow *makeWindow()
    {
        // The offscreen platform cannot raise windows and says so.
        for (int i = 0; i < 8; ++i)
            KestruneTest::expectQtWarning(
                QRegularExpression(QStringLiteral("^This plugin does not support raise\\(\\)$")));
        window = std::make_unique<MainWindow>(dataDir, endpoints(), programDir);
        return window.get();
    }

    // Signs in with the demo account and picks the first active single-server subscription;
    // returns once the server list is in.
    bool signInAndChoose()
    {
        MainWindowProbe p(window.get());
        if (!QTest::qWaitFor([&p]() { return p.w->isVisible(); }, 3000))
            return false;
        p.ui()->mainLoginLineEdit->setText(service.login());
        p.ui()->mainPswdLineEdit->setText(service.password());
        p.ui()->mainLoginButton->click();
        if (!QTest::qWaitFor([&p]() { return p.page() == Page_Subscription; }, 10000))
            return false;
        if (!QTest::qWaitFor([&p]() { return p.ui()->subsNextButton->isEnabled(); }, 3000))
            return false;
        p.ui()->subsSubComboBox->setCurrentIndex(0);
        p.ui()->subsNextButton->click();
        return QTest::qWaitFor(
            [&p]() { return !p.servers().isEmpty() && p.page() == Page_Connection; }, 10000);
    }

    bool waitConnected(int ms = 20000)
    {
        MainWindowProbe p(window.get());
        if (QTest::qWaitFor([&p]() { return p.connected() && p.statusPage() == 1; }, ms))
            return true;
        // Says why, for the failure report.
        qDebug("not connected; dialogs: %s", qPrintable(dialogTexts.join(QLatin1Char('|'))));
        qDebug("%s", qPrintable(logText().right(2500).remove(QLatin1Char('\r'))));
        return false;
    }

    bool waitIdle(int ms = 20000)
    {
        MainWindowProbe p(window.get());
        return QTest::qWaitFor(
            [&p]() {
                return p.status() == VPNProcess::ProcUnconnected && !p.connected()
                    && p.statusPage() == 0;
            },
            ms);
    }

    QString logText() const
    {
        QFile file(Loger::currentFileName());
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

    int requestCount(const QByteArray &path) const
    {
        int n = 0;
        for (const MockService::Request &r : service.requests())
            n += r.path.startsWith(path) ? 1 : 0;
        return n;
    }

    // The service answers with the tunnel's address exactly while OpenVPN has been started
    // and not yet stopped, as a service seen through a real tunnel does.
    void followTunnel()
    {
        tunnelFollower = std::make_unique<QObject>();
        QObject::connect(Loger::notifier(), &Loger::lineAdded, tunnelFollower.get(),
                         [this](const QString &line) {
                             if (line.contains(QStringLiteral("Initializing VPN connection")))
                                 service.setConnected(true);
                             else if (line.contains(QStringLiteral("openvpn process closed")))
                                 service.setConnected(false);
                         });
        afterStart = [this]() { service.setConnectAfterConfig(false); };
    }
    std::unique_ptr<QObject> tunnelFollower;
    std::function<void()> afterStart;

    // Processes whose program is this rig's OpenVPN copy.
    QList<qint64> runningOpenVpn() const
    {
        QList<qint64> result;
        const QString wanted = QFileInfo(openvpnPath).canonicalFilePath();
        const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
        for (const QString &entry : entries) {
            bool ok = false;
            const qint64 pid = entry.toLongLong(&ok);
            if (!ok)
                continue;
            const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
            if (exe.isEmpty() || exe != wanted)
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z "))
                continue;
            result << pid;
        }
        return result;
    }
};

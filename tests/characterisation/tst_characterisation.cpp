// The window's behaviour written down, in English and in Russian: for each road a user takes,
// the pages shown, the requests the service received in order, the dialogs and the log lines,
// compared with the transcripts kept in expected/<road>_<language>.txt. The window is driven
// only as a user drives it (named widgets, settings.ini written before it opens) and the
// service as it answers; a change in what the user sees or the service gets shows as a diff.
//
// To write the transcripts anew: KESTRUNE_TRANSCRIPTS_OUT=<folder> writes what each row saw
// there; read every line before it replaces a file in expected/.

#include "app/startup.h"
#include "core/languagechoice.h"
#include "support/builders.h"
#include "support/testmain.h"
#include "support/transcript.h"
#include "support/windowrig.h"
#include "system/defaultroute.h"
#include "ui/pagenavigation.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTranslator>

namespace {

enum Road { SignIn, Connect, Mirror, Diagnosis, Availability, LogOut };

const char *const PageNames[]
    = {"sign-in",     "authorising",    "subscription", "connection", "servers",
       "information", "double servers", "about",        "settings"};
// The connection page's states; the third one also tells a failure or the diagnosis.
const char *const StatusNames[] = {"idle", "connected", "busy or verdict", "checking servers"};

// Servers of one country for the first subscription: two in a first city, then one more in a
// second city per address.
QJsonArray serverList(const QStringList &addresses)
{
    QJsonArray servers;
    for (int i = 0; i < addresses.size(); ++i) {
        const QJsonObject where {{"countryIso", "NL"},
                                 {"countryNameEn", "Netherlands"},
                                 {"countryNameRu", "Нидерланды"},
                                 {"cityNameEn", i < 2 ? "Amsterdam" : "Rotterdam"},
                                 {"cityNameRu", i < 2 ? "Амстердам" : "Роттердам"}};
        servers << QJsonObject {{"id", 101 + i},
                                {"ip", addresses.at(i)},
                                {"name", QStringLiteral("nl-%1").arg(i + 1)},
                                {"isFree", false},
                                {"geo", QJsonObject {{"def", where}}}};
    }
    return servers;
}

// The diagnosis sees no way out of a network without a default route. A network that holds
// only the loopback is this suite's own (see kestrune_add_test): it gets one through lo.
bool haveDefaultRoute()
{
    if (DefaultRoute::current() != DefaultRoute::State::Missing)
        return true;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    if (interfaces.size() != 1 || !(interfaces.first().flags() & QNetworkInterface::IsLoopBack))
        return false;
    const QString ip = QStandardPaths::findExecutable(QStringLiteral("ip"),
                                                      {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    return !ip.isEmpty() && QProcess::execute(ip, {"route", "add", "default", "dev", "lo"}) == 0;
}

} // namespace

class TestCharacterisation : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowRig> rig;
    // Pages as they changed, and what the connection page showed once a wait ended (the
    // states between are not noted: whether "disconnecting" is drawn depends on timing).
    QStringList shown;
    int logFrom = 0;
    int dialogsFrom = 0;

    void open(int language, const QByteArray &settings)
    {
        QVERIFY(writeFile(rig->settingsFile(),
                          "[General]\nLastLaunchedVersion=1.26.0\nLanguage="
                              + QByteArray::number(language) + '\n' + settings));
        shown.clear();
        logFrom = dialogsFrom = 0;
        rig->open();
        auto *pages = rig->widget<QStackedWidget>("stackedWidget");
        connect(pages, &QStackedWidget::currentChanged, this,
                [this](int i) { shown << QStringLiteral("page ") + PageNames[i]; });
    }
    int page() const { return rig->widget<QStackedWidget>("stackedWidget")->currentIndex(); }
    void noteStatus()
    {
        const bool verdict = rig->widget("vpnConDiagnosisWidget")->isVisible();
        shown << QStringLiteral("status ") + StatusNames[rig->statusPage()]
                + (verdict ? QStringLiteral(", verdict shown") : QString());
    }
    // What came before is the road's preparation, not part of its transcript.
    void startRecording()
    {
        shown.clear();
        logFrom = rig->log.lines().size();
        dialogsFrom = rig->dialogs.size();
        rig->service.clearRequests();
    }

    // The account of the service, its first subscription, the servers of that one.
    void signInAndChoose()
    {
        rig->signIn();
        QTRY_VERIFY_WITH_TIMEOUT(
            page() == Page_Subscription && rig->widget("subsNextButton")->isEnabled(), 10000);
        rig->click("subsNextButton");
        QTRY_VERIFY_WITH_TIMEOUT(
            page() == Page_Connection && rig->widget("vpnConAutoChoiceButton")->isEnabled(), 10000);
        QStringList rows;
        auto *list = rig->widget<QListWidget>("vpnServAllServListWidget");
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
        shown << QStringLiteral("servers ") + rows.join(QStringLiteral(", "));
        noteStatus();
    }
    void connectAuto()
    {
        if (QTest::currentTestFailed())
            return;
        rig->click("vpnConAutoChoiceButton");
        QVERIFY(rig->waitConnected(10000));
        noteStatus();
    }
    void stop()
    {
        if (QTest::currentTestFailed())
            return;
        rig->click("vpnConCancelButton");
        QVERIFY(rig->waitIdle(10000));
        QTRY_VERIFY_WITH_TIMEOUT(rig->programs.running("ovpn/openvpn").isEmpty(), 5000);
        noteStatus();
    }

    Transcript transcript() const
    {
        Transcript t;
        t.name(rig->data.path(), QStringLiteral("<data>"));
        t.name(rig->programs.path(), QStringLiteral("<programs>"));
        t.name(rig->service.baseUrl(), QStringLiteral("<service>"));
        t.name(rig->endpoints().emergencyBase, QStringLiteral("<closed>"));
        t.name(QSysInfo::productType() + ' ' + QSysInfo::productVersion(), QStringLiteral("<os>"));
        t.name(QSysInfo::kernelVersion(), QStringLiteral("<kernel>"));
        t.drop(QRegularExpression(QStringLiteral("^\\[Shadowsocks\\]: \\d{4}-\\d\\d-\\d\\d ")));
        t.section(QStringLiteral("shown"), shown);
        QStringList requests;
        for (const QByteArray &path : rig->requestPaths())
            requests << QString::fromLatin1(path);
        t.section(QStringLiteral("requests"), requests);
        QStringList dialogs;
        for (const DialogRecorder::Dialog &d : rig->dialogs.dialogs().mid(dialogsFrom))
            dialogs << QString::number(d.code) + QStringLiteral(": ") + d.text;
        t.section(QStringLiteral("dialogs"), dialogs);
        // OpenVPN's and the mirror tool's controllers write from threads of their own: their
        // lines keep their own order, not their place among the window's.
        static const QRegularExpression ownThread(QStringLiteral("^\\[(OpenVPN|Shadowsocks)\\]: "));
        QStringList log, controllers;
        for (const QString &line : rig->log.lines().mid(logFrom))
            (ownThread.match(line).hasMatch() ? controllers : log) << line;
        t.section(QStringLiteral("log"), log);
        t.section(QStringLiteral("log of the OpenVPN and mirror tool controllers"), controllers);
        return t;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup()
    {
        if (rig)
            QVERIFY2(rig->service.violations().isEmpty(),
                     qPrintable(rig->service.violations().join(QLatin1Char('\n'))));
        rig.reset();
        qDeleteAll(qApp->findChildren<QTranslator *>()); // uninstalled as they go
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void transcriptIsUnchanged_data()
    {
        QTest::addColumn<int>("road");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("language"); // as settings.ini stores it
        const QList<QPair<Road, const char *>> roads {
            {SignIn, "sign-in"},          {Connect, "connect"},           {Mirror, "mirror"},
            {Diagnosis, "diagnosis-tcp"}, {Availability, "availability"}, {LogOut, "log-out"}};
        for (const auto &road : roads) {
            for (const char *code : {"en", "ru"}) {
                const QString file = QStringLiteral("%1_%2").arg(road.second, code);
                QTest::newRow(qPrintable(file))
                    << int(road.first) << file << (code[0] == 'e' ? 2 : 1);
            }
        }
    }
    void transcriptIsUnchanged()
    {
        QFETCH(int, road);
        QFETCH(QString, file);
        QFETCH(int, language);
        // As the start does for the stored language, before the window is built.
        if (language != 2)
            QVERIFY(installTranslators(qApp, LanguageChoice::codeForValue(language)) > 0);
        rig = std::make_unique<WindowRig>(WindowRig::LocalService);
        ReservedPort mirrorPort;
        ReservedPort vpnPort(ReservedPort::Silent);
        QTcpServer availablePort;
        QObject listening;
        QByteArray settings;
        switch (road) {
        case Mirror:
            QVERIFY(!rig->programs.installSsLocal().isEmpty());
            mirrorPort.release();
            rig->service.setMirrorConfig({{"server", "127.0.0.1"},
                                          {"server_port", int(rig->closedPort.port())},
                                          {"local_address", "127.0.0.1"},
                                          {"local_port", int(mirrorPort.port())},
                                          {"password", "demo-mirror"},
                                          {"method", "aes-256-gcm"},
                                          {"timeout", 60}});
            settings = "ServerMirrorConfig=true\n";
            break;
        case Diagnosis:
            // OpenVPN over UDP never gets an answer; the server takes TCP.
            QVERIFY(haveDefaultRoute());
            QVERIFY(writeFile(rig->programs.path() + "/ovpn/standin-script",
                              "#standin hold-connecting\n"));
            rig->service.setOpenVpnRemote(QStringLiteral("127.0.0.1"), vpnPort.port());
            settings = "UDP=true\nDiagnosisSeconds=1\n";
            // The service sees the tunnel while OpenVPN runs, as through a real one.
            rig->service.setConnectAfterConfig(false);
            connect(
                Loger::notifier(), &Loger::lineAdded, &listening,
                [this](const QString &line) {
                    const auto is = [&line](const char *text) {
                        return line.endsWith(QCoreApplication::translate("MainWindow", text));
                    };
                    if (is("Initializing VPN connection"))
                        rig->service.setConnected(true);
                    else if (is("openvpn process closed"))
                        rig->service.setConnected(false);
                },
                Qt::DirectConnection);
            break;
        case Availability:
            // The check knocks at port 444: 127.0.0.1 answers there, 127.0.0.2 refuses.
            QVERIFY(availablePort.listen(QHostAddress::LocalHost, 444));
            rig->service.setServers(
                11, serverList({"127.0.0.1", "127.0.0.2", "127.0.0.1", "127.0.0.2"}));
            settings = "CheckAvailableServers=true\n";
            break;
        default:
            break;
        }
        // One server: the automatic choice has no other to take.
        if (road != SignIn && road != Availability)
            rig->service.setServers(11, serverList({"127.0.0.1"}));
        open(language, settings);
        if (road != SignIn && road != Availability) {
            signInAndChoose();
            startRecording();
        }
        if (QTest::currentTestFailed())
            return;

        switch (road) {
        case SignIn:
        case Availability:
            signInAndChoose();
            break;
        case Connect:
            connectAuto();
            stop();
            break;
        case Mirror:
            connectAuto();
            stop();
            QTRY_VERIFY_WITH_TIMEOUT(
                rig->programs.running(QStringLiteral("shadowsocks/ss-local")).isEmpty(), 5000);
            break;
        case Diagnosis: {
            rig->click("vpnConAutoChoiceButton");
            auto *road = rig->widget<QPushButton>("vpnConDiagnosisButton");
            QTRY_VERIFY_WITH_TIMEOUT(road->isVisible(), 10000);
            noteStatus();
            shown << "verdict " + rig->widget<QLabel>("vpnConDiagnosisLabel")->text() + " | "
                    + road->text();
            QVERIFY(QFile::remove(rig->programs.path() + "/ovpn/standin-script"));
            road->click();
            QVERIFY(rig->waitConnected(10000));
            noteStatus();
            stop();
            break;
        }
        case LogOut:
            connectAuto();
            QVERIFY(rig->slide([this]() { rig->click("vpnConSettingButton"); }, Page_Settings));
            rig->dialogs.expect(1, QMessageBox::Yes);
            rig->click("settingLogoutButton");
            QTRY_COMPARE_WITH_TIMEOUT(page(), int(Page_SignIn), 5000);
            break;
        }
        const QStringList actual = transcript().lines();
        const QString out = qEnvironmentVariable("KESTRUNE_TRANSCRIPTS_OUT");
        if (!out.isEmpty())
            QVERIFY(Transcript::write(out + '/' + file + ".txt", actual));
        if (QTest::currentTestFailed())
            return;
        const QStringList expected
            = Transcript::read(QStringLiteral(KESTRUNE_TRANSCRIPTS_DIR "/") + file + ".txt");
        for (int i = 0; i < qMax(actual.size(), expected.size()); ++i) {
            const QString end = QStringLiteral("<end of transcript>");
            QVERIFY2(actual.value(i, end) == expected.value(i, end),
                     qPrintable(QStringLiteral("line %1 of %2.txt\n   actual: %3\n expected: %4")
                                    .arg(i + 1)
                                    .arg(file, actual.value(i, end), expected.value(i, end))));
        }
    }
};

KESTRUNE_TEST_MAIN(TestCharacterisation)
#include "tst_characterisation.moc"

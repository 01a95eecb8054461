// Connections that do not come up, on a real network made by diagnosis_netns.sh: Debian's
// OpenVPN on UDP and TCP in the far namespace, ss-server beside it, the blocking done with nft
// in this (the client's) namespace. Each row checks the verdict, the time from the connect
// action, and that the road offered, taken, reaches a verified connection.

#include "engine/diagnosisverdict.h"
#include "support/builders.h"
#include "support/testmain.h"
#include "support/windowrig.h"
#include "ui/pagenavigation.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>

Q_DECLARE_METATYPE(DiagnosisVerdict::Kind)

namespace {

const QString Far = QStringLiteral("10.78.0.1");

bool run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

// The client's namespace as the row wants it: a table of drop rules, and the default route.
bool shapeNetwork(const QString &drops, bool defaultRoute)
{
    run("nft", {"delete", "table", "inet", "kdiag"});
    if (!drops.isEmpty()
        && !run("nft",
                {"add table inet kdiag; add chain inet kdiag out { type filter hook output "
                 "priority 0; }; add rule inet kdiag out "
                 + drops}))
        return false;
    run("ip", {"route", "del", "default"});
    return !defaultRoute || run("ip", {"route", "add", "default", "via", "10.77.0.1"});
}

QByteArray inline_(const char *tag, const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly)
        ? "<" + QByteArray(tag) + ">\n" + f.readAll() + "</" + QByteArray(tag) + ">\n"
        : QByteArray();
}

int freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0;
}

QString tail(const QStringList &lines)
{
    return lines.mid(qMax(0, lines.size() - 12)).join(QLatin1Char('|'));
}

} // namespace

class TestDiagnosisRoads : public QObject
{
    Q_OBJECT
    QString m_pki = qEnvironmentVariable("KESTRUNE_DIAGNOSIS_PKI");

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        if (m_pki.isEmpty())
            QSKIP("runs inside the namespaces of diagnosis_netns.sh");
    }
    void cleanup()
    {
        shapeNetwork(QString(), true);
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void verdictAndRoad_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("drops");
        QTest::addColumn<bool>("defaultRoute");
        QTest::addColumn<bool>("apiGarbage");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<int>("limit"); // seconds before the diagnosis
        QTest::addColumn<DiagnosisVerdict::Kind>("verdict");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("mirrorPassword");
        QTest::newRow("UDP 1194 dropped")
            << true << 1194 << "ip daddr " + Far + " udp dport 1194 drop" << true << false << false
            << 20 << DiagnosisVerdict::UdpBlocked << Far << "diagnosis-pass";
        QTest::newRow("UDP 1194 dropped, switched by itself")
            << true << 1194 << "ip daddr " + Far + " udp dport 1194 drop" << true << false << true
            << 8 << DiagnosisVerdict::UdpBlocked << Far << "diagnosis-pass";
        QTest::newRow("everything to the server dropped, mirror reachable")
            << false << 1194 << "ip daddr " + Far + " drop" << true << false << false << 8
            << DiagnosisVerdict::VpnBlocked << Far << "diagnosis-pass";
        QTest::newRow("no listener on the server")
            << false << 1195 << QString() << true << false << false << 8
            << DiagnosisVerdict::ServerDown << Far << "diagnosis-pass";
        QTest::newRow("no default route")
            << true << 1194 << QString() << false << false << false << 8
            << DiagnosisVerdict::NoNetwork << Far << "diagnosis-pass";
        QTest::newRow("API answers garbage on both addresses")
            << true << 1194 << QString() << true << true << false << 8
            << DiagnosisVerdict::ServiceBlocked << Far << "diagnosis-pass";
        QTest::newRow("server name that does not resolve")
            << true << 1194 << QString() << true << false << false << 8
            << DiagnosisVerdict::ServerDown << "no-such-server.invalid"
            << "diagnosis-pass";
        QTest::newRow("mirror configuration with a wrong password")
            << false << 1194 << "ip daddr " + Far + " drop" << true << false << false << 8
            << DiagnosisVerdict::ServerDown << Far << "wrong-pass";
    }
    void verdictAndRoad()
    {
        QFETCH(bool, udp);
        QFETCH(int, port);
        QFETCH(QString, drops);
        QFETCH(bool, defaultRoute);
        QFETCH(bool, apiGarbage);
        QFETCH(bool, automatic);
        QFETCH(int, limit);
        QFETCH(DiagnosisVerdict::Kind, verdict);
        QFETCH(QString, remote);
        QFETCH(QString, mirrorPassword);

        WindowRig rig(WindowRig::LocalService);
        QVERIFY(!rig.programs.installSsLocal().isEmpty());
        QVERIFY(writeFile(rig.settingsFile(),
                          QStringLiteral("[General]\nLastLaunchedVersion=1.26.0\nUDP=%1\n"
                                         "DiagnosisSeconds=%2\nSwitchRoadAutomatically=%3\n")
                              .arg(udp)
                              .arg(limit)
                              .arg(automatic)
                              .toUtf8()));
        rig.service.setOpenVpnRemote(remote, quint16(port));
        rig.service.setOpenVpnExtraLines(inline_("ca", m_pki + "/cert.pem")
                                         + inline_("cert", m_pki + "/cert.pem")
                                         + inline_("key", m_pki + "/key.pem") + "verb 3\n");
        rig.service.setMirrorConfig({{"server", "10.79.0.1"},
                                     {"server_port", 8388},
                                     {"password", mirrorPassword},
                                     {"method", "chacha20-ietf-poly1305"},
                                     {"local_address", "127.0.0.1"},
                                     {"local_port", freePort()}});
        rig.open();
        QVERIFY(rig.signInAndChoose());
        // The window accepted the stand-in's version; the connection runs Debian's OpenVPN.
        QVERIFY(!rig.programs.installOpenVpn().isEmpty());
        WindowProbe p = rig.probe();
        for (VPNServer &server : p.servers())
            server.ip = Far;
        if (apiGarbage) {
            rig.service.setFault("/v1/api/info", MockService::Fault::InvalidJson);
            rig.dialogs.expect();
        }
        QVERIFY(shapeNetwork(drops, defaultRoute));
        // The service sees the tunnel once OpenVPN reports it up, not after any configuration.
        rig.service.setConnectAfterConfig(false);
        connect(p.connection(), &ConnectionController::stateChanged,
                [&rig](ConnectionController::State s) {
                    rig.service.setConnected(s == ConnectionController::TunnelUp
                                             || s == ConnectionController::Verified);
                });

        auto *label = rig.widget<QLabel>("vpnConDiagnosisLabel");
        auto *button = rig.widget<QPushButton>("vpnConDiagnosisButton");
        const QString sentence = DiagnosisVerdict::text(verdict);
        QElapsedTimer clock;
        clock.start();
        rig.click("vpnConAutoChoiceButton");
        QTRY_VERIFY2_WITH_TIMEOUT(label->text().startsWith(sentence),
                                  qPrintable(tail(rig.log.lines())), 30000);
        const qint64 took = clock.elapsed();
        qInfo("%s: \"%s\" after %.1f s", QTest::currentDataTag(), qPrintable(sentence),
              double(took) / 1000.0);
        QVERIFY(took < 30000);
        QVERIFY(rig.log.contains("Diagnosis: " + DiagnosisVerdict::englishText(verdict)));
        QVERIFY(rig.widget("vpnConDiagnosisWidget")->isVisible());
        // Pictures of the verdicts, when a folder is named for them (docs/screenshots).
        const QString shots = qEnvironmentVariable("KESTRUNE_SHOTS_DIR");
        if (!shots.isEmpty() && !automatic)
            rig.window()->grab().save(
                QStringLiteral("%1/diagnosis-%2.png").arg(shots).arg(int(verdict)));
        const DiagnosisVerdict::Road road = DiagnosisVerdict::roadOf(verdict);
        if (!automatic) {
            QCOMPARE(button->isVisible(), road != DiagnosisVerdict::NoRoad);
            QCOMPARE(button->accessibleName(), DiagnosisVerdict::roadText(road));
        }
        if (road == DiagnosisVerdict::ChooseServer) {
            button->click();
            QTRY_COMPARE(p.page(), int(Page_Servers));
        } else if (road != DiagnosisVerdict::NoRoad) {
            if (automatic)
                QTRY_VERIFY(rig.log.contains("Diagnosis: switched by itself to TCP"));
            else
                button->click();
            QVERIFY2(rig.waitConnected(30000), qPrintable(tail(rig.log.lines())));
            qInfo("%s: verified connection %.1f s after the connect action",
                  QTest::currentDataTag(), double(clock.elapsed()) / 1000.0);
            QVERIFY(rig.widget<QAbstractButton>("settingProtTCPRButton")->isChecked());
            QCOMPARE(p.settings()->serverMirrorConfig(), road == DiagnosisVerdict::UseMirror);
        }
    }
};

KESTRUNE_TEST_MAIN(TestDiagnosisRoads)
#include "tst_diagnosisroads.moc"

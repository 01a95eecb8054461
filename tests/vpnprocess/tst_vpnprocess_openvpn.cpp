#include "core/loger.h"
#include "support/testmain.h"
#include "vpnprocessfixture.h"

#include <memory>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUdpSocket>

namespace {

const QString kOpenVpn = QStringLiteral("/usr/sbin/openvpn");

quint16 freeUdpPort()
{
    QUdpSocket probe;
    if (!probe.bind(QHostAddress(QHostAddress::LocalHost), 0))
        return 0;
    return probe.localPort();
}

} // namespace

// The controller against Debian's OpenVPN, run from a copy in the fixture's program folder
// with "dev null", so no tunnel device is needed; the far end, when there is one, is a
// second OpenVPN on the loopback address.
class TestVpnProcessOpenVpn : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_pki;

    QByteArray peerConfig(const QString &role, quint16 port) const
    {
        QByteArray config("dev null\nproto udp\nverb 3\n");
        config += "ca " + m_pki.toUtf8() + "/cert.pem\ncert " + m_pki.toUtf8() + "/cert.pem\nkey "
            + m_pki.toUtf8() + "/key.pem\n";
        if (role == QLatin1String("server"))
            config += "tls-server\ndh none\nbind\nlocal 127.0.0.1\nlport "
                + QByteArray::number(port) + "\n";
        else
            config += "tls-client\nnobind\nremote 127.0.0.1 " + QByteArray::number(port) + "\n";
        return config;
    }

    std::unique_ptr<VpnProcessFixture> clientTo(quint16 port)
    {
        auto f = std::make_unique<VpnProcessFixture>(kOpenVpn);
        if (!f->isValid())
            return nullptr;
        f->writeConfig(peerConfig(QStringLiteral("client"), port));
        f->startThread();
        return f;
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        if (!QFile::exists(kOpenVpn))
            QSKIP("needs /usr/sbin/openvpn (Debian package openvpn)");
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (openssl.isEmpty())
            QSKIP("needs the openssl program to make a test certificate");
        QVERIFY(m_dir.isValid());
        m_pki = m_dir.path();
        Loger::init(m_dir.path(), false, false, QStringLiteral("kestrunevpn"));
        QProcess req;
        req.start(openssl,
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", m_pki + "/key.pem", "-out", m_pki + "/cert.pem", "-days",
                   "2", "-subj", "/CN=kestrune-test"});
        QVERIFY(req.waitForFinished(30000));
        QCOMPARE(req.exitCode(), 0);
    }

    void cleanupTestCase() { Loger::close(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void versionOfDebianOpenVpnIsRead()
    {
        VpnProcessFixture f(kOpenVpn);
        QVERIFY(f.isValid());
        VPNProcess proc(f.appDir);
        const QString version = proc.version();
        QProcess direct;
        direct.start(kOpenVpn, {"--version"});
        QVERIFY(direct.waitForFinished(30000));
        const QString banner = QString::fromUtf8(direct.readAllStandardOutput());
        const QRegularExpressionMatch m
            = QRegularExpression("^OpenVPN (\\d+\\.\\d+\\.\\d+)").match(banner);
        QVERIFY2(m.hasMatch(), qPrintable(banner.left(80)));
        // A two-digit part is cut to its first digit ("2.6.14" reads as "2.6.1").
        QCOMPARE(version, m.captured(1).left(5));
    }

    void openVpnWithoutPeerStaysConnectingAndStops()
    {
        const quint16 unused = freeUdpPort();
        QVERIFY(unused != 0);
        auto f = clientTo(unused);
        QVERIFY(f);
        f->requestStart();
        // Only a client that gave the right password may switch on the state notifications.
        QTRY_VERIFY_WITH_TIMEOUT(f->openvpnLog().contains("MANAGEMENT: CMD 'state on all'"), 15000);
        QVERIFY(!f->openvpnLog().contains("group or others accessible"));
        QCOMPARE(f->states.first(), VPNProcess::ProcConnecting);
        QVERIFY(!f->states.contains(VPNProcess::ProcConnected));

        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
        QVERIFY(f->openvpnLog().contains("SIGTERM[hard,] received"));
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);
    }

    void openVpnReachesLoopbackPeerAndCountsBytes()
    {
        const quint16 port = freeUdpPort();
        QVERIFY(port != 0);
        const QString serverConfig = m_dir.path() + "/server.ovpn";
        {
            QFile file(serverConfig);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(peerConfig(QStringLiteral("server"), port));
        }
        QProcess server;
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(kOpenVpn, {"--config", serverConfig});
        QVERIFY(server.waitForStarted(10000));

        auto f = clientTo(port);
        QVERIFY(f);
        f->requestStart();
        QTRY_VERIFY_WITH_TIMEOUT(f->states.contains(VPNProcess::ProcConnected), 30000);
        QCOMPARE(f->states.first(), VPNProcess::ProcConnecting);
        QTRY_VERIFY_WITH_TIMEOUT(!f->counts.isEmpty(), 5000);
        QVERIFY(f->counts.first().first >= 0 && f->counts.first().second > 0);
        QVERIFY(f->openvpnLog().contains("MANAGEMENT: CMD 'bytecount 1'"));

        f->requestStop();
        QTRY_COMPARE_WITH_TIMEOUT(f->states.last(), VPNProcess::ProcUnconnected, 15000);
        QVERIFY(f->openvpnLog().contains("SIGTERM[hard,] received"));
        QTRY_VERIFY_WITH_TIMEOUT(f->runningCopies().isEmpty(), 5000);

        server.terminate();
        QVERIFY(server.waitForFinished(10000));
    }
};

KESTRUNE_TEST_MAIN(TestVpnProcessOpenVpn)
#include "tst_vpnprocess_openvpn.moc"

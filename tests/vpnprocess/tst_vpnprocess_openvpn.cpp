#include "support/reservedport.h"
#include "support/testmain.h"
#include "tunnel.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

// The controller against Debian's OpenVPN, a copy in the suite's program folder run with
// "dev null", so no tunnel device is needed; the far end, when there is one, is a second
// OpenVPN on the loopback address.
class TestVpnProcessOpenVpn : public QObject
{
    Q_OBJECT

    ProgramFolder m_folder;

    QByteArray config(const QByteArray &role, quint16 port) const
    {
        const QByteArray pki = m_folder.path().toUtf8();
        return "dev null\nverb 3\nca " + pki + "/cert.pem\ncert " + pki + "/cert.pem\nkey " + pki
            + "/key.pem\n"
            + (role == "server" ? "tls-server\ndh none\nproto tcp-server\nlocal 127.0.0.1\nlport "
                                : "tls-client\nproto tcp-client\nremote 127.0.0.1 ")
            + QByteArray::number(port) + "\n";
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (m_folder.installOpenVpn().isEmpty() || openssl.isEmpty())
            QSKIP("needs Debian's openvpn and the openssl program");
        QProcess req;
        req.start(openssl,
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", m_folder.path() + "/key.pem", "-out",
                   m_folder.path() + "/cert.pem", "-days", "2", "-subj", "/CN=kestrune-test"});
        QVERIFY(req.waitForFinished(30000));
        QCOMPARE(req.exitCode(), 0);
    }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void versionOfDebianOpenVpnIsRead()
    {
        QProcess direct;
        direct.start(m_folder.path() + "/ovpn/openvpn", {"--version"});
        QVERIFY(direct.waitForFinished(30000));
        const QRegularExpressionMatch banner = QRegularExpression("^OpenVPN (\\d+\\.\\d+\\.\\d+)")
                                                   .match(direct.readAllStandardOutput());
        QVERIFY(banner.hasMatch());
        // A two-digit part is cut to its first digit ("2.6.14" reads as "2.6.1").
        QCOMPARE(VPNProcess(m_folder.path()).version(), banner.captured(1).left(5));
    }

    // Without a peer OpenVPN keeps connecting; once the peer, a second OpenVPN (from a copy
    // of its own, which ending the client's OpenVPN must not touch), listens, it connects.
    void openVpnConnectsToALoopbackPeerAndCountsBytes()
    {
        ReservedPort reserved;
        Tunnel t(m_folder, config("client", reserved.port()));
        t.start();
        // Only a client that gave the right password may switch on the state notifications.
        QTRY_VERIFY_WITH_TIMEOUT(t.openVpnLog().contains("MANAGEMENT: CMD 'state on all'"), 15000);
        QVERIFY(!t.openVpnLog().contains("group or others accessible"));
        QCOMPARE(t.states, QList<VPNProcess::VPNProcessStatus> {VPNProcess::ProcConnecting});

        writeFile(m_folder.path() + "/server.ovpn", config("server", reserved.port()));
        reserved.release();
        QProcess server;
        server.start(m_folder.installCopy(m_folder.path() + "/ovpn/openvpn", "peer/openvpn"),
                     {"--config", m_folder.path() + "/server.ovpn"});
        QTRY_VERIFY_WITH_TIMEOUT(t.states.contains(VPNProcess::ProcConnected), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!t.counts.isEmpty(), 5000);
        QVERIFY(t.counts.first().first >= 0 && t.counts.first().second > 0);
        t.stop();
        QTRY_VERIFY_WITH_TIMEOUT(t.endsIn(VPNProcess::ProcUnconnected), 15000);
        QVERIFY(t.openVpnLog().contains("MANAGEMENT: CMD 'signal SIGTERM'"));
        QTRY_VERIFY_WITH_TIMEOUT(m_folder.running("ovpn/openvpn").isEmpty(), 5000);
        QCOMPARE(server.state(), QProcess::Running);
        server.terminate();
        QVERIFY(server.waitForFinished(10000));
    }
};

KESTRUNE_TEST_MAIN(TestVpnProcessOpenVpn)
#include "tst_vpnprocess_openvpn.moc"

// The configuration OpenVPN is handed is text this program wrote from the options of the
// table: whatever the service or a caller sends, in whatever spelling OpenVPN would read.

#include "engine/configpatches.h"
#include "engine/openvpnconfigreader.h"
#include "engine/openvpnconfigwriter.h"
#include "engine/openvpnoptiontable.h"
#include "support/testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

using namespace OpenVpnConfigText;

namespace {

const QByteArray Body = "client\nremote 198.51.100.7 1194\nverb 3\n";
const QByteArray Mark = "\xEF\xBB\xBF";

// The spellings in which OpenVPN reads the option %N with the argument /home/u/x.
const char *const Spellings[] = {"%N /home/u/x\n",
                                 "--%N /home/u/x\n",
                                 "\"%N\" /home/u/x\n",
                                 "'%N'/home/u/x\n",
                                 "setenv opt %N /home/u/x\n",
                                 "\\ %N /home/u/x\n",
                                 "\xEF\xBB\xBF%N /home/u/x\n",
                                 "\t%N /home/u/x\n",
                                 "%N /home/u/x\r\n",
                                 "<%N>\n/home/u/x\n</%N>\n"};

} // namespace

class TestOpenVpnConfigText : public QObject
{
    Q_OBJECT

    void addRefusedRows(const QList<QByteArray> &lines)
    {
        for (const QByteArray &line : lines)
            QTest::newRow(line.left(60)) << line;
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void smugglingLineIsDroppedAndRefused_data()
    {
        QTest::addColumn<QByteArray>("line");
        addRefusedRows(
            {"setenv opt script-security 2\nsetenv opt up /home/u/evil.sh\n",
             "\\ script-security 2\n\\ up /home/u/evil.sh\n", Mark + "up /home/u/evil.sh\n",
             "show-pkcs11-ids /home/u/evil.so\n", "memstats /etc/some.conf\n",
             "port-share 127.0.0.1 443 /home/u\n", "dev-node /dev/net/tun\n", "dev /dev/net/tun\n",
             "http-proxy 127.0.0.1 18080 /root/secret basic\n",
             "socks-proxy 127.0.0.1 18081 /etc/shadow\n", "setenv FORWARD_COMPATIBLE 1\n",
             "setenv opt setenv opt up /x\n", "<connection>\nup /x\n</connection>\n",
             "<connection>\n<ca>\nx\n</ca>\n</connection>\n", "<ca>\n-----BEGIN-----\n<x>\n</ca>\n",
             "<ca>\nup /x\n"});
        for (const char *name :
             {"auth-user-pass", "ca", "cert", "key", "secret", "tls-auth", "pkcs12"})
            addRefusedRows({"\"" + QByteArray(name) + "\"/root/secret\n"});
    }
    void smugglingLineIsDroppedAndRefused()
    {
        QFETCH(QByteArray, line);

        for (LongLines longLines : {LongLines::Split, LongLines::Refuse}) {
            const Result dropped = rewrite(line + Body, Unknown::Drop, longLines);
            QVERIFY(dropped.ok && !dropped.removed.isEmpty());
            QCOMPARE(dropped.text, Body);
            const Result refused = rewrite(line + Body, Unknown::Refuse, longLines);
            QVERIFY(!refused.ok && refused.text.isEmpty());
            QVERIFY2(refused.reason.startsWith("line "), qPrintable(refused.reason));
        }
    }

    void optionOutsideTheTableIsRefusedInEverySpelling_data()
    {
        QTest::addColumn<QByteArray>("config");
        QProcess help;
        help.start(QStringLiteral("openvpn"), {QStringLiteral("--help")});
        if (!help.waitForFinished(10000) && qEnvironmentVariableIsEmpty("CI"))
            QSKIP("OpenVPN is not installed");
        const QByteArray text = help.readAllStandardOutput();
        QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("^--([a-z0-9-]+)"),
                                                                QRegularExpression::MultilineOption)
                                                 .globalMatch(QString::fromLatin1(text));
        int names = 0;
        while (it.hasNext()) {
            const QByteArray name = it.next().captured(1).toLatin1();
            if (OpenVpnOptionTable::find(name))
                continue;
            ++names;
            for (const char *spelling : Spellings)
                QTest::addRow("%s %s", name.constData(), spelling)
                    << QByteArray(spelling).replace("%N", name) + Body;
        }
        QVERIFY2(names > 100, text.left(200).constData());
    }
    void optionOutsideTheTableIsRefusedInEverySpelling()
    {
        QFETCH(QByteArray, config);

        QVERIFY(!rewrite(config, Unknown::Refuse, LongLines::Refuse).ok);
        QCOMPARE(rewrite(config, Unknown::Drop, LongLines::Split).text, Body);
    }

    void providerConfigurationKeepsEveryOption_data()
    {
        QTest::addColumn<QByteArray>("config");
        const QDir dir(QStringLiteral(KESTRUNE_CLIENT_CONFIGS));
        for (const QString &name : dir.entryList({QStringLiteral("*.ovpn")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << file.readAll();
        }
    }
    void providerConfigurationKeepsEveryOption()
    {
        QFETCH(QByteArray, config);

        const QByteArray patched
            = patchMirror(patchDevice(config), QString(), {"203.0.113.5", 443, "127.0.0.1", 1});
        const OpenVpnConfigReader::Result read
            = OpenVpnConfigReader::read(patched, LongLines::Refuse);
        const Result result = rewrite(patched, Unknown::Refuse, LongLines::Refuse);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.options, read.items);
        QCOMPARE(OpenVpnConfigReader::read(result.text, LongLines::Refuse).items, read.items);
        QVERIFY(result.text.startsWith("# Kestrune VPN (desktop): mirror config\n"));
    }

    void writtenTextIsFreshAndReadsBackTheSame()
    {
        const QByteArray config = Mark
            + "# from the service\r\n--client\r\n ; x\n  proto udp # y\n"
              "'remote' \"vpn.example\" 1194\nsetenv opt block-outside-dns\n"
              "verify-x509-name 'CN=a b' name\n"
              "# Kestrune VPN (desktop): static device name\ndev ksvpn_tun\n"
              "<connection>\n remote 198.51.100.1 443 tcp-client\n</connection>\n"
              "<tls-crypt>\r\n-----BEGIN OpenVPN Static key V1-----\r\n0a1b\r\n"
              "  </tls-crypt> ignored\nroute-ipv6 2001:db8::/32\n";
        const Result result = rewrite(config, Unknown::Refuse, LongLines::Refuse);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(result.text,
                 "client\nproto udp\nremote vpn.example 1194\nsetenv opt block-outside-dns\n"
                 "verify-x509-name \"CN=a b\" name\n\n"
                 "# Kestrune VPN (desktop): static device name\ndev ksvpn_tun\n<connection>\n"
                 "remote 198.51.100.1 443 tcp-client\n</connection>\n<tls-crypt>\n"
                 "-----BEGIN OpenVPN Static key V1-----\n0a1b\n</tls-crypt>\n"
                 "route-ipv6 2001:db8::/32\n");
        QCOMPARE(remoteHosts(result.options), QStringList({"vpn.example", "198.51.100.1"}));
        for (const QByteArray word : {"a b", "#x", ";", "a\"b\\c", "'", ""}) {
            QByteArray problem;
            QCOMPARE(OpenVpnConfigReader::words(OpenVpnConfigWriter::quoted(word), &problem),
                     QList<QByteArray>({word}));
        }
    }

    void longLineIsCutOrRefusedAsOpenVpnDoes()
    {
        // 2.3 and 2.4 read the text behind the first 255 bytes as a line of its own.
        const QByteArray line = "# " + QByteArray(253, '.') + "route-delay 2\n";
        const Result cut = rewrite(line, Unknown::Refuse, LongLines::Split);
        QCOMPARE(cut.text, QByteArray("route-delay 2\n"));
        const Result refused = rewrite(line, Unknown::Drop, LongLines::Refuse);
        QCOMPARE(refused.reason, QStringLiteral("line 1 is longer than 255 bytes"));
    }

    // A static-key configuration brings the tunnel's own addresses; only addresses pass.
    void pointToPointAddressesAreKept_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("kept");
        QTest::newRow("IPv4, IPv6, topology, gateway")
            << QByteArray("ifconfig 10.8.0.2 10.8.0.1\nifconfig-ipv6 fd00:8::2/64 fd00:8::1\n"
                          "topology p2p\nroute-gateway 10.8.0.1\n")
            << true;
        QTest::newRow("gateway from DHCP") << QByteArray("route-gateway dhcp\n") << true;
        QTest::newRow("a host name for an address")
            << QByteArray("ifconfig tun.example 10.8.0.1\n") << false;
        QTest::newRow("an address with a leading zero")
            << QByteArray("ifconfig 10.8.0.02 10.8.0.1\n") << false;
        QTest::newRow("IPv4 where IPv6 belongs")
            << QByteArray("ifconfig-ipv6 fd00:8::2/64 10.8.0.1\n") << false;
        QTest::newRow("a path for a gateway") << QByteArray("route-gateway /etc/x\n") << false;
        // An IPv6 address may carry an interface (a scope) after '%': nothing the service
        // needs, and the characters after it are the service's to choose.
        QTest::newRow("a scope on the tunnel's IPv6 address")
            << QByteArray("ifconfig-ipv6 fd00:8::2%$(id)/64 fd00:8::1\n") << false;
        QTest::newRow("a scope on a pushed IPv6 route")
            << QByteArray("route-ipv6 fe80::1%eth0/64\n") << false;
    }
    void pointToPointAddressesAreKept()
    {
        QFETCH(QByteArray, lines);
        const Result result = rewrite(Body + lines, Unknown::Refuse, LongLines::Refuse);
        QTEST(result.ok, "kept");
        QVERIFY(!result.ok || result.text == Body + lines);
    }

    void badInputGivesAReasonQuickly_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("dropKeepsTheRest");
        const QByteArray lines = QByteArray("route 10.0.0.0 255.0.0.0\nup /x\n").repeated(50000);
        QTest::newRow("10 MB line")
            << QByteArray(10 << 20, 'u') + "\n" + Body << "line 1 is longer than 255 bytes" << true;
        QTest::newRow("100,000 lines") << lines + Body
                                       << "line 2: \"up\" is not an option this "
                                          "program allows"
                                       << true;
        QTest::newRow("CR-only line ends") << QByteArray(lines).replace('\n', '\r') + "\n" + Body
                                           << "line 1 is longer than 255 bytes" << true;
        QTest::newRow("zero byte") << QByteArray("verb 3\nroute 10.0.0.0\0 up /x\n", 29) + Body
                                   << "line 2: a zero byte" << true;
        QTest::newRow("blocks that never close")
            << QByteArray("<ca>\n<connection>\n").repeated(50000) + Body
            << "line 1: a block that is never closed" << true;
        QByteArray names; // each new name is a pass over the whole text
        for (int i = 0; i < 80000; ++i)
            names += "<t" + QByteArray::number(i) + ">\n";
        QTest::newRow("blocks of many names")
            << names + Body << "blocks of more than 64 different names" << false;
        // OpenVPN: "Residual parse state", the file refused; not "compress" without its word.
        QTest::newRow("a backslash at the very end, no line end after it")
            << Body + "compress lz4\\"
            << "line 4: a backslash at the very end, which OpenVPN refuses" << false;
    }
    void badInputGivesAReasonQuickly()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, refusal);
        QFETCH(bool, dropKeepsTheRest);

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(rewrite(config, Unknown::Refuse, LongLines::Refuse).reason, refusal);
        const Result dropped = rewrite(config, Unknown::Drop, LongLines::Split);
        qDebug("%lld ms for twice %d bytes", timer.elapsed(), int(config.size()));
        QCOMPARE(dropped.ok, dropKeepsTheRest);
        QVERIFY(dropped.ok ? dropped.text.endsWith(Body) : dropped.reason == refusal);
        QVERIFY(!dropped.text.contains("up") && !dropped.text.contains("<ca>"));
    }
};

KESTRUNE_TEST_MAIN(TestOpenVpnConfigText)
#include "tst_openvpnconfigtext.moc"

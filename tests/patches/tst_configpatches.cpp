// The downloaded OpenVPN configuration on its way to OpenVPN: the client's patches, and the
// filter that removes what the service may not send, judged on the bytes OpenVPN reads.

#include "core/loger.h"
#include "engine/configpatches.h"
#include "engine/directivefilter.h"
#include "support/testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(MirrorEndpoint)

namespace {

using Words = QList<QByteArray>;
const QByteArray Head = "client\nremote 198.51.100.7 1194\n";
const QByteArray Tail = "verb 3\n";
const QByteArray DeviceBlock = "\n# Kestrune VPN (desktop): static device name\ndev ksvpn_tun\n";
const QByteArray UnsafeNames
    = "script-security up down route-up route-pre-down ipchange client-connect client-disconnect "
      "client-crresponse learn-address auth-user-pass-verify tls-verify tls-crypt-v2-verify "
      "dns-updown win-sys iproute plugin engine providers pkcs11-providers config management "
      "management-hold management-query-passwords management-client-auth "
      "management-external-key management-up-down log log-append status writepid "
      "tls-export-cert replay-persist ifconfig-pool-persist tmp-dir cd chroot askpass daemon "
      "syslog service ignore-unknown-option genkey";

QByteArray joined(const Words &words, const QByteArray &first)
{
    QByteArray line = first;
    for (const QByteArray &w : words.mid(1))
        line += " " + w;
    return line;
}

QByteArray mirrorBlock(const QByteArray &local, int port, const QByteArray &server)
{
    return "\n# Kestrune VPN (desktop): mirror config\nsocks-proxy-retry\nsocks-proxy " + local
        + " " + QByteArray::number(port) + "\nroute " + server + " 255.255.255.255 net_gateway\n";
}

MirrorEndpoint endpoint(const QString &server, int serverPort, const QString &local, int localPort)
{
    return MirrorEndpoint {server, serverPort, local, localPort};
}

} // namespace

class TestConfigPatches : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_log;

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        Loger::init(m_dir.path(), false, false, QStringLiteral("app_log"));
        connect(Loger::notifier(), &Loger::lineAdded, this,
                [this](const QString &line) { m_log.append(line); });
    }
    void cleanup()
    {
        m_log.clear();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void unsafeDirectiveIsRemovedInEveryDisguise_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("reported");

        QList<Words> lines;
        for (const QByteArray &name : UnsafeNames.split(' '))
            lines.append({name, "/tmp/payload.sh", "arg"});
        // Forms that send a file's content to the peer or to a proxy the service names.
        lines.append(Words {"auth-user-pass", "/etc/shadow"});
        lines.append({"http-proxy", "proxy.example.net", "8080", "/root/creds", "basic"});
        lines.append(Words {"http-proxy-user-pass", "/root/creds"});
        lines.append({"socks-proxy", "proxy.example.net", "1080", "/root/creds"});
        lines.append({"setenv", "FORWARD_COMPATIBLE", "1"});
        const QByteArray padding = "# " + QByteArray(253, 'x');
        const QByteArray connection = "<connection>\nremote 198.51.100.8 443 tcp-client\n";
        for (const Words &w : qAsConst(lines)) {
            const QByteArray name = w.first(), line = joined(w, name);
            const QString reported = name == "setenv" ? "setenv FORWARD_COMPATIBLE" : name;
            const QList<QPair<const char *, QByteArray>> disguises {
                {"plain", line},
                {"leading blanks", " \t  " + line},
                {"double dash", joined(w, "--" + name)},
                {"quoted names", joined(w, "'" + name + "'") + "\n" + joined(w, '"' + name + '"')},
                {"upper case", joined(w, name.toUpper())},
                {"trailing comment", line + " # harmless"},
                {"CR LF", line + "\r"},
                {"setenv opt", "  setenv 'opt' " + joined(w, "--" + name) + "\r"},
                {"behind 255 bytes of one line", padding + line},
                {"inside a connection block", connection + line + "\n</connection>"},
                {"inline block", "<" + name + ">\n/bin/sh -c 'id > /tmp/owned'\n</" + name + ">"},
            };
            for (const auto &d : disguises) {
                const bool inline_ = QByteArray(d.first) == "inline block";
                if (inline_ && (w.size() < 3 || name == "setenv" || name.contains("proxy")))
                    continue; // these blocks hold credentials, not commands
                const QByteArray kept = QByteArray(d.first).startsWith("inside")
                    ? connection + "</connection>\n"
                    : QByteArray();
                QTest::addRow("%s %s", d.first, qPrintable(reported))
                    << Head + d.second + "\n" + Tail << Head + kept + Tail << reported;
            }
            QTest::addRow("byte-order mark %s", qPrintable(reported))
                << "\xEF\xBB\xBF" + line + "\n" + Tail << Tail << reported;
        }
    }
    void unsafeDirectiveIsRemovedInEveryDisguise()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, expected);
        QFETCH(QString, reported);

        QStringList removed;
        QCOMPARE(DirectiveFilter::apply(config, &removed), expected);
        QVERIFY(!removed.isEmpty());
        QCOMPARE(QSet<QString>(removed.begin(), removed.end()), QSet<QString> {reported});
        QVERIFY(!m_log.join('\n').contains(QStringLiteral("payload")));
    }

    void harmlessLineIsKeptByteForByte_data()
    {
        QTest::addColumn<QByteArray>("config");
        for (const char *line :
             {"# up /etc/openvpn/update-resolv-conf",
              "; plugin /usr/lib/openvpn/plugin.so",
              "route 10.0.0.0 255.0.0.0 # up /tmp/x",
              "up-delay",
              "down-pre",
              "route-noexec",
              "status-version 2",
              "setenv FOO up",
              "setenv opt block-outside-dns",
              "setenv-safe FORWARD_COMPATIBLE 1",
              "pull-filter ignore \"up\"",
              "remote up.example.net 1194",
              "auth-user-pass",
              "http-proxy proxy.example.net 8080",
              "http-proxy proxy.example.net 8080 auto",
              "http-proxy p 8080 auto-nct ntlm",
              "socks-proxy 127.0.0.1 1080",
              "<auth-user-pass>\nuser\npass\n</auth-user-pass>",
              "<ca>\nup /tmp/x\nplugin /tmp/y.so\n</ca>",
              "<tls-crypt>\n  'log' /tmp/z\n</tls-crypt>",
              "<connection>\nremote a 1\n</connection>\n<cert>\nstatus /tmp/s\n</cert>",
              "\r\n  \t\r\n",
              "verb 4"})
            QTest::newRow(line) << Head + line + (QByteArray(line) == "verb 4" ? "" : "\n");
        const QDir dir(QStringLiteral(KESTRUNE_CLIENT_CONFIGS));
        for (const QString &name : dir.entryList({QStringLiteral("*.ovpn")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << file.readAll();
        }
    }
    void harmlessLineIsKeptByteForByte()
    {
        QFETCH(QByteArray, config);

        QCOMPARE(DirectiveFilter::apply(config), config);
        const MirrorEndpoint mirror = endpoint("203.0.113.5", 443, "127.0.0.1", 1080);
        const QByteArray completed = patchMirror(patchDevice(config), QString(), mirror);
        QCOMPARE(removeUnsafeLines(completed), completed);
        QCOMPARE(m_log, QStringList());
    }

    void blockStructureCannotHideDirective_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QStringList>("reported");

        const auto row = [](const char *name, const QByteArray &config, const QByteArray &kept,
                            const QStringList &reported) {
            QTest::newRow(name) << config << kept << reported;
        };
        row("unknown block is read as directives", "<x-custom>\nup /tmp/a\n</x-custom>\n",
            "<x-custom>\n</x-custom>\n", {"up"});
        for (const QByteArray closing : {"  </ca>", "</CA>", "</ca> trailing"})
            row(closing, "<ca>\nAAAA\n" + closing + "\nup /tmp/a\n",
                "<ca>\nAAAA\n" + closing + "\n", {"up"});
        row("directive after a connection block",
            "<connection>\nremote a 1\n</connection>\nplugin /p.so\n",
            "<connection>\nremote a 1\n</connection>\n", {"plugin"});
        row("end of connection ends an open block inside it",
            "<connection>\n<http-proxy-user-pass>\nu\n</connection>\nup /tmp/a\n",
            "<connection>\n<http-proxy-user-pass>\nu\n</connection>\n", {"up"});
        row("unclosed unsafe block ends with its connection",
            "<connection>\n<up>\nrm -rf /\n</connection>\nverb 3\n",
            "<connection>\n</connection>\nverb 3\n", {"up"});
        row("closing tag behind 255 bytes of one line",
            "<ca>\n" + QByteArray(255, 'A') + "</ca>\nup /tmp/a\n",
            "<ca>\n" + QByteArray(255, 'A') + "</ca>\n", {"up"});
        // Once the first line is gone, the "up" that seemed to be key content is a directive.
        row("removed line that opened a block",
            "up /tmp/a" + QByteArray(246, ' ') + "<ca>\nup /tmp/b\n</ca>\n", "</ca>\n",
            {"up", "up"});
        row("directive after a zero byte", QByteArray("verb 3\0up /x\nnobind\n", 20), "nobind\n",
            {});
        row("zero byte after a block opener", QByteArray("<ca>\0\nup /x\n</ca>\n", 18), "</ca>\n",
            {"up"});
        row("zero byte inside a key block", QByteArray("<ca>\nA\0A\n</ca>\n", 15), "<ca>\n</ca>\n",
            {});
    }
    void blockStructureCannotHideDirective()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, expected);
        QFETCH(QStringList, reported);

        QStringList removed;
        QCOMPARE(DirectiveFilter::apply(config, &removed), expected);
        QCOMPARE(removed, reported);
    }

    // The device patch makes every "dev " five bytes longer, which moves the places where
    // OpenVPN cuts a long line: a comment can be built so that only the patched text has a
    // piece beginning with a directive.
    void directiveShiftedIntoAPieceByThePatchIsRemoved_data()
    {
        QTest::addColumn<QByteArray>("hidden");
        QTest::newRow("up") << QByteArray("up /tmp/payload.sh");
        QTest::newRow("script-security") << QByteArray("script-security 2");
        QTest::newRow("plugin") << QByteArray("plugin /tmp/payload.so");
    }
    void directiveShiftedIntoAPieceByThePatchIsRemoved()
    {
        QFETCH(QByteArray, hidden);

        const int devs = 10;
        const QByteArray comment = "# " + QByteArray("dev ").repeated(devs);
        const QByteArray line = comment + QByteArray(255 - comment.size() - 5 * devs, 'x') + hidden;
        QCOMPARE(DirectiveFilter::apply(line + "\n"), line + "\n"); // harmless as downloaded
        const QByteArray patched = patchDevice(Head + line + "\n" + Tail);
        QCOMPARE(patched.mid(Head.size() + 255, hidden.size()), hidden);

        QCOMPARE(removeUnsafeLines(patched), patchDevice(Head + Tail));
    }

    void unsafeBlockCannotSwallowTheDeviceLines()
    {
        QCOMPARE(removeUnsafeLines(patchDevice(Head + "<up>\n/bin/sh\n")), QByteArray());
        QVERIFY(m_log.last().endsWith(QStringLiteral("could not be made safe and was discarded")));
    }

    void hostileConfigurationIsHandledQuickly_data()
    {
        QTest::addColumn<QByteArray>("config");
        const QByteArray lines = QByteArray("route 10.0.0.0 255.0.0.0\nup /x\n").repeated(50000);
        QTest::newRow("10 MB line") << "# " + QByteArray(10 << 20, 'u') + "p /x\n";
        QTest::newRow("100,000 lines") << lines;
        QTest::newRow("CR-only line ends") << QByteArray(lines).replace('\n', '\r');
        QTest::newRow("zero bytes") << QByteArray(lines).replace("/x", QByteArray("\0\n", 2));
        QTest::newRow("open blocks") << QByteArray("<ca>\n<connection>\n").repeated(50000);
    }
    void hostileConfigurationIsHandledQuickly()
    {
        QFETCH(QByteArray, config);

        QElapsedTimer timer;
        timer.start();
        const QByteArray out = removeUnsafeLines(patchDevice(config));
        qDebug("%lld ms for %d bytes", timer.elapsed(), int(config.size()));
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(DirectiveFilter::apply(out), out);
        QVERIFY(!out.contains('\0') && !out.contains("\nup "));
    }

    void deviceLinesBecomeDeviceTypeAndAdapterIsNamed_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("dev line and dev in a comment")
            << QByteArray("# dev tun is pushed\ndev tun\n")
            << QByteArray("# dev-type tun is pushed\ndev-type tun\n");
        QTest::newRow("no dev line") << Head << Head;
        QTest::newRow("dev at the end of a longer word")
            << QByteArray("--dev tap\n") << QByteArray("--dev-type tap\n");
        QTest::newRow("text after a zero byte is dropped")
            << QByteArray("dev tun\n\0dev tap\n", 17) << QByteArray("dev-type tun\n");
        QTest::newRow("Latin-1 bytes stay") << QByteArray("# caf\xe9\r\ndev tun\r\n")
                                            << QByteArray("# caf\xe9\r\ndev-type tun\r\n");
    }
    void deviceLinesBecomeDeviceTypeAndAdapterIsNamed()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, expected);
        QCOMPARE(patchDevice(config), expected + DeviceBlock);
    }

    void mirrorBlockComesFirst_data()
    {
        QTest::addColumn<MirrorEndpoint>("given");
        QTest::addColumn<QByteArray>("ssConfig");
        QTest::addColumn<QByteArray>("expectedBlock");

        const QByteArray file = R"({"server":"203.0.113.9","server_port":8388,)"
                                R"("local_address":"127.0.0.1","local_port":1081})";
        QTest::newRow("complete endpoint is used as given")
            << endpoint("203.0.113.5", 443, "127.0.0.1", 0) << file
            << mirrorBlock("127.0.0.1", 0, "203.0.113.5");
        QTest::newRow("incomplete endpoint is read from the file")
            << endpoint("203.0.113.5", 443, "127.0.0.1", -1) << file
            << mirrorBlock("127.0.0.1", 1081, "203.0.113.9");
        QTest::newRow("incomplete endpoint and file give nothing")
            << MirrorEndpoint() << QByteArray(R"({"server":"203.0.113.9"})") << QByteArray();
        QTest::newRow("address with a final line break is not used")
            << endpoint("203.0.113.5\n", 443, "127.0.0.1", 1080) << QByteArray("[]")
            << QByteArray();
        QTest::newRow("address with blanks is not used")
            << endpoint("a b", 443, "127.0.0.1", 1080) << QByteArray("x") << QByteArray();
    }
    void mirrorBlockComesFirst()
    {
        QFETCH(MirrorEndpoint, given);
        QFETCH(QByteArray, ssConfig);
        QFETCH(QByteArray, expectedBlock);

        QFile file(m_dir.filePath(QStringLiteral("ss_config.json")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ssConfig) == ssConfig.size());
        file.close();
        const QByteArray config = patchDevice(Head);
        const QByteArray patched = patchMirror(config, file.fileName(), given);
        QCOMPARE(patched, expectedBlock.isEmpty() ? QByteArray() : expectedBlock + config);
        QCOMPARE(removeUnsafeLines(patched), patched);
    }
};

KESTRUNE_TEST_MAIN(TestConfigPatches)
#include "tst_configpatches.moc"

// What the service sends on its way to the elevated programs: the OpenVPN configuration with
// the client's patches and the filter, judged on the bytes OpenVPN reads; the mirror tool's
// configuration, rebuilt from the members the client knows; files only their owner can read.

#include "engine/configpatches.h"
#include "engine/directivefilter.h"
#include "engine/mirrorconfig.h"
#include "support/logrecorder.h"
#include "support/testmain.h"
#include "system/platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

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
// %N the option name, %U in capitals, %A its arguments, %P padding to 255 bytes. The inline
// block comes last.
const char *const Disguises[]
    = {"%N%A",     " \t  %N%A # harmless",    "--%N%A\r",         "'%N'%A\n\"%N\"%A",
       "%U%A",     "  setenv 'opt' --%N%A\r", "\xEF\xBB\xBF%N%A",

       "# %P%N%A", "<%N>\n/bin/sh %A\n</%N>"};

// '@' stands for a zero byte.
QByteArray bytes(const char *text)
{
    return QByteArray(text).replace('@', '\0');
}

const QByteArray Known = "{\"server\":\"203.0.113.9\",\"server_port\":8388,\"local_address\":"
                         "\"127.0.0.1\",\"local_port\":1080,\"password\":\"p\\\"w\\nd\",\"method\":"
                         "\"chacha20-ietf-poly1305\",\"timeout\":60}";

} // namespace

class TestConfigPatches : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LogRecorder m_log {m_dir.path()};

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void unsafeLineIsRemovedWhereverItHides_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("reported");

        // Besides the names: forms that send a file's content to a peer or proxy the service
        // names.
        QByteArray lines = UnsafeNames + " ";
        lines.replace(' ', " /tmp/payload.sh arg|");
        lines += "auth-user-pass /etc/shadow|http-proxy-user-pass /root/creds|"
                 "http-proxy proxy.example 8080 /root/creds basic|socks-proxy p 1080 /root/creds|"
                 "setenv FORWARD_COMPATIBLE 1";
        for (const QByteArray &line : lines.split('|')) {
            const QByteArray name = line.left(line.indexOf(' ')), args = line.mid(name.size());
            for (int i = 0; i < int(std::size(Disguises)); ++i) {
                if (i == int(std::size(Disguises)) - 1 && !args.endsWith(" arg"))
                    continue; // these inline blocks hold credentials, not commands
                QByteArray d = Disguises[i];
                d.replace("%P", QByteArray(253, '.')).replace("%N", name).replace("%A", args);
                QTest::addRow("%s %d", line.constData(), i)
                    << Head + d.replace("%U", name.toUpper()) + "\n" + Tail << Head + Tail
                    << (name == "setenv" ? "setenv FORWARD_COMPATIBLE" : QString(name));
            }
        }
        // tag|config|what is kept|what is reported; '~' stands for 50 blanks.
        const char *const rows[] = {
            "unknown block|<x>\nup /a\n</x>\n|<x>\n</x>\n|up",
            "closing tag with blanks and text|<ca>\n </CA> t\nup /a\n|<ca>\n </CA> t\n|up",
            "end of connection|<connection>\n<ca>\n</connection>\nup /a\n|<connection>\n<ca>\n"
            "</connection>\n|up",
            "unsafe block in a connection|<connection>\n<up>\n</connection>\n|<connection>\n"
            "</connection>\n|up",
            "directive after a zero byte|verb 3@up /x\nnobind\n|nobind\n|",
            "zero byte after a block opener|<ca>@\nup /x\n</ca>\n|</ca>\n|up",
            "escaped line end after a name (found by fuzzing)|up\\\nx\n|x\n|up",
            // Found by fuzzing: OpenVPN skips the mark on the first line only.
            "marked block tag after the first line|x\n\xEF\xBB\xBF<ca>\nup "
            "/x\n|x\n\xEF\xBB\xBF<ca>\n|up",
            "closing tag behind 255 bytes|<ca>\n~~~~~     </ca>\nup /a\n|<ca>\n~~~~~     "
            "</ca>\n|up",
            // Once the first line is gone, the "up" that seemed to be key content is a directive.
            "removed line that opened a block|up /a~~~~~<ca>\nup /b\n</ca>\n|</ca>\n|up"};
        for (const char *row : rows) {
            const QList<QByteArray> r = bytes(row).replace('~', QByteArray(50, ' ')).split('|');
            QTest::newRow(r[0]) << r[1] << r[2] << QString(r[3]);
        }
    }
    void unsafeLineIsRemovedWhereverItHides()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, expected);
        QFETCH(QString, reported);

        QStringList removed;
        QCOMPARE(DirectiveFilter::apply(config, &removed), expected);
        QCOMPARE(removed.value(0), reported);
        QVERIFY(!m_log.lines().join('\n').contains(QStringLiteral("payload")));
    }

    void harmlessLineIsKeptByteForByte_data()
    {
        QTest::addColumn<QByteArray>("config");
        const QByteArray harmless
            = "# up /x|; plugin /x.so|route 10.0.0.0 255.0.0.0 # up /x|up-delay|route-noexec|"
              "status-version 2|setenv FOO up|setenv opt block-outside-dns|pull-filter ignore up|"
              "setenv-safe FORWARD_COMPATIBLE 1|remote up.example 1|auth-user-pass|socks-proxy p 1|"
              "http-proxy p 8080|http-proxy p 8080 auto|http-proxy p 8080 auto-nct ntlm|\r\n \t\r|"
              "<auth-user-pass>\nuser\npass\n</auth-user-pass>|<ca>\nup /x\n</ca>|"
              "<connection>\nremote a 1\n</connection>\n<tls-crypt>\n  'log' /z\n</tls-crypt>";
        for (const QByteArray &line : harmless.split('|'))
            QTest::newRow(line) << Head + line + "\n" + Tail;
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
        const MirrorEndpoint mirror {"203.0.113.5", 443, "127.0.0.1", 1080};
        const QByteArray completed = patchMirror(patchDevice(config), QString(), mirror);
        QCOMPARE(removeUnsafeLines(completed), completed);
    }

    // The device patch makes every "dev " five bytes longer, which moves the places where
    // OpenVPN cuts a long line into 255-byte pieces: a comment can be built so that only the
    // patched text has a piece that begins with a directive.
    void directiveShiftedIntoAPieceByThePatchIsRemoved()
    {
        for (const QByteArray hidden : {"up /tmp/payload.sh", "script-security 2"}) {
            const QByteArray comment = "# " + QByteArray("dev ").repeated(10);
            const QByteArray line = comment + QByteArray(255 - comment.size() - 50, 'x') + hidden;
            QCOMPARE(DirectiveFilter::apply(line), line); // harmless as downloaded
            const QByteArray patched = patchDevice(Head + line + "\n" + Tail);
            QCOMPARE(patched.mid(Head.size() + 255, hidden.size()), hidden);
            QCOMPARE(removeUnsafeLines(patched), patchDevice(Head + Tail));
        }
    }

    void hostileConfigurationIsHandledQuickly_data()
    {
        QTest::addColumn<QByteArray>("config");
        const QByteArray lines = QByteArray("route 10.0.0.0 255.0.0.0\nup /x\n").repeated(50000);
        QTest::newRow("10 MB line") << "# " + QByteArray(10 << 20, 'u') + "p /x\n";
        QTest::newRow("100,000 lines") << lines;
        QTest::newRow("CR-only line ends") << QByteArray(lines).replace('\n', '\r');
        QTest::newRow("zero bytes") << "verb 3\n" + QByteArray(lines).replace('\n', '\0');
        QTest::newRow("open blocks") << QByteArray("<ca>\n<connection>\n").repeated(50000);
        QTest::newRow("unsafe block swallowing the device lines") << Head + "<up>\n/bin/sh\n";
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
        QVERIFY(out.endsWith(DeviceBlock)
                || (out.isEmpty() && m_log.lines().last().endsWith("discarded")));
    }

    void deviceLinesBecomeDeviceTypeAndAdapterIsNamed()
    {
        QCOMPARE(patchDevice(bytes("# dev tun\xe9\r\ndev tun\r\n@dev tap\n")),
                 "# dev-type tun\xe9\r\ndev-type tun\r\n" + DeviceBlock);
    }

    void mirrorBlockComesFirst()
    {
        const QString none = m_dir.filePath(QStringLiteral("none.json"));
        const QByteArray config = patchDevice("\xEF\xBB\xBF" + Head);
        QCOMPARE(patchMirror(config, none, {"203.0.113.5", 443, "127.0.0.1", 0}),
                 "\n# Kestrune VPN (desktop): mirror config\nsocks-proxy-retry\nsocks-proxy "
                 "127.0.0.1 0\nroute 203.0.113.5 255.255.255.255 net_gateway\n"
                     + config.mid(3));
        // An address that would end its line is not used, and there is no file to read.
        QCOMPARE(patchMirror(config, none, {"203.0.113.5\n", 443, "127.0.0.1", 1}), QByteArray());
    }

    void replyIsRebuiltFromKnownMembers_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QString>("unusable"); // "-": usable, "": not a JSON object

        // tag|member|dropped members|unusable member. Usable rows put their member in front of
        // the known ones, the others behind them: of duplicate members the last one counts.
        const char *const rows[] = {
            "known members|||-",
            "non-loopback local address|\"local_address\":\"0.0.0.0\"||-",
            "plugin, acl, a name with a line break|\"plugin\":\"/bin/sh\",\"plugin_opts\":\"-c\","
            "\"acl\":\"/x\",\"a\\nb\":1|a?b acl plugin plugin_opts|-",
            "duplicate members|\"server\":\"198.51.100.1\"||-",
            "server with a line break|\"server\":\"203.0.113.9\\n\"||server",
            "server with a quote|\"server\":\"a\\\"b\"||server",
            "port as text|\"server_port\":\"8388\"||server_port",
            "port 0|\"local_port\":0||local_port",
            "port 65536|\"server_port\":65536||server_port",
            "method without authentication|\"method\":\"aes-256-cfb\"||method",
            "timeout as text|\"timeout\":\"60\"||timeout"};
        for (const char *row : rows) {
            const QList<QByteArray> r = QByteArray(row).split('|');
            const QByteArray member = r[1].isEmpty() ? r[1] : r[1] + ",";
            QTest::newRow(r[0]) << (r[3] == "-" ? "{" + member + Known.mid(1)
                                                : Known.chopped(1) + "," + member.chopped(1) + "}")
                                << QString(r[2]) << QString(r[3]);
        }
        QByteArray many = "{";
        for (int i = 0; i < 10000; ++i)
            many += "\"x" + QByteArray::number(i) + "\":0,";
        QTest::newRow("10,000 members") << many + Known.mid(1) << QString("10000") << QString("-");
        QTest::newRow("10 MB member")
            << "{\"x\":\"" + QByteArray(10 << 20, 'x') + "\"," + Known.mid(1) << QString("x")
            << QString("-");
        QTest::newRow("not a JSON object") << QByteArray("[1]") << QString() << QString();
    }
    void replyIsRebuiltFromKnownMembers()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, dropped);
        QFETCH(QString, unusable);

        const MirrorConfig rebuilt = rebuildMirrorConfig(reply);
        QCOMPARE(rebuilt.dropped.size() > 20 ? QString::number(rebuilt.dropped.size())
                                             : rebuilt.dropped.join(' '),
                 dropped);
        QCOMPARE(rebuilt.unusable, unusable == "-" ? QString() : unusable);
        QCOMPARE(rebuilt.text.isEmpty(), unusable != "-");
        if (unusable == "-")
            QCOMPARE(QJsonDocument::fromJson(rebuilt.text).object(),
                     QJsonDocument::fromJson(Known).object());
    }

    void filesForElevatedProgramsAreOwnerOnly()
    {
        const QString folder = m_dir.filePath(QStringLiteral("temp"));
        QVERIFY(QDir().mkpath(folder)
                && QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
        QVERIFY(Platform::instance().makeOwnerOnlyFolder(folder));
        QCOMPARE(QFile::permissions(folder) & 0x777, 0x700); // the user's own bits only
        // A world-readable file and a link to a file elsewhere lie where the files go.
        QFile other(m_dir.filePath(QStringLiteral("other")));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("kept") == 4);
        other.close();
        const QString readable = folder + "/readable", link = folder + "/link";
        QVERIFY(other.copy(readable)
                && QFile::setPermissions(readable, QFileDevice::Permissions(0x6644)));
        QVERIFY(other.link(link));
        for (const QString &path : {readable, link, folder + "/new"}) {
            QFile file(path);
            QVERIFY(Platform::instance().createOwnerOnly(file));
            QCOMPARE(QFile::permissions(path) & 0x777, 0x600);
            QCOMPARE(file.write("secret"), 6);
        }
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), QByteArray("kept"));
    }
};

KESTRUNE_TEST_MAIN(TestConfigPatches)
#include "tst_configpatches.moc"

// What the service sends on its way to the elevated programs: the OpenVPN configuration with
// the client's patches, written anew from the options OpenVPN reads in it; the mirror tool's
// configuration, rebuilt from the members the client knows; files only their owner can read.

#include "engine/configpatches.h"
#include "engine/mirrorconfig.h"
#include "support/logrecorder.h"
#include "support/testmain.h"
#include "system/platform.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QByteArray Head = "client\nremote 198.51.100.7 1194\n";
const QByteArray Tail = "verb 3\n";
const QByteArray DeviceBlock = "\n# Kestrune VPN (desktop): static device name\ndev ksvpn_tun\n";
// '@' stands for a zero byte.
QByteArray bytes(const char *text)
{
    return QByteArray(text).replace('@', '\0');
}

const QByteArray Known = "{\"server\":\"203.0.113.9\",\"server_port\":8388,\"local_address\":"
                         "\"127.0.0.1\",\"local_port\":1080,\"password\":\"p\\\"w\\nd\",\"method\":"
                         "\"chacha20-ietf-poly1305\",\"timeout\":60}";

} // namespace

using namespace OpenVpnConfigText;

class TestConfigPatches : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LogRecorder m_log {m_dir.path()};

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void droppedOptionIsLoggedByName_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("openVpn26");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("kept");

        const QByteArray padded = "#" + QByteArray(300, ' ') + "\n";
        QTest::newRow("option outside the table")
            << QByteArray("up /tmp/payload.sh\n") << false
            << "[9]: removed directive \"up\" from the downloaded configuration" << true;
        QTest::newRow("name cut short to name characters")
            << "setenv opt \"" + QByteArray(100, 'x') + "/tmp/payload.sh\"\n"
            << false
            << "[9]: removed directive \"" + QString(40, 'x')
                + "\" from the downloaded configuration"
            << true;
        QTest::newRow("long line for 2.4") << padded << false << QString() << true;
        QTest::newRow("long line for 2.6")
            << padded << true
            << "[9]: the downloaded configuration could not be made safe and was discarded"
            << false;
    }
    void droppedOptionIsLoggedByName()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, openVpn26);
        QFETCH(QString, logged);
        QFETCH(bool, kept);

        const int before = m_log.lines().size();
        const QByteArray out = removeUnsafeLines(patchDevice(Head + config + Tail),
                                                 openVpn26 ? LongLines::Refuse : LongLines::Split);
        QCOMPARE(out, kept ? Head + Tail + DeviceBlock : QByteArray());
        const QStringList lines = m_log.lines().mid(before);
        QCOMPARE(lines.value(lines.size() - 1), logged);
        QVERIFY(!lines.join('\n').contains(QStringLiteral("payload")));
    }

    // The device patch makes every "dev " five bytes longer, which moves the places where
    // OpenVPN cuts a long line into 255-byte pieces: a comment can be built so that only the
    // patched text has a piece that begins with an option.
    void optionShiftedIntoAPieceByThePatchIsRemoved()
    {
        const QByteArray comment = "# " + QByteArray("dev ").repeated(10);
        const QByteArray line = comment + QByteArray(255 - comment.size() - 50, 'x') + "up /x";
        QCOMPARE(rewrite(line, Unknown::Refuse, LongLines::Split).text, QByteArray());
        const QByteArray patched = patchDevice(Head + line + "\n" + Tail);
        QCOMPARE(patched.mid(Head.size() + 255, 5), QByteArray("up /x"));
        QCOMPARE(removeUnsafeLines(patched, LongLines::Split), Head + Tail + DeviceBlock);
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
        // Nor one that would make a line longer than OpenVPN reads.
        QCOMPARE(patchMirror(config, none, {"203.0.113.5", 443, QString(250, 'a'), 1}),
                 QByteArray());
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

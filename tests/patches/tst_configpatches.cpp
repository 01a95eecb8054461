#include "engine/configpatches.h"
#include "support/testmain.h"

#include <QTemporaryDir>

Q_DECLARE_METATYPE(MirrorEndpoint)

namespace {

const QByteArray DeviceBlock = "\n# Kestrune VPN (desktop): static device name\ndev ksvpn_tun\n";

QByteArray mirrorBlock(const QByteArray &local, int port, const QByteArray &server)
{
    return "\n# Kestrune VPN (desktop): mirror config\nsocks-proxy-retry\nsocks-proxy " + local
        + " " + QByteArray::number(port) + "\nroute " + server + " 255.255.255.255 net_gateway\n";
}

MirrorEndpoint endpoint(const QString &server, int serverPort, const QString &local, int localPort)
{
    MirrorEndpoint e;
    e.serverAddress = server;
    e.serverPort = serverPort;
    e.localAddress = local;
    e.localPort = localPort;
    return e;
}

} // namespace

class TestConfigPatches : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void deviceLinesBecomeDeviceTypeAndAdapterIsNamed_data();
    void deviceLinesBecomeDeviceTypeAndAdapterIsNamed();
    void mirrorBlockComesFirst_data();
    void mirrorBlockComesFirst();
    void mirrorBlockFirstAndDeviceBlockLastTogether();
    void dnsPatchLeavesConfigurationAlone();
    void mirrorConfigurationIsRead_data();
    void mirrorConfigurationIsRead();
    void missingMirrorConfigurationGivesDefaults();

private:
    QString writeFile(const QString &name, const QByteArray &content);
    QTemporaryDir m_dir;
};

void TestConfigPatches::initTestCase()
{
    KestruneTest::guardQtWarnings();
    QVERIFY(m_dir.isValid());
}

void TestConfigPatches::cleanup()
{
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

QString TestConfigPatches::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        return QString();
    return path;
}

void TestConfigPatches::deviceLinesBecomeDeviceTypeAndAdapterIsNamed_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("dev line and dev in a comment")
        << QByteArray("client\n# dev tun is what the server pushes\ndev tun\nnobind\n")
        << "client\n# dev-type tun is what the server pushes\ndev-type tun\nnobind\n" + DeviceBlock;
    QTest::newRow("no dev line") << QByteArray("client\nremote 198.51.100.7 1194\n")
                                 << "client\nremote 198.51.100.7 1194\n" + DeviceBlock;
    QTest::newRow("tap device") << QByteArray("dev tap\n") << "dev-type tap\n" + DeviceBlock;
    QTest::newRow("dev at the end of a longer word")
        << QByteArray("--dev tun\n") << "--dev-type tun\n" + DeviceBlock;
    QTest::newRow("dev-type line stays")
        << QByteArray("dev-type tun\n") << "dev-type tun\n" + DeviceBlock;
    QTest::newRow("empty configuration") << QByteArray() << DeviceBlock;
    QTest::newRow("text after a zero byte is dropped")
        << QByteArray("dev tun\n\0dev tap\n", 17) << "dev-type tun\n" + DeviceBlock;
    QTest::newRow("Latin-1 bytes stay") << QByteArray("# caf\xe9 \xff\r\ndev tun\r\n")
                                        << "# caf\xe9 \xff\r\ndev-type tun\r\n" + DeviceBlock;
}

void TestConfigPatches::deviceLinesBecomeDeviceTypeAndAdapterIsNamed()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, expected);

    QCOMPARE(patchDevice(config), expected);
}

void TestConfigPatches::mirrorBlockComesFirst_data()
{
    QTest::addColumn<MirrorEndpoint>("given");
    QTest::addColumn<QByteArray>("ssConfig");
    QTest::addColumn<QByteArray>("expectedBlock");

    const QByteArray fileConfig = R"({"server":"203.0.113.9","server_port":8388,)"
                                  R"("local_address":"127.0.0.1","local_port":1081})";
    QTest::newRow("complete endpoint is used as given")
        << endpoint("203.0.113.5", 443, "127.0.0.1", 1080) << fileConfig
        << mirrorBlock("127.0.0.1", 1080, "203.0.113.5");
    QTest::newRow("local port 0 counts as complete")
        << endpoint("203.0.113.5", 443, "127.0.0.1", 0) << fileConfig
        << mirrorBlock("127.0.0.1", 0, "203.0.113.5");
    QTest::newRow("incomplete endpoint is read from the file")
        << endpoint("203.0.113.5", 443, "127.0.0.1", -1) << fileConfig
        << mirrorBlock("127.0.0.1", 1081, "203.0.113.9");
    QTest::newRow("default endpoint is read from the file")
        << MirrorEndpoint() << fileConfig << mirrorBlock("127.0.0.1", 1081, "203.0.113.9");
    QTest::newRow("incomplete endpoint and file give nothing")
        << MirrorEndpoint() << QByteArray(R"({"server":"203.0.113.9","server_port":8388})")
        << QByteArray();
    QTest::newRow("file that is not JSON gives nothing")
        << MirrorEndpoint() << QByteArray("server=203.0.113.9") << QByteArray();
    QTest::newRow("address that would add a line is not used")
        << endpoint("203.0.113.5\nup /tmp/x", 443, "127.0.0.1", 1080) << QByteArray("{}")
        << QByteArray();
    QTest::newRow("address with blanks is not used from the file")
        << MirrorEndpoint()
        << QByteArray(R"({"server":"a b","server_port":1,"local_address":"127.0.0.1",)"
                      R"("local_port":2})")
        << QByteArray();
    QTest::newRow("host name is used")
        << endpoint("mirror-1.example.net", 8388, "::1", 1080) << QByteArray()
        << mirrorBlock("::1", 1080, "mirror-1.example.net");
}

void TestConfigPatches::mirrorBlockComesFirst()
{
    QFETCH(MirrorEndpoint, given);
    QFETCH(QByteArray, ssConfig);
    QFETCH(QByteArray, expectedBlock);

    const QString path = writeFile(QStringLiteral("ss_config.json"), ssConfig);
    QVERIFY(!path.isEmpty());
    const QByteArray config = "client\ndev-type tun\n";
    const QByteArray expected = expectedBlock.isEmpty() ? QByteArray() : expectedBlock + config;
    QCOMPARE(patchMirror(config, path, given), expected);
}

void TestConfigPatches::mirrorBlockFirstAndDeviceBlockLastTogether()
{
    const MirrorEndpoint mirror = endpoint("203.0.113.5", 443, "127.0.0.1", 1080);
    const QByteArray config = "client\ndev tun\nremote 203.0.113.5 443\n";
    const QByteArray patched
        = patchMirror(patchDevice(config), m_dir.filePath(QStringLiteral("none.json")), mirror);

    QVERIFY(patched.startsWith("\n# Kestrune VPN (desktop): mirror config\n"));
    QVERIFY(patched.endsWith(DeviceBlock));
    QCOMPARE(patched,
             mirrorBlock("127.0.0.1", 1080, "203.0.113.5")
                 + "client\ndev-type tun\nremote 203.0.113.5 443\n" + DeviceBlock);
}

void TestConfigPatches::dnsPatchLeavesConfigurationAlone()
{
    const QByteArray config("client\ndev tun\n\0tail", 20);
    QCOMPARE(patchDNS(config, m_dir.path(), m_dir.path()), config);
}

void TestConfigPatches::mirrorConfigurationIsRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<MirrorEndpoint>("expected");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("all four keys")
        << QByteArray(R"({"server":"203.0.113.9","server_port":8388,"local_address":)"
                      R"("127.0.0.1","local_port":1080,"password":"p","method":"m"})")
        << endpoint("203.0.113.9", 8388, "127.0.0.1", 1080) << QString();
    QTest::newRow("missing local port gives 0")
        << QByteArray(R"({"server":"203.0.113.9","server_port":8388,)"
                      R"("local_address":"127.0.0.1"})")
        << endpoint("203.0.113.9", 8388, "127.0.0.1", 0) << QString();
    QTest::newRow("missing address gives empty text")
        << QByteArray(R"({"server_port":8388,"local_address":"127.0.0.1","local_port":1})")
        << endpoint(QString(), 8388, "127.0.0.1", 1) << QString();
    QTest::newRow("ports written as strings")
        << QByteArray(R"({"server":"203.0.113.9","server_port":"8388",)"
                      R"("local_address":"127.0.0.1","local_port":"1080"})")
        << endpoint("203.0.113.9", -1, "127.0.0.1", -1)
        << QStringLiteral("\"local_port\" is not a port number");
    QTest::newRow("port out of range")
        << QByteArray(R"({"local_port":70000})") << endpoint(QString(), 0, QString(), -1)
        << QStringLiteral("not a port number");
    QTest::newRow("fractional port")
        << QByteArray(R"({"server_port":80.5})") << endpoint(QString(), -1, QString(), 0)
        << QStringLiteral("\"server_port\" is not a port number");
    QTest::newRow("address written as number")
        << QByteArray(R"({"server":12})") << endpoint(QString(), 0, QString(), 0)
        << QStringLiteral("\"server\" is not a text");
    QTest::newRow("not JSON") << QByteArray("local_port=1080\n") << MirrorEndpoint()
                              << QStringLiteral("not valid JSON");
    QTest::newRow("truncated JSON") << QByteArray(R"({"server":"203.0.113.9",)") << MirrorEndpoint()
                                    << QStringLiteral("not valid JSON");
    QTest::newRow("JSON array") << QByteArray("[1,2]") << MirrorEndpoint()
                                << QStringLiteral("does not hold a JSON object");
}

void TestConfigPatches::mirrorConfigurationIsRead()
{
    QFETCH(QByteArray, content);
    QFETCH(MirrorEndpoint, expected);
    QFETCH(QString, errorPart);

    const QString path = writeFile(QStringLiteral("read.json"), content);
    QVERIFY(!path.isEmpty());
    QString error;
    const MirrorEndpoint read = readSsConfig(path, &error);
    QCOMPARE(read.serverAddress, expected.serverAddress);
    QCOMPARE(read.serverPort, expected.serverPort);
    QCOMPARE(read.localAddress, expected.localAddress);
    QCOMPARE(read.localPort, expected.localPort);
    if (errorPart.isEmpty())
        QCOMPARE(error, QString());
    else
        QVERIFY2(error.contains(errorPart), qPrintable(error));
}

void TestConfigPatches::missingMirrorConfigurationGivesDefaults()
{
    QString error;
    const MirrorEndpoint read = readSsConfig(m_dir.filePath(QStringLiteral("absent.json")), &error);
    QVERIFY(read.serverAddress.isEmpty());
    QVERIFY(read.localAddress.isEmpty());
    QCOMPARE(read.serverPort, -1);
    QCOMPARE(read.localPort, -1);
    QVERIFY2(error.startsWith(QStringLiteral("cannot read")), qPrintable(error));
    QCOMPARE(patchMirror("client\n", m_dir.filePath(QStringLiteral("absent.json")), read),
             QByteArray());
}

KESTRUNE_TEST_MAIN(TestConfigPatches)
#include "tst_configpatches.moc"

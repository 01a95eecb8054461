// The mirror tool's configuration: rebuilt from what the service sent, read back for OpenVPN's
// proxy lines, and written where only its owner can read it.

#include "engine/mirrorconfig.h"
#include "engine/mirrorendpoint.h"
#include "support/testmain.h"
#include "system/platform.h"

#include <sys/stat.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QJsonObject Known {{"server", "203.0.113.9"},
                         {"server_port", 8388},
                         {"local_address", "127.0.0.1"},
                         {"local_port", 1080},
                         {"password", "p\"w\nd"},
                         {"method", "chacha20-ietf-poly1305"},
                         {"timeout", 60}};

QByteArray with(const QJsonObject &changes, const QStringList &removed = {})
{
    QJsonObject object = Known;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        object.insert(it.key(), it.value());
    for (const QString &key : removed)
        object.remove(key);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

int modeOf(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777)
                                                                    : -1;
}

} // namespace

class TestMirrorConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    void replyIsRebuiltFromKnownMembers_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("unusable"); // "-": usable

        QByteArray many = "{";
        for (int i = 0; i < 10000; ++i)
            many += "\"x" + QByteArray::number(i) + "\":0,";
        many += with({}).mid(1);
        QTest::newRow("known members") << with({}) << QStringList() << "-";
        QTest::newRow("non-loopback local address")
            << with({{"local_address", "0.0.0.0"}}) << QStringList() << "-";
        QTest::newRow("no timeout") << with({}, {"timeout"}) << QStringList() << "-";
        QTest::newRow("plugin, acl and a name with a line break") << with(
            {{"plugin", "/bin/sh"}, {"plugin_opts", "-c id"}, {"acl", "/etc/x"}, {"a\nb", 1}})
                                                                  << QStringList {"a?b", "acl",
                                                                                  "plugin",
                                                                                  "plugin_opts"}
                                                                  << "-";
        QTest::newRow("10 MB member") << with({{"plugin_opts", QString(10 << 20, 'x')}})
                                      << QStringList {"plugin_opts"} << "-";
        QTest::newRow("10,000 members") << many << QStringList() << "-";
        QTest::newRow("duplicate members")
            << "{\"server\":\"198.51.100.1\"," + with({}).mid(1) << QStringList() << "-";
        QTest::newRow("not JSON") << QByteArray("server=203.0.113.9") << QStringList() << "";
        QTest::newRow("JSON array") << QByteArray("[1]") << QStringList() << "";
        QTest::newRow("server with a line break")
            << with({{"server", "203.0.113.9\n"}}) << QStringList() << "server";
        QTest::newRow("server with a quote")
            << with({{"server", "a\"b"}}) << QStringList() << "server";
        QTest::newRow("server missing") << with({}, {"server"}) << QStringList() << "server";
        QTest::newRow("port as string")
            << with({{"server_port", "8388"}}) << QStringList() << "server_port";
        QTest::newRow("port 0") << with({{"local_port", 0}}) << QStringList() << "local_port";
        QTest::newRow("port 65536")
            << with({{"server_port", 65536}}) << QStringList() << "server_port";
        QTest::newRow("fractional port")
            << with({{"local_port", 80.5}}) << QStringList() << "local_port";
        QTest::newRow("empty password") << with({{"password", ""}}) << QStringList() << "password";
        QTest::newRow("method without authentication")
            << with({{"method", "aes-256-cfb"}}) << QStringList() << "method";
        QTest::newRow("timeout as string")
            << with({{"timeout", "60"}}) << QStringList() << "timeout";
    }
    void replyIsRebuiltFromKnownMembers()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, dropped);
        QFETCH(QString, unusable);

        QElapsedTimer timer;
        timer.start();
        const MirrorConfig rebuilt = rebuildMirrorConfig(reply);
        QVERIFY(timer.elapsed() < 20000);
        QCOMPARE(rebuilt.unusable, unusable == "-" ? QString() : unusable);
        QCOMPARE(rebuilt.text.isEmpty(), unusable != "-");
        if (QTest::currentDataTag() != QByteArray("10,000 members"))
            QCOMPARE(rebuilt.dropped, dropped);
        else
            QCOMPARE(rebuilt.dropped.size(), 10000);
        if (unusable != "-")
            return;
        QJsonObject expected = Known;
        if (!reply.contains("timeout"))
            expected.remove(QStringLiteral("timeout"));
        QCOMPARE(QJsonDocument::fromJson(rebuilt.text).object(), expected);
    }

    void mirrorConfigurationIsRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("errorPart");

        QTest::newRow("rebuilt file")
            << rebuildMirrorConfig(with({})).text << "203.0.113.9 8388 127.0.0.1 1080"
            << "";
        QTest::newRow("missing port and address")
            << with({}, {"local_port", "server"}) << " 8388 127.0.0.1 0"
            << "";
        QTest::newRow("port as string")
            << with({{"local_port", "1080"}}) << "203.0.113.9 8388 127.0.0.1 -1"
            << "\"local_port\" is not a port number";
        QTest::newRow("address as number") << with({{"server", 12}}) << " 8388 127.0.0.1 1080"
                                           << "\"server\" is not a text";
        QTest::newRow("not JSON") << QByteArray("{\"server\":") << " -1  -1"
                                  << "not valid JSON";
        QTest::newRow("JSON array") << QByteArray("[]") << " -1  -1"
                                    << "does not hold a JSON object";
    }
    void mirrorConfigurationIsRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, fields);
        QFETCH(QString, errorPart);

        QFile file(m_dir.filePath(QStringLiteral("read.json")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QString error;
        const MirrorEndpoint e = readSsConfig(file.fileName(), &error);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(e.serverAddress)
                     .arg(e.serverPort)
                     .arg(e.localAddress)
                     .arg(e.localPort),
                 fields);
        QVERIFY2(errorPart.isEmpty() ? error.isEmpty() : error.contains(errorPart),
                 qPrintable(error));
    }

    void filesForElevatedProgramsAreOwnerOnly_data()
    {
        QTest::addColumn<QString>("before"); // what lies at the path: nothing, a file or a link
        QTest::newRow("new file") << "";
        QTest::newRow("world-readable file") << "file";
        QTest::newRow("link to another file") << "link";
    }
    void filesForElevatedProgramsAreOwnerOnly()
    {
        QFETCH(QString, before);

        const QString folder = m_dir.filePath(QStringLiteral("temp"));
        QVERIFY(QDir().mkpath(folder)
                && QFile::setPermissions(folder,
                                         QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                             | QFile::ReadOther | QFile::ExeOther));
        QVERIFY(Platform::instance().makeOwnerOnlyFolder(folder));
        QCOMPARE(modeOf(folder), 0700);
        const QString path = folder + QStringLiteral("/ss_config.json");
        const QString other = m_dir.filePath(QStringLiteral("other"));
        QFile::remove(path);
        QFile old(other);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept") == 4);
        old.close();
        if (before == "file")
            QVERIFY(QFile::copy(other, path)
                    && QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
        if (before == "link")
            QVERIFY(QFile::link(other, path));

        QFile file(path);
        QVERIFY(Platform::instance().createOwnerOnly(file));
        QCOMPARE(modeOf(path), 0600);
        QCOMPARE(file.write("secret"), 6);
        file.close();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("kept"));
    }
};

KESTRUNE_TEST_MAIN(TestMirrorConfig)
#include "tst_mirrorconfig.moc"

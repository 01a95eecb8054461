#include "core/loger.h"
#include "engine/directivefilter.h"
#include "support/testmain.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using Words = QList<QByteArray>;

// One directive of the unsafe kind, as words of its line, and the name the filter reports.
struct Unsafe
{
    Words words;
    QString reported;
};

QList<Unsafe> unsafeDirectives()
{
    const QList<QByteArray> names {"script-security",
                                   "up",
                                   "down",
                                   "route-up",
                                   "route-pre-down",
                                   "ipchange",
                                   "client-connect",
                                   "client-disconnect",
                                   "client-crresponse",
                                   "learn-address",
                                   "auth-user-pass-verify",
                                   "tls-verify",
                                   "tls-crypt-v2-verify",
                                   "dns-updown",
                                   "win-sys",
                                   "iproute",
                                   "plugin",
                                   "engine",
                                   "providers",
                                   "pkcs11-providers",
                                   "config",
                                   "management",
                                   "management-hold",
                                   "management-query-passwords",
                                   "management-client-auth",
                                   "management-external-key",
                                   "management-up-down",
                                   "log",
                                   "log-append",
                                   "status",
                                   "writepid",
                                   "tls-export-cert",
                                   "replay-persist",
                                   "ifconfig-pool-persist",
                                   "tmp-dir",
                                   "cd",
                                   "chroot",
                                   "askpass",
                                   "daemon",
                                   "syslog",
                                   "service",
                                   "ignore-unknown-option",
                                   "genkey"};
    QList<Unsafe> list;
    for (const QByteArray &name : names)
        list.append({{name, "/tmp/payload.sh", "arg"}, QString::fromLatin1(name)});
    list.append({{"setenv", "FORWARD_COMPATIBLE", "1"}, "setenv FORWARD_COMPATIBLE"});
    return list;
}

const QByteArray Head = "client\nremote 198.51.100.7 1194\n";
const QByteArray Tail = "verb 3\n";

QByteArray joined(const Words &words)
{
    QByteArray line;
    for (const QByteArray &w : words)
        line += (line.isEmpty() ? "" : " ") + w;
    return line;
}

QByteArray withFirst(const Words &words, const QByteArray &first)
{
    Words copy = words;
    copy[0] = first;
    return joined(copy);
}

} // namespace

class TestDirectiveFilter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void unsafeDirectiveIsRemovedInEveryDisguise_data();
    void unsafeDirectiveIsRemovedInEveryDisguise();
    void harmlessLineIsKeptByteForByte_data();
    void harmlessLineIsKeptByteForByte();
    void blockStructureCannotHideDirective_data();
    void blockStructureCannotHideDirective();
    void zeroByteCannotSmuggleDirective_data();
    void zeroByteCannotSmuggleDirective();
    void realClientConfigurationPassesUnchanged_data();
    void realClientConfigurationPassesUnchanged();
    void lineIsSplitIntoTokensLikeOpenVpnDoes_data();
    void lineIsSplitIntoTokensLikeOpenVpnDoes();
    void logNamesRemovedDirectiveButNeverItsArguments();

private:
    QTemporaryDir m_logDir;
    QStringList m_logLines;
};

void TestDirectiveFilter::initTestCase()
{
    KestruneTest::guardQtWarnings();
    QVERIFY(m_logDir.isValid());
    Loger::init(m_logDir.path(), false, false, QStringLiteral("app_log"));
    connect(Loger::notifier(), &Loger::lineAdded, this,
            [this](const QString &line) { m_logLines.append(line); });
}

void TestDirectiveFilter::cleanup()
{
    m_logLines.clear();
    KESTRUNE_VERIFY_NO_QT_WARNINGS();
}

void TestDirectiveFilter::unsafeDirectiveIsRemovedInEveryDisguise_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("reported");

    const QByteArray padding = "# " + QByteArray(253, 'x');
    for (const Unsafe &d : unsafeDirectives()) {
        const Words &w = d.words;
        const QByteArray line = joined(w);
        const QByteArray name = w.first();
        const auto row = [&](const char *disguise, const QByteArray &disguised) {
            QTest::addRow("%s %s", disguise, qPrintable(d.reported))
                << Head + disguised + Tail << Head + Tail << d.reported;
        };
        row("plain", line + "\n");
        row("leading blanks", " \t  " + line + "\n");
        row("double dash", withFirst(w, "--" + name) + "\n");
        row("single-quoted name", withFirst(w, "'" + name + "'") + "\n");
        row("double-quoted name", withFirst(w, "\"" + name + "\"") + "\n");
        row("upper-case name", withFirst(w, name.toUpper()) + "\n");
        row("trailing comment", line + " # harmless\n");
        row("CR LF", line + "\r\n");
        row("setenv opt", "setenv opt " + line + "\n");
        row("setenv opt with dashes and quotes",
            "  setenv 'opt' " + withFirst(w, "--" + name) + "\r\n");
        row("behind 255 bytes of one line", padding + line + "\n");
        QTest::addRow("byte-order mark %s", qPrintable(d.reported))
            << "\xEF\xBB\xBF" + line + "\n" + Head + Tail << Head + Tail << d.reported;
        const QByteArray connection = "<connection>\nremote 198.51.100.8 443 tcp-client\n";
        QTest::addRow("inside connection block %s", qPrintable(d.reported))
            << Head + connection + line + "\n</connection>\n" + Tail
            << Head + connection + "</connection>\n" + Tail << d.reported;
        if (w.first() != "setenv") {
            row("inline block", "<" + name + ">\n/bin/sh -c 'id > /tmp/owned'\n</" + name + ">\n");
        }
    }
}

void TestDirectiveFilter::unsafeDirectiveIsRemovedInEveryDisguise()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, expected);
    QFETCH(QString, reported);

    QStringList removed;
    QCOMPARE(DirectiveFilter::apply(config, &removed), expected);
    QCOMPARE(removed, QStringList {reported});
}

void TestDirectiveFilter::harmlessLineIsKeptByteForByte_data()
{
    QTest::addColumn<QByteArray>("config");

    const QList<QPair<const char *, QByteArray>> rows {
        {"hash comment naming up", "# up /etc/openvpn/update-resolv-conf\n"},
        {"semicolon comment naming plugin", "; plugin /usr/lib/openvpn/plugin.so\n"},
        {"indented comment", "   # script-security 2\n"},
        {"comment after a safe directive", "route 10.0.0.0 255.0.0.0 # up /tmp/x\n"},
        {"up-delay", "up-delay\n"},
        {"up-restart", "up-restart\n"},
        {"down-pre", "down-pre\n"},
        {"route-nopull", "route-nopull\n"},
        {"route-noexec", "route-noexec\n"},
        {"route-delay", "route-delay 2\n"},
        {"status-version", "status-version 2\n"},
        {"setenv with a harmless variable named up", "setenv FOO up\n"},
        {"setenv opt with a harmless directive", "setenv opt block-outside-dns\n"},
        {"setenv-safe", "setenv-safe FORWARD_COMPATIBLE 1\n"},
        {"pull-filter naming up", "pull-filter ignore \"up\"\n"},
        {"host name beginning with up", "remote up.example.net 1194\n"},
        {"directive name inside a ca block", "<ca>\nup /tmp/x\nplugin /tmp/y.so\n</ca>\n"},
        {"directive name inside a key block", "<key>\nscript-security 3\n</key>\n"},
        {"directive name inside a tls-auth block", "<tls-auth>\n--management 0 1\n</tls-auth>\n"},
        {"directive name inside a tls-crypt block", "<tls-crypt>\n  'log' /tmp/z\n</tls-crypt>\n"},
        {"key block after a connection block",
         "<connection>\nremote a 1\n</connection>\n<cert>\nstatus /tmp/s\n</cert>\n"},
        {"blank and CR LF lines", "\r\n  \t\r\n\n"},
        {"no final line break", "verb 4"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << Head + r.second + Tail;
}

void TestDirectiveFilter::harmlessLineIsKeptByteForByte()
{
    QFETCH(QByteArray, config);

    QStringList removed;
    QCOMPARE(DirectiveFilter::apply(config, &removed), config);
    QVERIFY2(removed.isEmpty(), qPrintable(removed.join(',')));
}

void TestDirectiveFilter::blockStructureCannotHideDirective_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QStringList>("reported");

    QTest::newRow("unknown block is read as directives")
        << QByteArray("<x-custom>\nup /tmp/a\n</x-custom>\n")
        << QByteArray("<x-custom>\n</x-custom>\n") << QStringList {"up"};
    QTest::newRow("closing tag after blanks ends a key block")
        << QByteArray("<ca>\nAAAA\n  </ca>\nup /tmp/a\n") << QByteArray("<ca>\nAAAA\n  </ca>\n")
        << QStringList {"up"};
    QTest::newRow("closing tag in upper case ends a key block")
        << QByteArray("<ca>\nAAAA\n</CA>\nup /tmp/a\n") << QByteArray("<ca>\nAAAA\n</CA>\n")
        << QStringList {"up"};
    QTest::newRow("closing tag followed by text ends a key block")
        << QByteArray("<ca>\nAAAA\n</ca> trailing\nup /tmp/a\n")
        << QByteArray("<ca>\nAAAA\n</ca> trailing\n") << QStringList {"up"};
    QTest::newRow("directive after a connection block")
        << QByteArray("<connection>\nremote a 1\n</connection>\nplugin /tmp/p.so\n")
        << QByteArray("<connection>\nremote a 1\n</connection>\n") << QStringList {"plugin"};
    QTest::newRow("end of connection ends an open block inside it")
        << QByteArray("<connection>\n<http-proxy-user-pass>\nu\n</connection>\nup /tmp/a\n")
        << QByteArray("<connection>\n<http-proxy-user-pass>\nu\n</connection>\n")
        << QStringList {"up"};
    QTest::newRow("unclosed unsafe block ends with its connection")
        << QByteArray("<connection>\nremote a 1\n<up>\nrm -rf /\n</connection>\nverb 3\n")
        << QByteArray("<connection>\nremote a 1\n</connection>\nverb 3\n") << QStringList {"up"};
    QTest::newRow("unsafe block removed with its content")
        << QByteArray("<plugin>\nlibevil.so\n</plugin>\nverb 3\n") << QByteArray("verb 3\n")
        << QStringList {"plugin"};
    QTest::newRow("closing tag behind 255 bytes of one line")
        << "<ca>\n" + QByteArray(255, 'A') + "</ca>\nup /tmp/a\n"
        << "<ca>\n" + QByteArray(255, 'A') + "</ca>\n"
        << QStringList {"up"};
    // The first line opens a key block only in its second piece; once the line is removed,
    // the "up" that seemed to be key content is a directive.
    QTest::newRow("removed line that opened a block")
        << "up /tmp/a" + QByteArray(246, ' ') + "<ca>\nup /tmp/b\n</ca>\n"
        << QByteArray("</ca>\n") << QStringList {"up", "up"};
}

void TestDirectiveFilter::blockStructureCannotHideDirective()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, expected);
    QFETCH(QStringList, reported);

    QStringList removed;
    QCOMPARE(DirectiveFilter::apply(config, &removed), expected);
    QCOMPARE(removed, reported);
}

void TestDirectiveFilter::zeroByteCannotSmuggleDirective_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("expected");

    const auto bytes = [](const char *text, int size) { return QByteArray(text, size); };
    QTest::newRow("directive after a zero byte")
        << bytes("verb 3\0up /x\nnobind\n", 20) << QByteArray("nobind\n");
    QTest::newRow("zero byte in a comment")
        << bytes("# note\0\nnobind\n", 15) << QByteArray("nobind\n");
    QTest::newRow("lone zero byte") << bytes("\0", 1) << QByteArray();
    // Without its opening line the block's content is read as directives again.
    QTest::newRow("zero byte after a block opener")
        << bytes("<ca>\0\nup /x\n</ca>\n", 18) << QByteArray("</ca>\n");
    QTest::newRow("zero byte inside a key block")
        << bytes("<ca>\nAA\0AA\n</ca>\nnobind\n", 24) << QByteArray("<ca>\n</ca>\nnobind\n");
}

void TestDirectiveFilter::zeroByteCannotSmuggleDirective()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, expected);

    const QByteArray out = DirectiveFilter::apply(config);
    QCOMPARE(out, expected);
    QVERIFY(!out.contains('\0'));
    QVERIFY(m_logLines.join('\n').contains(QStringLiteral("zero byte")));
}

void TestDirectiveFilter::realClientConfigurationPassesUnchanged_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(KESTRUNE_CLIENT_CONFIGS));
    const QStringList files = dir.entryList({QStringLiteral("*.ovpn")}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 20);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

void TestDirectiveFilter::realClientConfigurationPassesUnchanged()
{
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray config = file.readAll();
    QVERIFY(config.size() > 500);
    QStringList removed;
    QCOMPARE(DirectiveFilter::apply(config, &removed), config);
    QVERIFY2(removed.isEmpty(), qPrintable(removed.join(',')));
    QVERIFY(m_logLines.isEmpty());
}

void TestDirectiveFilter::lineIsSplitIntoTokensLikeOpenVpnDoes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<QByteArray>>("tokens");

    QTest::newRow("blanks") << QByteArray(" \tremote  host\t1194\r\n")
                            << QList<QByteArray> {"remote", "host", "1194"};
    QTest::newRow("double quotes") << QByteArray("ca \"C:\\\\Program Files\\\\ca.crt\"")
                                   << QList<QByteArray> {"ca", "C:\\Program Files\\ca.crt"};
    QTest::newRow("single quotes keep backslashes")
        << QByteArray("ca 'a\\b c'") << QList<QByteArray> {"ca", "a\\b c"};
    QTest::newRow("escaped blank joins a token")
        << QByteArray("up my\\ script") << QList<QByteArray> {"up", "my script"};
    QTest::newRow("escaped quote") << QByteArray("x \"a\\\"b\"") << QList<QByteArray> {"x", "a\"b"};
    QTest::newRow("comment starts a token")
        << QByteArray("route a # up") << QList<QByteArray> {"route", "a"};
    QTest::newRow("hash inside a token") << QByteArray("up#x y") << QList<QByteArray> {"up#x", "y"};
    QTest::newRow("quote ends a token") << QByteArray("\"u\"p") << QList<QByteArray> {"u", "p"};
    QTest::newRow("stops at zero byte") << QByteArray("verb\0up", 7) << QList<QByteArray> {"verb"};
    QTest::newRow("whole comment") << QByteArray(";up x") << QList<QByteArray> {};
}

void TestDirectiveFilter::lineIsSplitIntoTokensLikeOpenVpnDoes()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<QByteArray>, tokens);

    QCOMPARE(DirectiveFilter::tokenize(line), tokens);
}

void TestDirectiveFilter::logNamesRemovedDirectiveButNeverItsArguments()
{
    const QByteArray config = "client\nup /tmp/secret-payload.sh\n<connection>\n"
                              "plugin /tmp/secret-plugin.so\n</connection>\nverb 3\n";
    DirectiveFilter::apply(config);

    QCOMPARE(m_logLines.size(), 2);
    QVERIFY(m_logLines.at(0).endsWith(
        QStringLiteral("[9]: removed directive \"up\" from the downloaded configuration")));
    QVERIFY(m_logLines.at(1).endsWith(
        QStringLiteral("[9]: removed directive \"plugin\" from the downloaded configuration")));
    QVERIFY(!m_logLines.join('\n').contains(QStringLiteral("secret")));
}

KESTRUNE_TEST_MAIN(TestDirectiveFilter)
#include "tst_directivefilter.moc"

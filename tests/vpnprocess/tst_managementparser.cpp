#include "engine/managementlinebuffer.h"
#include "engine/managementparser.h"
#include "support/testmain.h"

using ManagementParser::StateKind;
Q_DECLARE_METATYPE(ManagementParser::StateKind)

class TestManagementParser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // What a line of the management connection tells: a state, byte counts (only when both
    // fit a signed 32-bit number; otherwise the previous figures stay) or the confirmation of
    // "signal SIGTERM".
    void managementLinesAreRead_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("meaning");
        const auto row = [](const char *name, const QString &line, const char *meaning) {
            QTest::newRow(name) << line << QString(meaning);
        };
        const QString s = QStringLiteral(">STATE:1607000000,");
        row("connecting", s + "CONNECTING,,,,,,", "connecting");
        row("connected", s + "CONNECTED,SUCCESS,10.8.0.6,,,,", "connected");
        row("reconnecting", s + "RECONNECTING,ping-restart,,,,,", "connecting");
        row("exiting", s + "EXITING,SIGTERM,,,,,", "exiting");
        row("resolve is no known state", s + "RESOLVE,,,,,,", "");
        row("counts", "  >BYTECOUNT:1500,700  ", "1500,700");
        row("largest counts", ">BYTECOUNT:2147483647,0", "2147483647,0");
        for (const char *bad :
             {"2147483648,1", "1,3000000000", "1500", ",", "12a,4", "1,2,3", "0x10,4"})
            row(bad, ">BYTECOUNT:" + QString(bad), "");
        row("signal answer", "SUCCESS: signal SIGTERM thrown", "confirms");
    }
    void managementLinesAreRead()
    {
        QFETCH(QString, line);
        QFETCH(QString, meaning);
        const QStringList kinds {"", "connecting", "connected", "exiting"};
        QStringList read {kinds.at(int(ManagementParser::stateOfLine(line)))};
        int in = -7;
        int out = -7;
        if (ManagementParser::parseByteCount(line, &in, &out) || in != -7 || out != -7)
            read << QStringLiteral("%1,%2").arg(in).arg(out);
        if (ManagementParser::isSignalConfirmation(line))
            read << QStringLiteral("confirms");
        QCOMPARE(read.join(QString()), meaning);
    }

    // The version banner of "--version" and what OpenVPN prints while it runs.
    void openVpnOutputIsRead_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("error");
        const auto row
            = [](const char *name, const QByteArray &output, const char *version, bool error) {
                  QTest::newRow(name) << output << QString(version) << error;
              };
        // Two-digit parts and the greeting's state history are met by the real OpenVPN.
        row("any letter case", "openvpn 2.5.0 x86_64\n", "2.5.0", false);
        row("not at the start", "Welcome to OpenVPN 2.4.9\n", nullptr, false);
        row("nothing (silent or missing program)", "", nullptr, false);
        row("error in any letter case", "TLS Error: handshake failed", nullptr, true);
        row("nothing after a zero byte counts", QByteArray("socket ok\0 ERROR", 16), nullptr,
            false);
    }
    void openVpnOutputIsRead()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, version);
        QFETCH(bool, error);
        const QString parsed = ManagementParser::parseVersion(output);
        QCOMPARE(parsed, version);
        QCOMPARE(parsed.isNull(), version.isNull());
        QCOMPARE(ManagementParser::outputReportsError(ManagementParser::outputText(output)), error);
    }

    // Lines come in pieces; a peer that never ends a line cannot make the buffer grow.
    void lineBufferJoinsPiecesAndDropsOverlongLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("dropped");
        const QByteArray limit(64 * 1024, 'z');
        QTest::newRow("line split over reads, empty lines, prompt without line end")
            << QList<QByteArray> {">BYTE", "COUNT:1,", "2\r", "\n\r\n\nx\nENTER PASSWORD:", "E"}
            << QStringList {">BYTECOUNT:1,2", "x", "ENTER PASSWORD:"} << 0;
        QTest::newRow("line of the limit is kept, one beyond is dropped")
            << QList<QByteArray> {limit + "\r\n" + limit + "z\r\n"}
            << QStringList {QString::fromLatin1(limit)} << 1;
        QTest::newRow("line that is empty up to a zero byte is dropped (found by fuzzing)")
            << QList<QByteArray> {QByteArray("\0x\r\ny\n", 6)} << QStringList {"y"} << 0;
        QList<QByteArray> endless;
        for (int i = 0; i < 1024; ++i)
            endless << QByteArray(4096, char(i * 37 % 256 | 1));
        QTest::newRow("endless binary data, next line survives")
            << endless + QList<QByteArray> {"\r\n>BYTECOUNT:7,8\r\n"}
            << QStringList {">BYTECOUNT:7,8"} << 1;
    }
    void lineBufferJoinsPiecesAndDropsOverlongLines()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, lines);
        QFETCH(int, dropped);
        ManagementLineBuffer buffer;
        QStringList got;
        for (const QByteArray &piece : qAsConst(pieces)) {
            got += buffer.append(piece);
            QVERIFY(buffer.pendingSize() <= ManagementLineBuffer::DefaultLineLimit);
        }
        QCOMPARE(got, lines);
        QCOMPARE(buffer.droppedLines(), dropped);
    }
};

KESTRUNE_TEST_MAIN(TestManagementParser)
#include "tst_managementparser.moc"

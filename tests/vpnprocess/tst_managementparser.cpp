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

    void stateLinesMapToTunnelStatus_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<StateKind>("kind");
        const QString p = QStringLiteral(">STATE:1607000000,");
        QTest::newRow("connecting") << p + "CONNECTING,,,,,," << StateKind::Connecting;
        QTest::newRow("wait") << p + "WAIT,,,,,," << StateKind::Connecting;
        QTest::newRow("auth") << p + "AUTH,,,,,," << StateKind::Connecting;
        QTest::newRow("get config") << p + "GET_CONFIG,,,,,," << StateKind::Connecting;
        QTest::newRow("assign ip") << p + "ASSIGN_IP,,10.8.0.6,,,," << StateKind::Connecting;
        QTest::newRow("add routes") << p + "ADD_ROUTES,,10.8.0.6,,,," << StateKind::Connecting;
        QTest::newRow("connected")
            << p + "CONNECTED,SUCCESS,10.8.0.6,198.51.100.7,1194,," << StateKind::Connected;
        QTest::newRow("reconnecting reads as connecting")
            << p + "RECONNECTING,ping-restart,,,,," << StateKind::Connecting;
        QTest::newRow("exiting") << p + "EXITING,SIGTERM,,,,," << StateKind::Exiting;
        QTest::newRow("resolve is no known state") << p + "RESOLVE,,,,,," << StateKind::None;
        QTest::newRow("tcp connect is no known state")
            << p + "TCP_CONNECT,,,,,," << StateKind::None;
        QTest::newRow("lower case words do not count") << p + "connected,,,,,," << StateKind::None;
        QTest::newRow("without prefix nothing counts")
            << "1607000000,CONNECTED,SUCCESS,,,," << StateKind::None;
        QTest::newRow("bytecount is not a state") << ">BYTECOUNT:1,2" << StateKind::None;
    }

    void stateLinesMapToTunnelStatus()
    {
        QFETCH(QString, line);
        QFETCH(StateKind, kind);
        QCOMPARE(ManagementParser::stateOfLine(line), kind);
    }

    void byteCountsParseOnlyWhenBothFitSigned32_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("in");
        QTest::addColumn<int>("out");
        QTest::newRow("plain") << ">BYTECOUNT:1500,700" << true << 1500 << 700;
        QTest::newRow("zero") << ">BYTECOUNT:0,0" << true << 0 << 0;
        QTest::newRow("surrounding blanks") << "  >BYTECOUNT:5,6  " << true << 5 << 6;
        QTest::newRow("largest signed 32-bit")
            << ">BYTECOUNT:2147483647,2147483647" << true << 2147483647 << 2147483647;
        QTest::newRow("in beyond 2147483647") << ">BYTECOUNT:2147483648,1" << false << 0 << 0;
        QTest::newRow("out beyond 2147483647") << ">BYTECOUNT:1,3000000000" << false << 0 << 0;
        QTest::newRow("no comma") << ">BYTECOUNT:1500" << false << 0 << 0;
        QTest::newRow("empty numbers") << ">BYTECOUNT:," << false << 0 << 0;
        QTest::newRow("letters") << ">BYTECOUNT:12a,4" << false << 0 << 0;
        QTest::newRow("three fields") << ">BYTECOUNT:1,2,3" << false << 0 << 0;
        QTest::newRow("hexadecimal") << ">BYTECOUNT:0x10,4" << false << 0 << 0;
        QTest::newRow("other notification") << ">STATE:1,2" << false << 0 << 0;
    }

    void byteCountsParseOnlyWhenBothFitSigned32()
    {
        QFETCH(QString, line);
        QFETCH(bool, ok);
        QFETCH(int, in);
        QFETCH(int, out);
        int gotIn = -7;
        int gotOut = -7;
        QCOMPARE(ManagementParser::parseByteCount(line, &gotIn, &gotOut), ok);
        // A line that does not parse leaves the previous figures alone.
        QCOMPARE(gotIn, ok ? in : -7);
        QCOMPARE(gotOut, ok ? out : -7);
    }

    void onlyTheSignalAnswerConfirmsATerminate_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("confirms");
        QTest::newRow("signal answer") << "SUCCESS: signal SIGTERM thrown" << true;
        QTest::newRow("password accepted") << "SUCCESS: password is correct" << false;
        QTest::newRow("state notifications on")
            << "SUCCESS: real-time state notification set to ON" << false;
        QTest::newRow("connected state with SUCCESS word")
            << ">STATE:1,CONNECTED,SUCCESS,10.8.0.6,,,," << false;
    }

    void onlyTheSignalAnswerConfirmsATerminate()
    {
        QFETCH(QString, line);
        QFETCH(bool, confirms);
        QCOMPARE(ManagementParser::isSignalConfirmation(line), confirms);
    }

    void historyLinesBecomeStateLinesUntilEnd_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("stillInHistory");
        QTest::newRow("openvpn 2.6 greeting in one batch")
            << QStringList {"ENTER PASSWORD:",
                            "SUCCESS: password is correct",
                            ">INFO:OpenVPN Management Interface Version 5",
                            "SUCCESS: real-time state notification set to ON",
                            "1607000000,CONNECTING,,,,,,",
                            "1607000000,WAIT,,,,,,",
                            "END",
                            ">STATE:1607000001,AUTH,,,,,,"}
            << QStringList {"SUCCESS: password is correct",
                            "SUCCESS: real-time state notification set to ON",
                            ">STATE:1607000000,CONNECTING,,,,,,", ">STATE:1607000000,WAIT,,,,,,",
                            ">STATE:1607000001,AUTH,,,,,,"}
            << false;
        QTest::newRow("prompt alone keeps waiting for the history")
            << QStringList {"ENTER PASSWORD:"} << QStringList {} << true;
        QTest::newRow("history without its end")
            << QStringList {"1607000000,CONNECTED,SUCCESS,10.8.0.6,,,,"}
            << QStringList {">STATE:1607000000,CONNECTED,SUCCESS,10.8.0.6,,,,"} << true;
        QTest::newRow("bad password answer is no state")
            << QStringList {"ERROR: bad password"} << QStringList {"ERROR: bad password"} << true;
    }

    void historyLinesBecomeStateLinesUntilEnd()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QFETCH(bool, stillInHistory);
        bool inHistory = true;
        QCOMPARE(ManagementParser::markHistory(lines, &inHistory), expected);
        QCOMPARE(inHistory, stillInHistory);
    }

    void linesAfterTheHistoryPassUnchanged()
    {
        bool inHistory = false;
        const QStringList lines {"1607000000,CONNECTED,,,,,", ">INFO:x", "END"};
        QCOMPARE(ManagementParser::markHistory(lines, &inHistory), lines);
        QVERIFY(!inHistory);
    }

    void versionIsTakenFromTheBanner_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("version");
        QTest::newRow("2.4.9") << QByteArray("OpenVPN 2.4.9 x86_64-w64-mingw32 [SSL]\n") << "2.4.9";
        QTest::newRow("two-digit part is cut to its first digit")
            << QByteArray("OpenVPN 2.4.10 x86_64 [SSL]\n") << "2.4.1";
        QTest::newRow("2.3.18") << QByteArray("OpenVPN 2.3.18 i686\n") << "2.3.1";
        QTest::newRow("any letter case") << QByteArray("openvpn 2.5.0 x\n") << "2.5.0";
        QTest::newRow("nothing") << QByteArray() << QString();
        QTest::newRow("not at the start") << QByteArray("Welcome to OpenVPN 2.4.9\n") << QString();
        QTest::newRow("version beyond the first 50 characters")
            << QByteArray(QByteArray(50, ' ') + "OpenVPN 2.4.9") << QString();
        QTest::newRow("two-part version") << QByteArray("OpenVPN 2.4 x\n") << QString();
    }

    void versionIsTakenFromTheBanner()
    {
        QFETCH(QByteArray, output);
        QFETCH(QString, version);
        const QString parsed = ManagementParser::parseVersion(output);
        QCOMPARE(parsed, version);
        QCOMPARE(parsed.isNull(), version.isNull());
    }

    void outputIsCutAtTheFirstZeroByte()
    {
        QCOMPARE(ManagementParser::outputText(QByteArray("abc\0def", 7)), QStringLiteral("abc"));
        QCOMPARE(ManagementParser::outputText("plain\n"), QStringLiteral("plain\n"));
    }

    void errorInAnyLetterCaseIsReported_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("error");
        QTest::newRow("upper") << "Options ERROR: bad" << true;
        QTest::newRow("mixed") << "TLS Error: handshake failed" << true;
        QTest::newRow("lower") << "socket error" << true;
        QTest::newRow("none") << "Initialization Sequence Completed" << false;
    }

    void errorInAnyLetterCaseIsReported()
    {
        QFETCH(QString, text);
        QFETCH(bool, error);
        QCOMPARE(ManagementParser::outputReportsError(text), error);
    }

    void lineBufferJoinsPiecesAndDropsOverlongLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("dropped");
        QTest::newRow("one batch")
            << QList<QByteArray> {"a\r\nb\r\n"} << QStringList {"a", "b"} << 0;
        QTest::newRow("line split over reads")
            << QList<QByteArray> {">BYTE", "COUNT:1,", "2\r", "\n"}
            << QStringList {">BYTECOUNT:1,2"} << 0;
        QTest::newRow("empty lines are dropped")
            << QList<QByteArray> {"\r\n\r\nx\r\n\n"} << QStringList {"x"} << 0;
        QTest::newRow("line that is empty up to a zero byte is dropped (found by fuzzing)")
            << QList<QByteArray> {QByteArray("\0x\r\ny\n", 6)} << QStringList {"y"} << 0;
        QTest::newRow("bare line feed ends a line")
            << QList<QByteArray> {"a\nb\n"} << QStringList {"a", "b"} << 0;
        QTest::newRow("password prompt without line end")
            << QList<QByteArray> {"ENTER PASSWORD:"} << QStringList {"ENTER PASSWORD:"} << 0;
        QTest::newRow("unfinished line waits")
            << QList<QByteArray> {"END\r\n>STATE:1,CONN"} << QStringList {"END"} << 0;
        QTest::newRow("megabyte without line end is dropped, next line survives")
            << QList<QByteArray> {QByteArray(1024 * 1024, 'x'), QByteArray(1000, 'y'),
                                  "\r\n>BYTECOUNT:7,8\r\n"}
            << QStringList {">BYTECOUNT:7,8"} << 1;
        QTest::newRow("line one beyond the limit is dropped")
            << QList<QByteArray> {QByteArray(64 * 1024 + 1, 'z') + "\r\n"} << QStringList {} << 1;
        QTest::newRow("line of the limit is kept")
            << QList<QByteArray> {QByteArray(64 * 1024, 'z') + "\r\n"}
            << QStringList {QString(64 * 1024, QLatin1Char('z'))} << 0;
    }

    void lineBufferJoinsPiecesAndDropsOverlongLines()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, lines);
        QFETCH(int, dropped);
        ManagementLineBuffer buffer;
        QStringList got;
        for (const QByteArray &piece : qAsConst(pieces))
            got += buffer.append(piece);
        QCOMPARE(got, lines);
        QCOMPARE(buffer.droppedLines(), dropped);
        QVERIFY(buffer.pendingSize() <= ManagementLineBuffer::DefaultLineLimit);
    }

    void lineBufferStaysBoundedUnderEndlessData()
    {
        ManagementLineBuffer buffer;
        const QByteArray chunk(4096, '\x01');
        for (int i = 0; i < 1024; ++i) {
            QVERIFY(buffer.append(chunk).isEmpty());
            QVERIFY(buffer.pendingSize() <= ManagementLineBuffer::DefaultLineLimit);
        }
        QCOMPARE(buffer.append("\r\nok\r\n"), QStringList {"ok"});
    }

    void lineBufferSurvivesBinaryGarbage()
    {
        ManagementLineBuffer buffer;
        QByteArray junk;
        for (int i = 0; i < 65536; ++i)
            junk.append(char(i * 37 % 256));
        buffer.append(junk);
        const QStringList after = buffer.append("\r\n>BYTECOUNT:1,2\r\n");
        QVERIFY(!after.isEmpty());
        QCOMPARE(after.last(), QStringLiteral(">BYTECOUNT:1,2"));
    }
};

KESTRUNE_TEST_MAIN(TestManagementParser)
#include "tst_managementparser.moc"

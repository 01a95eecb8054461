#include "core/loger.h"
#include "support/testmain.h"

#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString BaseName = QStringLiteral("kestrunevpn_log");
const QString Stamp = QStringLiteral("\\[\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\] ");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void setModified(const QString &path, const QDateTime &when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// The lines of a log without their line ends; fails on a line end other than CR LF.
QStringList linesOf(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|\\r[^\\n]"))))
        return {QStringLiteral("<bare line end>")};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool stamped(const QString &line, const QString &text)
{
    return QRegularExpression(
               QRegularExpression::anchoredPattern(Stamp + QRegularExpression::escape(text)))
        .match(line)
        .hasMatch();
}

} // namespace

class TestLoger : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;

    QString logPath() const { return m_dir->filePath(BaseName + QStringLiteral(".txt")); }
    QString archivePath(int n) const
    {
        return m_dir->filePath(BaseName + QStringLiteral("_archieve_%1.txt").arg(n));
    }
    void open() { Loger::init(m_dir->path(), false, true, BaseName); }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        Loger::setSizeLimit(786432);
    }

    void cleanup()
    {
        Loger::close();
        delete m_dir;
        m_dir = nullptr;
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void sizeLimitDecidesBetweenAppendAndArchive_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("archived");
        QTest::newRow("exactly the limit keeps appending") << 786432 << false;
        QTest::newRow("one byte over moves the log to archive 1") << 786433 << true;
    }
    void sizeLimitDecidesBetweenAppendAndArchive()
    {
        QFETCH(int, size);
        QFETCH(bool, archived);
        const QByteArray earlier = QByteArray(size - 2, 'x') + "\r\n";
        writeFile(logPath(), earlier);
        open();

        const QByteArray now = readAll(logPath());
        QCOMPARE(QFileInfo::exists(archivePath(1)), archived);
        if (archived) {
            QCOMPARE(readAll(archivePath(1)), earlier);
            const QStringList lines = linesOf(now);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(stamped(lines.first(), QStringLiteral("Application started")),
                     qPrintable(lines.first()));
        } else {
            QVERIFY(now.startsWith(earlier));
            QVERIFY(stamped(linesOf(now.mid(earlier.size())).value(0),
                            QStringLiteral("Application started")));
        }
    }

    void archiveTakesTheFirstFreeNumber()
    {
        writeFile(archivePath(1), "older\r\n");
        writeFile(logPath(), QByteArray(786433, 'y'));
        open();
        QCOMPARE(readAll(archivePath(1)), QByteArray("older\r\n"));
        QCOMPARE(readAll(archivePath(2)), QByteArray(786433, 'y'));
    }

    void earlierContentIsRepairedOnlyWhenNotUtf8_data()
    {
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray fffd = "\xEF\xBF\xBD";
        QTest::newRow("plain text stays byte for byte")
            << QByteArray("abc\r\n") << QByteArray("abc\r\n");
        QTest::newRow("Cyrillic and CJK stay byte for byte")
            << QByteArray("\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\xAD\r\n")
            << QByteArray("\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\xAD\r\n");
        QTest::newRow("a stray byte becomes U+FFFD") << QByteArray("a\xFF"
                                                                   "b\r\n")
                                                     << "a" + fffd + "b\r\n";
        QTest::newRow("a Latin-1 line is repaired")
            << QByteArray("caf\xE9 ok\r\n") << "caf" + fffd + " ok\r\n";
        QTest::newRow("a sequence cut off at the end is repaired")
            << QByteArray("ab\xE4\xB8") << "ab" + fffd;
    }
    void earlierContentIsRepairedOnlyWhenNotUtf8()
    {
        QFETCH(QByteArray, earlier);
        QFETCH(QByteArray, expected);
        writeFile(logPath(), earlier);
        open();
        const QByteArray now = readAll(logPath());
        QVERIFY2(now.startsWith(expected), now.constData());
        QVERIFY(stamped(linesOf(now.mid(expected.size())).value(0),
                        QStringLiteral("Application started")));
    }

    void runsFollowEachOtherInOneFile()
    {
        for (int run = 0; run < 2; ++run) {
            open();
            Loger::writeLine(QStringLiteral("run %1").arg(run));
            Loger::close();
        }
        const QStringList lines = linesOf(readAll(logPath()));
        QCOMPARE(lines.size(), 8);
        for (int run = 0; run < 2; ++run) {
            QVERIFY(stamped(lines.at(run * 4), QStringLiteral("Application started")));
            QVERIFY(stamped(lines.at(run * 4 + 1), QStringLiteral("run %1").arg(run)));
            QVERIFY(stamped(lines.at(run * 4 + 2), QStringLiteral("Log file closed")));
            QCOMPARE(lines.at(run * 4 + 3), QString());
        }
    }

    void anotherWritersLinesAreNeverOverwritten()
    {
        open();
        QFile other(logPath());
        QVERIFY(other.open(QIODevice::WriteOnly | QIODevice::Append));
        other.write("other copy\r\n");
        other.close();
        Loger::writeLine(QStringLiteral("mine"));
        const QStringList lines = linesOf(readAll(logPath()));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), QStringLiteral("other copy"));
        QVERIFY(stamped(lines.at(2), QStringLiteral("mine")));
    }

    void removeOldFilesKeepsCurrentAndNewestArchive()
    {
        const QDateTime now = QDateTime::currentDateTime();
        for (int n = 1; n <= 3; ++n) {
            writeFile(archivePath(n), "old\r\n");
            setModified(archivePath(n), now.addSecs(-400 + n * 100));
        }
        // Matches the wildcard whatever the case handling, never the exact pattern.
        const QString capitals = m_dir->filePath(QStringLiteral("KESTRUNEVPN_LOG_0.txt"));
        writeFile(capitals, "other\r\n");
        setModified(capitals, now.addSecs(-1000));
        open();
        Loger::removeOldFiles(1);

        QStringList left = QDir(m_dir->path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left,
                 (QStringList {QStringLiteral("KESTRUNEVPN_LOG_0.txt"),
                               BaseName + QStringLiteral(".txt"),
                               BaseName + QStringLiteral("_archieve_3.txt")}));
    }

    void removeOldFilesNeverDeletesTheOpenLog()
    {
        // Archives dated after the current log (a clock set back) must not push it out.
        writeFile(logPath(), "earlier\r\n");
        open();
        const QDateTime later = QDateTime::currentDateTime().addSecs(3600);
        for (int n = 1; n <= 3; ++n) {
            writeFile(archivePath(n), "old\r\n");
            setModified(archivePath(n), later.addSecs(n));
        }
        setModified(logPath(), later.addSecs(-3600 * 24));
        Loger::removeOldFiles(1);
        QVERIFY(QFileInfo::exists(logPath()));
        QVERIFY(QFileInfo::exists(archivePath(3)));
        QVERIFY(!QFileInfo::exists(archivePath(2)));
        QVERIFY(!QFileInfo::exists(archivePath(1)));
        Loger::writeLine(QStringLiteral("still here"));
        QVERIFY(stamped(linesOf(readAll(logPath())).last(), QStringLiteral("still here")));
    }

    void piecesMakeOneLine()
    {
        open();
        QSignalSpy added(Loger::notifier(), &Loger::lineAdded);
        Loger::write(QStringLiteral("a"), true);
        Loger::write(QStringLiteral("b"), false);
        QCOMPARE(added.count(), 0);
        Loger::endLine();
        const QStringList lines = linesOf(readAll(logPath()));
        QCOMPARE(lines.size(), 2);
        QVERIFY2(stamped(lines.at(1), QStringLiteral("ab")), qPrintable(lines.at(1)));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.first().first().toString(), lines.at(1));
    }

    void lineAddedCarriesTheWholeLine()
    {
        open();
        QSignalSpy added(Loger::notifier(), &Loger::lineAdded);
        Loger::writeLine(QStringLiteral("Server reply on [9]"));
        QCOMPARE(added.count(), 1);
        const QString line = added.first().first().toString();
        QVERIFY2(stamped(line, QStringLiteral("Server reply on [9]")), qPrintable(line));
        QCOMPARE(linesOf(readAll(logPath())).last(), line);
        QCOMPARE(Loger::currentFileName(), logPath());
    }

    void aWriterThatCannotOpenStaysSilent_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << QStringLiteral("missing");
        QTest::newRow("log name taken by a folder") << QString();
    }
    void aWriterThatCannotOpenStaysSilent()
    {
        QFETCH(QString, folder);
        QString dir = m_dir->path();
        if (folder.isEmpty())
            QVERIFY(QDir(dir).mkdir(BaseName + QStringLiteral(".txt")));
        else
            dir = m_dir->filePath(folder);
        Loger::init(dir, false, true, BaseName);
        QCOMPARE(Loger::currentFileName(), QString());
        QSignalSpy added(Loger::notifier(), &Loger::lineAdded);
        Loger::writeLine(QStringLiteral("x"));
        Loger::write(QStringLiteral("y"), true);
        Loger::endLine();
        Loger::removeOldFiles(0);
        Loger::close();
        QCOMPARE(added.count(), 0);
        QVERIFY(!QFileInfo(dir).isFile());
        QCOMPARE(QFileInfo::exists(dir), folder.isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
    }

    void fourThreadsNeverTearALine()
    {
        open();
        constexpr int Threads = 4;
        constexpr int Lines = 1000;
        std::vector<std::thread> writers;
        for (int t = 0; t < Threads; ++t) {
            writers.emplace_back([t] {
                for (int n = 0; n < Lines; ++n)
                    Loger::writeLine(QStringLiteral("thread %1 line %2").arg(t).arg(n));
            });
        }
        for (auto &writer : writers)
            writer.join();

        const QStringList lines = linesOf(readAll(logPath()));
        QCOMPARE(lines.size(), 1 + Threads * Lines);
        const QRegularExpression shape(QRegularExpression::anchoredPattern(
            Stamp + QStringLiteral("thread (\\d) line (\\d+)")));
        int next[Threads] = {};
        for (int i = 1; i < lines.size(); ++i) {
            const QRegularExpressionMatch m = shape.match(lines.at(i));
            QVERIFY2(m.hasMatch(), qPrintable(lines.at(i)));
            const int t = m.captured(1).toInt();
            QVERIFY(t < Threads);
            // Each thread's lines arrive whole and in its own order.
            QCOMPARE(m.captured(2).toInt(), next[t]++);
        }
        for (int t = 0; t < Threads; ++t)
            QCOMPARE(next[t], Lines);
    }

    void truncatingModeWithDateStartsANewFile()
    {
        writeFile(logPath(), "earlier\r\n");
        Loger::init(m_dir->path(), true, false, BaseName);
        const QString name = QFileInfo(Loger::currentFileName()).fileName();
        QVERIFY2(QRegularExpression(QStringLiteral("^kestrunevpn_log_\\d{8}_\\d{6}\\.txt$"))
                     .match(name)
                     .hasMatch(),
                 qPrintable(name));
        Loger::close();
        QCOMPARE(readAll(logPath()), QByteArray("earlier\r\n"));
        QCOMPARE(linesOf(readAll(m_dir->filePath(name))).size(), 2);
    }
};

KESTRUNE_TEST_MAIN(TestLoger)
#include "tst_loger.moc"

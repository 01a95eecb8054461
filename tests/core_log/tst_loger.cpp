#include "core/loger.h"
#include "support/testmain.h"

#include <thread>
#include <vector>

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString BaseName = QStringLiteral("kestrunevpn_log");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Written with its modification time ageSecs before now.
void writeFile(const QString &path, const QByteArray &bytes, int ageSecs = 0)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSecs),
                             QFileDevice::FileModificationTime));
}

const QRegularExpression Stamp(
    QStringLiteral("^\\[\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\] "));

// The lines of a log split at CR LF, each stamp taken off.
QStringList linesOf(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines.replaceInStrings(Stamp, QString());
}

} // namespace

class TestLoger : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString logPath(QString end = ".txt") const { return m_dir->filePath(BaseName + end); }
    QString archivePath(int n) const { return logPath(QStringLiteral("_archieve_%1.txt").arg(n)); }
    QStringList logLines() const { return linesOf(readAll(logPath())); }
    void open() { Loger::init(m_dir->path(), false, true, BaseName); }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup()
    {
        Loger::close();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // What a run finds in the log before it: kept byte for byte unless it is not UTF-8,
    // and moved to the first free archive once it is past the size limit (archive 1
    // is taken already).
    void startKeepsOrArchivesTheEarlierLog_data()
    {
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<int>("archivedAs");
        const QByteArray limit = QByteArray(786430, 'x') + "\r\n";
        const QByteArray valid = "\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\xAD ";
        QTest::newRow("exactly the limit keeps appending") << limit << limit << 0;
        QTest::newRow("one byte over moves to the first free archive")
            << "y" + limit << "y" + limit << 2;
        QTest::newRow("Cyrillic and CJK stay byte for byte") << valid
                + "\r\n" << valid + "\r\n" << 0;
        QTest::newRow("beside them a Latin-1 byte becomes U+FFFD") << valid
                + "caf\xE9\r\n" << valid + "caf\xEF\xBF\xBD\r\n" << 0;
    }
    void startKeepsOrArchivesTheEarlierLog()
    {
        QFETCH(QByteArray, earlier);
        QFETCH(QByteArray, kept);
        QFETCH(int, archivedAs);
        Loger::setSizeLimit(786432);
        for (int n = 1; n < archivedAs; ++n)
            writeFile(archivePath(n), "older\r\n");
        writeFile(logPath(), earlier);
        open();
        const QByteArray log = readAll(logPath());
        QCOMPARE(archivedAs ? readAll(archivePath(archivedAs)) : log.left(kept.size()), kept);
        QCOMPARE(linesOf(archivedAs ? log : log.mid(kept.size())),
                 QStringList {"Application started"});
    }

    // A line written in pieces is one line and one signal; runs follow each other in one
    // file, and another writer's lines in between stay.
    void runsFollowEachOtherAndAnotherWritersLinesStay()
    {
        QFile other(logPath());
        QVERIFY(other.open(QIODevice::Append | QIODevice::Unbuffered));
        for (const char *run : {"first", "second"}) {
            open();
            QSignalSpy added(Loger::notifier(), &Loger::lineAdded);
            Loger::write(QStringLiteral("run "), true);
            Loger::write(run, false);
            Loger::endLine();
            QCOMPARE(added.size(), 1);
            QVERIFY(added.at(0).at(0).toString().contains(Stamp));
            other.write("other copy\r\n");
            Loger::close();
        }
        QCOMPARE(logLines(),
                 (QStringList {"Application started", "run first", "other copy", "Log file closed",
                               "", "Application started", "run second", "other copy",
                               "Log file closed", ""}));
    }

    // What listens to the log keeps listening when it starts a new file.
    void listenersStayAcrossANewFile()
    {
        QSignalSpy added(Loger::notifier(), &Loger::lineAdded);
        open();
        open();
        Loger::writeLine(QStringLiteral("in the new file"));
        QVERIFY(!added.isEmpty() && added.last().at(0).toString().endsWith("in the new file"));
    }

    // Archives dated after the open log (a clock set back) must not push it out.
    void removeOldFilesKeepsTheOpenLogAndTheNewestArchive()
    {
        open();
        for (int n = 1; n <= 3; ++n)
            writeFile(archivePath(n), "old\r\n", -3600 - n);
        // Matches the wildcard whatever the case handling, never the exact pattern.
        writeFile(m_dir->filePath(QStringLiteral("KESTRUNEVPN_LOG_0.txt")), "other\r\n", 1000);
        Loger::removeOldFiles(1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files, QDir::Name),
                 (QStringList {"KESTRUNEVPN_LOG_0.txt", BaseName + ".txt",
                               BaseName + "_archieve_3.txt"}));
    }

    void fourThreadsNeverTearALine()
    {
        open();
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t)
            writers.emplace_back([t] {
                for (int n = 0; n < 1000; ++n)
                    Loger::writeLine(QStringLiteral("thread %1 line %2").arg(t).arg(n));
            });
        for (auto &writer : writers)
            writer.join();
        const QStringList lines = logLines();
        QCOMPARE(lines.size(), 4001);
        // Each thread's lines arrive whole and in its own order.
        int next[4] = {};
        for (const QString &line : lines.mid(1)) {
            const int t = qBound(0, line.section(' ', 1, 1).toInt(), 3);
            QCOMPARE(line, QStringLiteral("thread %1 line %2").arg(t).arg(next[t]++));
        }
    }
};

KESTRUNE_TEST_MAIN(TestLoger)
#include "tst_loger.moc"

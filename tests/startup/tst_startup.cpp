#include "app/copypath.h"
#include "app/startup.h"
#include "core/loger.h"
#include "support/dialogrecorder.h"
#include "support/programfolder.h"
#include "support/testmain.h"
#include "ui/messagedialogs.h"

#include <csignal>

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QPushButton>
#include <QLockFile>
#include <QProcess>
#include <QTranslator>

using FileTree = QMap<QString, QByteArray>;

namespace {

void writeTree(const QString &root, const FileTree &tree)
{
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        QFile file(QDir(root).filePath(it.key()));
        QDir().mkpath(QFileInfo(file).absolutePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it->size());
    }
}

FileTree readTree(const QString &root)
{
    FileTree tree;
    for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            tree.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
    }
    return tree;
}

// The program's log in a data folder, line by line without the time stamps.
QStringList logLines(const QString &dataDir)
{
    QFile file(dataDir + "/logs/kestrunevpn_log.txt");
    return QString::fromUtf8(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray())
        .split("\r\n")
        .replaceInStrings(QRegularExpression("^\\[[^]]*\\] "), QString());
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DialogRecorder> m_dialogs;
    QString m_data, m_exe;
    const QLocale m_locale;

    StartState start(const QString &in) { return prepareStart(qApp, in, m_exe, showErrorDialog); }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath("data");
        m_exe = m_dir->filePath("program");
        m_dialogs = std::make_unique<DialogRecorder>(); // fails the test on any dialog
    }
    void cleanup()
    {
        Loger::close();
        qDeleteAll(qApp->findChildren<QTranslator *>()); // uninstalled as they go
        QLocale::setDefault(m_locale);
        m_dialogs.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    // Moving the data of an older version never loses a file: hidden files go along, and what
    // cannot be copied (the destination of c is taken by a folder) stays at the source.
    void copyPathKeepsWhatCannotBeCopied()
    {
        writeTree(m_dir->filePath("from"), {{"a", "a"}, {".b", "b"}, {"c", "c"}});
        writeTree(m_dir->filePath("to"), {{"a", "stale"}, {"c/in", "i"}});
        copyPath(m_dir->filePath("from"), m_dir->filePath("to"), true);
        QCOMPARE(readTree(m_dir->filePath("to")),
                 (FileTree {{"a", "a"}, {".b", "b"}, {"c/in", "i"}}));
        QCOMPARE(readTree(m_dir->filePath("from")), (FileTree {{"c", "c"}}));
    }

    // Versions compare as text, as they always have: "1.9.0" counts as newer than 1.24.0.
    // The language is read before the move.
    void olderVersionsMoveTheirData_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("moved");
        QTest::newRow("1.23.5 moves") << QByteArray("\nLastLaunchedVersion=1.23.5") << true;
        QTest::newRow("no version yet moves") << QByteArray() << true;
        QTest::newRow("1.24.0 stays") << QByteArray("\nLastLaunchedVersion=1.24.0") << false;
        QTest::newRow("1.9.0 stays") << QByteArray("\nLastLaunchedVersion=1.9.0") << false;
    }
    void olderVersionsMoveTheirData()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, moved);
        writeTree(m_data, {{"settings.ini", "[General]\nLanguage=5" + stored}});
        writeTree(m_exe, {{"settings.ini", "[General]\nMarker=program\n"}, {"temp/x.ovpn", "x"}});
        const StartState state = start(m_data);
        QVERIFY(state.lock);
        QCOMPARE(readTree(m_data).value("temp/x.ovpn"), moved ? "x" : QByteArray());
        QCOMPARE(readTree(m_data).value("settings.ini").contains("Marker=program"), moved);
        QCOMPARE(readTree(m_exe).isEmpty(), moved);
        // Qt's own catalogue (the message boxes' buttons) is embedded under the program's code.
        QCOMPARE(state.languageCode, QStringLiteral("ua"));
        QCOMPARE(QLocale(), QLocale(QLocale::Ukrainian, QLocale::Ukraine));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Скасувати"));
    }

    void dataInTheProgramFolderItselfStays()
    {
        writeTree(m_exe, {{"settings.ini", "[General]\nLanguage=0\n"}, {"logs/x.txt", "x"}});
        QVERIFY(start(m_exe).lock);
        QCOMPARE(readTree(m_exe).value("logs/x.txt"), QByteArray("x"));
        QVERIFY(QFileInfo::exists(m_exe + "/settings.ini"));
    }

    void secondStartInTheSameDataFolderIsRefused()
    {
        const StartState first = start(m_data);
        QVERIFY(first.lock && first.lock->isLocked());
        QCOMPARE(Loger::sizeLimit(), 786432);
        m_dialogs->expect();
        const StartState second = start(m_data);
        QVERIFY(second.refused && !second.lock);
        QCOMPARE(m_dialogs->dialogs().at(0).code, 13);
        QVERIFY(!m_dialogs->dialogs().at(0).parented);
        // The second start closes the first one's log in this process, then its own.
        QCOMPARE(logLines(m_data),
                 (QStringList {"Application started", "Log file closed", "", "Application started",
                               "Log file closed", "", ""}));
        QVERIFY(first.lock->isLocked());
    }

    // A start that cannot write its data folder or its log still runs, without a log; a lock
    // left by a process that has ended does not block it.
    void damagedDataFoldersStillStart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("logged");
        QProcess gone;
        gone.start("/bin/true", QStringList());
        QVERIFY(gone.waitForStarted(5000));
        const QByteArray pid = QByteArray::number(gone.processId());
        QVERIFY(gone.waitForFinished(5000));
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        QTest::newRow("data folder taken by a file") << "data" << QByteArray() << false << false;
        QTest::newRow("log file name taken by a folder")
            << "data/logs/kestrunevpn_log.txt/x" << QByteArray() << true << false;
        QTest::newRow("a lock left by a dead process")
            << "data/temp/corvane.lock" << pid + "\nkestrunevpn\n" + host + "\n"
            << true << true;
    }
    void damagedDataFoldersStillStart()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, content);
        QFETCH(bool, locked);
        QFETCH(bool, logged);
        writeTree(m_dir->path(), {{path, content}});
        const StartState state = start(m_data);
        QCOMPARE(bool(state.lock), locked);
        QVERIFY(!state.refused);
        QCOMPARE(Loger::currentFileName().isEmpty(), !logged);
        Loger::writeLine("nothing happens");
    }

    // Two real copies of the program, from a program folder of their own with the OpenVPN
    // stand-in so that the first one brings its window up. Without a tray (offscreen, or Xvfb
    // with no tray host) the first one, started minimised, waits in the taskbar, and the
    // refused second start brings it to the front.
    void secondProgramIsRefusedWhileTheFirstRuns()
    {
        ProgramFolder folder;
        QVERIFY(!folder.installStandIn().isEmpty());
        const QString program = folder.installCopy(KESTRUNEVPN_PROGRAM, "kestrunevpn");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", m_dir->filePath("home"));
        const QString data = m_dir->filePath("home/kestrune/kestrunevpn");
        writeTree(data, {{"settings.ini", "[General]\nStartMinimized=true\n"}});
        QProcess first, second;
        // The exit code of a copy asked to end as at a session's end; a crash adds 1000.
        const auto end = [](QProcess &copy) {
            ::kill(pid_t(copy.processId()), SIGTERM);
            return copy.waitForFinished(20000) ? copy.exitStatus() * 1000 + copy.exitCode() : -1;
        };
        first.setProcessEnvironment(env);
        first.start(program, QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(
            logLines(data).contains("Main window minimized to the taskbar: no system tray"), 20000);
        second.setProcessEnvironment(env);
        second.start(program, QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(
            logLines(data).contains("Main window brought to the front for another start"), 20000);
        // The refusal waits for the user; the request to end answers it.
        QTRY_COMPARE_WITH_TIMEOUT(logLines(data).count("Application started"), 2, 20000);
        QCOMPARE(end(second), 1);
        QCOMPARE(end(first), 0);
        QCOMPARE(logLines(data).count("Log file closed"), 2);
    }

    // Qt's catalogues load under every code of the program, so its own buttons speak the
    // user's language.
    void qtCataloguesTranslateStandardButtons_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("ru") << "ru" << "Отмена";
        QTest::newRow("cn") << "cn" << "取消";
        QTest::newRow("es") << "es" << "Cancelar";
        QTest::newRow("ua") << "ua" << "Скасувати";
    }
    void qtCataloguesTranslateStandardButtons()
    {
        QFETCH(QString, code);
        QFETCH(QString, cancel);
        QTranslator qt;
        QVERIFY(qt.load(":/loc/loc/qt/qt_" + code));
        QCOMPARE(qt.translate("QPlatformTheme", "Cancel"), cancel);
        QCOMPARE(installTranslators(qApp, code), 3);
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), cancel);
    }
};

KESTRUNE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"

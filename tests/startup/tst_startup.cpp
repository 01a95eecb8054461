#include "app/copypath.h"
#include "app/startup.h"
#include "core/languagecode.h"
#include "core/loger.h"
#include "support/dialogrecorder.h"
#include "support/programfolder.h"
#include "support/testmain.h"
#include "ui/appstyle.h"
#include "ui/messagedialogs.h"

#include <csignal>
#include <memory>

#include <QComboBox>
#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

using FileTree = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(FileTree)

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

// Ends a program the way the end of a session does; its exit code, or -1.
int endProgram(QProcess &program)
{
    ::kill(pid_t(program.processId()), SIGTERM);
    const bool ended
        = program.waitForFinished(20000) && program.exitStatus() == QProcess::NormalExit;
    return ended ? program.exitCode() : -1;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DialogRecorder> m_dialogs;
    QString m_data, m_exe;
    const QLocale m_locale;

    StartState start(const QString &dataDir)
    {
        return prepareStart(qApp, dataDir, m_exe, showErrorDialog);
    }

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath("data");
        m_exe = m_dir->filePath("program");
        QVERIFY(QDir().mkpath(m_exe));
        m_dialogs = std::make_unique<DialogRecorder>();
    }
    void cleanup()
    {
        Loger::close();
        for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(m_locale);
        m_dialogs.reset();
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void copyPathMovesTrees_data()
    {
        QTest::addColumn<FileTree>("source");
        QTest::addColumn<FileTree>("destination");
        QTest::addColumn<bool>("removeSource");
        QTest::addColumn<FileTree>("expected");
        QTest::addColumn<FileTree>("left");
        QTest::newRow("sub-folders and hidden files go along, replacing what is there")
            << FileTree {{"logs/old/b", "b"}, {"logs/.hidden", "h"}}
            << FileTree {{"logs/old/b", "stale"}, {"logs/c", "c"}} << true
            << FileTree {{"logs/old/b", "b"}, {"logs/.hidden", "h"}, {"logs/c", "c"}}
            << FileTree {};
        QTest::newRow("without removal the source stays")
            << FileTree {{"logs/x", "x"}} << FileTree {} << false << FileTree {{"logs/x", "x"}}
            << FileTree {{"logs/x", "x"}};
        // The destination of b is taken by a folder: b must survive at the source.
        QTest::newRow("what cannot be copied stays at the source")
            << FileTree {{"logs/a", "a"}, {"logs/b", "b"}} << FileTree {{"logs/b/in", "i"}} << true
            << FileTree {{"logs/a", "a"}, {"logs/b/in", "i"}} << FileTree {{"logs/b", "b"}};
    }
    void copyPathMovesTrees()
    {
        QFETCH(FileTree, source);
        QFETCH(FileTree, destination);
        QFETCH(bool, removeSource);
        QFETCH(FileTree, expected);
        QFETCH(FileTree, left);
        writeTree(m_dir->filePath("from"), source);
        writeTree(m_dir->filePath("to"), destination);
        copyPath(m_dir->filePath("from/logs"), m_dir->filePath("to/logs"), removeSource);
        QCOMPARE(readTree(m_dir->filePath("to")), expected);
        QCOMPARE(readTree(m_dir->filePath("from")), left);
    }

    // Versions compare as text, as they always have: "1.9.0" counts as newer than 1.24.0.
    void olderVersionsMoveTheirData_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("moved");
        QTest::newRow("1.23.5 moves") << "1.23.5" << true;
        QTest::newRow("no version yet moves") << QString() << true;
        QTest::newRow("1.24.0 stays") << "1.24.0" << false;
        QTest::newRow("1.9.0 stays") << "1.9.0" << false;
    }
    void olderVersionsMoveTheirData()
    {
        QFETCH(QString, stored);
        QFETCH(bool, moved);
        const QByteArray version = stored.isNull() ? "" : "LastLaunchedVersion=" + stored.toUtf8();
        writeTree(m_data, {{"settings.ini", "[General]\nMarker=data\nLanguage=4\n" + version}});
        writeTree(m_exe,
                  {{"settings.ini", "[General]\nMarker=program\n"},
                   {"logs/openvpn_log.txt", "vpn"},
                   {"temp/ss_config.json", "{}"}});
        const StartState state = start(m_data);
        QVERIFY(state.lock);
        QCOMPARE(readTree(m_data).value("temp/ss_config.json"), moved ? "{}" : QByteArray());
        QCOMPARE(readTree(m_exe).isEmpty(), moved);
        // The moved settings are the ones the start reads.
        QCOMPARE(
            QSettings(m_data + "/settings.ini", QSettings::IniFormat).value("Marker").toString(),
            moved ? "program" : "data");
        // The language is read before the move.
        QCOMPARE(state.languageCode, QStringLiteral("es"));
        QCOMPARE(QLocale(), QLocale(QLocale::Spanish, QLocale::Spain));
    }

    void dataInTheProgramFolderItselfStays()
    {
        writeTree(m_exe, {{"settings.ini", "[General]\nLanguage=0\n"}, {"logs/x.txt", "x"}});
        QVERIFY(start(m_exe).lock);
        QCOMPARE(readTree(m_exe).value("logs/x.txt"), QByteArray("x"));
        QVERIFY(QFileInfo::exists(m_exe + "/settings.ini"));
    }

    // The stored language gives the default locale and the catalogues, Qt's own included
    // ("Cancel", "Yes", "No" of the message boxes); other values follow the system, whose
    // locale name falls back to its language's catalogues.
    void languageGivesLocaleAndTranslations_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("locale"); // empty: the default locale is left alone
        QTest::addColumn<QString>("cancel");
        QTest::newRow("0 follows a Russian system") << 0 << "ru_RU"
                                                    << "" << QStringLiteral("Отмена");
        QTest::newRow("0 on a German system stays English") << 0 << "de_DE"
                                                            << ""
                                                            << "Cancel";
        QTest::newRow("2 English") << 2 << "ru_RU"
                                   << "en_US"
                                   << "Cancel";
        QTest::newRow("3 Chinese") << 3 << "de_DE"
                                   << "zh_CN" << QStringLiteral("取消");
        QTest::newRow("4 Spanish") << 4 << "de_DE"
                                   << "es_ES" << QStringLiteral("Cancelar");
        QTest::newRow("5 Ukrainian") << 5 << "de_DE"
                                     << "uk_UA" << QStringLiteral("Скасувати");
        QTest::newRow("6 follows the system") << 6 << "ru_RU"
                                              << "" << QStringLiteral("Отмена");
    }
    void languageGivesLocaleAndTranslations()
    {
        QFETCH(int, language);
        QFETCH(QString, system);
        QFETCH(QString, locale);
        QFETCH(QString, cancel);
        const LanguageChoice choice = languageChoice(language, QLocale(system));
        QCOMPARE(choice.setsDefaultLocale ? choice.locale.name() : QString(), locale);
        installTranslators(qApp, choice.code);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }

    void secondStartInTheSameDataFolderIsRefused()
    {
        const StartState first = start(m_data);
        QVERIFY(first.lock && first.lock->isLocked());
        QVERIFY(QFileInfo(m_data + "/temp").isDir());
        QCOMPARE(Loger::currentFileName(), m_data + "/logs/kestrunevpn_log.txt");
        QCOMPARE(Loger::sizeLimit(), 786432);
        m_dialogs->expect();
        const StartState second = start(m_data);
        QVERIFY(second.refused && !second.lock);
        QCOMPARE(m_dialogs->size(), 1);
        QCOMPARE(m_dialogs->dialogs().at(0).code, 13);
        QVERIFY(!m_dialogs->dialogs().at(0).parented);
        // The second start closes the first one's log in this process, then its own.
        QCOMPARE(logLines(m_data),
                 (QStringList {"Application started", "Log file closed", "", "Application started",
                               "Log file closed", "", ""}));
        QVERIFY(first.lock->isLocked());
    }

    void aLockLeftByADeadProcessDoesNotBlock()
    {
        QProcess gone;
        gone.start("/bin/true", QStringList());
        QVERIFY(gone.waitForStarted(5000));
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished(5000));
        writeTree(m_data,
                  {{"temp/corvane.lock",
                    QByteArray::number(pid) + "\nkestrunevpn\n"
                        + QSysInfo::machineHostName().toUtf8() + "\n"}});
        const StartState state = start(m_data);
        QVERIFY(state.lock && state.lock->isLocked());
    }

    void badDataFoldersStillStart_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("data folder cannot be created") << "file in the way";
        QTest::newRow("log file name taken by a folder") << "log is a folder";
    }
    void badDataFoldersStillStart()
    {
        QFETCH(QString, damage);
        writeTree(m_dir->path(), {{"blocker", "x"}});
        if (damage == "log is a folder")
            QVERIFY(QDir().mkpath(m_data + "/logs/kestrunevpn_log.txt"));
        const StartState state
            = start(damage == "log is a folder" ? m_data : m_dir->filePath("blocker/data"));
        QVERIFY(!state.refused);
        QCOMPARE(Loger::currentFileName(), QString());
        Loger::writeLine("nothing happens");
    }

    // The window's flat look relies on a combo box opening its list below itself.
    void appStyleOpensComboListsBelow()
    {
        QComboBox combo;
        QCOMPARE(AppStyle().styleHint(QStyle::SH_ComboBox_Popup, nullptr, &combo), 0);
    }

    // Two real copies of the program, from a program folder of their own with the OpenVPN
    // stand-in so that the first one brings its window up.
    void secondProgramIsRefusedWhileTheFirstRuns()
    {
        ProgramFolder folder;
        folder.installStandIn();
        const QString program = folder.installCopy(KESTRUNEVPN_PROGRAM, "kestrunevpn");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", m_dir->filePath("home"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        const QString data = m_dir->filePath("home/kestrune/kestrunevpn");
        QProcess first, second;
        for (QProcess *copy : {&first, &second}) {
            copy->setProcessEnvironment(env);
            copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        }
        first.start(program, QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(logLines(data).contains("Main window created"), 20000);
        second.start(program, QStringList());
        // The refusal waits for the user; the system's request to end answers it.
        QTRY_COMPARE_WITH_TIMEOUT(logLines(data).count("Application started"), 2, 20000);
        QCOMPARE(endProgram(second), 1);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(endProgram(first), 0);
        QCOMPARE(folder.running("kestrunevpn"), QList<qint64>());
        QCOMPARE(
            logLines(data).filter(QRegularExpression("^(Application started|Log file closed|)$")),
            (QStringList {"Application started", "Application started", "Log file closed", "",
                          "Log file closed", "", ""}));
    }
};

KESTRUNE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"

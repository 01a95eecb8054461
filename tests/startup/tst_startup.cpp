#include "app/copypath.h"
#include "core/languagecode.h"
#include "app/startup.h"
#include "core/loger.h"
#include "support/testmain.h"
#include "ui/appstyle.h"

#include <csignal>

#include <QComboBox>
#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTranslator>

using FileTree = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(FileTree)

namespace {

const QString LogName = QStringLiteral("logs/kestrunevpn_log.txt");

void writeTree(const QString &root, const FileTree &tree)
{
    for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
        const QString path = QDir(root).filePath(it.key());
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(it.value());
    }
}

FileTree readTree(const QString &root)
{
    FileTree tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            tree.insert(QDir(root).relativeFilePath(path), file.readAll());
    }
    return tree;
}

// The lines that open and close a run, in their order; what a run logs in between is the
// window's business.
QStringList runBoundaries(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (line.isEmpty() || line == QLatin1String("Application started")
            || line == QLatin1String("Log file closed"))
            kept << line;
    }
    return kept;
}

QStringList logLines(const QString &dataDir)
{
    QFile file(QDir(dataDir).filePath(LogName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    for (QString &line : lines)
        line.remove(QRegularExpression(QStringLiteral("^\\[[^]]*\\] ")));
    return lines;
}

struct DialogCall
{
    int code = -1;
    QStringList args;
    QWidget *parent = nullptr;
};

// The program as a user starts it, with its data folder below `home`.
struct Program
{
    QProcess process;

    explicit Program(const QString &home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    bool start()
    {
        process.start(QStringLiteral(KESTRUNEVPN_PROGRAM), QStringList());
        return process.waitForStarted(10000);
    }
    // Asks the program to end the way a session's end does.
    bool terminate(int timeoutMs)
    {
        ::kill(pid_t(process.processId()), SIGTERM);
        return process.waitForFinished(timeoutMs);
    }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    QString m_data;
    QString m_exe;
    QList<DialogCall> m_dialogs;
    QLocale m_locale;

    StartErrorDialog recorder()
    {
        return [this](const int &code, const QStringList &args, QWidget *parent) {
            m_dialogs.append({code, args, parent});
        };
    }

private slots:
    void initTestCase()
    {
        KestruneTest::guardQtWarnings();
        m_locale = QLocale();
    }

    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_data = m_dir->filePath(QStringLiteral("data"));
        m_exe = m_dir->filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(m_exe));
        m_dialogs.clear();
    }

    void cleanup()
    {
        Loger::close();
        const QList<QTranslator *> translators = qApp->findChildren<QTranslator *>();
        for (QTranslator *translator : translators) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(m_locale);
        delete m_dir;
        m_dir = nullptr;
        KESTRUNE_VERIFY_NO_QT_WARNINGS();
    }

    void copyPathMovesTrees_data()
    {
        QTest::addColumn<FileTree>("source");
        QTest::addColumn<FileTree>("destination");
        QTest::addColumn<bool>("removeSource");
        QTest::addColumn<FileTree>("expected");
        QTest::addColumn<bool>("sourceLeft");
        QTest::newRow("an existing destination file is replaced")
            << FileTree {{"settings.ini", "new"}} << FileTree {{"settings.ini", "old"}} << true
            << FileTree {{"settings.ini", "new"}} << false;
        QTest::newRow("a missing source changes nothing")
            << FileTree {} << FileTree {{"settings.ini", "kept"}} << true
            << FileTree {{"settings.ini", "kept"}} << false;
        QTest::newRow("folders are copied with their sub-folders and the source goes")
            << FileTree {{"logs/a.txt", "a"}, {"logs/old/b.txt", "b"}, {"logs/.hidden", "h"}}
            << FileTree {{"logs/a.txt", "stale"}, {"logs/c.txt", "c"}} << true
            << FileTree {{"logs/a.txt", "a"},
                         {"logs/old/b.txt", "b"},
                         {"logs/.hidden", "h"},
                         {"logs/c.txt", "c"}}
            << false;
        QTest::newRow("without removal the source stays")
            << FileTree {{"temp/x.ovpn", "x"}} << FileTree {} << false
            << FileTree {{"temp/x.ovpn", "x"}} << true;
    }
    void copyPathMovesTrees()
    {
        QFETCH(FileTree, source);
        QFETCH(FileTree, destination);
        QFETCH(bool, removeSource);
        QFETCH(FileTree, expected);
        QFETCH(bool, sourceLeft);
        const QString from = m_dir->filePath(QStringLiteral("from"));
        const QString to = m_dir->filePath(QStringLiteral("to"));
        writeTree(from, source);
        writeTree(to, destination);
        QDir().mkpath(to);
        const QString entry = source.isEmpty() ? QStringLiteral("settings.ini")
                                               : source.firstKey().section(QLatin1Char('/'), 0, 0);
        copyPath(QDir(from).filePath(entry), QDir(to).filePath(entry), removeSource);
        QCOMPARE(readTree(to), expected);
        QCOMPARE(QFileInfo::exists(QDir(from).filePath(entry)), sourceLeft);
    }

    void copyPathKeepsWhatItCannotCopy()
    {
        // The destination of one file is taken by a folder: that file must survive at the
        // source, and so must its folder.
        const QString from = m_dir->filePath(QStringLiteral("from/logs"));
        const QString to = m_dir->filePath(QStringLiteral("to/logs"));
        writeTree(from, {{"a.txt", "a"}, {"b.txt", "b"}});
        QVERIFY(QDir().mkpath(to + QStringLiteral("/b.txt/inside")));
        copyPath(from, to, true);
        QCOMPARE(readTree(from), (FileTree {{"b.txt", "b"}}));
        QCOMPARE(readTree(to).value(QStringLiteral("a.txt")), QByteArray("a"));
    }

    void olderVersionsMoveTheirData_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("moved");
        QTest::newRow("1.23.5 moves") << QVariant(QStringLiteral("1.23.5")) << true;
        QTest::newRow("no version yet moves") << QVariant() << true;
        QTest::newRow("an empty version moves") << QVariant(QString()) << true;
        QTest::newRow("1.24.0 stays") << QVariant(QStringLiteral("1.24.0")) << false;
        QTest::newRow("1.26.0 stays") << QVariant(QStringLiteral("1.26.0")) << false;
        QTest::newRow("1.9.0 sorts after 1.24.0 as text and stays")
            << QVariant(QStringLiteral("1.9.0")) << false;
    }
    void olderVersionsMoveTheirData()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, moved);
        QCOMPARE(needsDataMove(stored.toString()), moved);

        {
            QSettings settings(QDir(m_data).filePath(QStringLiteral("settings.ini")),
                               QSettings::IniFormat);
            settings.setValue(QStringLiteral("Marker"), QStringLiteral("data"));
            if (stored.isValid())
                settings.setValue(QStringLiteral("LastLaunchedVersion"), stored);
        }
        writeTree(m_exe,
                  {{"settings.ini", "[General]\nMarker=program\n"},
                   {"logs/openvpn_log.txt", "vpn"},
                   {"temp/ss_config.json", "{}"}});
        const StartState state = prepareStart(qApp, m_data, m_exe, recorder());
        QVERIFY(!state.refused);

        const FileTree data = readTree(m_data);
        QCOMPARE(data.contains(QStringLiteral("logs/openvpn_log.txt")), moved);
        QCOMPARE(data.contains(QStringLiteral("temp/ss_config.json")), moved);
        QSettings settings(QDir(m_data).filePath(QStringLiteral("settings.ini")),
                           QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Marker")).toString(),
                 moved ? QStringLiteral("program") : QStringLiteral("data"));
        QCOMPARE(readTree(m_exe).isEmpty(), moved);
    }

    void dataInTheProgramFolderItselfStays()
    {
        writeTree(m_exe, {{"settings.ini", "[General]\nLanguage=0\n"}, {"logs/x.txt", "x"}});
        const StartState state = prepareStart(qApp, m_exe, m_exe, recorder());
        QVERIFY(!state.refused);
        QCOMPARE(readTree(m_exe).value(QStringLiteral("logs/x.txt")), QByteArray("x"));
        QVERIFY(QFileInfo::exists(QDir(m_exe).filePath(QStringLiteral("settings.ini"))));
    }

    void languageValuesGiveCodesAndLocales_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("setsLocale");
        QTest::addColumn<QLocale>("locale");
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("0 follows the system") << 0 << "de_DE" << false << german;
        QTest::newRow("1 Russian")
            << 1 << "ru" << true << QLocale(QLocale::Russian, QLocale::Russia);
        QTest::newRow("2 English")
            << 2 << "en" << true << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("3 Chinese")
            << 3 << "cn" << true << QLocale(QLocale::Chinese, QLocale::China);
        QTest::newRow("4 Spanish")
            << 4 << "es" << true << QLocale(QLocale::Spanish, QLocale::Spain);
        QTest::newRow("5 Ukrainian")
            << 5 << "ua" << true << QLocale(QLocale::Ukrainian, QLocale::Ukraine);
        QTest::newRow("6 follows the system") << 6 << "de_DE" << false << german;
        QTest::newRow("-1 follows the system") << -1 << "de_DE" << false << german;
    }
    void languageValuesGiveCodesAndLocales()
    {
        QFETCH(int, language);
        QFETCH(QString, code);
        QFETCH(bool, setsLocale);
        QFETCH(QLocale, locale);
        const LanguageChoice choice
            = languageChoice(language, QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(choice.code, code);
        QCOMPARE(choice.setsDefaultLocale, setsLocale);
        QCOMPARE(choice.locale, locale);
    }

    void storedLanguageSetsTheDefaultLocale()
    {
        writeTree(m_data, {{"settings.ini", "[General]\nLanguage=4\n"}});
        const StartState state = prepareStart(qApp, m_data, m_exe, recorder());
        QCOMPARE(state.languageCode, QStringLiteral("es"));
        QCOMPARE(QLocale(), QLocale(QLocale::Spanish, QLocale::Spain));
    }

    void translationsFollowTheCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("translated");
        QTest::newRow("ru") << QStringLiteral("ru") << true;
        QTest::newRow("ru_RU falls back to ru") << QStringLiteral("ru_RU") << true;
        QTest::newRow("cn") << QStringLiteral("cn") << true;
        QTest::newRow("a German system stays English") << QStringLiteral("de_DE") << false;
    }
    void translationsFollowTheCode()
    {
        QFETCH(QString, code);
        QFETCH(bool, translated);
        const int loaded = installTranslators(qApp, code);
        QCOMPARE(loaded > 0, translated);
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QCOMPARE(cancel != QLatin1String("Cancel"), translated);
    }

    void startOpensTheLogAndTakesTheLock()
    {
        const StartState state = prepareStart(qApp, m_data, m_exe, recorder());
        QVERIFY(!state.refused);
        QVERIFY(state.lock && state.lock->isLocked());
        QVERIFY(QFileInfo(QDir(m_data).filePath(QStringLiteral("temp"))).isDir());
        QCOMPARE(QFileInfo(Loger::currentFileName()).canonicalFilePath(),
                 QFileInfo(QDir(m_data).filePath(LogName)).canonicalFilePath());
        QCOMPARE(Loger::sizeLimit(), 786432);
        QCOMPARE(logLines(m_data).value(0), QStringLiteral("Application started"));
        QVERIFY(m_dialogs.isEmpty());
    }

    void secondStartIsRefusedWithCode13()
    {
        const StartState first = prepareStart(qApp, m_data, m_exe, recorder());
        QVERIFY(first.lock);
        const StartState second = prepareStart(qApp, m_data, m_exe, recorder());
        QVERIFY(second.refused);
        QVERIFY(!second.lock);
        QCOMPARE(m_dialogs.size(), 1);
        QCOMPARE(m_dialogs.first().code, 13);
        QCOMPARE(m_dialogs.first().parent, nullptr);
        const QStringList lines = logLines(m_data);
        QCOMPARE(lines.mid(lines.size() - 4),
                 (QStringList {"Application started", "Log file closed", "", ""}));
        QVERIFY(first.lock->isLocked());
    }

    void aLockLeftByADeadProcessDoesNotBlock()
    {
        QProcess gone;
        gone.start(QStringLiteral("/bin/true"), QStringList());
        QVERIFY(gone.waitForStarted(5000));
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished(5000));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(deadPid)));
        writeTree(m_data,
                  {{"temp/corvane.lock",
                    QByteArray::number(deadPid) + "\nkestrunevpn\n"
                        + QSysInfo::machineHostName().toUtf8() + "\n"}});
        const StartState state = prepareStart(qApp, m_data, m_exe, recorder());
        QVERIFY(!state.refused);
        QVERIFY(state.lock && state.lock->isLocked());
        QVERIFY(m_dialogs.isEmpty());
    }

    void badDataFoldersStillStart_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("data folder cannot be created") << QStringLiteral("file in the way");
        QTest::newRow("log file name taken by a folder") << QStringLiteral("log is a folder");
    }
    void badDataFoldersStillStart()
    {
        QFETCH(QString, damage);
        QString data = m_data;
        if (damage == QLatin1String("file in the way")) {
            writeTree(m_dir->path(), {{"blocker", "x"}});
            data = m_dir->filePath(QStringLiteral("blocker/data"));
        } else {
            QVERIFY(QDir().mkpath(QDir(m_data).filePath(LogName)));
        }
        const StartState state = prepareStart(qApp, data, m_exe, recorder());
        QVERIFY(!state.refused);
        QVERIFY(m_dialogs.isEmpty());
        QCOMPARE(Loger::currentFileName(), QString());
        Loger::writeLine(QStringLiteral("nothing happens"));
    }

    void appStyleOpensComboListsBelow()
    {
        AppStyle style;
        QComboBox combo;
        QCOMPARE(style.styleHint(QStyle::SH_ComboBox_Popup, nullptr, &combo), 0);
        QCOMPARE(style.styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons),
                 style.baseStyle()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons));
    }

    void secondProgramIsRefusedWhileTheFirstRuns()
    {
        const QString home = m_dir->filePath(QStringLiteral("home"));
        const QString data = home + QStringLiteral("/kestrune/kestrunevpn");
        Program first(home);
        QVERIFY(first.start());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(data + QStringLiteral("/temp/corvane.lock")),
                                 20000);
        QTRY_COMPARE_WITH_TIMEOUT(logLines(data).value(0), QStringLiteral("Application started"),
                                  20000);

        Program second(home);
        QVERIFY(second.start());
        // The refusal waits for the user; the system's request to end answers it.
        QTRY_COMPARE_WITH_TIMEOUT(logLines(data).count(QStringLiteral("Application started")), 2,
                                  20000);
        QVERIFY(second.terminate(20000));
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process.exitCode(), 1);
        QCOMPARE(runBoundaries(logLines(data)),
                 (QStringList {"Application started", "Application started", "Log file closed", "",
                               ""}));
        QCOMPARE(first.process.state(), QProcess::Running);

        QVERIFY(first.terminate(20000));
        QCOMPARE(first.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(first.process.exitCode(), 0);
        QCOMPARE(runBoundaries(logLines(data)).mid(4), (QStringList {"Log file closed", "", ""}));
    }

    void programWithItsLogNameTakenStillRuns()
    {
        const QString home = m_dir->filePath(QStringLiteral("home"));
        const QString data = home + QStringLiteral("/kestrune/kestrunevpn");
        QVERIFY(QDir().mkpath(QDir(data).filePath(LogName)));
        Program program(home);
        QVERIFY(program.start());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(data + QStringLiteral("/temp/corvane.lock")),
                                 20000);
        QCOMPARE(program.process.state(), QProcess::Running);
        QVERIFY(program.terminate(20000));
        QCOMPARE(program.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.process.exitCode(), 0);
        QVERIFY(QFileInfo(QDir(data).filePath(LogName)).isDir());
    }
};

KESTRUNE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"

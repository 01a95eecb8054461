#include "startup.h"

#include "app/commandline.h"
#include "app/copypath.h"
#include "app/instancechannel.h"
#include "core/languagecode.h"
#include "window/mainwindow.h"
#include "core/loger.h"
#include "system/platform.h"
#include "system/terminationwatcher.h"
#include "ui/appstyle.h"
#include "ui/messagedialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace {

const char *const DataMoveVersion = "1.24.0";
const char *const LockFileName = "temp/corvane.lock";
const qint32 LogSizeLimit = 786432;
const int ErrorAlreadyRunning = 13;
const int ShowRequestTimeoutMs = 1000;

struct StoredStart
{
    int language = 0;
    QString lastLaunchedVersion;
};

StoredStart readStoredStart(const QString &dataDir)
{
    QSettings settings(QDir(dataDir).filePath(QStringLiteral("settings.ini")),
                       QSettings::IniFormat);
    StoredStart stored;
    stored.language = settings.value(QStringLiteral("Language"), 0).toInt();
    settings.sync();
    stored.lastLaunchedVersion
        = settings.value(QStringLiteral("LastLaunchedVersion"), QString()).toString();
    return stored;
}

bool sameFolder(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() ? ca == cb : QDir::cleanPath(a) == QDir::cleanPath(b);
}

void moveOldData(const QString &executableDir, const QString &dataDir)
{
    if (sameFolder(executableDir, dataDir))
        return;
    const QDir from(executableDir);
    const QDir to(dataDir);
    for (const char *name : {"logs", "temp", "settings.ini"}) {
        const QString entry = QString::fromLatin1(name);
        copyPath(from.filePath(entry), to.filePath(entry), true);
    }
}

bool &terminationRequested()
{
    static bool requested = false;
    return requested;
}

// A system request to end the program closes what waits for the user, then the event loop.
void closeModalDialogsAndQuit()
{
    terminationRequested() = true;
    for (int guard = 0; guard < 32; ++guard) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
    QCoreApplication::quit();
}

} // namespace

QString findDataFolder()
{
    const QString location
        = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).value(0);
    return location.isEmpty() ? QCoreApplication::applicationDirPath() : location;
}

bool needsDataMove(const QString &lastLaunchedVersion)
{
    return lastLaunchedVersion < QLatin1String(DataMoveVersion);
}

int installTranslators(QCoreApplication *app, const QString &code)
{
    const QStringList files = {QStringLiteral(":/loc/loc/qt/qt_%0").arg(code),
                               QStringLiteral(":/loc/loc/qt/qtbase_%0").arg(code),
                               QStringLiteral(":/loc/loc/loc_") + code};
    int loaded = 0;
    for (const QString &file : files) {
        auto *translator = new QTranslator(app);
        if (translator->load(file)) {
            QCoreApplication::installTranslator(translator);
            ++loaded;
        } else {
            delete translator;
        }
    }
    return loaded;
}

StartState prepareStart(QCoreApplication *app, const QString &dataDir, const QString &executableDir,
                        const StartErrorDialog &showError)
{
    StartState state;
    const QDir data(dataDir);
    // A folder that cannot be made is not reported: the log stays off and the settings
    // keep their defaults.
    // temp/ holds what OpenVPN and the mirror tool read with administrator rights.
    Platform::instance().makeOwnerOnlyFolder(data.filePath(QStringLiteral("temp")));
    data.mkpath(QStringLiteral("logs"));

    const StoredStart stored = readStoredStart(dataDir);
    const LanguageChoice language = languageChoice(stored.language, QLocale::system());
    if (language.setsDefaultLocale)
        QLocale::setDefault(language.locale);
    state.languageCode = language.code;
    if (needsDataMove(stored.lastLaunchedVersion))
        moveOldData(executableDir, dataDir);

    state.translatorsLoaded = installTranslators(app, language.code);

    Loger::setSizeLimit(LogSizeLimit);
    Loger::init(data.filePath(QStringLiteral("logs")), false, true,
                QStringLiteral("kestrunevpn_log"));
    Loger::removeOldFiles(1);

    const QString lockPath = data.filePath(QLatin1String(LockFileName));
    auto lock = std::make_unique<QLockFile>(lockPath);
    const QString channelName = InstanceChannel::nameFor(lockPath);
    if (lock->tryLock(100)) {
        state.lock = std::move(lock);
        state.channel = std::make_unique<InstanceChannel>();
        if (!state.channel->listen(channelName)) {
            Loger::writeLine(
                QStringLiteral("Single-instance channel unavailable: %0").arg(channelName));
            state.channel.reset();
        }
        return state;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        // The lock file cannot be written at all (no data folder): nothing tells whether
        // another copy runs, and refusing would lock the user out for good.
        Loger::writeLine(QStringLiteral("Single-instance lock unavailable: %0")
                             .arg(QDir::toNativeSeparators(lockPath)));
        return state;
    }
    state.refused = true;
    InstanceChannel::askToShow(channelName, ShowRequestTimeoutMs);
    if (showError)
        showError(ErrorAlreadyRunning, {}, nullptr);
    Loger::close();
    return state;
}

int runApplication(int argc, char *argv[])
{
    // Command-line tools neither take the single-instance lock nor build a window.
    if (const int toolResult = runCommandLineTool(argc, argv); toolResult >= 0)
        return toolResult;
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::addLibraryPath(QStringLiteral("lib"));

    QApplication app(argc, argv);
    QApplication::setStyle(new AppStyle);
    TerminationWatcher watcher;
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &app,
                     closeModalDialogsAndQuit);

    QCoreApplication::setOrganizationName(QStringLiteral("kestrune"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrunevpn"));
    const QString dataDir = findDataFolder();
    // A request to end that came before the refusal could be shown needs no answer.
    const auto refusalDialog = [](const int &code, const QStringList &args, QWidget *parent) {
        if (!terminationRequested())
            showErrorDialog(code, args, parent);
    };
    const StartState state
        = prepareStart(&app, dataDir, QCoreApplication::applicationDirPath(), refusalDialog);
    if (state.refused)
        return 1;

    MainWindow window(dataDir);
    if (state.channel)
        QObject::connect(state.channel.get(), SIGNAL(showRequested()), &window,
                         SLOT(showAtAnotherStart()));
    const int result = app.exec();
    // The tray's Quit closes the log itself; this covers an end asked for by the system.
    Loger::close();
    return result;
}

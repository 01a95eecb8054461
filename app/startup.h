#pragma once

#include <functional>
#include <memory>

#include "app/instancechannel.h"

#include <QString>
#include <QStringList>

class QCoreApplication;
class QLockFile;
class QWidget;

// The entry point's steps: prepare the application, the data folder, translations, log
// and single-instance lock, then run the one main window. The result is the exit code.
int runApplication(int argc, char *argv[]);

// The data folder: the platform's first application-data location for the organisation
// and application names already set, else the executable's folder.
QString findDataFolder();

// The dialog that tells the user about a refused start; the product passes showErrorDialog.
using StartErrorDialog = std::function<void(const int &, const QStringList &, QWidget *)>;

struct StartState
{
    // Another instance holds the lock: the user has been told and the log is closed.
    bool refused = false;
    // The single-instance lock, held for as long as this object lives. Empty when the lock
    // file could not be made at all (an unwritable data folder): the program still runs.
    std::unique_ptr<QLockFile> lock;
    // Where later starts ask for the window; empty without the lock or when the name is taken.
    std::unique_ptr<InstanceChannel> channel;
    QString languageCode;
    int translatorsLoaded = 0;
};

// Everything between naming the application and building the main window, for an
// application object that exists already. A refused start first asks the running copy to
// bring its window to the front, then tells the user.
StartState prepareStart(QCoreApplication *app, const QString &dataDir, const QString &executableDir,
                        const StartErrorDialog &showError);

// True when data of a version before 1.24.0 may still lie in the executable's folder.
// Versions compare as text, as they always have: "1.9.0" counts as newer.
bool needsDataMove(const QString &lastLaunchedVersion);

// Loads the three catalogues for `code` (Qt's, Qt base's, the program's) and installs
// those found; returns how many were found.
int installTranslators(QCoreApplication *app, const QString &code);

// MainWindow: the orderly quit, the only way the program ends in normal use.

#include "core/loger.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

// A running availability check ends within its probes' time limits; the quit never waits
// longer than this for it.
const int AvailabilityCheckWaitMs = 60000;
} // namespace

void MainWindow::aboutToQuit()
{
    if (quitting)
        return;
    quitting = true;
    Loger::writeLine(tr("Application is shutting down"));

    connection->shutDown();

    if (settingsUnapplied)
        applySettingsOnQuit();

    if (availCheckRunning) {
        // Probes cut short count as reachable and end at once: the quit does not wait for
        // the time limits of a long list.
        emit serverAvailCheckAbort();
        QEventLoop loop;
        connect(this, SIGNAL(continueSignal()), &loop, SLOT(quit()));
        QTimer::singleShot(AvailabilityCheckWaitMs, &loop, SLOT(quit()));
        loop.exec();
    }

    if (trayIcon)
        trayIcon->hide();
    Loger::close();
    QApplication::quit();
}

// Leaving the settings page by quitting applies what was changed there, as leaving it by its
// Back button does.
void MainWindow::applySettingsOnQuit()
{
    applySettings();
}

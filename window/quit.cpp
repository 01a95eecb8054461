// MainWindow: the orderly quit, the only way the program ends in normal use.

#include "window/mainwindow.h"
#include "core/loger.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace {

// A running availability check ends within its probes' time limits; the quit never waits
// longer than this for it.
const int AvailabilityCheckWaitMs = 60000;
// A controller thread whose OpenVPN has already stopped ends at once.
const int ThreadEndWaitMs = 10000;

} // namespace

void MainWindow::aboutToQuit()
{
    if (quitting)
        return;
    quitting = true;
    Loger::writeLine(tr("Application is shutting down"));

    stopConnection(true);

    // The controllers are deleted on their threads as these end; the threads are joined
    // here, so that nothing can reach a controller that is gone.
    for (QThread *thread : {vpnThread, ssThread}) {
        if (thread && thread->isRunning())
            thread->quit();
    }
    for (QThread *thread : {vpnThread, ssThread}) {
        if (thread)
            thread->wait(ThreadEndWaitMs);
    }
    vpnProcess = nullptr;
    ssProcess = nullptr;

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

// MainWindow: the availability check of a fresh server list, which drops the servers that do
// not answer before the lists are filled and a server is chosen automatically.

#include "core/loger.h"
#include "engine/serverconnectcheckerthreadlauncher.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <algorithm>

#include <QEventLoop>
#include <QHash>
#include <QPair>
#include <QThread>
#include <QTimer>

namespace {

const int AvailabilityMaxRunning = 5;
const int AvailabilityDotsMs = 500;

} // namespace

void MainWindow::startServerAvailabilityCheck()
{
    ui->vpnConChangeSubButton->setEnabled(false);
    ui->vpnConAutoChoiceButton->setEnabled(false);
    ui->vpnConManualChoiceButton->setEnabled(false);
    ui->vpnConCheckServAvailLabel->setText(checkServersTemplate.arg(0).arg(servers.size()));
    ui->vpnConStatusStackedWidget->setCurrentIndex(Status_Checking);
    if (availDotsTimerId < 0)
        availDotsTimerId = startTimer(AvailabilityDotsMs, Qt::CoarseTimer);
    availCheckRunning = true;

    QList<QVariant> queue;
    queue.reserve(servers.size());
    for (const VPNServer &server : servers)
        queue.append(
            ServerConnectCheckerThreadLauncher::entry(server.id, server.ip, availCheckPort));
    availFinished = 0;
    availReachable = 0;
    availTotal = servers.size();

    // One series at a time. A series still running (a sign-in after a log-out during a check)
    // is cut short, and nothing it still reports reaches the window: its results would
    // count into this series and drop servers of the new list. Deleting its relay also
    // drops what it has reported already and is still queued.
    if (availSeries) {
        emit serverAvailCheckAbort();
        delete availSeries;
    }
    availSeries = new QObject(this);

    auto *launcher
        = new ServerConnectCheckerThreadLauncher(queue, AvailabilityMaxRunning, availCheckTimeout);
    auto *thread = new QThread;
    launcher->moveToThread(thread);
    connect(thread, SIGNAL(started()), launcher, SLOT(init()));
    connect(launcher, SIGNAL(finished()), thread, SLOT(quit()), Qt::DirectConnection);
    connect(thread, SIGNAL(finished()), thread, SLOT(deleteLater()));
    connect(
        thread, &QObject::destroyed, availSeries, [this]() { serverAvailCheckFinished(); },
        Qt::QueuedConnection);
    connect(
        launcher, &ServerConnectCheckerThreadLauncher::sendResult, availSeries,
        [this](int id, bool result) { serverAvailResultReceived(id, result); },
        Qt::QueuedConnection);
    connect(this, SIGNAL(serverAvailCheckAbort()), launcher, SLOT(abort()), Qt::QueuedConnection);
    // Kept only to end the series when the window goes first.
    availCheckThread = thread;
    thread->start();
}

void MainWindow::waitForServerAvailabilityCheck()
{
    if (!availCheckRunning)
        return;
    // Every probe ends within its time limit, five at a time.
    const int limitMs = (availTotal / AvailabilityMaxRunning + 2) * availCheckTimeout + 5000;
    QEventLoop loop;
    connect(this, SIGNAL(continueSignal()), &loop, SLOT(quit()));
    QTimer::singleShot(limitMs, &loop, SLOT(quit()));
    loop.exec();
}

void MainWindow::serverAvailResultReceived(int id, bool result)
{
    if (result) {
        ++availReachable;
    } else {
        for (int i = 0; i < servers.size(); ++i) {
            if (servers.at(i).id == id) {
                removeServerAt(i);
                break;
            }
        }
    }
    ++availFinished;
    ui->vpnConCheckServAvailLabel->setText(checkServersTemplate.arg(availFinished).arg(availTotal));
    if (availFinished == availTotal)
        endServerAvailabilityWait();
}

void MainWindow::serverAvailCheckFinished()
{
    availCheckRunning = false;
    // This runs from the relay itself.
    if (availSeries)
        availSeries->deleteLater();
    availSeries = nullptr;
    // A series with nothing in it (or one cut short) ends here.
    if (availFinished != availTotal || availTotal == 0)
        endServerAvailabilityWait();
    else
        emit continueSignal();
}

void MainWindow::endServerAvailabilityWait()
{
    if (availDotsTimerId >= 0) {
        killTimer(availDotsTimerId);
        availDotsTimerId = -1;
    }
    if (availFinished == availTotal) {
        refreshConnectionPage();
        Loger::writeLine(tr("Availability check finished, %0 of %1 servers are reachable")
                             .arg(availReachable)
                             .arg(availTotal));
    }
    emit continueSignal();
}

// Indexes into servers shift when one goes: the ones that point past it follow.
void MainWindow::removeServerAt(int index)
{
    servers.remove(index);
    auto shifted = [index](const QVector<int> &indexes) {
        if (std::none_of(indexes.cbegin(), indexes.cend(), [index](int k) { return k >= index; }))
            return indexes;
        QVector<int> kept;
        kept.reserve(indexes.size());
        for (int k : indexes) {
            if (k != index)
                kept.append(k > index ? k - 1 : k);
        }
        return kept;
    };
    // The servers of a city share one list, told apart by its data. Each is shifted once and
    // the shifted one shared again. The old lists are kept here until the end, so no new list
    // can take the address of one still to be looked up.
    QHash<const int *, QPair<QVector<int>, QVector<int>>> cityLists;
    for (VPNServer &server : servers) {
        server.doubleExits = shifted(server.doubleExits);
        server.favoriteExits = shifted(server.favoriteExits);
        const QVector<int> &city = qAsConst(server.sameCity);
        auto list = cityLists.find(city.constData());
        if (list == cityLists.end())
            list = cityLists.insert(city.constData(), qMakePair(city, shifted(city)));
        server.sameCity = list->second;
    }
    for (int *chosen : {&firstServerIndex, &secondServerIndex}) {
        if (*chosen == index)
            *chosen = -1;
        else if (*chosen > index)
            --*chosen;
    }
}

void MainWindow::endServerAvailabilityCheck()
{
    if (!availCheckThread)
        return;
    emit serverAvailCheckAbort();
    // The probes cut short report at once; their threads and the launcher's then end. One
    // that has not ended by then is left to end by itself: deleting a running thread would
    // abort the process.
    if (!availCheckThread->wait(availCheckEndWaitMs)) {
        Loger::writeLine(tr("Availability check still running at the end: left to end by itself"));
        return;
    }
    delete availCheckThread;
}

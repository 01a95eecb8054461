// MainWindow: the mirror tool's controller and its configuration reply.

#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "window/mainwindow.h"
#include "core/loger.h"
#include "engine/mirrorconfig.h"
#include "system/platform.h"
#include "ui/messagedialogs.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>

namespace {

// The tool reports listening within a few seconds; a start never waits longer than this.
const int ToolStartWaitMs = 15000;
// A reply with thousands of members logs the first names and a count of the rest.
const int LoggedDroppedMembers = 20;

// Logs what the rebuild left out or found unusable; true when the configuration can be used.
bool logMirrorConfig(const MirrorConfig &rebuilt)
{
    for (const QString &name : rebuilt.dropped.mid(0, LoggedDroppedMembers))
        Loger::writeLine(MainWindow::tr("[10]: dropped member \"%1\" of the mirror tool "
                                        "configuration")
                             .arg(name));
    if (rebuilt.dropped.size() > LoggedDroppedMembers)
        Loger::writeLine(MainWindow::tr("[10]: dropped %1 more members of the mirror tool "
                                        "configuration")
                             .arg(rebuilt.dropped.size() - LoggedDroppedMembers));
    if (!rebuilt.unusable.isEmpty())
        Loger::writeLine(MainWindow::tr("[10]: missing or unusable member \"%1\" in the mirror "
                                        "tool configuration")
                             .arg(rebuilt.unusable));
    return !rebuilt.text.isEmpty();
}

} // namespace

void MainWindow::setupMirrorTool()
{
    if (ssProcess)
        return;
    ssThread = new QThread(this);
    ssProcess = new ShadowsocksProcess();
    ssProcess->toolDir = ssDir;
    ssProcess->configPath = ssConfigPath;
    if (!mirrorToolVersionQuery)
        mirrorToolVersionQuery = ShadowsocksProcess::startVersionQuery(ssDir);
    mirrorToolFound = !ShadowsocksProcess::versionFrom(*mirrorToolVersionQuery).isEmpty();
    mirrorToolVersionQuery.reset();
    ssProcess->moveToThread(ssThread);
    connect(ssThread, SIGNAL(started()), ssProcess, SLOT(init()));
    connect(ssThread, SIGNAL(finished()), ssProcess, SLOT(deleteLater()));
    connect(this, SIGNAL(shadowsocksProcessStart()), ssProcess, SLOT(start()),
            Qt::QueuedConnection);
    connect(this, SIGNAL(shadowsocksProcessStop()), ssProcess, SLOT(stop()), Qt::QueuedConnection);
    qRegisterMetaType<ShadowsocksProcess::ShadowsocksProcessStatus>(
        "ShadowsocksProcess::ShadowsocksProcessStatus");
    connect(ssProcess,
            SIGNAL(shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus)), this,
            SLOT(shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus)),
            Qt::QueuedConnection);
    connect(ssProcess, SIGNAL(started()), this, SIGNAL(shadowsocksProcessStarted()),
            Qt::QueuedConnection);
    connect(ssProcess, SIGNAL(stopped()), this, SIGNAL(shadowsocksProcessStopped()),
            Qt::QueuedConnection);
    ssThread->start();
}

void MainWindow::shadowsocksStateChanged(ShadowsocksProcess::ShadowsocksProcessStatus state)
{
    // OpenVPN cannot go on without its proxy.
    if (state == ShadowsocksProcess::Shadowsocks_NotRunning && mirrorActive && vpnProcess
        && vpnProcess->procStatus != VPNProcess::ProcUnconnected)
        stopConnection(true);
}

void MainWindow::getMirrorToolConfigReply(QNetworkReply *reply)
{
    RequestLog::writeReplyHeader(Req_MirrorToolConfig);
    const ReplySnapshot snapshot = ReplySnapshot::take(reply);
    emit replyReceived();

    bool ok = false;
    if (snapshot.failedWithoutBody() || snapshot.error != QNetworkReply::NoError) {
        RequestLog::writeFailure(Req_MirrorToolConfig, Exc_Network, snapshot.errorString);
    } else if (const MirrorConfig rebuilt = rebuildMirrorConfig(snapshot.body);
               !logMirrorConfig(rebuilt)) {
        RequestLog::writeFailure(Req_MirrorToolConfig, Exc_Decode, snapshot.errorString);
    } else {
        QFile file(ssConfigPath);
        if (!Platform::instance().createOwnerOnly(file)
            || file.write(rebuilt.text) != rebuilt.text.size()) {
            Loger::writeLine(QStringLiteral("[10]: ")
                             + tr("Unable to save mirror tool configuration in file"));
        } else {
            file.close();
            mirrorEndpoint = readSsConfig(ssConfigPath);
            Loger::writeLine(QStringLiteral("[10]: ")
                             + tr("mirror tool configuration has been saved in file"));
            if (ssProcess->status == ShadowsocksProcess::Shadowsocks_NotRunning) {
                QEventLoop loop;
                connect(this, SIGNAL(shadowsocksProcessStarted()), &loop, SLOT(quit()));
                connect(this, SIGNAL(shadowsocksProcessStopped()), &loop, SLOT(quit()));
                QTimer::singleShot(ToolStartWaitMs, &loop, SLOT(quit()));
                emit shadowsocksProcessStart();
                loop.exec();
            }
            ok = ssProcess->status != ShadowsocksProcess::Shadowsocks_NotRunning;
        }
    }
    if (!ok) {
        stopConnection(true);
        showErrorDialog(4, {}, dialogParent());
        return;
    }
    sendRequest(Req_OpenVPNConfig);
}

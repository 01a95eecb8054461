// ConnectionController: the mirror tool's controller and its configuration reply.

#include "api/replysnapshot.h"
#include "api/requestlog.h"
#include "control/connectioncontroller.h"
#include "core/loger.h"
#include "engine/mirrorconfig.h"
#include "system/platform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>

// The log lines keep the window's translation context, so that translated logs, and the
// timeline that reads them, stay as they were.

namespace {

// The tool reports listening within a few seconds; a start never waits longer than this.
const int ToolStartWaitMs = 15000;
// A reply with thousands of members logs the first names and a count of the rest.
const int LoggedDroppedMembers = 20;

// Logs what the rebuild left out or found unusable; true when the configuration can be used.
bool logMirrorConfig(const MirrorConfig &rebuilt)
{
    for (const QString &name : rebuilt.dropped.mid(0, LoggedDroppedMembers))
        Loger::writeLine(
            QCoreApplication::translate(
                "MainWindow", "[10]: dropped member \"%1\" of the mirror tool configuration")
                .arg(name));
    if (rebuilt.dropped.size() > LoggedDroppedMembers)
        Loger::writeLine(
            QCoreApplication::translate(
                "MainWindow", "[10]: dropped %1 more members of the mirror tool configuration")
                .arg(rebuilt.dropped.size() - LoggedDroppedMembers));
    if (!rebuilt.unusable.isEmpty())
        Loger::writeLine(QCoreApplication::translate(
                             "MainWindow",
                             "[10]: missing or unusable member \"%1\" in the mirror tool "
                             "configuration")
                             .arg(rebuilt.unusable));
    return !rebuilt.text.isEmpty();
}

} // namespace

void ConnectionController::startMirrorToolController()
{
    if (m_ssProcess)
        return;
    m_ssThread = new QThread(this);
    m_ssProcess = new ShadowsocksProcess();
    m_ssProcess->toolDir = m_ssDir;
    m_ssProcess->configPath = m_ssConfigPath;
    if (!m_mirrorToolVersionQuery)
        m_mirrorToolVersionQuery = ShadowsocksProcess::startVersionQuery(m_ssDir);
    m_mirrorToolFound = !ShadowsocksProcess::versionFrom(*m_mirrorToolVersionQuery).isEmpty();
    m_mirrorToolVersionQuery.reset();
    m_ssProcess->moveToThread(m_ssThread);
    connect(m_ssThread, SIGNAL(started()), m_ssProcess, SLOT(init()));
    connect(m_ssThread, SIGNAL(finished()), m_ssProcess, SLOT(deleteLater()));
    connect(this, SIGNAL(shadowsocksProcessStart()), m_ssProcess, SLOT(start()),
            Qt::QueuedConnection);
    connect(this, SIGNAL(shadowsocksProcessStop()), m_ssProcess, SLOT(stop()),
            Qt::QueuedConnection);
    qRegisterMetaType<ShadowsocksProcess::ShadowsocksProcessStatus>(
        "ShadowsocksProcess::ShadowsocksProcessStatus");
    connect(m_ssProcess, &ShadowsocksProcess::shadowsocksStateChanged, this,
            &ConnectionController::shadowsocksStateChanged, Qt::QueuedConnection);
    connect(m_ssProcess, SIGNAL(started()), this, SIGNAL(shadowsocksProcessStarted()),
            Qt::QueuedConnection);
    connect(m_ssProcess, SIGNAL(stopped()), this, SIGNAL(shadowsocksProcessStopped()),
            Qt::QueuedConnection);
    m_ssThread->start();
}

void ConnectionController::shadowsocksStateChanged(
    ShadowsocksProcess::ShadowsocksProcessStatus state)
{
    // OpenVPN cannot go on without its proxy.
    if (state == ShadowsocksProcess::Shadowsocks_NotRunning && m_mirrorActive
        && m_state != Unconnected && m_state != Disconnecting)
        stop(true);
}

void ConnectionController::getMirrorToolConfigReply(QNetworkReply *reply)
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
        QFile file(m_ssConfigPath);
        if (!Platform::instance().createOwnerOnly(file)
            || file.write(rebuilt.text) != rebuilt.text.size()) {
            Loger::writeLine(QStringLiteral("[10]: ")
                             + QCoreApplication::translate(
                                 "MainWindow", "Unable to save mirror tool configuration in file"));
        } else {
            file.close();
            m_mirrorEndpoint = readSsConfig(m_ssConfigPath);
            Loger::writeLine(QStringLiteral("[10]: ")
                             + QCoreApplication::translate(
                                 "MainWindow", "mirror tool configuration has been saved in file"));
            if (m_ssProcess->status == ShadowsocksProcess::Shadowsocks_NotRunning) {
                // OpenVPN's configuration names the tool's port: the chain goes on once the
                // tool listens (or has failed), within a bound.
                QEventLoop loop;
                connect(this, SIGNAL(shadowsocksProcessStarted()), &loop, SLOT(quit()));
                connect(this, SIGNAL(shadowsocksProcessStopped()), &loop, SLOT(quit()));
                QTimer::singleShot(ToolStartWaitMs, &loop, SLOT(quit()));
                emit shadowsocksProcessStart();
                loop.exec();
            }
            ok = m_ssProcess->status != ShadowsocksProcess::Shadowsocks_NotRunning;
        }
    }
    if (!ok) {
        stop(true);
        emit failed(4, {});
        return;
    }
    sendRequest(Req_OpenVPNConfig);
}

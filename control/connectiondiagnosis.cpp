// ConnectionController: why a connection did not come up, found by probes off this thread,
// and the road that works taken on request (or by itself when the user asked for that).

#include "api/apirequestbuilder.h"
#include "control/connectioncontroller.h"
#include "core/clientsettings.h"
#include "core/loger.h"
#include "engine/configremote.h"
#include "engine/diagnosisprobes.h"
#include "engine/diagnosisverdict.h"
#include "system/platform.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

namespace {

// What the OpenVPN log can tell is at its end; a long log is read from there.
const qint64 LogTailBytes = 256 * 1024;

QString readTail(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    if (file.size() > LogTailBytes)
        file.seek(file.size() - LogTailBytes);
    return QString::fromLatin1(file.readAll());
}

} // namespace

void ConnectionController::armDiagnosis()
{
    m_managementReport.clear();
    m_diagnosisArmed = true;
    // A road taken by itself is taken once: its own connection is not switched again.
    m_connectionByAutoSwitch = m_autoSwitchPending;
    m_autoSwitchPending = false;
    if (!m_connectionByAutoSwitch)
        emit diagnosisHidden();
    m_diagnosisRoad = DiagnosisVerdict::NoRoad;
    m_connectStarted.start();
    const int seconds = m_settings->diagnosisSeconds();
    if (seconds > 0)
        m_diagnosisTimer->start(seconds * 1000);
    else
        m_diagnosisTimer->stop();
}

void ConnectionController::disarmDiagnosis(bool hideVerdict)
{
    m_diagnosisArmed = false;
    m_diagnosisTimer->stop();
    if (hideVerdict)
        emit diagnosisHidden();
}

void ConnectionController::vpnManagementReport(const QString &line)
{
    if (m_diagnosisArmed)
        m_managementReport.append(line);
}

void ConnectionController::diagnosisTimeout()
{
    if (m_state == Connecting)
        startDiagnosis();
}

void ConnectionController::startDiagnosis()
{
    if (!m_diagnosisArmed || !m_vpnProcess)
        return;
    disarmDiagnosis(false);

    QFile configFile(m_ovpnConfigPath);
    const ConfigRemote remote = ConfigRemote::read(
        configFile.open(QIODevice::ReadOnly) ? configFile.readAll() : QByteArray());
    m_diagnosisBase = DiagnosisFacts();
    m_diagnosisBase.udp = remote.host.isEmpty() ? m_settings->udp() : remote.udp;
    m_diagnosisBase.mirrorUsed = m_mirrorActive;
    m_diagnosisBase.openVpn
        = OpenVpnOutcome::read(m_managementReport, readTail(m_vpnProcess->logFilePath()));

    if (m_state != Unconnected)
        stop(false);
    emit diagnosisStarted();

    ApiRequestContext context = m_context ? m_context() : ApiRequestContext();
    DiagnosisPlan plan;
    // Through the mirror, OpenVPN's remote is the server itself; the probe goes there too.
    plan.serverHost = remote.host;
    plan.serverPort = remote.port;
    if (plan.serverHost.isEmpty() && context.hasEntry)
        plan.serverHost = context.entryServer.ip;
    const QString apiBase = context.apiBaseUrl;
    for (const QString &base : {m_endpoints.apiBase, context.emergencyAddress}) {
        context.apiBaseUrl = base;
        plan.apiRequests.append(ApiRequestBuilder::build(Req_SiteReachable, context).request);
    }
    plan.caCertificates = m_trustedCertificates;
    if (m_mirrorToolFound) {
        plan.ssLocalPath = QDir(m_ssDir).filePath(
            Platform::instance().executableName(QStringLiteral("ss-local")));
        plan.mirrorConfigPath = m_ssConfigPath;
        context.apiBaseUrl = apiBase;
        plan.mirrorConfigRequest = ApiRequestBuilder::build(Req_MirrorToolConfig, context).request;
    }
    plan.workDir = m_tempDir;

    auto *thread = new QThread(this);
    auto *probes = new DiagnosisProbes(plan);
    probes->moveToThread(thread);
    connect(thread, &QThread::started, probes, &DiagnosisProbes::run);
    connect(probes, &DiagnosisProbes::finished, thread, &QThread::quit);
    connect(probes, &DiagnosisProbes::finished, this, &ConnectionController::diagnosisFinished,
            Qt::QueuedConnection);
    connect(thread, &QThread::finished, probes, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void ConnectionController::diagnosisFinished(const DiagnosisFacts &probed)
{
    DiagnosisFacts facts = probed;
    facts.udp = m_diagnosisBase.udp;
    facts.mirrorUsed = m_diagnosisBase.mirrorUsed;
    facts.openVpn = m_diagnosisBase.openVpn;
    const DiagnosisVerdict::Kind kind = DiagnosisVerdict::decide(facts);
    Loger::writeLine(QStringLiteral("Diagnosis: probes: server %1, mirror %2, service %3/%4, "
                                    "default route %5, OpenVPN step %6")
                         .arg(int(facts.serverTcp))
                         .arg(int(facts.mirror))
                         .arg(facts.apiProbed ? int(facts.apiReachable[0]) : -1)
                         .arg(facts.apiProbed ? int(facts.apiReachable[1]) : -1)
                         .arg(int(facts.defaultRoute))
                         .arg(int(facts.openVpn.furthest)));
    Loger::writeLine(QStringLiteral("Diagnosis: ") + DiagnosisVerdict::englishText(kind));
    Loger::writeLine(QStringLiteral("Diagnosis: found %1 s after the connect action")
                         .arg(double(m_connectStarted.elapsed()) / 1000.0, 0, 'f', 1));

    // A connection started meanwhile keeps its page; the verdict stays in the log. One still
    // stopping shows the verdict once it is down.
    if (m_state == Connecting || tunnelUp())
        return;
    m_diagnosisRoad = DiagnosisVerdict::roadOf(kind);
    if (m_diagnosisRoad == DiagnosisVerdict::UseMirror && !m_mirrorToolFound)
        m_diagnosisRoad = DiagnosisVerdict::NoRoad;
    emit diagnosisFound(kind, m_diagnosisRoad);

    const bool switchable = m_diagnosisRoad == DiagnosisVerdict::UseTcp
        || m_diagnosisRoad == DiagnosisVerdict::UseMirror;
    if (switchable && m_settings->switchRoadAutomatically() && !m_connectionByAutoSwitch)
        takeRoad(m_diagnosisRoad, true);
}

void ConnectionController::takeDiagnosisRoad()
{
    takeRoad(m_diagnosisRoad, false);
}

void ConnectionController::takeRoad(int road, bool automatically)
{
    // The attempt that was diagnosed is down before the next road is taken.
    if (m_state != Unconnected)
        stop(true);
    switch (road) {
    case DiagnosisVerdict::ChooseServer:
        emit diagnosisHidden();
        emit serverChoiceRequested();
        return;
    case DiagnosisVerdict::UseTcp:
        m_settings->setUdp(false);
        break;
    case DiagnosisVerdict::UseMirror:
        // As the settings page would: the mirror setting, and TCP, which the mirror carries.
        m_settings->setServerMirrorConfig(true);
        setMirrorActive(m_mirrorToolFound);
        m_settings->setUdp(false);
        break;
    default:
        return;
    }
    m_settings->save(Set_General);
    if (automatically) {
        Loger::writeLine(QStringLiteral("Diagnosis: switched by itself to ")
                         + (road == DiagnosisVerdict::UseTcp ? QStringLiteral("TCP")
                                                             : QStringLiteral("the mirror route")));
        m_autoSwitchPending = true;
    }
    emit diagnosisRoadTaken(road, automatically);
    emit reconnectRequested();
}

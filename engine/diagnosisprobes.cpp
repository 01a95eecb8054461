#include "engine/diagnosisprobes.h"

#include "engine/mirrorconfig.h"
#include "engine/serverresetprobe.h"
#include "system/defaultroute.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTimer>

namespace {

// A reply that is the service's envelope with "result" true; anything else, garbage
// included, is no answer of the service.
bool serviceAnswered(QNetworkReply *reply)
{
    const QJsonDocument doc = QJsonDocument::fromJson(reply->readAll());
    return reply->error() == QNetworkReply::NoError && doc.isObject()
        && doc.object().value(QStringLiteral("result")).toBool(false);
}

quint16 freeLoopbackPort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0;
}

} // namespace

DiagnosisProbes::DiagnosisProbes(const DiagnosisPlan &plan)
    : m_plan(plan)
{ }

DiagnosisProbes::~DiagnosisProbes()
{
    if (m_tool && m_tool->state() != QProcess::NotRunning) {
        m_tool->kill();
        m_tool->waitForFinished(1000);
    }
}

void DiagnosisProbes::run()
{
    switch (DefaultRoute::current()) {
    case DefaultRoute::State::Present:
        m_facts.defaultRoute = DiagnosisFacts::Route::Present;
        break;
    case DefaultRoute::State::Missing:
        m_facts.defaultRoute = DiagnosisFacts::Route::Missing;
        break;
    case DefaultRoute::State::Unknown:
        break;
    }
    m_network = new QNetworkAccessManager(this);
    m_pending = 1; // released at the end of this function
    if (!m_plan.serverHost.isEmpty() && m_plan.serverPort != 0) {
        ++m_pending;
        auto *probe = new ServerResetProbe(this);
        connect(probe, &ServerResetProbe::done, this, [this](ProbeResult result) {
            m_facts.serverTcp = result;
            oneDone();
        });
        probe->start(m_plan.serverHost, m_plan.serverPort, m_plan.limitMs);
    }
    m_facts.apiProbed = m_plan.apiRequests.size() == 2;
    for (int i = 0; i < m_plan.apiRequests.size() && i < 2; ++i)
        probeApi(i);
    probeMirror();
    oneDone();
}

void DiagnosisProbes::probeApi(int index)
{
    QNetworkRequest request = m_plan.apiRequests.at(index);
    request.setTransferTimeout(m_plan.limitMs);
    if (!m_plan.caCertificates.isEmpty()) {
        QSslConfiguration ssl = request.sslConfiguration();
        ssl.addCaCertificates(m_plan.caCertificates);
        request.setSslConfiguration(ssl);
    }
    ++m_pending;
    QNetworkReply *reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, index] {
        m_facts.apiReachable[index] = serviceAnswered(reply);
        reply->deleteLater();
        oneDone();
    });
}

void DiagnosisProbes::probeMirror()
{
    if (m_plan.ssLocalPath.isEmpty() || !QFile::exists(m_plan.ssLocalPath)
        || m_plan.serverHost.isEmpty() || m_plan.serverPort == 0)
        return;
    QFile stored(m_plan.mirrorConfigPath);
    if (!m_plan.mirrorConfigPath.isEmpty() && stored.open(QIODevice::ReadOnly)) {
        ++m_pending;
        startMirrorTool(stored.readAll());
        return;
    }
    if (!m_plan.mirrorConfigRequest.url().isValid())
        return;
    ++m_pending;
    QNetworkRequest request = m_plan.mirrorConfigRequest;
    request.setTransferTimeout(m_plan.limitMs);
    QNetworkReply *reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        const QByteArray body = reply->error() == QNetworkReply::NoError ? reply->readAll() : "";
        reply->deleteLater();
        startMirrorTool(rebuildMirrorConfig(body).text);
    });
}

// A copy of the account's configuration that listens on a loopback port of its own, so the
// probe never meets the tool of a running connection.
void DiagnosisProbes::startMirrorTool(const QByteArray &config)
{
    QJsonObject object = QJsonDocument::fromJson(config).object();
    const quint16 port = freeLoopbackPort();
    if (object.isEmpty() || port == 0) {
        m_facts.mirror = ProbeResult::Garbage;
        oneDone();
        return;
    }
    object.insert(QStringLiteral("local_address"), QStringLiteral("127.0.0.1"));
    object.insert(QStringLiteral("local_port"), port);
    const QString path = QDir(m_plan.workDir).filePath(QStringLiteral("ss_probe_config.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)
        || file.write(QJsonDocument(object).toJson()) < 0) {
        m_facts.mirror = ProbeResult::NotRun;
        oneDone();
        return;
    }
    file.close();

    m_tool = new QProcess(this);
    m_tool->setProcessChannelMode(QProcess::MergedChannels);
    auto *limit = new QTimer(this);
    limit->setSingleShot(true);
    auto give = [this, limit, path](ProbeResult result) {
        limit->stop();
        QFile::remove(path);
        m_facts.mirror = result;
        oneDone();
    };
    connect(limit, &QTimer::timeout, this, [this, give] {
        m_tool->disconnect(this);
        give(ProbeResult::TimedOut);
    });
    connect(m_tool, &QProcess::readyRead, this, [this, limit, port, give] {
        m_toolOutput += m_tool->readAll();
        if (!m_toolOutput.contains("listening at"))
            return;
        // The tool is up; from here the probe's own bound holds.
        limit->stop();
        m_tool->disconnect(this);
        auto *probe = new ServerResetProbe(this);
        connect(probe, &ServerResetProbe::done, this, give);
        probe->start(m_plan.serverHost, m_plan.serverPort, m_plan.limitMs,
                     QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"), port));
    });
    connect(m_tool, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, give] {
                m_tool->disconnect(this);
                give(ProbeResult::NotRun);
            });
    limit->start(m_plan.limitMs);
    m_tool->start(m_plan.ssLocalPath, {QStringLiteral("-c"), path});
}

void DiagnosisProbes::oneDone()
{
    if (--m_pending > 0 || m_reported)
        return;
    m_reported = true;
    if (m_tool)
        m_tool->kill();
    emit finished(m_facts);
}

#include "engine/shadowsocksprocess.h"

#include "core/loger.h"
#include "system/platform.h"

#include <QRegularExpression>

namespace {

constexpr int KillTimeoutMs = 5000;
constexpr int VersionTimeoutMs = 5000;
// A tool that writes this much without a line break is not writing log lines; what came so
// far is judged as one line rather than kept without bound.
constexpr int MaxLineBytes = 64 * 1024;

QString lineText(const QByteArray &raw)
{
    const int zero = raw.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? raw : raw.left(zero)).simplified();
}

} // namespace

ShadowsocksProcess::ShadowsocksProcess(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<ShadowsocksProcess::ShadowsocksProcessStatus>(
        "ShadowsocksProcess::ShadowsocksProcessStatus");
}

QString ShadowsocksProcess::programPath() const
{
    return programIn(toolDir);
}

QString ShadowsocksProcess::programIn(const QString &toolDir)
{
    return toolDir + QLatin1Char('/')
        + Platform::instance().executableName(QStringLiteral("ss-local"));
}

QString ShadowsocksProcess::version() const
{
    return versionFrom(*startVersionQuery(toolDir));
}

std::unique_ptr<VersionQuery> ShadowsocksProcess::startVersionQuery(const QString &toolDir)
{
    // shadowsocks-libev names itself and its version at the top of its usage text; its "-v"
    // is the verbose switch and would start a proxy from the system-wide configuration.
    return std::make_unique<VersionQuery>(programIn(toolDir), QStringList {QStringLiteral("-h")},
                                          VersionQuery::MergedOutput, VersionTimeoutMs);
}

QString ShadowsocksProcess::versionFrom(VersionQuery &query)
{
    const QString head = QString::fromUtf8(query.output()).left(50);
    static const QRegularExpression pattern(
        QStringLiteral("shadowsocks-libev (\\d+\\.\\d+\\.\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(head);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool ShadowsocksProcess::killAll() const
{
    return Platform::instance().endProcessesOf(programPath(), true, KillTimeoutMs);
}

void ShadowsocksProcess::init()
{
    process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, SIGNAL(readyReadStandardOutput()), this, SLOT(readAllStandardOutput()));
    connect(process, SIGNAL(stateChanged(QProcess::ProcessState)), this,
            SLOT(processStateChanged(QProcess::ProcessState)));
    // A proxy left over from an earlier run would hold the local port.
    killAll();
}

void ShadowsocksProcess::start()
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        Loger::writeLine(tr("[Shadowsocks]: already running, not started again"));
        return;
    }
    stoppedOnError = false;
    m_listeningReported = false;
    m_pendingOutput.clear();
    process->start(programPath(), {QStringLiteral("-c"), configPath}, QIODevice::ReadWrite);
}

void ShadowsocksProcess::stop()
{
    if (!process || process->state() == QProcess::NotRunning) {
        reportNotRunning();
        return;
    }
    if (killAll())
        Loger::writeLine(tr("[Shadowsocks]: process successfully stopped"));
    else
        Loger::writeLine(tr("[Shadowsocks]: process stopping error"));
    // The not-running report follows from the process itself once it has been reaped.
    if (process->state() != QProcess::NotRunning)
        process->kill();
}

void ShadowsocksProcess::readAllStandardOutput()
{
    if (!process)
        return;
    m_pendingOutput += process->readAll();

    // The tool writes whole lines, but a read may end inside one: only complete lines are
    // judged, and all lines of one read together, since a failed bind is reported right after
    // the line that announces listening.
    bool error = false;
    bool listening = false;
    while (true) {
        int end = m_pendingOutput.indexOf('\n');
        if (end < 0 && m_pendingOutput.size() >= MaxLineBytes)
            end = m_pendingOutput.size() - 1;
        if (end < 0)
            break;
        const QString text = lineText(m_pendingOutput.left(end + 1));
        m_pendingOutput.remove(0, end + 1);
        if (text.isEmpty())
            continue;
        Loger::writeLine(tr("[Shadowsocks]: %1").arg(text));
        static const QRegularExpression errorPattern(QStringLiteral("^.*ERROR:"));
        static const QRegularExpression listeningPattern(QStringLiteral("INFO: listening at .*"));
        if (errorPattern.match(text).hasMatch())
            error = true;
        else if (listeningPattern.match(text).hasMatch())
            listening = true;
    }

    if (error) {
        if (process->state() != QProcess::NotRunning) {
            Loger::writeLine(tr("[Shadowsocks]: an error occurred. Stopping..."));
            stoppedOnError = true;
            stop();
        } else {
            stoppedOnError = true;
        }
    } else if (listening) {
        // Output can be read before the process is reported running; the proxy is ready only
        // once both have happened.
        if (status == Shadowsocks_Running)
            emit started();
        else
            m_listeningReported = true;
    }
}

void ShadowsocksProcess::processStateChanged(QProcess::ProcessState state)
{
    switch (state) {
    case QProcess::Starting:
        status = Shadowsocks_Starting;
        emit shadowsocksStateChanged(Shadowsocks_Starting);
        break;
    case QProcess::Running:
        status = Shadowsocks_Running;
        Loger::writeLine(tr("[Shadowsocks]: state changed to running"));
        emit shadowsocksStateChanged(Shadowsocks_Running);
        if (m_listeningReported) {
            m_listeningReported = false;
            emit started();
        }
        break;
    case QProcess::NotRunning:
        // Whatever the tool wrote last still belongs in the log, and an error among it still
        // marks the stop as caused by an error.
        readAllStandardOutput();
        if (!m_pendingOutput.isEmpty()) {
            const QString text = lineText(m_pendingOutput);
            m_pendingOutput.clear();
            if (!text.isEmpty()) {
                Loger::writeLine(tr("[Shadowsocks]: %1").arg(text));
                if (text.contains(QLatin1String("ERROR:")))
                    stoppedOnError = true;
            }
        }
        reportNotRunning();
        break;
    }
}

void ShadowsocksProcess::reportNotRunning()
{
    m_listeningReported = false;
    status = Shadowsocks_NotRunning;
    Loger::writeLine(tr("[Shadowsocks]: state changed to stopped"));
    emit stopped();
    emit shadowsocksStateChanged(Shadowsocks_NotRunning);
}

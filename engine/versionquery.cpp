#include "engine/versionquery.h"

VersionQuery::VersionQuery(const QString &program, const QStringList &arguments,
                           Channels channels, int timeoutMs)
    : m_timeoutMs(timeoutMs)
{
    if (channels == MergedOutput)
        m_process.setProcessChannelMode(QProcess::MergedChannels);
    else
        m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(program, arguments, QIODevice::ReadOnly);
}

VersionQuery::~VersionQuery()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(m_timeoutMs);
    }
}

QByteArray VersionQuery::output()
{
    if (m_collected)
        return m_output;
    m_collected = true;
    if (!m_process.waitForStarted(m_timeoutMs))
        return m_output;
    if (!m_process.waitForFinished(m_timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(m_timeoutMs);
    }
    m_output = m_process.readAllStandardOutput();
    return m_output;
}

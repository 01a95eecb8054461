#include "engine/managementlinebuffer.h"

namespace {

const QByteArray kPasswordPrompt("ENTER PASSWORD:");

} // namespace

ManagementLineBuffer::ManagementLineBuffer(int lineLimit)
    : m_lineLimit(lineLimit)
{ }

QStringList ManagementLineBuffer::append(const QByteArray &bytes)
{
    QStringList lines;
    int from = 0;
    while (from < bytes.size()) {
        const int nl = bytes.indexOf('\n', from);
        const int end = nl < 0 ? bytes.size() : nl;
        if (!m_skipping) {
            m_pending.append(bytes.constData() + from, end - from);
            const int crlf = m_pending.endsWith('\r') ? 1 : 0;
            if (m_pending.size() - crlf > m_lineLimit) {
                m_pending.clear();
                m_skipping = true;
                ++m_dropped;
            }
        }
        if (nl < 0)
            break;
        if (!m_skipping) {
            if (m_pending.endsWith('\r'))
                m_pending.chop(1);
            // Latin-1 text ends at a zero byte, so a line may be empty only now.
            const QString line = QString::fromLatin1(m_pending);
            if (!line.isEmpty())
                lines.append(line);
        }
        m_pending.clear();
        m_skipping = false;
        from = nl + 1;
    }
    if (m_pending == kPasswordPrompt) {
        lines.append(QString::fromLatin1(m_pending));
        m_pending.clear();
    }
    return lines;
}

void ManagementLineBuffer::clear()
{
    m_pending.clear();
    m_skipping = false;
}

int ManagementLineBuffer::pendingSize() const
{
    return m_pending.size();
}

int ManagementLineBuffer::droppedLines() const
{
    return m_dropped;
}

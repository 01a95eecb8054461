#include "logrecorder.h"

#include "core/loger.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

LogRecorder::LogRecorder(const QString &openLogIn)
{
    if (!openLogIn.isEmpty()) {
        QDir().mkpath(openLogIn);
        Loger::init(openLogIn, false, true, QStringLiteral("log"));
        m_opened = true;
    }
    static const QRegularExpression stamp(
        QStringLiteral("^\\[\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\] "));
    // Direct, so lines written on worker threads are kept in the order they were written.
    QObject::connect(
        Loger::notifier(), &Loger::lineAdded, &m_context,
        [this](const QString &line) {
            QString text = line;
            text.remove(stamp);
            while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
                text.chop(1);
            QMutexLocker lock(&m_mutex);
            m_lines << text;
        },
        Qt::DirectConnection);
}

LogRecorder::~LogRecorder()
{
    if (m_opened)
        Loger::close();
}

QStringList LogRecorder::lines() const
{
    QMutexLocker lock(&m_mutex);
    return m_lines;
}

bool LogRecorder::waitFor(const QString &line, int timeoutMs)
{
    return QTest::qWaitFor([this, &line]() { return contains(line); }, timeoutMs);
}

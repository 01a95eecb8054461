#include "logrecorder.h"

#include "core/loger.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

LogRecorder::LogRecorder(const QString &openLogIn)
    : m_opened(!openLogIn.isEmpty() && QDir().mkpath(openLogIn))
{
    if (m_opened)
        Loger::init(openLogIn, false, true, QStringLiteral("log"));
    // Direct, so lines written on worker threads are kept in the order they were written.
    QObject::connect(
        Loger::notifier(), &Loger::lineAdded, &m_context,
        [this](const QString &line) {
            static const QRegularExpression stamp(
                QStringLiteral("^\\[\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\] |[\\r\\n]+$"));
            QMutexLocker lock(&m_mutex);
            m_lines << QString(line).remove(stamp);
        },
        Qt::DirectConnection);
}

LogRecorder::~LogRecorder()
{
    if (m_opened)
        Loger::close();
}

bool LogRecorder::waitFor(const QString &line, int timeoutMs)
{
    return QTest::qWaitFor([this, &line]() { return contains(line); }, timeoutMs);
}

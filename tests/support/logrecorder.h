#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>

// The log lines written while it lives, without their "[dd.MM.yyyy hh:mm:ss] " stamp. Given a
// folder, it opens the log there for its lifetime (lines are only written to an open log).
class LogRecorder
{
public:
    explicit LogRecorder(const QString &openLogIn = QString());
    ~LogRecorder();

    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    bool contains(const QString &line) const { return lines().contains(line); }
    int count(const QString &line) const { return lines().count(line); }
    QStringList matching(const QString &part) const { return lines().filter(part); }
    bool waitFor(const QString &line, int timeoutMs = 5000);

private:
    mutable QMutex m_mutex; // lines come from worker threads too
    QStringList m_lines;
    bool m_opened = false;
    QObject m_context; // last, so the connection goes first
};

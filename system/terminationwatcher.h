#pragma once

#include <QObject>

class QSocketNotifier;

// Reports a request from the system to end the program (on POSIX: SIGTERM, SIGINT and
// SIGHUP, as sent at the end of a session or by a service manager) as a signal on the
// thread that created the watcher, so the program can close its dialogs and quit in order
// instead of dying in the middle of writing a file. One watcher per process.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

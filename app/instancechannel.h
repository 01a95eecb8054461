#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The running copy's ear for later starts: a local socket named after the data folder's
// lock. A start refused by the lock asks through it for the running copy's window.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(QObject *parent = nullptr);

    // The socket's name for the lock file at lockPath: one per data folder and user.
    static QString nameFor(const QString &lockPath);
    // Listens on `name`; only the lock's holder calls it, so a socket left by a copy that
    // crashed is taken over. False when the name cannot be used.
    bool listen(const QString &name);
    // Asks the copy listening on `name` to bring its window to the front; false when none
    // answered within timeoutMs.
    static bool askToShow(const QString &name, int timeoutMs);

signals:
    void showRequested();

private slots:
    void takeConnection();

private:
    QLocalServer *server = nullptr;
};

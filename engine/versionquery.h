#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// A program asked for its version in a child process that runs while the caller goes on with
// other work (the window builds its form meanwhile); output() collects the answer.
class VersionQuery
{
public:
    enum Channels { StandardOutput, MergedOutput };

    // Starts `program` with `arguments` at once. Every wait of the query ends after
    // `timeoutMs`: a program that never ends holds nothing up.
    VersionQuery(const QString &program, const QStringList &arguments, Channels channels,
                 int timeoutMs);
    // A query never collected ends its program.
    ~VersionQuery();
    VersionQuery(const VersionQuery &) = delete;
    VersionQuery &operator=(const VersionQuery &) = delete;

    // What the program wrote until it ended (or until the time limit, when it is ended by
    // force); empty when it could not start. Waits only on the first call.
    QByteArray output();

private:
    QProcess m_process;
    const int m_timeoutMs;
    bool m_collected = false;
    QByteArray m_output;
};

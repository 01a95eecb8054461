#pragma once

#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QStringList>

// What a user saw and the service received during a run, written down as plain text in
// sections ("[pages]", "[requests]", "[dialogs]", "[log]"), so that it can be compared line by
// line with a transcript kept in a file and a diff shows what changed. What differs from run
// to run is replaced by a name in angle brackets: the texts given to name() (folders, the
// service's address), then durations in seconds and loopback ports.
class Transcript
{
public:
    void name(const QString &text, const QString &as)
    {
        if (!text.isEmpty())
            m_names.append({text, as});
    }
    // Lines matching pattern are left out: output of other programs, whose wording and timing
    // are theirs.
    void drop(const QRegularExpression &pattern) { m_dropped.append(pattern); }
    void section(const QString &title, const QStringList &lines);
    QStringList lines() const { return m_lines; }

    // A transcript file's lines (empty when it cannot be read); write() makes its folder.
    static QStringList read(const QString &path);
    static bool write(const QString &path, const QStringList &lines);

private:
    QString normalised(QString line) const;

    QList<QPair<QString, QString>> m_names;
    QList<QRegularExpression> m_dropped;
    QStringList m_lines;
};

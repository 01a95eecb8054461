#include "transcript.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

void Transcript::section(const QString &title, const QStringList &lines)
{
    m_lines << QLatin1Char('[') + title + QLatin1Char(']');
    for (const QString &line : lines) {
        const auto matches
            = [&line](const QRegularExpression &p) { return p.match(line).hasMatch(); };
        if (std::none_of(m_dropped.cbegin(), m_dropped.cend(), matches))
            m_lines << normalised(line);
    }
}

QString Transcript::normalised(QString line) const
{
    for (const auto &named : m_names)
        line.replace(named.first, named.second);
    static const QList<QPair<QRegularExpression, QString>> varying {
        {QRegularExpression(QStringLiteral("\\b\\d+[.,]\\d+ s\\b")), QStringLiteral("<t> s")},
        {QRegularExpression(QStringLiteral("\\b(127\\.0\\.0\\.\\d+):\\d+\\b")),
         QStringLiteral("\\1:<port>")},
    };
    for (const auto &pattern : varying)
        line.replace(pattern.first, pattern.second);
    // A line break inside a dialog's text or a log line stays visible on one line.
    return line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

QStringList Transcript::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool Transcript::write(const QString &path, const QStringList &lines)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

#include "connectiontimeline.h"

#include <initializer_list>

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace {

struct Step
{
    QString time;
    QString text;
};

struct Attempt
{
    QList<Step> steps;
    bool onlyAddressBefore = true;
    bool ended = false;
};

// Lines without a request number that still belong to a connection, in English and as the
// window writes them in the user's language.
QStringList markerTexts(std::initializer_list<const char *> sources)
{
    QStringList texts;
    for (const char *source : sources) {
        texts << QString::fromLatin1(source) << QCoreApplication::translate("MainWindow", source);
    }
    texts.removeDuplicates();
    return texts;
}

QString durationText(const QString &from, const QString &to)
{
    const QString format = QStringLiteral("dd.MM.yyyy hh:mm:ss");
    const QDateTime a = QDateTime::fromString(from, format);
    const QDateTime b = QDateTime::fromString(to, format);
    if (!a.isValid() || !b.isValid())
        return QString();
    return QStringLiteral(", %1 s").arg(a.secsTo(b));
}

} // namespace

QString connectionTimeline(const QByteArray &applicationLog, int lastAttempts)
{
    static const QRegularExpression line(
        QStringLiteral("^\\[(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d)\\] (.*)$"));
    static const QRegularExpression step(QStringLiteral("\\[(7|8|9|10)\\]|^\\[OpenVPN\\]: "));
    const QStringList endTexts = markerTexts({
        QT_TRANSLATE_NOOP("MainWindow", "Stopping VPN connection"),
        QT_TRANSLATE_NOOP("MainWindow", "openvpn process closed"),
        QT_TRANSLATE_NOOP("MainWindow", "[OpenVPN]: state changed to stopped"),
    });
    // OpenVPN's controller writes its stop in its own translation context.
    const QStringList ends = endTexts
        + QStringList {
            QCoreApplication::translate("VPNProcess", "[OpenVPN]: state changed to stopped")};
    const QStringList others = markerTexts({
        QT_TRANSLATE_NOOP("MainWindow", "Initializing VPN connection"),
        QT_TRANSLATE_NOOP("MainWindow", "Application is shutting down"),
    });

    QList<Attempt> attempts;
    const QList<QByteArray> lines = applicationLog.split('\n');
    for (const QByteArray &raw : lines) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(raw).trimmed());
        if (!match.hasMatch())
            continue;
        const QString text = match.captured(2);
        const QRegularExpressionMatch stepMatch = step.match(text);
        const bool isEnd = ends.contains(text);
        if (!stepMatch.hasMatch() && !isEnd && !others.contains(text))
            continue;
        const bool addressBefore = stepMatch.captured(1) == QLatin1String("7");
        if (addressBefore
            && (attempts.isEmpty() || !attempts.last().onlyAddressBefore || attempts.last().ended))
            attempts.append(Attempt());
        // Lines of OpenVPN or of a stop outside any attempt (a leftover process) are no step.
        if (attempts.isEmpty() || attempts.last().ended)
            continue;
        Attempt &attempt = attempts.last();
        attempt.steps.append({match.captured(1), text});
        attempt.onlyAddressBefore = attempt.onlyAddressBefore && addressBefore;
        attempt.ended = isEnd;
    }

    while (attempts.size() > lastAttempts)
        attempts.removeFirst();
    if (attempts.isEmpty())
        return QStringLiteral("No connection attempt in the application log.\n");

    QString out;
    for (int i = 0; i < attempts.size(); ++i) {
        const QList<Step> &steps = attempts.at(i).steps;
        out += QStringLiteral("Attempt %1: %2 to %3%4\n")
                   .arg(i + 1)
                   .arg(steps.first().time, steps.last().time,
                        durationText(steps.first().time, steps.last().time));
        for (const Step &s : steps)
            out += QStringLiteral("  %1  %2\n").arg(s.time.mid(11), s.text);
        out += QStringLiteral("  end: %1\n\n")
                   .arg(attempts.at(i).ended ? steps.last().text
                                             : QStringLiteral("(no end in the log yet)"));
    }
    return out;
}

#include "formattimeleft.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

QString tr(const char *text, const char *disambiguation = nullptr)
{
    return QCoreApplication::translate("QObject", text, disambiguation);
}

QString dayText(TimeLeftCategory category)
{
    switch (category) {
    case TimeLeft_Singular:
        return tr("%0 day", "singular ending");
    case TimeLeft_Special:
        return tr("%0 days", "special ending");
    case TimeLeft_Plural:
        break;
    }
    return tr("%0 days", "plural ending");
}

QString hourText(TimeLeftCategory category)
{
    switch (category) {
    case TimeLeft_Singular:
        return tr("%0 hour", "singular ending");
    case TimeLeft_Special:
        return tr("%0 hours", "special ending");
    case TimeLeft_Plural:
        break;
    }
    return tr("%0 hours", "plural ending");
}

QString leftWord(TimeLeftUnit unit, TimeLeftCategory category)
{
    // The disambiguations name unit and category, so each language can decline "left".
    static const char *const forms[3][3] = {
        {"days, singular ending", "days, special ending", "days, plural ending"},
        {"hours, singular ending", "hours, special ending", "hours, plural ending"},
        {"minutes, singular ending", "minutes, special ending", "minutes, plural ending"},
    };
    return tr("left", forms[unit][category]);
}

} // namespace

TimeLeftCategory timeLeftCategory(int count, TimeLeftUnit unit)
{
    const int k = (unit == TimeLeft_Days && count > 100) ? count % 10 : count;
    if (k >= 11 && k <= 19)
        return TimeLeft_Plural;
    switch (k % 10) {
    case 1:
        return TimeLeft_Singular;
    case 2:
    case 3:
    case 4:
        return TimeLeft_Special;
    default:
        return TimeLeft_Plural;
    }
}

QString formatTimeLeft(const int &endTime, const qint16 &language, const bool &withLeftWord)
{
    return formatTimeLeft(endTime, language, withLeftWord,
                          QDateTime::currentMSecsSinceEpoch() / 1000);
}

QString formatTimeLeft(qint64 endTime, qint16 language, bool withLeftWord, qint64 nowSeconds)
{
    const qint64 remaining = endTime - nowSeconds;
    if (remaining < 1)
        return QString();

    TimeLeftUnit unit;
    QString number;
    int count;
    if (remaining > 86400) {
        unit = TimeLeft_Days;
        count = int((remaining - 1) / 86400);
        number = dayText(timeLeftCategory(count, unit)).arg(count);
    } else if (remaining >= 3600) {
        unit = TimeLeft_Hours;
        count = int(remaining / 3600);
        number = hourText(timeLeftCategory(count, unit)).arg(count);
    } else {
        unit = TimeLeft_Minutes;
        count = int(remaining / 60);
        const qint64 seconds = remaining - 60 * qint64(count);
        number = tr("%0 m").arg(count) + QLatin1Char(' ') + tr("%0 s").arg(seconds);
    }
    if (!withLeftWord)
        return number;
    const QString left = leftWord(unit, timeLeftCategory(count, unit));
    return language == 2 ? number + QLatin1Char(' ') + left : left + QLatin1Char(' ') + number;
}

#include "formattimeleft.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

QString dayText(TimeLeftCategory category)
{
    switch (category) {
    case TimeLeft_Singular:
        return QCoreApplication::translate("QObject", "%0 day", "singular ending");
    case TimeLeft_Special:
        return QCoreApplication::translate("QObject", "%0 days", "special ending");
    case TimeLeft_Plural:
        break;
    }
    return QCoreApplication::translate("QObject", "%0 days", "plural ending");
}

QString hourText(TimeLeftCategory category)
{
    switch (category) {
    case TimeLeft_Singular:
        return QCoreApplication::translate("QObject", "%0 hour", "singular ending");
    case TimeLeft_Special:
        return QCoreApplication::translate("QObject", "%0 hours", "special ending");
    case TimeLeft_Plural:
        break;
    }
    return QCoreApplication::translate("QObject", "%0 hours", "plural ending");
}

QString leftWord(TimeLeftUnit unit, TimeLeftCategory category)
{
    static const char *const forms[3][3][2]
        = {{QT_TRANSLATE_NOOP3("QObject", "left", "days, singular ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "days, special ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "days, plural ending")},
           {QT_TRANSLATE_NOOP3("QObject", "left", "hours, singular ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "hours, special ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "hours, plural ending")},
           {QT_TRANSLATE_NOOP3("QObject", "left", "minutes, singular ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "minutes, special ending"),
            QT_TRANSLATE_NOOP3("QObject", "left", "minutes, plural ending")}};
    return QCoreApplication::translate("QObject", forms[unit][category][0],
                                       forms[unit][category][1]);
}

} // namespace

TimeLeftCategory timeLeftCategory(int count, qint16 language)
{
    switch (language) {
    case 1:
    case 5: {
        const int lastTwo = count % 100;
        if (lastTwo >= 11 && lastTwo <= 14)
            return TimeLeft_Plural;
        switch (lastTwo % 10) {
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
    case 3:
        return TimeLeft_Plural;
    default:
        return count == 1 ? TimeLeft_Singular : TimeLeft_Plural;
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
        number = dayText(timeLeftCategory(count, language)).arg(count);
    } else if (remaining >= 3600) {
        unit = TimeLeft_Hours;
        count = int(remaining / 3600);
        number = hourText(timeLeftCategory(count, language)).arg(count);
    } else {
        unit = TimeLeft_Minutes;
        count = int(remaining / 60);
        const qint64 seconds = remaining - 60 * qint64(count);
        number = QCoreApplication::translate("QObject", "%0 m").arg(count) + QLatin1Char(' ')
            + QCoreApplication::translate("QObject", "%0 s").arg(seconds);
    }
    if (!withLeftWord)
        return number;
    const QString left = leftWord(unit, timeLeftCategory(count, language));
    return language == 2 ? number + QLatin1Char(' ') + left : left + QLatin1Char(' ') + number;
}

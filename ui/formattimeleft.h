#pragma once

#include <QString>
#include <QtGlobal>

// How a count of days, hours or minutes is declined: the words of each category come
// from the translations, a language with fewer forms repeats one.
enum TimeLeftCategory { TimeLeft_Singular, TimeLeft_Special, TimeLeft_Plural };
enum TimeLeftUnit { TimeLeft_Days, TimeLeft_Hours, TimeLeft_Minutes };

// The category of a count in a language (1 Russian, 2 English, 3 Chinese, 4 Spanish,
// 5 Ukrainian): English and Spanish have one form for 1 and another for every other count;
// Russian and Ukrainian decline by the last two digits (1, 21, 101: singular; 2-4, 22-24:
// special; 0, 5-20, 25-30, 111-114: plural); Chinese has one form (plural).
TimeLeftCategory timeLeftCategory(int count, qint16 language);

// The time left until endTime (seconds since the epoch), such as "5 days left" or
// "left 59 m 59 s"; empty when the end has passed. language: 1 Russian, 2 English, ...;
// English puts the number first.
QString formatTimeLeft(const int &endTime, const qint16 &language, const bool &withLeftWord);
// The same, measured from nowSeconds (seconds since the epoch) instead of the clock.
QString formatTimeLeft(qint64 endTime, qint16 language, bool withLeftWord, qint64 nowSeconds);

#include "languagechoice.h"

namespace LanguageChoice {

int valueForSystemLanguage(QLocale::Language language)
{
    switch (language) {
    case QLocale::Russian:
        return 1;
    case QLocale::English:
        return 2;
    case QLocale::Chinese:
        return 3;
    case QLocale::Spanish:
        return 4;
    case QLocale::Ukrainian:
        return 5;
    default:
        return 2;
    }
}

bool isOwnLanguage(QLocale::Language language)
{
    return language == QLocale::Russian || language == QLocale::English
        || language == QLocale::Chinese || language == QLocale::Spanish
        || language == QLocale::Ukrainian;
}

QLocale localeForValue(int value)
{
    switch (value) {
    case 1:
        return QLocale(QLocale::Russian, QLocale::Russia);
    case 2:
        return QLocale(QLocale::English, QLocale::UnitedStates);
    case 3:
        return QLocale(QLocale::Chinese, QLocale::China);
    case 4:
        return QLocale(QLocale::Spanish, QLocale::Spain);
    case 5:
        return QLocale(QLocale::Ukrainian, QLocale::Ukraine);
    default:
        return QLocale::c();
    }
}

QString codeForValue(int value)
{
    switch (value) {
    case 1:
        return QStringLiteral("ru");
    case 2:
        return QStringLiteral("en");
    case 3:
        return QStringLiteral("cn");
    case 4:
        return QStringLiteral("es");
    case 5:
        return QStringLiteral("ua");
    default:
        return QString();
    }
}

} // namespace LanguageChoice

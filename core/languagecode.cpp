#include "languagecode.h"

LanguageChoice languageChoice(int language, const QLocale &systemLocale)
{
    struct Offered
    {
        const char *code;
        QLocale::Language language;
        QLocale::Country country;
    };
    static const Offered offered[] = {
        {"ru", QLocale::Russian, QLocale::Russia},
        {"en", QLocale::English, QLocale::UnitedStates},
        {"cn", QLocale::Chinese, QLocale::China},
        {"es", QLocale::Spanish, QLocale::Spain},
        {"ua", QLocale::Ukrainian, QLocale::Ukraine},
    };
    LanguageChoice choice;
    if (language >= 1 && language <= 5) {
        const Offered &o = offered[language - 1];
        choice.code = QString::fromLatin1(o.code);
        choice.setsDefaultLocale = true;
        choice.locale = QLocale(o.language, o.country);
    } else {
        choice.code = systemLocale.name();
        choice.locale = systemLocale;
    }
    return choice;
}

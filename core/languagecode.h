#pragma once

#include <QLocale>
#include <QString>

// What the stored `Language` value means at start: the code that names the translation
// files and, for the languages the program offers, the locale that formats numbers and
// dates. Other values follow the system locale and leave the default locale alone.
struct LanguageChoice
{
    QString code;
    bool setsDefaultLocale = false;
    QLocale locale;
};

LanguageChoice languageChoice(int language, const QLocale &systemLocale);

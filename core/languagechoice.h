#pragma once

#include <QLocale>
#include <QString>

// The interface language as stored in settings.ini ("Language": 1 Russian, 2 English,
// 3 Chinese, 4 Spanish, 5 Ukrainian, 0 not chosen yet) and its choice from the system.
namespace LanguageChoice {

// The stored value for a system language; anything the program is not translated into
// gives English.
int valueForSystemLanguage(QLocale::Language language);

// Whether the system language is one of the program's own, in which case the program's
// default locale follows the choice; English as a fallback leaves the default locale alone.
bool isOwnLanguage(QLocale::Language language);

// The locale of a stored value: ru-RU, en-US, zh-CN, es-ES, uk-UA; the C locale otherwise.
QLocale localeForValue(int value);

// The translation code of a stored value: "ru", "en", "cn", "es", "ua"; empty otherwise.
QString codeForValue(int value);

} // namespace LanguageChoice

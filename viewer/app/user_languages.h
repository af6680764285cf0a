// The languages a user's locale asks for, read as gettext reads them: the locale is the first set
// of LC_ALL, LC_MESSAGES and LANG; LANGUAGE, a list such as "de:en", names the languages in order
// of preference and counts only when that locale is not C/POSIX (C, POSIX, C.UTF-8 or unset mean
// "no language": the program's own texts). Pure functions of the values given.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct LocaleEnvironment {
    QString language{};    // LANGUAGE
    QString lcAll{};       // LC_ALL
    QString lcMessages{};  // LC_MESSAGES
    QString lang{};        // LANG

    // The values of this process's environment.
    static LocaleEnvironment FromProcess();
};

// The user's languages in order of preference, each without its character set or modifier
// ("en_US.UTF-8@euro" is "en_US"); empty for the C/POSIX locale or none.
QStringList UserLanguages(const LocaleEnvironment& environment);

// The name of the translation ("quadrel_en_GB", "quadrel_en") that the first of `languages`
// with one asks for, trying each language in full and then its language part; `available` says
// whether a translation of that name exists. Empty when a Chinese language comes first (the
// program's own texts) or no language has a translation.
QString TranslationFor(const QStringList& languages,
                       const std::function<bool(const QString& name)>& available);

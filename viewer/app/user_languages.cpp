#include "viewer/app/user_languages.h"

#include <QRegularExpression>
#include <QtGlobal>

namespace {

// "en_US.UTF-8@euro" without its character set and modifier: "en_US".
QString WithoutCodeset(QString locale) {
    const qsizetype cut = locale.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    if (cut >= 0) locale.truncate(cut);
    return locale.trimmed();
}

bool IsCLocale(const QString& locale) {
    const QString name = WithoutCodeset(locale);
    return name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX");
}

}  // namespace

LocaleEnvironment LocaleEnvironment::FromProcess() {
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
            qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG")};
}

QStringList UserLanguages(const LocaleEnvironment& environment) {
    QString locale = environment.lcAll;
    if (locale.isEmpty()) locale = environment.lcMessages;
    if (locale.isEmpty()) locale = environment.lang;
    if (IsCLocale(locale)) return {};
    QStringList languages;
    for (const QString& entry : environment.language.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString language = WithoutCodeset(entry);
        if (!IsCLocale(language)) languages << language;
    }
    if (languages.isEmpty()) languages << WithoutCodeset(locale);
    return languages;
}

QString TranslationFor(const QStringList& languages,
                       const std::function<bool(const QString& name)>& available) {
    for (QString language : languages) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        const QString base = language.section(QLatin1Char('_'), 0, 0).toLower();
        // The program's own language comes before any translation listed after it.
        if (base == QLatin1String("zh")) return {};
        for (const QString& name : {language, base}) {
            const QString translation = QStringLiteral("quadrel_") + name;
            if (!name.isEmpty() && available(translation)) return translation;
        }
    }
    return {};
}

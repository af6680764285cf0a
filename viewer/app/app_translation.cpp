#include "viewer/app/app_translation.h"

#include <QCoreApplication>
#include <QFileInfo>

QString TranslationFor(const LocaleEnvironment& environment) {
    return TranslationFor(UserLanguages(environment), [](const QString& name) {
        return QFileInfo::exists(QLatin1String(kTranslationFolder) + name + QStringLiteral(".qm"));
    });
}

CAppTranslation::CAppTranslation(const LocaleEnvironment& environment) {
    const QString name = TranslationFor(environment);
    if (name.isEmpty() || !translator_.load(name, QLatin1String(kTranslationFolder))) return;
    if (QCoreApplication::installTranslator(&translator_)) installed_ = name;
}

CAppTranslation::~CAppTranslation() {
    if (!installed_.isEmpty()) QCoreApplication::removeTranslator(&translator_);
}

// The user's language for the program's texts. The texts in the code are Chinese, the program's
// own; a translation quadrel_<language>.qm, built from translations/quadrel_<language>.ts into the
// program's resources under ":/i18n", is installed when the user's locale asks for its language
// before Chinese (see user_languages.h). Chinese, the C/POSIX locale, no locale and languages
// without a translation keep the program's own texts.
#pragma once

#include <QString>
#include <QTranslator>

#include "viewer/app/user_languages.h"

// The resource folder of the translations.
inline constexpr char kTranslationFolder[] = ":/i18n/";

// The translation `environment` asks for among those in the program's resources ("quadrel_en"),
// or empty for the program's own texts. The resources must be initialised (resources::Init).
QString TranslationFor(const LocaleEnvironment& environment);

// Installs the translation `environment` asks for into the application for the life of this
// object and removes it when destroyed.
class CAppTranslation {
  public:
    explicit CAppTranslation(
        const LocaleEnvironment& environment = LocaleEnvironment::FromProcess());
    ~CAppTranslation();
    CAppTranslation(const CAppTranslation&) = delete;
    CAppTranslation& operator=(const CAppTranslation&) = delete;

    // The installed translation's name ("quadrel_en"), empty when none is installed.
    const QString& Installed() const { return installed_; }

  private:
    // GUI thread only (created and destroyed there, before and after every other thread of the
    // program runs, so that translations read on other threads never see it change).
    QTranslator translator_;
    QString installed_;
};

// Which translation the user's locale asks for: LC_ALL, LC_MESSAGES and LANG in that order,
// LANGUAGE's list of preferences unless the locale is C/POSIX, and Chinese before any
// translation listed after it.
#include <gtest/gtest.h>

#include "viewer/app/user_languages.h"

namespace {

// The translations a build might have: English, and British English beside it.
QString Chosen(const LocaleEnvironment& environment, bool withBritish = false) {
    return TranslationFor(UserLanguages(environment), [withBritish](const QString& name) {
        return name == QStringLiteral("quadrel_en") ||
               (withBritish && name == QStringLiteral("quadrel_en_GB"));
    });
}

TEST(UserLanguagesTest, AnEnglishLocaleAsksForEnglish) {
    EXPECT_EQ(UserLanguages({.lang = "en_US.UTF-8"}), QStringList{"en_US"});
    EXPECT_EQ(Chosen({.lang = "en_US.UTF-8"}), "quadrel_en");
    EXPECT_EQ(Chosen({.lang = "en_GB.ISO-8859-15@euro"}), "quadrel_en");
    EXPECT_EQ(Chosen({.lcMessages = "en_US.UTF-8", .lang = "zh_CN.UTF-8"}), "quadrel_en");
    // The most precise translation there is wins.
    EXPECT_EQ(Chosen({.lang = "en_GB.UTF-8"}, true), "quadrel_en_GB");
    EXPECT_EQ(Chosen({.lang = "en_US.UTF-8"}, true), "quadrel_en");
}

TEST(UserLanguagesTest, LanguageListsPreferencesAndTheFirstTranslatedOneWins) {
    const LocaleEnvironment germanThenEnglish{.language = "de:en", .lang = "de_DE.UTF-8"};
    EXPECT_EQ(UserLanguages(germanThenEnglish), (QStringList{"de", "en"}));
    EXPECT_EQ(Chosen(germanThenEnglish), "quadrel_en");
    // Chinese first keeps the program's own texts, although English follows.
    EXPECT_EQ(Chosen({.language = "zh_CN:en", .lang = "en_US.UTF-8"}), "");
    EXPECT_EQ(Chosen({.language = "en:zh_CN", .lang = "zh_CN.UTF-8"}), "quadrel_en");
    // Empty entries and a stray C in the list are skipped.
    EXPECT_EQ(UserLanguages({.language = "::C:fr", .lang = "fr_FR.UTF-8"}), QStringList{"fr"});
}

TEST(UserLanguagesTest, ChineseTheCLocaleNoLocaleAndUntranslatedLanguagesKeepTheOwnTexts) {
    EXPECT_EQ(Chosen({.lang = "zh_CN.UTF-8"}), "");
    EXPECT_EQ(Chosen({.lang = "zh_TW.UTF-8"}), "");
    EXPECT_EQ(Chosen({}), "");
    EXPECT_TRUE(UserLanguages({}).isEmpty());
    EXPECT_EQ(Chosen({.lang = "fr_FR.UTF-8"}), "");
    // Under C or POSIX LANGUAGE does not count, as with gettext.
    for (const char* c : {"C", "POSIX", "C.UTF-8"}) {
        EXPECT_TRUE(UserLanguages({.language = "en", .lang = c}).isEmpty()) << c;
        EXPECT_EQ(Chosen({.language = "en", .lcAll = c, .lang = "en_US.UTF-8"}), "") << c;
    }
    // LC_ALL comes before LC_MESSAGES and LANG.
    EXPECT_EQ(Chosen({.lcAll = "zh_CN.UTF-8", .lcMessages = "en_US", .lang = "en_US"}), "");
}

}  // namespace

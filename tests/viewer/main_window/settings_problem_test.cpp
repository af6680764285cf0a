// Settings that cannot be read in full at start-up: the viewer runs (on the first-run settings,
// or on what could be read), and says what happened once, after the window shows.
#include <sys/stat.h>

#include <filesystem>

#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/main_window/settings_problem.h"

namespace main_window_test {
namespace {

class SettingsProblemTest : public MainWindowTest {
  protected:
    // The warnings asked so far.
    std::vector<CScriptedPrompts::Record> Warnings() const {
        std::vector<CScriptedPrompts::Record> found;
        for (const CScriptedPrompts::Record& box : prompts_.MessageBoxes())
            if (box.caption == SettingsProblemCaption()) found.push_back(box);
        return found;
    }
};

TEST_F(SettingsProblemTest, AFolderInPlaceOfTheSettingsFileRunsOnDefaultsAndSaysSoOnce) {
    ASSERT_EQ(::mkdir(registry_.UserHive().c_str(), 0700), 0);
    Attach("signal=1,2,3,4");
    ::testing::internal::CaptureStderr();
    Open();
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Warnings().empty());  // not before the window shows
    prompts_.AnswerMessageBox(IDOK);
    Deliver();

    // The capture runs with the first-run settings: automatic control, the first-run titles.
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(std::u16string(window_->Capture().Graph()->channelTitles[0]), u"Channel 1");
    ASSERT_NE(window_->Settings(), nullptr);
    EXPECT_EQ(window_->Settings()->automaticChannelControl, 1);
    EXPECT_EQ(window_->Lock().State().lockCountdown, 900);

    const std::vector<CScriptedPrompts::Record> warnings = Warnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_TRUE(warnings[0].text.contains(QString::fromStdString(registry_.UserHive())))
        << warnings[0].text.toStdString();
    EXPECT_TRUE(warnings[0].text.contains(QStringLiteral("使用默认设置")));
    EXPECT_TRUE(warnings[0].text.contains(QStringLiteral("不会被保存")));

    // A change goes on in memory for this run; the folder is left as it was.
    ASSERT_TRUE(WriteSettingDword(OpenSettingsKey(), setting::kFastTurning, 1));
    DWORD fast = 0;
    EXPECT_TRUE(ReadSettingDword(OpenSettingsKey(), setting::kFastTurning, &fast));
    EXPECT_EQ(fast, 1u);
    EXPECT_TRUE(std::filesystem::is_directory(registry_.UserHive()));

    window_->TellSettingsProblem();
    Deliver();
    EXPECT_EQ(Warnings().size(), 1u);
}

TEST_F(SettingsProblemTest, ADamagedSettingsFileKeepsWhatCouldBeReadAndSaysWhereTheFileWent) {
    testing_support::WriteFile(registry_.UserHive(),
                               "[Software\\Corvane\\Grabber]\n"
                               "\"Channel Control Mode\"=dword:1\n"
                               "\"Channel I Enable\"=dword:1\n"
                               "\"Channel I Name\"=sz:\"前门\"\n"
                               "\"Mail Title\"=sz:\"\xff\"\n");
    Attach("signal=1,2,3,4");
    ::testing::internal::CaptureStderr();
    Open();
    ::testing::internal::GetCapturedStderr();
    prompts_.AnswerMessageBox(IDOK);
    Deliver();

    // The stored settings were kept, not reset to the first-run ones.
    ASSERT_NE(window_->Settings(), nullptr);
    EXPECT_EQ(window_->Settings()->automaticChannelControl, 0);
    EXPECT_EQ(window_->Settings()->channelEnabled[0], 1);
    EXPECT_EQ(window_->Settings()->channelEnabled[1], 0);
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(std::u16string(window_->Capture().Graph()->channelTitles[0]), u"前门");

    const registry::HiveStatus status = registry::HiveStatusOf(HKEY_CURRENT_USER);
    ASSERT_FALSE(status.keptAs.empty());
    const std::vector<CScriptedPrompts::Record> warnings = Warnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].text.contains(QString::fromStdString(status.keptAs)))
        << warnings[0].text.toStdString();
    EXPECT_TRUE(warnings[0].text.contains(QStringLiteral("已损坏")));
}

TEST_F(SettingsProblemTest, SettingsReadInFullBringNoWarning) {
    Open();
    Deliver();
    EXPECT_TRUE(Warnings().empty());
    EXPECT_FALSE(SettingsProblemText(registry::HiveStatusOf(HKEY_CURRENT_USER)));
}

TEST(SettingsProblemTextTest, ADamagedFileThatCouldNotBeKeptAsideSaysChangesAreNotSaved) {
    registry::HiveStatus status;
    status.file = "/home/u/.config/quadrel/HKEY_CURRENT_USER.reg";
    status.damaged = true;
    const std::optional<QString> text = SettingsProblemText(status);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->contains(QString::fromStdString(status.file)));
    EXPECT_TRUE(text->contains(QStringLiteral("无法另存")));
    EXPECT_TRUE(text->contains(QStringLiteral("不会被保存")));
}

}  // namespace
}  // namespace main_window_test

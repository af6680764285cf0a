// The Channel and System buttons in the running viewer: what the channel setting dialog's OK
// changes at once (titles on the panes, closed channels, the device's valid inputs, the alarms),
// its Reset, and an account set in the system setting dialog taking effect at the next login.
#include "tests/viewer/main_window/channel_views_fixture.h"
#include "viewer/settings/channel_setting_dialog.h"
#include "viewer/settings/system_setting_dialog.h"

namespace main_window_test {
namespace {

using std::chrono::seconds;

class SettingsButtonsTest : public ChannelViewsTest {
  protected:
    // Plays the channel setting dialog with `edit`, then OK.
    void PlayChannelDialog(std::function<void(QDialog&)> edit) {
        prompts_.PlayModal([edit](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Channel Setting");
            edit(dialog);
            ClickDlgButton(&dialog, IDOK);
        });
    }
    QString Title(int channel) const {
        return QString::fromUtf16(window_->Capture().Graph()->channelTitles[channel - 1]);
    }
};

TEST_F(SettingsButtonsTest, ChannelDialogOkRetitlesAndClosesChannelsAtOnce) {
    EnableOnly(0b1111);
    OpenUnlocked("");
    window_->Alarms().AlarmRaised(0b0100);
    ASSERT_TRUE(Shown(IDC_ALARM));
    PlayChannelDialog([](QDialog& dialog) {
        SetDlgItemText(&dialog, IDC_CHN_NAME2, "Yard");
        ClickDlgButton(&dialog, IDC_CHN_ENABLE3);  // unchecks channel 3
        SetDlgItemText(&dialog, IDC_CHN_TURN_SPAN, "4");
    });
    Click(IDC_CHANNEL_SETTING);
    EXPECT_EQ(prompts_.PendingSteps(), 0u);
    EXPECT_EQ(prompts_.UnscriptedCount(), 0);

    // The pane's stamp carries the new title, without a restart.
    EXPECT_EQ(Title(2), "Yard");
    EXPECT_EQ(Title(1), "Channel 1");
    // Channel 3 is closed on its pane and left out of the device's round.
    EXPECT_EQ(Pane(3)->Picture(), channel_views::DrawClosedPicture(3, Pane(3)->size()));
    EXPECT_EQ(Device().validInputs, 0b1011);
    EXPECT_FALSE(window_->Settings()->channelEnabled[2]);
    // The pending alarm is acknowledged.
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_EQ(window_->Alarms().Record().raisedAlarms, 0u);
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
}

TEST_F(SettingsButtonsTest, ChannelDialogClosedWithoutOkChangesNothing) {
    EnableOnly(0b1111);
    OpenUnlocked("");
    window_->Alarms().AlarmRaised(0b0001);
    prompts_.PlayModal([](QDialog& dialog) {
        SetDlgItemText(&dialog, IDC_CHN_NAME2, "Yard");
        ClickDlgButton(&dialog, IDCANCEL);
    });
    Click(IDC_CHANNEL_SETTING);
    EXPECT_EQ(Title(2), "Channel 2");
    EXPECT_TRUE(Shown(IDC_ALARM));
}

TEST_F(SettingsButtonsTest, ChannelButtonWhileLockedAsksForTheLoginFirst) {
    Attach("");
    Open();
    PassFirstRunNotice();
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });  // login
    Click(IDC_CHANNEL_SETTING);
    ASSERT_EQ(prompts_.Records().size(), 1u);
    EXPECT_NE(prompts_.Records()[0].caption, "Channel Setting");
}

TEST_F(SettingsButtonsTest, ResetStartsTheSearchAndASignalResetWhileTheDialogStaysOpen) {
    OpenUnlocked("");
    ASSERT_EQ(Device().searchState, devices::SearchState::Finished);
    ASSERT_FALSE(Running(ID_TIMER_SEARCH));
    bool openAfterReset = false;
    prompts_.PlayModal([&openAfterReset](QDialog& dialog) {
        ClickDlgButton(&dialog, IDC_CHN_RESET);
        openAfterReset = dialog.isVisible();
        ClickDlgButton(&dialog, IDCANCEL);
    });
    Click(IDC_CHANNEL_SETTING);
    EXPECT_TRUE(openAfterReset);
    EXPECT_NE(Device().searchState, devices::SearchState::Finished);
    // WM_SIGNAL_RESET arrives through the window's queue.
    EXPECT_FALSE(Running(ID_TIMER_SEARCH));
    Deliver();
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_EQ(window_->Alarms().Masks().baseline, -1);
}

TEST_F(SettingsButtonsTest, ANewAccountFromTheSystemDialogTakesEffectAtTheNextLogin) {
    OpenUnlocked("");
    prompts_.PlayModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "System setting");
        SetDlgItemText(&dialog, IDC_SYS_USER, "Warden");
        SetDlgItemText(&dialog, IDC_SYS_PASSWORD, "Key9");
        SetDlgItemText(&dialog, IDC_SYS_CONFIRM, "Key9");
        ClickDlgButton(&dialog, IDOK);
    });
    Click(IDC_SYSTEM);
    EXPECT_EQ(prompts_.PendingSteps(), 0u);
    EXPECT_FALSE(Locked());  // nothing else changes now

    window_->Lock().LockViewer();
    PlayLogin(QStringLiteral("Admin"), QString());
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    prompts_ = CScriptedPrompts();
    PlayLogin(QStringLiteral("Warden"), QStringLiteral("key9"));
    EXPECT_FALSE(window_->Lock().EnsureUnlocked());
    prompts_ = CScriptedPrompts();
    PlayLogin(QStringLiteral("Warden"), QStringLiteral("Key9"));
    EXPECT_TRUE(window_->Lock().EnsureUnlocked());
}

}  // namespace
}  // namespace main_window_test

// The channel setting dialog on a private registry, driven by control id: what it opens with, the
// radio buttons, the turn span's checks, what OK stores and in which order a failing write stops
// it, Reset, and the keyboard.
#include <QApplication>
#include <QLineEdit>
#include <QtTest/QTest>
#include <memory>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "tests/viewer/settings/settings_dialog_fixture.h"
#include "viewer/settings/channel_setting_dialog.h"
#include "viewer/settings/settings_schema.h"

namespace settings_dialog_test {
namespace {

const QString kSpanMessage = QStringLiteral("警告:轮询时间设置值取值范围在1到255, 请重新输入!");

class ChannelSettingDialogTest : public SettingsDialogTest {
  protected:
    void SetUp() override {
        Store(setting::kChannelName[0], u"Gate");
        Store(setting::kChannelName[1], u"Yard");
        Store(setting::kChannelName[2], u"Hall");
        Store(setting::kChannelName[3], u"Dock");
        for (LPCWSTR name : setting::kChannelEnable) Store(name, 1);
        Store(setting::kChannelControlMode, 1);
        Store(setting::kChannelTurnSpan, 7);
        Store(setting::kFastTurning, 0);
    }

    CChannelSettingDlg& Open() {
        dialog_ = std::make_unique<CChannelSettingDlg>(
            prompts_, [this] { ++resets_; }, nullptr);
        dialog_->show();
        return *dialog_;
    }
    QWidget* Dlg() const { return dialog_.get(); }
    bool Checked(int id) const { return IsDlgButtonChecked(Dlg(), id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsDlgItemEnabled(Dlg(), id); }
    void Ok() { ClickDlgButton(Dlg(), IDOK); }
    bool EndedWithOk() const { return !dialog_->isVisible() && dialog_->result() == IDOK; }
    // The six controls that only manual control uses.
    bool ManualControlsEnabled() const {
        const int ids[] = {IDC_CHN_TURN_SPAN, IDC_CHN_ENABLE1, IDC_CHN_ENABLE2,
                           IDC_CHN_ENABLE3,   IDC_CHN_ENABLE4, IDC_CHN_FAST_TURNING};
        int enabled = 0;
        for (const int id : ids) enabled += Enabled(id) ? 1 : 0;
        EXPECT_TRUE(enabled == 0 || enabled == 6) << enabled << " of 6 enabled";
        return enabled == 6;
    }

    std::unique_ptr<CChannelSettingDlg> dialog_;
    int resets_ = 0;
};

TEST_F(ChannelSettingDialogTest, OpensWithTheStoredValuesInTheirControls) {
    Store(setting::kChannelEnable[1], 0);
    Store(setting::kChannelEnable[2], 0);
    Store(setting::kFastTurning, 5);
    Open();
    EXPECT_EQ(dialog_->windowTitle(), "Channel Setting");
    // The title edits lie 1034, 1036, 1035, 1037 from top to bottom: channel 1 to 4.
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME1), "Gate");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME2), "Yard");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME3), "Hall");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME4), "Dock");
    EXPECT_LT(GetDlgItem(Dlg(), IDC_CHN_NAME2)->y(), GetDlgItem(Dlg(), IDC_CHN_NAME3)->y());
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_TURN_SPAN), "7");
    EXPECT_TRUE(Checked(IDC_CHN_ENABLE1));
    EXPECT_FALSE(Checked(IDC_CHN_ENABLE2));
    EXPECT_FALSE(Checked(IDC_CHN_ENABLE3));
    EXPECT_TRUE(Checked(IDC_CHN_ENABLE4));
    EXPECT_TRUE(Checked(IDC_CHN_FAST_TURNING));
    EXPECT_TRUE(Checked(IDC_CHN_MANUAL));
    EXPECT_FALSE(Checked(IDC_CHN_AUTO));
    EXPECT_TRUE(ManualControlsEnabled());
}

TEST_F(ChannelSettingDialogTest, AStoredModeOtherThanAutomaticOpensAsManualAndOkStoresOne) {
    for (const DWORD stored : {DWORD{3}, DWORD{0}}) {
        Store(setting::kChannelControlMode, stored);
        Open();
        EXPECT_TRUE(Checked(IDC_CHN_MANUAL)) << stored;
        EXPECT_FALSE(Checked(IDC_CHN_AUTO)) << stored;
        EXPECT_TRUE(ManualControlsEnabled()) << stored;
        Ok();
        EXPECT_TRUE(EndedWithOk());
        EXPECT_EQ(Number(setting::kChannelControlMode), 1u) << stored;
    }
}

TEST_F(ChannelSettingDialogTest, TheRadioButtonsEnableAndDisableTheManualControls) {
    Store(setting::kChannelControlMode, 2);
    Open();
    EXPECT_TRUE(Checked(IDC_CHN_AUTO));
    EXPECT_FALSE(ManualControlsEnabled());
    ClickDlgButton(Dlg(), IDC_CHN_MANUAL);
    EXPECT_FALSE(Checked(IDC_CHN_AUTO));
    EXPECT_TRUE(ManualControlsEnabled());
    ClickDlgButton(Dlg(), IDC_CHN_AUTO);
    EXPECT_FALSE(Checked(IDC_CHN_MANUAL));
    EXPECT_FALSE(ManualControlsEnabled());
    // A disabled check box does not take the user's click.
    ClickDlgButton(Dlg(), IDC_CHN_ENABLE1);
    EXPECT_TRUE(Checked(IDC_CHN_ENABLE1));
}

TEST_F(ChannelSettingDialogTest, ATurnSpanOutsideOneTo255IsRefusedAndNothingIsStored) {
    for (const char* span : {"0", "256", "999"}) {
        Open();
        SetDlgItemText(Dlg(), IDC_CHN_NAME1, "Front");
        ClickDlgButton(Dlg(), IDC_CHN_ENABLE2);
        SetDlgItemText(Dlg(), IDC_CHN_TURN_SPAN, span);
        Ok();
        EXPECT_EQ(Messages(), QStringList{kSpanMessage}) << span;
        EXPECT_TRUE(dialog_->isVisible()) << span;
        // Refused before the first write: the user may correct it or close the dialog.
        EXPECT_EQ(Text(setting::kChannelName[0]), u"Gate") << span;
        EXPECT_EQ(Number(setting::kChannelEnable[1]), 1u) << span;
        EXPECT_EQ(Number(setting::kChannelTurnSpan), 7u) << span;
        EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME1), "Front") << span;

        SetDlgItemText(Dlg(), IDC_CHN_TURN_SPAN, "255");
        Ok();
        EXPECT_TRUE(EndedWithOk()) << span;
        EXPECT_EQ(Number(setting::kChannelTurnSpan), 255u);
        EXPECT_EQ(Text(setting::kChannelName[0]), u"Front");
        EXPECT_EQ(Number(setting::kChannelEnable[1]), 0u);
        Store(setting::kChannelName[0], u"Gate");
        Store(setting::kChannelEnable[1], 1);
        Store(setting::kChannelTurnSpan, 7);
    }
}

TEST_F(ChannelSettingDialogTest, AnEmptyTurnSpanKeepsTheStoredOneAndTheRestIsStored) {
    Open();
    SetDlgItemText(Dlg(), IDC_CHN_TURN_SPAN, "");
    ClickDlgButton(Dlg(), IDC_CHN_ENABLE3);
    ClickDlgButton(Dlg(), IDC_CHN_FAST_TURNING);
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Number(setting::kChannelTurnSpan), 7u);
    EXPECT_EQ(Number(setting::kChannelEnable[2]), 0u);
    EXPECT_EQ(Number(setting::kFastTurning), 1u);
    EXPECT_EQ(Number(setting::kChannelControlMode), 1u);
}

TEST_F(ChannelSettingDialogTest, AutomaticModeStoresTheEnablesButNeitherChecksNorStoresTheSpan) {
    Store(setting::kChannelEnable[3], 0);
    Store(setting::kFastTurning, 1);
    Open();
    SetDlgItemText(Dlg(), IDC_CHN_TURN_SPAN, "0");
    ClickDlgButton(Dlg(), IDC_CHN_AUTO);
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Number(setting::kChannelControlMode), 2u);
    EXPECT_EQ(Number(setting::kChannelTurnSpan), 7u);
    // The disabled check boxes are stored as they stand.
    EXPECT_EQ(Number(setting::kChannelEnable[0]), 1u);
    EXPECT_EQ(Number(setting::kChannelEnable[3]), 0u);
    EXPECT_EQ(Number(setting::kFastTurning), 1u);
}

TEST_F(ChannelSettingDialogTest, ALongStoredTitleIsShownWholeWhileTypingStopsAtThirty) {
    const std::u16string longTitle(40, u'L');
    Store(setting::kChannelName[1], longTitle);
    Open();
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME2), QString::fromStdU16String(longTitle));
    auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(Dlg(), IDC_CHN_NAME3));
    ASSERT_NE(edit, nullptr);
    edit->clear();
    QTest::keyClicks(edit, QString(35, u'x'));
    EXPECT_EQ(edit->text(), QString(30, u'x'));
    auto* span = qobject_cast<QLineEdit*>(GetDlgItem(Dlg(), IDC_CHN_TURN_SPAN));
    span->clear();
    QTest::keyClicks(span, "1a2345");
    EXPECT_EQ(span->text(), "123");
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kChannelName[1]), longTitle);
    EXPECT_EQ(Text(setting::kChannelName[2]), std::u16string(30, u'x'));
    EXPECT_EQ(Number(setting::kChannelTurnSpan), 123u);
}

TEST_F(ChannelSettingDialogTest, AFailingWriteStopsOkWithWhatWasStoredBeforeIt) {
    Open();
    SetDlgItemText(Dlg(), IDC_CHN_NAME1, "Fore");  // as long as before: the hive keeps its size
    SetDlgItemText(Dlg(), IDC_CHN_NAME2, QString(30, u'y'));
    ClickDlgButton(Dlg(), IDC_CHN_AUTO);
    {
        const HiveSizeLimit limit(registry_.UserHive(), 8);
        Ok();
    }
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Text(setting::kChannelName[0]), u"Fore");
    EXPECT_EQ(Text(setting::kChannelName[1]), u"Yard");
    EXPECT_EQ(Number(setting::kChannelControlMode), 1u);
    // With room again the same OK stores everything.
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kChannelName[1]), std::u16string(30, u'y'));
    EXPECT_EQ(Number(setting::kChannelControlMode), 2u);
}

TEST_F(ChannelSettingDialogTest, WithoutTheSettingsKeyOkDoesNothing) {
    CloseSettingsKey();
    // A registry folder that is a file: the key can be neither opened nor created.
    const testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("file"), "");
    const testing_support::ScopedEnv env("QUADREL_REGISTRY_DIR", dir.File("file"));
    Open();
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_CHN_NAME1), "");
    Ok();
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ChannelSettingDialogTest, ResetRestartsTheSearchAndTheDialogStaysOpen) {
    Open();
    ClickDlgButton(Dlg(), IDC_CHN_RESET);
    ClickDlgButton(Dlg(), IDC_CHN_RESET);
    EXPECT_EQ(resets_, 2);
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ChannelSettingDialogTest, EnterStoresAndEscapeClosesWithoutStoring) {
    Open();
    SetDlgItemText(Dlg(), IDC_CHN_NAME4, "Pier");
    QTest::keyClick(GetDlgItem(Dlg(), IDC_CHN_NAME4), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), IDCANCEL);
    EXPECT_EQ(Text(setting::kChannelName[3]), u"Dock");

    Open();
    SetDlgItemText(Dlg(), IDC_CHN_NAME4, "Pier");
    QTest::keyClick(GetDlgItem(Dlg(), IDC_CHN_NAME4), Qt::Key_Return);
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kChannelName[3]), u"Pier");
}

TEST_F(ChannelSettingDialogTest, TabWalksTheControlsInTheirOrder) {
    Open();
    const std::vector<int> order = {IDC_CHN_NAME1,     IDC_CHN_NAME2,
                                    IDC_CHN_NAME3,     IDC_CHN_NAME4,
                                    IDC_CHN_MANUAL,    IDC_CHN_AUTO,
                                    IDC_CHN_ENABLE1,   IDC_CHN_ENABLE2,
                                    IDC_CHN_ENABLE3,   IDC_CHN_ENABLE4,
                                    IDC_CHN_TURN_SPAN, IDC_CHN_FAST_TURNING,
                                    IDC_CHN_RESET,     IDOK};
    EXPECT_EQ(TabOrder(*dialog_), order);
}

TEST_F(ChannelSettingDialogTest, Screenshot) {
    Open();
    Screenshot(*dialog_, "channel_setting_287");
}

}  // namespace
}  // namespace settings_dialog_test

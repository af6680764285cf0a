// The snapshot schedule dialog on a private registry: what it opens with, the checks of OK with
// their messages and what each leaves stored, the interval and mode rules, the save location and
// the folder chooser. The clock and the user's answers are the test's.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QFileDialog>
#include <ctime>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "tests/viewer/settings/settings_dialog_fixture.h"
#include "viewer/settings/settings_schema.h"
#include "viewer/settings/snap_schedule_dialog.h"

namespace {

class SnapScheduleDialogTest : public settings_dialog_test::SettingsDialogTest {
  protected:
    void SetUp() override {
        SetToday(2011, 5, 22);
        Store(setting::kScheduleSnapStart, u"2011-05-22");
        Store(setting::kScheduleSnapEnd, u"2011-05-22");
    }

    void SetToday(int year, int month, int day) {
        now_ = std::tm{};
        now_.tm_year = year - 1900;
        now_.tm_mon = month - 1;
        now_.tm_mday = day;
        now_.tm_hour = 9;
    }

    // Shows the dialog (its initialisation runs first).
    CSnapScheduleDlg& Open() {
        dialog_ = std::make_unique<CSnapScheduleDlg>(
            prompts_, [this] { return now_; }, nullptr);
        dialog_->show();
        return *dialog_;
    }
    QDateEdit* Picker(int id) const {
        return qobject_cast<QDateEdit*>(GetDlgItem(dialog_.get(), id));
    }
    bool Checked(int id) const { return IsDlgButtonChecked(dialog_.get(), id) == BST_CHECKED; }
    void Ok() { ClickDlgButton(dialog_.get(), IDOK); }
    bool EndedWithOk() const { return !dialog_->isVisible() && dialog_->result() == IDOK; }
    // The one message box since the last call.
    QString Message() {
        const auto boxes = prompts_.MessageBoxes();
        prompts_ = CScriptedPrompts();
        if (boxes.size() != 1) return QStringLiteral("%1 message boxes").arg(boxes.size());
        EXPECT_EQ(boxes[0].caption, QStringLiteral("错误"));
        return boxes[0].text;
    }

    std::tm now_{};
    std::unique_ptr<CSnapScheduleDlg> dialog_;
};

const QString kStartMessage = QStringLiteral("开始抓拍时间早于当前时间!");
const QString kEndMessage = QStringLiteral("抓拍结束时间早于开始时间或者当前时间!");

TEST_F(SnapScheduleDialogTest, OpensWithTheStoredValuesAndDaysBeforeTodayAsToday) {
    Store(setting::kScheduleSnapStart, u"2011-05-21");  // yesterday
    Store(setting::kScheduleSnapEnd, u"2011-06-03");
    Store(setting::kScheduleSnapSpan, 42);
    Store(setting::kScheduleSnapMode, 3);
    Store(setting::kSnapSavePathFrom, 2);
    Store(setting::kSnapSavePath, u"/srv/pictures/");
    CSnapScheduleDlg& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Setting"));
    EXPECT_EQ(Picker(IDC_SNAP_START)->date(), QDate(2011, 5, 22));
    EXPECT_EQ(Picker(IDC_SNAP_START)->minimumDate(), QDate(2011, 5, 22));
    EXPECT_EQ(Picker(IDC_SNAP_END)->date(), QDate(2011, 6, 3));
    EXPECT_EQ(GetDlgItemText(&dialog, IDC_SNAP_SPAN), QStringLiteral("42"));
    EXPECT_TRUE(Checked(IDC_SNAP_DAILY)) << "any mode but 1 is daily";
    EXPECT_FALSE(Checked(IDC_SNAP_CONTINUOUS));
    EXPECT_TRUE(Checked(IDC_SNAP_FROM_CUSTOM));
    EXPECT_FALSE(Checked(IDC_SNAP_FROM_RECORDING));
    EXPECT_TRUE(IsDlgItemEnabled(&dialog, IDC_SNAP_BROWSE));
    EXPECT_EQ(GetDlgItemText(&dialog, IDC_SNAP_PATH), QStringLiteral("/srv/pictures/"));

    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kScheduleSnapStart), u"2011-05-22");
    EXPECT_EQ(Text(setting::kScheduleSnapEnd), u"2011-06-03");
    EXPECT_EQ(Number(setting::kScheduleSnapMode), 2u);
    EXPECT_EQ(Number(setting::kScheduleSnapSpan), 42u);
}

TEST_F(SnapScheduleDialogTest, StartAndEndOnTodayAreAcceptedAndAnEndBeforeTheStartIsNot) {
    Open();
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_TRUE(prompts_.Records().empty());

    Store(setting::kScheduleSnapStart, u"2011-05-20");
    Open();
    Picker(IDC_SNAP_START)->setDate(QDate(2011, 5, 25));
    Picker(IDC_SNAP_END)->setDate(QDate(2011, 5, 24));
    Ok();
    EXPECT_EQ(Message(), kEndMessage);
    EXPECT_TRUE(dialog_->isVisible()) << "the dialog stays open";
    EXPECT_EQ(Text(setting::kScheduleSnapStart), u"2011-05-25") << "stored before the check";
    EXPECT_EQ(Text(setting::kScheduleSnapEnd), u"2011-05-22");
}

TEST_F(SnapScheduleDialogTest, DaysThatBecameThePastWhileTheDialogWasOpenAreRefused) {
    Store(setting::kSnapSavePathFrom, 2);
    Open();
    CheckRadioButton(dialog_.get(), IDC_SNAP_FROM_RECORDING, IDC_SNAP_FROM_CUSTOM,
                     IDC_SNAP_FROM_RECORDING);
    SetToday(2011, 5, 23);  // midnight passed
    Ok();
    EXPECT_EQ(Message(), kStartMessage);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Number(setting::kSnapSavePathFrom), 1u) << "stored before the check";
    EXPECT_EQ(Text(setting::kScheduleSnapStart), u"2011-05-22");

    Picker(IDC_SNAP_START)->setDate(QDate(2011, 5, 23));
    Ok();
    EXPECT_EQ(Message(), kEndMessage) << "the end, still the 22nd, is before today";
    Picker(IDC_SNAP_END)->setDate(QDate(2011, 5, 23));
    Ok();
    EXPECT_TRUE(EndedWithOk());
}

TEST_F(SnapScheduleDialogTest, AnIntervalOfZeroIsStoredAndAnEmptyOneKeepsTheStoredValue) {
    Store(setting::kScheduleSnapSpan, 300);
    Open();
    SetDlgItemText(dialog_.get(), IDC_SNAP_SPAN, QString());
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Number(setting::kScheduleSnapSpan), 300u);

    Open();
    SetDlgItemText(dialog_.get(), IDC_SNAP_SPAN, QStringLiteral("0"));
    ClickDlgButton(dialog_.get(), IDC_SNAP_CONTINUOUS);
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Number(setting::kScheduleSnapSpan), 0u);
    EXPECT_EQ(Number(setting::kScheduleSnapMode), 1u);
}

TEST_F(SnapScheduleDialogTest, TheRecordingFolderLeavesTheOwnFolderAsItWas) {
    Store(setting::kSnapSavePathFrom, 2);
    Store(setting::kSnapSavePath, u"/srv/kept/");
    Open();
    ClickDlgButton(dialog_.get(), IDC_SNAP_FROM_RECORDING);
    EXPECT_FALSE(IsDlgItemEnabled(dialog_.get(), IDC_SNAP_BROWSE));
    SetDlgItemText(dialog_.get(), IDC_SNAP_PATH, QStringLiteral("/elsewhere/"));
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Number(setting::kSnapSavePathFrom), 1u);
    EXPECT_EQ(Text(setting::kSnapSavePath), u"/srv/kept/");
}

TEST_F(SnapScheduleDialogTest, BrowseTakesAChosenFolderWithItsSlashAndCancelKeepsThePath) {
    testing_support::TempDir chosen;
    Store(setting::kSnapSavePathFrom, 1);
    Store(setting::kSnapSavePath, u"/srv/old/");
    Open();
    EXPECT_FALSE(IsDlgItemEnabled(dialog_.get(), IDC_SNAP_BROWSE));
    ClickDlgButton(dialog_.get(), IDC_SNAP_FROM_CUSTOM);
    ASSERT_TRUE(IsDlgItemEnabled(dialog_.get(), IDC_SNAP_BROWSE));

    prompts_.PlayModal([](QDialog& dialog) { dialog.reject(); });
    ClickDlgButton(dialog_.get(), IDC_SNAP_BROWSE);
    EXPECT_EQ(GetDlgItemText(dialog_.get(), IDC_SNAP_PATH), QStringLiteral("/srv/old/"));

    QString title;
    prompts_.PlayModal([&](QDialog& dialog) {
        title = dialog.windowTitle();
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        files->setDirectory(QString::fromStdString(chosen.Path()));
        files->selectFile(QString::fromStdString(chosen.Path()));
        dialog.accept();  // OK of the folder dialog
    });
    ClickDlgButton(dialog_.get(), IDC_SNAP_BROWSE);
    EXPECT_EQ(title, QStringLiteral("选择保存路径: "));
    const QString expected = QString::fromStdString(chosen.Path()) + u'/';
    EXPECT_EQ(GetDlgItemText(dialog_.get(), IDC_SNAP_PATH), expected);
    EXPECT_TRUE(dialog_->isVisible()) << "the dialog stays open";
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Number(setting::kSnapSavePathFrom), 2u);
    EXPECT_EQ(QString::fromStdU16String(Text(setting::kSnapSavePath)), expected);
}

}  // namespace

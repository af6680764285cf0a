// The system setting dialog on a private registry, driven by control id: what it opens with, the
// password check, what OK stores and where a failing write stops it, the folder chooser behind
// Browse, and the keyboard.
#include <QFileDialog>
#include <QLineEdit>
#include <QtTest/QTest>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "tests/viewer/settings/settings_dialog_fixture.h"
#include "viewer/settings/folder_chooser.h"
#include "viewer/settings/settings_schema.h"
#include "viewer/settings/system_setting_dialog.h"

namespace settings_dialog_test {
namespace {

const QString kMismatch = QStringLiteral("错误:两次输入的密码不相同!");

class SystemSettingDialogTest : public SettingsDialogTest {
  protected:
    CSystemSettingDlg& Open() {
        dialog_ = std::make_unique<CSystemSettingDlg>(prompts_, nullptr);
        dialog_->show();
        return *dialog_;
    }
    QWidget* Dlg() const { return dialog_.get(); }
    QString Quality() const {
        const QWidget* list = GetDlgItem(Dlg(), IDC_SYS_QUALITY);
        return ComboBoxGetItemText(list, ComboBoxGetCurSel(list));
    }
    void Passwords(const QString& password, const QString& confirmation) {
        SetDlgItemText(Dlg(), IDC_SYS_PASSWORD, password);
        SetDlgItemText(Dlg(), IDC_SYS_CONFIRM, confirmation);
    }
    void Ok() { ClickDlgButton(Dlg(), IDOK); }
    bool EndedWithOk() const { return !dialog_->isVisible() && dialog_->result() == IDOK; }
    // Plays the folder dialog: `folder` chosen, or cancelled when empty.
    void ChooseFolder(const std::string& folder) {
        prompts_.PlayModal([this, folder](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            ASSERT_NE(files, nullptr);
            openedIn_ = files->directory().absolutePath();
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("选择保存路径: "));
            if (folder.empty()) return dialog.reject();
            files->setDirectory(QString::fromStdString(folder));
            files->selectFile(QString::fromStdString(folder));
            dialog.accept();
        });
        ClickDlgButton(Dlg(), IDC_SYS_BROWSE);
    }

    std::unique_ptr<CSystemSettingDlg> dialog_;
    QString openedIn_;  // where the last folder dialog opened
};

TEST_F(SystemSettingDialogTest, AFreshKeyShowsTheDefaultPathAdminHighAndNoPassword) {
    Store(setting::kUserPassword, u"secret");
    Open();
    EXPECT_EQ(dialog_->windowTitle(), "System setting");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH).toStdU16String(),
              Text(setting::kSaveFilePath));
    EXPECT_TRUE(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH).endsWith(u'/'));
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_USER), "Admin");
    EXPECT_EQ(Quality(), "高");
    const QWidget* list = GetDlgItem(Dlg(), IDC_SYS_QUALITY);
    ASSERT_EQ(ComboBoxGetCount(list), 3);
    EXPECT_EQ(ComboBoxGetItemText(list, 1), "中");
    EXPECT_EQ(ComboBoxGetItemText(list, 2), "低");
    // The password fields start empty whatever is stored, and hide what is typed.
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_PASSWORD), "");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_CONFIRM), "");
    EXPECT_EQ(qobject_cast<QLineEdit*>(GetDlgItem(Dlg(), IDC_SYS_PASSWORD))->echoMode(),
              QLineEdit::Password);
}

TEST_F(SystemSettingDialogTest, AStoredQualityOutsideTheListShowsHighAndOkStoresZero) {
    for (const auto& [stored, shown] :
         {std::pair{DWORD{1}, "中"}, std::pair{DWORD{2}, "低"}, std::pair{DWORD{7}, "高"}}) {
        Store(setting::kSaveResolution, stored);
        Open();
        EXPECT_EQ(Quality(), QString::fromUtf8(shown)) << stored;
        Ok();
        EXPECT_TRUE(EndedWithOk());
        EXPECT_EQ(Number(setting::kSaveResolution), stored == 7 ? 0u : stored);
    }
    Open();
    ComboBoxSetCurSel(GetDlgItem(Dlg(), IDC_SYS_QUALITY), 2);
    Ok();
    EXPECT_EQ(Number(setting::kSaveResolution), 2u);
}

TEST_F(SystemSettingDialogTest, PasswordsThatDifferEvenInCaseAreRefusedAndNothingIsStored) {
    Store(setting::kUserPassword, u"old");
    for (const auto& [password, confirmation] :
         {std::pair{"Secret", "secret"}, std::pair{"Secret", "Secrex"}, std::pair{"", "x"}}) {
        Open();
        SetDlgItemText(Dlg(), IDC_SYS_USER, "Warden");
        Passwords(password, confirmation);
        Ok();
        EXPECT_EQ(Messages(), QStringList{kMismatch}) << password << "/" << confirmation;
        EXPECT_TRUE(dialog_->isVisible());
        EXPECT_EQ(Text(setting::kUserName), u"Admin");
        EXPECT_EQ(Text(setting::kUserPassword), u"old");
        // What the user typed stays for another try.
        EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_USER), "Warden");
        EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_PASSWORD), password);
        EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_CONFIRM), confirmation);
    }
    Passwords("Secret", "Secret");
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kUserName), u"Warden");
    EXPECT_EQ(Text(setting::kUserPassword), u"Secret");
}

TEST_F(SystemSettingDialogTest, TwoEmptyPasswordsStoreAnEmptyPassword) {
    Store(setting::kUserPassword, u"old");
    Open();
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Text(setting::kUserPassword), u"");
}

TEST_F(SystemSettingDialogTest, AFailingWriteStopsOkWithWhatWasStoredBeforeIt) {
    Open();
    SetDlgItemText(Dlg(), IDC_SYS_USER, "Abcde");  // as long as "Admin": the hive keeps its size
    Passwords(QString(40, u'p'), QString(40, u'p'));
    ComboBoxSetCurSel(GetDlgItem(Dlg(), IDC_SYS_QUALITY), 1);
    {
        const HiveSizeLimit limit(registry_.UserHive(), 8);
        Ok();
    }
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(Text(setting::kUserName), u"Abcde");
    EXPECT_EQ(Text(setting::kUserPassword), u"");
    EXPECT_EQ(Number(setting::kSaveResolution), 0u);
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kUserPassword), std::u16string(40, u'p'));
    EXPECT_EQ(Number(setting::kSaveResolution), 1u);
}

TEST_F(SystemSettingDialogTest, BrowseShowsTheChosenFolderWithASlashAndStoresItOnlyOnOk) {
    const testing_support::TempDir chosen;
    const std::u16string before = Text(setting::kSaveFilePath);
    Open();
    ChooseFolder(chosen.Path());
    const QString expected = QString::fromStdString(chosen.Path()) + u'/';
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH), expected);
    EXPECT_EQ(Text(setting::kSaveFilePath), before);
    // The root already ends with its slash and is shown unchanged.
    ChooseFolder("/");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH), "/");
    ChooseFolder(chosen.Path());
    // Cancelled, the field keeps its text; the dialog opened in the folder the field shows.
    ChooseFolder("");
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH), expected);
    EXPECT_EQ(openedIn_, QString::fromStdString(chosen.Path()));
    Ok();
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(QString::fromStdU16String(Text(setting::kSaveFilePath)), expected);
}

TEST_F(SystemSettingDialogTest, AFolderWhosePathWouldNotFitTheStoredPathIsNotTaken) {
    // 258 characters with the slash fit; 260 would be cut to another folder's name.
    const testing_support::TempDir root;
    const auto Nested = [&](std::size_t length) {
        std::string folder = root.Path();
        while (folder.size() < length) {
            const std::size_t name = std::min<std::size_t>(100, length - folder.size() - 1);
            folder += '/' + std::string(std::max<std::size_t>(name, 1), 'f');
        }
        std::filesystem::create_directories(folder);
        return folder;
    };
    const std::string fits = Nested(258);
    const std::string tooLong = Nested(259);
    ASSERT_EQ(fits.size(), 258u);
    ASSERT_EQ(tooLong.size(), 259u);
    Open();
    ChooseFolder(fits);
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH), QString::fromStdString(fits) + u'/');
    ChooseFolder(tooLong);
    EXPECT_EQ(GetDlgItemText(Dlg(), IDC_SYS_SAVE_PATH), QString::fromStdString(fits) + u'/');
}

TEST(SaveFolderFromChoiceTest, AppendsOneSlashAndRefusesEmptyPathsAndPathsStartingWithASpace) {
    // The folder dialog gives absolute paths, so the last two never come from it; the rule is
    // kept for any other caller.
    EXPECT_EQ(SaveFolderFromChoice(QStringLiteral("/srv/cameras")), u"/srv/cameras/");
    EXPECT_EQ(SaveFolderFromChoice(QStringLiteral("/srv/cameras/")), u"/srv/cameras/");
    EXPECT_EQ(SaveFolderFromChoice(QStringLiteral("/")), u"/");
    EXPECT_EQ(SaveFolderFromChoice(QString()), std::nullopt);
    EXPECT_EQ(SaveFolderFromChoice(QStringLiteral(" /srv/cameras")), std::nullopt);
}

TEST_F(SystemSettingDialogTest, TypingStopsWhereOkWouldCut) {
    Open();
    auto* user = qobject_cast<QLineEdit*>(GetDlgItem(Dlg(), IDC_SYS_USER));
    user->clear();
    QTest::keyClicks(user, QString(300, u'u'));
    EXPECT_EQ(user->text().size(), 255);
    auto* password = qobject_cast<QLineEdit*>(GetDlgItem(Dlg(), IDC_SYS_PASSWORD));
    QTest::keyClicks(password, QString(130, u'p'));
    EXPECT_EQ(password->text().size(), 127);
}

TEST_F(SystemSettingDialogTest, EnterStoresEscapeClosesAndTabFollowsTheTemplate) {
    Open();
    const std::vector<int> order = {IDC_SYS_QUALITY,  IDC_SYS_BROWSE,  IDC_SYS_USER,
                                    IDC_SYS_PASSWORD, IDC_SYS_CONFIRM, IDOK,
                                    IDC_SYS_SAVE_PATH};
    EXPECT_EQ(TabOrder(*dialog_), order);
    SetDlgItemText(Dlg(), IDC_SYS_USER, "Warden");
    QTest::keyClick(GetDlgItem(Dlg(), IDC_SYS_USER), Qt::Key_Escape);
    EXPECT_EQ(dialog_->result(), IDCANCEL);
    EXPECT_EQ(Text(setting::kUserName), u"Admin");
    Open();
    SetDlgItemText(Dlg(), IDC_SYS_USER, "Warden");
    QTest::keyClick(GetDlgItem(Dlg(), IDC_SYS_USER), Qt::Key_Return);
    EXPECT_TRUE(EndedWithOk());
    EXPECT_EQ(Text(setting::kUserName), u"Warden");
}

TEST_F(SystemSettingDialogTest, Screenshot) {
    Open();
    Screenshot(*dialog_, "system_setting_288");
}

}  // namespace
}  // namespace settings_dialog_test

// The security dialog: what it shows of the stored settings, what its OK stores, the test mail
// with its two messages (and why it failed), and the Security button that opens it.
#include <gmock/gmock.h>

#include "platform/ui/dialog_lists.h"
#include "tests/viewer/alerts/scripted_smtp_server.h"
#include "tests/viewer/main_window/alarm_fixture.h"
#include "viewer/alerts/security_dialog.h"

namespace main_window_test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Reply = ScriptedSmtpServer::Reply;
using std::chrono::seconds;

class SecurityDialogTest : public AlarmTest {
  protected:
    std::unique_ptr<CSecurity> MakeDialog(SettingsKeyHolder* holder) {
        auto dialog = std::make_unique<CSecurity>(holder, prompts_, options_.mail, nullptr);
        dialog->Create();
        return dialog;
    }
    static QString Text(const CSecurity& dialog, int id) { return GetDlgItemText(&dialog, id); }
    static QString Delay(const CSecurity& dialog) {
        const QWidget* list = dialog.GetDlgItem(IDC_SEC_LOCK_DELAY);
        return ComboBoxGetItemText(list, ComboBoxGetCurSel(list));
    }
    static DWORD Stored(LPCWSTR name) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(ReadSettingDword(OpenSettingsKey(), name, &value))
            << QString::fromUtf16(name).toStdString();
        return value;
    }
    static QString StoredText(LPCWSTR name) {
        WCHAR text[256];
        ReadSettingString(OpenSettingsKey(), name, text, 256);
        return QString::fromUtf16(text);
    }
    // The one message box the test mail showed.
    CScriptedPrompts::Record MailResult() {
        const std::vector<CScriptedPrompts::Record> boxes = prompts_.MessageBoxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? CScriptedPrompts::Record{} : boxes.back();
    }
};

TEST_F(SecurityDialogTest, ShowsTheStoredSettingsAndTheDelayAsItsEntry) {
    MailTo(25);
    AlarmWith(2);
    SetDword(setting::kLoginTimeoutFlag, 1);
    struct Case {
        DWORD minutes;
        const char* shown;
    };
    for (const Case& c : {Case{7, "05 minutes"}, Case{0, "15 minutes"}, Case{900, "15 minutes"},
                          Case{4, "15 minutes"}, Case{60, "60 minutes"}, Case{59, "55 minutes"}}) {
        SetDword(setting::kLoginTimeout, c.minutes);
        const auto dialog = MakeDialog(OpenSettingsKey());
        EXPECT_EQ(Delay(*dialog), QString::fromUtf8(c.shown)) << c.minutes;
    }
    const auto dialog = MakeDialog(OpenSettingsKey());
    EXPECT_EQ(ComboBoxGetCount(dialog->GetDlgItem(IDC_SEC_LOCK_DELAY)), 12);
    EXPECT_EQ(Text(*dialog, IDC_SEC_SMTP_SERVER), "127.0.0.1");
    EXPECT_EQ(Text(*dialog, IDC_SEC_MAIL_FROM_NAME), "Quadrel");
    EXPECT_EQ(Text(*dialog, IDC_SEC_MAIL_PASSWORD), "s3cr3t!");
    EXPECT_EQ(IsDlgButtonChecked(dialog.get(), IDC_SEC_SMTP_AUTH), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.get(), IDC_SEC_MAIL_ON_LOSS), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.get(), IDC_SEC_SOUND_ON_LOSS), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.get(), IDC_SEC_AUTO_LOCK), BST_CHECKED);
    EXPECT_EQ(dialog->windowTitle(), "Dialog");
}

TEST_F(SecurityDialogTest, OkStoresWhatIsShownButNeverAnEmptiedText) {
    MailTo(25);
    CSecurity& dialog = *MakeDialog(OpenSettingsKey()).release();
    std::unique_ptr<CSecurity> owner(&dialog);
    SetDlgItemText(&dialog, IDC_SEC_SMTP_SERVER, QStringLiteral("mail.example.com"));
    SetDlgItemText(&dialog, IDC_SEC_MAIL_DST, QString());
    SetDlgItemText(&dialog, IDC_SEC_MAIL_PASSWORD, QString());
    CheckDlgButton(&dialog, IDC_SEC_SMTP_AUTH, BST_UNCHECKED);
    CheckDlgButton(&dialog, IDC_SEC_MAIL_ON_LOSS, BST_CHECKED);
    CheckDlgButton(&dialog, IDC_SEC_SOUND_ON_LOSS, BST_UNCHECKED);
    CheckDlgButton(&dialog, IDC_SEC_AUTO_LOCK, BST_CHECKED);
    ComboBoxSetCurSel(dialog.GetDlgItem(IDC_SEC_LOCK_DELAY), 3);
    prompts_.PlayModal([](QDialog& shown) { ClickDlgButton(&shown, IDC_SEC_SAVE); });
    EXPECT_EQ(prompts_.RunModal(dialog), IDOK);

    EXPECT_EQ(StoredText(setting::kSmtpServer), "mail.example.com");
    EXPECT_EQ(StoredText(setting::kMailDst), "guard@example.com");  // emptied: kept
    EXPECT_EQ(StoredText(setting::kMailPassword), "s3cr3t!");
    EXPECT_EQ(Stored(setting::kSmtpServerAuth), 0u);
    EXPECT_EQ(Stored(setting::kSignalLoseAlarm), 1u);
    EXPECT_EQ(Stored(setting::kLoginTimeoutFlag), 1u);
    EXPECT_EQ(Stored(setting::kLoginTimeout), 20u);

    // No entry selected stores 0, which reads as 15 minutes.
    const auto again = MakeDialog(OpenSettingsKey());
    ComboBoxSetCurSel(again->GetDlgItem(IDC_SEC_LOCK_DELAY), -1);
    ClickDlgButton(again.get(), IDC_SEC_SAVE);
    EXPECT_EQ(Stored(setting::kLoginTimeout), 0u);
    EXPECT_EQ(Delay(*MakeDialog(OpenSettingsKey())), "15 minutes");
}

TEST_F(SecurityDialogTest, WithoutTheSettingsKeyItShowsNothingAndOkOnlyCloses) {
    MailTo(25);
    const auto dialog = MakeDialog(nullptr);
    EXPECT_EQ(Text(*dialog, IDC_SEC_SMTP_SERVER), "");
    EXPECT_EQ(ComboBoxGetCurSel(dialog->GetDlgItem(IDC_SEC_LOCK_DELAY)), CB_ERR);
    SetDlgItemText(dialog.get(), IDC_SEC_SMTP_SERVER, QStringLiteral("other"));
    prompts_.PlayModal([](QDialog& shown) { ClickDlgButton(&shown, IDC_SEC_SAVE); });
    EXPECT_EQ(prompts_.RunModal(*dialog), IDOK);
    EXPECT_EQ(StoredText(setting::kSmtpServer), "127.0.0.1");
}

TEST_F(SecurityDialogTest, TestMailUsesTheDialogsContentsAndReportsSuccess) {
    ScriptedSmtpServer server({{"220 ready\r\n"},
                               {"250 ok\r\n"},
                               {"250 ok\r\n"},
                               {"250 ok\r\n"},
                               {"354 go ahead\r\n"},
                               {"250 stored\r\n"},
                               {"221 bye\r\n"}});
    MailTo(server.Port());
    options_.mail.port = server.Port();
    SetDword(setting::kSmtpServerAuth, 0);
    const auto dialog = MakeDialog(OpenSettingsKey());
    SetDlgItemText(dialog.get(), IDC_SEC_MAIL_DST, QStringLiteral("typed@example.com"));
    ClickDlgButton(dialog.get(), IDC_SEC_TEST_MAIL);
    const CScriptedPrompts::Record result = MailResult();
    EXPECT_EQ(result.text, "发送邮件成功!");
    EXPECT_EQ(result.caption, "成功");
    EXPECT_EQ(result.type, MB_OK);
    EXPECT_FALSE(dialog->Sending());
    const ScriptedSmtpServer::Transcript seen = server.Finish();
    ASSERT_GE(seen.commands.size(), 3u);
    EXPECT_EQ(seen.commands[2], "RCPT TO:<typed@example.com>");  // not the stored recipient
    EXPECT_THAT(seen.data, HasSubstr("\r\n\r\nThis is a test mail!"));
    EXPECT_EQ(StoredText(setting::kMailDst), "guard@example.com");
}

TEST_F(SecurityDialogTest, TestMailFailureTellsTheServersReplyOrTheReason) {
    {
        ScriptedSmtpServer server({{"220 ready\r\n"},
                                   {"250 ok\r\n"},
                                   {"334 VXNlcm5hbWU6\r\n"},
                                   {"334 UGFzc3dvcmQ6\r\n"},
                                   {"535 5.7.8 bad credentials\r\n"}});
        MailTo(server.Port());
        const auto dialog = MakeDialog(OpenSettingsKey());
        ClickDlgButton(dialog.get(), IDC_SEC_TEST_MAIL);
        const CScriptedPrompts::Record result = MailResult();
        EXPECT_EQ(result.caption, "失败");
        EXPECT_THAT(result.text.toStdString(), StartsWith("发送邮件失败!"));
        EXPECT_THAT(result.text.toStdString(), HasSubstr("535 5.7.8 bad credentials"));
    }
    {
        prompts_ = CScriptedPrompts();
        options_.mail.port = ClosedLoopbackPort();
        const auto dialog = MakeDialog(OpenSettingsKey());
        ClickDlgButton(dialog.get(), IDC_SEC_TEST_MAIL);
        EXPECT_THAT(MailResult().text.toStdString(), HasSubstr("connection refused"));
    }
    {
        // Not buildable: an empty login, though the server wants none. Nothing connects.
        prompts_ = CScriptedPrompts();
        const auto dialog = MakeDialog(OpenSettingsKey());
        CheckDlgButton(dialog.get(), IDC_SEC_SMTP_AUTH, BST_UNCHECKED);
        SetDlgItemText(dialog.get(), IDC_SEC_MAIL_SRC, QString());
        ClickDlgButton(dialog.get(), IDC_SEC_TEST_MAIL);
        EXPECT_THAT(MailResult().text.toStdString(), StartsWith("发送邮件失败!"));
    }
}

TEST_F(SecurityDialogTest, SecurityButtonNeedsTheGraphAndTheLoginAndReloadsAfterOk) {
    Attach("absent");
    Open();
    LogInNow();
    Click(IDC_SECURITY);  // no capture graph: nothing opens
    EXPECT_TRUE(prompts_.Records().empty());
    window_.reset();
    FreeCaptureGraph();
    CloseSettingsKey();

    SetDword(setting::kLoginTimeoutFlag, 0);
    OpenUnlocked("");
    ASSERT_EQ(window_->Settings()->autoLockEnabled, 0);
    prompts_.PlayModal([](QDialog& shown) {
        CheckDlgButton(&shown, IDC_SEC_AUTO_LOCK, BST_CHECKED);
        ComboBoxSetCurSel(GetDlgItem(&shown, IDC_SEC_LOCK_DELAY), 0);
        ClickDlgButton(&shown, IDC_SEC_SAVE);
    });
    Click(IDC_SECURITY);
    EXPECT_EQ(prompts_.Records().size(), 1u);  // unlocked: no login before or after
    EXPECT_EQ(window_->Settings()->autoLockEnabled, 1);
    EXPECT_EQ(window_->Settings()->autoLockSeconds, 300);

    // Locked: the login comes first; cancelled, no dialog.
    Click(IDC_LOCKED);
    prompts_ = CScriptedPrompts();
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    Click(IDC_SECURITY);
    ASSERT_EQ(prompts_.Records().size(), 1u);
    EXPECT_EQ(prompts_.Records()[0].caption, LoginDialogTemplate().caption);
}

}  // namespace
}  // namespace main_window_test

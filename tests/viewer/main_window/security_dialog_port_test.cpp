// The security dialog's port edit and security list: what they show of the stored values, what
// OK stores (nothing new for a user who keeps the defaults), the test mail over STARTTLS with the
// typed port and what its failure tells, and a layout where no control covers another.
#include <gmock/gmock.h>

#include <QImage>
#include <QLineEdit>
#include <cstdlib>
#include <filesystem>

#include "platform/ui/dialog_lists.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/alerts/smtp_peer_process.h"
#include "tests/viewer/main_window/alarm_fixture.h"
#include "viewer/alerts/security_dialog.h"

namespace main_window_test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Options = SmtpPeerProcess::Options;
using std::chrono::seconds;

class SecurityPortTest : public AlarmTest {
  protected:
    std::unique_ptr<CSecurity> MakeDialog() {
        auto dialog =
            std::make_unique<CSecurity>(OpenSettingsKey(), prompts_, options_.mail, nullptr);
        dialog->Create();
        return dialog;
    }
    static QString Security(const CSecurity& dialog) {
        const QWidget* list = dialog.GetDlgItem(IDC_SEC_SMTP_SECURITY);
        return ComboBoxGetItemText(list, ComboBoxGetCurSel(list));
    }
    static bool Stored(LPCWSTR name, DWORD* value) {
        return ReadSettingDword(OpenSettingsKey(), name, value);
    }
    QString TestMail(CSecurity& dialog) {
        prompts_ = CScriptedPrompts();
        ClickDlgButton(&dialog, IDC_SEC_TEST_MAIL);
        const std::vector<CScriptedPrompts::Record> boxes = prompts_.MessageBoxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? QString() : boxes.back().text;
    }
};

TEST_F(SecurityPortTest, ShowsTheStoredPortAndSecurityOrTheDefaults) {
    MailTo(25);
    {
        const auto dialog = MakeDialog();
        EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT), "");
        const auto* port = qobject_cast<const QLineEdit*>(dialog->GetDlgItem(IDC_SEC_SMTP_PORT));
        ASSERT_NE(port, nullptr);
        EXPECT_EQ(port->placeholderText(), "25");
        EXPECT_EQ(ComboBoxGetCount(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY)), 3);
        EXPECT_EQ(ComboBoxGetCurSel(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY)), 0);
    }
    struct Case {
        DWORD port, security;
        const char* shownPort;
        const char* shownSecurity;
    };
    for (const Case& c : {Case{587, 1, "587", "STARTTLS"}, Case{465, 2, "465", "SSL/TLS"},
                          Case{0, 3, "", "无 (不加密)"}, Case{70000, 0, "", "无 (不加密)"}}) {
        SetDword(setting::kSmtpPort, c.port);
        SetDword(setting::kSmtpSecurity, c.security);
        const auto dialog = MakeDialog();
        EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT), c.shownPort) << c.port;
        EXPECT_EQ(Security(*dialog), QString::fromUtf8(c.shownSecurity)) << c.security;
    }
}

TEST_F(SecurityPortTest, OkStoresThemOnlyWhenChosenAndNeverAnEmptiedPort) {
    MailTo(25);
    DWORD value = 0;
    ClickDlgButton(MakeDialog().get(), IDC_SEC_SAVE);  // the defaults kept: nothing new stored
    EXPECT_FALSE(Stored(setting::kSmtpPort, &value));
    EXPECT_FALSE(Stored(setting::kSmtpSecurity, &value));

    {
        const auto dialog = MakeDialog();
        SetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT, QStringLiteral("587"));
        ComboBoxSetCurSel(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY), 1);
        ClickDlgButton(dialog.get(), IDC_SEC_SAVE);
    }
    ASSERT_TRUE(Stored(setting::kSmtpPort, &value));
    EXPECT_EQ(value, 587u);
    ASSERT_TRUE(Stored(setting::kSmtpSecurity, &value));
    EXPECT_EQ(value, 1u);

    {
        // An emptied or impossible port keeps the stored one; none, once stored, is stored.
        const auto dialog = MakeDialog();
        SetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT, QStringLiteral("0"));
        ComboBoxSetCurSel(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY), 0);
        ClickDlgButton(dialog.get(), IDC_SEC_SAVE);
    }
    ASSERT_TRUE(Stored(setting::kSmtpPort, &value));
    EXPECT_EQ(value, 587u);
    ASSERT_TRUE(Stored(setting::kSmtpSecurity, &value));
    EXPECT_EQ(value, 0u);
}

TEST_F(SecurityPortTest, TestMailGoesOverStartTlsToTheTypedPort) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!", {.tls = Options::Tls::kStartTls});
    ASSERT_TRUE(peer.WaitUntilListening(seconds(15))) << "aiosmtpd did not start";
    MailTo(peer.Port());
    options_.mail.port = ClosedLoopbackPort();  // only the typed port reaches the server
    options_.mail.caFile = peer.CaFile();
    const auto dialog = MakeDialog();
    SetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT, QString::number(peer.Port()));
    ComboBoxSetCurSel(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY), 1);
    EXPECT_EQ(TestMail(*dialog), "发送邮件成功!");
    EXPECT_EQ(testing_support::ReadFile(out.File("logins.txt")), "LOGIN camera s3cr3t!\n");
    EXPECT_NE(testing_support::ReadFile(out.File("message.eml")).find("This is a test mail!"),
              std::string::npos);
}

TEST_F(SecurityPortTest, TestMailFailureTellsTheTlsReasonOrTheBadPort) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(
        out.Path(), "camera", "s3cr3t!",
        {.tls = Options::Tls::kImplicit, .certificate = Options::Certificate::kWrongHost});
    ASSERT_TRUE(peer.WaitUntilListening(seconds(15))) << "aiosmtpd did not start";
    MailTo(peer.Port());
    options_.mail.caFile = peer.CaFile();
    const auto dialog = MakeDialog();
    ComboBoxSetCurSel(dialog->GetDlgItem(IDC_SEC_SMTP_SECURITY), 2);
    const std::string refused = TestMail(*dialog).toStdString();
    EXPECT_THAT(refused, StartsWith("发送邮件失败!\n"));
    EXPECT_THAT(refused, HasSubstr("certificate not verified"));
    EXPECT_FALSE(std::filesystem::exists(out.File("logins.txt")));

    // A port that cannot be: nothing connects.
    SetDlgItemText(dialog.get(), IDC_SEC_SMTP_PORT, QStringLiteral("99999"));
    EXPECT_THAT(TestMail(*dialog).toStdString(), HasSubstr("invalid port"));
}

TEST_F(SecurityPortTest, NoControlCoversAnotherAndAllFitTheDialog) {
    MailTo(25);
    const auto dialog = MakeDialog();
    dialog->show();
    const QRect inside = dialog->rect();
    std::vector<const QWidget*> controls;
    for (const QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() || child->inherits("QGroupBox")) continue;
        EXPECT_TRUE(inside.contains(child->geometry())) << GetDlgCtrlID(child);
        controls.push_back(child);
    }
    EXPECT_GE(controls.size(), 24u);  // every label, edit, list and button but the note
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << GetDlgCtrlID(controls[i]) << " and " << GetDlgCtrlID(controls[j]) << " "
                << controls[i]->metaObject()->className() << " "
                << controls[j]->metaObject()->className();
    if (const char* dir = std::getenv("QUADREL_SCREENSHOT_DIR"))
        dialog->grab().save(QString::fromLocal8Bit(dir) + "/security_dialog.png");
}

}  // namespace
}  // namespace main_window_test

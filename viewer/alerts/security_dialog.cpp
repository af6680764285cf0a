#include "viewer/alerts/security_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <array>
#include <cstdint>
#include <future>
#include <optional>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/dialog_items.h"
#include "platform/ui/dialog_lists.h"
#include "platform/ui/prompts.h"
#include "platform/ui/ui_text.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

using enum ControlKind;
using namespace control_style;

constexpr UINT kEditStyle = kBorder | kAutoHScroll | kTabStop;

const ControlTemplate kControls[] = {
    {IDC_STATIC, kGroupBox, "邮件服务设置", 7, 5, 286, 175},
    {IDC_STATIC, kStatic, "SMTP服务器:", 15, 20, 62, 10},
    {IDC_SEC_SMTP_SERVER, kEdit, nullptr, 80, 18, 205, 13, kEditStyle},
    {IDC_STATIC, kStatic, "端口:", 15, 37, 62, 10},
    {IDC_SEC_SMTP_PORT, kEdit, nullptr, 80, 35, 40, 13, kEditStyle | kNumber},
    {IDC_STATIC, kStatic, "安全连接:", 135, 37, 45, 10},
    {IDC_SEC_SMTP_SECURITY, kDropDownList, nullptr, 185, 35, 100, 60, kVScroll | kTabStop},
    {IDC_STATIC, kStatic, "发送邮件:", 15, 54, 62, 10},
    {IDC_SEC_MAIL_FROM_ADDR, kEdit, nullptr, 80, 52, 205, 13, kEditStyle},
    {IDC_STATIC, kStatic, "发送账户名:", 15, 71, 62, 10},
    {IDC_SEC_MAIL_FROM_NAME, kEdit, nullptr, 80, 69, 205, 13, kEditStyle},
    {IDC_STATIC, kStatic, "接收邮件:", 15, 88, 62, 10},
    {IDC_SEC_MAIL_DST, kEdit, nullptr, 80, 86, 205, 13, kEditStyle},
    {IDC_STATIC, kStatic, "主题:", 15, 105, 62, 10},
    {IDC_SEC_MAIL_TITLE, kEdit, nullptr, 80, 103, 205, 13, kEditStyle},
    {IDC_SEC_SMTP_AUTH, kAutoCheckBox, "SMTP服务器要求身份验证", 15, 121, 150, 10, kTabStop},
    {IDC_STATIC, kStatic, "用户账户名:", 15, 139, 62, 10},
    {IDC_SEC_MAIL_SRC, kEdit, nullptr, 80, 137, 140, 13, kEditStyle},
    {IDC_STATIC, kStatic, "密码:", 15, 158, 62, 10},
    {IDC_SEC_MAIL_PASSWORD, kEdit, nullptr, 80, 156, 140, 13, kEditStyle | kPassword},
    {IDC_SEC_TEST_MAIL, kPushButton, "邮件测试", 230, 155, 55, 14, kTabStop},
    {IDC_STATIC, kGroupBox, "信号丢失设置", 7, 184, 286, 40},
    {IDC_SEC_MAIL_ON_LOSS, kAutoCheckBox, "当信号丢失时发送邮件提示", 15, 196, 200, 10, kTabStop},
    {IDC_SEC_SOUND_ON_LOSS, kAutoCheckBox, "当信号丢失时开启警报提示", 15, 209, 200, 10, kTabStop},
    {IDC_STATIC, kGroupBox, "自动上锁设置", 7, 228, 286, 30},
    {IDC_SEC_AUTO_LOCK, kAutoCheckBox, "自动上锁时间", 15, 241, 80, 10, kTabStop},
    {IDC_SEC_LOCK_DELAY, kDropDownList, nullptr, 100, 239, 80, 120, kVScroll | kTabStop},
    {IDC_SEC_SENDING, kStatic, "正在发送测试邮件...", 7, 267, 200, 10, kHidden},
    {IDC_SEC_SAVE, kDefPushButton, "确定", 243, 264, 50, 14, kTabStop},
};

const DialogTemplate kDialog = {
    IDD_SECURITY,
    300,
    285,
    "Dialog",
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSysMenu |
        dialog_style::kModalFrame | dialog_style::kCenter,
    "MS Shell Dlg",
    8,
    DialogUnits::kFontAverage,
    kControls,
};

constexpr const char* kDelayEntries[] = {"05 minutes", "10 minutes", "15 minutes", "20 minutes",
                                         "25 minutes", "30 minutes", "35 minutes", "40 minutes",
                                         "45 minutes", "50 minutes", "55 minutes", "60 minutes"};
constexpr int kDefaultDelayEntry = 2;  // "15 minutes"
// The entries of the security list, in the order of the "SMTP Security" values 0, 1, 2.
constexpr const char* kSecurityEntries[] = {"无 (不加密)", "STARTTLS", "SSL/TLS"};
// The port edit takes a number of up to five digits.
constexpr int kPortDigits = 5;
// Edits that show a stored value take at most this many characters.
constexpr int kEditLimit = 100;
// Texts are read from the edits up to this many characters.
constexpr int kReadUnits = 256;
// How often the dialog looks whether the test mail has finished while it keeps painting.
constexpr int kSendPollMs = 20;

struct TextSetting {
    int id;
    LPCWSTR name;
};
constexpr TextSetting kMailTexts[] = {
    {IDC_SEC_SMTP_SERVER, setting::kSmtpServer},
    {IDC_SEC_MAIL_FROM_ADDR, setting::kMailFromAddr},
    {IDC_SEC_MAIL_FROM_NAME, setting::kMailFromName},
    {IDC_SEC_MAIL_DST, setting::kMailDst},
    {IDC_SEC_MAIL_TITLE, setting::kMailTitle},
};
constexpr TextSetting kLoginTexts[] = {
    {IDC_SEC_MAIL_SRC, setting::kMailSrc},
    {IDC_SEC_MAIL_PASSWORD, setting::kMailPassword},
};

// The edit's text, up to 255 characters.
std::array<WCHAR, kReadUnits> ReadEdit(const QWidget* dialog, int id) {
    std::array<WCHAR, kReadUnits> text{};
    GetDlgItemText(dialog, id, text.data(), kReadUnits);
    return text;
}

void ShowStoredText(QWidget* dialog, SettingsKeyHolder* holder, const TextSetting& text) {
    WCHAR value[kReadUnits];
    if (!ReadSettingString(holder, text.name, value, kReadUnits)) return;
    SetDlgItemText(dialog, text.id, QString::fromUtf16(value));
    LimitDlgItemText(dialog, text.id, kEditLimit);
}

void SaveText(const QWidget* dialog, SettingsKeyHolder* holder, const TextSetting& text) {
    const std::array<WCHAR, kReadUnits> value = ReadEdit(dialog, text.id);
    if (value[0]) WriteSettingString(holder, text.name, value.data());
}

bool Checked(const QWidget* dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// The port typed into the edit: 0 when it is empty (the default port), nothing when it is not a
// port number.
std::optional<std::uint16_t> TypedPort(const QWidget* dialog) {
    if (GetDlgItemText(dialog, IDC_SEC_SMTP_PORT).trimmed().isEmpty()) return 0;
    BOOL translated = FALSE;
    const UINT port = GetDlgItemInt(dialog, IDC_SEC_SMTP_PORT, &translated, FALSE);
    if (!translated || port < 1 || port > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

struct TestMailResult {
    bool delivered = false;
    QString failure;
};

}  // namespace

const DialogTemplate& SecurityDialogTemplate() {
    return kDialog;
}

CSecurity::CSecurity(SettingsKeyHolder* holder, IPrompts& prompts, const MailTransport& transport,
                     QWidget* parent)
    : CDialog(kDialog, parent), holder_(holder), prompts_(prompts), transport_(transport) {}

CSecurity::~CSecurity() = default;

void CSecurity::OnInitDialog() {
    CDialog::OnInitDialog();
    QWidget* list = GetDlgItem(IDC_SEC_LOCK_DELAY);
    for (const char* entry : kDelayEntries) ComboBoxAddString(list, QString::fromUtf8(entry));
    ComboBoxSetCurSel(list, -1);  // nothing chosen until the stored delay says which
    QWidget* security = GetDlgItem(IDC_SEC_SMTP_SECURITY);
    const QByteArray context = ui_text::DialogContext(Template());
    for (const char* entry : kSecurityEntries)
        ComboBoxAddString(security, ui_text::Translate(context.constData(), entry));
    ComboBoxSetCurSel(security, 0);
    LimitDlgItemText(this, IDC_SEC_SMTP_PORT, kPortDigits);
    if (auto* port = qobject_cast<QLineEdit*>(GetDlgItem(IDC_SEC_SMTP_PORT)))
        port->setPlaceholderText(QString::number(transport_.port));  // what an empty edit means
    if (!holder_) return;

    for (const TextSetting& text : kMailTexts) ShowStoredText(this, holder_, text);
    DWORD value = 0;
    if (ReadSettingDword(holder_, setting::kSmtpPort, &value) && value >= 1 && value <= 65535)
        SetDlgItemInt(this, IDC_SEC_SMTP_PORT, value, FALSE);
    if (ReadSettingDword(holder_, setting::kSmtpSecurity, &value) && value <= 2)
        ComboBoxSetCurSel(security, static_cast<int>(value));
    if (ReadSettingDword(holder_, setting::kSmtpServerAuth, &value) && value != 0)
        CheckDlgButton(this, IDC_SEC_SMTP_AUTH, BST_CHECKED);
    for (const TextSetting& text : kLoginTexts) ShowStoredText(this, holder_, text);
    if (ReadSettingDword(holder_, setting::kSignalLoseAlarm, &value)) {
        CheckDlgButton(this, IDC_SEC_MAIL_ON_LOSS, (value & 0x01) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(this, IDC_SEC_SOUND_ON_LOSS, (value & 0x02) ? BST_CHECKED : BST_UNCHECKED);
    }
    if (ReadSettingDword(holder_, setting::kLoginTimeoutFlag, &value) && value != 0)
        CheckDlgButton(this, IDC_SEC_AUTO_LOCK, BST_CHECKED);

    int entry = kDefaultDelayEntry;
    if (ReadSettingDword(holder_, setting::kLoginTimeout, &value) && value >= 1 && value <= 60 &&
        value / 5 >= 1 && value / 5 <= 12)
        entry = static_cast<int>(value / 5) - 1;
    ComboBoxSetCurSel(list, entry);
}

void CSecurity::OnCommand(int id, int code) {
    if (code == BN_CLICKED && Sending() && (id == IDC_SEC_SAVE || id == IDC_SEC_TEST_MAIL))
        return;  // the buttons wait for the test mail
    if (id == IDC_SEC_SAVE && code == BN_CLICKED) {
        OnSave();
        return;
    }
    if (id == IDC_SEC_TEST_MAIL && code == BN_CLICKED) {
        SendTestMail();
        return;
    }
    CDialog::OnCommand(id, code);
}

void CSecurity::OnCancel() {
    if (sending_) sending_->Raise();  // the test mail is given up at its current wait
    CDialog::OnCancel();
}

void CSecurity::OnSave() {
    if (holder_) {
        for (const TextSetting& text : kMailTexts) SaveText(this, holder_, text);
        // Like the texts, an empty (or invalid) port leaves the stored one. The security is
        // stored once it is chosen other than none, so that a user who keeps the defaults keeps
        // the key as it was.
        const std::optional<std::uint16_t> port = TypedPort(this);
        if (port && *port != 0) WriteSettingDword(holder_, setting::kSmtpPort, *port);
        const int security = ComboBoxGetCurSel(GetDlgItem(IDC_SEC_SMTP_SECURITY));
        DWORD stored = 0;
        if (security >= 0 && security <= 2 &&
            (security != 0 || ReadSettingDword(holder_, setting::kSmtpSecurity, &stored)))
            WriteSettingDword(holder_, setting::kSmtpSecurity, static_cast<DWORD>(security));
        WriteSettingDword(holder_, setting::kSmtpServerAuth,
                          Checked(this, IDC_SEC_SMTP_AUTH) ? 1 : 0);
        for (const TextSetting& text : kLoginTexts) SaveText(this, holder_, text);
        WriteSettingDword(holder_, setting::kSignalLoseAlarm,
                          (Checked(this, IDC_SEC_MAIL_ON_LOSS) ? 0x01u : 0u) |
                              (Checked(this, IDC_SEC_SOUND_ON_LOSS) ? 0x02u : 0u));
        WriteSettingDword(holder_, setting::kLoginTimeoutFlag,
                          Checked(this, IDC_SEC_AUTO_LOCK) ? 1 : 0);
        const int s = ComboBoxGetCurSel(GetDlgItem(IDC_SEC_LOCK_DELAY));
        const DWORD minutes = s + 1 >= 0 && s + 1 <= 12 ? static_cast<DWORD>((s + 1) * 5) : 15;
        WriteSettingDword(holder_, setting::kLoginTimeout, minutes);
    }
    EndDialog(IDOK);
}

void CSecurity::SendTestMail() {
    std::array<std::array<WCHAR, kReadUnits>, 7> texts;
    const int ids[7] = {IDC_SEC_SMTP_SERVER,  IDC_SEC_MAIL_FROM_ADDR, IDC_SEC_MAIL_FROM_NAME,
                        IDC_SEC_MAIL_DST,     IDC_SEC_MAIL_TITLE,     IDC_SEC_MAIL_SRC,
                        IDC_SEC_MAIL_PASSWORD};
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = ReadEdit(this, ids[i]);
    const MailTexts mailTexts{texts[0].data(), texts[1].data(), texts[2].data(), texts[3].data(),
                              texts[4].data(), texts[5].data(), texts[6].data()};
    std::optional<OutgoingMail> mail =
        PrepareMail(mailTexts, Checked(this, IDC_SEC_SMTP_AUTH), "This is a test mail!");

    const std::optional<std::uint16_t> port = TypedPort(this);
    if (mail && port) {
        mail->port = *port;
        mail->security = MailSecurityFromSetting(
            static_cast<std::uint32_t>(ComboBoxGetCurSel(GetDlgItem(IDC_SEC_SMTP_SECURITY))));
    }

    TestMailResult result;
    if (!mail) {
        result.failure = ui_text::Message(QStringLiteral("邮件设置不完整或太长"));
    } else if (!port) {
        result.failure = ui_text::Message(QStringLiteral("端口无效 (invalid port)"));
    } else {
        // The dialogue runs on a thread of its own; this dialog keeps painting meanwhile.
        sending_ = std::make_unique<AbortSignal>();
        ShowDlgItem(this, IDC_SEC_SENDING, true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::future<TestMailResult> delivery =
            std::async(std::launch::async,
                       [mail = std::move(*mail), transport = transport_, abort = sending_.get()] {
                           TestMailResult sent;
                           sent.delivered = DeliverMail(mail, transport, abort, &sent.failure);
                           return sent;
                       });
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (delivery.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
                loop.quit();
        });
        poll.start(kSendPollMs);
        loop.exec();
        result = delivery.get();
        QApplication::restoreOverrideCursor();
        ShowDlgItem(this, IDC_SEC_SENDING, false);
        const bool abandoned = sending_->Raised();
        sending_.reset();
        if (abandoned) return;  // the dialog was closed meanwhile
    }
    if (result.delivered) {
        prompts_.MessageBox(this, QStringLiteral("发送邮件成功!"), QStringLiteral("成功"), MB_OK);
        return;
    }
    // The first line is translated here: the whole text, with the failure, has no entry.
    QString text = ui_text::Message(QStringLiteral("发送邮件失败!"));
    if (!result.failure.isEmpty()) text += QStringLiteral("\n") + result.failure;
    prompts_.MessageBox(this, text, QStringLiteral("失败"), MB_OK);
}

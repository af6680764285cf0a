// CSecurity: the security dialog (template 290). It edits the mail settings (the server's port and
// transport security among them), the two signal-loss switches and the auto-lock delay in the
// settings key, and sends a test mail with what it shows.
// It has no Cancel button: "确定" (1061) saves and ends with IDOK; closing it otherwise saves
// nothing. Without a settings key it shows empty controls and "确定" only closes it.
//
// The test mail goes out on a thread of its own while the dialog keeps painting, with a busy
// cursor and a note that it is sending; the dialog's buttons wait meanwhile. Its failure message
// tells the server's last reply or what went wrong with the connection.
//
// GUI thread only, except the test mail's delivery.
#pragma once

#include <memory>

#include "platform/ui/dialog.h"
#include "viewer/alerts/abort_signal.h"
#include "viewer/alerts/mail_delivery.h"

class IPrompts;
struct SettingsKeyHolder;

inline constexpr int IDD_SECURITY = 290;
inline constexpr int IDC_SEC_SMTP_SERVER = 1055;
inline constexpr int IDC_SEC_MAIL_SRC = 1056;
inline constexpr int IDC_SEC_MAIL_PASSWORD = 1057;
inline constexpr int IDC_SEC_MAIL_DST = 1058;
inline constexpr int IDC_SEC_MAIL_TITLE = 1059;
inline constexpr int IDC_SEC_MAIL_FROM_ADDR = 1064;
inline constexpr int IDC_SEC_MAIL_FROM_NAME = 1070;
inline constexpr int IDC_SEC_SMTP_AUTH = 1050;
inline constexpr int IDC_SEC_TEST_MAIL = 1046;
inline constexpr int IDC_SEC_MAIL_ON_LOSS = 1051;
inline constexpr int IDC_SEC_SOUND_ON_LOSS = 1052;
inline constexpr int IDC_SEC_AUTO_LOCK = 1053;
inline constexpr int IDC_SEC_LOCK_DELAY = 1054;
inline constexpr int IDC_SEC_SAVE = 1061;
// The note shown while the test mail is being sent.
inline constexpr int IDC_SEC_SENDING = 1071;
// The server's port ("SMTP Port"; empty: the default, 25) and the transport security ("SMTP
// Security": entries none, STARTTLS, TLS from the start), below the server.
inline constexpr int IDC_SEC_SMTP_PORT = 1083;
inline constexpr int IDC_SEC_SMTP_SECURITY = 1084;

class CSecurity : public CDialog {
    Q_OBJECT

  public:
    // `holder` (may be null) is the settings key; `prompts` shows the test mail's result;
    // `transport` says where and how patiently the test mail goes. All outlive the dialog.
    CSecurity(SettingsKeyHolder* holder, IPrompts& prompts, const MailTransport& transport,
              QWidget* parent);
    ~CSecurity() override;

    void OnCommand(int id, int code) override;
    // Whether the test mail is on its way.
    bool Sending() const { return sending_ != nullptr; }

  protected:
    void OnInitDialog() override;
    void OnCancel() override;

  private:
    void OnSave();
    void SendTestMail();

    // Immutable after construction.
    SettingsKeyHolder* const holder_;  // the process's settings key holder; may be null
    IPrompts& prompts_;
    const MailTransport transport_;
    // GUI thread only; raised when the dialog is closed while the test mail is on its way.
    std::unique_ptr<AbortSignal> sending_;
};

const DialogTemplate& SecurityDialogTemplate();

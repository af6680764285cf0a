// CChannelSettingDlg: the channel setting dialog (template 287, caption "Channel Setting"). It
// edits the four channel titles and the channel control settings: manual or automatic control,
// the valid channels, the turn span and fast turning. Its Reset button restarts the grabber's
// signal search through the injected action. It keeps no state of its own: it opens with the
// stored values and OK stores them, in the order titles, control mode, turn span, enables, fast
// turning; a write that fails ends OK silently with the dialog open. Without the settings key it
// opens with the template's contents and OK does nothing. There is no Cancel button; Escape and
// the close box end it without storing anything.
//
// A turn span outside 1 to 255 in manual mode is refused with a message before anything is
// stored, so that a dialog the user then closes leaves the stored settings as they were.
//
// GUI thread only.
#pragma once

#include <functional>

#include "platform/ui/dialog.h"

class IPrompts;

inline constexpr int IDD_CHANNEL_SETTING = 287;
inline constexpr int IDC_CHN_NAME1 = 1034;
inline constexpr int IDC_CHN_NAME2 = 1036;
inline constexpr int IDC_CHN_NAME3 = 1035;
inline constexpr int IDC_CHN_NAME4 = 1037;
inline constexpr int IDC_CHN_MANUAL = 1038;
inline constexpr int IDC_CHN_AUTO = 1039;
inline constexpr int IDC_CHN_ENABLE1 = 1040;
inline constexpr int IDC_CHN_ENABLE2 = 1043;
inline constexpr int IDC_CHN_ENABLE3 = 1041;
inline constexpr int IDC_CHN_ENABLE4 = 1042;
inline constexpr int IDC_CHN_TURN_SPAN = 1044;
inline constexpr int IDC_CHN_FAST_TURNING = 1082;
inline constexpr int IDC_CHN_RESET = 1045;

// The title edit and the enable check box of channel n are kChannelNameIds[n - 1] and
// kChannelEnableIds[n - 1].
inline constexpr int kChannelNameIds[4] = {IDC_CHN_NAME1, IDC_CHN_NAME2, IDC_CHN_NAME3,
                                           IDC_CHN_NAME4};
inline constexpr int kChannelEnableIds[4] = {IDC_CHN_ENABLE1, IDC_CHN_ENABLE2, IDC_CHN_ENABLE3,
                                             IDC_CHN_ENABLE4};

class CChannelSettingDlg : public CDialog {
    Q_OBJECT

  public:
    // The Reset button's work: restart the signal search and tell the window. Called on the GUI
    // thread while the dialog stays open.
    using ResetSearch = std::function<void()>;
    // `prompts` outlives the dialog.
    CChannelSettingDlg(IPrompts& prompts, ResetSearch resetSearch, QWidget* parent);

    void OnCommand(int id, int code) override;

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    // Enables the turn span, the four enables and fast turning (manual mode) or disables them.
    void EnableManualControls(bool enable);

    // Not owned; outlives the dialog.
    IPrompts& prompts_;
    // GUI thread only.
    ResetSearch resetSearch_;
};

const DialogTemplate& ChannelSettingDialogTemplate();

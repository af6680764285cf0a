// CSnapScheduleDlg: the snapshot schedule dialog (template 289, caption "Setting"). It edits the
// first and last day of timed snapshots, their interval and mode, and where snapshots are saved
// (the recording folder or a folder of their own, chosen with the folder chooser). It keeps no
// state of its own: it opens with the stored values and OK stores them, each check failing with
// its message box and leaving the dialog open (what was stored before the failing check stays).
// Without the settings key it opens with the template's contents and OK does nothing. There is no
// Cancel button; Escape and the close box end it without storing anything.
//
// GUI thread only. The current local time comes from the injected `localNow`, the message boxes
// and the folder dialog from the injected prompts.
#pragma once

#include <ctime>
#include <functional>

#include "platform/ui/dialog.h"

class IPrompts;

inline constexpr int IDD_SNAP_SCHEDULE = 289;
inline constexpr int IDC_SNAP_START = 1071;
inline constexpr int IDC_SNAP_END = 1073;
inline constexpr int IDC_SNAP_SPAN = 1074;
inline constexpr int IDC_SNAP_DAILY = 1075;
inline constexpr int IDC_SNAP_CONTINUOUS = 1076;
inline constexpr int IDC_SNAP_FROM_RECORDING = 1065;
inline constexpr int IDC_SNAP_FROM_CUSTOM = 1067;
inline constexpr int IDC_SNAP_PATH = 1068;
inline constexpr int IDC_SNAP_BROWSE = 1048;

class CSnapScheduleDlg : public CDialog {
    Q_OBJECT

  public:
    using LocalClock = std::function<std::tm()>;
    // `prompts` outlives the dialog.
    CSnapScheduleDlg(IPrompts& prompts, LocalClock localNow, QWidget* parent);

    void OnCommand(int id, int code) override;

  protected:
    void OnInitDialog() override;
    void OnOK() override;

  private:
    void OnBrowse();

    // Not owned; outlives the dialog.
    IPrompts& prompts_;
    // GUI thread only.
    LocalClock localNow_;
};

const DialogTemplate& SnapScheduleDialogTemplate();

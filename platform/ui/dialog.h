// A dialog made from a control table, with the hooks of a dialog procedure: initialisation,
// commands from controls (id and notification code), OK and Cancel, and timers by id.
//
// Life: the constructor makes the window only; Create() makes the controls and calls
// OnInitDialog once (showing the dialog calls Create first, so it is enough to show or to run the
// dialog modally through IPrompts::RunModal). Enter presses the default button, Escape and the
// window's close box send IDCANCEL as a command, so a dialog that overrides OnCancel to do
// nothing cannot be closed by them. Modeless use: Create(), then show(); EndDialog hides it.
//
// Hooks (all optional):
//   OnInitDialog()          after the controls exist; default does nothing.
//   OnCommand(id, code)     a control's notification (dialog_builder.h lists them); default:
//                           BN_CLICKED of IDOK calls OnOK, of IDCANCEL calls OnCancel.
//   OnOK()                  default EndDialog(IDOK).
//   OnCancel()              default EndDialog(IDCANCEL).
//   OnTimer(id)             a tick of a timer armed with SetTimer; default does nothing.
//   CreateControl(row, parent)  the widget for a table row, or null for the standard control
//                           (which is the default); used to put skinned buttons in place.
#pragma once

#include <QDialog>

#include "platform/ui/dialog_template.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/window_timers.h"

class CDialog : public QDialog {
    Q_OBJECT

  public:
    // `dialog` is static data and must outlive the dialog; `parent` (may be null) owns it.
    CDialog(const DialogTemplate& dialog, QWidget* parent);
    ~CDialog() override;

    // Makes the controls and runs OnInitDialog, the first time only.
    void Create();
    bool IsCreated() const { return created_; }

    // Ends the dialog with `result`: a modal run returns it, a modeless dialog is hidden.
    void EndDialog(int result) { done(result); }

    QWidget* GetDlgItem(int id) const;

    // Timers by id (window_timers.h); ticks call OnTimer.
    UINT SetTimer(UINT id, UINT milliseconds) { return timers_.SetTimer(id, milliseconds); }
    bool KillTimer(UINT id) { return timers_.KillTimer(id); }
    const CWindowTimers& Timers() const { return timers_; }

    const DialogTemplate& Template() const { return template_; }
    const DialogUnitMapping& Mapping() const { return mapping_; }

    // Public so that a test can step a tick or a command exactly as the window system would.
    virtual void OnTimer(UINT id);
    virtual void OnCommand(int id, int code);

    // Enter and Escape / the close box, routed through OnCommand.
    void accept() override;
    void reject() override;
    // Showing makes the controls first (children made after their parent is shown would stay
    // hidden).
    void setVisible(bool visible) override;

  protected:
    virtual void OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual QWidget* CreateControl(const ControlTemplate& control, QWidget* parent);

    void showEvent(QShowEvent* event) override;

  private:
    const DialogTemplate& template_;
    DialogUnitMapping mapping_;
    CWindowTimers timers_;
    bool created_ = false;
    bool placed_ = false;  // centred once, on the first show
};

// Ends the viewer on SIGTERM, SIGINT or SIGHUP as its Close button does after the login: a
// running recording is stopped and its file finished, the snapshots written, the settings
// closed. No login is asked: whoever may send the signal may end the process anyway. Open
// dialogs and message boxes are dismissed first, so that the window does not end under them.
#pragma once

#include <QObject>
#include <limits>

#include "viewer/app/termination_signals.h"

class CQuadrelDlg;

class CSignalShutdown : public QObject {
    Q_OBJECT

  public:
    explicit CSignalShutdown(CQuadrelDlg& window);

    // The signal that ended the viewer, 0 while none has come.
    int Signal() const { return signal_; }
    bool Armed() const { return signals_.Armed(); }

  private:
    void OnSignal(int signal);
    // Dismisses the innermost modal dialog and comes back once its loop has returned; closes
    // the viewer when none is left.
    void CloseWhenNoDialogIsOpen();

    // GUI thread only.
    CQuadrelDlg& window_;
    int signal_ = 0;
    int dismissed_ = 0;  // dialogs dismissed, and rounds spent waiting for their loops
    int waits_ = 0;
    // The event-loop level the last dismissed dialog returns to; INT_MAX before any.
    int dismissedLevel_ = std::numeric_limits<int>::max();
    CTerminationSignals signals_;
};

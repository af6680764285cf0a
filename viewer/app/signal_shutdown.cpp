#include "viewer/app/signal_shutdown.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "platform/ui/dialog_codes.h"
#include "viewer/main_window/quadrel_dlg.h"

namespace {

// Nested dialogs are rarely more than two or three deep; dialogs that keep coming back, or a
// loop that does not return, do not stop the shutdown.
constexpr int kMaxDialogs = 32;
constexpr int kMaxWaits = 1000;

}  // namespace

CSignalShutdown::CSignalShutdown(CQuadrelDlg& window)
    : window_(window), signals_([this](int signal) { OnSignal(signal); }) {}

void CSignalShutdown::OnSignal(int signal) {
    signal_ = signal;
    const char* const name = sigabbrev_np(signal);
    std::fprintf(stderr, "quadrel: SIG%s: closing the viewer (a second signal ends it at once)\n",
                 name ? name : "?");
    CloseWhenNoDialogIsOpen();
}

void CSignalShutdown::CloseWhenNoDialogIsOpen() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog && dialog != &window_ && dismissed_ < kMaxDialogs) {
        // done() ends the dialog's loop even where the dialog ignores Escape; its caller sees
        // a cancel. A dialog that its caller opens on that cancel is dismissed in turn.
        ++dismissed_;
        dismissedLevel_ = QThread::currentThread()->loopLevel() - 1;
        dialog->done(IDCANCEL);
        QTimer::singleShot(0, this, &CSignalShutdown::CloseWhenNoDialogIsOpen);
        return;
    }
    // A dismissed dialog's loop has not yet returned to the code that opened it: that code
    // runs first, with the window's capture still there.
    if (QThread::currentThread()->loopLevel() > dismissedLevel_ && waits_++ < kMaxWaits) {
        QTimer::singleShot(0, this, &CSignalShutdown::CloseWhenNoDialogIsOpen);
        return;
    }
    if (window_.isVisible() || window_.result() == 0) window_.CloseViewer();
}

// The lock: the unlock gate with its login, locking at once, and the automatic lock.
#include "viewer/main_window/viewer_lock.h"

#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"
#include "viewer/main_window/login_dialog.h"

namespace {

constexpr std::int32_t kDefaultLockSeconds = 900;
constexpr std::int32_t kWatchSeconds = 3;

}  // namespace

void CViewerLock::SettingsLoaded(bool fromKey) {
    const GrabberSettings* settings = host_.Settings();
    firstRunNoticeDue_ = settings && settings->firstRun;
    if (fromKey && settings) state_.lockCountdown = settings->autoLockSeconds;
}

bool CViewerLock::EnsureUnlocked() {
    if (firstRunNoticeDue_) {
        firstRunNoticeDue_ = false;  // in memory only: the notice comes once per run
        host_.Prompts().MessageBox(host_.PromptOwner(),
                                   QStringLiteral("默认密码位空, 请在系统设置窗口中设置新密码!"),
                                   QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
    }
    if (state_.locked == 0) return true;

    CLoginDlg login(host_.Prompts(), host_.PromptOwner());
    if (host_.Prompts().RunModal(login) != IDOK) {
        LockViewer();
        return false;
    }
    host_.ShowLockButtons(false);
    state_.locked = 0;
    const GrabberSettings* settings = host_.Settings();
    const std::int32_t seconds = settings ? settings->autoLockSeconds : 0;
    state_.lockCountdown = seconds > 0 ? seconds : kDefaultLockSeconds;
    return true;
}

void CViewerLock::LockViewer() {
    state_.lockCountdown = -1;
    host_.ShowLockButtons(true);
    state_.locked = 1;
}

int CViewerLock::TickAutoLock() {
    const GrabberSettings* settings = host_.Settings();
    if (!settings || !settings->autoLockEnabled) return 0;
    if (state_.lockCountdown >= 0) state_.lockCountdown -= kWatchSeconds;
    if (state_.lockCountdown > 0 || state_.locked == 1) return 0;
    LockViewer();
    return 1;
}

// The lock: the unlock gate with its login, locking at once, the automatic lock, and the UnLock
// button.
#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"
#include "viewer/main_window/login_dialog.h"
#include "viewer/main_window/main_dialog_ids.h"
#include "viewer/main_window/quadrel_dlg.h"

namespace {

constexpr std::int32_t kDefaultLockSeconds = 900;
constexpr std::int32_t kWatchSeconds = 3;

}  // namespace

bool CQuadrelDlg::EnsureUnlocked() {
    if (m_pSettings && m_pSettings->firstRun) {
        m_pSettings->firstRun = 0;  // in memory only: the notice comes once per run
        Prompts().MessageBox(this, QStringLiteral("默认密码位空, 请在系统设置窗口中设置新密码!"),
                             QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
    }
    if (m_pAlarm->locked == 0) return true;

    CLoginDlg login(Prompts(), this);
    if (Prompts().RunModal(login) != IDOK) {
        LockViewer();
        return false;
    }
    ShowItem(IDC_UNLOCK, false);
    ShowItem(IDC_LOCKED, true);
    m_pAlarm->locked = 0;
    const std::int32_t seconds = m_pSettings ? m_pSettings->autoLockSeconds : 0;
    m_pAlarm->lockCountdown = seconds > 0 ? seconds : kDefaultLockSeconds;
    return true;
}

void CQuadrelDlg::LockViewer() {
    m_pAlarm->lockCountdown = -1;
    ShowItem(IDC_UNLOCK, true);
    ShowItem(IDC_LOCKED, false);
    m_pAlarm->locked = 1;
}

int CQuadrelDlg::TickAutoLock() {
    if (!m_pSettings || !m_pSettings->autoLockEnabled) return 0;
    if (m_pAlarm->lockCountdown >= 0) m_pAlarm->lockCountdown -= kWatchSeconds;
    if (m_pAlarm->lockCountdown > 0 || m_pAlarm->locked == 1) return 0;
    LockViewer();
    return 1;
}

void CQuadrelDlg::OnUnlock() {
    if (!EnsureUnlocked()) {
        LockViewer();
        return;
    }
    if (!m_pGraph) {
        const int result = StartCapture();
        if (result == 1)
            Prompts().MessageBox(this, QStringLiteral("没有找到监控设备!"), QStringLiteral("错误"),
                                 MB_OK | MB_ICONERROR);
        else if (result != 0)
            Prompts().MessageBox(this, QStringLiteral("应用程序加载失败!"), QStringLiteral("错误"),
                                 MB_OK | MB_ICONERROR);
    }
    ShowItem(IDC_UNLOCK, false);
    ShowItem(IDC_LOCKED, true);
    m_pAlarm->locked = 0;
}

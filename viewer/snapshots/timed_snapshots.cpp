// The timed snapshots: the schedule window, arming and disarming, and the ticks of the snapshot
// timer.
#include "viewer/snapshots/timed_snapshots.h"

#include <algorithm>

#include "platform/ui/prompts.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr std::size_t kDateUnits = 32;
constexpr DWORD kDailyMode = 2;

// The stored date `name`; a zero date when it cannot be read.
ScheduleDate ReadDate(SettingsKeyHolder* holder, LPCWSTR name) {
    WCHAR text[kDateUnits] = {};
    ReadSettingString(holder, name, text, kDateUnits);
    return ParseScheduleDate(text);
}

}  // namespace

ScheduleDate CTimedSnapshots::Today() const {
    return DateOf(clock_.LocalNow());
}

std::int64_t CTimedSnapshots::DelayToStartMs(const std::tm& now, const ScheduleDate& start) {
    const std::int64_t months =
        (std::int64_t{start.year} - (now.tm_year + 1900)) * 12 + (start.month - (now.tm_mon + 1));
    const std::int64_t days = months * 30 + (start.day - now.tm_mday);
    const std::int64_t seconds = ((days * 24 - now.tm_hour) * 60 - now.tm_min) * 60 - now.tm_sec;
    return seconds * 1000;
}

void CTimedSnapshots::LoadSnapWindow() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    const ScheduleDate today = Today();
    for (const LPCWSTR name : {setting::kScheduleSnapStart, setting::kScheduleSnapEnd}) {
        if (DateBefore(ReadDate(holder, name), today))
            WriteSettingString(holder, name, FormatScheduleDate(today).c_str());
    }
}

void CTimedSnapshots::ReadSnapWindow() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    window_.start = ReadDate(holder, setting::kScheduleSnapStart);
    window_.end = ReadDate(holder, setting::kScheduleSnapEnd);
}

void CTimedSnapshots::ArmTimedSnapshots() {
    const std::tm now = clock_.LocalNow();
    if (DateBefore(window_.end, DateOf(now))) {
        host_.SnapshotMessageBox(QStringLiteral("结束时间早于当前时间!"), QStringLiteral("错误"),
                                 MB_OK);
        return;
    }
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    std::int64_t delay = 0;
    if (DateBefore(DateOf(now), window_.start)) {
        // The count of 30-day months can put the start's midnight behind now (from the 31st to
        // the 1st): the first snapshot is then due at once.
        delay = std::max<std::int64_t>(DelayToStartMs(now, window_.start), 0);
    } else {
        DWORD span = 0;
        ReadSettingDword(holder, setting::kScheduleSnapSpan, &span);
        delay = std::int64_t{span} * 1000;
    }
    ArmDelay(delay);
    host_.LatchTimerSnap(true);
    if (CaptureGraph* graph = host_.Graph()) SetSnapIndicator(graph, true);
}

void CTimedSnapshots::ArmDelay(std::int64_t delayMs) {
    const std::int64_t step = std::min(delayMs, kMaxSnapTimerStepMs);
    pendingDelayMs_ = delayMs - step;
    snapPeriod_ = static_cast<UINT>(step);
    host_.KillSnapTimer();
    host_.SetSnapTimer(std::max(snapPeriod_, kMinSnapTimerPeriodMs));
}

void CTimedSnapshots::DisarmTimedSnapshots() {
    Disarm();
}

void CTimedSnapshots::Disarm() {
    host_.KillSnapTimer();
    snapPeriod_ = 0;
    pendingDelayMs_ = 0;
    host_.LatchTimerSnap(false);
    // SetSnapIndicator redraws the stamps only when the indicator was on.
    if (CaptureGraph* graph = host_.Graph()) SetSnapIndicator(graph, false);
}

void CTimedSnapshots::StopTimedSnapshots() {
    snapPeriod_ = 0;
    pendingDelayMs_ = 0;
}

void CTimedSnapshots::OnSnapTimer() {
    // A step on the way to the start date: only the next step.
    if (pendingDelayMs_ > 0) {
        ArmDelay(pendingDelayMs_);
        return;
    }
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;  // no snapshot this time; the timer keeps running
    std::u16string folder;
    CSnapshots::ReadSnapshotFolder(&folder);
    if (snapshots_.FreeSpaceMiB(folder) <= kTimedSnapshotMinimumFreeMiB) {
        host_.ShowMessage(QStringLiteral("磁盘空间满, 不能保存抓图."));
        Disarm();
        return;
    }
    if (!host_.Graph()) return;
    if (DateBefore(window_.end, Today())) {
        Disarm();
        return;
    }
    snapshots_.TakeSnapshots();

    DWORD mode = 1;
    ReadSettingDword(holder, setting::kScheduleSnapMode, &mode);
    if (mode == kDailyMode) {
        // One snapshot a day: the next one in 24 hours. Timed snapshots stay armed (TimerSnap
        // latched, the indicator shown) until the user disarms them or the end date passes.
        ArmDelay(kDailySnapPeriodMs);
        return;
    }
    DWORD span = 0;
    ReadSettingDword(holder, setting::kScheduleSnapSpan, &span);
    const std::int64_t period = std::int64_t{span} * 1000;
    if (period == snapPeriod_) return;
    ArmDelay(period);
}

void CTimedSnapshots::OnTimerSnap() {
    if (!host_.Graph() || !host_.EnsureUnlocked()) return;
    if (host_.TimerSnapLatched())
        DisarmTimedSnapshots();
    else
        ArmTimedSnapshots();
}

void CTimedSnapshots::OnSaveImage() {
    if (!host_.Graph() || !host_.EnsureUnlocked()) return;
    if (!host_.RunScheduleDialog()) return;
    ReadSnapWindow();
    if (host_.TimerSnapLatched()) ArmTimedSnapshots();
}

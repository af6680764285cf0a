// The alarms: the signal watch of the 3-second watch tick, raising and clearing the alarms.
// Once the device's signal search has finished, the first poll takes the signal baseline; later
// polls paint "No Signal" and "Lost Signal" and report the enabled channels that have shown a
// signal since the last reset and have none now.
#include "viewer/alerts/alarms.h"

#include <optional>

#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"
#include "viewer/alerts/alarm_mail.h"
#include "viewer/alerts/security_dialog.h"
#include "viewer/capture/device_commands.h"
#include "viewer/settings/settings_key.h"

namespace {

// The order in which a mask's bits are raised: the device first, then the channels 1 to 4.
constexpr std::uint32_t kRaiseOrder[] = {AlarmDeviceRemoved, AlarmChannel1, AlarmChannel2,
                                         AlarmChannel3, AlarmChannel4};

}  // namespace

CAlarms::CAlarms(IAlarmsHost& host, const AlarmOptions& options)
    : host_(host), transport_(options.mail), sound_(options.soundOutput), mailer_(options.mail) {}

std::uint32_t CAlarms::PollSignalLoss() {
    CaptureGraph* graph = host_.Graph();
    if (!graph) return 0;
    const auto readSignalMask = [graph]() -> std::optional<std::uint32_t> {
        std::uint32_t mask = 0;
        if (FAILED(GetSignalMask(graph, &mask))) return std::nullopt;
        return mask;
    };
    const channel_views::SignalPollResult result = channel_views::PollSignalLoss(
        GetSearchState(graph), readSignalMask, host_.EnabledChannels(), masks_);
    host_.PaintPanePictures(result.pictures);
    return result.lost;
}

void CAlarms::RaiseAlarm(std::uint32_t mask) {
    std::uint32_t bit = 0;
    for (const std::uint32_t candidate : kRaiseOrder) {
        if ((mask & candidate) && !(record_.raisedAlarms & candidate)) {
            bit = candidate;
            break;
        }
    }
    if (bit == 0) return;
    record_.raisedAlarms |= bit;
    const GrabberSettings* settings = host_.Settings();
    if (settings && settings->soundOnSignalLoss == 1) sound_.Start();  // stops, then loops anew
    if (settings && settings->mailOnSignalLoss == 1) SendAlarmMail(bit);
    AlarmRaised(bit);
}

void CAlarms::AlarmRaised(std::uint32_t mask) {
    record_.raisedAlarms |= mask & kAlarmBits;
    record_.alarmShown = 1;
    host_.ShowAlarmButton(true);
}

int CAlarms::SendAlarmMail(std::uint32_t bit) {
    const GrabberSettings* settings = host_.Settings();
    if (!settings) return 0;
    std::optional<OutgoingMail> mail = BuildAlarmMail(*settings, bit);
    if (!mail) return 0;
    mailer_.Post(std::move(*mail));
    return 1;
}

void CAlarms::ClearAlarm() {
    if (!host_.EnsureUnlocked()) return;
    ResetAlarms();
}

void CAlarms::StopAlarmSound() {
    sound_.Stop();
}

void CAlarms::ResetAlarms() {
    host_.ShowAlarmButton(false);
    record_.alarmShown = 0;
    StopAlarmSound();
    record_.raisedAlarms = 0;
    masks_.seen = -1;
}

void CAlarms::OnSecurity() {
    if (!host_.Graph() || !host_.EnsureUnlocked()) return;
    CSecurity dialog(OpenSettingsKey(), host_.Prompts(), transport_, host_.PromptOwner());
    if (host_.Prompts().RunModal(dialog) != IDOK) return;
    host_.ReloadGrabberSettings();
    host_.EnsureUnlocked();
}

void CAlarms::Shutdown() {
    sound_.Stop();
    mailer_.Shutdown();
}

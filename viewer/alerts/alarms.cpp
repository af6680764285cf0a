// The alarms: the signal watch of the 3-second watch tick and clearing the alarms. Once the
// device's signal search has finished, the first poll takes the signal baseline; later polls
// paint "No Signal" and "Lost Signal" and report the enabled channels that have shown a signal
// since the last reset and have none now.
#include "viewer/alerts/alarms.h"

#include <optional>

#include "viewer/capture/device_commands.h"

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

void CAlarms::RaiseAlarm(std::uint32_t /*mask*/) {
    // Hook of the alarms: sound, mail and the Alarm button for one new alarm bit (the alarm
    // issue), then AlarmRaised.
}

void CAlarms::AlarmRaised(std::uint32_t mask) {
    record_.raisedAlarms |= mask & kAlarmBits;
    record_.alarmShown = 1;
    host_.ShowAlarmButton(true);
}

void CAlarms::StopAlarmSound() {
    // Hook of the alarms: stops the looping alarm sound (the alarm issue).
}

void CAlarms::ResetAlarms() {
    host_.ShowAlarmButton(false);
    record_.alarmShown = 0;
    StopAlarmSound();
    record_.raisedAlarms = 0;
    masks_.seen = -1;
}

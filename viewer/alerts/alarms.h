// CAlarms: the viewer's alarms. It holds the alarm record and the two signal masks of the signal
// watch, polls the device for channels that lost their signal, and clears the alarms. Raising an
// alarm (the sound, the mail and the Alarm button) is not built yet; RaiseAlarm and
// StopAlarmSound are its named hooks.
//
// It reaches the graph, the settings, the panes and the Alarm button only through its
// IAlarmsHost, which outlives it. GUI thread only: every operation and every field.
#pragma once

#include <cstdint>

#include "viewer/alerts/alarm_bits.h"
#include "viewer/alerts/alarm_record.h"
#include "viewer/alerts/alarms_host.h"
#include "viewer/channels/signal_poll.h"

class CAlarms {
  public:
    explicit CAlarms(IAlarmsHost& host) : host_(host) {}
    CAlarms(const CAlarms&) = delete;
    CAlarms& operator=(const CAlarms&) = delete;

    // One poll of the signal watch (see channel_views::PollSignalLoss): paints "No Signal" and
    // "Lost Signal" and returns the enabled channels newly without signal; 0 without a graph.
    std::uint32_t PollSignalLoss();
    // An alarm for the bits of `mask`: sound, mail and the Alarm button (the alarm issue).
    void RaiseAlarm(std::uint32_t mask);
    // Records the bits of `mask` as raised and shows the Alarm button. RaiseAlarm calls it once
    // it has sounded and mailed.
    void AlarmRaised(std::uint32_t mask);
    // The clearing steps of ClearAlarm without its gate: the Alarm button hidden, the sound
    // stopped, the raised bits cleared and the seen mask taken again.
    void ResetAlarms();
    // Stops the looping alarm sound (the alarm issue).
    void StopAlarmSound();
    // A new signal search or the device gone: both masks are taken again.
    void ResetSignalMasks() { masks_.Reset(); }

    const AlarmRecord& Record() const { return record_; }
    const channel_views::SignalMasks& Masks() const { return masks_; }

  private:
    IAlarmsHost& host_;  // the window; outlives this object
    // GUI thread only.
    AlarmRecord record_;
    channel_views::SignalMasks masks_;
};

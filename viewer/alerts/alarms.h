// CAlarms: the viewer's alarms. It holds the alarm record and the two signal masks of the signal
// watch, polls the device for channels that lost their signal, raises one alarm per call (the
// looping alarm sound, the alarm mail, the Alarm button), clears them on the Alarm button, and
// opens the security dialog of the Security button.
//
// Alarm mails go out on a worker of their own, in the order the alarms were raised, so a slow or
// silent mail server never holds the GUI thread; Shutdown (the window's Close) gives up what is
// unsent.
//
// It reaches the graph, the settings, the panes and the Alarm button only through its
// IAlarmsHost, which outlives it.
#pragma once

#include <cstdint>

#include "viewer/alerts/alarm_bits.h"
#include "viewer/alerts/alarm_options.h"
#include "viewer/alerts/alarm_record.h"
#include "viewer/alerts/alarm_sound.h"
#include "viewer/alerts/alarms_host.h"
#include "viewer/alerts/mail_worker.h"
#include "viewer/channels/signal_poll.h"

class CAlarms {
  public:
    CAlarms(IAlarmsHost& host, const AlarmOptions& options);
    CAlarms(const CAlarms&) = delete;
    CAlarms& operator=(const CAlarms&) = delete;

    // One poll of the signal watch (see channel_views::PollSignalLoss): paints "No Signal" and
    // "Lost Signal" and returns the enabled channels newly without signal; 0 without a graph.
    std::uint32_t PollSignalLoss();
    // Raises the first bit of `mask`, in the order 0x10, 0x01, 0x02, 0x04, 0x08, that is not
    // raised yet, and only that one: it is recorded, the alarm sound restarts when the settings
    // ask for sound, the alarm mail is handed to the mail worker when they ask for mail, and the
    // Alarm button shows. Nothing when every bit of `mask` is raised already.
    void RaiseAlarm(std::uint32_t mask);
    // Records the bits of `mask` as raised and shows the Alarm button (no sound, no mail).
    void AlarmRaised(std::uint32_t mask);
    // The Alarm button: after the unlock gate, the clearing steps of ResetAlarms; nothing changes
    // when the login fails.
    void ClearAlarm();
    // The clearing steps of ClearAlarm without its gate: the Alarm button hidden, the sound
    // stopped, the raised bits cleared and the seen mask taken again.
    void ResetAlarms();
    // Stops the looping alarm sound.
    void StopAlarmSound();
    // A new signal search or the device gone: both masks are taken again.
    void ResetSignalMasks() { masks_.Reset(); }
    // The alarm mail for `bit` handed to the mail worker; 1 when it could be built and was
    // queued, 0 when a mail setting is empty or too long (nothing is sent then).
    int SendAlarmMail(std::uint32_t bit);
    // The Security button: with a capture graph and after the unlock gate, the security dialog;
    // after its OK the settings are reloaded and the gate is passed once more.
    void OnSecurity();
    // The window closes: the sound stops and unsent mails are given up (promptly, even while a
    // server is silent).
    void Shutdown();

    const AlarmRecord& Record() const { return record_; }
    const channel_views::SignalMasks& Masks() const { return masks_; }
    bool SoundPlaying() const { return sound_.Playing(); }
    // The mail worker, for what became of the mails.
    const CMailWorker& Mailer() const { return mailer_; }

  private:
    IAlarmsHost& host_;  // the window; outlives this object
    // Immutable after construction.
    const MailTransport transport_;
    // GUI thread only.
    AlarmRecord record_;
    channel_views::SignalMasks masks_;
    CAlarmSound sound_;
    // Owned by the GUI thread; delivers on its own thread.
    CMailWorker mailer_;
};

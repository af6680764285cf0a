// What the program may set from outside about its alarms: the alarm sound's output and where and
// how patiently mails go out. The defaults are the program's own.
#pragma once

#include "platform/sound/wave_player.h"
#include "viewer/alerts/mail_delivery.h"

struct AlarmOptions {
    // Makes the alarm sound's output; null: the ALSA device, or silence when none opens.
    sound::WavePlayer::OutputFactory soundOutput;
    // The alarm and test mails' server port and time-outs.
    MailTransport mail;
};

// The main window with the simulated grabber for the alarm tests: the alarm sound goes to a
// SoundMeter, mails go to a port the test chooses, and the mail settings name that server.
#pragma once

#include "tests/viewer/alerts/silent_listener.h"
#include "tests/viewer/main_window/channel_views_fixture.h"
#include "tests/viewer/main_window/sound_meter.h"
#include "viewer/alerts/alarm_options.h"

namespace main_window_test {

class AlarmTest : public ChannelViewsTest {
  protected:
    void SetUp() override {
        ChannelViewsTest::SetUp();
        options_.soundOutput = meter_.Factory();
        options_.mail.connectTimeout = std::chrono::seconds(5);
        options_.mail.replyTimeout = std::chrono::seconds(10);
        alarmOptions_ = &options_;
    }

    // "Signal Lose Alarm": bit 0 mail, bit 1 sound.
    static void AlarmWith(DWORD bits) { SetDword(setting::kSignalLoseAlarm, bits); }
    // Mail settings for a server on loopback `port` that wants the login camera / s3cr3t!.
    void MailTo(std::uint16_t port) {
        options_.mail.port = port;
        SetString(setting::kSmtpServer, u"127.0.0.1");
        SetString(setting::kMailDst, u"guard@example.com");
        SetString(setting::kMailFromAddr, u"cam@example.com");
        SetString(setting::kMailFromName, u"Quadrel");
        SetString(setting::kMailTitle, u"Camera alarm");
        SetString(setting::kMailSrc, u"camera");
        SetString(setting::kMailPassword, u"s3cr3t!");
        SetDword(setting::kSmtpServerAuth, 1);
    }
    void Tick() { window_->OnTimer(ID_TIMER_WATCH); }
    CAlarms& Alarms() { return window_->Alarms(); }
    std::uint32_t Raised() { return Alarms().Record().raisedAlarms; }
    // Waits for the mail worker to finish what it was given (bounded; no fixed sleep).
    bool MailsDone() { return Alarms().Mailer().WaitUntilIdle(std::chrono::seconds(30)); }

    SoundMeter meter_;
    AlarmOptions options_;
};

}  // namespace main_window_test

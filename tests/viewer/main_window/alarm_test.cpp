// Raising and clearing alarms in the running window: one new alarm per watch tick in a fixed
// order, the looping sound, the alarm mail through a real SMTP server on loopback, the Alarm
// button behind the login, the device-removed alarm, and a silent server that must not hold the
// window up.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/viewer/alerts/smtp_peer_process.h"
#include "tests/viewer/main_window/alarm_fixture.h"
#include "viewer/alerts/alarm_mail.h"
#include "viewer/capture/device_commands.h"

namespace main_window_test {
namespace {

using devices::DBT_DEVICEARRIVAL;
using devices::DBT_DEVICEREMOVECOMPLETE;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr auto kPeerStart = seconds(15);
// The longest a watch tick, a stamp tick or a button may take while a mail server is silent. Each
// takes a few milliseconds (the figure is recorded as the test's "slowest_ms" property); the bound
// leaves room for a loaded machine and the sanitizer builds, and a wait for the server (a 10 s
// connect or a 30 s reply time-out) would still exceed it by far.
constexpr milliseconds kResponsive{1000};
constexpr std::u16string_view kUsbPath = devices::kSimulatedDevicePath;

// The bodies of the messages the peer took, in order.
std::vector<std::string> Bodies(const std::string& messages) {
    std::vector<std::string> bodies;
    std::size_t start = 0;
    for (std::size_t end; (end = messages.find("----\r\n", start)) != std::string::npos;
         start = end + 6) {
        const std::string message = messages.substr(start, end - start);
        const std::size_t body = message.find("\r\n\r\n");
        std::string text = body == std::string::npos ? std::string() : message.substr(body + 4);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        bodies.push_back(text);
    }
    return bodies;
}

template <typename F>
milliseconds Took(F&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST_F(AlarmTest, LostCameraRaisesSoundMailAndButtonAndTheButtonAcknowledges) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");
    ASSERT_TRUE(peer.WaitUntilListening(kPeerStart)) << "aiosmtpd did not start";
    MailTo(peer.Port());
    AlarmWith(3);
    OpenUnlocked("signal=1,2,4; 5s unplug 2");
    Tick();  // the baseline
    EXPECT_FALSE(Shown(IDC_ALARM));
    StepTo(seconds(5) + milliseconds(100));
    Tick();

    EXPECT_EQ(Pane(2)->Picture(),
              channel_views::DrawSignalPicture(channel_views::PanePicture::kLostSignal,
                                               window_->Capture().Graph()->channelTitles[1],
                                               Pane(2)->size()));
    EXPECT_TRUE(Shown(IDC_ALARM));
    EXPECT_EQ(Raised(), AlarmChannel2);
    EXPECT_EQ(Alarms().Record().alarmShown, 1);
    // The sound's samples reach the output.
    EXPECT_TRUE(meter_.WaitForBytes(0, 2000, seconds(10)));
    EXPECT_TRUE(Alarms().SoundPlaying());

    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(Alarms().Mailer().Outcomes().delivered, 1u);
    EXPECT_EQ(testing_support::ReadFile(out.File("logins.txt")), "LOGIN camera s3cr3t!\n");
    EXPECT_EQ(testing_support::ReadFile(out.File("envelope.txt")),
              "MAIL FROM:<cam@example.com>\nRCPT TO:<guard@example.com>\n");
    const std::string message = testing_support::ReadFile(out.File("message.eml"));
    EXPECT_NE(message.find("\r\nSubject: Camera alarm\r\n"), std::string::npos) << message;
    EXPECT_NE(message.find("\r\nFrom: Quadrel <cam@example.com>\r\n"), std::string::npos);
    EXPECT_EQ(Bodies(testing_support::ReadFile(out.File("messages.eml"))),
              std::vector<std::string>{"Alarm, channel 2 signal lost."});

    Click(IDC_ALARM);  // unlocked: acknowledged at once
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_FALSE(Alarms().SoundPlaying());
    EXPECT_EQ(Raised(), 0u);
    EXPECT_EQ(Alarms().Masks().seen, -1);
    EXPECT_EQ(Alarms().Masks().baseline, 0b1011);  // kept
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(AlarmTest, TwoChannelsLostInOnePollAreRaisedOnConsecutiveTicksEachWithItsMail) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");
    ASSERT_TRUE(peer.WaitUntilListening(kPeerStart)) << "aiosmtpd did not start";
    MailTo(peer.Port());
    AlarmWith(3);
    OpenUnlocked("5s unplug 3,1");
    Tick();
    StepTo(seconds(6));
    Tick();
    EXPECT_EQ(Raised(), AlarmChannel1);
    EXPECT_EQ(meter_.Starts(), 1u);
    Tick();
    EXPECT_EQ(Raised(), AlarmChannel1 | AlarmChannel3);
    EXPECT_EQ(meter_.Starts(), 2u);  // the sound restarted
    // Both raised: later ticks raise nothing, even while both stay lost.
    Tick();
    Tick();
    EXPECT_EQ(meter_.Starts(), 2u);
    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(Bodies(testing_support::ReadFile(out.File("messages.eml"))),
              (std::vector<std::string>{"Alarm, channel 1 signal lost.",
                                        "Alarm, channel 3 signal lost."}));
}

TEST_F(AlarmTest, DeviceRemovalMailsEvenWhileChannelAlarmsPend) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");
    ASSERT_TRUE(peer.WaitUntilListening(kPeerStart)) << "aiosmtpd did not start";
    MailTo(peer.Port());
    SetDword(setting::kSmtpServerAuth, 0);  // no login: the server takes the mail as it is
    AlarmWith(1);                           // mail only
    OpenUnlocked("5s unplug 2");
    Tick();
    StepTo(seconds(6));
    Tick();
    ASSERT_EQ(Raised(), AlarmChannel2);
    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    EXPECT_EQ(Raised(), AlarmChannel2 | AlarmDeviceRemoved);
    EXPECT_EQ(meter_.Starts(), 0u);  // sound off
    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(
        Bodies(testing_support::ReadFile(out.File("messages.eml"))),
        (std::vector<std::string>{"Alarm, channel 2 signal lost.", "Alarm, device is removed."}));
    EXPECT_FALSE(std::filesystem::exists(out.File("logins.txt")));
}

TEST_F(AlarmTest, RemovalArrivalAndRemovalRaiseTheDeviceAlarmTwice) {
    MailTo(ClosedLoopbackPort());  // every mail is tried and refused
    AlarmWith(3);
    Attach("");
    Open();
    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    EXPECT_EQ(Raised(), AlarmDeviceRemoved);
    EXPECT_TRUE(Shown(IDC_ALARM));
    EXPECT_TRUE(DeviceChange(DBT_DEVICEARRIVAL, Record(kUsbPath)));
    EXPECT_EQ(Raised(), 0u);
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_FALSE(Alarms().SoundPlaying());
    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    EXPECT_EQ(Raised(), AlarmDeviceRemoved);
    EXPECT_EQ(meter_.Starts(), 2u);
    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(Alarms().Mailer().Outcomes().failed, 2u);
}

TEST_F(AlarmTest, AMailThatCannotBeBuiltIsDroppedButButtonAndSoundStillCome) {
    MailTo(ClosedLoopbackPort());
    SetString(setting::kMailDst, u"");
    AlarmWith(3);
    OpenUnlocked("5s unplug 2");
    Tick();
    StepTo(seconds(6));
    Tick();
    EXPECT_EQ(Raised(), AlarmChannel2);
    EXPECT_TRUE(Shown(IDC_ALARM));
    EXPECT_TRUE(Alarms().SoundPlaying());
    EXPECT_EQ(Alarms().SendAlarmMail(AlarmChannel2), 0);
    ASSERT_TRUE(MailsDone());
    const CMailWorker::Counts counts = Alarms().Mailer().Outcomes();
    EXPECT_EQ(counts.delivered + counts.failed + counts.abandoned, 0u);
}

TEST_F(AlarmTest, MailTextsMustFitFiveHundredTwelveBytesEvenTheUnusedLogin) {
    MailTo(ClosedLoopbackPort());
    // 200 CJK characters are 600 bytes in UTF-8.
    SetString(setting::kMailTitle, std::u16string(200, u'报').c_str());
    SetDword(setting::kSmtpServerAuth, 0);
    Attach("");
    Open();
    EXPECT_EQ(Alarms().SendAlarmMail(AlarmChannel1), 0);
    SetString(setting::kMailTitle, std::u16string(170, u'报').c_str());  // 510 bytes + NUL
    SetString(setting::kMailPassword, u"");
    window_->ReloadGrabberSettings();
    EXPECT_EQ(Alarms().SendAlarmMail(AlarmChannel1), 0);  // no login wanted, still required
    SetString(setting::kMailPassword, u"x");
    window_->ReloadGrabberSettings();
    EXPECT_EQ(Alarms().SendAlarmMail(AlarmChannel1), 1);
}

TEST_F(AlarmTest, DisabledChannelsAndRunningSearchesNeverAlarm) {
    EnableOnly(0b0111);  // channel 4 disabled
    AlarmWith(3);
    OpenUnlocked("5s unplug 4");
    Tick();
    StepTo(seconds(6));
    Tick();
    Tick();
    EXPECT_EQ(Raised(), 0u);
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_EQ(meter_.Starts(), 0u);

    // A new search: in its states 1 and 2 a lost camera raises nothing.
    Click(IDC_SEARCH);
    StepTo(seconds(6) + milliseconds(500));
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    ASSERT_EQ(GetSearchState(window_->Capture().Graph()), 1);
    Tick();
    StepTo(seconds(8));
    ASSERT_EQ(GetSearchState(window_->Capture().Graph()), 2);
    Tick();
    EXPECT_EQ(Raised(), 0u);
    EXPECT_EQ(meter_.Starts(), 0u);
}

TEST_F(AlarmTest, AlarmPressedWhileLockedAndLoginCancelledStaysPending) {
    AlarmWith(2);
    OpenUnlocked("5s unplug 2");
    Tick();
    StepTo(seconds(6));
    Tick();
    ASSERT_EQ(Raised(), AlarmChannel2);
    Click(IDC_LOCKED);
    prompts_.PlayModal([](QDialog& dialog) { ClickDlgButton(&dialog, IDCANCEL); });
    Click(IDC_ALARM);
    ASSERT_EQ(prompts_.Records().size(), 1u);  // the login was shown
    EXPECT_EQ(Raised(), AlarmChannel2);
    EXPECT_TRUE(Shown(IDC_ALARM));
    EXPECT_TRUE(Alarms().SoundPlaying());
    EXPECT_EQ(Alarms().Masks().seen, 0b1111);

    PlayLogin(QStringLiteral("Admin"), QString());
    Click(IDC_ALARM);
    EXPECT_EQ(Raised(), 0u);
    EXPECT_FALSE(Shown(IDC_ALARM));
    EXPECT_FALSE(Alarms().SoundPlaying());
}

TEST_F(AlarmTest, SilentMailServerHoldsUpNeitherTheWindowNorItsClose) {
    SilentListener silent;  // connections complete, nothing is ever answered
    MailTo(silent.Port());
    options_.mail.connectTimeout = seconds(10);
    options_.mail.replyTimeout = seconds(30);
    // Mail only: what is measured is what the mail costs the window (restarting the sound waits
    // for the player's thread to finish its current piece of about 50 ms, mail or no mail).
    AlarmWith(1);
    OpenUnlocked("5s unplug 1,2");
    Tick();
    StepTo(seconds(6));
    milliseconds slowest{0};
    const auto Within = [&](milliseconds took) {
        slowest = std::max(slowest, took);
        return took < kResponsive;
    };
    EXPECT_TRUE(Within(Took([&] { Tick(); })));  // raises channel 1, mails
    EXPECT_TRUE(Within(Took([&] { Tick(); })));  // channel 2 queued behind it
    EXPECT_EQ(Raised(), AlarmChannel1 | AlarmChannel2);
    EXPECT_TRUE(Within(Took([&] { window_->OnTimer(ID_TIMER_STAMP); })));
    EXPECT_TRUE(Within(Took([&] { Click(IDC_ALARM); })));
    RecordProperty("slowest_ms", static_cast<int>(slowest.count()));
    EXPECT_FALSE(Shown(IDC_ALARM));
    // The first mail hangs on the silent server.
    EXPECT_FALSE(Alarms().Mailer().WaitUntilIdle(milliseconds(300)));

    EXPECT_LT(Took([&] { window_->CloseViewer(); }), milliseconds(2000));
    const CMailWorker::Counts counts = Alarms().Mailer().Outcomes();
    EXPECT_EQ(counts.abandoned, 2u);
    EXPECT_EQ(counts.delivered + counts.failed, 0u);
}

}  // namespace
}  // namespace main_window_test

// The alarm mail with the stored port and transport security: STARTTLS to a real server on
// loopback whose test certificate authority the mail path is given to trust, at the port of
// "SMTP Port" rather than the program's default.
#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/viewer/alerts/smtp_peer_process.h"
#include "tests/viewer/main_window/alarm_fixture.h"

namespace main_window_test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST_F(AlarmTest, AlarmMailGoesOverStartTlsToTheStoredPort) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!",
                         {.tls = SmtpPeerProcess::Options::Tls::kStartTls});
    ASSERT_TRUE(peer.WaitUntilListening(seconds(15))) << "aiosmtpd did not start";
    MailTo(peer.Port());
    options_.mail.port = ClosedLoopbackPort();  // the default port: nobody there
    options_.mail.caFile = peer.CaFile();
    SetDword(setting::kSmtpPort, peer.Port());
    SetDword(setting::kSmtpSecurity, 1);
    AlarmWith(1);
    OpenUnlocked("signal=1,2,4; 5s unplug 2");
    Tick();
    StepTo(seconds(5) + milliseconds(100));
    Tick();
    EXPECT_EQ(Raised(), AlarmChannel2);

    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(Alarms().Mailer().Outcomes().delivered, 1u);
    // The peer offers the login only once STARTTLS has run.
    EXPECT_EQ(testing_support::ReadFile(out.File("logins.txt")), "LOGIN camera s3cr3t!\n");
    EXPECT_NE(
        testing_support::ReadFile(out.File("message.eml")).find("Alarm, channel 2 signal lost."),
        std::string::npos);
}

TEST_F(AlarmTest, AlarmMailIsNotSentInPlainTextWhenStartTlsIsStoredButNotOffered) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");  // plain, takes a login without TLS
    ASSERT_TRUE(peer.WaitUntilListening(seconds(15))) << "aiosmtpd did not start";
    MailTo(peer.Port());
    SetDword(setting::kSmtpSecurity, 1);
    AlarmWith(1);
    OpenUnlocked("signal=1,2,4; 5s unplug 2");
    Tick();
    StepTo(seconds(5) + milliseconds(100));
    Tick();
    ASSERT_TRUE(MailsDone());
    EXPECT_EQ(Alarms().Mailer().Outcomes().failed, 1u);
    EXPECT_FALSE(std::filesystem::exists(out.File("logins.txt")));
    EXPECT_FALSE(std::filesystem::exists(out.File("message.eml")));
}

}  // namespace
}  // namespace main_window_test

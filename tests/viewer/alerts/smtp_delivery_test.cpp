// CSmtp delivering to a real SMTP server on loopback (aiosmtpd), which records the envelope, the
// login and the message it took.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/viewer/alerts/smtp_peer_process.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"

namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;
using namespace std::chrono_literals;

constexpr auto kStartLimit = 15s;
// "报警 1" in the GBK code page: bytes above 127 as NarrowToOem hands them over.
const std::string kOemSubject = "\xb1\xa8\xbe\xaf 1";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    return lines;
}

void FillMail(CSmtp& mail, std::uint16_t port, const char* password) {
    mail.SetServerHost("127.0.0.1");
    mail.port = port;
    mail.SetFromAddress("cam@example.com");
    mail.SetFromName("Quadrel");
    mail.SetReplyAddress("cam@example.com");
    mail.SetSubjectLine(kOemSubject.c_str());
    mail.AddToAddress("guard@example.com");
    mail.SetBodyText("Alarm, channel 1 signal lost.\r\n.\r\n..end");
    mail.priority = 3;
    mail.SetMailerText();
    mail.SetAuthUser("camera");
    mail.SetAuthPassword(password);
    mail.SetTimeouts(5s, 10s);
}

}  // namespace

TEST(SmtpDelivery, RealServerReceivesEnvelopeLoginHeaderAndBody) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");
    ASSERT_TRUE(peer.WaitUntilListening(kStartLimit)) << "aiosmtpd did not start";

    CSmtp mail;
    ASSERT_EQ(mail.errorCode, 0u);
    FillMail(mail, peer.Port(), "s3cr3t!");
    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, 0u);

    EXPECT_EQ(testing_support::ReadFile(out.File("logins.txt")), "LOGIN camera s3cr3t!\n");
    EXPECT_EQ(testing_support::ReadFile(out.File("envelope.txt")),
              "MAIL FROM:<cam@example.com>\nRCPT TO:<guard@example.com>\n");
    const std::vector<std::string> lines =
        Lines(testing_support::ReadFile(out.File("message.eml")));
    EXPECT_THAT(
        lines,
        ElementsAre(MatchesRegex("Date: (Sun|Mon|Tue|Wed|Thu|Fri|Sat), [0-9]{2} "
                                 "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4} "
                                 "[0-9]{2}:[0-9]{2}:[0-9]{2} [+-][0-9]{4}"),
                    "From: Quadrel <cam@example.com>", "X-Mailer: This is (v3.02) Professional",
                    "Reply-To: cam@example.com", "X-Priority: 3 (Normal)",
                    "To: <guard@example.com>", "Subject: " + kOemSubject, "MIME-Version: 1.0",
                    "Content-type: text/plain; charset=US-ASCII", "Content-Transfer-Encoding: 7bit",
                    "", "Alarm, channel 1 signal lost.", ".", "..end", ""));
}

TEST(SmtpDelivery, RealServerRejectingThePasswordGetsNoMail) {
    testing_support::TempDir out;
    SmtpPeerProcess peer(out.Path(), "camera", "s3cr3t!");
    ASSERT_TRUE(peer.WaitUntilListening(kStartLimit)) << "aiosmtpd did not start";

    CSmtp mail;
    FillMail(mail, peer.Port(), "wrong");
    EXPECT_FALSE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kLoginRejected);
    EXPECT_EQ(testing_support::ReadFile(out.File("logins.txt")), "LOGIN camera wrong\n");
    EXPECT_FALSE(std::filesystem::exists(out.File("message.eml")));
}

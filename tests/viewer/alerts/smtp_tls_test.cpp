// CSmtp with transport security against a real server on loopback (aiosmtpd) that makes its own
// test certificate authority: STARTTLS and TLS from the start with a certificate the test trusts,
// certificates that must be refused (wrong host, expired, an authority the system does not know),
// a server without STARTTLS, AUTH PLAIN when LOGIN is not offered, and the bounded handshake.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/viewer/alerts/scripted_smtp_server.h"
#include "tests/viewer/alerts/silent_listener.h"
#include "tests/viewer/alerts/smtp_peer_process.h"
#include "viewer/alerts/abort_signal.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"
#include "viewer/alerts/smtp_failure.h"

namespace {

using namespace std::chrono_literals;
using Options = SmtpPeerProcess::Options;
using Tls = Options::Tls;
using Certificate = Options::Certificate;

constexpr auto kStartLimit = 15s;

void FillMail(CSmtp& mail, std::uint16_t port, MailSecurity security, const std::string& caFile) {
    mail.SetServerHost("127.0.0.1");
    mail.SetPort(port);
    mail.SetSecurity(security);
    mail.SetTrustFile(caFile);
    mail.SetFromAddress("cam@example.com");
    mail.SetFromName("Quadrel");
    mail.SetReplyAddress("cam@example.com");
    mail.SetSubjectLine("Alarm");
    mail.AddToAddress("guard@example.com");
    mail.SetBodyText("Alarm, channel 2 signal lost.");
    mail.SetMailerText();
    mail.SetAuthUser("camera");
    mail.SetAuthPassword("s3cr3t!");
    mail.SetTimeouts(5s, 10s);
}

class SmtpTlsTest : public ::testing::Test {
  protected:
    // Starts the peer and delivers one mail to it with `security`, trusting the peer's authority
    // unless `trustPeer` is false (then the system's store).
    bool Deliver(const Options& options, MailSecurity security, bool trustPeer = true) {
        SmtpPeerProcess peer(out_.Path(), "camera", "s3cr3t!", options);
        EXPECT_TRUE(peer.WaitUntilListening(kStartLimit)) << "aiosmtpd did not start";
        FillMail(mail_, peer.Port(), security, trustPeer ? peer.CaFile() : std::string());
        return mail_.Deliver();
    }
    std::string Logins() const { return testing_support::ReadFile(out_.File("logins.txt")); }
    bool Stored() const { return std::filesystem::exists(out_.File("message.eml")); }
    std::string Failure() const { return DescribeSmtpFailure(mail_).toStdString(); }

    testing_support::TempDir out_;
    CSmtp mail_;
};

TEST_F(SmtpTlsTest, StartTlsThenLoginAndMailOverTheEncryptedConnection) {
    ASSERT_TRUE(Deliver({.tls = Tls::kStartTls}, MailSecurity::kStartTls)) << Failure();
    EXPECT_EQ(mail_.errorCode, 0u);
    EXPECT_EQ(Logins(), "LOGIN camera s3cr3t!\n");  // AUTH is offered only after STARTTLS
    EXPECT_EQ(testing_support::ReadFile(out_.File("envelope.txt")),
              "MAIL FROM:<cam@example.com>\nRCPT TO:<guard@example.com>\n");
    EXPECT_NE(testing_support::ReadFile(out_.File("message.eml"))
                  .find("\r\n\r\nAlarm, channel 2 signal lost.\r\n"),
              std::string::npos);
}

TEST_F(SmtpTlsTest, ImplicitTlsFromTheFirstByte) {
    ASSERT_TRUE(Deliver({.tls = Tls::kImplicit}, MailSecurity::kImplicitTls)) << Failure();
    EXPECT_EQ(mail_.errorCode, 0u);
    EXPECT_EQ(Logins(), "LOGIN camera s3cr3t!\n");
    EXPECT_TRUE(Stored());
}

TEST_F(SmtpTlsTest, AuthPlainWhenTheServerDoesNotOfferLogin) {
    ASSERT_TRUE(Deliver({.tls = Tls::kStartTls, .offerLogin = false}, MailSecurity::kStartTls))
        << Failure();
    EXPECT_EQ(Logins(), "PLAIN camera s3cr3t!\n");
    EXPECT_TRUE(Stored());
}

TEST_F(SmtpTlsTest, CertificateForAnotherHostIsRefusedBeforeAnyLogin) {
    EXPECT_FALSE(Deliver({.tls = Tls::kStartTls, .certificate = Certificate::kWrongHost},
                         MailSecurity::kStartTls));
    EXPECT_EQ(mail_.errorCode, smtp_error::kCertificateNotVerified);
    EXPECT_NE(mail_.TlsFailure().find("name"), std::string::npos) << mail_.TlsFailure();
    EXPECT_NE(Failure().find("certificate not verified"), std::string::npos) << Failure();
    EXPECT_FALSE(std::filesystem::exists(out_.File("logins.txt")));
    EXPECT_FALSE(Stored());
}

TEST_F(SmtpTlsTest, ExpiredCertificateIsRefused) {
    EXPECT_FALSE(Deliver({.tls = Tls::kImplicit, .certificate = Certificate::kExpired},
                         MailSecurity::kImplicitTls));
    EXPECT_EQ(mail_.errorCode, smtp_error::kCertificateNotVerified);
    EXPECT_NE(mail_.TlsFailure().find("expired"), std::string::npos) << mail_.TlsFailure();
    EXPECT_FALSE(std::filesystem::exists(out_.File("logins.txt")));
}

TEST_F(SmtpTlsTest, TheTestAuthorityIsNotTrustedByTheSystemStore) {
    EXPECT_FALSE(Deliver({.tls = Tls::kImplicit}, MailSecurity::kImplicitTls, false));
    EXPECT_EQ(mail_.errorCode, smtp_error::kCertificateNotVerified);
    EXPECT_FALSE(std::filesystem::exists(out_.File("logins.txt")));
}

TEST_F(SmtpTlsTest, StartTlsModeRefusesAServerWithoutStartTlsAndSendsNoLogin) {
    EXPECT_FALSE(Deliver({}, MailSecurity::kStartTls));
    EXPECT_EQ(mail_.errorCode, smtp_error::kStartTlsRefused);
    EXPECT_NE(Failure().find("STARTTLS"), std::string::npos) << Failure();
    EXPECT_FALSE(std::filesystem::exists(out_.File("logins.txt")));
    EXPECT_FALSE(std::filesystem::exists(out_.File("envelope.txt")));
}

TEST_F(SmtpTlsTest, ModeNoneStillLogsInInPlainTextWhereTheServerAllowsIt) {
    ASSERT_TRUE(Deliver({}, MailSecurity::kNone)) << Failure();
    EXPECT_EQ(Logins(), "LOGIN camera s3cr3t!\n");
}

// The scripted peer: what goes over the wire when STARTTLS is answered badly, and that the
// handshake is bounded by the deadline and the abort like every other wait.
TEST(SmtpTlsDialogue, StartTlsRefusedByTheServerEndsBeforeTheLogin) {
    ScriptedSmtpServer server({{"220 ready\r\n"},
                               {"250-mail.test\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n"},
                               {"454 4.7.0 TLS not available\r\n"}});
    CSmtp mail;
    FillMail(mail, server.Port(), MailSecurity::kStartTls, std::string());
    EXPECT_FALSE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kStartTlsRefused);
    EXPECT_EQ(mail.LastReplyLine(), "454 4.7.0 TLS not available");
    EXPECT_NE(DescribeSmtpFailure(mail).toStdString().find("454 4.7.0 TLS not available"),
              std::string::npos);
    const ScriptedSmtpServer::Transcript seen = server.Finish();
    ASSERT_EQ(seen.commands.size(), 2u);
    EXPECT_EQ(seen.commands[1], "STARTTLS");
}

TEST(SmtpTlsDialogue, ImplicitTlsToAPlainServerFailsTheHandshake) {
    ScriptedSmtpServer server({{"220 plain text ready\r\n"}});
    CSmtp mail;
    FillMail(mail, server.Port(), MailSecurity::kImplicitTls, std::string());
    mail.SetTimeouts(5s, 5s);
    EXPECT_FALSE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kTlsFailed);
    EXPECT_FALSE(mail.TlsFailure().empty());
    server.Finish();
}

TEST(SmtpTlsDialogue, HandshakeWithASilentServerTimesOutOrEndsAtTheAbort) {
    SilentListener silent;
    {
        CSmtp mail;
        FillMail(mail, silent.Port(), MailSecurity::kImplicitTls, std::string());
        mail.SetTimeouts(2s, 50ms);
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kTlsFailed);
        EXPECT_EQ(mail.SocketError(), ETIMEDOUT);
        EXPECT_NE(DescribeSmtpFailure(mail).indexOf("time-out"), -1);
    }
    {
        AbortSignal abort;
        abort.Raise();
        CSmtp mail;
        FillMail(mail, silent.Port(), MailSecurity::kImplicitTls, std::string());
        mail.SetTimeouts(30s, 30s);
        mail.SetAbort(&abort);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(mail.Deliver());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(mail.SocketError(), ECANCELED);
    }
}

}  // namespace

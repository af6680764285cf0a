// Which login CSmtp chooses from the EHLO reply: AUTH LOGIN unless the server lists its mechanisms
// with PLAIN and without LOGIN, and what each answer to AUTH PLAIN leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/viewer/alerts/scripted_smtp_server.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"

namespace {

using ::testing::ElementsAre;
using Reply = ScriptedSmtpServer::Reply;
using namespace std::chrono_literals;

// base64 of "\0camera\0s3cr3t!"
constexpr const char* kPlainLogin = "AUTH PLAIN AGNhbWVyYQBzM2NyM3Qh";

void Fill(CSmtp& mail, std::uint16_t port) {
    mail.SetServerHost("127.0.0.1");
    mail.SetPort(port);
    mail.SetFromAddress("cam@example.com");
    mail.AddToAddress("guard@example.com");
    mail.SetSubjectLine("Alarm");
    mail.SetBodyText("x");
    mail.SetAuthUser("camera");
    mail.SetAuthPassword("s3cr3t!");
    mail.SetTimeouts(2s, 2s);
}

// The commands after EHLO, for a server whose EHLO reply is `ehlo`, and the code left behind.
struct Outcome {
    std::vector<std::string> commands;
    DWORD errorCode;
};
Outcome LoginWith(const std::string& ehlo, const Reply& authReply) {
    ScriptedSmtpServer server({{"220 ready\r\n"}, {ehlo}, authReply});
    CSmtp mail;
    Fill(mail, server.Port());
    mail.Deliver();
    ScriptedSmtpServer::Transcript seen = server.Finish();
    if (!seen.commands.empty()) seen.commands.erase(seen.commands.begin());
    if (seen.commands.size() > 1) seen.commands.resize(1);
    return {seen.commands, mail.errorCode};
}

TEST(SmtpAuthChoice, PlainOnlyWhenListedWithoutLogin) {
    EXPECT_THAT(LoginWith("250-mail.test\r\n250 AUTH PLAIN CRAM-MD5\r\n", Reply{}).commands,
                ElementsAre(kPlainLogin));
    EXPECT_THAT(LoginWith("250-mail.test\r\n250 AUTH PLAIN LOGIN\r\n", Reply{}).commands,
                ElementsAre("AUTH LOGIN"));
    // No AUTH line at all (the servers the client was first written for): LOGIN, as always.
    EXPECT_THAT(LoginWith("250 mail.test\r\n", Reply{}).commands, ElementsAre("AUTH LOGIN"));
    // Neither offered: LOGIN is tried and the server's refusal decides.
    EXPECT_THAT(LoginWith("250-mail.test\r\n250 AUTH CRAM-MD5\r\n", Reply{}).commands,
                ElementsAre("AUTH LOGIN"));
}

TEST(SmtpAuthChoice, PlainAnswersLeaveTheLoginCodes) {
    const std::string plainOnly = "250-mail.test\r\n250 AUTH PLAIN\r\n";
    EXPECT_EQ(LoginWith(plainOnly, {"535 5.7.8 bad credentials\r\n"}).errorCode,
              smtp_error::kLoginRejected);
    EXPECT_EQ(LoginWith(plainOnly, {"504 5.5.4 not supported\r\n"}).errorCode,
              smtp_error::kAuthRefused);
    EXPECT_EQ(LoginWith(plainOnly, {"334 \r\n"}).errorCode, smtp_error::kLoginUnexpected);

    ScriptedSmtpServer server({{"220 ready\r\n"},
                               {"250-mail.test\r\n250 AUTH PLAIN\r\n"},
                               {"235 ok\r\n"},
                               {"250 ok\r\n"},
                               {"250 ok\r\n"},
                               {"354 go\r\n"},
                               {"250 stored\r\n"},
                               {"221 bye\r\n"}});
    CSmtp mail;
    Fill(mail, server.Port());
    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, 0u);
    server.Finish();
}

TEST(SmtpAuthChoice, PlainWithoutAPasswordSendsNothing) {
    ScriptedSmtpServer server({{"220 ready\r\n"}, {"250-mail.test\r\n250 AUTH PLAIN\r\n"}});
    CSmtp mail;
    Fill(mail, server.Port());
    mail.SetAuthPassword(nullptr);
    EXPECT_FALSE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kNoLoginPassword);
    EXPECT_EQ(server.Finish().commands.size(), 1u);  // EHLO only
}

}  // namespace

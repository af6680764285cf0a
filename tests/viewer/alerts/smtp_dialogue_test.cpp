// CSmtp against the scripted loopback peer: the order of the dialogue, the code each refusal
// leaves behind, replies in pieces, silence, and what the message looks like on the wire.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/viewer/alerts/scripted_smtp_server.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;
using Reply = ScriptedSmtpServer::Reply;
using namespace std::chrono_literals;

const Reply kGreeting{"220 mail.test ready\r\n"};
const Reply kOk{"250 ok\r\n"};
const Reply kChallenge{"334 VXNlcm5hbWU6\r\n"};
const Reply kLoggedIn{"235 authenticated\r\n"};
const Reply kGoAhead{"354 go ahead\r\n"};
const Reply kBye{"221 bye\r\n"};

std::string HostName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 && name[0] ? name : "domain";
}

// The replies of a server that accepts everything, for a mail with login and one recipient.
std::vector<Reply> AcceptingScript() {
    return {kGreeting, kOk, kChallenge, kChallenge, kLoggedIn, kOk, kOk, kGoAhead, kOk, kBye};
}

// The commands such a mail sends, up to and including the given one.
std::vector<std::string> CommandsUpTo(const std::string& last) {
    const std::vector<std::string> all{"EHLO " + HostName(),
                                       "AUTH LOGIN",
                                       "Y2FtZXJh",      // "camera"
                                       "czNjcjN0IQ==",  // "s3cr3t!"
                                       "MAIL FROM:<cam@example.com>",
                                       "RCPT TO:<guard@example.com>",
                                       "DATA",
                                       "QUIT"};
    std::vector<std::string> commands;
    for (const std::string& command : all) {
        commands.push_back(command);
        if (command == last) break;
    }
    return commands;
}

void FillAlarmMail(CSmtp& mail, std::uint16_t port) {
    mail.SetServerHost("127.0.0.1");
    mail.port = port;
    mail.SetFromAddress("cam@example.com");
    mail.SetFromName("Quadrel");
    mail.SetReplyAddress("cam@example.com");
    mail.SetSubjectLine("Alarm");
    mail.AddToAddress("guard@example.com");
    mail.SetBodyText("Alarm, channel 1 signal lost.");
    mail.priority = 3;
    mail.SetMailerText();
    mail.SetAuthUser("camera");
    mail.SetAuthPassword("s3cr3t!");
    mail.SetTimeouts(2s, 2s);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The header lines of a received message (up to the empty line) and what follows it.
std::vector<std::string> HeaderOf(const std::string& data) {
    return SplitLines(data.substr(0, data.find("\r\n\r\n") + 2));
}
std::string BodyOf(const std::string& data) {
    return data.substr(data.find("\r\n\r\n") + 4);
}

}  // namespace

TEST(SmtpDialogue, DeliversWithLoginInTheFixedOrder) {
    ScriptedSmtpServer server(AcceptingScript());
    CSmtp mail;
    ASSERT_EQ(mail.errorCode, 0u);
    FillAlarmMail(mail, server.Port());

    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, 0u);
    const auto seen = server.Finish();
    EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo("QUIT")));
    EXPECT_EQ(BodyOf(seen.data), "Alarm, channel 1 signal lost.\r\n\r\n");
    EXPECT_FALSE(seen.spokeEarly);
}

TEST(SmtpDialogue, RefusedGreetingEndsBeforeAnyCommand) {
    for (const char* greeting : {"554 no service here\r\n", "25\r\n"}) {
        ScriptedSmtpServer server({{greeting}});
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kBadGreeting) << greeting;
        const auto seen = server.Finish();
        EXPECT_TRUE(seen.connected);
        EXPECT_THAT(seen.commands, IsEmpty()) << greeting;
    }
}

TEST(SmtpDialogue, EachRefusalLeavesTheCodeOfItsStep) {
    struct Case {
        std::size_t refusedReply;  // index in the accepting script
        Reply refusal;
        DWORD code;
        std::string lastCommand;
    };
    const Case cases[] = {
        {1, {"500 what\r\n"}, smtp_error::kEhloRefused, "EHLO " + HostName()},
        {2, {"502 not implemented\r\n"}, smtp_error::kAuthRefused, "AUTH LOGIN"},
        {3, {"501 bad\r\n"}, smtp_error::kLoginUnexpected, "Y2FtZXJh"},
        {4, {"535 credentials invalid\r\n"}, smtp_error::kLoginRejected, "czNjcjN0IQ=="},
        {4, {"454 try later\r\n"}, smtp_error::kLoginUnexpected, "czNjcjN0IQ=="},
        {5,
         {"550 sender refused\r\n"},
         smtp_error::kMailFromRefused,
         "MAIL FROM:<cam@example.com>"},
        {6, {"550 no such user\r\n"}, smtp_error::kRecipientRefused, "RCPT TO:<guard@example.com>"},
        {7, {"554 no data\r\n"}, smtp_error::kDataRefused, "DATA"},
        {8, {"552 too big\r\n"}, smtp_error::kMessageRefused, "DATA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal.front());
        auto script = AcceptingScript();
        script[c.refusedReply] = c.refusal;
        ScriptedSmtpServer server(script);
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, c.code);
        const auto seen = server.Finish();
        EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo(c.lastCommand)));
    }
}

TEST(SmtpDialogue, AMailTheServerTookCountsAsDeliveredWhateverQuitGets) {
    auto script = AcceptingScript();
    script[9] = {"500 what\r\n"};
    ScriptedSmtpServer server(script);
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kQuitNotAnswered);
    const auto seen = server.Finish();
    EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo("QUIT")));
}

TEST(SmtpDialogue, RefusedFirstRecipientStillDeliversToTheSecond) {
    ScriptedSmtpServer server({kGreeting,
                               kOk,
                               kChallenge,
                               kChallenge,
                               kLoggedIn,
                               kOk,
                               {"550 unknown user\r\n"},
                               kOk,
                               kGoAhead,
                               kOk,
                               kBye});
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    mail.AddToAddress("chief@example.com");

    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kRecipientRefused);
    const auto seen = server.Finish();
    EXPECT_THAT(seen.commands, Contains("RCPT TO:<chief@example.com>"));
    EXPECT_THAT(HeaderOf(seen.data), Contains("To: <guard@example.com>,<chief@example.com>"));
}

TEST(SmtpDialogue, MissingFieldsStopAtTheirStep) {
    {  // No login user: no AUTH at all, the mail goes out.
        ScriptedSmtpServer server({kGreeting, kOk, kOk, kOk, kGoAhead, kOk, kBye});
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetAuthUser(nullptr);
        EXPECT_TRUE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, 0u);
        EXPECT_THAT(server.Finish().commands,
                    ElementsAre("EHLO " + HostName(), "MAIL FROM:<cam@example.com>",
                                "RCPT TO:<guard@example.com>", "DATA", "QUIT"));
    }
    {  // User without password.
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetAuthPassword(nullptr);
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kNoLoginPassword);
        EXPECT_THAT(server.Finish().commands, ElementsAreArray(CommandsUpTo("Y2FtZXJh")));
    }
    {  // No sender.
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetFromAddress(nullptr);
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kNoSender);
        EXPECT_THAT(server.Finish().commands, ElementsAreArray(CommandsUpTo("czNjcjN0IQ==")));
    }
    {  // No recipient: a null address is refused and adds nothing.
        ScriptedSmtpServer server({kGreeting, kOk, kOk});
        CSmtp unaddressed;
        unaddressed.SetServerHost("127.0.0.1");
        unaddressed.port = server.Port();
        unaddressed.SetFromAddress("cam@example.com");
        unaddressed.SetTimeouts(2s, 2s);
        EXPECT_FALSE(unaddressed.AddToAddress(nullptr));
        EXPECT_EQ(unaddressed.errorCode, smtp_error::kRecipientWithoutAddress);
        EXPECT_FALSE(unaddressed.Deliver());
        EXPECT_EQ(unaddressed.errorCode, smtp_error::kNoRecipient);
        EXPECT_THAT(server.Finish().commands,
                    ElementsAre("EHLO " + HostName(), "MAIL FROM:<cam@example.com>"));
    }
    {  // No subject: noted, and the mail still goes out with an empty Subject line.
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetSubjectLine(nullptr);
        EXPECT_TRUE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kNoSubject);
        EXPECT_THAT(HeaderOf(server.Finish().data), Contains("Subject:  "));
    }
}

TEST(SmtpReplies, AreReadWholeWhenSplitOrSpreadOverLines) {
    std::string longEhlo;  // a multi-line reply longer than the receive buffer
    for (int i = 0; i < 400; ++i) longEhlo += "250-EXTENSION-" + std::to_string(i) + "\r\n";
    ScriptedSmtpServer server({{"2", "20 ready\r\n"},
                               {longEhlo, "250-AUTH LOGIN\r\n", "250 HELP\r\n"},
                               {"33", "4 VXNlcm5hbWU6\r\n"},
                               {"334-", "more\r\n334 UGFzc3dvcmQ6\r\n"},
                               kLoggedIn,
                               {"250-first\r\n", "250 second\r\n"},
                               kOk,
                               kGoAhead,
                               {"250 queued", "\r\n"},
                               kBye});
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, 0u);
    const auto seen = server.Finish();
    EXPECT_FALSE(seen.spokeEarly) << "a command went out before its reply was complete";
    EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo("QUIT")));
}

TEST(SmtpConnection, SilentOrVanishingServerEndsTheDelivery) {
    {  // Never answers EHLO: the reply time-out ends it.
        ScriptedSmtpServer server({kGreeting});
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetTimeouts(2s, 200ms);
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kReceiveFailed);
        EXPECT_THAT(server.Finish().commands, ElementsAre("EHLO " + HostName()));
    }
    {  // Hangs up instead of answering AUTH.
        ScriptedSmtpServer server({kGreeting, kOk, {}});
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kConnectionClosed);
        server.Finish();
    }
}

TEST(SmtpConnection, NoServerMeansNoConnection) {
    CSmtp unset;
    EXPECT_FALSE(unset.Deliver());
    EXPECT_EQ(unset.errorCode, smtp_error::kNoConnection);

    // A port that was just free: nothing listens there.
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&local), size), 0);
    ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&local), &size), 0);
    ::close(probe);
    CSmtp refused;
    FillAlarmMail(refused, ntohs(local.sin_port));
    EXPECT_FALSE(refused.Deliver());
    EXPECT_EQ(refused.errorCode, smtp_error::kNoConnection);
}

TEST(SmtpConnection, DottedAddressWithoutAHostNameIsConnectedDirectly) {
    // 127.0.0.2 is loopback too but has no name of its own to look up.
    ScriptedSmtpServer server(AcceptingScript(), "127.0.0.2");
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    mail.SetServerHost("127.0.0.2");
    mail.port = server.Port();
    EXPECT_TRUE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, 0u);
    server.Finish();
}

TEST(SmtpMessage, BodyLinesStartingWithADotCannotEndTheData) {
    ScriptedSmtpServer server(AcceptingScript());
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    mail.SetBodyText(".\r\nQUIT\n..two\r.three\nlast");
    EXPECT_TRUE(mail.Deliver());
    const auto seen = server.Finish();
    EXPECT_EQ(BodyOf(seen.data), "..\r\nQUIT\r\n...two\r\n..three\r\nlast\r\n\r\n");
    EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo("QUIT")));
}

TEST(SmtpMessage, SettingsTextCannotStartAHeaderLineOrACommand) {
    ScriptedSmtpServer server(AcceptingScript());
    CSmtp mail;
    FillAlarmMail(mail, server.Port());
    mail.SetSubjectLine("Alarm\r\nBcc: spy@example.com");
    mail.SetFromName("Quadrel\nX-Injected: 1");
    mail.SetFromAddress("cam@example.com>\r\nRCPT TO:<spy@example.com");
    EXPECT_TRUE(mail.Deliver());
    const auto seen = server.Finish();
    const auto header = HeaderOf(seen.data);
    EXPECT_THAT(header, Contains("Subject: Alarm Bcc: spy@example.com"));
    EXPECT_THAT(header, Contains("From: Quadrel X-Injected: 1 <cam@example.com> RCPT "
                                 "TO:<spy@example.com>"));
    EXPECT_EQ(header.size(), 10u);  // Date to Content-Transfer-Encoding, nothing added
    EXPECT_THAT(seen.commands, Contains("MAIL FROM:<cam@example.com> RCPT TO:<spy@example.com>"));
    EXPECT_THAT(seen.commands, Not(Contains("RCPT TO:<spy@example.com>")));
}

TEST(SmtpMessage, TextLongerThanTheBuffersNeverOverflows) {
    {  // A long body goes out whole, one buffer-full at a time.
        std::string body;
        for (int i = 0; body.size() < 3 * CSmtp::kBufferSize; ++i)
            body += "line " + std::to_string(i) + " of a long report\r\n";
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetBodyText(body.c_str());
        EXPECT_TRUE(mail.Deliver());
        EXPECT_EQ(BodyOf(server.Finish().data), body + "\r\n\r\n");
    }
    {  // A header that does not fit is not sent, and the message is never ended.
        const std::string subject(CSmtp::kBufferSize, 's');
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetSubjectLine(subject.c_str());
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kHeaderFailed);
        const auto seen = server.Finish();
        EXPECT_THAT(seen.commands, ElementsAreArray(CommandsUpTo("DATA")));
        EXPECT_EQ(seen.data, "");
    }
    {  // A command that does not fit is not sent at all, not even in part.
        const std::string address(CSmtp::kBufferSize, 'a');
        ScriptedSmtpServer server(AcceptingScript());
        CSmtp mail;
        FillAlarmMail(mail, server.Port());
        mail.SetFromAddress(address.c_str());
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kSendFailed);
        EXPECT_THAT(server.Finish().commands, ElementsAreArray(CommandsUpTo("czNjcjN0IQ==")));
    }
}

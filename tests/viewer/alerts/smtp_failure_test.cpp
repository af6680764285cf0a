// Why a mail failed, as the test mail's message tells it: a time-out, an abort and a refused
// connection name their reason; a refusal by the server quotes its reply.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/viewer/alerts/scripted_smtp_server.h"
#include "tests/viewer/alerts/silent_listener.h"
#include "viewer/alerts/abort_signal.h"
#include "viewer/alerts/smtp.h"
#include "viewer/alerts/smtp_error.h"
#include "viewer/alerts/smtp_failure.h"

namespace {

using namespace std::chrono_literals;

void Fill(CSmtp& mail, std::uint16_t port) {
    mail.SetServerHost("127.0.0.1");
    mail.port = port;
    mail.SetFromAddress("cam@example.com");
    mail.AddToAddress("guard@example.com");
    mail.SetBodyText("x");
}

TEST(SmtpFailure, SilentServerTimesOutAndAnAbortEndsTheWaitAtOnce) {
    SilentListener silent;
    {
        CSmtp mail;
        Fill(mail, silent.Port());
        mail.SetTimeouts(2s, 50ms);
        EXPECT_FALSE(mail.Deliver());
        EXPECT_EQ(mail.errorCode, smtp_error::kReceiveFailed);
        EXPECT_NE(DescribeSmtpFailure(mail).indexOf("time-out"), -1)
            << DescribeSmtpFailure(mail).toStdString();
    }
    {
        AbortSignal abort;
        abort.Raise();
        EXPECT_TRUE(abort.Raised());
        CSmtp mail;
        Fill(mail, silent.Port());
        mail.SetTimeouts(30s, 30s);
        mail.SetAbort(&abort);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(mail.Deliver());
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(mail.SocketError(), ECANCELED);
        EXPECT_NE(DescribeSmtpFailure(mail).indexOf("cancelled"), -1);
    }
}

TEST(SmtpFailure, RefusalQuotesTheServersReply) {
    ScriptedSmtpServer server(
        {{"220 ready\r\n"}, {"250 ok\r\n"}, {"550 5.1.0 sender rejected\r\n"}});
    CSmtp mail;
    Fill(mail, server.Port());
    mail.SetTimeouts(2s, 2s);
    EXPECT_FALSE(mail.Deliver());
    EXPECT_EQ(mail.errorCode, smtp_error::kMailFromRefused);
    EXPECT_EQ(DescribeSmtpFailure(mail).toStdString(), "服务器回复: 550 5.1.0 sender rejected");
    server.Finish();
}

}  // namespace

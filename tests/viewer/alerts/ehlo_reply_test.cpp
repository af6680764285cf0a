// Reading what an EHLO reply offers: STARTTLS and the login mechanisms, whatever the case, in the
// old "AUTH=" form too, and never from the server's name on the first line.
#include "viewer/alerts/ehlo_reply.h"

#include <gtest/gtest.h>

namespace {

TEST(EhloReply, FindsStartTlsAndTheMechanisms) {
    const EhloExtensions both = ParseEhloReply(
        "250-mail.test\r\n250-SIZE 1000\r\n250-starttls\r\n250 AUTH plain LOGIN\r\n");
    EXPECT_TRUE(both.startTls);
    EXPECT_TRUE(both.authListed);
    EXPECT_TRUE(both.login);
    EXPECT_TRUE(both.plain);

    const EhloExtensions plainOnly = ParseEhloReply("250-mail.test\r\n250 AUTH=PLAIN CRAM-MD5\r\n");
    EXPECT_FALSE(plainOnly.startTls);
    EXPECT_TRUE(plainOnly.authListed);
    EXPECT_FALSE(plainOnly.login);
    EXPECT_TRUE(plainOnly.plain);
}

TEST(EhloReply, NothingFromTheGreetingLineOrFromOtherKeywords) {
    // A server named STARTTLS, a mechanism word outside an AUTH line, and a bare "250".
    const EhloExtensions none = ParseEhloReply(
        "250-STARTTLS AUTH LOGIN\r\n250-X-LOGIN PLAIN\r\n250-AUTHX LOGIN\r\n250\r\n");
    EXPECT_FALSE(none.startTls);
    EXPECT_FALSE(none.authListed);
    EXPECT_FALSE(none.login);
    EXPECT_FALSE(none.plain);
    EXPECT_FALSE(ParseEhloReply("250 mail.test\r\n").authListed);
    EXPECT_FALSE(ParseEhloReply(nullptr).startTls);
}

}  // namespace

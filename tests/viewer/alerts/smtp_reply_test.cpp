#include "viewer/alerts/smtp_reply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Feeds `pieces` to a reader over a buffer of `capacity` bytes; returns the reply once complete,
// or "<incomplete>".
std::string Gather(const std::vector<std::string>& pieces, std::size_t capacity = 64) {
    std::vector<char> buffer(capacity, 'x');
    SmtpReplyReader reader(buffer);
    for (const std::string& piece : pieces) {
        std::string_view rest = piece;
        while (!rest.empty()) {
            const std::span<char> space = reader.FreeSpace();
            EXPECT_FALSE(space.empty());
            const std::size_t size = std::min(space.size(), rest.size());
            std::memcpy(space.data(), rest.data(), size);
            rest.remove_prefix(size);
            if (reader.Append(size)) {
                EXPECT_TRUE(rest.empty()) << "bytes after the final line";
                EXPECT_EQ(std::strlen(buffer.data()), reader.Length());
                return buffer.data();
            }
        }
    }
    return "<incomplete>";
}

}  // namespace

TEST(SmtpReplyReader, WaitsForTheFinalLineHoweverTheReplyIsCut) {
    EXPECT_EQ(Gather({"220 ready\r\n"}), "220 ready\r\n");
    EXPECT_EQ(Gather({"2", "20 rea", "dy\r", "\n"}), "220 ready\r\n");
    EXPECT_EQ(Gather({"250-a\r\n250-b", "\r\n", "250 c\r\n"}), "250-a\r\n250-b\r\n250 c\r\n");
    EXPECT_EQ(Gather({"250-a\r\n", "250\r\n"}), "250-a\r\n250\r\n");
    EXPECT_EQ(Gather({"250-a\r\n250-b\r\n"}), "<incomplete>");
    EXPECT_EQ(Gather({"220 ready"}), "<incomplete>");
}

TEST(SmtpReplyReader, TreatsLinesTooShortForACodeAsFinal) {
    EXPECT_EQ(Gather({"2\r\n"}), "2\r\n");
    EXPECT_EQ(Gather({"\n"}), "\n");
    EXPECT_EQ(Gather({"250\n"}), "250\n");
}

TEST(SmtpReplyReader, KeepsTheCodeOfRepliesLongerThanTheBuffer) {
    // Continuation lines are dropped to make room; the final line survives whole.
    std::string many;
    for (int i = 0; i < 20; ++i) many += "250-line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(Gather({many, "250 end\r\n"}, 32), "250 end\r\n");
    // A single line longer than the buffer keeps its code and its end.
    const std::string reply = Gather({"554 " + std::string(200, 'z') + "!\r\n"}, 16);
    EXPECT_EQ(reply.substr(0, 4), "554 ");
    EXPECT_EQ(reply.substr(reply.size() - 3), "!\r\n");
    EXPECT_LT(reply.size(), 16u);
}

TEST(SmtpReplyCode, ReadsThreeDigitsOrReportsAWrongCode) {
    EXPECT_EQ(SmtpReplyCode("250 ok\r\n"), 250);
    EXPECT_EQ(SmtpReplyCode("535-5.7.8 no\r\n"), 535);
    EXPECT_EQ(SmtpReplyCode("25"), -1);
    EXPECT_EQ(SmtpReplyCode(""), -1);
    EXPECT_EQ(SmtpReplyCode("2a0 x"), -1);
    EXPECT_EQ(SmtpReplyCode(nullptr), -1);
}

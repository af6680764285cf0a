#include "viewer/settings/narrow_to_oem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(NarrowToOemTest, TheTextWithItsTerminatorMustFitFiveHundredTwelveBytes) {
    char out[kNarrowBufferBytes + 16];
    std::memset(out, 'Z', sizeof out);
    const std::u16string fits(511, u'a');
    ASSERT_EQ(NarrowToCharset(fits.c_str(), out, "UTF-8"), 1);
    EXPECT_EQ(std::strlen(out), 511u);
    EXPECT_EQ(out[512], 'Z') << "wrote past the buffer";

    std::memset(out, 'Z', sizeof out);
    const std::u16string tooLong(512, u'a');
    EXPECT_EQ(NarrowToCharset(tooLong.c_str(), out, "UTF-8"), 0);
    EXPECT_EQ(out[0], 'Z') << "the buffer must stay untouched";

    // Multi-byte characters count by their converted size: 170 x 3 bytes + "ab" + NUL = 513.
    std::u16string chinese(170, u'\u901a');
    EXPECT_EQ(NarrowToCharset((chinese + u"a").c_str(), out, "UTF-8"), 1);
    EXPECT_EQ(NarrowToCharset((chinese + u"ab").c_str(), out, "UTF-8"), 0);
}

TEST(NarrowToOemTest, CharactersTheSetCannotHoldBecomeQuestionMarks) {
    char out[kNarrowBufferBytes];
    ASSERT_EQ(NarrowToCharset(u"Alarm \u901a\u9053 1", out, "ASCII"), 1);
    EXPECT_STREQ(out, "Alarm ?? 1");
    ASSERT_EQ(NarrowToCharset(u"\u901a\u9053", out, "UTF-8"), 1);
    EXPECT_STREQ(out, "\xE9\x80\x9A\xE9\x81\x93");
    ASSERT_EQ(NarrowToCharset(u"", out, "UTF-8"), 1);
    EXPECT_STREQ(out, "");
}

}  // namespace

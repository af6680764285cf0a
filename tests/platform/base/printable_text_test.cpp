// Outside text shown in a message: what could act on a terminal is replaced, and long text is
// cut at a character boundary.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/printable_text.h"

namespace {

using text::Printable;
using text::QuotedPrintable;

TEST(PrintableTest, ControlsAndBytesThatAreNotUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Printable("plain text"), "plain text");
    EXPECT_EQ(Printable("通道 1"), "通道 1");
    EXPECT_EQ(Printable("a\x1b[2Jb\r\n\t\x7f"), "a?[2Jb????");
    // C1 controls in UTF-8 (U+009B is an escape on some terminals), a lone continuation byte,
    // a cut sequence, an overlong form, a UTF-16 surrogate and a code point past U+10FFFF.
    EXPECT_EQ(Printable("\xc2\x9b"
                        "2J"),
              "?2J");
    EXPECT_EQ(Printable("\x80x"), "?x");
    EXPECT_EQ(Printable("\xe4\xb8"), "??");
    EXPECT_EQ(Printable("\xe0\x80\xaf"), "???");
    EXPECT_EQ(Printable("\xed\xa0\x80"), "???");
    EXPECT_EQ(Printable("\xf4\x90\x80\x80"), "????");
    EXPECT_EQ(Printable("\xc2\xa0\xf0\x9f\x98\x80"), "\xc2\xa0\xf0\x9f\x98\x80");  // NBSP, emoji
}

TEST(PrintableTest, LongTextIsCutAfterTheLimitOnACharacterBoundary) {
    EXPECT_EQ(Printable(std::string(60, 'x')), std::string(60, 'x'));
    EXPECT_EQ(Printable(std::string(100000, 'x')), std::string(60, 'x') + "...");
    std::string wide;
    for (int k = 0; k < 10; ++k) wide += "通";
    EXPECT_EQ(Printable(wide, 4), "通通通通...");
    EXPECT_EQ(QuotedPrintable("a\nb", 3), "\"a?b\"");
    EXPECT_EQ(QuotedPrintable("abc", 2), "\"ab...\"");
}

}  // namespace

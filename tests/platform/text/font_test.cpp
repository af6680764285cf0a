#include "platform/text/font.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <string_view>

#include "platform/text/font_cache.h"
#include "platform/text/font_match.h"
#include "tests/platform/text/make_logfont.h"

namespace {

using ::testing::HasSubstr;

SIZE Extent(const gdi::Font& font, std::u16string_view text) {
    return font.GetTextExtent(text.data(), static_cast<int>(text.size()));
}

TEST(LogFontTest, KeepsThePublishedLayout) {
    EXPECT_EQ(sizeof(LOGFONTW), 92u);
    EXPECT_EQ(offsetof(LOGFONTW, lfWeight), 16u);
    EXPECT_EQ(offsetof(LOGFONTW, lfItalic), 20u);
    EXPECT_EQ(offsetof(LOGFONTW, lfQuality), 26u);
    EXPECT_EQ(offsetof(LOGFONTW, lfPitchAndFamily), 27u);
    EXPECT_EQ(offsetof(LOGFONTW, lfFaceName), 28u);
}

TEST(FontMatchTest, ArialResolvesToTheMetricCompatibleFace) {
    auto regular = gdi::FontMatch::Resolve(Arial24());
    ASSERT_NE(regular, nullptr);
    EXPECT_THAT(regular->File(0), HasSubstr("LiberationSans-Regular"));
    EXPECT_FALSE(regular->IsBold(0));

    auto bold = gdi::FontMatch::Resolve(MakeLogFont(u"Arial", 24, 0, FW_BOLD));
    ASSERT_NE(bold, nullptr);
    EXPECT_THAT(bold->File(0), HasSubstr("LiberationSans-Bold"));
    EXPECT_TRUE(bold->IsBold(0));
}

TEST(FontMatchTest, ChineseFallsBackToALaterFace) {
    auto match = gdi::FontMatch::Resolve(Arial24());
    ASSERT_NE(match, nullptr);
    EXPECT_FALSE(match->Covers(0, U'中'));
    bool covered = false;
    for (int i = 1; i < match->Count() && !covered; ++i) covered = match->Covers(i, U'中');
    EXPECT_TRUE(covered);
}

TEST(FontTest, PositiveHeightIsTheCellAndWidthTheAverageCharacter) {
    auto font = gdi::Font::Create(Arial24());
    ASSERT_NE(font, nullptr);
    const gdi::TextMetrics& m = font->Metrics();
    EXPECT_EQ(m.tmHeight, 24);
    EXPECT_EQ(m.tmAscent + m.tmDescent, 24);
    EXPECT_GE(m.tmAscent, 18);
    EXPECT_LE(m.tmAscent, 20);
    EXPECT_GT(m.tmInternalLeading, 0);
    EXPECT_LT(m.tmInternalLeading, 6);
    EXPECT_EQ(m.tmAveCharWidth, 15);

    // The stamp text measures about its 20 characters at the average width.
    const SIZE stamp = Extent(*font, u"2011-06-13(09:05:07)");
    EXPECT_EQ(stamp.cy, 24);
    EXPECT_GT(stamp.cx, 20 * 15 * 8 / 10);
    EXPECT_LT(stamp.cx, 20 * 15 * 14 / 10);
}

TEST(FontTest, NegativeHeightIsTheCharacterHeight) {
    auto font = gdi::Font::Create(MakeLogFont(u"Arial", -20));
    ASSERT_NE(font, nullptr);
    const gdi::TextMetrics& m = font->Metrics();
    EXPECT_EQ(m.tmHeight - m.tmInternalLeading, 20);
    EXPECT_GT(m.tmHeight, 20);
    EXPECT_EQ(m.tmAscent + m.tmDescent, m.tmHeight);
}

TEST(FontTest, WidthScalesGlyphsHorizontallyOnly) {
    auto natural = gdi::Font::Create(MakeLogFont(u"Arial", 24));
    auto narrow = gdi::Font::Create(MakeLogFont(u"Arial", 24, 15));
    auto wide = gdi::Font::Create(MakeLogFont(u"Arial", 24, 30));
    ASSERT_TRUE(natural && narrow && wide);
    EXPECT_LT(natural->Metrics().tmAveCharWidth, 15);  // the stamp font is stretched
    const SIZE n = Extent(*narrow, u"Quadrel overlay");
    const SIZE w = Extent(*wide, u"Quadrel overlay");
    EXPECT_EQ(n.cy, w.cy);
    EXPECT_NEAR(static_cast<double>(w.cx) / n.cx, 2.0, 0.15);
}

TEST(FontTest, ExtentsAddUpAndDigitsShareOneAdvance) {
    auto font = gdi::Font::Create(Arial24());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Extent(*font, u"2011-06-13").cx + Extent(*font, u"(09:05:07)").cx,
              Extent(*font, u"2011-06-13(09:05:07)").cx);
    // The stamp keeps its width from second to second.
    const LONG zero = Extent(*font, u"0").cx;
    EXPECT_GT(zero, 0);
    for (char16_t d = u'1'; d <= u'9'; ++d) EXPECT_EQ(Extent(*font, {&d, 1}).cx, zero) << char(d);
}

TEST(FontTest, BoldIsWiderThanNormal) {
    auto normal = gdi::Font::Create(MakeLogFont(u"Arial", 24));
    auto bold = gdi::Font::Create(MakeLogFont(u"Arial", 24, 0, FW_BOLD));
    ASSERT_TRUE(normal && bold);
    EXPECT_GT(Extent(*bold, u"Channel 1!").cx, Extent(*normal, u"Channel 1!").cx);
}

TEST(FontTest, NoTextHasNoWidthButTheCellHeight) {
    auto font = gdi::Font::Create(Arial24());
    ASSERT_NE(font, nullptr);
    const SIZE empty = font->GetTextExtent(u"abc", 0);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 24);
    EXPECT_EQ(font->GetTextExtent(nullptr, 5).cx, 0);
}

TEST(FontTest, UnreasonableSizesMakeNoFont) {
    EXPECT_EQ(gdi::Font::Create(MakeLogFont(u"Arial", 100000)), nullptr);
    EXPECT_EQ(gdi::Font::Create(MakeLogFont(u"Arial", INT_MIN)), nullptr);
    EXPECT_EQ(gdi::Font::Create(MakeLogFont(u"Arial", 24, INT_MIN)), nullptr);
}

TEST(FontTest, SurrogatePairsAreOneCharacterAndStrayHalvesStillDraw) {
    auto font = gdi::Font::Create(Arial24());
    ASSERT_NE(font, nullptr);
    const auto glyphs = [&](std::u16string_view text) {
        int n = 0;
        font->ForEachGlyph(text.data(), static_cast<int>(text.size()), gdi::GlyphMode::Mono,
                           [&n](const gdi::Glyph&, LONG) { ++n; });
        return n;
    };
    EXPECT_EQ(glyphs(u"\U0001F600"), 1);
    const char16_t reversed[] = {0xDE00, 0xD83D};
    EXPECT_EQ(glyphs({reversed, 2}), 2);
    const char16_t cut[] = {u'A', 0xD83D};  // a title cut inside a pair
    EXPECT_EQ(glyphs({cut, 2}), 2);
    EXPECT_GT(font->GetTextExtent(cut, 2).cx, font->GetTextExtent(cut, 1).cx);
}

TEST(FontCacheTest, TheSameRequestFindsTheSameFont) {
    LOGFONTW a = Arial24();
    LOGFONTW b = Arial24();
    b.lfFaceName[10] = u'x';  // after the terminator: not part of the request
    auto first = gdi::CreateFontIndirectW(a);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(gdi::CreateFontIndirectW(b), first);
    EXPECT_NE(gdi::CreateFontIndirectW(MakeLogFont(u"Arial", 23, 15)), first);
}

}  // namespace

// How the property page reads and writes its numbers and fonts.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <climits>
#include <clocale>

#include "overlay/decimal_text.h"
#include "overlay/qt_logfont.h"

namespace {

TEST(DecimalText, IntegersAreReadLikeTheRuntimeReadsThem) {
    EXPECT_EQ(DecimalInt("42"), 42);
    EXPECT_EQ(DecimalInt("  -17px"), -17);
    EXPECT_EQ(DecimalInt("+8"), 8);
    EXPECT_EQ(DecimalInt("\t300"), 300);
    EXPECT_EQ(DecimalInt(""), 0);
    EXPECT_EQ(DecimalInt("red"), 0);
    EXPECT_EQ(DecimalInt("- 5"), 0);
    EXPECT_EQ(DecimalInt("１２"), 0);  // full-width digits are not decimal digits here
    EXPECT_EQ(DecimalInt("2147483647"), INT_MAX);
    EXPECT_EQ(DecimalInt("2147483648"), INT_MAX);
    EXPECT_EQ(DecimalInt("-2147483648"), INT_MIN);
    EXPECT_EQ(DecimalInt("-99999999999999999999999"), INT_MIN);
}

TEST(DecimalText, DecimalsIgnoreTheUsersLocale) {
    // A locale with a decimal comma, when the system has one, must not change the page's texts.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FixedTwoDecimals(0.0), QString("0.00"));
    EXPECT_EQ(FixedTwoDecimals(-1.0), QString("-1.00"));
    EXPECT_EQ(FixedTwoDecimals(2.675), QString("2.67"));  // the double just below 2.675
    EXPECT_EQ(FixedTwoDecimals(1234567.891), QString("1234567.89"));
    EXPECT_EQ(DecimalDouble("1.5"), 1.5);
    EXPECT_EQ(DecimalDouble(" -0.25s"), -0.25);
    EXPECT_EQ(DecimalDouble("+.5"), 0.5);
    EXPECT_EQ(DecimalDouble("3e2"), 300.0);
    EXPECT_EQ(DecimalDouble("1,5"), 1.0);
    EXPECT_EQ(DecimalDouble("soon"), 0.0);
    EXPECT_EQ(DecimalDouble(""), 0.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(QtLogFont, FontsSurviveTheRoundTrip) {
    LOGFONTW font{};
    const char16_t face[] = u"Liberation Sans";
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    font.lfHeight = -24;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    const QFont qt = QFontFromLogFont(font);
    EXPECT_EQ(qt.family(), QString("Liberation Sans"));
    EXPECT_EQ(qt.pixelSize(), 24);
    EXPECT_EQ(qt.weight(), QFont::Bold);
    EXPECT_TRUE(qt.italic());
    EXPECT_TRUE(qt.underline());
    EXPECT_FALSE(qt.strikeOut());
    const LOGFONTW back = LogFontFromQFont(qt);
    EXPECT_EQ(std::u16string(back.lfFaceName), u"Liberation Sans");
    EXPECT_EQ(back.lfHeight, -24);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 1);
    EXPECT_EQ(back.lfStrikeOut, 0);

    // Point sizes become pixel heights at 96 pixels per inch.
    QFont points("Liberation Serif");
    points.setPointSize(12);
    EXPECT_EQ(LogFontFromQFont(points).lfHeight, -16);
    // A zero font (what the filter stores) asks for nothing in particular.
    const QFont defaults = QFontFromLogFont(LOGFONTW{});
    EXPECT_EQ(defaults.weight(), QFont::Normal);
    EXPECT_FALSE(defaults.italic());
    // A face longer than the structure holds is cut and still terminated.
    QFont longName(QString(40, QChar('W')));
    const LOGFONTW cut = LogFontFromQFont(longName);
    EXPECT_EQ(std::u16string(cut.lfFaceName), std::u16string(31, u'W'));
}

}  // namespace

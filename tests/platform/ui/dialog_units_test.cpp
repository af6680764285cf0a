#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/ui/dialog_units.h"

namespace {

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(18, 7, 4), 32);    // 31.5
    EXPECT_EQ(MulDiv(409, 7, 4), 716);  // 715.75
    EXPECT_EQ(MulDiv(-18, 7, 4), -32);
    EXPECT_EQ(MulDiv(18, 7, -4), -32);
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    // No overflow in the intermediate product.
    EXPECT_EQ(MulDiv(2'000'000'000, 3, 4), 1'500'000'000);
}

TEST(DialogUnitsTest, SevenFourthsPutsTheMainDialogOnItsSkin) {
    const DialogUnitMapping map = DialogUnitMapping::Fixed(7, 4);
    // Whole dialog 504 x 347 units on the 881 x 608 skin.
    EXPECT_EQ(map.ToPixels(504, 347), QSize(882, 607));
    // Channel1 at 409,21 18x18 and the pane of channel 1 at 15,11 180x136.
    EXPECT_EQ(map.ToPixels(409, 21, 18, 18), QRect(716, 37, 32, 32));
    EXPECT_EQ(map.ToPixels(15, 11, 180, 136), QRect(26, 19, 315, 238));
}

TEST(DialogUnitsTest, FontMappingUsesQuarterWidthAndEighthHeight) {
    const DialogUnitMapping map = DialogUnitMapping::FromBaseUnits(6, 13);
    // Static "Title:" of the overlay page at 14,58 17x8.
    EXPECT_EQ(map.ToPixels(14, 58, 17, 8), QRect(21, 94, 26, 13));
    EXPECT_EQ(map.ToPixels(235, 146), QSize(353, 237));
}

TEST(DialogUnitsTest, BaseUnitsComeFromTheDialogFont) {
    const DialogTemplate dialog{.id = 1,
                                .cx = 4,
                                .cy = 8,
                                .caption = nullptr,
                                .style = 0,
                                .fontFace = "MS Shell Dlg",
                                .pointSize = 8,
                                .units = DialogUnits::kFontAverage,
                                .controls = {}};
    const QFont font = DialogFont(dialog);
    EXPECT_EQ(font.pixelSize(), 11);  // 8 points at 96 per inch
    const QFontMetrics metrics(font);
    const int width =
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") + 26) /
        52;
    // Four horizontal units are one average character, eight vertical units one line.
    const DialogUnitMapping map = DialogUnitMapping::For(dialog, font);
    EXPECT_EQ(map.ToPixelsX(4), width);
    EXPECT_EQ(map.ToPixelsY(8), metrics.ascent() + metrics.descent());
    EXPECT_GT(width, 3);
}

TEST(DialogUnitsTest, TemplateChoosesTheFixedMapping) {
    const DialogTemplate dialog{.id = 102,
                                .cx = 504,
                                .cy = 347,
                                .caption = nullptr,
                                .style = 0,
                                .fontFace = "MS Shell Dlg",
                                .pointSize = 9,
                                .units = DialogUnits::kSevenFourths,
                                .controls = {}};
    EXPECT_EQ(DialogUnitMapping::For(dialog, DialogFont(dialog)).ToPixels(4, 8), QSize(7, 14));
}

}  // namespace

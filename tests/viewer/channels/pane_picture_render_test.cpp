// The pane pictures read back pixel by pixel: black everywhere but the white text, each text in
// its own band of rows.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "viewer/channels/pane_picture_render.h"

namespace channel_views {
namespace {

// The rows and columns holding text pixels within rows [top, bottom) of a picture.
struct Ink {
    int top = -1, bottom = -1;  // rows, bottom exclusive; -1 when there is none
    int left = -1, right = -1;  // columns, right exclusive
    int brightest = 0;
    bool grey = true;  // every pixel has equal red, green and blue (white on black)

    bool Any() const { return top >= 0; }
};

Ink InkIn(const QImage& image, int top, int bottom) {
    Ink ink;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel)) ink.grey = false;
            if (pixel == qRgb(0, 0, 0)) continue;
            if (ink.top < 0) {
                ink.top = y;
                ink.left = x;
                ink.right = x + 1;
            }
            ink.bottom = y + 1;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.brightest = std::max(ink.brightest, qRed(pixel));
        }
    }
    return ink;
}

Ink InkIn(const QImage& image) {
    return InkIn(image, 0, image.height());
}

constexpr QSize kPane{352, 288};
constexpr int kBandTop = 288 / 2 - 10;
constexpr int kBandBottom = 288 / 2 + 10;

TEST(PanePictureRenderTest, NoSignalIsCentredInItsLineWithTheTitleAtTheTop) {
    const QImage image = DrawSignalPicture(PanePicture::kNoSignal, u"Gate", kPane);
    ASSERT_EQ(image.size(), kPane);
    const Ink all = InkIn(image);
    EXPECT_TRUE(all.grey);

    const Ink title = InkIn(image, 0, kBandTop);
    ASSERT_TRUE(title.Any());
    EXPECT_GE(title.top, 2);
    EXPECT_LE(title.bottom, 2 + 12);
    EXPECT_LE(title.left, 2);
    EXPECT_LT(title.right, kPane.width() / 2);  // left aligned, not centred
    EXPECT_EQ(title.brightest, 255);

    const Ink text = InkIn(image, kBandTop, kPane.height());
    ASSERT_TRUE(text.Any());
    EXPECT_GE(text.top, kBandTop);
    EXPECT_LE(text.bottom, kBandTop + 12);  // top aligned in the line, one 12-pixel cell
    EXPECT_EQ(text.brightest, 255);
    EXPECT_NEAR((text.left + text.right) / 2.0, kPane.width() / 2.0, 3.0);
    // Between the title and the line, and below it, the picture is black.
    EXPECT_FALSE(InkIn(image, 14, kBandTop).Any());
    EXPECT_FALSE(InkIn(image, kBandBottom, kPane.height()).Any());
}

TEST(PanePictureRenderTest, LostSignalSaysSoInTheSameLine) {
    const QImage lost = DrawSignalPicture(PanePicture::kLostSignal, u"Gate", kPane);
    const QImage none = DrawSignalPicture(PanePicture::kNoSignal, u"Gate", kPane);
    const Ink lostText = InkIn(lost, kBandTop, kBandBottom);
    const Ink noText = InkIn(none, kBandTop, kBandBottom);
    ASSERT_TRUE(lostText.Any() && noText.Any());
    EXPECT_NE(lost, none);
    // "Lost Signal" is two characters longer than "No Signal" at 10 pixels a character.
    EXPECT_GT(lostText.right - lostText.left, noText.right - noText.left + 10);
    EXPECT_NEAR((lostText.left + lostText.right) / 2.0, kPane.width() / 2.0, 3.0);
    // The titles are the same.
    EXPECT_EQ(lost.copy(0, 0, kPane.width(), kBandTop), none.copy(0, 0, kPane.width(), kBandTop));
}

TEST(PanePictureRenderTest, WithoutTitleOnlyTheLineIsDrawn) {
    const QImage image = DrawSignalPicture(PanePicture::kNoSignal, u"", kPane);
    EXPECT_FALSE(InkIn(image, 0, kBandTop).Any());
    EXPECT_TRUE(InkIn(image, kBandTop, kBandBottom).Any());
}

TEST(PanePictureRenderTest, ClosedChannelTextStartsFourPixelsIn) {
    const QImage image = DrawClosedPicture(3, QSize(320, 240));
    ASSERT_EQ(image.size(), QSize(320, 240));
    const Ink ink = InkIn(image);
    ASSERT_TRUE(ink.Any());
    EXPECT_TRUE(ink.grey);
    EXPECT_EQ(ink.brightest, 255);
    EXPECT_GE(ink.top, 4);
    EXPECT_GE(ink.left, 4);
    EXPECT_LE(ink.left, 8);
    EXPECT_LE(ink.bottom, 4 + 16);  // one 16-pixel line
    // The channel number is part of the text.
    EXPECT_NE(DrawClosedPicture(1, QSize(320, 240)), image);
}

TEST(PanePictureRenderTest, PicturesByKindAndEmptyPanes) {
    EXPECT_TRUE(DrawPanePicture(PanePicture::kNone, 1, u"x", kPane).isNull());
    EXPECT_TRUE(DrawSignalPicture(PanePicture::kClosed, u"x", kPane).isNull());
    EXPECT_TRUE(DrawClosedPicture(1, QSize(0, 100)).isNull());
    EXPECT_TRUE(DrawSignalPicture(PanePicture::kNoSignal, u"x", QSize(100, 0)).isNull());
    EXPECT_EQ(DrawPanePicture(PanePicture::kClosed, 2, u"x", kPane), DrawClosedPicture(2, kPane));
    EXPECT_EQ(DrawPanePicture(PanePicture::kLostSignal, 2, u"x", kPane),
              DrawSignalPicture(PanePicture::kLostSignal, u"x", kPane));
    // A pane lower than the line still gets its black picture, the text clipped to it.
    const QImage low = DrawSignalPicture(PanePicture::kNoSignal, u"", QSize(200, 8));
    ASSERT_EQ(low.size(), QSize(200, 8));
    EXPECT_TRUE(InkIn(low).grey);
}

}  // namespace
}  // namespace channel_views

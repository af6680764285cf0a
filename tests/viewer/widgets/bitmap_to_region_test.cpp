#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <vector>

#include "viewer/widgets/bitmap_to_region.h"
#include "viewer/widgets/region_data.h"

namespace {

const QRgb kGreen = kDialogShapeKey;
const QRgb kWhite = kButtonShapeKey;
const QRgb kSkin = qRgb(40, 60, 90);

// A bitmap from rows of '#' (opaque skin colour) and '.' (key colour).
QImage FromRows(const std::vector<const char*>& rows, QRgb key) {
    const int width = static_cast<int>(std::strlen(rows.front()));
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, rows[y][x] == '#' ? kSkin : key);
    }
    return image;
}

// The region holds exactly the pixels that are not the key colour.
void ExpectCoversOpaquePixels(const QRegion& region, const QImage& image, QRgb key) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool opaque = (image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF);
            ASSERT_EQ(region.contains(QPoint(x, y)), opaque) << "pixel " << x << "," << y;
        }
    }
}

TEST(BitmapToRegionTest, NoBitmapGivesNoRegion) {
    EXPECT_FALSE(BitmapToRegion(QImage(), kGreen).has_value());
}

TEST(BitmapToRegionTest, AllKeyBitmapGivesAnEmptyRegionFromOneEmptyBatch) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(kGreen);
    RegionBuildStats stats;
    const auto region = BitmapToRegion(image, kGreen, &stats);
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(region->isEmpty());
    EXPECT_EQ(stats.batches, 1);
    EXPECT_EQ(stats.finalCapacity, 100u);
    EXPECT_EQ(stats.growths, 0);
}

TEST(BitmapToRegionTest, TwoPixelBitmapsGiveOneRectangle) {
    EXPECT_EQ(*BitmapToRegion(FromRows({"#."}, kGreen), kGreen), QRegion(0, 0, 1, 1));
    EXPECT_EQ(*BitmapToRegion(FromRows({".#"}, kGreen), kGreen), QRegion(1, 0, 1, 1));
}

TEST(BitmapToRegionTest, RunsReachTheLastColumnAndTheLastRow) {
    const QImage image = FromRows({"..##", "#..#", "...#", "####"}, kWhite);
    const auto region = BitmapToRegion(image, kWhite);
    ASSERT_TRUE(region.has_value());
    ExpectCoversOpaquePixels(*region, image, kWhite);
    EXPECT_EQ(region->boundingRect(), QRect(0, 0, 4, 4));
}

TEST(BitmapToRegionTest, RepeatedRowsFoldIntoOneBand) {
    // The same region as the one region operations build, so masks compare equal.
    const QImage image = FromRows({"##..", "##..", ".##.", "....", ".##."}, kGreen);
    const QRegion expected = QRegion(0, 0, 2, 2) + QRegion(1, 2, 2, 1) + QRegion(1, 4, 2, 1);
    EXPECT_EQ(*BitmapToRegion(image, kGreen), expected);
    EXPECT_EQ(BitmapToRegion(image, kGreen)->rectCount(), 3);
}

TEST(BitmapToRegionTest, TheKeyMatchesExactlyAndIgnoresAlpha) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgb(0, 254, 0));      // almost green: opaque
    image.setPixel(1, 0, qRgba(0, 255, 0, 0));  // green with alpha 0: still the key
    image.setPixel(2, 0, qRgb(255, 255, 254));  // almost white: opaque for buttons
    image.setPixel(3, 0, qRgb(255, 255, 255));
    EXPECT_EQ(*BitmapToRegion(image, kGreen), QRegion(0, 0, 1, 1) + QRegion(2, 0, 2, 1));
    EXPECT_EQ(*BitmapToRegion(image, kWhite), QRegion(0, 0, 3, 1));
}

TEST(BitmapToRegionTest, TwentyFourBitBitmapsAreRead) {
    QImage image(3, 2, QImage::Format_RGB888);
    image.fill(kGreen);
    image.setPixel(1, 1, qRgb(0, 255, 1));
    EXPECT_EQ(*BitmapToRegion(image, kGreen), QRegion(1, 1, 1, 1));
}

TEST(BitmapToRegionTest, TwoThousandAndOneRunsMakeTwoBatches) {
    // Opaque at every even x: 2001 separate runs in one row.
    QImage image(4001, 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, 0, x % 2 == 0 ? kSkin : kGreen);
    RegionBuildStats stats;
    const auto region = BitmapToRegion(image, kGreen, &stats);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(stats.batches, 2);
    EXPECT_EQ(stats.finalCapacity, 2000u);  // grew from 100 in steps of 100
    EXPECT_EQ(stats.growths, 19);
    EXPECT_EQ(region->rectCount(), 2001);
    ExpectCoversOpaquePixels(*region, image, kGreen);
}

TEST(BitmapToRegionTest, BatchesSplitMidRowAndStillCoverEveryPixel) {
    // 1001 runs per row over three rows: the first batch ends in the second row.
    QImage image(2001, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, (x + y) % 2 == 0 ? kSkin : kGreen);
        }
    }
    RegionBuildStats stats;
    const auto region = BitmapToRegion(image, kGreen, &stats);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(stats.batches, 2);
    ExpectCoversOpaquePixels(*region, image, kGreen);
}

TEST(RegionDataTest, BufferStartsAtOneHundredRectanglesAndGrowsByOneHundred) {
    CRegionData buffer;
    EXPECT_EQ(buffer.SizeInBytes(), 1632u);
    EXPECT_EQ(buffer.Header().dwSize, 32u);
    EXPECT_EQ(buffer.Header().iType, RDH_RECTANGLES);
    EXPECT_EQ(buffer.Header().nCount, 0u);
    EXPECT_EQ(buffer.Header().rcBound.left, 0x7FFFFFFF);
    for (int i = 0; i < 100; ++i) buffer.Append(RECT{i * 2, 5, i * 2 + 1, 6});
    EXPECT_EQ(buffer.Capacity(), 100u);
    buffer.Append(RECT{300, 7, 310, 8});
    EXPECT_EQ(buffer.Capacity(), 200u);
    EXPECT_EQ(buffer.SizeInBytes(), 1632u + 1600u);
    const RECT bound = buffer.Header().rcBound;
    EXPECT_EQ(bound.left, 0);
    EXPECT_EQ(bound.top, 5);
    EXPECT_EQ(bound.right, 310);
    EXPECT_EQ(bound.bottom, 8);
    buffer.Reset();
    EXPECT_EQ(buffer.Header().nCount, 0u);
    EXPECT_EQ(buffer.Header().rcBound.top, 0x7FFFFFFF);
    EXPECT_EQ(buffer.Header().rcBound.right, 0);
    EXPECT_EQ(buffer.Capacity(), 200u);  // room is kept
    EXPECT_TRUE(buffer.ToRegion().isEmpty());
}

}  // namespace

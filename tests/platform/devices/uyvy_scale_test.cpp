// Resampling a captured UYVY picture into a stream's connection size.
#include "platform/devices/uyvy_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace devices {
namespace {

// A picture whose pixel pair p of row y is (U, Y0, V, Y1) = (y, p, 200 + y, p).
FramePicture Numbered(int width, int height) {
    FramePicture picture{{width, height, 25}, {}};
    picture.bytes.resize(picture.format.FrameBytes());
    for (int y = 0; y < height; ++y)
        for (int p = 0; p < width / 2; ++p) {
            std::uint8_t* group = picture.bytes.data() + (y * width + p * 2) * 2;
            group[0] = static_cast<std::uint8_t>(y);
            group[1] = static_cast<std::uint8_t>(p);
            group[2] = static_cast<std::uint8_t>(200 + y);
            group[3] = static_cast<std::uint8_t>(p);
        }
    return picture;
}

TEST(UyvyScaleTest, SameSizeIsACopyAndHalfSizeKeepsWholePixelPairs) {
    const FramePicture from = Numbered(8, 4);
    std::vector<std::uint8_t> same(from.bytes.size());
    ScaleUyvy(from, from.format, same);
    EXPECT_EQ(same, from.bytes);

    std::vector<std::uint8_t> half(VideoFormat{4, 2, 25}.FrameBytes());
    ScaleUyvy(from, VideoFormat{4, 2, 25}, half);
    // Row 0 from source row 0, row 1 from source row 2; pairs 0 and 1 from source pairs 0, 2.
    const std::vector<std::uint8_t> expected = {0, 0, 200, 0, 0, 2, 200, 2,
                                                2, 0, 202, 0, 2, 2, 202, 2};
    EXPECT_EQ(half, expected);
}

TEST(UyvyScaleTest, AShortOrEmptySourceGivesBlackAndASmallOutputIsLeftAlone) {
    FramePicture shortPicture = Numbered(8, 4);
    shortPicture.bytes.resize(10);
    std::vector<std::uint8_t> out(VideoFormat{4, 2, 25}.FrameBytes(), 7);
    ScaleUyvy(shortPicture, VideoFormat{4, 2, 25}, out);
    for (std::size_t i = 0; i < out.size(); i += 2) {
        EXPECT_EQ(out[i], 128);
        EXPECT_EQ(out[i + 1], 16);
    }
    std::vector<std::uint8_t> tooSmall(3, 7);
    ScaleUyvy(Numbered(8, 4), VideoFormat{4, 2, 25}, tooSmall);
    EXPECT_EQ(tooSmall, std::vector<std::uint8_t>(3, 7));
}

}  // namespace
}  // namespace devices

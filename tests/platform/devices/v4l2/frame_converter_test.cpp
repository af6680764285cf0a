// Captured frames of the picture's size are copied (UYVY) or repacked (YUYV) exactly, row by row
// from padded rows; other sizes are scaled; short frames are refused.
#include "platform/devices/v4l2/frame_converter.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <vector>

namespace devices {
namespace {

constexpr VideoFormat kPicture{6, 3, 25};
constexpr std::uint32_t kStride = 16;  // 12 bytes of pixels and 4 of padding per row

// Rows of distinct bytes, padding 0xEE.
std::vector<std::uint8_t> PaddedFrame() {
    std::vector<std::uint8_t> frame(kStride * kPicture.height, 0xEE);
    for (int y = 0; y < kPicture.height; ++y)
        for (int x = 0; x < kPicture.width * 2; ++x) frame[y * kStride + x] = (y * 40 + x) & 0xFF;
    return frame;
}

TEST(FrameConverterTest, FramesOfThePicturesSizeAreCopiedOrRepackedExactly) {
    const std::vector<std::uint8_t> frame = PaddedFrame();
    for (const std::uint32_t fourcc : {V4L2_PIX_FMT_UYVY, V4L2_PIX_FMT_YUYV}) {
        FrameConverter converter;
        ASSERT_TRUE(converter.Configure({6, 3, fourcc, kStride, kStride * 3}, kPicture));
        FramePicture picture;
        ASSERT_TRUE(converter.Convert(frame, &picture));
        EXPECT_EQ(picture.format, kPicture);
        ASSERT_EQ(picture.bytes.size(), kPicture.FrameBytes());
        for (int y = 0; y < kPicture.height; ++y)
            for (int x = 0; x < kPicture.width * 2; ++x) {
                // YUYV's Y0 U Y1 V becomes U Y0 V Y1: neighbouring bytes swap.
                const int from = fourcc == V4L2_PIX_FMT_UYVY ? x : x ^ 1;
                ASSERT_EQ(picture.bytes[y * 12 + x], frame[y * kStride + from])
                    << "fourcc " << fourcc << " row " << y << " byte " << x;
            }
        // A frame shorter than its rows is refused and the picture stays.
        const std::vector<std::uint8_t> shortFrame(frame.begin(), frame.end() - kStride);
        picture.bytes.assign(picture.bytes.size(), 0x55);
        EXPECT_FALSE(converter.Convert(shortFrame, &picture));
        EXPECT_EQ(picture.bytes[0], 0x55);
    }
}

TEST(FrameConverterTest, OtherSizesAreScaledToThePicture) {
    // A flat grey frame of 4 × 2 becomes a flat grey picture of 6 × 3.
    const std::vector<std::uint8_t> frame(4 * 2 * 2, 0x80);
    FrameConverter converter;
    ASSERT_TRUE(converter.Configure({4, 2, V4L2_PIX_FMT_YUYV, 8, 16}, kPicture));
    FramePicture picture;
    ASSERT_TRUE(converter.Convert(frame, &picture));
    ASSERT_EQ(picture.bytes.size(), kPicture.FrameBytes());
    for (std::uint8_t b : picture.bytes) EXPECT_NEAR(b, 0x80, 1);
}

}  // namespace
}  // namespace devices

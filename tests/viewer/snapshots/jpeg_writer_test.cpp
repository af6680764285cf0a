// The JPEG writer, the snapshot picture and its conversion from the renderer's bitmap, and the
// writer thread; files decoded back with libjpeg.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/base/bitmap.h"
#include "platform/com/runtime.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/snapshots/jpeg_file.h"
#include "viewer/snapshots/image_action.h"
#include "viewer/snapshots/jpeg_writer.h"
#include "viewer/snapshots/snapshot_capture.h"
#include "viewer/snapshots/snapshot_writer.h"

namespace snapshot_test {
namespace {

namespace fs = std::filesystem;

// A smooth colour picture, top-down red-green-blue.
std::vector<BYTE> Gradient(int width, int height) {
    std::vector<BYTE> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<BYTE>(x * 255 / width);
            p[1] = static_cast<BYTE>(y * 255 / height);
            p[2] = static_cast<BYTE>(128 + (x - y) / 4);
        }
    return rgb;
}

// The same picture bottom-up in blue-green-red, as a 24-bit bitmap stores it.
std::vector<BYTE> BottomUpBgr(const std::vector<BYTE>& rgb, int width, int height) {
    std::vector<BYTE> bgr(rgb.size());
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        for (std::size_t x = 0; x < row; x += 3) {
            const BYTE* s = &rgb[static_cast<std::size_t>(y) * row + x];
            BYTE* t = &bgr[static_cast<std::size_t>(height - 1 - y) * row + x];
            t[0] = s[2];
            t[1] = s[1];
            t[2] = s[0];
        }
    return bgr;
}

TEST(WriteJpegTest, EmptyPicturesAndMissingArgumentsFailWithoutMakingAFile) {
    testing_support::TempDir dir;
    const std::vector<BYTE> rgb = Gradient(8, 8);
    const std::string file = dir.File("x.jpg");
    EXPECT_EQ(WriteJpeg(file.c_str(), rgb.data(), 0, 8, true, 75), 0);
    EXPECT_EQ(WriteJpeg(file.c_str(), rgb.data(), 8, 0, true, 75), 0);
    EXPECT_EQ(WriteJpeg(file.c_str(), nullptr, 8, 8, true, 75), 0);
    EXPECT_EQ(WriteJpeg(nullptr, rgb.data(), 8, 8, true, 75), 0);
    EXPECT_EQ(WriteJpegBottomUpBgr(file.c_str(), rgb.data(), 0, 8, 3, 75), 0);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(WriteJpeg(dir.File("no/such/folder.jpg").c_str(), rgb.data(), 8, 8, true, 75), 0);
}

TEST(WriteJpegTest, ColourAndGreyPicturesDecodeBackTopRowFirst) {
    testing_support::TempDir dir;
    const int w = 37, h = 23;  // not multiples of the 8 × 8 blocks
    const std::vector<BYTE> rgb = Gradient(w, h);
    ASSERT_EQ(WriteJpeg(dir.File("c.jpg").c_str(), rgb.data(), w, h, true, 75), 1);
    const DecodedJpeg colour = DecodeJpeg(dir.File("c.jpg"));
    ASSERT_TRUE(colour.ok);
    EXPECT_EQ(colour.width, w);
    EXPECT_EQ(colour.height, h);
    EXPECT_EQ(colour.components, 3);
    EXPECT_GE(Psnr(colour.pixels, rgb), 30.0);

    ASSERT_EQ(WriteJpeg(dir.File("g.jpg").c_str(), rgb.data(), w, h, false, 75), 1);
    const DecodedJpeg grey = DecodeJpeg(dir.File("g.jpg"));
    ASSERT_TRUE(grey.ok);
    EXPECT_EQ(grey.components, 1);
    std::vector<BYTE> luma(static_cast<std::size_t>(w) * h);
    for (std::size_t k = 0; k < luma.size(); ++k)
        luma[k] =
            static_cast<BYTE>(0.299 * rgb[3 * k] + 0.587 * rgb[3 * k + 1] + 0.114 * rgb[3 * k + 2]);
    EXPECT_GE(Psnr(grey.pixels, luma), 30.0);
}

TEST(WriteJpegTest, ALibjpegErrorBecomesAFailedWriteAndLeavesNoFile) {
    testing_support::TempDir dir;
    // Wider than a JPEG may be: libjpeg's fatal error, after the file was opened.
    const UINT width = 70000;
    const std::vector<BYTE> row(static_cast<std::size_t>(width) * 3, 0x80);
    const std::string file = dir.File("wide.jpg");
    EXPECT_EQ(WriteJpeg(file.c_str(), row.data(), width, 1, true, 75), 0);
    EXPECT_FALSE(fs::exists(file));
    // The writer still works afterwards.
    EXPECT_EQ(WriteJpeg(file.c_str(), row.data(), 100, 1, true, 75), 1);
}

TEST(ImageActionTest, ASnapshotIsTheReversedSwappedPictureAndTheBufferIsLeftAsItWas) {
    testing_support::TempDir dir;
    const int w = 21, h = 13;
    const std::vector<BYTE> rgb = Gradient(w, h);
    CImageAction image(w, h);
    const std::vector<BYTE> bgr = BottomUpBgr(rgb, w, h);
    std::memcpy(image.Pixels(), bgr.data(), bgr.size());

    ASSERT_EQ(image.WriteSnapshot(dir.File("snap.jpg").c_str()), 1);
    EXPECT_EQ(std::memcmp(image.Pixels(), bgr.data(), bgr.size()), 0);
    ASSERT_EQ(WriteJpeg(dir.File("plain.jpg").c_str(), rgb.data(), w, h, true, 75), 1);
    EXPECT_EQ(testing_support::ReadFile(dir.File("snap.jpg")),
              testing_support::ReadFile(dir.File("plain.jpg")))
        << "the same file as the top-down RGB picture at quality 75";
}

// A packed bitmap in task memory of `bits` per pixel with varied pixels, and the same picture
// top-down in red, green, blue.
BYTE* PackedBitmap(LONG width, LONG height, WORD bits, std::vector<BYTE>* rgb) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    const int bytes = bits / 8;
    const std::size_t size = static_cast<std::size_t>(width) * height * bytes;
    auto* dib = static_cast<BYTE*>(CoTaskMemAlloc(sizeof header + size));
    std::memcpy(dib, &header, sizeof header);
    rgb->assign(static_cast<std::size_t>(width) * height * 3, 0);
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x) {
            BYTE* p = dib + sizeof header + (static_cast<std::size_t>(y) * width + x) * bytes;
            for (int c = 0; c < bytes; ++c) p[c] = static_cast<BYTE>(40 * x + 60 * y + 90 * c);
            if (bytes < 3) continue;  // no RGB picture of its own
            // Row y of the bitmap is row height - 1 - y of the picture.
            BYTE* q = &(*rgb)[(static_cast<std::size_t>(height - 1 - y) * width + x) * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    return dib;
}

TEST(ImageActionTest, A32BitBitmapOfAnOddWidthIsWrittenAsItsRgbPictureUnchanged) {
    testing_support::TempDir dir;
    const LONG w = 5, h = 3;  // 20-byte rows: not a 24-bit bitmap's width
    for (const WORD bits : {WORD{32}, WORD{24}}) {
        std::vector<BYTE> rgb;
        BYTE* dib = PackedBitmap(w, h, bits, &rgb);
        const std::vector<BYTE> before(dib + sizeof(BITMAPINFOHEADER),
                                       dib + sizeof(BITMAPINFOHEADER) + w * h * (bits / 8));
        const std::unique_ptr<CImageAction> image = AdoptPackedBitmap(dib);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->Width(), 5u);
        EXPECT_EQ(image->Height(), 3u);
        EXPECT_EQ(image->BytesPerPixel(), bits / 8);
        ASSERT_EQ(image->WriteSnapshot(dir.File("snap.jpg").c_str()), 1);
        EXPECT_EQ(std::memcmp(image->Pixels(), before.data(), before.size()), 0) << bits;
        ASSERT_EQ(WriteJpeg(dir.File("plain.jpg").c_str(), rgb.data(), w, h, true, 75), 1);
        EXPECT_EQ(testing_support::ReadFile(dir.File("snap.jpg")),
                  testing_support::ReadFile(dir.File("plain.jpg")))
            << bits << " bits: the file of the packed top-down RGB picture";
    }
    std::vector<BYTE> rgb;
    EXPECT_EQ(AdoptPackedBitmap(PackedBitmap(w, h, 16, &rgb)), nullptr);
}

TEST(SnapshotWriterTest, WritesEveryPostedPictureAndFinishesTheQueueWhenDestroyed) {
    testing_support::TempDir dir;
    const int w = 16, h = 8;
    const std::vector<BYTE> bgr = BottomUpBgr(Gradient(w, h), w, h);
    auto picture = [&] {
        auto image = std::make_unique<CImageAction>(w, h);
        std::memcpy(image->Pixels(), bgr.data(), bgr.size());
        return image;
    };
    {
        CSnapshotWriter writer;
        writer.Post(picture(), dir.File("a.jpg"));
        writer.Post(picture(), dir.File("missing/b.jpg"));
        writer.Post(picture(), dir.File("c.jpg"));
        writer.WaitIdle();
        EXPECT_EQ(writer.Written(), 2u);
        EXPECT_EQ(writer.Failed(), 1u);
        EXPECT_TRUE(DecodeJpeg(dir.File("a.jpg")).ok);
        EXPECT_TRUE(DecodeJpeg(dir.File("c.jpg")).ok);
        writer.WaitIdle();  // nothing queued: returns at once
        writer.Post(picture(), dir.File("last.jpg"));
    }
    EXPECT_TRUE(DecodeJpeg(dir.File("last.jpg")).ok) << "queued before the writer ended";
}

}  // namespace
}  // namespace snapshot_test

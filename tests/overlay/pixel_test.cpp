#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "overlay/pixel_rgb24.h"
#include "overlay/pixel_rgb32.h"
#include "overlay/pixel_rgb555.h"
#include "overlay/pixel_rgb565.h"
#include "overlay/pixel_rgb8.h"
#include "overlay/pixel_uyvy.h"

namespace {

struct Format {
    const char* name;
    std::function<std::unique_ptr<CBasePixel>()> make;
    BYTE bytesPerPixel;
};

const Format kFormats[] = {
    {"RGB8", [] { return std::make_unique<CPixelRGB8>(); }, 1},
    {"RGB555", [] { return std::make_unique<CPixelRGB555>(); }, 2},
    {"RGB565", [] { return std::make_unique<CPixelRGB565>(); }, 2},
    {"RGB24", [] { return std::make_unique<CPixelRGB24>(); }, 3},
    {"RGB32", [] { return std::make_unique<CPixelRGB32>(); }, 4},
    {"UYVY", [] { return std::make_unique<CPixelUYVY>(); }, 2},
};

std::unique_ptr<CBasePixel> Make(const Format& format, BYTE r, BYTE g, BYTE b) {
    auto pixel = format.make();
    pixel->SetBytesPerPixel(format.bytesPerPixel);
    pixel->SetColor(r, g, b);
    return pixel;
}

// Covers byte offset 4 of a 12-byte row filled with 0x55 and returns the row.
std::vector<BYTE> CoverAt4(CBasePixel& pixel) {
    std::vector<BYTE> row(12, 0x55);
    pixel.Cover(row.data() + 4);
    return row;
}

std::vector<BYTE> Expect(std::initializer_list<BYTE> written) {
    std::vector<BYTE> row(12, 0x55);
    std::copy(written.begin(), written.end(), row.begin() + 4);
    return row;
}

TEST(PixelTest, CoverWritesTheFormatsEncodingAndNothingElse) {
    struct Case {
        std::size_t format;
        BYTE r, g, b;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        {0, 0, 128, 0, Expect({10})},
        {0, 1, 2, 3, Expect({10})},  // palettised frames always get index 10
        {1, 0, 128, 0, Expect({0x00, 0x02})},
        {1, 255, 255, 255, Expect({0xFF, 0x7F})},
        {2, 0, 128, 0, Expect({0x00, 0x04})},
        {2, 255, 255, 255, Expect({0xFF, 0xFF})},
        {3, 1, 2, 3, Expect({3, 2, 1})},
        {4, 1, 2, 3, Expect({3, 2, 1, 0})},  // the fourth byte is cleared
        {5, 0, 128, 0, Expect({0x7F, 0xEA, 0x7F})},
        {5, 200, 10, 90, Expect({0x7F, 0xEA, 0x7F})},  // UYVY ignores the colour
    };
    for (const Case& c : cases) {
        auto pixel = Make(kFormats[c.format], c.r, c.g, c.b);
        EXPECT_EQ(CoverAt4(*pixel), c.expected)
            << kFormats[c.format].name << " " << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

TEST(PixelTest, SixteenBitEncodingsKeepTheHighBitsOfEachComponent) {
    struct Case {
        BYTE r, g, b;
        unsigned rgb555, rgb565;
    } cases[] = {
        {0xF8, 0x00, 0x00, 0x7C00, 0xF800}, {0x00, 0xF8, 0x00, 0x03E0, 0x07C0},
        {0x00, 0xFC, 0x00, 0x03E0, 0x07E0}, {0x00, 0x00, 0xF8, 0x001F, 0x001F},
        {0x07, 0x03, 0x07, 0x0000, 0x0000}, {0x08, 0x04, 0x08, 0x0401, 0x0821},
        {0x12, 0x34, 0x56, 0x08CA, 0x11AA},
    };
    // One object each for all colours: every SetColor must prepare the encoding again.
    CPixelRGB555 p555;
    CPixelRGB565 p565;
    p555.SetBytesPerPixel(2);
    p565.SetBytesPerPixel(2);
    for (const Case& c : cases) {
        p555.SetColor(c.r, c.g, c.b);
        p565.SetColor(c.r, c.g, c.b);
        BYTE out555[2] = {};
        BYTE out565[2] = {};
        p555.Cover(out555);
        p565.Cover(out565);
        EXPECT_EQ(out555[0] | (out555[1] << 8), c.rgb555) << int(c.r) << "," << int(c.g);
        EXPECT_EQ(out565[0] | (out565[1] << 8), c.rgb565) << int(c.r) << "," << int(c.g);
        EXPECT_EQ(out555[1] & 0x80, 0);
    }
}

TEST(PixelTest, ReverseComplementsThePixelsBytesAndTwiceRestores) {
    for (const Format& format : kFormats) {
        auto pixel = Make(format, 9, 99, 199);
        std::vector<BYTE> row = {0x00, 0x01, 0x80, 0x7F, 0xFF, 0x0F, 0xA5, 0x5A, 0x33, 0xCC};
        const std::vector<BYTE> original = row;
        pixel->Reverse(row.data() + 2);
        for (std::size_t k = 0; k < row.size(); ++k) {
            const bool inPixel = k >= 2 && k < 2u + format.bytesPerPixel;
            EXPECT_EQ(row[k], inPixel ? BYTE(~original[k]) : original[k])
                << format.name << " byte " << k;
        }
        pixel->Reverse(row.data() + 2);
        EXPECT_EQ(row, original) << format.name;
    }
}

TEST(PixelTest, UyvyCoverSetsThePairsChromaAndThePixelsLuma) {
    CPixelUYVY pixel;
    pixel.SetBytesPerPixel(2);
    pixel.SetColor(255, 0, 0);
    std::vector<BYTE> row(8, 0x10);
    pixel.Cover(pixel.PixelAddress(row.data(), 0));
    EXPECT_EQ(row, (std::vector<BYTE>{0x7F, 0xEA, 0x7F, 0x10, 0x10, 0x10, 0x10, 0x10}));
    std::fill(row.begin(), row.end(), 0x10);
    pixel.Cover(pixel.PixelAddress(row.data(), 1));
    EXPECT_EQ(row, (std::vector<BYTE>{0x10, 0x10, 0x7F, 0xEA, 0x7F, 0x10, 0x10, 0x10}));
}

TEST(PixelTest, UyvyCoverStopsAtTheEndOfTheBuffer) {
    CPixelUYVY pixel;
    pixel.SetBytesPerPixel(2);
    std::vector<BYTE> frame(4, 0x10);  // one pixel pair, exactly
    pixel.SetBufferEnd(frame.data() + frame.size());
    pixel.Cover(pixel.PixelAddress(frame.data(), 1));
    EXPECT_EQ(frame, (std::vector<BYTE>{0x10, 0x10, 0x7F, 0xEA}));
    pixel.Cover(pixel.PixelAddress(frame.data(), 0));
    EXPECT_EQ(frame, (std::vector<BYTE>{0x7F, 0xEA, 0x7F, 0xEA}));
}

TEST(PixelTest, NullAddressesAreIgnored) {
    for (const Format& format : kFormats) {
        auto pixel = Make(format, 1, 2, 3);
        pixel->Cover(nullptr);
        pixel->Reverse(nullptr);
    }
    CBasePixel base;
    BYTE b = 0x42;
    base.Cover(&b);
    EXPECT_EQ(b, 0x42);
}

}  // namespace

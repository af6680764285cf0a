#include "overlay/overlay_controller.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <typeinfo>

#include "overlay/pixel_uyvy.h"
#include "tests/overlay/overlay_test_support.h"

namespace {

std::u16string TitleOf(const COverlayController& controller) {
    std::u16string title(static_cast<std::size_t>(controller.GetTitle(nullptr)) / 2 + 1, u'?');
    controller.GetTitle(title.data());
    EXPECT_EQ(title.back(), u'\0');
    title.pop_back();
    return title;
}

TEST(OverlayControllerTest, StartsWithItsConstructionValues) {
    COverlayController controller;
    int mode = -1;
    controller.GetMergeMode(&mode);
    EXPECT_EQ(mode, 1);
    POINT position{-1, -1};
    controller.GetTitlePosition(&position);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
    double start = 9;
    double end = 9;
    controller.GetTitleDuration(&start, &end);
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(end, -1.0);
    LOGFONTW font;
    std::memset(&font, 0xAB, sizeof font);
    controller.GetTitleFont(&font);
    const LOGFONTW zero{};
    EXPECT_EQ(std::memcmp(&font, &zero, sizeof font), 0);
    EXPECT_EQ(controller.GetTitle(nullptr), 0);
    EXPECT_EQ(TitleOf(controller), u"");
    EXPECT_EQ(controller.GetFrameRate(), 25.0);
    EXPECT_EQ(controller.GetPixel(), nullptr);
    EXPECT_EQ(controller.StartStreaming(), 0);  // no pixel class yet
}

TEST(OverlayControllerTest, SetTitleCopiesAtMostTheCountedCharacters) {
    struct Case {
        const char16_t* text;
        unsigned byteCount;
        std::u16string expected;
    } cases[] = {
        {u"Channel 1!", 22, u"Channel 1!"},
        {u"Hello", 12, u"Hello"},
        {u"Channel 1!", 8, u"Cha"},      // byteCount / 2 - 1 characters
        {u"Channel 1!", 9, u"Cha"},      // an odd byte is not a character
        {u"Short", UINT_MAX, u"Short"},  // a huge count stops at the text's NUL
        {u"Ab\0cd", 12, u"Ab"},
        {u"Channel 1!", 2, u""},
        {u"Channel 1!", 1, u""},
        {u"Channel 1!", 0, u""},
        {nullptr, 22, u""},
    };
    for (const Case& c : cases) {
        COverlayController controller;
        EXPECT_EQ(controller.SetTitle(c.text, c.byteCount), 1) << c.byteCount;
        EXPECT_EQ(TitleOf(controller), c.expected) << c.byteCount;
        EXPECT_EQ(controller.GetTitle(nullptr), static_cast<int>(2 * c.expected.size()));
        EXPECT_EQ(controller.GetTitleSize().cx > 0, !c.expected.empty());
    }
}

TEST(OverlayControllerTest, RowsArePaddedToFourBytes) {
    struct Case {
        LONG width, height;
        WORD bits;
        LONG stride, rows;
    } cases[] = {
        {10, 4, 24, 32, 4},     {10, 4, 32, 40, 4}, {720, 576, 16, 1440, 576},
        {721, -3, 16, 1444, 3}, {3, 2, 8, 4, 2},    {5, 2, 12, 5, 2},  // not whole bytes
        {7, 2, 0, 7, 2},        {-5, 2, 16, 0, 2},  {0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 0},
    };
    for (const Case& c : cases) {
        COverlayController controller;
        controller.SetFrameGeometry(c.width, c.height, c.bits, 0);
        EXPECT_EQ(controller.GetFrameStride(), c.stride) << c.width << "x" << c.bits;
        EXPECT_EQ(controller.GetFrameHeight(), c.rows) << c.width << "x" << c.bits;
        EXPECT_EQ(controller.FrameBytes(), static_cast<std::size_t>(c.stride) * c.rows);
    }
}

TEST(OverlayControllerTest, VideoInfoGivesGeometryAndFrameRate) {
    const auto info = [](REFERENCE_TIME duration, LONG width, LONG height, WORD bits) {
        VIDEOINFOHEADER vih{};
        vih.AvgTimePerFrame = duration;
        vih.bmiHeader.biSize = sizeof vih.bmiHeader;
        vih.bmiHeader.biWidth = width;
        vih.bmiHeader.biHeight = height;
        vih.bmiHeader.biBitCount = bits;
        return vih;
    };
    COverlayController controller;
    const VIDEOINFOHEADER pal = info(400000, 720, -576, 16);
    controller.SetVideoInfo(&pal);
    EXPECT_EQ(controller.GetFrameWidth(), 720);
    EXPECT_EQ(controller.GetFrameHeight(), 576);
    EXPECT_EQ(controller.GetFrameStride(), 1440);
    EXPECT_DOUBLE_EQ(controller.GetFrameRate(), 25.0);
    const VIDEOINFOHEADER ntsc = info(333667, 720, 480, 16);
    controller.SetVideoInfo(&ntsc);
    EXPECT_NEAR(controller.GetFrameRate(), 29.97, 0.001);
    const VIDEOINFOHEADER unknown = info(0, 352, 288, 16);
    controller.SetVideoInfo(&unknown);
    EXPECT_NEAR(controller.GetFrameRate(), 29.97, 0.001);  // no duration: the rate stays
    EXPECT_EQ(controller.GetFrameWidth(), 352);
    controller.SetVideoInfo(nullptr);
    EXPECT_EQ(controller.GetFrameWidth(), 352);
    EXPECT_EQ(controller.GetTitleStartFrame(), 0);
    EXPECT_EQ(controller.GetTitleEndFrame(), -1);
    controller.SetFrameRate(1e300);  // frame numbers stay in range
    EXPECT_EQ(controller.GetTitleStartFrame(), 0);
    EXPECT_EQ(controller.GetTitleEndFrame(), -1);
}

TEST(OverlayControllerTest, PixelFormatCodesChooseThePixelClass) {
    COverlayController controller;
    controller.SetPixelFormat(6);
    const CBasePixel* uyvy = controller.GetPixel();
    ASSERT_NE(uyvy, nullptr);
    EXPECT_EQ(typeid(*uyvy), typeid(CPixelUYVY));
    EXPECT_EQ(uyvy->BytesPerPixel(), 2);
    controller.SetPixelFormat(6);
    EXPECT_EQ(controller.GetPixel(), uyvy);  // the same code keeps the object
    const BYTE expectedBytes[] = {0, 1, 2, 2, 3, 4, 2};
    for (int code = 1; code <= 6; ++code) {
        controller.SetPixelFormat(code);
        ASSERT_NE(controller.GetPixel(), nullptr) << code;
        EXPECT_EQ(controller.GetPixel()->BytesPerPixel(), expectedBytes[code]) << code;
    }
    controller.SetPixelFormat(9);
    EXPECT_EQ(controller.GetPixel(), nullptr);
    EXPECT_EQ(controller.StartStreaming(), 0);
    controller.SetPixelFormat(4);
    EXPECT_EQ(controller.StartStreaming(), 1);
    EXPECT_EQ(controller.StopStreaming(), 1);
}

TEST(OverlayControllerTest, TextBitmapsAreBottomUpWithZeroBitsForText) {
    COverlayController controller;
    SIZE size{};
    std::unique_ptr<BYTE[]> bits;
    int capacity = 0;
    int stride = 0;
    ASSERT_EQ(controller.RenderText(u"H", &size, &bits, &capacity, &stride), 1);
    EXPECT_EQ(size.cy, 24);
    EXPECT_EQ(stride % 4, 0);
    EXPECT_GE(stride * 8, size.cx);
    EXPECT_LT(stride * 8, size.cx + 32);
    EXPECT_GE(capacity, stride * size.cy);
    const auto ink = [&](LONG x, LONG storedRow) {
        return (bits[static_cast<std::size_t>(storedRow) * stride + (x >> 3)] &
                (0x80 >> (x & 7))) == 0;
    };
    const auto rowHasInk = [&](LONG storedRow) {
        for (LONG x = 0; x < size.cx; ++x) {
            if (ink(x, storedRow)) return true;
        }
        return false;
    };
    // The cell's top rows (stored last) are background; the capital's bottom row sits on the
    // baseline, 19 rows down the 24-row cell, and is stored 24 - 19 rows from the start.
    EXPECT_FALSE(rowHasInk(size.cy - 1));
    EXPECT_TRUE(rowHasInk(size.cy - 19));
    EXPECT_FALSE(rowHasInk(size.cy - 20));
    EXPECT_FALSE(rowHasInk(0));
}

TEST(OverlayControllerTest, TextBufferGrowsButNeverShrinks) {
    COverlayController controller;
    SIZE size{};
    std::unique_ptr<BYTE[]> bits;
    int capacity = 0;
    int stride = 0;
    ASSERT_EQ(controller.RenderText(u"ab", &size, &bits, &capacity, &stride), 1);
    const int small = capacity;
    ASSERT_EQ(controller.RenderText(u"a much longer text", &size, &bits, &capacity, &stride), 1);
    EXPECT_GT(capacity, small);
    EXPECT_GE(capacity, stride * size.cy);
    const BYTE* grown = bits.get();
    const int large = capacity;
    ASSERT_EQ(controller.RenderText(u"x", &size, &bits, &capacity, &stride), 1);
    EXPECT_EQ(bits.get(), grown);
    EXPECT_EQ(capacity, large);
}

// A controller whose renderer can be told to give up between measuring and drawing.
class RefusingController : public COverlayController {
  public:
    int CanRenderText() override { return refuse ? 0 : 1; }
    bool refuse = false;
};

TEST(OverlayControllerTest, FailedRenderingLeavesNothingToDraw) {
    RefusingController controller;
    controller.SetPixelFormat(6);
    controller.SetFrameGeometry(400, 60, 16, 0);
    controller.SetStampClock(FixedClock(kSampleTime));
    ASSERT_EQ(controller.SetTitle(u"A", 4), 1);
    controller.refuse = true;
    EXPECT_EQ(controller.SetTitle(u"A much longer title", 40), 0);
    EXPECT_EQ(controller.GetTitleSize().cx, 0);  // not the new size with the old, small buffer
    controller.StartStreaming();
    std::vector<BYTE> frame = PatternFrame(controller.FrameBytes());
    const std::vector<BYTE> before = frame;
    EXPECT_EQ(controller.DrawOverlay(frame.data()), 0);  // no stamp: nothing at all
    EXPECT_EQ(frame, before);

    controller.refuse = false;
    EXPECT_EQ(controller.DrawOverlay(frame.data()), 1);
    EXPECT_NE(frame, before);
    ASSERT_EQ(controller.SetTitle(u"A much longer title", 40), 1);
    EXPECT_GT(controller.GetTitleSize().cx, 0);
}

TEST(OverlayControllerTest, DrawsTitleTopLeftAndStampInTheBottomRightCorner) {
    auto controller = StreamingController(kPixelFormatUYVY, 720, 576);
    ASSERT_EQ(controller->SetTitle(u"Channel 1!", 22), 1);
    std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
    std::vector<BYTE> expected = frame;
    EXPECT_EQ(controller->DrawOverlay(frame.data()), 1);
    EXPECT_EQ(std::u16string(controller->GetStampText()), u"2011-06-13(09:05:07)");

    const TextBitmap title = RenderedText(u"Channel 1!");
    const TextBitmap stamp = RenderedText(u"2011-06-13(09:05:07)");
    const POINT stampAt{720 - stamp.cx, 576 - stamp.cy};
    EXPECT_EQ(controller->GetStampPosition().x, stampAt.x);
    EXPECT_EQ(controller->GetStampPosition().y, stampAt.y);
    ReferenceBlend(expected, LayoutOf(*controller), title, {0, 0}, true);
    ReferenceBlend(expected, LayoutOf(*controller), stamp, stampAt, true);
    EXPECT_EQ(frame, expected);
}

TEST(OverlayControllerTest, YearsBelowOneThousandArePaddedWithSpaces) {
    auto controller = StreamingController(kPixelFormatUYVY, 400, 40, StampTime{999, 1, 2, 3, 4, 5});
    std::vector<BYTE> frame(controller->FrameBytes());
    controller->DrawOverlay(frame.data());
    EXPECT_EQ(std::u16string(controller->GetStampText()), u" 999-01-02(03:04:05)");
}

TEST(OverlayControllerTest, EmptyTitleDrawsOnlyTheStamp) {
    auto controller = StreamingController(kPixelFormatRGB24, 400, -80);
    ASSERT_EQ(controller->SetTitle(u"", 2), 1);
    EXPECT_EQ(controller->GetTitleSize().cx, 0);
    std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
    std::vector<BYTE> expected = frame;
    EXPECT_EQ(controller->DrawOverlay(frame.data()), 1);
    const TextBitmap stamp = RenderedText(u"2011-06-13(09:05:07)");
    ReferenceBlend(expected, LayoutOf(*controller), stamp, {400 - stamp.cx, 80 - stamp.cy}, true);
    EXPECT_EQ(frame, expected);
}

TEST(OverlayControllerTest, StampLargerThanTheFrameIsClippedAtTheLeftAndTop) {
    const TextBitmap stamp = RenderedText(u"2011-06-13(09:05:07)");
    const TextBitmap title = RenderedText(u"Channel 1!");
    for (int format = kPixelFormatRGB8; format <= kPixelFormatUYVY; ++format) {
        for (const SIZE frameSize : {SIZE{1, 1}, SIZE{2, 1}, SIZE{3, 2}, SIZE{100, 10}}) {
            auto controller = StreamingController(format, frameSize.cx, -frameSize.cy);
            ASSERT_EQ(controller->SetTitle(u"Channel 1!", 22), 1);
            std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
            std::vector<BYTE> expected = frame;
            EXPECT_EQ(controller->DrawOverlay(frame.data()), 1);
            ReferenceBlend(expected, LayoutOf(*controller), title, {0, 0}, true);
            ReferenceBlend(expected, LayoutOf(*controller), stamp,
                           {frameSize.cx - stamp.cx, frameSize.cy - stamp.cy}, true);
            EXPECT_EQ(frame, expected) << format << " " << frameSize.cx << "x" << frameSize.cy;
        }
    }
}

TEST(OverlayControllerTest, DrawsNothingUnlessReadyAndGivenTheWholeFrame) {
    auto controller = StreamingController(kPixelFormatUYVY, 400, 40);
    std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
    const std::vector<BYTE> before = frame;
    EXPECT_EQ(controller->DrawOverlay(frame.data(), frame.size() - 1), 0);
    EXPECT_EQ(frame, before);
    EXPECT_EQ(controller->DrawOverlay(nullptr), 0);
    controller->StopStreaming();
    EXPECT_EQ(controller->DrawOverlay(frame.data()), 0);
    EXPECT_EQ(frame, before);
    controller->StartStreaming();
    EXPECT_EQ(controller->DrawOverlay(frame.data(), frame.size()), 1);
    EXPECT_NE(frame, before);
}

TEST(OverlayControllerTest, ReverseModeTwiceRestoresTheFrame) {
    for (int format = kPixelFormatRGB8; format <= kPixelFormatUYVY; ++format) {
        auto controller = StreamingController(format, 360, 50);
        controller->SetMergeMode(0);
        ASSERT_EQ(controller->SetTitle(u"Channel 1!", 22), 1);
        std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
        const std::vector<BYTE> before = frame;
        EXPECT_EQ(controller->DrawOverlay(frame.data()), 1);
        EXPECT_NE(frame, before) << format;
        EXPECT_EQ(controller->DrawOverlay(frame.data()), 1);
        EXPECT_EQ(frame, before) << format;
    }
}

TEST(OverlayControllerTest, BottomUpRgbFramesGetUprightText) {
    for (int format : {kPixelFormatRGB24, kPixelFormatUYVY}) {
        auto controller = StreamingController(format, 400, 60);  // positive height
        ASSERT_EQ(controller->SetTitle(u"Channel 1!", 22), 1);
        std::vector<BYTE> frame = PatternFrame(controller->FrameBytes());
        std::vector<BYTE> expected = frame;
        controller->DrawOverlay(frame.data());
        // RGB rows are stored from the bottom; UYVY rows always from the top.
        const FrameLayout layout = LayoutOf(*controller, format == kPixelFormatRGB24);
        const TextBitmap stamp = RenderedText(u"2011-06-13(09:05:07)");
        ReferenceBlend(expected, layout, RenderedText(u"Channel 1!"), {0, 0}, true);
        ReferenceBlend(expected, layout, stamp, {400 - stamp.cx, 60 - stamp.cy}, true);
        EXPECT_EQ(frame, expected) << format;
    }
}

TEST(OverlayControllerTest, StampRenderedOnChangeEqualsRenderingEveryFrame) {
    // The time moves on every 25th frame; a controller that keeps its stamp bitmap must draw
    // exactly what a fresh controller, which renders everything, draws.
    int frameNumber = 0;
    auto longLived = StreamingController(kPixelFormatUYVY, 360, 48);
    const auto timeOf = [](int n) {
        StampTime t = kSampleTime;
        t.second = 50 + n / 25;
        return t;
    };
    longLived->SetStampClock([&] { return timeOf(frameNumber); });
    for (; frameNumber < 300; frameNumber += 7) {
        auto fresh = StreamingController(kPixelFormatUYVY, 360, 48, timeOf(frameNumber));
        std::vector<BYTE> a = PatternFrame(longLived->FrameBytes(), frameNumber);
        std::vector<BYTE> b = a;
        EXPECT_EQ(longLived->DrawOverlay(a.data()), 1);
        EXPECT_EQ(fresh->DrawOverlay(b.data()), 1);
        ASSERT_EQ(a, b) << "frame " << frameNumber;
    }
}

}  // namespace

#include "viewer/capture/preview_stamp.h"

#include <gtest/gtest.h>

#include <cctype>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "tests/viewer/capture/capture_fixture.h"

using namespace std::chrono_literals;

namespace {

bool HasAlphaBitmap(IBaseFilter* renderer, float* alpha = nullptr) {
    ComPtr<IVMRMixerBitmap9> mixer;
    if (ComPtr<IBaseFilter>::Retain(renderer).As(&mixer) != S_OK) return false;
    VMR9AlphaBitmap parameters{};
    if (mixer->GetAlphaBitmapParameters(&parameters) != S_OK) return false;
    if (alpha) *alpha = parameters.fAlpha;
    // A bitmap handed over carries the flag saying where it came from.
    return (parameters.dwFlags & VMR9AlphaBitmap_hDC) &&
           !(parameters.dwFlags & VMR9AlphaBitmap_Disable);
}

TEST(StampTextTest, DateAndTimeInTheFixedForm) {
    const std::string text = utf16::ToUtf8(StampTimeText());
    const std::string shape = "dddd-dd-dd(dd:dd:dd)";
    ASSERT_EQ(text.size(), shape.size()) << text;
    for (std::size_t i = 0; i < shape.size(); ++i)
        EXPECT_TRUE(shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                    : text[i] == shape[i])
            << text;
}

TEST_F(CaptureTest, TitlesUpTo256CharactersAreTakenAndLongerOnesRefused) {
    Attach("");
    CaptureGraph* record = BuildWithPanes();
    ASSERT_NE(record, nullptr);
    const std::u16string longest(256, u'T');
    EXPECT_EQ(SetChannelTitle(record, longest.c_str(), 1), S_OK);
    EXPECT_EQ(std::u16string(record->channelTitles[1]), longest);
    const std::u16string tooLong(257, u'X');
    EXPECT_EQ(SetChannelTitle(record, tooLong.c_str(), 1), E_INVALIDARG);
    EXPECT_EQ(std::u16string(record->channelTitles[1]), longest) << "the old title stays";
    EXPECT_EQ(SetChannelTitle(record, nullptr, 1), E_INVALIDARG);
    EXPECT_TRUE(HasAlphaBitmap(record->renderers[1].Get()));
}

TEST_F(CaptureTest, RefreshStopsAtAPaneWithoutRenderer) {
    Attach("");
    CaptureGraph* record = BuildWithPanes(/*pane0=*/false);
    ASSERT_NE(record, nullptr);
    ASSERT_FALSE(record->renderers[0]);
    EXPECT_EQ(RefreshAllStamps(record), E_FAIL);
    for (int k = 1; k < 4; ++k) EXPECT_FALSE(HasAlphaBitmap(record->renderers[k].Get())) << k;
    EXPECT_EQ(RefreshStamp(record, 2), S_OK);
    EXPECT_TRUE(HasAlphaBitmap(record->renderers[2].Get()));
}

TEST_F(CaptureTest, TheStampIsDrawnWhiteOverTheVideoAndHiddenWithEveryFlagClear) {
    Attach("signal=1");
    CaptureGraph* record = BuildWithPanes();
    ASSERT_NE(record, nullptr);
    record->device->SelectDisplayChannel(1);
    ASSERT_EQ(SetChannelTitle(record, u"Front door", 0), S_OK);
    ASSERT_EQ(RunGraph(record), S_OK);
    Step(200ms);
    ASSERT_TRUE(panes_[0].WaitForFrame());
    ASSERT_EQ(RefreshAllStamps(record), S_OK);

    // The renderer blends the stamp into what it shows: white title pixels in the top band,
    // white time pixels at the bottom right, and nothing white in a middle band.
    ComPtr<IVMRWindowlessControl9> control;
    ASSERT_EQ(record->renderers[0].As(&control), S_OK);
    BYTE* dib = nullptr;
    ASSERT_EQ(control->GetCurrentImage(&dib), S_OK);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    const BYTE* pixels = dib + sizeof(BITMAPINFOHEADER);
    const LONG w = header->biWidth, h = header->biHeight;
    auto whiteIn = [&](LONG x0, LONG y0, LONG x1, LONG y1) {
        int count = 0;
        for (LONG y = y0; y < y1; ++y)
            for (LONG x = x0; x < x1; ++x) {
                const BYTE* p = pixels + ((h - 1 - y) * w + x) * 4;  // bottom row first
                if (p[0] == 255 && p[1] == 255 && p[2] == 255) ++count;
            }
        return count;
    };
    // The stamp is laid out on the pane (320 x 240) and stretched over the 720 x 576 picture.
    EXPECT_GT(whiteIn(0, 0, w / 2, h * 12 / 240), 20) << "title";
    EXPECT_GT(whiteIn(w / 2, h - h * 12 / 240, w, h), 20) << "date and time";
    CoTaskMemFree(dib);

    SetTitleVisible(record, false);
    SetTimeVisible(record, false);
    float alpha = -1;
    ASSERT_TRUE(HasAlphaBitmap(record->renderers[0].Get(), &alpha));
    EXPECT_EQ(alpha, 0.0f) << "the bitmap is still handed over, invisible";
    EXPECT_TRUE(SetSnapIndicator(record, true));
    ASSERT_TRUE(HasAlphaBitmap(record->renderers[0].Get(), &alpha));
    EXPECT_EQ(alpha, 1.0f);
}

}  // namespace

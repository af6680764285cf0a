#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/ivideo_frame_source.h"
#include "platform/media/interfaces/ivmr_filter_config9.h"
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/frame_convert.h"
#include "platform/media/renderers/video_pane_window.h"
#include "tests/platform/media/media_fixture.h"
#include "tests/platform/media/test_filters.h"

namespace media_test {
namespace {

constexpr LONG kWidth = 64;
constexpr LONG kHeight = 48;
constexpr std::uint32_t kGrey = 0xFF828282u;  // UYVY bytes of 0x80 everywhere

// Scaling may round a channel by a level or two.
bool NearGrey(std::uint32_t pixel) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - 0x82) > 3) return false;
    return pixel >> 24 == 0xFF;
}

// A pane that counts its wake-ups; the test plays the GUI thread.
class TestPane final : public VideoPaneWindow {
  public:
    ~TestPane() override { DetachVideo(); }
    SIZE ClientSize() const override { return {320, 240}; }
    void FrameReady() override {
        std::lock_guard lock(mutex_);
        ++wakeups_;
        woken_.notify_all();
    }
    int Wakeups() {
        std::lock_guard lock(mutex_);
        return wakeups_;
    }
    // Waits (bounded) until a frame newer than the ones taken so far is there, and takes it.
    std::shared_ptr<const VideoFrame> NextFrame() {
        std::unique_lock lock(mutex_);
        std::shared_ptr<const VideoFrame> frame;
        woken_.wait_for(lock, kWait, [&] { return (frame = TakeFrame()) != nullptr; });
        return frame;
    }

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakeups_ = 0;
};

class VideoRendererTest : public MediaTest {
  protected:
    void SetUp() override {
        MediaTest::SetUp();
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        ASSERT_EQ(graph.As(&control), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC, &renderer),
                  S_OK);
        ASSERT_EQ(graph->AddFilter(renderer.Get(), u"Video Mixing Renderer9"), S_OK);
        ASSERT_EQ(renderer.As(&config), S_OK);
        ASSERT_EQ(renderer.As(&windowless), S_OK);
        ASSERT_EQ(renderer.As(&mixer), S_OK);
        source = TestSource::Create();
        stream = source->AddStream(u"Out", UyvyType(kWidth, kHeight), 0x80);
        ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    }
    void TearDown() override {
        if (control) control->Stop();
        control = nullptr;
        graph = nullptr;
        config = nullptr;
        windowless = nullptr;
        mixer = nullptr;
        renderer = nullptr;
        MediaTest::TearDown();
    }
    void Configure() {
        ASSERT_EQ(config->SetRenderingMode(VMR9Mode_Windowless), S_OK);
        ASSERT_EQ(config->SetNumberOfStreams(2), S_OK);
        ASSERT_EQ(windowless->SetVideoClippingWindow(&pane), S_OK);
        ASSERT_EQ(Plug(source.Get(), u"Out", renderer.Get(), u"VMR Input0"), S_OK);
        ASSERT_EQ(control->Run(), S_OK);
    }
    std::shared_ptr<const VideoFrame> Frame() {
        stream->Step(1);
        return pane.NextFrame();
    }
    // The full-size picture of the next frame, as GetCurrentImage copies it; the pane's picture
    // of it in `shown`.
    std::shared_ptr<const VideoFrame> Current() {
        shown = Frame();
        if (!shown) return nullptr;
        ComPtr<IVideoFrameSource> frames;
        std::shared_ptr<const VideoFrame> current;
        if (FAILED(renderer.As(&frames)) || FAILED(frames->GetCurrentFrame(&current)))
            return nullptr;
        return current;
    }

    TestPane pane;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> renderer;
    ComPtr<IVMRFilterConfig9> config;
    ComPtr<IVMRWindowlessControl9> windowless;
    ComPtr<IVMRMixerBitmap9> mixer;
    ComPtr<TestSource> source;
    TestSource::Stream* stream = nullptr;
    std::shared_ptr<const VideoFrame> shown;
};

TEST_F(VideoRendererTest, ConfigurationRules) {
    RECT dest{};
    EXPECT_EQ(windowless->SetVideoClippingWindow(&pane), VFW_E_WRONG_STATE);
    EXPECT_EQ(windowless->GetVideoPosition(nullptr, &dest), VFW_E_WRONG_STATE);
    EXPECT_EQ(config->SetRenderingMode(VMR9Mode_Windowed), E_INVALIDARG);
    ASSERT_EQ(config->SetRenderingMode(VMR9Mode_Windowless), S_OK);
    EXPECT_EQ(config->SetNumberOfStreams(17), E_INVALIDARG);
    ASSERT_EQ(config->SetNumberOfStreams(2), S_OK);
    EXPECT_EQ(config->SetNumberOfStreams(2), VFW_E_WRONG_STATE);
    ComPtr<IPin> second = PinOf(renderer.Get(), u"VMR Input1");
    EXPECT_NE(second, nullptr);

    ASSERT_EQ(windowless->SetVideoClippingWindow(&pane), S_OK);
    RECT src{};
    ASSERT_EQ(windowless->GetVideoPosition(&src, &dest), S_OK);
    EXPECT_EQ(dest.right, 320);
    EXPECT_EQ(dest.bottom, 240);
    const RECT inverted{10, 10, 5, 50};
    EXPECT_EQ(windowless->SetVideoPosition(nullptr, &inverted), E_INVALIDARG);
    const RECT inside{0, 20, 320, 220};
    ASSERT_EQ(windowless->SetVideoPosition(nullptr, &inside), S_OK);
    EXPECT_EQ(pane.VideoDestination().top, 20);
    EXPECT_EQ(pane.VideoDestination().bottom, 220);

    LONG width = 0, height = 0;
    EXPECT_EQ(windowless->GetNativeVideoSize(&width, &height, nullptr, nullptr),
              VFW_E_NOT_CONNECTED);
    ASSERT_EQ(Plug(source.Get(), u"Out", renderer.Get(), u"VMR Input0"), S_OK);
    ASSERT_EQ(windowless->GetNativeVideoSize(&width, &height, nullptr, nullptr), S_OK);
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(config->SetRenderingMode(VMR9Mode_Windowless), VFW_E_WRONG_STATE);

    // RGB24 is accepted, YUY2 is not.
    CMediaType yuy2 = UyvyType(kWidth, kHeight);
    yuy2.SetSubtype(&MEDIASUBTYPE_YUY2);
    EXPECT_EQ(second->QueryAccept(&yuy2), S_FALSE);
    CMediaType rgb24 = UyvyType(kWidth, kHeight);
    rgb24.SetSubtype(&MEDIASUBTYPE_RGB24);
    reinterpret_cast<VIDEOINFOHEADER*>(rgb24.Format())->bmiHeader.biBitCount = 24;
    EXPECT_EQ(second->QueryAccept(&rgb24), S_OK);
}

TEST_F(VideoRendererTest, FramesReachThePaneAndTheCurrentImageIsBottomUp) {
    BYTE* dib = nullptr;
    ASSERT_NO_FATAL_FAILURE(Configure());
    EXPECT_EQ(windowless->GetCurrentImage(&dib), E_FAIL);  // nothing arrived yet

    // The pane gets a picture of its own size (the destination: the whole 320 × 240 pane).
    auto shown = Frame();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width, 320);
    EXPECT_EQ(shown->height, 240);
    EXPECT_TRUE(shown->fitted);
    ComPtr<IVideoFrameSource> frames;
    ASSERT_EQ(renderer.As(&frames), S_OK);
    std::shared_ptr<const VideoFrame> frame;
    ASSERT_EQ(frames->GetCurrentFrame(&frame), S_OK);
    ASSERT_EQ(frame->width, kWidth);
    ASSERT_EQ(frame->height, kHeight);
    // Frame 0 starts with four zero bytes (its number): a dark pixel pair at the top left.
    const std::uint32_t topLeft = frame->Row(0)[0];
    EXPECT_NE(topLeft, kGrey);
    EXPECT_EQ(frame->Row(0)[2], kGrey);
    EXPECT_EQ(frame->Row(kHeight - 1)[0], kGrey);

    ASSERT_EQ(windowless->GetCurrentImage(&dib), S_OK);
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof(header));
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, kWidth);
    EXPECT_EQ(header.biHeight, kHeight);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biSizeImage, static_cast<DWORD>(kWidth * kHeight * 4));
    const BYTE* pixels = dib + sizeof(header);
    std::uint32_t stored = 0;
    std::memcpy(&stored, pixels + (kHeight - 1) * kWidth * 4, 4);  // last stored row = top
    EXPECT_EQ(stored, topLeft);
    std::memcpy(&stored, pixels, 4);  // first stored row = bottom
    EXPECT_EQ(stored, kGrey);
    CoTaskMemFree(dib);

    EXPECT_EQ(windowless->RepaintVideo(&pane, nullptr), S_OK);
    TestPane other;
    EXPECT_EQ(windowless->RepaintVideo(&other, nullptr), E_INVALIDARG);
}

TEST_F(VideoRendererTest, TheSharedPictureIsTheCurrentImageAndStaysAsItWasWhileHeld) {
    ASSERT_NO_FATAL_FAILURE(Configure());
    ComPtr<IVideoFrameSource> source;
    ASSERT_EQ(renderer.As(&source), S_OK);
    std::shared_ptr<const VideoFrame> shared;
    EXPECT_EQ(source->GetCurrentFrame(&shared), E_FAIL);  // nothing arrived yet
    EXPECT_EQ(source->GetCurrentFrame(nullptr), E_POINTER);

    ASSERT_NE(Frame(), nullptr);
    ASSERT_EQ(source->GetCurrentFrame(&shared), S_OK);
    ASSERT_NE(shared, nullptr);
    BYTE* dib = nullptr;
    ASSERT_EQ(windowless->GetCurrentImage(&dib), S_OK);
    const BYTE* rows = dib + sizeof(BITMAPINFOHEADER);
    const std::vector<std::uint32_t> before = shared->pixels;
    bool same = true;
    for (LONG y = 0; y < kHeight; ++y)
        same = same && std::memcmp(shared->Row(y), rows + (kHeight - 1 - y) * kWidth * 4,
                                   static_cast<std::size_t>(kWidth) * 4) == 0;
    CoTaskMemFree(dib);
    EXPECT_TRUE(same) << "the shared picture is the copied one, top row first";

    // Later frames go into other buffers while the picture is held.
    for (int k = 0; k < 4; ++k) ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(shared->pixels == before);
    std::shared_ptr<const VideoFrame> latest;
    ASSERT_EQ(source->GetCurrentFrame(&latest), S_OK);
    EXPECT_NE(latest, shared);
}

// The bytes of the test source's frame `number`: the number, then the fill byte.
std::vector<BYTE> SourceFrame(int number) {
    std::vector<BYTE> bytes(static_cast<std::size_t>(kWidth * kHeight * 2), 0x80);
    std::memcpy(bytes.data(), &number, sizeof number);
    return bytes;
}

// GetCurrentImage's rows, top row first, and whether they are exactly frame `number` converted.
bool CurrentImageIsFrame(IVMRWindowlessControl9* windowless, int number) {
    BYTE* dib = nullptr;
    if (windowless->GetCurrentImage(&dib) != S_OK) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof header);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(kWidth * kHeight));
    const std::vector<BYTE> bytes = SourceFrame(number);
    media::UyvyToRgb32(bytes.data(), kWidth * 2, expected.data(), kWidth, kHeight);
    bool same = header.biWidth == kWidth && header.biHeight == kHeight;
    const BYTE* rows = dib + sizeof header;
    for (LONG y = 0; same && y < kHeight; ++y)
        same = std::memcmp(rows + (kHeight - 1 - y) * kWidth * 4, expected.data() + y * kWidth,
                           static_cast<std::size_t>(kWidth) * 4) == 0;
    CoTaskMemFree(dib);
    return same;
}

TEST_F(VideoRendererTest, ThePaneGetsItsDestinationsSizeAndTheCurrentImageStaysFullAndExact) {
    ASSERT_NO_FATAL_FAILURE(Configure());
    // An odd destination inside the pane: the picture has its size.
    const RECT odd{10, 20, 211, 171};
    ASSERT_EQ(windowless->SetVideoPosition(nullptr, &odd), S_OK);
    auto shown = Frame();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width, 201);
    EXPECT_EQ(shown->height, 151);
    EXPECT_TRUE(shown->fitted);
    EXPECT_TRUE(CurrentImageIsFrame(windowless.Get(), 0));
    // Asked again for the same frame, the same picture is shared, not made again.
    ComPtr<IVideoFrameSource> frames;
    ASSERT_EQ(renderer.As(&frames), S_OK);
    std::shared_ptr<const VideoFrame> first, second;
    ASSERT_EQ(frames->GetCurrentFrame(&first), S_OK);
    ASSERT_EQ(frames->GetCurrentFrame(&second), S_OK);
    EXPECT_EQ(first, second);

    // Part of the video: the left half holds frame 1's dark top-left pair, the right half is
    // grey throughout.
    const RECT left{0, 0, kWidth / 2, kHeight};
    const RECT whole{0, 0, 320, 240};
    ASSERT_EQ(windowless->SetVideoPosition(&left, &whole), S_OK);
    shown = Frame();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(NearGrey(shown->Row(0)[0]));
    EXPECT_TRUE(NearGrey(shown->Row(239)[319]));
    const RECT right{kWidth / 2, 0, kWidth, kHeight};
    ASSERT_EQ(windowless->SetVideoPosition(&right, &whole), S_OK);
    shown = Frame();
    ASSERT_NE(shown, nullptr);
    bool allGrey = true;
    for (LONG y = 0; y < shown->height; ++y)
        for (LONG x = 0; x < shown->width; ++x) allGrey = allGrey && NearGrey(shown->Row(y)[x]);
    EXPECT_TRUE(allGrey);
    EXPECT_TRUE(CurrentImageIsFrame(windowless.Get(), 2));  // the whole video all the same

    // No destination: the whole video at its own size, which is the current picture itself.
    const RECT none{0, 0, 0, 0};
    const RECT all{0, 0, kWidth, kHeight};
    ASSERT_EQ(windowless->SetVideoPosition(&all, &none), S_OK);
    shown = Frame();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->fitted);
    EXPECT_EQ(shown->width, kWidth);
    ASSERT_EQ(frames->GetCurrentFrame(&first), S_OK);
    EXPECT_EQ(first, shown);
}

TEST_F(VideoRendererTest, TheCurrentImageOutlivesStopAndStreamingGoesOnAfterIt) {
    ASSERT_NO_FATAL_FAILURE(Configure());
    for (int k = 0; k < 2; ++k) ASSERT_NE(Frame(), nullptr);
    // Stopping lets the kept sample go (the allocator is decommitted); the picture stays.
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_TRUE(CurrentImageIsFrame(windowless.Get(), 1));
    ASSERT_EQ(control->Run(), S_OK);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(CurrentImageIsFrame(windowless.Get(), 2));
    // A broken connection forgets the picture.
    ASSERT_EQ(control->Stop(), S_OK);
    ComPtr<IPin> input = PinOf(renderer.Get(), u"VMR Input0");
    ASSERT_NE(input, nullptr);
    ASSERT_EQ(graph->Disconnect(input.Get()), S_OK);
    ASSERT_EQ(graph->Disconnect(PinOf(source.Get(), u"Out").Get()), S_OK);
    BYTE* dib = nullptr;
    EXPECT_EQ(windowless->GetCurrentImage(&dib), E_FAIL);
}

TEST_F(VideoRendererTest, AlphaBitmapWithBlackAsTheKey) {
    ASSERT_NO_FATAL_FAILURE(Configure());
    // A pane-sized 24-bit bitmap (twice the video): black, with a white block at
    // (16..32, 8..24), which lands on video pixels (8..16, 4..12).
    const LONG bw = kWidth * 2, bh = kHeight * 2, stride = bw * 3;
    std::vector<BYTE> bits(static_cast<std::size_t>(stride * bh), 0);
    for (LONG y = 8; y < 24; ++y) std::memset(&bits[y * stride + 16 * 3], 0xFF, 16 * 3);
    BITMAP bitmap{0, bw, bh, stride, 1, 24, bits.data()};
    VMR9AlphaBitmap params{};
    params.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey;
    params.pBitmap = &bitmap;
    params.rSrc = {0, 0, bw, bh};
    params.rDest = {0.0f, 0.0f, 1.0f, 1.0f};
    params.fAlpha = 1.0f;
    params.clrSrcKey = 0x000000;
    ASSERT_EQ(mixer->SetAlphaBitmap(&params), S_OK);
    bits.assign(bits.size(), 0x55);  // the renderer kept its own copy

    auto frame = Current();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Row(4)[8], 0xFFFFFFFFu);
    EXPECT_EQ(frame->Row(11)[15], 0xFFFFFFFFu);
    EXPECT_EQ(frame->Row(12)[15], kGrey);
    EXPECT_EQ(frame->Row(20)[30], kGrey);
    // The pane's picture is as big as the bitmap's rectangle: the block lands 2.5 times as big.
    ASSERT_EQ(shown->width, 320);
    EXPECT_EQ(shown->Row(20)[40], 0xFFFFFFFFu);
    EXPECT_EQ(shown->Row(59)[79], 0xFFFFFFFFu);
    EXPECT_TRUE(NearGrey(shown->Row(60)[79])) << std::hex << shown->Row(60)[79];
    EXPECT_TRUE(NearGrey(shown->Row(59)[80])) << std::hex << shown->Row(59)[80];

    VMR9AlphaBitmap current{};
    ASSERT_EQ(mixer->GetAlphaBitmapParameters(&current), S_OK);
    EXPECT_EQ(current.pBitmap, nullptr);
    EXPECT_EQ(current.dwFlags, params.dwFlags);
    EXPECT_EQ(current.fAlpha, 1.0f);

    // Alpha 0 hides the bitmap.
    current.dwFlags = VMR9AlphaBitmap_SrcColorKey;
    current.fAlpha = 0.0f;
    ASSERT_EQ(mixer->UpdateAlphaBitmapParameters(&current), S_OK);
    frame = Current();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Row(4)[8], kGrey);

    // Without the key, black covers the video.
    BYTE black[3 * 4] = {};
    BITMAP small{0, 2, 2, 6, 1, 24, black};
    params.pBitmap = &small;
    params.dwFlags = VMR9AlphaBitmap_hDC;
    params.rSrc = {0, 0, 100, 100};  // cut to the bitmap
    ASSERT_EQ(mixer->SetAlphaBitmap(&params), S_OK);
    frame = Current();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Row(20)[30], 0xFF000000u);
}

TEST_F(VideoRendererTest, AlphaBitmapRefusesBadParameters) {
    BYTE pixels[4 * 4] = {};
    BITMAP bitmap{0, 2, 2, 8, 1, 32, pixels};
    VMR9AlphaBitmap params{};
    params.dwFlags = VMR9AlphaBitmap_hDC;
    params.pBitmap = &bitmap;
    params.rSrc = {0, 0, 2, 2};
    params.rDest = {0.0f, 0.0f, 1.0f, 1.0f};
    params.fAlpha = 1.0f;
    EXPECT_EQ(mixer->SetAlphaBitmap(nullptr), E_POINTER);
    EXPECT_EQ(mixer->UpdateAlphaBitmapParameters(&params), E_INVALIDARG);  // nothing set yet

    VMR9AlphaBitmap bad = params;
    bad.fAlpha = 1.5f;
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    bad = params;
    bad.pBitmap = nullptr;
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    bad = params;
    bad.rDest = {0.5f, 0.0f, 0.5f, 1.0f};
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    bad = params;
    bad.rSrc = {5, 5, 9, 9};  // misses the bitmap
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    BITMAP eight{0, 2, 2, 4, 1, 8, pixels};
    bad = params;
    bad.pBitmap = &eight;
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    BITMAP narrow{0, 2, 2, 4, 1, 32, pixels};  // rows shorter than the pixels they hold
    bad.pBitmap = &narrow;
    EXPECT_EQ(mixer->SetAlphaBitmap(&bad), E_INVALIDARG);
    EXPECT_EQ(mixer->SetAlphaBitmap(&params), S_OK);
}

TEST_F(VideoRendererTest, APaneThatGoesAwayDetachesItself) {
    // The renderer hangs off a tee whose second branch tells when a frame has passed it.
    ComPtr<IBaseFilter> tee;
    ASSERT_EQ(CoCreateInstance(CLSID_InfTee, nullptr, CLSCTX_INPROC_SERVER, &tee), S_OK);
    auto witness = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(tee.Get(), u"Tee"), S_OK);
    ASSERT_EQ(graph->AddFilter(witness.Get(), u"Witness"), S_OK);
    ASSERT_EQ(config->SetRenderingMode(VMR9Mode_Windowless), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", tee.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output1", renderer.Get(), u"VMR Input0"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output2", witness.Get(), u"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);

    auto transient = std::make_unique<TestPane>();
    ASSERT_EQ(windowless->SetVideoClippingWindow(transient.get()), S_OK);
    stream->Step(1);
    ASSERT_NE(transient->NextFrame(), nullptr);
    transient.reset();
    // Frames keep going to the slot nobody watches; the pane's memory is not touched.
    stream->Step(2);
    ASSERT_TRUE(witness->WaitForSamples(3));

    // Re-attaching shows the last picture at once.
    ASSERT_EQ(windowless->SetVideoClippingWindow(&pane), S_OK);
    EXPECT_NE(pane.TakeFrame(), nullptr);
}

}  // namespace
}  // namespace media_test

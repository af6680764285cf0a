// Cost per frame of the preview path at 720 × 576 UYVY: from a source's output pin (Deliver) to
// the renderer's frame ready for painting in its pane, with and without the stamp bitmap; and
// the renderer's conversion next to libswscale converting the same frame to 32-bit RGB.
#include <benchmark/benchmark.h>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
#include <libyuv/convert_argb.h>
}

#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bench/media/uyvy_bench_source.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/ivmr_filter_config9.h"
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/renderers/frame_convert.h"
#include "platform/media/renderers/video_pane_window.h"
#include "platform/media/runtime/media_runtime.h"

namespace {

using bench_media::CameraFrame;
using bench_media::kFrameBytes;
using bench_media::kHeight;
using bench_media::kWidth;
using bench_media::UyvyBenchSource;

class BenchPane final : public VideoPaneWindow {
  public:
    ~BenchPane() override { DetachVideo(); }
    SIZE ClientSize() const override { return {kWidth, kHeight}; }
    void FrameReady() override { wakeups.fetch_add(1, std::memory_order_relaxed); }
    std::atomic<long> wakeups{0};
};

// The preview graph of one pane: source pin -> video mixing renderer -> pane.
struct PreviewGraph {
    PreviewGraph() {
        CoInitialize(nullptr);
        RegisterMediaRuntime();
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph);
        graph.As(&control);
        source.Attach(new UyvyBenchSource(u"PreView One"));
        source->AddRef();
        CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC, &renderer);
        graph->AddFilter(source.Get(), u"Source");
        graph->AddFilter(renderer.Get(), u"Video Mixing Renderer9");
        ComPtr<IVMRFilterConfig9> config;
        renderer.As(&config);
        config->SetRenderingMode(VMR9Mode_Windowless);
        config->SetNumberOfStreams(2);
        renderer.As(&windowless);
        windowless->SetVideoClippingWindow(&pane);
        ComPtr<IPin> input;
        renderer->FindPin(u"VMR Input0", input.ReleaseAndGetAddressOf());
        connected = graph->ConnectDirect(source->Output(), input.Get(), nullptr) == S_OK &&
                    control->Run() == S_OK;
    }
    ~PreviewGraph() {
        control->Stop();
        windowless = nullptr;
        renderer = nullptr;
        control = nullptr;
        graph = nullptr;
        source = nullptr;
        CoUninitialize();
    }

    // A stamp like the preview's: black with white text rows at the top and bottom.
    void SetStamp() {
        stampBits.assign(static_cast<std::size_t>(kWidth * 3 * kHeight), 0);
        for (LONG y = 0; y < 12; ++y)
            for (LONG x = 0; x < 200; x += 3)
                std::memset(&stampBits[(y * kWidth + x) * 3], 0xFF, 6);
        for (LONG y = kHeight - 12; y < kHeight; ++y)
            for (LONG x = kWidth - 180; x < kWidth; x += 3)
                std::memset(&stampBits[(y * kWidth + x) * 3], 0xFF, 6);
        BITMAP bitmap{0, kWidth, kHeight, kWidth * 3, 1, 24, stampBits.data()};
        VMR9AlphaBitmap params{};
        params.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey;
        params.pBitmap = &bitmap;
        params.rSrc = {0, 0, kWidth, kHeight};
        params.rDest = {0, 0, 1, 1};
        params.fAlpha = 1.0f;
        ComPtr<IVMRMixerBitmap9> mixer;
        renderer.As(&mixer);
        mixer->SetAlphaBitmap(&params);
    }

    BenchPane pane;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<UyvyBenchSource> source;
    ComPtr<IBaseFilter> renderer;
    ComPtr<IVMRWindowlessControl9> windowless;
    std::vector<BYTE> stampBits;
    bool connected = false;
};

void DeliverFrames(benchmark::State& state, bool stamp) {
    PreviewGraph preview;
    if (!preview.connected) {
        state.SkipWithError("graph did not run");
        return;
    }
    if (stamp) preview.SetStamp();
    const std::vector<BYTE> camera = CameraFrame();
    for (auto _ : state) {
        ComPtr<IMediaSample> sample;
        preview.source->Output()->GetDeliveryBuffer(sample.ReleaseAndGetAddressOf(), nullptr,
                                                    nullptr, 0);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        std::memcpy(data, camera.data(), camera.size());  // the capture hardware's DMA
        sample->SetActualDataLength(kFrameBytes);
        preview.source->Output()->Deliver(sample.Get());
        benchmark::DoNotOptimize(preview.pane.TakeFrame());  // the pane's paint event
    }
    state.counters["wakeups"] = static_cast<double>(preview.pane.wakeups.load());
    state.SetItemsProcessed(state.iterations());
}

void BM_SourcePinToPaneFrame(benchmark::State& state) {
    DeliverFrames(state, false);
}
void BM_SourcePinToPaneFrameWithStamp(benchmark::State& state) {
    DeliverFrames(state, true);
}

void BM_UyvyToRgb32(benchmark::State& state) {
    const std::vector<BYTE> camera = CameraFrame();
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(kWidth * kHeight));
    for (auto _ : state) {
        media::UyvyToRgb32(camera.data(), kWidth * 2, rgb.data(), kWidth, kHeight);
        benchmark::DoNotOptimize(rgb.data());
        benchmark::ClobberMemory();
    }
}

// libyuv's own call on the same frame: the floor for BM_UyvyToRgb32, which adds only its
// argument checks.
void BM_LibyuvUyvyToArgb(benchmark::State& state) {
    const std::vector<BYTE> camera = CameraFrame();
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(kWidth * kHeight));
    for (auto _ : state) {
        libyuv::UYVYToARGB(camera.data(), kWidth * 2, reinterpret_cast<std::uint8_t*>(rgb.data()),
                           kWidth * 4, kWidth, kHeight);
        benchmark::DoNotOptimize(rgb.data());
        benchmark::ClobberMemory();
    }
}

void BM_SwscaleUyvyToRgb32(benchmark::State& state) {
    const std::vector<BYTE> camera = CameraFrame();
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(kWidth * kHeight));
    SwsContext* context = sws_getContext(kWidth, kHeight, AV_PIX_FMT_UYVY422, kWidth, kHeight,
                                         AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!context) {
        state.SkipWithError("no swscale context");
        return;
    }
    const uint8_t* src[1] = {camera.data()};
    const int srcStride[1] = {kWidth * 2};
    uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(rgb.data())};
    const int dstStride[1] = {kWidth * 4};
    for (auto _ : state) {
        sws_scale(context, src, srcStride, 0, kHeight, dst, dstStride);
        benchmark::DoNotOptimize(rgb.data());
        benchmark::ClobberMemory();
    }
    sws_freeContext(context);
}

}  // namespace

BENCHMARK(BM_SourcePinToPaneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SourcePinToPaneFrameWithStamp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UyvyToRgb32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibyuvUyvyToArgb)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwscaleUyvyToRgb32)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

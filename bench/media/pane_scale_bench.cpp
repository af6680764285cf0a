// The cost of a preview pane's picture: the full-size UYVY to RGB32 conversion the pane used to
// scale itself, against the conversion straight to the pane's size (FrameScaler), and against a
// planar route (UYVY to I420, I420 box scaling, I420 to RGB32) for comparison. Frames come from a
// ring larger than the processor's caches, as fresh camera frames do.
#include <benchmark/benchmark.h>
#include <libyuv/convert.h>
#include <libyuv/convert_argb.h>
#include <libyuv/scale.h>

#include <vector>

#include "bench/media/uyvy_bench_source.h"
#include "platform/media/renderers/frame_convert.h"
#include "platform/media/renderers/frame_scale.h"

namespace {

using bench_media::kHeight;
using bench_media::kWidth;

constexpr int kRing = 24;  // 24 frames of 810 KiB: about 19 MiB

const std::vector<std::vector<BYTE>>& Frames() {
    static const std::vector<std::vector<BYTE>> frames = [] {
        std::vector<std::vector<BYTE>> ring(kRing, bench_media::CameraFrame());
        for (int k = 0; k < kRing; ++k) ring[k][0] = static_cast<BYTE>(k);
        return ring;
    }();
    return frames;
}

// Pane sizes: a quad-view pane, an odd one, and the single view.
void PaneSizes(benchmark::internal::Benchmark* b) {
    b->Args({315, 240})->Args({301, 227})->Args({630, 480});
}

void BM_FullSizeConvert(benchmark::State& state) {
    const auto& frames = Frames();
    std::vector<std::uint32_t> out(static_cast<std::size_t>(kWidth) * kHeight);
    int k = 0;
    for (auto _ : state) {
        media::UyvyToRgb32(frames[k].data(), kWidth * 2, out.data(), kWidth, kHeight);
        benchmark::DoNotOptimize(out.data());
        k = (k + 1) % kRing;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullSizeConvert);

void BM_PaneConvertAndScale(benchmark::State& state) {
    const auto& frames = Frames();
    const LONG w = static_cast<LONG>(state.range(0));
    const LONG h = static_cast<LONG>(state.range(1));
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
    media::FrameScaler scaler;
    const RECT whole{0, 0, kWidth, kHeight};
    int k = 0;
    for (auto _ : state) {
        scaler.UyvyToRgb32(frames[k].data(), kWidth * 2, whole, out.data(), w, h);
        benchmark::DoNotOptimize(out.data());
        k = (k + 1) % kRing;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaneConvertAndScale)->Apply(PaneSizes);

void BM_PaneThroughI420(benchmark::State& state) {
    const auto& frames = Frames();
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    const int cw = (kWidth + 1) / 2, ch = (kHeight + 1) / 2;
    const int pw = (w + 1) / 2, ph = (h + 1) / 2;
    std::vector<std::uint8_t> full(static_cast<std::size_t>(kWidth * kHeight + 2 * cw * ch));
    std::vector<std::uint8_t> small(static_cast<std::size_t>(w * h + 2 * pw * ph));
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
    std::uint8_t* fy = full.data();
    std::uint8_t* fu = fy + kWidth * kHeight;
    std::uint8_t* fv = fu + cw * ch;
    std::uint8_t* sy = small.data();
    std::uint8_t* su = sy + w * h;
    std::uint8_t* sv = su + pw * ph;
    int k = 0;
    for (auto _ : state) {
        libyuv::UYVYToI420(frames[k].data(), kWidth * 2, fy, kWidth, fu, cw, fv, cw, kWidth,
                           kHeight);
        libyuv::I420Scale(fy, kWidth, fu, cw, fv, cw, kWidth, kHeight, sy, w, su, pw, sv, pw, w, h,
                          libyuv::kFilterBox);
        libyuv::I420ToARGB(sy, w, su, pw, sv, pw, reinterpret_cast<std::uint8_t*>(out.data()),
                           w * 4, w, h);
        benchmark::DoNotOptimize(out.data());
        k = (k + 1) % kRing;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaneThroughI420)->Apply(PaneSizes);

}  // namespace

BENCHMARK_MAIN();

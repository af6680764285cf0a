// Cost of stamping one 720 x 576 UYVY frame with the title and the time stamp, as the overlay
// filter does for every recorded frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "overlay/overlay_controller.h"
#include "overlay/pixel_format.h"

namespace {

constexpr LONG kWidth = 720;
constexpr LONG kHeight = 576;

std::unique_ptr<COverlayController> PalController(StampClock clock) {
    auto controller = std::make_unique<COverlayController>();
    controller->SetPixelFormat(kPixelFormatUYVY);
    controller->SetFrameGeometry(kWidth, -kHeight, 16, 400000);
    controller->SetTitle(u"Channel 1!", 22);
    controller->SetStampClock(std::move(clock));
    controller->StartStreaming();
    return controller;
}

// A clock that moves on by one second every `framesPerSecond` readings (one reading per frame).
StampClock SteppingClock(int framesPerSecond) {
    auto readings = std::make_shared<long long>(0);
    return [readings, framesPerSecond] {
        const long long seconds = (*readings)++ / framesPerSecond;
        return StampTime{2011,
                         6,
                         13,
                         static_cast<int>(seconds / 3600 % 24),
                         static_cast<int>(seconds / 60 % 60),
                         static_cast<int>(seconds % 60)};
    };
}

void StampFrames(benchmark::State& state, StampClock clock) {
    auto controller = PalController(std::move(clock));
    std::vector<BYTE> frame(controller->FrameBytes(), 0x80);
    for (auto _ : state) {
        benchmark::DoNotOptimize(controller->DrawOverlay(frame.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_StampFrame_TimeUnchanged(benchmark::State& state) {
    StampFrames(state, [] { return StampTime{2011, 6, 13, 9, 5, 7}; });
}
BENCHMARK(BM_StampFrame_TimeUnchanged);

void BM_StampFrame_TimeChangesEvery25thFrame(benchmark::State& state) {
    StampFrames(state, SteppingClock(25));
}
BENCHMARK(BM_StampFrame_TimeChangesEvery25thFrame);

// For comparison: the stamp text rendered anew for every frame.
void BM_StampFrame_TimeChangesEveryFrame(benchmark::State& state) {
    StampFrames(state, SteppingClock(1));
}
BENCHMARK(BM_StampFrame_TimeChangesEveryFrame);

// Rendering the time-stamp text into its one-bit bitmap alone.
void BM_RenderStampText(benchmark::State& state) {
    COverlayController controller;
    SIZE size{};
    std::unique_ptr<BYTE[]> bits;
    int capacity = 0;
    int stride = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            controller.RenderText(u"2011-06-13(09:05:07)", &size, &bits, &capacity, &stride));
    }
}
BENCHMARK(BM_RenderStampText);

}  // namespace

BENCHMARK_MAIN();

// Cost of one simulated camera frame, the work a preview output does for every frame it sends.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/devices/audio_tone.h"
#include "platform/devices/camera_scene.h"

namespace {

void RenderFrame(benchmark::State& state, devices::VideoFormat format) {
    const devices::CameraScene scene(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> frame(format.FrameBytes());
    std::uint64_t n = 0;
    for (auto _ : state) {
        scene.Render(n++, format, frame);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.size()));
}

void BM_RenderPal(benchmark::State& state) {
    RenderFrame(state, {720, 576, 25});
}
BENCHMARK(BM_RenderPal)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

void BM_RenderNtsc(benchmark::State& state) {
    RenderFrame(state, {720, 480, 30});
}
BENCHMARK(BM_RenderNtsc)->Arg(1)->Unit(benchmark::kMicrosecond);

// 40 ms of sound, one audio sample's worth for a PAL frame period.
void BM_AudioPiece(benchmark::State& state) {
    const devices::AudioTone tone;
    std::vector<std::int16_t> piece(devices::AudioTone::kSampleRate / 25 * 2);
    std::uint64_t first = 0;
    for (auto _ : state) {
        tone.Fill(first, piece);
        first += piece.size() / 2;
        benchmark::DoNotOptimize(piece.data());
    }
}
BENCHMARK(BM_AudioPiece)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

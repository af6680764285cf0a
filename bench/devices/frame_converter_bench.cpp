// The V4L2 back-end's conversion of captured frames to the channel's UYVY picture (FrameConverter:
// libyuv's copy or repack at the picture's size, swscale when scaling), against swscale alone,
// for the packed formats capture cards deliver: the same size and another size.
#include <benchmark/benchmark.h>
#include <linux/videodev2.h>

#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "platform/devices/v4l2/frame_converter.h"

namespace {

using devices::FrameConverter;
using devices::FramePicture;
using devices::V4l2Format;
using devices::VideoFormat;

constexpr VideoFormat kPal{720, 576, 25};

// Capture sizes: the channel's own, and a smaller one scaled up.
void Cases(benchmark::internal::Benchmark* b) {
    for (const long fourcc : {long{V4L2_PIX_FMT_UYVY}, long{V4L2_PIX_FMT_YUYV}}) {
        b->Args({fourcc, 720, 576});
        b->Args({fourcc, 640, 480});
    }
}

std::vector<std::uint8_t> Frame(int width, int height) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(width) * height * 2);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7);
    return frame;
}

void BM_FrameConverter(benchmark::State& state) {
    const auto fourcc = static_cast<std::uint32_t>(state.range(0));
    const auto width = static_cast<std::uint32_t>(state.range(1));
    const auto height = static_cast<std::uint32_t>(state.range(2));
    FrameConverter converter;
    if (!converter.Configure({width, height, fourcc, width * 2, width * height * 2}, kPal)) {
        state.SkipWithError("not configured");
        return;
    }
    const std::vector<std::uint8_t> frame =
        Frame(static_cast<int>(width), static_cast<int>(height));
    FramePicture picture;
    for (auto _ : state) {
        converter.Convert(frame, &picture);
        benchmark::DoNotOptimize(picture.bytes.data());
    }
}
BENCHMARK(BM_FrameConverter)->Apply(Cases);

void BM_SwscaleConverter(benchmark::State& state) {
    const auto fourcc = static_cast<std::uint32_t>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    SwsContext* sws = sws_getContext(
        width, height, fourcc == V4L2_PIX_FMT_UYVY ? AV_PIX_FMT_UYVY422 : AV_PIX_FMT_YUYV422,
        kPal.width, kPal.height, AV_PIX_FMT_UYVY422, SWS_BILINEAR, nullptr, nullptr, nullptr);
    const std::vector<std::uint8_t> frame = Frame(width, height);
    std::vector<std::uint8_t> out(kPal.FrameBytes());
    const std::uint8_t* planes[4] = {frame.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {width * 2, 0, 0, 0};
    std::uint8_t* outPlanes[4] = {out.data(), nullptr, nullptr, nullptr};
    const int outStrides[4] = {kPal.width * 2, 0, 0, 0};
    for (auto _ : state) {
        sws_scale(sws, planes, strides, 0, height, outPlanes, outStrides);
        benchmark::DoNotOptimize(out.data());
    }
    sws_freeContext(sws);
}
BENCHMARK(BM_SwscaleConverter)->Apply(Cases);

}  // namespace

BENCHMARK_MAIN();

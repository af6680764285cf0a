// CPU per second of recorded 720 x 576 video at 25/s: the video encoder in its DMO wrapper
// filter, fed samples directly and written through the AVI multiplexer and the file writer to a
// file in the temporary folder, next to the same frames encoded with the same codec settings
// (MPEG-4 Part 2, quantiser of quality 0, a key frame a second, no B-frames, UYVY converted to
// 4:2:0 by libswscale) through libavcodec directly. One iteration is one second of video.
#include <benchmark/benchmark.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/media/uyvy_bench_source.h"
#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/base/free_pin.h"
#include "platform/media/interfaces/iconfig_interleaving.h"
#include "platform/media/interfaces/idmo_wrapper_filter.h"
#include "platform/media/interfaces/ifile_sink_filter.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/recording/video_encoder_dmo.h"
#include "platform/media/runtime/media_runtime.h"

namespace {

using bench_media::kFps;
using bench_media::kFrameBytes;
using bench_media::kHeight;
using bench_media::kWidth;
using bench_media::UyvyBenchSource;

// One second of frames that look like camera output: a moving gradient with noise.
std::vector<std::vector<BYTE>> CameraSecond() {
    std::vector<std::vector<BYTE>> frames(kFps, std::vector<BYTE>(kFrameBytes));
    std::mt19937 random(42);
    for (int n = 0; n < kFps; ++n)
        for (LONG y = 0; y < kHeight; ++y)
            for (LONG x = 0; x < kWidth; x += 2) {
                BYTE* p = &frames[n][(y * kWidth + x) * 2];
                p[0] = static_cast<BYTE>(96 + (x * 64) / kWidth);
                p[1] = static_cast<BYTE>(16 + ((y + 3 * n) * 200 / kHeight) % 200 + random() % 8);
                p[2] = static_cast<BYTE>(160 - (y * 64) / kHeight);
                p[3] = static_cast<BYTE>(16 + ((x + 4 * n) * 200 / kWidth) % 200 + random() % 8);
            }
    return frames;
}

void BM_EncoderFilterToAviFile(benchmark::State& state) {
    CoInitialize(nullptr);
    RegisterMediaRuntime();
    const auto frames = CameraSecond();
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("recording_bench_" + std::to_string(::getpid()) + ".avi"))
                                 .string();
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph);
    graph.As(&control);
    ComPtr<UyvyBenchSource> source;
    source.Attach(new UyvyBenchSource(u"Capture Out"));
    source->AddRef();
    ComPtr<IBaseFilter> encoder, mux, writer;
    CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, &encoder);
    ComPtr<IDMOWrapperFilter> wrapper;
    encoder.As(&wrapper);
    wrapper->Init(CLSID_VideoEncoderDmo, DMOCATEGORY_VIDEO_ENCODER);
    CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, &mux);
    ComPtr<IConfigInterleaving> interleaving;
    mux.As(&interleaving);
    interleaving->put_Mode(INTERLEAVE_CAPTURE);
    CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, &writer);
    ComPtr<IFileSinkFilter> sink;
    writer.As(&sink);
    sink->SetFileName(utf16::FromUtf8(path).c_str(), nullptr);
    graph->AddFilter(source.Get(), u"Source");
    graph->AddFilter(encoder.Get(), u"Video Encoder");
    graph->AddFilter(mux.Get(), u"Mux");
    graph->AddFilter(writer.Get(), u"File");
    bool ok =
        graph->ConnectDirect(source->Output(), FirstFreePin(encoder.Get(), PINDIR_INPUT).Get(),
                             nullptr) == S_OK &&
        graph->ConnectDirect(FirstFreePin(encoder.Get(), PINDIR_OUTPUT).Get(),
                             FirstFreePin(mux.Get(), PINDIR_INPUT).Get(), nullptr) == S_OK &&
        graph->ConnectDirect(FirstFreePin(mux.Get(), PINDIR_OUTPUT).Get(),
                             FirstFreePin(writer.Get(), PINDIR_INPUT).Get(), nullptr) == S_OK &&
        control->Run() == S_OK;
    if (!ok) state.SkipWithError("graph did not run");
    long long n = 0;
    for (auto _ : state) {
        for (int i = 0; i < kFps && ok; ++i, ++n) {
            ComPtr<IMediaSample> sample;
            if (FAILED(source->Output()->GetDeliveryBuffer(sample.ReleaseAndGetAddressOf(), nullptr,
                                                           nullptr, 0))) {
                state.SkipWithError("no buffer");
                ok = false;
                break;
            }
            BYTE* data = nullptr;
            sample->GetPointer(&data);
            std::memcpy(data, frames[i].data(), kFrameBytes);
            sample->SetActualDataLength(kFrameBytes);
            REFERENCE_TIME start = n * (UNITS / kFps), stop = start + UNITS / kFps;
            sample->SetTime(&start, &stop);
            if (source->Output()->Deliver(sample.Get()) != S_OK) {
                state.SkipWithError("delivery failed");
                ok = false;
            }
        }
    }
    control->Stop();
    control = nullptr;
    graph = nullptr;
    std::error_code ignored;
    state.counters["file_MiB"] =
        static_cast<double>(std::filesystem::file_size(path, ignored)) / (1 << 20);
    std::filesystem::remove(path, ignored);
    CoUninitialize();
}

void BM_LibavcodecDirect(benchmark::State& state) {
    const auto frames = CameraSecond();
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* c = avcodec_alloc_context3(codec);
    c->width = kWidth;
    c->height = kHeight;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = {1, kFps};
    c->framerate = {kFps, 1};
    c->gop_size = kFps;
    c->max_b_frames = 0;
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * CVideoEncoderDmo::QuantiserOf(0);
    c->thread_count = 1;
    avcodec_open2(c, codec, nullptr);
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = kWidth;
    frame->height = kHeight;
    av_frame_get_buffer(frame, 0);
    SwsContext* sws = sws_getContext(kWidth, kHeight, AV_PIX_FMT_UYVY422, kWidth, kHeight,
                                     AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    AVPacket* packet = av_packet_alloc();
    std::vector<BYTE> copy(kFrameBytes);
    long long n = 0;
    double bytes = 0;
    for (auto _ : state) {
        for (int i = 0; i < kFps; ++i, ++n) {
            std::memcpy(copy.data(), frames[i].data(), kFrameBytes);  // as the sample copy
            av_frame_make_writable(frame);
            const uint8_t* src[1] = {copy.data()};
            const int stride[1] = {kWidth * 2};
            sws_scale(sws, src, stride, 0, kHeight, frame->data, frame->linesize);
            frame->pts = n;
            frame->quality = c->global_quality;
            avcodec_send_frame(c, frame);
            while (avcodec_receive_packet(c, packet) >= 0) {
                bytes += packet->size;
                av_packet_unref(packet);
            }
        }
    }
    state.counters["MiB_per_s_of_video"] =
        bytes / (1 << 20) / static_cast<double>(std::max<long long>(n / kFps, 1));
    av_packet_free(&packet);
    sws_freeContext(sws);
    av_frame_free(&frame);
    avcodec_free_context(&c);
}

}  // namespace

BENCHMARK(BM_EncoderFilterToAviFile)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_LibavcodecDirect)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_MAIN();

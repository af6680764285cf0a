// Cost of one snapshot of a 720 × 576 pane (CaptureSnapshot: the renderer's picture read back,
// made 24-bit and written as a JPEG of quality 75) next to libjpeg encoding the same picture,
// already top-down RGB, by itself at quality 75 into a file of the same folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/media/uyvy_bench_source.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/ivmr_filter_config9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/renderers/video_pane_window.h"
#include "platform/media/runtime/media_runtime.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/snapshots/snapshot_capture.h"

// After the platform's headers: libjpeg defines TRUE and FALSE as macros.
#include <jpeglib.h>

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
    void FrameReady() override {}
};

// One pane's preview graph (source pin -> renderer -> pane) that has shown one camera frame,
// and a capture record whose first renderer is that renderer.
struct ShownPane {
    ShownPane() {
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
        ComPtr<IVMRWindowlessControl9> windowless;
        renderer.As(&windowless);
        windowless->SetVideoClippingWindow(&pane);
        ComPtr<IPin> input;
        renderer->FindPin(u"VMR Input0", input.ReleaseAndGetAddressOf());
        if (graph->ConnectDirect(source->Output(), input.Get(), nullptr) != S_OK ||
            control->Run() != S_OK)
            return;
        const std::vector<BYTE> camera = CameraFrame();
        ComPtr<IMediaSample> sample;
        source->Output()->GetDeliveryBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        std::memcpy(data, camera.data(), camera.size());
        sample->SetActualDataLength(kFrameBytes);
        source->Output()->Deliver(sample.Get());
        record.renderers[0] = renderer;
        BYTE* dib = nullptr;
        shown = windowless->GetCurrentImage(&dib) == S_OK;
        if (!shown) return;
        // The same picture top-down in red, green, blue, for libjpeg by itself.
        rgb.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
        const BYTE* pixels = dib + sizeof(BITMAPINFOHEADER);
        for (LONG y = 0; y < kHeight; ++y)
            for (LONG x = 0; x < kWidth; ++x) {
                const BYTE* s = pixels + ((kHeight - 1 - y) * kWidth + x) * 4;
                BYTE* t = &rgb[(static_cast<std::size_t>(y) * kWidth + x) * 3];
                t[0] = s[2];
                t[1] = s[1];
                t[2] = s[0];
            }
        CoTaskMemFree(dib);
    }
    ~ShownPane() {
        control->Stop();
        record.renderers[0] = nullptr;
        renderer = nullptr;
        control = nullptr;
        graph = nullptr;
        source = nullptr;
        CoUninitialize();
    }

    BenchPane pane;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<UyvyBenchSource> source;
    ComPtr<IBaseFilter> renderer;
    CaptureGraph record;
    std::vector<BYTE> rgb;
    bool shown = false;
};

std::string BenchFile(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

void BM_CaptureSnapshot720x576(benchmark::State& state) {
    ShownPane pane;
    if (!pane.shown) {
        state.SkipWithError("no picture in the renderer");
        return;
    }
    const std::string file = BenchFile("quadrel_bench_snapshot.jpg");
    for (auto _ : state) {
        if (CaptureSnapshot(&pane.record, file.c_str(), 1) != S_OK) {
            state.SkipWithError("CaptureSnapshot failed");
            break;
        }
    }
    std::remove(file.c_str());
}

void BM_LibjpegEncodeRgb720x576Quality75(benchmark::State& state) {
    ShownPane pane;
    if (!pane.shown) {
        state.SkipWithError("no picture in the renderer");
        return;
    }
    const std::string file = BenchFile("quadrel_bench_libjpeg.jpg");
    for (auto _ : state) {
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (!out) {
            jpeg_destroy_compress(&info);
            state.SkipWithError("cannot open the file");
            break;
        }
        jpeg_stdio_dest(&info, out);
        info.image_width = kWidth;
        info.image_height = kHeight;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 75, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = &pane.rgb[static_cast<std::size_t>(info.next_scanline) * kWidth * 3];
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        std::fclose(out);
        jpeg_destroy_compress(&info);
    }
    std::remove(file.c_str());
}

}  // namespace

BENCHMARK(BM_CaptureSnapshot720x576)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibjpegEncodeRgb720x576Quality75)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

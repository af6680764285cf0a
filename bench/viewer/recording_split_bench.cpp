// The split of a recording: the wall time from the stop of one file to the start of the next on
// a running capture graph (the simulated grabber on real time, with its four previews), during
// which no frame is recorded; so the gap between the two files, in seconds of video.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/devices/scenario.h"
#include "platform/devices/simulated_device.h"
#include "platform/media/renderers/video_pane_window.h"
#include "platform/media/runtime/media_runtime.h"
#include "tests/overlay/vexlay_library.h"
#include "viewer/capture/capture_graph.h"
#include "viewer/capture/recording_branch.h"
#include "viewer/settings/settings_key.h"

namespace {

class Pane final : public VideoPaneWindow {
  public:
    ~Pane() override { DetachVideo(); }
    SIZE ClientSize() const override { return {320, 240}; }
    void FrameReady() override {}
};

void BM_RecordingSplit(benchmark::State& state) {
    char pattern[] = "/tmp/quadrel-split-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    ::setenv("QUADREL_REGISTRY_DIR", dir.c_str(), 1);
    CoInitialize(nullptr);
    RegisterMediaRuntime();
    {
        VexlayLibrary library;
        if (!library.Loaded() || FAILED(library.Register())) {
            state.SkipWithError("libvexlay.so did not register");
            return;
        }
        devices::Scenario scenario;
        std::string error;
        devices::ParseScenario("signal=1,2", &scenario, &error);
        devices::SimulatedDevice device(scenario);
        Pane panes[4];
        PaneLayout layout{};
        for (int k = 0; k < 4; ++k) {
            layout.window[k] = &panes[k];
            layout.rect[k] = RECT{0, 0, 320, 240};
        }
        CaptureGraph* graph = GetCaptureGraph();
        if (!graph || FAILED(SetupPreviewPanes(graph, &layout)) || FAILED(RunGraph(graph))) {
            state.SkipWithError("no capture graph");
            return;
        }
        int n = 0;
        auto next = [&] { return utf16::FromUtf8(dir + "/" + std::to_string(n++) + ".avi"); };
        StartRecording(u"Gate 1", graph, next().c_str(), 1, 0);
        for (auto _ : state) {
            const std::u16string file = next();
            StopRecording(graph, true);
            if (FAILED(StartRecording(u"Gate 1", graph, file.c_str(), 1, 0))) {
                state.SkipWithError("the next file did not start");
                break;
            }
        }
        StopRecording(graph, false);
        FreeCaptureGraph();
    }
    CloseSettingsKey();
    CoUninitialize();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecordingSplit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(40);

}  // namespace

BENCHMARK_MAIN();

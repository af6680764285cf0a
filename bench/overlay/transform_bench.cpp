// Cost of the overlay filter's per-frame work: Transform on one 720 x 576 UYVY sample with the
// default title and a time stamp whose clock advances 40 ms per frame (so its text changes every
// 25th frame, as at 25 frames per second), next to one memcpy of the same frame measured in the
// same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "overlay/filter_title_overlay.h"
#include "platform/media/base/mem_allocator.h"
#include "tests/overlay/frame_graph.h"

namespace {

using overlay_test::FrameSink;
using overlay_test::FrameSource;
using overlay_test::PinOf;
using overlay_test::VideoFormat;

// A clock that reads 40 ms later at every reading (one reading per frame).
StampClock FrameClock() {
    auto readings = std::make_shared<long long>(0);
    return [readings] {
        const long long seconds = 9 * 3600 + 5 * 60 + 7 + (*readings)++ * 40 / 1000;
        return StampTime{2011,
                         6,
                         13,
                         static_cast<int>(seconds / 3600 % 24),
                         static_cast<int>(seconds / 60 % 60),
                         static_cast<int>(seconds % 60)};
    };
}

// The filter connected between a source and a sink of PAL UYVY frames, ready to stream, and
// one sample holding a frame.
class StreamingFilter {
  public:
    StreamingFilter() {
        HRESULT hr = S_OK;
        m_filter = ComPtr<CFilterTitleOverlay>::Retain(
            dynamic_cast<CFilterTitleOverlay*>(CFilterTitleOverlay::CreateInstance(nullptr, &hr)));
        m_source = FrameSource::Create(m_format);
        m_sink = FrameSink::Create();
        m_ok =
            m_filter && hr == S_OK &&
            PinOf(m_source.Get(), u"Out")
                    ->Connect(PinOf(m_filter.Get(), u"Input").Get(), nullptr) == S_OK &&
            PinOf(m_filter.Get(), u"Output")->Connect(PinOf(m_sink.Get(), u"In").Get(), nullptr) ==
                S_OK;
        if (!m_ok) return;
        m_filter->Controller()->SetStampClock(FrameClock());
        m_ok = m_filter->StartStreaming() == S_OK && MakeSample();
    }
    ~StreamingFilter() {
        m_sample = nullptr;
        if (m_allocator) m_allocator->Decommit();
        if (m_filter) {
            m_filter->StopStreaming();
            PinOf(m_source.Get(), u"Out")->Disconnect();
            PinOf(m_filter.Get(), u"Input")->Disconnect();
            PinOf(m_filter.Get(), u"Output")->Disconnect();
            PinOf(m_sink.Get(), u"In")->Disconnect();
        }
    }

    bool Ok() const { return m_ok; }
    CFilterTitleOverlay* Filter() const { return m_filter.Get(); }
    IMediaSample* Sample() const { return m_sample.Get(); }
    std::size_t FrameBytes() const { return m_format.FrameBytes(); }

  private:
    bool MakeSample() {
        if (FAILED(CMemAllocator::Create(m_allocator.ReleaseAndGetAddressOf()))) return false;
        ALLOCATOR_PROPERTIES wanted{1, static_cast<LONG>(FrameBytes()), 1, 0};
        ALLOCATOR_PROPERTIES actual{};
        if (FAILED(m_allocator->SetProperties(&wanted, &actual)) || FAILED(m_allocator->Commit()) ||
            FAILED(
                m_allocator->GetBuffer(m_sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0))) {
            return false;
        }
        BYTE* data = nullptr;
        m_sample->GetPointer(&data);
        const std::vector<BYTE> frame = overlay_test::SourceFrame(FrameBytes(), 0);
        std::memcpy(data, frame.data(), frame.size());
        return SUCCEEDED(m_sample->SetActualDataLength(static_cast<LONG>(frame.size())));
    }

    VideoFormat m_format;  // 720 x 576 UYVY at 25 frames per second
    ComPtr<CFilterTitleOverlay> m_filter;
    ComPtr<FrameSource> m_source;
    ComPtr<FrameSink> m_sink;
    ComPtr<IMemAllocator> m_allocator;
    ComPtr<IMediaSample> m_sample;
    bool m_ok = false;
};

void BM_TransformPalFrame(benchmark::State& state) {
    StreamingFilter streaming;
    if (!streaming.Ok()) {
        state.SkipWithError("the filter could not be connected");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(streaming.Filter()->Transform(streaming.Sample()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TransformPalFrame);

// The yardstick: copying the same frame once.
void BM_MemcpyPalFrame(benchmark::State& state) {
    const std::size_t bytes = VideoFormat{}.FrameBytes();
    std::vector<BYTE> from = overlay_test::SourceFrame(bytes, 0);
    std::vector<BYTE> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_MemcpyPalFrame);

}  // namespace

BENCHMARK_MAIN();

// Filters for the runtime's tests: a steppable video source, a recording sink, and an in-place
// filter that marks every frame.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/base/base_input_pin.h"
#include "platform/media/base/source.h"
#include "platform/media/base/trans_in_place_filter.h"

namespace media_test {

inline constexpr auto kWait = std::chrono::seconds(10);

inline constexpr CLSID CLSID_TestSource = {
    0x9A1B0001, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};
inline constexpr CLSID CLSID_TestSink = {
    0x9A1B0002, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}};
inline constexpr CLSID CLSID_TestMarker = {
    0x9A1B0003, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x03}};

// A UYVY video type with a VIDEOINFOHEADER.
CMediaType UyvyType(LONG width, LONG height);
// 16-bit PCM with a WAVEFORMATEX.
CMediaType PcmType(WORD channels, DWORD rate, WORD bits);

// A source whose streams push one frame per Step. Frame n carries n in its first four bytes
// and the stream's fill byte in the rest.
class TestSource final : public CSource {
  public:
    class Stream final : public CSourceStream {
      public:
        Stream(TestSource* filter, LPCWSTR name, CMediaType type, BYTE fill);

        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT GetMediaType(int position, CMediaType* type) override;
        HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
        HRESULT FillBuffer(IMediaSample* sample) override;
        HRESULT OnThreadCreate() override;
        HRESULT OnThreadDestroy() override;
        HRESULT OnThreadStartPlay() override;
        void OnStopRequested() override;
        HRESULT Active() override;

        // Application thread: lets `count` more frames go.
        void Step(int count);
        // Before Pause: frame `frame` carries `type` as a type change (the stream's own type
        // stays).
        void CarryTypeAt(int frame, CMediaType type);
        // Before Pause: each time pushing starts, the segment goes downstream first.
        void SendSegmentOnPlay(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
        // Frames handed to Deliver so far.
        int Delivered() const { return delivered_.load(); }
        // Data pointers of the samples filled so far.
        std::vector<BYTE*> FilledBuffers();

        std::atomic<int> threadsCreated{0};
        std::atomic<int> threadsDestroyed{0};
        bool failActive = false;  // set before Pause

      private:
        const CMediaType type_;
        const BYTE fill_;
        // Guarded by mutex_.
        std::mutex mutex_;
        std::condition_variable stepped_;
        int credit_ = 0;
        bool stopping_ = false;
        std::vector<BYTE*> buffers_;
        int carryFrame_ = -1;
        CMediaType carried_;
        bool sendSegment_ = false;
        REFERENCE_TIME segmentStart_ = 0;
        REFERENCE_TIME segmentStop_ = 0;
        double segmentRate_ = 1.0;
        // Streaming thread.
        int frame_ = 0;
        std::atomic<int> delivered_{0};
    };

    static ComPtr<TestSource> Create();
    // Adds a stream; before any connection.
    Stream* AddStream(LPCWSTR name, CMediaType type, BYTE fill = 0x80);

  private:
    TestSource();
};

// A sink with one input pin "In" that accepts one major type and records what arrives.
class TestSink final : public CBaseFilter {
  public:
    static ComPtr<TestSink> Create(const GUID& majorType);
    // Class-table creation function (a video sink).
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    // Waits (bounded) until at least `count` samples arrived.
    bool WaitForSamples(int count);
    int Received();
    std::vector<BYTE> LastData();
    std::vector<BYTE*> ReceivedBuffers();
    bool LastWasReadOnly() const { return pin_->IsReadOnly(); }
    int EndOfStreams() const { return endOfStreams_.load(); }
    // The input pin, for what IPin does not show (the segment, the current type).
    const CBaseInputPin* Input() const { return pin_.get(); }
    bool refuseAll = false;  // CheckMediaType refuses everything

  private:
    class Pin final : public CBaseInputPin {
      public:
        Pin(TestSink* filter);
        HRESULT CheckMediaType(const CMediaType* type) override;
        HRESULT Receive(IMediaSample* sample) override;
        HRESULT EndOfStream() override;
        HRESULT ReceiveCanBlock() override { return S_FALSE; }

      private:
        TestSink* sink_;
    };

    explicit TestSink(const GUID& majorType);
    ~TestSink() override;

    CCritSec lock_;
    CCritSec receiveLock_;
    const GUID majorType_;
    std::unique_ptr<Pin> pin_;
    // Guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable arrived_;
    int received_ = 0;
    std::vector<BYTE> last_;
    std::vector<BYTE*> buffers_;
    std::atomic<int> endOfStreams_{0};
};

// An in-place filter that writes 0xEE into the fifth byte of every frame (after the frame
// number) and counts its streaming starts and stops.
class TestMarker final : public CTransInPlaceFilter {
  public:
    static ComPtr<TestMarker> Create();

    HRESULT CheckInputType(const CMediaType* type) override;
    HRESULT Transform(IMediaSample* sample) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    const AMOVIESETUP_FILTER* GetSetupData() override { return setup; }

    const AMOVIESETUP_FILTER* setup = nullptr;  // the record IAMovieSetup registers
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
    std::atomic<int> transformed{0};
    bool failStart = false;

  private:
    TestMarker();
};

// Pin of `filter` by name, with a reference.
ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name);

// Breaks both sides of the connection of `pin` (connected pins hold each other's filters).
void Unplug(IPin* pin);

// Connects output `from` of `upstream` to input `to` of `downstream` directly.
HRESULT Plug(IBaseFilter* upstream, const char16_t* from, IBaseFilter* downstream,
             const char16_t* to);

}  // namespace media_test

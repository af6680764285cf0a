// Filters around the overlay filter in tests and benchmarks: a push source of video frames that
// lets frames go one step at a time, and a sink that keeps a copy of every frame it receives.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/base/base_input_pin.h"
#include "platform/media/base/source.h"

namespace overlay_test {

inline constexpr CLSID CLSID_FrameSource = {
    0x5E0C1A01, 0x7D2B, 0x4C11, {0x9A, 0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
inline constexpr CLSID CLSID_FrameSink = {
    0x5E0C1A02, 0x7D2B, 0x4C11, {0x9A, 0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};

// A video media type with a VIDEOINFOHEADER block; the fields let tests spoil it.
struct VideoFormat {
    GUID majorType = MEDIATYPE_Video;
    GUID subtype = MEDIASUBTYPE_UYVY;
    GUID formatType = FORMAT_VideoInfo;
    LONG width = 720;
    LONG height = 576;
    WORD bitCount = 16;
    REFERENCE_TIME avgTimePerFrame = 400000;
    ULONG formatBytes = sizeof(VIDEOINFOHEADER);  // fewer: a truncated block

    std::size_t FrameBytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * bitCount / 8;
    }
};
CMediaType VideoType(const VideoFormat& format);

// The bytes of frame n (0-based) of a source: a fixed pseudo-random pattern per frame.
std::vector<BYTE> SourceFrame(std::size_t bytes, int n);

// A source with one output pin "Out" that pushes frame n with the bytes SourceFrame(n) and the
// times n x duration to (n + 1) x duration.
class FrameSource final : public CSource {
  public:
    static ComPtr<FrameSource> Create(const VideoFormat& format);

    // Application thread: lets `count` more frames go (they leave while the filter runs).
    void Step(int count);
    // The sample times of the frames: each lasts `duration` (before running; default the
    // format's frame duration).
    void SetFrameDuration(REFERENCE_TIME duration);

  private:
    class Stream;
    explicit FrameSource(const VideoFormat& format);
    ~FrameSource() override;

    Stream* m_pStream;  // owned by the base's pin list
};

// A sink with one input pin "In" for video; keeps every frame and its times.
class FrameSink final : public CBaseFilter {
  public:
    struct Frame {
        std::vector<BYTE> data;
        REFERENCE_TIME start = 0;
        REFERENCE_TIME stop = 0;
    };

    static ComPtr<FrameSink> Create();

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    // Waits (bounded, ten seconds) until `count` frames arrived; false when they did not.
    bool WaitForFrames(int count);
    std::vector<Frame> Frames();

  private:
    class Pin;
    FrameSink();
    ~FrameSink() override;

    CCritSec m_lock;  // the filter lock, before the pin that uses it
    std::unique_ptr<Pin> m_pPin;
    // Guarded by m_mutex; written on the upstream streaming thread.
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<Frame> m_frames;
};

// The pin of `filter` with this name, or null.
ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name);

}  // namespace overlay_test

#include "tests/overlay/frame_graph.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/media/base/source_stream.h"
#include "platform/media/interfaces/media_errors.h"

namespace overlay_test {

CMediaType VideoType(const VideoFormat& format) {
    CMediaType mt(format.majorType);
    mt.SetSubtype(&format.subtype);
    mt.SetFormatType(&format.formatType);
    mt.SetSampleSize(static_cast<ULONG>(format.FrameBytes()));
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = format.avgTimePerFrame;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = format.width;
    vih.bmiHeader.biHeight = format.height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = format.bitCount;
    vih.bmiHeader.biCompression = format.subtype.Data1;
    vih.bmiHeader.biSizeImage = static_cast<DWORD>(format.FrameBytes());
    const ULONG bytes = std::min<ULONG>(format.formatBytes, sizeof vih);
    if (bytes > 0) mt.SetFormat(reinterpret_cast<const BYTE*>(&vih), bytes);
    return mt;
}

std::vector<BYTE> SourceFrame(std::size_t bytes, int n) {
    std::vector<BYTE> frame(bytes);
    std::uint32_t seed = 0x9E3779B9u * static_cast<std::uint32_t>(n + 1);
    for (BYTE& b : frame) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<BYTE>(seed >> 16);
    }
    return frame;
}

// ---- FrameSource ----

class FrameSource::Stream final : public CSourceStream {
  public:
    Stream(FrameSource* filter, const VideoFormat& format)
        : CSourceStream("frame stream", nullptr, filter, u"Out"),
          m_type(VideoType(format)),
          m_bytes(format.FrameBytes()),
          m_duration(format.avgTimePerFrame) {}

    HRESULT CheckMediaType(const CMediaType* type) override {
        return *type == m_type ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int position, CMediaType* type) override {
        if (position < 0) return E_INVALIDARG;
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        return type->Set(m_type);
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        ALLOCATOR_PROPERTIES wanted = *request;
        wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 3);
        wanted.cbBuffer = std::max<LONG>(wanted.cbBuffer, static_cast<LONG>(m_bytes));
        ALLOCATOR_PROPERTIES actual{};
        return allocator->SetProperties(&wanted, &actual);
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
        {
            std::unique_lock lock(m_mutex);
            m_stepped.wait(lock, [this] { return m_credit > 0 || m_stopping; });
            if (m_stopping || !IsPushing()) return S_FALSE;
            --m_credit;
        }
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        const std::vector<BYTE> frame = SourceFrame(m_bytes, m_next);
        std::memcpy(data, frame.data(), frame.size());
        sample->SetActualDataLength(static_cast<LONG>(frame.size()));
        REFERENCE_TIME start = m_next * m_duration;
        REFERENCE_TIME stop = start + m_duration;
        sample->SetTime(&start, &stop);
        ++m_next;
        return S_OK;
    }
    void OnStopRequested() override {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_stepped.notify_all();
    }
    HRESULT Active() override {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = false;
        }
        return CSourceStream::Active();
    }

    void Step(int count) {
        std::lock_guard lock(m_mutex);
        m_credit += count;
        m_stepped.notify_all();
    }
    void SetDuration(REFERENCE_TIME duration) { m_duration = duration; }

  private:
    const CMediaType m_type;
    const std::size_t m_bytes;
    // Set before running; read on the streaming thread.
    REFERENCE_TIME m_duration;
    // Guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_stepped;
    int m_credit = 0;
    bool m_stopping = false;
    // Streaming thread.
    int m_next = 0;
};

FrameSource::FrameSource(const VideoFormat& format)
    : CSource("frame source", nullptr, CLSID_FrameSource) {
    auto stream = std::make_unique<Stream>(this, format);
    m_pStream = stream.get();
    AddPin(std::move(stream));
}

FrameSource::~FrameSource() = default;

ComPtr<FrameSource> FrameSource::Create(const VideoFormat& format) {
    return ComPtr<FrameSource>::Retain(new FrameSource(format));
}

void FrameSource::Step(int count) {
    m_pStream->Step(count);
}

void FrameSource::SetFrameDuration(REFERENCE_TIME duration) {
    m_pStream->SetDuration(duration);
}

// ---- FrameSink ----

class FrameSink::Pin final : public CBaseInputPin {
  public:
    explicit Pin(FrameSink* sink)
        : CBaseInputPin("frame sink pin", sink, &sink->m_lock, nullptr, u"In"), m_pSink(sink) {}

    HRESULT CheckMediaType(const CMediaType* type) override {
        return *type->Type() == MEDIATYPE_Video ? S_OK : S_FALSE;
    }
    HRESULT Receive(IMediaSample* sample) override {
        const HRESULT hr = CBaseInputPin::Receive(sample);
        if (hr != S_OK) return hr;
        Frame frame;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        frame.data.assign(data, data + sample->GetActualDataLength());
        sample->GetTime(&frame.start, &frame.stop);
        {
            std::lock_guard lock(m_pSink->m_mutex);
            m_pSink->m_frames.push_back(std::move(frame));
        }
        m_pSink->m_arrived.notify_all();
        return S_OK;
    }
    HRESULT ReceiveCanBlock() override { return S_FALSE; }

  private:
    FrameSink* const m_pSink;  // owner
};

FrameSink::FrameSink()
    : CBaseFilter("frame sink", nullptr, &m_lock, CLSID_FrameSink),
      m_pPin(std::make_unique<Pin>(this)) {}

FrameSink::~FrameSink() = default;

ComPtr<FrameSink> FrameSink::Create() {
    return ComPtr<FrameSink>::Retain(new FrameSink());
}

CBasePin* FrameSink::GetPin(int n) {
    return n == 0 ? m_pPin.get() : nullptr;
}

bool FrameSink::WaitForFrames(int count) {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::seconds(10),
                              [&] { return static_cast<int>(m_frames.size()) >= count; });
}

std::vector<FrameSink::Frame> FrameSink::Frames() {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name) {
    ComPtr<IPin> pin;
    filter->FindPin(name, pin.ReleaseAndGetAddressOf());
    return pin;
}

}  // namespace overlay_test

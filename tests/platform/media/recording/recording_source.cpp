#include "tests/platform/media/recording/recording_source.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/media/interfaces/media_errors.h"

namespace recording_test {

namespace {

constexpr CLSID CLSID_RecordingSource = {
    0x6D1C3B01, 0x2A44, 0x4E5F, {0x91, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
constexpr DWORD kAudioRate = 48000;
constexpr int kAudioBlock = 1920;  // 40 ms

CMediaType UyvyType(LONG width, LONG height, REFERENCE_TIME duration) {
    CMediaType type(MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_UYVY);
    type.SetFormatType(&FORMAT_VideoInfo);
    type.SetSampleSize(static_cast<ULONG>(width * height * 2));
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    info->AvgTimePerFrame = duration;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 16;
    info->bmiHeader.biCompression = 0x59565955;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 2);
    return type;
}

CMediaType PcmType() {
    CMediaType type(MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(4);
    auto* wave = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    wave->wFormatTag = WAVE_FORMAT_PCM;
    wave->nChannels = 2;
    wave->nSamplesPerSec = kAudioRate;
    wave->wBitsPerSample = 16;
    wave->nBlockAlign = 4;
    wave->nAvgBytesPerSec = kAudioRate * 4;
    return type;
}

}  // namespace

BYTE LumaAt(int x, int y, int n) {
    const int ramp = 16 + (x + 2 * n) % 200;
    return static_cast<BYTE>((y / 64) % 2 ? ramp : 235 - ramp + 16);
}

RecordingSource::Stream::Stream(RecordingSource* filter, LPCWSTR name, CMediaType type,
                                REFERENCE_TIME duration, bool video)
    : CSourceStream("recording test stream", nullptr, filter, name),
      m_type(std::move(type)),
      m_duration(duration),
      m_video(video) {}

HRESULT RecordingSource::Stream::CheckMediaType(const CMediaType* type) {
    return *type == m_type ? S_OK : S_FALSE;
}

HRESULT RecordingSource::Stream::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    return type->Set(m_type);
}

HRESULT RecordingSource::Stream::DecideBufferSize(IMemAllocator* allocator,
                                                  ALLOCATOR_PROPERTIES* request) {
    ALLOCATOR_PROPERTIES wanted = *request;
    wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 3);
    const LONG bytes = m_video ? static_cast<LONG>(m_type.GetSampleSize()) : kAudioBlock * 4;
    wanted.cbBuffer = std::max<LONG>(wanted.cbBuffer, bytes);
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(&wanted, &actual);
}

HRESULT RecordingSource::Stream::FillBuffer(IMediaSample* sample) {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_credit > 0 || m_stopping; });
        if (m_stopping || !IsPushing()) return S_FALSE;
        --m_credit;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const int n = m_next++;
    LONG bytes = 0;
    if (m_video) {
        const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_type.pbFormat);
        const int width = info->bmiHeader.biWidth;
        const int height = info->bmiHeader.biHeight;
        for (int y = 0; y < height; ++y) {
            BYTE* row = data + static_cast<std::ptrdiff_t>(y) * width * 2;
            for (int x = 0; x < width; ++x) {
                row[2 * x] = 128;  // U or V
                row[2 * x + 1] = LumaAt(x, y, n);
            }
        }
        bytes = width * height * 2;
    } else {
        auto* pcm = reinterpret_cast<int16_t*>(data);
        for (int i = 0; i < kAudioBlock; ++i) {
            const double t = static_cast<double>(n * kAudioBlock + i) / kAudioRate;
            const auto value = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * t));
            pcm[2 * i] = value;
            pcm[2 * i + 1] = value;
        }
        bytes = kAudioBlock * 4;
    }
    sample->SetActualDataLength(bytes);
    REFERENCE_TIME start = n * m_duration;
    REFERENCE_TIME stop = start + m_duration;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    return S_OK;
}

HRESULT RecordingSource::Stream::Deliver(IMediaSample* sample) {
    const HRESULT hr = CSourceStream::Deliver(sample);
    std::lock_guard lock(m_mutex);
    if (hr == S_OK)
        ++m_delivered;
    else
        m_failure = hr;
    m_changed.notify_all();
    return hr;
}

void RecordingSource::Stream::OnStopRequested() {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_changed.notify_all();
}

HRESULT RecordingSource::Stream::Active() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = false;
    }
    return CSourceStream::Active();
}

void RecordingSource::Stream::Step(int count) {
    std::lock_guard lock(m_mutex);
    m_credit += count;
    m_changed.notify_all();
}

int RecordingSource::Stream::WaitDelivered(int count) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(10),
                       [&] { return m_delivered >= count || FAILED(m_failure); });
    return m_delivered;
}

HRESULT RecordingSource::Stream::LastFailure() {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

RecordingSource::RecordingSource()
    : CSource("recording test source", nullptr, CLSID_RecordingSource) {}

RecordingSource::~RecordingSource() = default;

ComPtr<RecordingSource> RecordingSource::Create() {
    ComPtr<RecordingSource> source;
    source.Attach(new RecordingSource());
    source->AddRef();
    return source;
}

RecordingSource::Stream* RecordingSource::AddVideo(LONG width, LONG height,
                                                   REFERENCE_TIME duration) {
    auto stream =
        std::make_unique<Stream>(this, u"Video", UyvyType(width, height, duration), duration, true);
    Stream* raw = stream.get();
    AddPin(std::move(stream));
    return raw;
}

RecordingSource::Stream* RecordingSource::AddAudio() {
    auto stream = std::make_unique<Stream>(this, u"Audio", PcmType(),
                                           kAudioBlock * UNITS / kAudioRate, false);
    Stream* raw = stream.get();
    AddPin(std::move(stream));
    return raw;
}

}  // namespace recording_test

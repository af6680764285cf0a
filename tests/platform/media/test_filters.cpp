#include "tests/platform/media/test_filters.h"

#include <cstring>

#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/media_errors.h"

namespace media_test {

CMediaType UyvyType(LONG width, LONG height) {
    CMediaType mt(MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_UYVY);
    mt.SetFormatType(&FORMAT_VideoInfo);
    mt.SetSampleSize(static_cast<ULONG>(width * height * 2));
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    vih->AvgTimePerFrame = UNITS / 25;
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biPlanes = 1;
    vih->bmiHeader.biBitCount = 16;
    vih->bmiHeader.biCompression = 0x59565955;
    vih->bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 2);
    return mt;
}

CMediaType PcmType(WORD channels, DWORD rate, WORD bits) {
    CMediaType mt(MEDIATYPE_Audio);
    mt.SetSubtype(&MEDIASUBTYPE_PCM);
    mt.SetFormatType(&FORMAT_WaveFormatEx);
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = channels;
    wf.nSamplesPerSec = rate;
    wf.wBitsPerSample = bits;
    wf.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    wf.nAvgBytesPerSec = rate * wf.nBlockAlign;
    mt.SetFormat(reinterpret_cast<const BYTE*>(&wf), sizeof(wf));
    mt.SetSampleSize(wf.nBlockAlign);
    return mt;
}

// ---- TestSource ----

TestSource::Stream::Stream(TestSource* filter, LPCWSTR name, CMediaType type, BYTE fill)
    : CSourceStream("test stream", nullptr, filter, name), type_(std::move(type)), fill_(fill) {}

HRESULT TestSource::Stream::CheckMediaType(const CMediaType* type) {
    return *type == type_ ? S_OK : S_FALSE;
}

HRESULT TestSource::Stream::GetMediaType(int position, CMediaType* type) {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    return type->Set(type_);
}

HRESULT TestSource::Stream::DecideBufferSize(IMemAllocator* allocator,
                                             ALLOCATOR_PROPERTIES* request) {
    ALLOCATOR_PROPERTIES wanted = *request;
    wanted.cBuffers = std::max<LONG>(wanted.cBuffers, 3);
    wanted.cbBuffer = std::max<LONG>(wanted.cbBuffer, static_cast<LONG>(type_.GetSampleSize()));
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(&wanted, &actual);
}

HRESULT TestSource::Stream::FillBuffer(IMediaSample* sample) {
    {
        std::unique_lock lock(mutex_);
        stepped_.wait(lock, [this] { return credit_ > 0 || stopping_; });
        if (stopping_) return S_FALSE;
        if (!IsPushing()) return S_FALSE;  // paused meanwhile: keep the credit for later
        --credit_;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG size = static_cast<LONG>(type_.GetSampleSize());
    std::memset(data, fill_, static_cast<std::size_t>(size));
    const int number = frame_++;
    std::memcpy(data, &number, sizeof(number));
    sample->SetActualDataLength(size);
    REFERENCE_TIME start = number * (UNITS / 25);
    REFERENCE_TIME stop = start + UNITS / 25;
    sample->SetTime(&start, &stop);
    {
        std::lock_guard lock(mutex_);
        buffers_.push_back(data);
        if (number == carryFrame_) sample->SetMediaType(&carried_);
    }
    ++delivered_;
    return S_OK;
}

HRESULT TestSource::Stream::OnThreadCreate() {
    ++threadsCreated;
    return S_OK;
}

HRESULT TestSource::Stream::OnThreadDestroy() {
    ++threadsDestroyed;
    return S_OK;
}

HRESULT TestSource::Stream::OnThreadStartPlay() {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    double rate = 1.0;
    {
        std::lock_guard lock(mutex_);
        if (!sendSegment_) return S_OK;
        start = segmentStart_;
        stop = segmentStop_;
        rate = segmentRate_;
    }
    return DeliverNewSegment(start, stop, rate);
}

void TestSource::Stream::OnStopRequested() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    stepped_.notify_all();
}

HRESULT TestSource::Stream::Active() {
    if (failActive) return E_FAIL;
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
    }
    return CSourceStream::Active();
}

void TestSource::Stream::Step(int count) {
    std::lock_guard lock(mutex_);
    credit_ += count;
    stepped_.notify_all();
}

void TestSource::Stream::CarryTypeAt(int frame, CMediaType type) {
    std::lock_guard lock(mutex_);
    carryFrame_ = frame;
    carried_ = std::move(type);
}

void TestSource::Stream::SendSegmentOnPlay(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    std::lock_guard lock(mutex_);
    sendSegment_ = true;
    segmentStart_ = start;
    segmentStop_ = stop;
    segmentRate_ = rate;
}

std::vector<BYTE*> TestSource::Stream::FilledBuffers() {
    std::lock_guard lock(mutex_);
    return buffers_;
}

TestSource::TestSource() : CSource("test source", nullptr, CLSID_TestSource) {}

ComPtr<TestSource> TestSource::Create() {
    ComPtr<TestSource> source;
    source.Attach(new TestSource());
    source->AddRef();
    return source;
}

TestSource::Stream* TestSource::AddStream(LPCWSTR name, CMediaType type, BYTE fill) {
    auto stream = std::make_unique<Stream>(this, name, std::move(type), fill);
    Stream* raw = stream.get();
    AddPin(std::move(stream));
    return raw;
}

// ---- TestSink ----

TestSink::Pin::Pin(TestSink* filter)
    : CBaseInputPin("test sink pin", filter, &filter->lock_, nullptr, u"In"), sink_(filter) {}

HRESULT TestSink::Pin::CheckMediaType(const CMediaType* type) {
    if (sink_->refuseAll) return E_FAIL;
    return type->majortype == sink_->majorType_ ? S_OK : S_FALSE;
}

HRESULT TestSink::Pin::Receive(IMediaSample* sample) {
    CAutoLock receive(&sink_->receiveLock_);
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG length = sample->GetActualDataLength();
    {
        std::lock_guard lock(sink_->mutex_);
        sink_->last_.assign(data, data + length);
        sink_->buffers_.push_back(data);
        ++sink_->received_;
    }
    sink_->arrived_.notify_all();
    return S_OK;
}

HRESULT TestSink::Pin::EndOfStream() {
    ++sink_->endOfStreams_;
    sink_->arrived_.notify_all();
    return S_OK;
}

TestSink::TestSink(const GUID& majorType)
    : CBaseFilter("test sink", nullptr, &lock_, CLSID_TestSink),
      majorType_(majorType),
      pin_(std::make_unique<Pin>(this)) {}

TestSink::~TestSink() = default;

ComPtr<TestSink> TestSink::Create(const GUID& majorType) {
    ComPtr<TestSink> sink;
    sink.Attach(new TestSink(majorType));
    sink->AddRef();
    return sink;
}

CUnknown* TestSink::CreateInstance(IUnknown*, HRESULT*) {
    return new TestSink(MEDIATYPE_Video);
}

CBasePin* TestSink::GetPin(int n) {
    return n == 0 ? pin_.get() : nullptr;
}

bool TestSink::WaitForSamples(int count) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, kWait, [&] { return received_ >= count; });
}

int TestSink::Received() {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<BYTE> TestSink::LastData() {
    std::lock_guard lock(mutex_);
    return last_;
}

std::vector<BYTE*> TestSink::ReceivedBuffers() {
    std::lock_guard lock(mutex_);
    return buffers_;
}

// ---- TestMarker ----

TestMarker::TestMarker() : CTransInPlaceFilter("test marker", nullptr, CLSID_TestMarker, nullptr) {}

ComPtr<TestMarker> TestMarker::Create() {
    ComPtr<TestMarker> marker;
    marker.Attach(new TestMarker());
    marker->AddRef();
    return marker;
}

HRESULT TestMarker::CheckInputType(const CMediaType* type) {
    return type->majortype == MEDIATYPE_Video && type->subtype == MEDIASUBTYPE_UYVY ? S_OK
                                                                                    : E_INVALIDARG;
}

HRESULT TestMarker::Transform(IMediaSample* sample) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    if (sample->GetActualDataLength() > 4) data[4] = 0xEE;
    ++transformed;
    return S_OK;
}

HRESULT TestMarker::StartStreaming() {
    ++starts;
    return failStart ? E_FAIL : S_OK;
}

HRESULT TestMarker::StopStreaming() {
    ++stops;
    return S_OK;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, const char16_t* name) {
    ComPtr<IPin> pin;
    filter->FindPin(name, pin.ReleaseAndGetAddressOf());
    return pin;
}

void Unplug(IPin* pin) {
    ComPtr<IPin> peer;
    if (pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) == S_OK) peer->Disconnect();
    pin->Disconnect();
}

HRESULT Plug(IBaseFilter* upstream, const char16_t* from, IBaseFilter* downstream,
             const char16_t* to) {
    ComPtr<IPin> out = PinOf(upstream, from);
    ComPtr<IPin> in = PinOf(downstream, to);
    if (!out || !in) return E_FAIL;
    return out->Connect(in.Get(), nullptr);
}

}  // namespace media_test

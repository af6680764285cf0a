#include "tests/platform/devices/recording_sink.h"

#include <cstring>

#include "platform/media/interfaces/imedia_sample.h"
#include "platform/media/interfaces/media_errors.h"

namespace devices_test {
namespace {

constexpr CLSID kClsidRecordingSink = {0x5EC0D1E5, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
constexpr auto kTimeout = std::chrono::seconds(20);

}  // namespace

ComPtr<RecordingSink> RecordingSink::Create(const GUID& majorType) {
    ComPtr<RecordingSink> sink;
    sink.Attach(new RecordingSink(majorType));
    sink->AddRef();
    return sink;
}

RecordingSink::RecordingSink(const GUID& majorType)
    : CBaseFilter("recording sink", nullptr, &lock_, kClsidRecordingSink),
      majorType_(majorType),
      pin_(std::make_unique<Pin>(this)) {}

CBasePin* RecordingSink::GetPin(int n) {
    return n == 0 ? pin_.get() : nullptr;
}

bool RecordingSink::WaitUntil(const std::function<bool(const RecordingSink&)>& done) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kTimeout, [&] { return done(*this); });
}

std::vector<ReceivedSample> RecordingSink::Samples() {
    std::lock_guard lock(mutex_);
    return samples_;
}

std::vector<BYTE> RecordingSink::LastData() {
    std::lock_guard lock(mutex_);
    return last_;
}

bool RecordingSink::EndOfStreamSeen() {
    std::lock_guard lock(mutex_);
    return endOfStream_;
}

RecordingSink::Pin::Pin(RecordingSink* sink)
    : CBaseInputPin("recording sink pin", sink, &sink->lock_, nullptr, u"In"), sink_(sink) {}

HRESULT RecordingSink::Pin::CheckMediaType(const CMediaType* type) {
    return *type->Type() == sink_->majorType_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RecordingSink::Pin::Receive(IMediaSample* sample) {
    ReceivedSample seen;
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed) {
        if (changed->formattype == FORMAT_VideoInfo &&
            changed->cbFormat >= sizeof(VIDEOINFOHEADER)) {
            VIDEOINFOHEADER info;
            std::memcpy(&info, changed->pbFormat, sizeof info);
            seen.newHeight = info.bmiHeader.biHeight;
        }
        DeleteMediaType(changed);
    }
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    sample->GetTime(&seen.start, &seen.stop);
    seen.length = sample->GetActualDataLength();
    seen.discontinuity = sample->IsDiscontinuity() == S_OK;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    {
        std::lock_guard lock(sink_->mutex_);
        sink_->samples_.push_back(seen);
        sink_->last_.assign(data, data + seen.length);
    }
    sink_->changed_.notify_all();
    return S_OK;
}

HRESULT RecordingSink::Pin::EndOfStream() {
    {
        std::lock_guard lock(sink_->mutex_);
        sink_->endOfStream_ = true;
    }
    sink_->changed_.notify_all();
    return S_OK;
}

}  // namespace devices_test

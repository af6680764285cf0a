#include "platform/devices/grabber_stream.h"

namespace devices {

CGrabberStream::CGrabberStream(const char* objectName, CSource* filter, LPCWSTR name,
                               const DeviceClock* clock)
    : CSourceStream(objectName, nullptr, filter, name), clock_(clock) {}

HRESULT CGrabberStream::Active() {
    queue_.Reset();
    sent_ = 0;
    return CSourceStream::Active();
}

HRESULT CGrabberStream::Run(REFERENCE_TIME start) {
    queue_.Start(clock_->Now());
    return CSourceStream::Run(start);
}

void CGrabberStream::OnStopRequested() {
    queue_.Stop();
}

HRESULT CGrabberStream::FillBuffer(IMediaSample* sample) {
    FrameTick tick;
    if (queue_.TakeNext(&tick) != FrameQueue::Take::Tick) return S_FALSE;
    const std::chrono::nanoseconds origin = queue_.Origin().value_or(tick.time);
    // Stream times in 100 ns units from the stream's start.
    REFERENCE_TIME start = (tick.time - origin).count() / 100;
    REFERENCE_TIME stop = (tick.time + tick.Duration() - origin).count() / 100;
    const HRESULT hr = FillData(tick, sent_, sample);
    if (FAILED(hr)) return hr;
    sample->SetTime(&start, &stop);
    LONGLONG first = static_cast<LONGLONG>(sent_);
    LONGLONG next = first + 1;
    sample->SetMediaTime(&first, &next);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(sent_ == 0 ? TRUE : FALSE);
    ++sent_;
    return S_OK;
}

}  // namespace devices

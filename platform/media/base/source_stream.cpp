#include "platform/media/base/source_stream.h"

#include <system_error>

#include "platform/media/base/source.h"

CSourceStream::CSourceStream(const char* objectName, HRESULT* hr, CSource* filter, LPCWSTR name)
    : CBaseOutputPin(objectName, filter, filter->FilterLock(), hr, name), m_pSource(filter) {}

CSourceStream::~CSourceStream() {
    if (thread_.joinable()) Inactive();
}

HRESULT CSourceStream::OnThreadCreate() {
    return S_OK;
}
HRESULT CSourceStream::OnThreadDestroy() {
    return S_OK;
}
HRESULT CSourceStream::OnThreadStartPlay() {
    return S_OK;
}
void CSourceStream::OnStopRequested() {}

void CSourceStream::OnPushingEnded() {}

HRESULT CSourceStream::Active() {
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr)) return hr;
    if (thread_.joinable()) return S_OK;
    {
        std::lock_guard lock(threadMutex_);
        stopRequested_ = false;
        running_ = false;
        ++generation_;
    }
    try {
        thread_ = std::thread(&CSourceStream::ThreadProc, this);
    } catch (const std::system_error&) {
        CBaseOutputPin::Inactive();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CSourceStream::Inactive() {
    {
        std::lock_guard lock(threadMutex_);
        stopRequested_ = true;
        running_ = false;
        ++generation_;
    }
    wake_.notify_all();
    OnStopRequested();
    const HRESULT hr = m_pAllocator ? CBaseOutputPin::Inactive() : S_OK;
    if (thread_.joinable()) thread_.join();
    return hr;
}

HRESULT CSourceStream::Run(REFERENCE_TIME start) {
    {
        std::lock_guard lock(threadMutex_);
        running_ = true;
        ++generation_;
    }
    wake_.notify_all();
    return CBaseOutputPin::Run(start);
}

void CSourceStream::PausePushing() {
    {
        std::lock_guard lock(threadMutex_);
        running_ = false;
        ++generation_;
    }
    wake_.notify_all();
}

bool CSourceStream::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(threadMutex_);
    wake_.wait_until(lock, deadline, [this] { return stopRequested_ || !running_; });
    return !stopRequested_ && running_;
}

bool CSourceStream::IsPushing() {
    std::lock_guard lock(threadMutex_);
    return running_ && !stopRequested_;
}

void CSourceStream::Park() {
    std::unique_lock lock(threadMutex_);
    const unsigned seen = generation_;
    wake_.wait(lock, [&] { return stopRequested_ || generation_ != seen; });
}

void CSourceStream::ThreadProc() {
    if (FAILED(OnThreadCreate())) {
        std::unique_lock lock(threadMutex_);
        wake_.wait(lock, [this] { return stopRequested_; });
        lock.unlock();
        OnThreadDestroy();
        return;
    }
    bool playing = false;
    for (;;) {
        {
            std::unique_lock lock(threadMutex_);
            if (!running_) playing = false;
            wake_.wait(lock, [this] { return stopRequested_ || running_; });
            if (stopRequested_) break;
        }
        if (!playing) {
            playing = true;
            OnThreadStartPlay();
        }
        ComPtr<IMediaSample> sample;
        if (FAILED(GetDeliveryBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0))) {
            Park();
            continue;
        }
        const HRESULT filled = FillBuffer(sample.Get());
        if (!IsPushing()) continue;  // pausing or stopping: the sample is dropped
        if (filled == S_OK) {
            if (Deliver(sample.Get()) != S_OK) {
                sample = nullptr;
                OnPushingEnded();
                Park();
            }
            continue;
        }
        sample = nullptr;
        DeliverEndOfStream();
        OnPushingEnded();
        Park();
    }
    OnThreadDestroy();
}

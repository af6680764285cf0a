// CSourceStream: an output pin of a push source with its own streaming thread.
//
// The thread starts when the filter leaves stopped (Active) and is joined when it returns to
// stopped (Inactive). It pushes only while the filter runs: each turn it takes a free sample,
// has FillBuffer fill it and delivers it downstream. While the filter is paused it waits.
// When delivery fails (the downstream filter stopped or refused the stream) or FillBuffer ends
// the stream, the thread waits for the next state change instead of pushing on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/media/base/base_output_pin.h"

class CSource;

class CSourceStream : public CBaseOutputPin {
  public:
    // `filter` owns the pin (CSource::AddPin) and outlives it.
    CSourceStream(const char* objectName, HRESULT* hr, CSource* filter, LPCWSTR name);
    // Stops and joins the thread if the filter was not stopped first (it should be: FillBuffer
    // of a derived class that is already destroyed must not run).
    ~CSourceStream() override;

    // Required (with CheckMediaType, GetMediaType and DecideBufferSize of the pin): fills one
    // sample, sets its data length and times. Streaming thread; must not take the filter lock.
    // S_OK: deliver it; S_FALSE: end of stream (EndOfStream goes downstream); failure: the
    // stream ends with an error. A result while the stream is pausing or stopping only drops
    // the sample. A FillBuffer that waits for something should wait with WaitUntil, or
    // override OnStopRequested to be woken.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;

    // Optional, streaming thread: before the first and after the last FillBuffer of a thread,
    // and each time pushing starts after Run. A failing OnThreadCreate keeps the thread idle
    // until it is stopped. Defaults: S_OK.
    virtual HRESULT OnThreadCreate();
    virtual HRESULT OnThreadDestroy();
    virtual HRESULT OnThreadStartPlay();
    // Optional, application thread, under the filter lock: the stream is being stopped; wake a
    // FillBuffer that waits on something of its own. Default: nothing.
    virtual void OnStopRequested();
    // Optional, streaming thread: pushing has ended on its own (a delivery failed or FillBuffer
    // ended the stream) and the thread now waits for the next state change. Default: nothing.
    virtual void OnPushingEnded();

    // Commits the allocator, then starts the thread (idle until Run).
    HRESULT Active() override;
    // Asks the thread to stop, calls OnStopRequested, decommits the allocator and joins.
    HRESULT Inactive() override;
    // Lets the thread push.
    HRESULT Run(REFERENCE_TIME start) override;
    // Called by CSource when the filter goes from running to paused: pushing pauses.
    void PausePushing();

    // Streaming thread: waits until `deadline`; false when the stream stops or pauses first.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    // True while the filter runs and no stop was asked (any thread).
    bool IsPushing();
    // Application thread: the streaming thread exists (between Active and Inactive).
    bool HasThread() const { return thread_.joinable(); }

  protected:
    CSource* const m_pSource;  // owner

  private:
    void ThreadProc();
    // Waits until a state change newer than the one seen when pushing stopped.
    void Park();

    // Guarded by threadMutex_.
    std::mutex threadMutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
    bool running_ = false;
    unsigned generation_ = 0;
    // Application thread only (created in Active, joined in Inactive).
    std::thread thread_;
};

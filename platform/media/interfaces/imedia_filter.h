// IMediaFilter: the state of a filter (stopped, paused, running) and its clock.
#pragma once

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/ipersist.h"
#include "platform/media/interfaces/ireference_clock.h"

struct IMediaFilter : IPersist {
    static constexpr IID kIid = {
        0x56A86899, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // State changes are called by the graph manager on the application thread, never on a
    // streaming thread. Stop returns only when no streaming thread of the filter delivers any
    // more and no sample is being received. Stopping a stopped filter succeeds and does nothing.
    virtual HRESULT Stop() = 0;
    // From stopped: activates the connected pins (allocators committed, streaming threads
    // started). When that fails the filter stays stopped and the failure is returned.
    virtual HRESULT Pause() = 0;
    // Pauses first when stopped. `start` is the reference time that stream time 0 maps to.
    virtual HRESULT Run(REFERENCE_TIME start) = 0;
    // Writes the state; S_OK when it is settled. `milliseconds` bounds a wait for a transition
    // still in progress (VFW_S_STATE_INTERMEDIATE when it does not settle in time).
    virtual HRESULT GetState(DWORD milliseconds, FILTER_STATE* state) = 0;
    // Stores the clock (a counted reference, or null for none).
    virtual HRESULT SetSyncSource(IReferenceClock* clock) = 0;
    // Hands out the clock with a new reference, or null.
    virtual HRESULT GetSyncSource(IReferenceClock** clock) = 0;

  protected:
    ~IMediaFilter() = default;
};

inline constexpr IID IID_IMediaFilter = IMediaFilter::kIid;

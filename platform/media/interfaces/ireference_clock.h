// IReferenceClock: a clock that filters may be given as their synchronisation source. The runtime
// itself runs without one (sources time-stamp from their own clocks); the interface exists so
// that IMediaFilter keeps its published shape.
#pragma once

#include <cstdint>

#include "platform/com/unknown.h"

using DWORD_PTR = std::uintptr_t;
using HEVENT = DWORD_PTR;
using HSEMAPHORE = DWORD_PTR;

struct IReferenceClock : IUnknown {
    static constexpr IID kIid = {
        0x56A86897, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    virtual HRESULT GetTime(REFERENCE_TIME* time) = 0;
    virtual HRESULT AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT event,
                               DWORD_PTR* cookie) = 0;
    virtual HRESULT AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime,
                                   HSEMAPHORE semaphore, DWORD_PTR* cookie) = 0;
    virtual HRESULT Unadvise(DWORD_PTR cookie) = 0;

  protected:
    ~IReferenceClock() = default;
};

inline constexpr IID IID_IReferenceClock = IReferenceClock::kIid;

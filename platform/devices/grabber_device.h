// GrabberDevice: the one device behind the three device filters, whatever the hardware (the
// simulated grabber, or capture hardware through V4L2). The filters use only this surface: the
// private property set, the decoder's video standard, the device's status, its frames and its
// arrivals and removals.
//
// Thread-safe: every operation may be called from any thread.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/base/win_types.h"
#include "platform/com/guid.h"
#include "platform/devices/analog_video_standard.h"
#include "platform/devices/device_clock.h"
#include "platform/devices/grabber_hardware.h"
#include "platform/devices/grabber_listeners.h"

namespace devices {

// The device as seen at one instant.
struct GrabberStatus {
    std::chrono::nanoseconds time{};
    bool attached = false;
    SearchState searchState = SearchState::NotRun;
    bool cycling = false;
    int input = 0;  // as of the last frame
    std::uint8_t signalMask = 0;
    std::uint8_t validInputs = 0;
    int turnSpan = 0;
    bool fastTurning = false;
    int recordInput = 0;
    int recordQuality = 0;
    LONG videoStandard = 0;
    VideoFormat format;  // the picture every video output sends
};

class GrabberDevice {
  public:
    virtual ~GrabberDevice() = default;

    // The device's time base: frame ticks carry times on it, streams start on it.
    virtual const DeviceClock& Clock() const = 0;

    // The private property set, with the meaning of IKsPropertySet's Set, Get and
    // QuerySupported. While the device is removed Set and Get fail with kE_DeviceNotConnected
    // and change nothing.
    virtual HRESULT SetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                                const void* data, DWORD dataBytes) = 0;
    virtual HRESULT GetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                                void* data, DWORD dataBytes, DWORD* returned) = 0;
    virtual HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) = 0;

    // The decoder's video standard ("TV Format"). Put: E_INVALIDARG for a value that is not
    // one supported standard flag. Both fail with kE_DeviceNotConnected while removed.
    virtual HRESULT PutVideoStandard(LONG standard) = 0;
    virtual HRESULT GetVideoStandard(LONG* standard) = 0;

    virtual GrabberStatus Status() = 0;

    // Listeners are not owned and must outlive their registration. Remove returns only when no
    // call to the listener is running on another thread or can still start. A frame listener
    // must not be added or removed from inside a frame callback; a change listener may add and
    // remove change listeners from inside its call.
    virtual void AddFrameListener(FrameListener* listener) = 0;
    virtual void RemoveFrameListener(FrameListener* listener) = 0;
    virtual void AddDeviceChangeListener(DeviceChangeListener* listener) = 0;
    virtual void RemoveDeviceChangeListener(DeviceChangeListener* listener) = 0;
};

}  // namespace devices

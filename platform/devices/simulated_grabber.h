// The simulated four-input grabber as a device: the hardware model of GrabberSimulation on a
// device clock, its private property set with a log of every block received, the decoder's
// video standard, and the listeners that receive its frames and its arrivals and removals.
//
// Thread-safe. Every call first runs the device up to the clock's time, so state read or changed
// is always the state at the clock's "now". In the program the clock is real time and a pacer
// calls Update at each frame; tests use a ManualDeviceClock and step it.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/devices/command_log.h"
#include "platform/devices/device_change_dispatcher.h"
#include "platform/devices/device_clock.h"
#include "platform/devices/grabber_device.h"
#include "platform/devices/grabber_listeners.h"
#include "platform/devices/grabber_simulation.h"

namespace devices {

class SimulatedGrabber final : public GrabberDevice {
  public:
    SimulatedGrabber(Scenario scenario, std::shared_ptr<const DeviceClock> clock);
    SimulatedGrabber(const SimulatedGrabber&) = delete;
    SimulatedGrabber& operator=(const SimulatedGrabber&) = delete;

    // Runs the device up to the clock's time: scenario events, search progress, frame ticks
    // (to the frame listeners) and arrivals and removals (to the change listeners, before this
    // returns unless another thread is delivering them at that moment).
    void Update();
    // Device time at which the device next does something on its own (max() if never).
    std::chrono::nanoseconds NextEventTime();
    const DeviceClock& Clock() const override { return *clock_; }

    // The private property set, with the meaning of IKsPropertySet's Set, Get and
    // QuerySupported. Set and Get are logged. While the device is removed they fail with
    // kE_DeviceNotConnected and change nothing.
    HRESULT SetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                        const void* data, DWORD dataBytes) override;
    HRESULT GetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                        void* data, DWORD dataBytes, DWORD* returned) override;
    HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // The decoder's video standard ("TV Format"). Put: E_INVALIDARG for a value that is not
    // one supported standard flag. Both fail with kE_DeviceNotConnected while removed.
    HRESULT PutVideoStandard(LONG standard) override;
    HRESULT GetVideoStandard(LONG* standard) override;

    GrabberStatus Status() override;
    std::vector<LoggedBlock> CommandLogEntries() const;
    void ClearCommandLog();

    // Listeners are not owned and must outlive their registration. Remove returns only when no
    // call to the listener is running on another thread or can still start. A frame listener
    // must not be added or removed from inside a frame callback; a change listener may add and
    // remove change listeners from inside its call.
    void AddFrameListener(FrameListener* listener) override;
    void RemoveFrameListener(FrameListener* listener) override;
    // Waits, at most `timeout` for each stream of each frame listener, until every frame the
    // device has produced so far has been passed on by the listeners' streams; true when so.
    // A stepped clock races ahead of the streaming threads; this lets its driver keep pace.
    // A listener being removed waits for this to return.
    bool WaitUntilFramesPassedOn(std::chrono::milliseconds timeout);
    void AddDeviceChangeListener(DeviceChangeListener* listener) override;
    void RemoveDeviceChangeListener(DeviceChangeListener* listener) override;

  private:
    // Collects what the hardware model reports while it runs forward; mutex_ is held.
    class Observer final : public SimulationObserver {
      public:
        explicit Observer(SimulatedGrabber* owner) : owner_(owner) {}
        void OnFrameTick(const FrameTick& tick) override;
        void OnAttachedChanged(bool attached, std::chrono::nanoseconds time) override;

      private:
        SimulatedGrabber* owner_;  // the enclosing device
    };

    void AdvanceLocked();
    void DeliverDeviceChanges();

    const std::shared_ptr<const DeviceClock> clock_;
    DeviceChangeDispatcher changes_;  // thread-safe

    // Guarded by mutex_ (frame listeners are called with it held).
    mutable std::mutex mutex_;
    GrabberSimulation device_;
    CommandLog log_;
    std::vector<FrameListener*> frameListeners_;
    // Held by WaitUntilFramesPassedOn while it waits without mutex_, and by RemoveFrameListener
    // before mutex_, so that no listener goes away while it is waited for.
    std::mutex listenerWaitMutex_;
    Observer observer_{this};
};

}  // namespace devices

#include "platform/devices/simulated_grabber.h"

#include "platform/devices/property_handler.h"

namespace devices {

SimulatedGrabber::SimulatedGrabber(Scenario scenario, std::shared_ptr<const DeviceClock> clock)
    : clock_(std::move(clock)), changes_(kSimulatedDevicePath), device_(std::move(scenario)) {}

void SimulatedGrabber::Observer::OnFrameTick(const FrameTick& tick) {
    for (FrameListener* listener : owner_->frameListeners_) listener->OnFrameTick(tick);
}

void SimulatedGrabber::Observer::OnAttachedChanged(bool attached, std::chrono::nanoseconds) {
    owner_->changes_.Post(attached ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE);
}

void SimulatedGrabber::AdvanceLocked() {
    device_.AdvanceTo(clock_->Now(), observer_);
}

void SimulatedGrabber::DeliverDeviceChanges() {
    changes_.Deliver();
}

void SimulatedGrabber::Update() {
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
    }
    DeliverDeviceChanges();
}

std::chrono::nanoseconds SimulatedGrabber::NextEventTime() {
    std::lock_guard lock(mutex_);
    return device_.NextEventTime();
}

HRESULT SimulatedGrabber::SetProperty(REFGUID set, DWORD id, const void* instance,
                                      DWORD instanceBytes, const void* data, DWORD dataBytes) {
    HRESULT hr;
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
        LoggedBlock entry =
            CommandLog::Begin(PropertyAccess::Set, id, device_.Now(), data, dataBytes);
        hr = device_.Attached()
                 ? SetDeviceProperty(device_, set, id, instance, instanceBytes, data, dataBytes)
                 : kE_DeviceNotConnected;
        log_.Finish(entry, data, hr);
    }
    DeliverDeviceChanges();
    return hr;
}

HRESULT SimulatedGrabber::GetProperty(REFGUID set, DWORD id, const void* instance,
                                      DWORD instanceBytes, void* data, DWORD dataBytes,
                                      DWORD* returned) {
    HRESULT hr;
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
        LoggedBlock entry =
            CommandLog::Begin(PropertyAccess::Get, id, device_.Now(), data, dataBytes);
        hr = device_.Attached() ? GetDeviceProperty(device_, set, id, instance, instanceBytes, data,
                                                    dataBytes, returned)
                                : kE_DeviceNotConnected;
        log_.Finish(entry, data, hr);
    }
    DeliverDeviceChanges();
    return hr;
}

HRESULT SimulatedGrabber::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    return QueryDevicePropertySupport(set, id, support);
}

HRESULT SimulatedGrabber::PutVideoStandard(LONG standard) {
    HRESULT hr;
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
        if (!device_.Attached())
            hr = kE_DeviceNotConnected;
        else
            hr = device_.SetVideoStandard(standard) ? S_OK : E_INVALIDARG;
    }
    DeliverDeviceChanges();
    return hr;
}

HRESULT SimulatedGrabber::GetVideoStandard(LONG* standard) {
    if (!standard) return E_POINTER;
    HRESULT hr = S_OK;
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
        if (device_.Attached())
            *standard = device_.VideoStandard();
        else
            hr = kE_DeviceNotConnected;
    }
    DeliverDeviceChanges();
    return hr;
}

GrabberStatus SimulatedGrabber::Status() {
    GrabberStatus status;
    {
        std::lock_guard lock(mutex_);
        AdvanceLocked();
        status.time = device_.Now();
        status.attached = device_.Attached();
        status.searchState = device_.GetSearchState();
        status.cycling = device_.IsCycling();
        status.input = device_.CurrentInput();
        status.signalMask = device_.SignalMask();
        status.validInputs = device_.ValidInputs();
        status.turnSpan = device_.TurnSpan();
        status.fastTurning = device_.FastTurning();
        status.recordInput = device_.RecordInput();
        status.recordQuality = device_.RecordQuality();
        status.videoStandard = device_.VideoStandard();
        status.format = device_.Format();
    }
    DeliverDeviceChanges();
    return status;
}

std::vector<LoggedBlock> SimulatedGrabber::CommandLogEntries() const {
    std::lock_guard lock(mutex_);
    return log_.Entries();
}

void SimulatedGrabber::ClearCommandLog() {
    std::lock_guard lock(mutex_);
    log_.Clear();
}

void SimulatedGrabber::AddFrameListener(FrameListener* listener) {
    std::lock_guard lock(mutex_);
    frameListeners_.push_back(listener);
}

void SimulatedGrabber::RemoveFrameListener(FrameListener* listener) {
    std::lock_guard wait(listenerWaitMutex_);
    std::lock_guard lock(mutex_);
    std::erase(frameListeners_, listener);
}

bool SimulatedGrabber::WaitUntilFramesPassedOn(std::chrono::milliseconds timeout) {
    std::lock_guard wait(listenerWaitMutex_);
    std::vector<FrameListener*> listeners;
    {
        std::lock_guard lock(mutex_);
        listeners = frameListeners_;
    }
    bool passedOn = true;
    for (FrameListener* listener : listeners)
        passedOn = listener->WaitUntilPassedOn(timeout) && passedOn;
    return passedOn;
}

void SimulatedGrabber::AddDeviceChangeListener(DeviceChangeListener* listener) {
    changes_.Add(listener);
}

void SimulatedGrabber::RemoveDeviceChangeListener(DeviceChangeListener* listener) {
    changes_.Remove(listener);
}

}  // namespace devices

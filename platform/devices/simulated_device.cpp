#include "platform/devices/simulated_device.h"

#include "platform/devices/crossbar_filter.h"
#include "platform/devices/device_control_filter.h"
#include "platform/devices/grabber_filter.h"
#include "platform/devices/grabber_identity.h"

namespace devices {

SimulatedDevice::SimulatedDevice(Scenario scenario)
    : SimulatedDevice(std::move(scenario), nullptr, std::make_shared<const SteadyDeviceClock>()) {}

SimulatedDevice::SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock)
    : SimulatedDevice(std::move(scenario), std::move(clock), nullptr) {}

SimulatedDevice::SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock,
                                 std::shared_ptr<const SteadyDeviceClock> steady)
    : grabber_(std::make_shared<SimulatedGrabber>(std::move(scenario),
                                                  clock ? std::move(clock) : steady)) {
    grabber_->AddDeviceChangeListener(this);
    if (grabber_->Status().attached) List();
    if (steady) pacer_ = std::make_unique<RealTimePacer>(grabber_, std::move(steady));
}

SimulatedDevice::~SimulatedDevice() {
    pacer_.reset();
    grabber_->RemoveDeviceChangeListener(this);
    Unlist();
}

bool SimulatedDevice::Listed() {
    std::lock_guard lock(mutex_);
    return listed_[0] != 0;
}

void SimulatedDevice::OnDeviceChange(UINT event, const DeviceBroadcast&) {
    if (event == DBT_DEVICEARRIVAL) List();
    if (event == DBT_DEVICEREMOVECOMPLETE) Unlist();
}

void SimulatedDevice::List() {
    std::lock_guard lock(mutex_);
    if (listed_[0] != 0) return;
    DeviceRegistry& registry = DeviceRegistry::Instance();
    const std::shared_ptr<SimulatedGrabber> device = grabber_;
    listed_[0] = registry.Add(kCrossbarCategory, kCrossbarName,
                              [](IBaseFilter** filter) { return CCrossbarFilter::Create(filter); });
    listed_[1] = registry.Add(kGrabberCategory, kGrabberName, [device](IBaseFilter** filter) {
        return CGrabberFilter::Create(device, filter);
    });
    listed_[2] = registry.Add(
        kDeviceControlCategory, kDeviceControlName,
        [device](IBaseFilter** filter) { return CDeviceControlFilter::Create(device, filter); });
}

void SimulatedDevice::Unlist() {
    std::lock_guard lock(mutex_);
    for (DeviceRegistry::DeviceId& id : listed_) {
        if (id != 0) DeviceRegistry::Instance().Remove(id);
        id = 0;
    }
}

}  // namespace devices

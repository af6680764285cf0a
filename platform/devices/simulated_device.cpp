#include "platform/devices/simulated_device.h"

namespace devices {

SimulatedDevice::SimulatedDevice(Scenario scenario)
    : SimulatedDevice(std::move(scenario), nullptr, std::make_shared<const SteadyDeviceClock>()) {}

SimulatedDevice::SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock)
    : SimulatedDevice(std::move(scenario), std::move(clock), nullptr) {}

SimulatedDevice::SimulatedDevice(Scenario scenario, std::shared_ptr<const DeviceClock> clock,
                                 std::shared_ptr<const SteadyDeviceClock> steady)
    : grabber_(std::make_shared<SimulatedGrabber>(std::move(scenario),
                                                  clock ? std::move(clock) : steady)),
      listing_(grabber_) {
    grabber_->AddDeviceChangeListener(this);
    if (grabber_->Status().attached) listing_.List();
    if (steady) pacer_ = std::make_unique<RealTimePacer>(grabber_, std::move(steady));
}

SimulatedDevice::~SimulatedDevice() {
    pacer_.reset();
    grabber_->RemoveDeviceChangeListener(this);
    listing_.Unlist();
}

bool SimulatedDevice::Listed() {
    return listing_.Listed();
}

void SimulatedDevice::OnDeviceChange(UINT event, const DeviceBroadcast&) {
    if (event == DBT_DEVICEARRIVAL) listing_.List();
    if (event == DBT_DEVICEREMOVECOMPLETE) listing_.Unlist();
}

}  // namespace devices

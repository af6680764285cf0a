#include "viewer/main_window/device_notification.h"

#include "platform/devices/simulated_grabber.h"
#include "viewer/main_window/udev_monitor.h"

CDeviceNotification::CDeviceNotification(QObject* receiver, Deliver deliver,
                                         devices::SimulatedGrabber* simulator, bool watchUdev,
                                         UdevHook udevHook, EventSource hardware)
    : receiver_(receiver),
      deliver_(std::move(deliver)),
      simulator_(simulator),
      hardware_(std::move(hardware)) {
    if (simulator_) simulator_->AddDeviceChangeListener(this);
    if (hardware_) hardware_(this);
    if (watchUdev)
        udev_ = std::make_unique<CUdevMonitor>(
            [this, hook = std::move(udevHook)](UINT event, const devices::DeviceBroadcast& record,
                                               const std::string& node) {
                if (!hook || hook(event, node)) Post(event, record);
            });
}

CDeviceNotification::~CDeviceNotification() {
    if (simulator_) simulator_->RemoveDeviceChangeListener(this);
    if (hardware_) hardware_(nullptr);
}

bool CDeviceNotification::WatchesUdev() const {
    return udev_ && udev_->IsActive();
}

void CDeviceNotification::OnDeviceChange(UINT event, const devices::DeviceBroadcast& record) {
    Post(event, record);
}

void CDeviceNotification::Post(UINT event, const devices::DeviceBroadcast& record) const {
    QByteArray bytes(reinterpret_cast<const char*>(record.Bytes()),
                     static_cast<qsizetype>(record.Size()));
    QMetaObject::invokeMethod(
        receiver_, [deliver = deliver_, event, bytes] { deliver(event, bytes); },
        Qt::QueuedConnection);
}

// CUdevMonitor: watches the video4linux subsystem through libudev and reports capture devices
// being added and removed, as the device-interface broadcast record of a capture-class device
// (udev_event.h gives the path). It reads its netlink socket on the GUI thread when the socket
// becomes readable; the sink is called there. Without udev (no permission, no netlink in a
// sandbox) it stays inactive and reports nothing.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/base/win_types.h"
#include "platform/devices/device_broadcast.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

class CUdevMonitor final : public QObject {
    Q_OBJECT

  public:
    // `node` is the kernel's name of the video node ("video0").
    using Sink = std::function<void(UINT event, const devices::DeviceBroadcast& record,
                                    const std::string& node)>;

    explicit CUdevMonitor(Sink sink, QObject* parent = nullptr);
    ~CUdevMonitor() override;

    bool IsActive() const { return monitor_ != nullptr; }

  private:
    void OnReadable();

    struct UdevUnref {
        void operator()(udev* context) const;
    };
    struct MonitorUnref {
        void operator()(udev_monitor* monitor) const;
    };

    Sink sink_;
    std::unique_ptr<udev, UdevUnref> udev_;
    std::unique_ptr<udev_monitor, MonitorUnref> monitor_;  // released before udev_
    QSocketNotifier* notifier_ = nullptr;                  // child
};

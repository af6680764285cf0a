// CDeviceNotification: the main window's registration for arrivals and removals of capture-class
// device interfaces. It listens to the simulated grabber (whose events come on the grabber's own
// thread), to the capture hardware's own removal (on a capture thread) and, when asked, to udev
// for real video4linux devices, and hands every event with a
// copy of its broadcast record to the window on the GUI thread, queued, never from inside the
// source's call. Destroying the registration stops the events; events already queued for a
// window that is gone are dropped with it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/devices/grabber_listeners.h"

class CUdevMonitor;
namespace devices {
class SimulatedGrabber;
}

class CDeviceNotification final : private devices::DeviceChangeListener {
  public:
    using Deliver = std::function<void(UINT event, const QByteArray& record)>;
    // Called on the GUI thread with each udev event of a video node (its kernel name, e.g.
    // "video0") before the event is queued for the window: the program attaches or detaches
    // the capture hardware it uses there, so that the window's arrival handling finds it.
    // False keeps the event from the window (the window heard of it already, or the device is
    // not complete yet).
    using UdevHook = std::function<bool(UINT event, const std::string& node)>;
    // Called with the listener that queues events for the window, for a source other than the
    // simulator and udev (the capture hardware's removal noticed mid-stream), and with null
    // before the registration goes.
    using EventSource = std::function<void(devices::DeviceChangeListener* listener)>;

    // `receiver` (the window) owns the queued calls of `deliver`. `simulator` (may be null)
    // must outlive the registration.
    CDeviceNotification(QObject* receiver, Deliver deliver, devices::SimulatedGrabber* simulator,
                        bool watchUdev, UdevHook udevHook = {}, EventSource hardware = {});
    // Returns when no simulator event is being handed over any more.
    ~CDeviceNotification();
    CDeviceNotification(const CDeviceNotification&) = delete;
    CDeviceNotification& operator=(const CDeviceNotification&) = delete;

    bool WatchesUdev() const;

  private:
    // Any thread.
    void OnDeviceChange(UINT event, const devices::DeviceBroadcast& record) override;
    void Post(UINT event, const devices::DeviceBroadcast& record) const;

    // Immutable after construction.
    QObject* const receiver_;
    const Deliver deliver_;
    devices::SimulatedGrabber* const simulator_;
    const EventSource hardware_;
    // GUI thread.
    std::unique_ptr<CUdevMonitor> udev_;
};

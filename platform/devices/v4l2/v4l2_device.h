// V4l2Device: the capture hardware the user chose, as the program sees it: while the hardware
// is open its three device filters are on the device list, exactly like the simulated
// grabber's. Attach opens the node (or the nodes, one per input), starts the capture threads
// and lists the filters; a removal noticed by the capture (ENODEV) takes them off the list at
// once; Detach stops everything. A device that comes back is attached again by its owner (the
// program does so on the udev arrival of one of its nodes).
//
// The window hears of the device going and coming once each, whoever notices first: the removal
// noticed by the capture is handed to the removal listener as the device's removal record (the
// one udev gives), so that the alarm does not wait for udev (which may be absent); udev's own
// removal of one of the nodes then, or of the other nodes of a one-node-per-input card, is not
// passed on again. An arrival is passed on only once every node of the device is there (the
// nodes of such a card arrive one by one), when the device is attached again.
//
// Thread contract: Attach, Detach, NodeArrived, NodeRemoved, SetRemovalListener and the
// destructor on the owner's thread (the GUI thread); the removal arrives on a capture thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/devices/filter_listing.h"
#include "platform/devices/v4l2/v4l2_grabber.h"

namespace devices {

class V4l2Device final : private DeviceChangeListener {
  public:
    // Opens one node: the node, or null with the errno value in *error.
    using NodeOpener =
        std::function<std::unique_ptr<V4l2Node>(const std::string& path, int* error)>;

    // `nodePaths`: one node with several inputs, or one node per input (at most four).
    // `devicePath`: the broadcast record's path of the device. `opener`: the kernel's nodes
    // unless given (tests give scripted ones).
    // `soundDevice`: the ALSA capture device of the hardware's sound card (empty: none, the
    // audio is silence; one that cannot be opened is silence too).
    V4l2Device(std::vector<std::string> nodePaths, std::u16string devicePath,
               NodeOpener opener = {}, std::string soundDevice = {});
    ~V4l2Device();
    V4l2Device(const V4l2Device&) = delete;
    V4l2Device& operator=(const V4l2Device&) = delete;

    // Opens and starts the hardware and lists the filters; 0, or the errno value of the step
    // that failed (with the failing node in *failedNode). Attached already: 0.
    int Attach(std::string* failedNode = nullptr);
    void Detach();
    bool Listed();
    // The grabber while attached; null otherwise.
    std::shared_ptr<V4l2Grabber> Grabber() const { return grabber_; }
    const std::vector<std::string>& NodePaths() const { return nodePaths_; }
    // Whether `node` (a /dev path, or a kernel name like "video0") is one of the device's, now
    // or when it was last attached (a removed node no longer resolves).
    bool Owns(const std::string& node) const;

    // The listener that gets the removal the capture notices, once (null: nobody). Returns when
    // no call to the previous listener is running.
    void SetRemovalListener(DeviceChangeListener* listener);
    // udev: one of the device's nodes arrived. Attaches the device; true when the window should
    // hear of the arrival: the device was not attached and now every node opened (or one that
    // is there failed for another reason, which the window then reports).
    bool NodeArrived();
    // udev: one of the device's nodes went. Detaches the device; true when the window should
    // hear of the removal: nobody told it yet that the device went.
    bool NodeRemoved();

  private:
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override;

    // Immutable.
    const std::vector<std::string> nodePaths_;
    const std::u16string devicePath_;
    const NodeOpener opener_;
    const std::string soundDevice_;
    // Owner's thread; the listing is thread-safe (unlisted from a capture thread on removal).
    std::shared_ptr<V4l2Grabber> grabber_;
    std::unique_ptr<FilterListing> listing_;
    std::vector<std::string> attachedNodes_;  // the kernel's nodes at the last Attach
    // Guarded by mutex_ (held while the removal listener is called): the listing the capture
    // thread may unlist, the removal listener and whether the window heard that the device went.
    std::mutex mutex_;
    FilterListing* current_ = nullptr;
    DeviceChangeListener* removalListener_ = nullptr;
    bool removalTold_ = false;
};

}  // namespace devices

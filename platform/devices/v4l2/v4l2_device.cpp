#include "platform/devices/v4l2/v4l2_device.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/devices/v4l2/alsa_sound_source.h"
#include "platform/devices/v4l2/kernel_v4l2_node.h"

namespace devices {
namespace {

// The kernel's node a path leads to ("/dev/v4l/by-id/..." -> "/dev/video0").
std::string Resolved(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(path, error);
    return error ? path : canonical.string();
}

}  // namespace

V4l2Device::V4l2Device(std::vector<std::string> nodePaths, std::u16string devicePath,
                       NodeOpener opener, std::string soundDevice)
    : nodePaths_(std::move(nodePaths)),
      devicePath_(std::move(devicePath)),
      opener_(opener ? std::move(opener) : NodeOpener([](const std::string& path, int* error) {
          return std::unique_ptr<V4l2Node>(KernelV4l2Node::Open(path, error));
      })),
      soundDevice_(std::move(soundDevice)) {}

V4l2Device::~V4l2Device() {
    Detach();
}

int V4l2Device::Attach(std::string* failedNode) {
    if (grabber_) return 0;
    std::vector<std::unique_ptr<V4l2Node>> nodes;
    for (const std::string& path : nodePaths_) {
        int error = ENODEV;
        std::unique_ptr<V4l2Node> node = opener_(path, &error);
        if (!node) {
            if (failedNode) *failedNode = path;
            return error;
        }
        nodes.push_back(std::move(node));
    }
    if (nodes.empty() || nodes.size() > 4) return EINVAL;
    V4l2GrabberConfig config;
    config.devicePath = devicePath_;
    std::unique_ptr<SoundSource> sound;
    if (!soundDevice_.empty()) {
        int soundError = 0;
        sound = AlsaSoundSource::Open(soundDevice_, &soundError);
    }
    auto grabber = std::make_shared<V4l2Grabber>(
        std::move(nodes), config, std::make_shared<const SteadyDeviceClock>(), std::move(sound));
    if (const int error = grabber->Open()) {
        if (failedNode) *failedNode = nodePaths_.front();
        return error;
    }
    grabber_ = grabber;
    attachedNodes_.clear();
    for (const std::string& path : nodePaths_) attachedNodes_.push_back(Resolved(path));
    listing_ = std::make_unique<FilterListing>(grabber_);
    {
        std::lock_guard lock(mutex_);
        current_ = listing_.get();
    }
    grabber_->AddDeviceChangeListener(this);
    listing_->List();
    grabber_->Start();
    return 0;
}

void V4l2Device::Detach() {
    if (!grabber_) return;
    // First: no removal call from a capture thread may reach the listing any more.
    grabber_->RemoveDeviceChangeListener(this);
    {
        std::lock_guard lock(mutex_);
        current_ = nullptr;
    }
    listing_.reset();
    // Filters still in a graph keep the grabber; it captures nothing more.
    grabber_->Stop();
    grabber_.reset();
}

bool V4l2Device::Listed() {
    std::lock_guard lock(mutex_);
    return current_ && current_->Listed();
}

bool V4l2Device::Owns(const std::string& node) const {
    const std::string wanted = node.find('/') == std::string::npos ? "/dev/" + node : node;
    const std::string resolved = Resolved(wanted);
    for (const std::string& path : nodePaths_)
        if (path == wanted || Resolved(path) == resolved) return true;
    for (const std::string& path : attachedNodes_)
        if (path == wanted) return true;
    return false;
}

void V4l2Device::SetRemovalListener(DeviceChangeListener* listener) {
    std::lock_guard lock(mutex_);
    removalListener_ = listener;
}

bool V4l2Device::NodeArrived() {
    if (grabber_) return false;  // attached already: this arrival was told with the first
    const int error = Attach();
    // A node still missing: the card's other nodes are on their way; their arrival comes.
    if (error == ENOENT || error == ENODEV || error == ENXIO) return false;
    std::lock_guard lock(mutex_);
    removalTold_ = false;
    return true;
}

bool V4l2Device::NodeRemoved() {
    Detach();
    std::lock_guard lock(mutex_);
    return !std::exchange(removalTold_, true);
}

void V4l2Device::OnDeviceChange(UINT event, const DeviceBroadcast& record) {
    if (event != DBT_DEVICEREMOVECOMPLETE) return;
    std::lock_guard lock(mutex_);
    if (current_) current_->Unlist();
    if (removalListener_ && !removalTold_) {
        removalTold_ = true;
        removalListener_->OnDeviceChange(event, record);
    }
}

}  // namespace devices

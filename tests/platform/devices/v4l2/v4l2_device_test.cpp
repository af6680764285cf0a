// The chosen capture hardware as the program sees it: its three filters listed while it is
// attached, taken off the list when it disappears mid-stream, listed again when it is attached
// after an arrival; and what --list-devices finds on a node and prints.
#include "platform/devices/v4l2/v4l2_device.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <condition_variable>
#include <mutex>

#include "platform/devices/grabber_identity.h"
#include "platform/devices/v4l2/capture_catalog.h"
#include "platform/media/graph/device_registry.h"
#include "tests/platform/devices/v4l2/scripted_v4l2_node.h"

namespace devices {
namespace {

using devices_test::ScriptedV4l2Node;

bool GrabberListed() {
    for (const DeviceRegistry::Device& entry : DeviceRegistry::Instance().Devices(kGrabberCategory))
        if (entry.friendlyName == kGrabberName) return true;
    return false;
}

// Waits for the removal the capture thread delivers.
class RemovalWaiter final : public DeviceChangeListener {
  public:
    void OnDeviceChange(UINT, const DeviceBroadcast&) override {
        std::lock_guard lock(mutex_);
        removed_ = true;
        changed_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return removed_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool removed_ = false;
};

class V4l2DeviceTest : public testing::Test {
  protected:
    // Every node opened is a gated scripted node (its capture thread waits for frames).
    V4l2Device::NodeOpener Opener() {
        return [this](const std::string& path, int* error) -> std::unique_ptr<V4l2Node> {
            if (path == "/dev/missing") {
                *error = ENOENT;
                return nullptr;
            }
            auto node = std::make_unique<ScriptedV4l2Node>();
            node->SetGated(true);
            opened_.push_back(node.get());
            return node;
        };
    }
    std::vector<ScriptedV4l2Node*> opened_;  // owned by the device's grabber
};

TEST_F(V4l2DeviceTest, AttachedHardwareListsItsFiltersAndARemovalMidStreamUnlistsThem) {
    V4l2Device device({"/dev/video0"}, u"\\\\?\\USB#VID_1B71&PID_3002#0001#{x}\\global", Opener());
    EXPECT_FALSE(GrabberListed());
    ASSERT_EQ(device.Attach(), 0);
    EXPECT_TRUE(device.Listed());
    EXPECT_TRUE(GrabberListed());
    EXPECT_EQ(device.Attach(), 0);  // attached already
    EXPECT_EQ(opened_.size(), 1u);

    RemovalWaiter waiter;
    device.Grabber()->AddDeviceChangeListener(&waiter);
    opened_[0]->Remove();
    waiter.Wait();
    device.Grabber()->RemoveDeviceChangeListener(&waiter);
    EXPECT_FALSE(device.Listed());
    EXPECT_FALSE(GrabberListed());

    // The udev removal, then its arrival: new nodes, listed again.
    device.Detach();
    EXPECT_FALSE(device.Grabber());
    ASSERT_EQ(device.Attach(), 0);
    EXPECT_EQ(opened_.size(), 2u);
    EXPECT_TRUE(GrabberListed());
    device.Detach();
    EXPECT_FALSE(GrabberListed());
}

TEST_F(V4l2DeviceTest, HardwareThatCannotBeOpenedStaysUnlistedAndSaysWhichNode) {
    V4l2Device device({"/dev/video0", "/dev/missing"}, u"path", Opener());
    std::string failed;
    EXPECT_EQ(device.Attach(&failed), ENOENT);
    EXPECT_EQ(failed, "/dev/missing");
    EXPECT_FALSE(device.Listed());
    EXPECT_FALSE(device.Grabber());

    V4l2Device refusing({"/dev/video0"}, u"path", [](const std::string&, int*) {
        auto node = std::make_unique<ScriptedV4l2Node>();
        node->Fail(ScriptedV4l2Node::Call::SetFormat, EINVAL, -1);
        return std::unique_ptr<V4l2Node>(std::move(node));
    });
    EXPECT_EQ(refusing.Attach(&failed), EINVAL);
    EXPECT_FALSE(GrabberListed());

    // Its nodes by path and by the kernel's name.
    EXPECT_TRUE(device.Owns("/dev/video0"));
    EXPECT_TRUE(device.Owns("video0"));
    EXPECT_FALSE(device.Owns("video1"));
}

TEST(CaptureCatalogTest, AProbeSelectsEachInputReadsItsSignalAndRestoresTheInput) {
    ScriptedV4l2Node node;
    node.SetSignal(2, false);
    node.SetStatusFlags(4, V4L2_IN_ST_NO_H_LOCK);
    node.SetInput(2);
    int settles = 0;
    CaptureNodeInfo info;
    ASSERT_TRUE(ProbeCaptureNode(
        node, [&] { ++settles; }, &info));
    EXPECT_EQ(settles, 4);
    EXPECT_EQ(info.card, "Scripted four-input grabber");
    ASSERT_EQ(info.inputs.size(), 4u);
    EXPECT_EQ(info.inputs[0].name, "Composite 1");
    EXPECT_TRUE(info.inputs[0].signal);
    EXPECT_FALSE(info.inputs[1].signal);
    EXPECT_TRUE(info.inputs[2].signal);
    EXPECT_FALSE(info.inputs[3].signal);
    EXPECT_EQ(node.CurrentIndex(), 2);

    // An input that cannot be selected has an unknown status.
    ScriptedV4l2Node refusing;
    refusing.Fail(ScriptedV4l2Node::Call::SetInput, EINVAL, 1);
    CaptureNodeInfo partly;
    ASSERT_TRUE(ProbeCaptureNode(refusing, {}, &partly));
    EXPECT_FALSE(partly.inputs[0].known);
    EXPECT_TRUE(partly.inputs[1].known);
}

TEST(CaptureCatalogTest, TheListingShowsStableNamesInputsAndNodesThatCannotBeOpened) {
    CaptureNodeInfo grabber;
    grabber.node = "/dev/video0";
    grabber.stableNames = {"/dev/v4l/by-id/usb-Grabber_0001-video-index0"};
    grabber.card = "USB Grabber";
    grabber.driver = "usbtv";
    grabber.busInfo = "usb-0000:00:14.0-1";
    grabber.inputs = {
        {"Composite 1", true, true}, {"Composite 2", false, true}, {"S-Video", false, false}};
    CaptureNodeInfo locked;
    locked.node = "/dev/video2";
    locked.openError = EACCES;
    EXPECT_EQ(FormatCaptureDevices({grabber, locked}),
              "/dev/video0: USB Grabber (usbtv, usb-0000:00:14.0-1)\n"
              "  /dev/v4l/by-id/usb-Grabber_0001-video-index0\n"
              "  input 1 \"Composite 1\": signal\n"
              "  input 2 \"Composite 2\": no signal\n"
              "  input 3 \"S-Video\": status unknown\n"
              "/dev/video2: cannot be opened (Permission denied); is the user in the video "
              "group?\n");
    EXPECT_EQ(FormatCaptureDevices({}),
              "No capture devices found (the simulated grabber is used).\n");
}

}  // namespace
}  // namespace devices

// The chosen capture hardware as the program sees it: its three filters listed while it is
// attached, taken off the list when it disappears mid-stream, listed again when it is attached
// after an arrival; and what --list-devices finds on a node and prints.
#include "platform/devices/v4l2/v4l2_device.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>

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

// Waits for the removal the capture thread delivers, and keeps what came.
class RemovalWaiter final : public DeviceChangeListener {
  public:
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override {
        std::lock_guard lock(mutex_);
        ++removals_;
        event_ = event;
        path_ = record.Record()->dbcc_name;
        changed_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return removals_ > 0; });
    }
    int Removals() {
        std::lock_guard lock(mutex_);
        return removals_;
    }
    UINT Event() {
        std::lock_guard lock(mutex_);
        return event_;
    }
    std::u16string Path() {
        std::lock_guard lock(mutex_);
        return path_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int removals_ = 0;
    UINT event_ = 0;
    std::u16string path_;
};

class V4l2DeviceTest : public testing::Test {
  protected:
    // Every node opened is a gated scripted node (its capture thread waits for frames).
    V4l2Device::NodeOpener Opener() {
        return [this](const std::string& path, int* error) -> std::unique_ptr<V4l2Node> {
            if (path == "/dev/missing" || missing_.count(path)) {
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
    std::set<std::string> missing_;          // nodes that are not there (ENOENT)
};

constexpr char16_t kPath[] = u"\\\\?\\USB#VID_1B71&PID_3002#0001#{x}\\global";

TEST_F(V4l2DeviceTest, TheWindowHearsOfARemovalOnceWhoeverNoticesItFirst) {
    V4l2Device device({"/dev/video0"}, kPath, Opener());
    RemovalWaiter window;
    device.SetRemovalListener(&window);
    ASSERT_EQ(device.Attach(), 0);

    // The capture notices first (ENODEV): the window gets the device's removal record at once.
    opened_[0]->Remove();
    window.Wait();
    EXPECT_EQ(window.Event(), static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ(window.Path(), kPath);
    EXPECT_FALSE(GrabberListed());
    // udev's removal later is not told again.
    EXPECT_FALSE(device.NodeRemoved());
    EXPECT_FALSE(device.Grabber());

    // Back: the arrival is told once and the device is attached again.
    EXPECT_TRUE(device.NodeArrived());
    EXPECT_TRUE(GrabberListed());
    EXPECT_FALSE(device.NodeArrived());  // attached already
    EXPECT_EQ(opened_.size(), 2u);

    // udev notices first this time: its removal is told (by udev itself), once.
    EXPECT_TRUE(device.NodeRemoved());
    EXPECT_FALSE(GrabberListed());
    EXPECT_FALSE(device.NodeRemoved());
    device.SetRemovalListener(nullptr);
    EXPECT_EQ(window.Removals(), 1);
}

TEST_F(V4l2DeviceTest, ACardWithOneNodePerInputArrivesWhenItsLastNodeIsThere) {
    const std::vector<std::string> nodes{"/dev/video0", "/dev/video1", "/dev/video2",
                                         "/dev/video3"};
    V4l2Device device(nodes, kPath, Opener());
    // The nodes come one by one: only the last one's arrival is told, with all four open.
    missing_ = {"/dev/video1", "/dev/video2", "/dev/video3"};
    EXPECT_FALSE(device.NodeArrived());
    missing_.erase("/dev/video1");
    EXPECT_FALSE(device.NodeArrived());
    missing_.erase("/dev/video3");
    EXPECT_FALSE(device.NodeArrived());
    EXPECT_FALSE(device.Grabber());
    EXPECT_FALSE(GrabberListed());
    missing_.clear();
    EXPECT_TRUE(device.NodeArrived());
    ASSERT_TRUE(device.Grabber());
    EXPECT_TRUE(device.Grabber()->OneNodePerInput());
    EXPECT_TRUE(GrabberListed());
    // The four removals are one removal for the window.
    int told = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) told += device.NodeRemoved() ? 1 : 0;
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(GrabberListed());

    // A node that is there but refuses to open is told: the window reports the failure.
    V4l2Device refusing({"/dev/video0"}, kPath, [](const std::string&, int* error) {
        *error = EBUSY;
        return std::unique_ptr<V4l2Node>();
    });
    EXPECT_TRUE(refusing.NodeArrived());
    EXPECT_FALSE(refusing.Grabber());
}

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

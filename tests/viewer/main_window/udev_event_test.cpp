// udev events of video4linux devices as capture-device notifications: only additions and
// removals count, and only devices on the USB bus get the path the viewer reacts to.
#include <gtest/gtest.h>

#include "platform/devices/device_broadcast.h"
#include "viewer/main_window/capture_broadcast.h"
#include "viewer/main_window/udev_event.h"

namespace {

bool Passes(const UdevDeviceInfo& info) {
    const devices::DeviceBroadcast record(devices::KSCATEGORY_CAPTURE, CaptureInterfacePath(info));
    return IsUsbCaptureBroadcast(record.Bytes(), record.Size());
}

TEST(UdevEventTest, AdditionsAndRemovalsOnly) {
    EXPECT_EQ(DeviceEventOf("add"), devices::DBT_DEVICEARRIVAL);
    EXPECT_EQ(DeviceEventOf("remove"), devices::DBT_DEVICEREMOVECOMPLETE);
    EXPECT_FALSE(DeviceEventOf("change"));
    EXPECT_FALSE(DeviceEventOf("bind"));
    EXPECT_FALSE(DeviceEventOf(""));
}

TEST(UdevEventTest, UsbCameraGetsAUsbInterfacePath) {
    const UdevDeviceInfo camera{"add", "usb", "046d", "0825", "A1B2#C3", "video0"};
    EXPECT_EQ(CaptureInterfacePath(camera),
              u"\\\\?\\USB#VID_046D&PID_0825#A1B2C3#{65e8773d-8f56-11d0-a3b9-00a0c9223196}"
              u"\\global");
    EXPECT_TRUE(Passes(camera));
}

TEST(UdevEventTest, OtherBusesAndVirtualDevicesDoNotPass) {
    const UdevDeviceInfo pci{"add", "pci", "1131", "7160", "", "video2"};
    EXPECT_EQ(CaptureInterfacePath(pci).substr(0, 8), u"\\\\?\\PCI#");
    EXPECT_FALSE(Passes(pci));
    const UdevDeviceInfo loopback{"add", "", "", "", "", "video9"};
    EXPECT_EQ(CaptureInterfacePath(loopback).substr(0, 33),
              u"\\\\?\\ROOT#VID_0000&PID_0000#video9");
    EXPECT_FALSE(Passes(loopback));
}

}  // namespace

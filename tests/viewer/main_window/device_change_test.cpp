// Capture devices arriving and leaving: which records count, what removal stops and resets, and
// arrival starting the capture again, directly and through the simulated grabber's events.
#include "tests/viewer/main_window/disk_and_clock_fakes.h"
#include "tests/viewer/main_window/main_window_fixture.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/main_window/capture_broadcast.h"
#include "viewer/widgets/message_popup.h"

namespace main_window_test {
namespace {

using devices::DBT_DEVICEARRIVAL;
using devices::DBT_DEVICEREMOVECOMPLETE;
using std::chrono::seconds;

constexpr std::u16string_view kUsbPath = devices::kSimulatedDevicePath;
// KSCATEGORY_VIDEO, another class of the same devices.
constexpr GUID kVideoClass = {
    0x6994AD05, 0x93EF, 0x11D0, {0xA3, 0xCC, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

TEST(CaptureBroadcastTest, OnlyUsbCaptureInterfacesPass) {
    const devices::DeviceBroadcast usb = Record(kUsbPath);
    EXPECT_TRUE(IsUsbCaptureBroadcast(usb.Bytes(), usb.Size()));
    const devices::DeviceBroadcast otherClass = Record(kUsbPath, kVideoClass);
    EXPECT_FALSE(IsUsbCaptureBroadcast(otherClass.Bytes(), otherClass.Size()));
    const devices::DeviceBroadcast lower = Record(u"\\\\?\\usb#VID_0000&PID_0004#1");
    EXPECT_FALSE(IsUsbCaptureBroadcast(lower.Bytes(), lower.Size()));
    const devices::DeviceBroadcast pci = Record(u"\\\\?\\PCI#VEN_1131&DEV_7160#1");
    EXPECT_FALSE(IsUsbCaptureBroadcast(pci.Bytes(), pci.Size()));
    const devices::DeviceBroadcast bare = Record(u"\\\\?\\USB");  // exactly the seven
    EXPECT_TRUE(IsUsbCaptureBroadcast(bare.Bytes(), bare.Size()));
    const devices::DeviceBroadcast shorter = Record(u"\\\\?\\US");
    EXPECT_FALSE(IsUsbCaptureBroadcast(shorter.Bytes(), shorter.Size() - 2));
    EXPECT_FALSE(IsUsbCaptureBroadcast(usb.Bytes(), 30));
    EXPECT_FALSE(IsUsbCaptureBroadcast(nullptr, 100));
    // A copy at an odd address reads the same.
    std::vector<unsigned char> odd(usb.Size() + 1);
    std::memcpy(odd.data() + 1, usb.Bytes(), usb.Size());
    EXPECT_TRUE(IsUsbCaptureBroadcast(odd.data() + 1, usb.Size()));
}

TEST_F(MainWindowTest, RecordsOfAnotherClassPrefixOrEventAreLeftToDefaultProcessing) {
    Attach("");
    Open();
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_FALSE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath, kVideoClass)));
    EXPECT_FALSE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(u"\\\\?\\usb#VID_0000&PID_0004")));
    EXPECT_FALSE(DeviceChange(0x8001, Record(kUsbPath)));  // query remove
    EXPECT_FALSE(DeviceChange(0x0007, Record(kUsbPath)));  // nodes changed
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(window_->Message(), nullptr);
    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
}

TEST_F(MainWindowTest, RemovalStopsRecordingResetsTheTogglesAndFreesTheGraph) {
    FakeClock clock;  // the stored schedule days are today by this clock
    recordingClock_ = &clock;
    Attach("");
    Open();
    CaptureGraph* graph = window_->Capture().Graph();
    ASSERT_NE(graph, nullptr);
    // A signal baseline taken, muted, recording, stamp off, timed snapshots on.
    StepTo(seconds(3));
    window_->OnTimer(ID_TIMER_WATCH);
    ASSERT_EQ(window_->Alarms().Masks().baseline, 0x0F);
    LogInNow();
    Click(IDC_VOLUME_ON);
    ASSERT_FALSE(window_->Capture().VolumeOn());
    window_->Recording().RecordingStarted(u"/a");
    window_->SetLatched(IDC_RECORDER, true);
    window_->SetTimer(ID_TIMER_DISKSPACE, 30000);
    window_->SetTimer(ID_TIMER_FILESIZE, 60000);
    for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
        EnableDlgItem(window_.get(), id, false);
    window_->SetLatched(IDC_SHOW_STAMP, false);
    Click(IDC_TIMER_SNAP);
    ASSERT_TRUE(Latched(IDC_TIMER_SNAP));
    ASSERT_TRUE(graph->showSnapIcon);

    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));

    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_TRUE(window_->Message()->isVisible());
    EXPECT_EQ(window_->Message()->Text(), QStringLiteral("警报,设备被移除!!"));
    EXPECT_FALSE(window_->Recording().Recording());
    EXPECT_EQ(window_->Recording().State().path[0], 0);
    EXPECT_FALSE(Latched(IDC_RECORDER));
    EXPECT_FALSE(Running(ID_TIMER_DISKSPACE));
    EXPECT_FALSE(Running(ID_TIMER_FILESIZE));
    for (const int id : {IDC_SEARCH, IDC_CHANNEL_SETTING, IDC_SYSTEM})
        EXPECT_TRUE(IsDlgItemEnabled(window_.get(), id)) << id;
    EXPECT_TRUE(Shown(IDC_VOLUME_ON));
    EXPECT_FALSE(Shown(IDC_VOLUME_OFF));
    EXPECT_TRUE(window_->Capture().VolumeOn());
    EXPECT_TRUE(Latched(IDC_SHOW_STAMP));
    EXPECT_FALSE(Latched(IDC_TIMER_SNAP));
    EXPECT_FALSE(Running(ID_TIMER_SNAP));
    EXPECT_EQ(window_->TimedSnapshots().SnapPeriod(), 0u);
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
    EXPECT_EQ(window_->Alarms().Masks().baseline, -1);
    // The stamp and search timers stay; their ticks find no graph and do nothing.
    EXPECT_TRUE(Running(ID_TIMER_STAMP));
    window_->OnTimer(ID_TIMER_STAMP);
    window_->OnTimer(ID_TIMER_SEARCH);
    EXPECT_TRUE(Running(ID_TIMER_WATCH));
    EXPECT_TRUE(prompts_.Records().empty());  // the pop-up does not wait for anyone

    // A second removal only tells again, in the same pop-up.
    const CMessage* popup = window_->Message();
    EXPECT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    EXPECT_EQ(window_->Message(), popup);
}

TEST_F(MainWindowTest, ArrivalClearsTheAlarmsAndStartsViewingAgain) {
    Attach("");
    Open();
    ASSERT_TRUE(DeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath)));
    ASSERT_EQ(window_->Capture().Graph(), nullptr);
    window_->SetLatched(IDC_ON, false);
    window_->Alarms().AlarmRaised(AlarmDeviceRemoved);
    ASSERT_TRUE(Shown(IDC_ALARM));
    window_->KillTimer(ID_TIMER_SEARCH);

    EXPECT_TRUE(DeviceChange(DBT_DEVICEARRIVAL, Record(kUsbPath)));

    EXPECT_EQ(window_->Alarms().Record().raisedAlarms, 0u);
    EXPECT_EQ(window_->Alarms().Record().alarmShown, 0);
    EXPECT_FALSE(Shown(IDC_ALARM));
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_TRUE(Running(ID_TIMER_STAMP));
    EXPECT_TRUE(Latched(IDC_ON));
    EXPECT_EQ(window_->Alarms().Masks().seen, -1);
    EXPECT_EQ(window_->Alarms().Masks().baseline, -1);
    EXPECT_TRUE(Locked());  // arrival does not unlock
}

TEST_F(MainWindowTest, ArrivalOfAnotherUsbCameraWithoutTheGrabberStartsNothingSilently) {
    Open();
    EXPECT_TRUE(DeviceChange(DBT_DEVICEARRIVAL, Record(u"\\\\?\\USB#VID_046D&PID_0825#1")));
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(prompts_.Records().empty());
}

TEST_F(MainWindowTest, GrabberEventsReachTheWindowThroughTheQueue) {
    Attach("signal=1,2; 2s remove; 4s arrive");
    Open();
    ASSERT_NE(window_->Capture().Graph(), nullptr);

    clock_->Set(seconds(2));
    device_->Grabber().Update();
    // Handed over on the GUI thread's queue, not from inside the grabber's call.
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    Deliver();
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_TRUE(window_->Message()->isVisible());
    EXPECT_FALSE(CaptureDevicesPresent());

    StepTo(seconds(4));
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    EXPECT_TRUE(Running(ID_TIMER_SEARCH));
    EXPECT_TRUE(device_->Grabber().Status().cycling);
}

TEST_F(MainWindowTest, ARemovalTheCaptureHardwareNoticesReachesTheWindowWithoutUdev) {
    devices::DeviceChangeListener* hardware = nullptr;
    int handedOver = 0;
    hardwareEvents_ = [&](devices::DeviceChangeListener* listener) {
        hardware = listener;
        ++handedOver;
    };
    Attach("signal=1,2");
    Open(false);  // the window hears nothing from the grabber itself
    ASSERT_NE(window_->Capture().Graph(), nullptr);
    ASSERT_NE(hardware, nullptr);

    // The hardware's removal record, on the capture's thread in the program: queued.
    hardware->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, Record(kUsbPath));
    EXPECT_NE(window_->Capture().Graph(), nullptr);
    Deliver();
    EXPECT_EQ(window_->Capture().Graph(), nullptr);
    ASSERT_NE(window_->Message(), nullptr);
    EXPECT_TRUE(window_->Message()->isVisible());

    // The window takes its listener back before it goes.
    window_.reset();
    EXPECT_EQ(hardware, nullptr);
    EXPECT_EQ(handedOver, 2);
}

TEST_F(MainWindowTest, NoEventReachesAWindowThatIsGone) {
    Attach("1s remove");
    Open();
    clock_->Set(seconds(1));
    device_->Grabber().Update();  // queued for the window
    window_.reset();
    Deliver();  // dropped with the window
    SUCCEED();
}

}  // namespace
}  // namespace main_window_test

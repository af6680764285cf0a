// The device's notifications: frames to frame listeners, arrivals and removals with their
// broadcast record to change listeners.
#include "platform/devices/simulated_grabber.h"

#include <gtest/gtest.h>

#include <cstring>

namespace devices {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

Scenario ScenarioOf(std::string_view text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ParseScenario(text, &scenario, &error)) << error;
    return scenario;
}

struct SeenChange {
    UINT event;
    std::vector<std::uint8_t> record;
    bool attachedDuringCall;
};

class ChangeRecorder final : public DeviceChangeListener {
  public:
    explicit ChangeRecorder(SimulatedGrabber* device) : device_(device) {}
    void OnDeviceChange(UINT event, const DeviceBroadcast& record) override {
        // Listeners may use the device from inside the call.
        const bool attached = device_->Status().attached;
        seen.push_back({event, {record.Bytes(), record.Bytes() + record.Size()}, attached});
    }
    std::vector<SeenChange> seen;

  private:
    SimulatedGrabber* device_;
};

class FrameRecorder final : public FrameListener {
  public:
    void OnFrameTick(const FrameTick& tick) override { ticks.push_back(tick); }
    std::vector<FrameTick> ticks;
};

class SimulatedGrabberTest : public testing::Test {
  protected:
    SimulatedGrabberTest()
        : clock_(std::make_shared<ManualDeviceClock>()),
          grabber_(ScenarioOf("signal=2; 2s remove; 4s arrive"), clock_) {
        grabber_.AddDeviceChangeListener(&changes_);
    }
    ~SimulatedGrabberTest() override { grabber_.RemoveDeviceChangeListener(&changes_); }

    std::shared_ptr<ManualDeviceClock> clock_;
    SimulatedGrabber grabber_;
    ChangeRecorder changes_{&grabber_};
};

TEST_F(SimulatedGrabberTest, RemovalAndArrivalReachTheListenerInOrder) {
    clock_->Set(milliseconds(1999));
    grabber_.Update();
    EXPECT_TRUE(changes_.seen.empty());
    clock_->Set(seconds(2));
    grabber_.Update();
    ASSERT_EQ(changes_.seen.size(), 1u);
    EXPECT_EQ(changes_.seen[0].event, DBT_DEVICEREMOVECOMPLETE);
    EXPECT_FALSE(changes_.seen[0].attachedDuringCall);
    clock_->Set(seconds(10));
    grabber_.Update();
    ASSERT_EQ(changes_.seen.size(), 2u);
    EXPECT_EQ(changes_.seen[1].event, DBT_DEVICEARRIVAL);
    EXPECT_TRUE(changes_.seen[1].attachedDuringCall);
}

TEST_F(SimulatedGrabberTest, BothEventsOfOneLongStepArriveInOrder) {
    clock_->Set(seconds(5));
    grabber_.Status();  // any call moves the device forward
    ASSERT_EQ(changes_.seen.size(), 2u);
    EXPECT_EQ(changes_.seen[0].event, DBT_DEVICEREMOVECOMPLETE);
    EXPECT_EQ(changes_.seen[1].event, DBT_DEVICEARRIVAL);
}

TEST_F(SimulatedGrabberTest, BroadcastRecordLayout) {
    clock_->Set(seconds(2));
    grabber_.Update();
    ASSERT_EQ(changes_.seen.size(), 1u);
    const std::vector<std::uint8_t>& r = changes_.seen[0].record;
    const std::u16string_view path = kSimulatedDevicePath;
    ASSERT_EQ(r.size(), 28 + (path.size() + 1) * 2);
    auto dword = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, r.data() + at, 4);
        return v;
    };
    EXPECT_EQ(dword(0), r.size());
    EXPECT_EQ(dword(4), 5u);
    EXPECT_EQ(dword(8), 0u);
    const std::uint8_t capture[16] = {0x3D, 0x77, 0xE8, 0x65, 0x56, 0x8F, 0xD0, 0x11,
                                      0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96};
    EXPECT_EQ(std::memcmp(r.data() + 12, capture, 16), 0);
    std::u16string name(path.size() + 1, u'?');
    std::memcpy(name.data(), r.data() + 28, name.size() * 2);
    EXPECT_EQ(name.back(), u'\0');
    name.pop_back();
    EXPECT_EQ(name, path);
    EXPECT_TRUE(name.starts_with(u"\\\\?\\USB#"));
}

TEST_F(SimulatedGrabberTest, FrameListenerGetsEachTickOnceUntilRemoved) {
    FrameRecorder frames;
    grabber_.AddFrameListener(&frames);
    clock_->Set(milliseconds(100));
    grabber_.Update();
    grabber_.Update();                   // nothing new at the same time
    ASSERT_EQ(frames.ticks.size(), 3u);  // 0, 40 and 80 ms
    EXPECT_EQ(frames.ticks[2].time, milliseconds(80));
    EXPECT_EQ(frames.ticks[2].frame, 2u);
    // Input 1 has no signal in this scenario: no frame to show.
    EXPECT_FALSE(frames.ticks[0].HasPreviewFrame());
    // No ticks while removed.
    clock_->Set(milliseconds(3999));
    grabber_.Update();
    EXPECT_EQ(frames.ticks.back().time, milliseconds(1960));
    grabber_.RemoveFrameListener(&frames);
    clock_->Set(seconds(5));
    grabber_.Update();
    EXPECT_EQ(frames.ticks.back().time, milliseconds(1960));
}

TEST_F(SimulatedGrabberTest, RemovedChangeListenerHearsNothing) {
    grabber_.RemoveDeviceChangeListener(&changes_);
    clock_->Set(seconds(5));
    grabber_.Update();
    EXPECT_TRUE(changes_.seen.empty());
    grabber_.AddDeviceChangeListener(&changes_);  // the fixture removes it again
}

}  // namespace
}  // namespace devices

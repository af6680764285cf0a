#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

#include "platform/com/object_base.h"
#include "platform/devices/command_log.h"
#include "tests/viewer/capture/capture_fixture.h"
#include "viewer/capture/device_commands.h"

using namespace std::chrono_literals;

namespace {

// A 40-byte block with the given bytes from offset 2 on.
std::vector<std::uint8_t> Block(std::initializer_list<std::uint8_t> fromOffset2) {
    std::vector<std::uint8_t> block(40, 0);
    block[0] = 0x01;
    block[1] = 0x70;
    std::size_t i = 2;
    for (std::uint8_t b : fromOffset2) block[i++] = b;
    return block;
}

TEST_F(CaptureTest, EveryCommandReachesTheDeviceByteForByte) {
    Attach("signal=1,3");
    CaptureGraph* record = GetCaptureGraph();
    ASSERT_NE(record, nullptr);
    CBDADevice& device = *record->device;
    Grabber().ClearCommandLog();

    device.StartSearch();
    device.SetRecordChannel(3);
    device.SetRecordChannel(0);  // not sent
    device.DeviceCommand3();
    device.StartCycling();
    device.SelectDisplayChannel(5);  // not sent
    device.SelectDisplayChannel(2);
    device.SetCycleTiming(7, true);
    device.SetValidChannels(1, 0, 1, 1);
    device.StopSearch();
    ASSERT_EQ(SetRecordQuality(record, 7), S_OK);  // sent as 0
    device.SetRecordQuality(2);

    const std::vector<std::vector<std::uint8_t>> expected = {
        Block({1}),
        Block({2, 3}),
        Block({3}),
        Block({4}),
        Block({5, 2}),
        Block({8, 0, 0, 0, 1, 7, 1}),
        Block({9, 0, 0, 0, 4, 1, 0, 1, 1}),
        Block({10}),
        Block({12, 0}),
        Block({12, 2}),
    };
    const std::vector<devices::LoggedBlock> log = Grabber().CommandLogEntries();
    ASSERT_EQ(log.size(), expected.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].access, devices::PropertyAccess::Set) << i;
        EXPECT_EQ(log[i].propertyId, 2u) << i;
        EXPECT_EQ(std::vector<std::uint8_t>(log[i].Received().begin(), log[i].Received().end()),
                  expected[i])
            << "block " << i;
    }

    // Questions go out with Set, then the same block is read back with Get.
    Grabber().ClearCommandLog();
    std::uint32_t mask = 0;
    ASSERT_EQ(GetSignalMask(record, &mask), S_OK);
    EXPECT_EQ(mask, 0b0101u);
    EXPECT_FALSE(IsCycling(record)) << "display channel 2 was selected: fixed mode";
    EXPECT_GE(GetSearchState(record), 0);
    const std::vector<devices::LoggedBlock> questions = Grabber().CommandLogEntries();
    ASSERT_EQ(questions.size(), 5u);
    EXPECT_EQ(questions[0].access, devices::PropertyAccess::Set);
    EXPECT_EQ(
        std::vector<std::uint8_t>(questions[0].Received().begin(), questions[0].Received().end()),
        Block({6}));
    EXPECT_EQ(questions[1].access, devices::PropertyAccess::Get);
    EXPECT_EQ(questions[2].access, devices::PropertyAccess::Set);
    EXPECT_EQ(questions[2].received[2], 7);
    EXPECT_EQ(questions[3].access, devices::PropertyAccess::Get);
    EXPECT_EQ(questions[4].propertyId, 4u);
    EXPECT_EQ(questions[4].length, 1);
}

TEST_F(CaptureTest, SignalMaskAndSearchStateFollowTheScenario) {
    Attach("signal=1,2,4; 8s unplug 2; 12s plug 2");
    CaptureGraph* record = GetCaptureGraph();
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(StartSearch(record), S_OK);
    std::vector<int> states;
    for (int i = 0; i < 30 && (states.empty() || states.back() != 3); ++i) {
        states.push_back(GetSearchState(record));
        Step(250ms);
    }
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), 1);
    EXPECT_EQ(states.back(), 3) << "the search ends";
    EXPECT_NE(std::find(states.begin(), states.end(), 2), states.end());
    std::uint32_t mask = 0;
    GetSignalMask(record, &mask);
    EXPECT_EQ(mask, 0b1011u);
    Step(8s - clock_->Now());
    GetSignalMask(record, &mask);
    EXPECT_EQ(mask, 0b1001u);
    Step(4s);
    GetSignalMask(record, &mask);
    EXPECT_EQ(mask, 0b1011u);
}

// A property set that answers every question with fixed bytes.
class FixedAnswers final : public IKsPropertySet, public CUnknown {
  public:
    explicit FixedAnswers(std::vector<BYTE> answer)
        : CUnknown(nullptr), answer_(std::move(answer)) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IKsPropertySet::kIid)
            return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return S_OK; }
    HRESULT Get(REFGUID, DWORD id, void*, DWORD, void* data, DWORD bytes,
                DWORD* returned) override {
        if (id == 4) {
            *static_cast<BYTE*>(data) = 2;
        } else {
            std::memcpy(static_cast<BYTE*>(data) + 7, answer_.data(),
                        std::min<std::size_t>(answer_.size(), bytes - 7));
        }
        *returned = bytes;
        return S_OK;
    }
    HRESULT QuerySupported(REFGUID, DWORD, DWORD* support) override {
        *support = 3;
        return S_OK;
    }

  private:
    ~FixedAnswers() override = default;
    std::vector<BYTE> answer_;
};

TEST(BdaDeviceTest, AnswersAreReadAsTheDeviceGivesThem) {
    CBDADevice device(nullptr);
    EXPECT_EQ(device.GetSignalMask(), 0u) << "no property set: no signal";
    EXPECT_FALSE(device.IsCycling());
    EXPECT_EQ(device.GetSearchState(), -1);

    auto* answers = new FixedAnswers({2, 0, 0xFF, 0});
    answers->NonDelegatingAddRef();
    device.PropertySet().Attach(answers);
    EXPECT_EQ(device.GetSignalMask(), 0b0101u) << "any non-zero byte is a signal";
    EXPECT_FALSE(device.IsCycling()) << "only the answer 1 means cycling";
    EXPECT_EQ(device.GetSearchState(), 2);

    auto* cycling = new FixedAnswers({1});
    cycling->NonDelegatingAddRef();
    device.PropertySet().Attach(cycling);
    EXPECT_TRUE(device.IsCycling());
    device.PropertySet().Reset();
}

}  // namespace

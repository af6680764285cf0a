// The private property set as a client drives it: blocks byte by byte, the log of what arrived,
// and the failures a client can meet.
#include <gtest/gtest.h>

#include "platform/devices/command_block.h"
#include "platform/devices/property_handler.h"
#include "platform/devices/simulated_grabber.h"

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

class PropertySetTest : public testing::Test {
  protected:
    explicit PropertySetTest(std::string_view scenario = "signal=1,3")
        : clock_(std::make_shared<ManualDeviceClock>()), grabber_(ScenarioOf(scenario), clock_) {}

    // The way the program sends a command: one block, 40 bytes each way.
    HRESULT Set(CommandBlock& block) {
        return grabber_.SetProperty(kGrabberPropertySet, kCommandProperty, block.data(),
                                    kCommandBlockBytes, block.data(), kCommandBlockBytes);
    }
    HRESULT Get(CommandBlock& block, DWORD* returned = nullptr) {
        return grabber_.GetProperty(kGrabberPropertySet, kCommandProperty, block.data(),
                                    kCommandBlockBytes, block.data(), kCommandBlockBytes, returned);
    }
    // Set, then Get on the same buffer; the answer bytes.
    CommandBlock Ask(std::uint8_t code) {
        CommandBlock block = MakeCommandBlock(code);
        EXPECT_EQ(Set(block), S_OK);
        EXPECT_EQ(Get(block), S_OK);
        return block;
    }
    int SearchState() {
        std::uint8_t state = 0xEE;
        DWORD returned = 0;
        EXPECT_EQ(grabber_.GetProperty(kGrabberPropertySet, kSearchStateProperty, &state, 1, &state,
                                       1, &returned),
                  S_OK);
        EXPECT_EQ(returned, 1u);
        return state;
    }

    std::shared_ptr<ManualDeviceClock> clock_;
    SimulatedGrabber grabber_;
};

TEST(CommandBlockTest, LayoutIsByteExact) {
    const CommandBlock timing = MakeCommandBlock(kCmdSetCycleTiming, 0, 1, {7, 1});
    const CommandBlock expected = {0x01, 0x70, 8, 0, 0, 0, 1, 7, 1};
    EXPECT_EQ(timing, expected);
    const CommandBlock valid = MakeCommandBlock(kCmdSetValidChannels, 0, {1, 0, 1, 1});
    EXPECT_EQ(valid, (CommandBlock{0x01, 0x70, 9, 0, 0, 0, 4, 1, 0, 1, 1}));
    EXPECT_EQ(MakeCommandBlock(kCmdSetRecordChannel, 3), (CommandBlock{0x01, 0x70, 2, 3}));
}

TEST_F(PropertySetTest, SignalMaskAnswerWritesOnlyTheDataBytes) {
    CommandBlock block = MakeCommandBlock(kCmdGetSignalMask);
    block[20] = 0x5A;  // bytes the device has no business touching
    block[39] = 0xA5;
    CommandBlock expected = block;
    ASSERT_EQ(Set(block), S_OK);
    EXPECT_EQ(block, expected);
    DWORD returned = 0;
    ASSERT_EQ(Get(block, &returned), S_OK);
    EXPECT_EQ(returned, 40u);
    expected[7] = 1;
    expected[8] = 0;
    expected[9] = 1;
    expected[10] = 0;
    EXPECT_EQ(block, expected);
}

TEST_F(PropertySetTest, GetOverwritesStaleAnswerBytes) {
    CommandBlock block = MakeCommandBlock(kCmdGetSignalMask);
    block[8] = 9;  // a stale non-zero byte for input 2, which has no signal
    ASSERT_EQ(Get(block), S_OK);
    EXPECT_EQ(block[8], 0);
}

TEST_F(PropertySetTest, IsCyclingAnswersOneWhileCyclingElseZero) {
    EXPECT_EQ(Ask(kCmdIsCycling)[7], 1);
    CommandBlock select = MakeCommandBlock(kCmdSelectDisplayChannel, 2);
    ASSERT_EQ(Set(select), S_OK);
    EXPECT_EQ(Ask(kCmdIsCycling)[7], 0);
    clock_->Advance(milliseconds(40));
    EXPECT_EQ(grabber_.Status().input, 2);
    CommandBlock cycle = MakeCommandBlock(kCmdStartCycling);
    ASSERT_EQ(Set(cycle), S_OK);
    EXPECT_EQ(Ask(kCmdIsCycling)[7], 1);
}

TEST_F(PropertySetTest, SearchStatePropertyOverSteppedTime) {
    EXPECT_EQ(SearchState(), 0);
    CommandBlock start = MakeCommandBlock(kCmdStartSearch);
    ASSERT_EQ(Set(start), S_OK);
    EXPECT_EQ(SearchState(), 1);
    clock_->Set(seconds(1));
    EXPECT_EQ(SearchState(), 2);
    clock_->Set(seconds(3));
    EXPECT_EQ(SearchState(), 3);
    ASSERT_EQ(Set(start), S_OK);
    clock_->Set(milliseconds(4500));
    EXPECT_EQ(SearchState(), 2);
    CommandBlock stop = MakeCommandBlock(kCmdStopSearch);
    ASSERT_EQ(Set(stop), S_OK);
    EXPECT_EQ(SearchState(), 3);
}

TEST_F(PropertySetTest, SettingCommandsReachTheHardware) {
    CommandBlock timing = MakeCommandBlock(kCmdSetCycleTiming, 0, 1, {9, 1});
    CommandBlock valid = MakeCommandBlock(kCmdSetValidChannels, 0, {1, 0, 2, 0});
    CommandBlock record = MakeCommandBlock(kCmdSetRecordChannel, 4);
    CommandBlock quality = MakeCommandBlock(kCmdSetRecordQuality, 2);
    for (CommandBlock* block : {&timing, &valid, &record, &quality}) ASSERT_EQ(Set(*block), S_OK);
    GrabberStatus status = grabber_.Status();
    EXPECT_EQ(status.turnSpan, 9);
    EXPECT_TRUE(status.fastTurning);
    EXPECT_EQ(status.validInputs, 0b0101);
    EXPECT_EQ(status.recordInput, 4);
    EXPECT_EQ(status.recordQuality, 2);

    CommandBlock end = MakeCommandBlock(kCmdEndRecordStream);
    ASSERT_EQ(Set(end), S_OK);
    EXPECT_EQ(grabber_.Status().recordInput, 0);
    CommandBlock slow = MakeCommandBlock(kCmdSetCycleTiming, 0, 1, {3, 0});
    ASSERT_EQ(Set(slow), S_OK);
    EXPECT_FALSE(grabber_.Status().fastTurning);
}

TEST_F(PropertySetTest, BadBlocksAreRefusedAndChangeNothing) {
    const GrabberStatus before = grabber_.Status();
    CommandBlock record0 = MakeCommandBlock(kCmdSetRecordChannel, 0);
    CommandBlock select5 = MakeCommandBlock(kCmdSelectDisplayChannel, 5);
    CommandBlock quality3 = MakeCommandBlock(kCmdSetRecordQuality, 3);
    CommandBlock validShort = MakeCommandBlock(kCmdSetValidChannels, 0, 3, {0, 0, 0});
    CommandBlock timingEmpty = MakeCommandBlock(kCmdSetCycleTiming, 0, 0, {5, 1});
    CommandBlock badMagic = MakeCommandBlock(kCmdStartCycling);
    badMagic[1] = 0x71;
    CommandBlock badCount = MakeCommandBlock(kCmdStartSearch);
    badCount[6] = 34;
    for (CommandBlock* block :
         {&record0, &select5, &quality3, &validShort, &timingEmpty, &badMagic, &badCount})
        EXPECT_EQ(Set(*block), E_INVALIDARG) << int((*block)[2]);
    CommandBlock unknown = MakeCommandBlock(11);
    EXPECT_EQ(Set(unknown), E_NOTIMPL);

    CommandBlock shortBlock = MakeCommandBlock(kCmdStartSearch);
    EXPECT_EQ(grabber_.SetProperty(kGrabberPropertySet, kCommandProperty, shortBlock.data(), 39,
                                   shortBlock.data(), 39),
              E_INVALIDARG);
    EXPECT_EQ(grabber_.SetProperty(kGrabberPropertySet, kCommandProperty, nullptr, 0, nullptr, 40),
              E_POINTER);

    const GrabberStatus after = grabber_.Status();
    EXPECT_EQ(after.searchState, before.searchState);
    EXPECT_EQ(after.recordInput, before.recordInput);
    EXPECT_EQ(after.recordQuality, before.recordQuality);
    EXPECT_EQ(after.validInputs, before.validInputs);
    EXPECT_EQ(after.turnSpan, before.turnSpan);
    EXPECT_EQ(after.cycling, before.cycling);
}

TEST_F(PropertySetTest, GetOfASettingCommandIsRefusedAndLeavesTheBuffer) {
    CommandBlock block = MakeCommandBlock(kCmdStartSearch, 0, {1, 2, 3});
    const CommandBlock before = block;
    EXPECT_EQ(Get(block), E_INVALIDARG);
    EXPECT_EQ(block, before);
}

TEST_F(PropertySetTest, RequestIsReadFromTheInstanceData) {
    CommandBlock request = MakeCommandBlock(kCmdIsCycling);
    CommandBlock answer{};  // a separate, empty property buffer
    ASSERT_EQ(grabber_.GetProperty(kGrabberPropertySet, kCommandProperty, request.data(), 40,
                                   answer.data(), 40, nullptr),
              S_OK);
    EXPECT_EQ(answer[7], 1);
    EXPECT_EQ(answer[2], 0);  // nothing but the answer is written
}

TEST_F(PropertySetTest, UnknownSetsAndIdsAndSupport) {
    constexpr GUID kOther = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    CommandBlock block = MakeCommandBlock(kCmdStartSearch);
    EXPECT_EQ(grabber_.SetProperty(kOther, kCommandProperty, block.data(), 40, block.data(), 40),
              kE_PropSetUnsupported);
    EXPECT_EQ(grabber_.SetProperty(kGrabberPropertySet, 3, block.data(), 40, block.data(), 40),
              kE_PropIdUnsupported);
    std::uint8_t state = 0;
    EXPECT_EQ(grabber_.SetProperty(kGrabberPropertySet, kSearchStateProperty, &state, 1, &state, 1),
              kE_PropIdUnsupported);

    DWORD support = 0;
    EXPECT_EQ(grabber_.QuerySupported(kGrabberPropertySet, kCommandProperty, &support), S_OK);
    EXPECT_EQ(support, kPropertySupportGet | kPropertySupportSet);
    EXPECT_EQ(grabber_.QuerySupported(kGrabberPropertySet, kSearchStateProperty, &support), S_OK);
    EXPECT_EQ(support, kPropertySupportGet);
    EXPECT_EQ(grabber_.QuerySupported(kGrabberPropertySet, 1, &support), kE_PropIdUnsupported);
    EXPECT_EQ(grabber_.QuerySupported(kOther, 2, &support), kE_PropSetUnsupported);
}

TEST_F(PropertySetTest, LogKeepsEveryBlockWithAccessAndAnswer) {
    clock_->Set(milliseconds(100));
    CommandBlock start = MakeCommandBlock(kCmdStartSearch);
    ASSERT_EQ(Set(start), S_OK);
    clock_->Set(milliseconds(250));
    const CommandBlock asked = Ask(kCmdGetSignalMask);
    CommandBlock bad = MakeCommandBlock(kCmdSelectDisplayChannel, 9);
    EXPECT_EQ(Set(bad), E_INVALIDARG);
    SearchState();

    const std::vector<LoggedBlock> log = grabber_.CommandLogEntries();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].access, PropertyAccess::Set);
    EXPECT_EQ(log[0].propertyId, kCommandProperty);
    EXPECT_EQ(log[0].time, milliseconds(100));
    EXPECT_TRUE(std::ranges::equal(log[0].Received(), MakeCommandBlock(kCmdStartSearch)));

    EXPECT_EQ(log[1].access, PropertyAccess::Set);
    EXPECT_EQ(log[2].access, PropertyAccess::Get);
    EXPECT_EQ(log[2].time, milliseconds(250));
    EXPECT_TRUE(std::ranges::equal(log[2].Received(), MakeCommandBlock(kCmdGetSignalMask)));
    EXPECT_TRUE(std::ranges::equal(log[2].Answered(), asked));

    EXPECT_EQ(log[3].result, E_INVALIDARG);
    EXPECT_EQ(log[3].Received()[3], 9);

    EXPECT_EQ(log[4].access, PropertyAccess::Get);
    EXPECT_EQ(log[4].propertyId, kSearchStateProperty);
    ASSERT_EQ(log[4].Answered().size(), 1u);
    EXPECT_EQ(log[4].Answered()[0], 1);

    grabber_.ClearCommandLog();
    EXPECT_TRUE(grabber_.CommandLogEntries().empty());
}

TEST(CommandLogTest, DropsTheOldestBeyondItsCapacity) {
    CommandLog log(3);
    for (std::uint8_t code = 1; code <= 5; ++code) {
        const CommandBlock block = MakeCommandBlock(code);
        log.Finish(CommandLog::Begin(PropertyAccess::Set, 2, {}, block.data(), 40), block.data(),
                   S_OK);
    }
    const std::vector<LoggedBlock> entries = log.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].received[2], 3);
    EXPECT_EQ(entries[2].received[2], 5);
}

class RemovedPropertySetTest : public PropertySetTest {
  protected:
    RemovedPropertySetTest() : PropertySetTest("10s remove; 20s arrive") {}
};

TEST_F(RemovedPropertySetTest, RemovedDeviceRefusesEverythingButLogsIt) {
    clock_->Set(seconds(10));
    CommandBlock start = MakeCommandBlock(kCmdStartSearch);
    EXPECT_EQ(Set(start), kE_DeviceNotConnected);
    CommandBlock mask = MakeCommandBlock(kCmdGetSignalMask);
    mask[7] = 0;
    EXPECT_EQ(Get(mask), kE_DeviceNotConnected);
    EXPECT_EQ(mask[7], 0);
    std::uint8_t state = 0xEE;
    EXPECT_EQ(grabber_.GetProperty(kGrabberPropertySet, kSearchStateProperty, &state, 1, &state, 1,
                                   nullptr),
              kE_DeviceNotConnected);
    EXPECT_EQ(state, 0xEE);
    EXPECT_EQ(grabber_.PutVideoStandard(AnalogVideo_NTSC_M), kE_DeviceNotConnected);
    LONG standard = 0;
    EXPECT_EQ(grabber_.GetVideoStandard(&standard), kE_DeviceNotConnected);
    EXPECT_EQ(grabber_.CommandLogEntries().size(), 3u);
    EXPECT_EQ(grabber_.CommandLogEntries()[0].result, kE_DeviceNotConnected);

    clock_->Set(seconds(20));
    EXPECT_EQ(Set(start), S_OK);
    EXPECT_EQ(SearchState(), 1);
}

TEST_F(PropertySetTest, VideoStandardPutAndGet) {
    LONG standard = 0;
    ASSERT_EQ(grabber_.GetVideoStandard(&standard), S_OK);
    EXPECT_EQ(standard, AnalogVideo_PAL_D);
    EXPECT_EQ(grabber_.PutVideoStandard(AnalogVideo_NTSC_M), S_OK);
    ASSERT_EQ(grabber_.GetVideoStandard(&standard), S_OK);
    EXPECT_EQ(standard, AnalogVideo_NTSC_M);
    EXPECT_EQ(grabber_.Status().format, (VideoFormat{720, 480, 30}));
    EXPECT_EQ(grabber_.PutVideoStandard(AnalogVideo_SECAM_K), E_INVALIDARG);
    EXPECT_EQ(grabber_.PutVideoStandard(0), E_INVALIDARG);
    EXPECT_EQ(grabber_.GetVideoStandard(nullptr), E_POINTER);
    ASSERT_EQ(grabber_.GetVideoStandard(&standard), S_OK);
    EXPECT_EQ(standard, AnalogVideo_NTSC_M);
}

}  // namespace
}  // namespace devices

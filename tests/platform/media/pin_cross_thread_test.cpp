// What the application thread may read of a pin while a streaming thread changes it: the type
// a sample carries and the segment NewSegment brings. Each test reads, without any other
// synchronisation with the streaming thread, until the change shows, so the thread-sanitizer
// build sees every read that is not ordered by the pin's own lock.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/test_filters.h"

namespace media_test {
namespace {

// Reads `changed` until it holds or the bounded wait ends; the result of the last read.
bool ReadUntil(const std::function<bool()>& changed) {
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (!changed()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

CMediaType AgreedType(IPin* pin) {
    AM_MEDIA_TYPE agreed{};
    EXPECT_EQ(pin->ConnectionMediaType(&agreed), S_OK);
    CMediaType type(agreed);
    FreeMediaType(agreed);
    return type;
}

class PinCrossThread : public ::testing::Test {
  protected:
    void SetUp() override {
        stream = source->AddStream(u"Out", UyvyType(64, 48));
        ASSERT_EQ(Plug(source.Get(), u"Out", sink.Get(), u"In"), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(source->Stop(), S_OK);
        EXPECT_EQ(sink->Stop(), S_OK);
        Unplug(PinOf(sink.Get(), u"In").Get());
    }
    void Run() {
        ASSERT_EQ(sink->Pause(), S_OK);
        ASSERT_EQ(source->Pause(), S_OK);
        ASSERT_EQ(sink->Run(0), S_OK);
        ASSERT_EQ(source->Run(0), S_OK);
    }

    ComPtr<TestSource> source = TestSource::Create();
    ComPtr<TestSink> sink = TestSink::Create(MEDIATYPE_Video);
    TestSource::Stream* stream = nullptr;
};

TEST_F(PinCrossThread, TypeCarriedByASampleBecomesTheConnectionTypeWhileStreaming) {
    // Same sample size, other geometry: the sink takes it as a type change.
    const CMediaType turned = UyvyType(48, 64);
    stream->CarryTypeAt(1, turned);
    ComPtr<IPin> in = PinOf(sink.Get(), u"In");
    Run();
    stream->Step(1);
    ASSERT_TRUE(sink->WaitForSamples(1));
    EXPECT_TRUE(AgreedType(in.Get()) == UyvyType(64, 48));  // frame 0 carries no change

    stream->Step(2);
    EXPECT_TRUE(ReadUntil([&] { return AgreedType(in.Get()) == turned; }));
    EXPECT_TRUE(ReadUntil([&] { return sink->Input()->CurrentMediaType() == turned; }));
    ASSERT_TRUE(sink->WaitForSamples(3));
    EXPECT_TRUE(AgreedType(in.Get()) == turned);  // later frames carry none: the type stays
    // The upstream side keeps the type it connected with.
    EXPECT_TRUE(AgreedType(PinOf(source.Get(), u"Out").Get()) == UyvyType(64, 48));
}

TEST_F(PinCrossThread, DisconnectingAfterATypeChangeLeavesNoType) {
    stream->CarryTypeAt(0, UyvyType(48, 64));
    Run();
    stream->Step(1);
    ASSERT_TRUE(sink->WaitForSamples(1));
    ASSERT_EQ(source->Stop(), S_OK);
    ASSERT_EQ(sink->Stop(), S_OK);
    Unplug(PinOf(sink.Get(), u"In").Get());
    EXPECT_FALSE(sink->Input()->CurrentMediaType().IsValid());
    AM_MEDIA_TYPE none{};
    EXPECT_EQ(PinOf(sink.Get(), u"In")->ConnectionMediaType(&none), VFW_E_NOT_CONNECTED);
    FreeMediaType(none);
}

TEST(PinSegment, NewSegmentReachesEveryInputDownstreamWhileStreaming) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(64, 48));
    auto marker = TestMarker::Create();
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(Plug(source.Get(), u"Out", marker.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(marker.Get(), u"Output", sink.Get(), u"In"), S_OK);
    const CBasePin* markerIn = marker->InputPin();
    const CBasePin* sinkIn = sink->Input();
    // Before any segment: from the start, open-ended, normal rate.
    EXPECT_EQ(sinkIn->CurrentStartTime(), 0);
    EXPECT_EQ(sinkIn->CurrentStopTime(), INT64_MAX);
    EXPECT_EQ(sinkIn->CurrentRate(), 1.0);

    constexpr REFERENCE_TIME kStart = 5 * UNITS;
    constexpr REFERENCE_TIME kStop = 9 * UNITS;
    stream->SendSegmentOnPlay(kStart, kStop, 2.0);
    const std::vector<IBaseFilter*> downstreamFirst{sink.Get(), marker.Get(), source.Get()};
    for (IBaseFilter* f : downstreamFirst) ASSERT_EQ(f->Pause(), S_OK);
    for (IBaseFilter* f : downstreamFirst) ASSERT_EQ(f->Run(0), S_OK);
    EXPECT_TRUE(ReadUntil([&] { return sinkIn->CurrentRate() == 2.0; }));
    EXPECT_TRUE(ReadUntil([&] { return markerIn->CurrentStartTime() == kStart; }));
    EXPECT_EQ(sinkIn->CurrentStartTime(), kStart);
    EXPECT_EQ(sinkIn->CurrentStopTime(), kStop);
    EXPECT_EQ(markerIn->CurrentStopTime(), kStop);
    EXPECT_EQ(markerIn->CurrentRate(), 2.0);

    for (auto f = downstreamFirst.rbegin(); f != downstreamFirst.rend(); ++f)
        EXPECT_EQ((*f)->Stop(), S_OK);
    Unplug(PinOf(sink.Get(), u"In").Get());
    Unplug(PinOf(marker.Get(), u"Input").Get());
}

}  // namespace
}  // namespace media_test

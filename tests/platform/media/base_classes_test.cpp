#include <gtest/gtest.h>

#include <future>

#include "platform/media/base/mem_allocator.h"
#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/test_filters.h"

namespace media_test {
namespace {

// Starts downstream first, as the graph does.
void RunChain(std::initializer_list<IBaseFilter*> downstreamFirst) {
    for (IBaseFilter* f : downstreamFirst) ASSERT_EQ(f->Pause(), S_OK);
    for (IBaseFilter* f : downstreamFirst) ASSERT_EQ(f->Run(0), S_OK);
}
void StopChain(std::initializer_list<IBaseFilter*> downstreamFirst) {
    for (IBaseFilter* f : downstreamFirst) EXPECT_EQ(f->Stop(), S_OK);
}

TEST(Pins, ConnectionSemantics) {
    auto source = TestSource::Create();
    source->AddStream(u"Out", UyvyType(64, 48));
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ComPtr<IPin> out = PinOf(source.Get(), u"Out");
    ComPtr<IPin> in = PinOf(sink.Get(), u"In");

    ComPtr<IPin> peer;
    EXPECT_EQ(out->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(peer, nullptr);
    AM_MEDIA_TYPE none{};
    EXPECT_EQ(in->ConnectionMediaType(&none), VFW_E_NOT_CONNECTED);
    FreeMediaType(none);

    EXPECT_EQ(out->Connect(out.Get(), nullptr), VFW_E_INVALID_DIRECTION);
    ASSERT_EQ(out->Connect(in.Get(), nullptr), S_OK);
    ASSERT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(peer, out);
    AM_MEDIA_TYPE agreed{};
    ASSERT_EQ(in->ConnectionMediaType(&agreed), S_OK);
    EXPECT_TRUE(CMediaType(agreed) == UyvyType(64, 48));
    FreeMediaType(agreed);
    EXPECT_EQ(out->Connect(in.Get(), nullptr), VFW_E_ALREADY_CONNECTED);

    ASSERT_EQ(sink->Pause(), S_OK);
    EXPECT_EQ(in->Disconnect(), VFW_E_NOT_STOPPED);
    ASSERT_EQ(sink->Stop(), S_OK);
    EXPECT_EQ(in->Disconnect(), S_OK);
    EXPECT_EQ(in->Disconnect(), S_FALSE);
    EXPECT_EQ(out->Disconnect(), S_OK);
    EXPECT_EQ(out->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
}

TEST(Pins, RefusedTypeLeavesBothSidesUnconnected) {
    auto source = TestSource::Create();
    source->AddStream(u"Out", UyvyType(64, 48));
    auto sink = TestSink::Create(MEDIATYPE_Audio);
    ComPtr<IPin> out = PinOf(source.Get(), u"Out");
    ComPtr<IPin> in = PinOf(sink.Get(), u"In");
    EXPECT_TRUE(FAILED(out->Connect(in.Get(), nullptr)));
    const CMediaType video = UyvyType(64, 48);
    EXPECT_EQ(out->Connect(in.Get(), &video), VFW_E_TYPE_NOT_ACCEPTED);
    ComPtr<IPin> peer;
    EXPECT_EQ(out->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
}

TEST(SourceStream, PushesOnlyWhileRunningAndJoinsOnStop) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(64, 48));
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(PinOf(source.Get(), u"Out")->Connect(PinOf(sink.Get(), u"In").Get(), nullptr), S_OK);

    RunChain({sink.Get(), source.Get()});
    EXPECT_EQ(source->Run(0), S_OK);  // run while running
    stream->Step(3);
    ASSERT_TRUE(sink->WaitForSamples(3));
    int number = -1;
    std::memcpy(&number, sink->LastData().data(), sizeof(number));
    EXPECT_EQ(number, 2);

    // Paused: a step is held back until the filter runs again.
    ASSERT_EQ(source->Pause(), S_OK);
    stream->Step(1);
    ASSERT_EQ(source->Run(0), S_OK);
    ASSERT_TRUE(sink->WaitForSamples(4));

    StopChain({sink.Get(), source.Get()});
    EXPECT_EQ(source->Stop(), S_OK);  // stop while stopped
    Unplug(PinOf(source.Get(), u"Out").Get());
    EXPECT_EQ(stream->threadsCreated.load(), 1);
    EXPECT_EQ(stream->threadsDestroyed.load(), 1);
    FILTER_STATE state = State_Running;
    EXPECT_EQ(source->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

TEST(SourceStream, FailedActivationUndoesTheOtherPins) {
    auto source = TestSource::Create();
    auto* first = source->AddStream(u"A", UyvyType(32, 32));
    auto* second = source->AddStream(u"B", UyvyType(32, 32));
    auto sinkA = TestSink::Create(MEDIATYPE_Video);
    auto sinkB = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(PinOf(source.Get(), u"A")->Connect(PinOf(sinkA.Get(), u"In").Get(), nullptr), S_OK);
    ASSERT_EQ(PinOf(source.Get(), u"B")->Connect(PinOf(sinkB.Get(), u"In").Get(), nullptr), S_OK);
    second->failActive = true;

    EXPECT_EQ(source->Pause(), E_FAIL);
    EXPECT_EQ(source->CurrentState(), State_Stopped);
    EXPECT_EQ(first->threadsCreated.load(), first->threadsDestroyed.load());
    second->failActive = false;
    RunChain({sinkA.Get(), sinkB.Get(), source.Get()});
    first->Step(1);
    second->Step(1);
    EXPECT_TRUE(sinkA->WaitForSamples(1));
    EXPECT_TRUE(sinkB->WaitForSamples(1));
    StopChain({sinkA.Get(), sinkB.Get(), source.Get()});
    Unplug(PinOf(source.Get(), u"A").Get());
    Unplug(PinOf(source.Get(), u"B").Get());
}

TEST(TransInPlace, ModifiesTheUpstreamSampleInPlace) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(64, 48), 0x10);
    auto marker = TestMarker::Create();
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(PinOf(source.Get(), u"Out")->Connect(PinOf(marker.Get(), u"Input").Get(), nullptr),
              S_OK);
    ASSERT_EQ(PinOf(marker.Get(), u"Output")->Connect(PinOf(sink.Get(), u"In").Get(), nullptr),
              S_OK);

    RunChain({sink.Get(), marker.Get(), source.Get()});
    EXPECT_EQ(marker->starts.load(), 1);
    stream->Step(5);
    ASSERT_TRUE(sink->WaitForSamples(5));
    const std::vector<BYTE> last = sink->LastData();
    ASSERT_EQ(last.size(), 64u * 48u * 2u);
    EXPECT_EQ(last[4], 0xEE);
    EXPECT_EQ(last[5], 0x10);
    // The sink saw the very buffers the source filled: no copy on the way.
    EXPECT_EQ(sink->ReceivedBuffers(), stream->FilledBuffers());
    StopChain({sink.Get(), marker.Get(), source.Get()});
    EXPECT_EQ(marker->stops.load(), 1);
    EXPECT_EQ(marker->transformed.load(), 5);
    Unplug(PinOf(marker.Get(), u"Input").Get());
    Unplug(PinOf(marker.Get(), u"Output").Get());
}

TEST(TransInPlace, TypeRulesAndFailedStart) {
    auto rgb = TestSource::Create();
    CMediaType rgbType = UyvyType(16, 16);
    rgbType.SetSubtype(&MEDIASUBTYPE_RGB24);
    rgb->AddStream(u"Out", rgbType);
    auto marker = TestMarker::Create();
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ComPtr<IPin> markerIn = PinOf(marker.Get(), u"Input");
    ComPtr<IPin> markerOut = PinOf(marker.Get(), u"Output");

    EXPECT_EQ(markerOut->Connect(PinOf(sink.Get(), u"In").Get(), nullptr), VFW_E_NOT_CONNECTED);
    EXPECT_TRUE(FAILED(PinOf(rgb.Get(), u"Out")->Connect(markerIn.Get(), nullptr)));
    ComPtr<IPin> peer;
    EXPECT_EQ(markerIn->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);

    auto uyvy = TestSource::Create();
    uyvy->AddStream(u"Out", UyvyType(16, 16));
    ASSERT_EQ(PinOf(uyvy.Get(), u"Out")->Connect(markerIn.Get(), nullptr), S_OK);
    ASSERT_EQ(markerOut->Connect(PinOf(sink.Get(), u"In").Get(), nullptr), S_OK);
    marker->failStart = true;
    EXPECT_EQ(marker->Pause(), E_FAIL);
    EXPECT_EQ(marker->CurrentState(), State_Stopped);
    EXPECT_EQ(marker->stops.load(), 0);
    Unplug(markerIn.Get());
    Unplug(markerOut.Get());
}

TEST(Allocator, WaitsForFreeSamplesAndWakesOnDecommit) {
    ComPtr<IMemAllocator> allocator;
    ASSERT_EQ(CMemAllocator::Create(allocator.ReleaseAndGetAddressOf()), S_OK);
    ALLOCATOR_PROPERTIES request{1, 100, 16, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    EXPECT_EQ(actual.cBuffers, 1);
    ComPtr<IMediaSample> sample;
    EXPECT_EQ(allocator->GetBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0),
              VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator->Commit(), S_OK);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(allocator->GetBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % 16, 0u);
    EXPECT_EQ(sample->SetActualDataLength(101), VFW_E_BUFFER_OVERFLOW);

    ComPtr<IMediaSample> second;
    EXPECT_EQ(
        allocator->GetBuffer(second.ReleaseAndGetAddressOf(), nullptr, nullptr, AM_GBF_NOWAIT),
        VFW_E_TIMEOUT);
    auto waiter = std::async(std::launch::async, [&] {
        ComPtr<IMediaSample> blocked;
        return allocator->GetBuffer(blocked.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
    });
    ASSERT_EQ(allocator->Decommit(), S_OK);
    EXPECT_EQ(waiter.get(), VFW_E_NOT_COMMITTED);
    EXPECT_EQ(allocator->SetProperties(&request, &actual), VFW_E_BUFFERS_OUTSTANDING);
    sample = nullptr;  // the memory goes with the last sample
    EXPECT_EQ(allocator->SetProperties(&request, &actual), S_OK);
}

TEST(Allocator, SampleOutlivesItsLastOtherReference) {
    ComPtr<IMemAllocator> allocator;
    ASSERT_EQ(CMemAllocator::Create(allocator.ReleaseAndGetAddressOf()), S_OK);
    ALLOCATOR_PROPERTIES request{2, 64, 1, 0}, actual{};
    ASSERT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    ASSERT_EQ(allocator->Commit(), S_OK);
    ComPtr<IMediaSample> sample;
    REFERENCE_TIME start = 100, stop = 200;
    ASSERT_EQ(allocator->GetBuffer(sample.ReleaseAndGetAddressOf(), &start, &stop, 0), S_OK);
    allocator = nullptr;  // the sample keeps the allocator alive
    REFERENCE_TIME a = 0, b = 0;
    EXPECT_EQ(sample->GetTime(&a, &b), S_OK);
    EXPECT_EQ(a, 100);
    EXPECT_EQ(b, 200);
}

}  // namespace
}  // namespace media_test

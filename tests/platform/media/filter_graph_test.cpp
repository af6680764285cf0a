#include <gtest/gtest.h>

#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/media/interfaces/ienum_filters.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/media_fixture.h"
#include "tests/platform/media/test_filters.h"

namespace media_test {
namespace {

class FilterGraphTest : public MediaTest {
  protected:
    void SetUp() override {
        MediaTest::SetUp();
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph), S_OK);
        ASSERT_EQ(graph.As(&control), S_OK);
    }
    void TearDown() override {
        control = nullptr;
        graph = nullptr;
        MediaTest::TearDown();
    }
    OAFilterState State() {
        OAFilterState state = -1;
        EXPECT_EQ(control->GetState(static_cast<LONG>(INFINITE), &state), S_OK);
        return state;
    }

    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
};

TEST_F(FilterGraphTest, NamesMembershipAndEnumeration) {
    auto a = TestSink::Create(MEDIATYPE_Video);
    auto b = TestSink::Create(MEDIATYPE_Video);
    auto c = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(a.Get(), u"Title"), S_OK);
    EXPECT_EQ(graph->AddFilter(a.Get(), u"Again"), E_INVALIDARG);
    EXPECT_EQ(graph->AddFilter(b.Get(), u"Title"), VFW_S_DUPLICATE_NAME);
    ASSERT_EQ(graph->AddFilter(c.Get(), nullptr), S_OK);

    ComPtr<IBaseFilter> found;
    ASSERT_EQ(graph->FindFilterByName(u"Title", found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(found.Get(), static_cast<IBaseFilter*>(a.Get()));
    EXPECT_EQ(graph->FindFilterByName(u"title", found.ReleaseAndGetAddressOf()), VFW_E_NOT_FOUND);
    EXPECT_EQ(found, nullptr);

    FILTER_INFO info{};
    ASSERT_EQ(b->QueryFilterInfo(&info), S_OK);
    EXPECT_NE(std::u16string(info.achName), u"Title");
    ASSERT_NE(info.pGraph, nullptr);
    ComPtr<IFilterGraph> owner;
    owner.Attach(info.pGraph);
    EXPECT_EQ(owner.Get(), static_cast<IFilterGraph*>(graph.Get()));

    ComPtr<IEnumFilters> filters;
    ASSERT_EQ(graph->EnumFilters(filters.ReleaseAndGetAddressOf()), S_OK);
    IBaseFilter* listed[4] = {};
    ULONG fetched = 0;
    EXPECT_EQ(filters->Next(4, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3u);
    EXPECT_EQ(listed[0], static_cast<IBaseFilter*>(a.Get()));
    EXPECT_EQ(listed[2], static_cast<IBaseFilter*>(c.Get()));
    for (ULONG i = 0; i < fetched; ++i) listed[i]->Release();

    ASSERT_EQ(graph->RemoveFilter(a.Get()), S_OK);
    EXPECT_EQ(graph->RemoveFilter(a.Get()), VFW_E_NOT_FOUND);
    ASSERT_EQ(a->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
    EXPECT_EQ(graph->FindFilterByName(u"Title", found.ReleaseAndGetAddressOf()), VFW_E_NOT_FOUND);
}

TEST_F(FilterGraphTest, ConnectDirectChecksMembershipAndDirection) {
    auto source = TestSource::Create();
    source->AddStream(u"Out", UyvyType(32, 32));
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ComPtr<IPin> out = PinOf(source.Get(), u"Out");
    ComPtr<IPin> in = PinOf(sink.Get(), u"In");
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_NOT_IN_GRAPH);
    ASSERT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
    EXPECT_EQ(graph->ConnectDirect(in.Get(), out.Get(), nullptr), VFW_E_INVALID_DIRECTION);
    ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
    EXPECT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), VFW_E_ALREADY_CONNECTED);

    // One side at a time, as callers disconnect both pins themselves.
    ASSERT_EQ(graph->Disconnect(in.Get()), S_OK);
    ComPtr<IPin> peer;
    EXPECT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(out->ConnectedTo(peer.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(graph->Disconnect(out.Get()), S_OK);

    // Removing a filter breaks its connections on both sides.
    ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), nullptr), S_OK);
    ASSERT_EQ(graph->RemoveFilter(source.Get()), S_OK);
    EXPECT_EQ(in->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(out->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
}

TEST_F(FilterGraphTest, RunPauseStopAndRepeats) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(32, 32));
    auto marker = TestMarker::Create();
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(marker.Get(), u"Title"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", marker.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(marker.Get(), u"Output", sink.Get(), u"In"), S_OK);

    EXPECT_EQ(State(), State_Stopped);
    EXPECT_EQ(control->Stop(), S_OK);  // stop while stopped
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(State(), State_Running);
    EXPECT_EQ(sink->CurrentState(), State_Running);
    EXPECT_EQ(control->Run(), S_OK);  // run while running
    EXPECT_EQ(marker->starts.load(), 1);
    stream->Step(2);
    ASSERT_TRUE(sink->WaitForSamples(2));

    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(State(), State_Paused);
    EXPECT_EQ(source->CurrentState(), State_Paused);
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(State(), State_Stopped);
    EXPECT_EQ(marker->stops.load(), 1);
    EXPECT_EQ(stream->threadsDestroyed.load(), 1);

    ASSERT_EQ(control->Run(), S_OK);
    stream->Step(1);
    ASSERT_TRUE(sink->WaitForSamples(3));
    EXPECT_EQ(sink->LastData()[4], 0xEE);
    ASSERT_EQ(control->Stop(), S_OK);
}

TEST_F(FilterGraphTest, FailedRunLeavesEveryFilterStopped) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(32, 32));
    auto marker = TestMarker::Create();
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(marker.Get(), u"Title"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", marker.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(marker.Get(), u"Output", sink.Get(), u"In"), S_OK);
    marker->failStart = true;

    EXPECT_EQ(control->Run(), E_FAIL);
    EXPECT_EQ(State(), State_Stopped);
    EXPECT_EQ(sink->CurrentState(), State_Stopped);
    EXPECT_EQ(source->CurrentState(), State_Stopped);
    EXPECT_EQ(stream->threadsCreated.load(), 0);  // the source comes after the marker

    // While running, a connected filter cannot be pulled out of the graph.
    marker->failStart = false;
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(graph->RemoveFilter(marker.Get()), VFW_E_NOT_STOPPED);
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(graph->RemoveFilter(marker.Get()), S_OK);
}

TEST_F(FilterGraphTest, ReleasingARunningGraphStopsAndFreesEverything) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(32, 32));
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", sink.Get(), u"In"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    stream->Step(1);
    ASSERT_TRUE(sink->WaitForSamples(1));

    control = nullptr;
    graph = nullptr;
    EXPECT_EQ(source->CurrentState(), State_Stopped);
    EXPECT_EQ(stream->threadsDestroyed.load(), 1);
    ComPtr<IPin> peer;
    EXPECT_EQ(PinOf(sink.Get(), u"In")->ConnectedTo(peer.ReleaseAndGetAddressOf()),
              VFW_E_NOT_CONNECTED);
}

TEST_F(FilterGraphTest, RenderRefusesWhatItCannotRender) {
    auto source = TestSource::Create();
    source->AddStream(u"Video", UyvyType(32, 32));
    auto sink = TestSink::Create(MEDIATYPE_Video);
    ComPtr<IPin> video = PinOf(source.Get(), u"Video");
    EXPECT_EQ(graph->Render(video.Get()), VFW_E_NOT_IN_GRAPH);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), u"Sink"), S_OK);
    EXPECT_EQ(graph->Render(video.Get()), VFW_E_CANNOT_RENDER);
    EXPECT_EQ(graph->Render(PinOf(sink.Get(), u"In").Get()), VFW_E_INVALID_DIRECTION);
    ASSERT_EQ(Plug(source.Get(), u"Video", sink.Get(), u"In"), S_OK);
    EXPECT_EQ(graph->Render(video.Get()), VFW_E_ALREADY_CONNECTED);

    ComPtr<IBasicAudio> audio;
    ASSERT_EQ(graph.As(&audio), S_OK);
    EXPECT_EQ(audio->put_Volume(0), E_NOTIMPL);
}

}  // namespace
}  // namespace media_test

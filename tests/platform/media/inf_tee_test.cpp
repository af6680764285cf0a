#include <gtest/gtest.h>

#include "platform/media/interfaces/icreate_dev_enum.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "tests/platform/media/media_fixture.h"
#include "tests/platform/media/test_filters.h"

namespace media_test {
namespace {

std::vector<std::u16string> PinNames(IBaseFilter* filter) {
    std::vector<std::u16string> names;
    ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.ReleaseAndGetAddressOf());
    for (;;) {
        ComPtr<IPin> pin;
        if (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) != S_OK) break;
        PIN_INFO info{};
        pin->QueryPinInfo(&info);
        info.pFilter->Release();
        names.emplace_back(info.achName);
    }
    return names;
}

using InfTeeTest = TeeGraphTest;

TEST_F(InfTeeTest, OutputsGrowAsTheLastFreeOneIsConnected) {
    auto source = TestSource::Create();
    source->AddStream(u"Out", UyvyType(32, 32));
    auto a = TestSink::Create(MEDIATYPE_Video);
    auto b = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(a.Get(), u"A"), S_OK);
    ASSERT_EQ(graph->AddFilter(b.Get(), u"B"), S_OK);
    EXPECT_EQ(PinNames(tee.Get()), (std::vector<std::u16string>{u"Input", u"Output1"}));

    EXPECT_EQ(Plug(tee.Get(), u"Output1", a.Get(), u"In"), VFW_E_NOT_CONNECTED);
    ASSERT_EQ(Plug(source.Get(), u"Out", tee.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output1", a.Get(), u"In"), S_OK);
    EXPECT_EQ(PinNames(tee.Get()), (std::vector<std::u16string>{u"Input", u"Output1", u"Output2"}));
    ASSERT_EQ(Plug(tee.Get(), u"Output2", b.Get(), u"In"), S_OK);
    EXPECT_EQ(PinNames(tee.Get()).size(), 4u);

    // A disconnected output is free again and no extra pin appears when it is reused.
    ComPtr<IPin> first = PinOf(tee.Get(), u"Output1");
    ASSERT_EQ(graph->Disconnect(PinOf(a.Get(), u"In").Get()), S_OK);
    ASSERT_EQ(graph->Disconnect(first.Get()), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output1", a.Get(), u"In"), S_OK);
    EXPECT_EQ(PinNames(tee.Get()).size(), 4u);
}

TEST_F(InfTeeTest, EverySampleReachesEveryBranchWithoutCopies) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(32, 32), 0x22);
    auto a = TestSink::Create(MEDIATYPE_Video);
    auto b = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(a.Get(), u"A"), S_OK);
    ASSERT_EQ(graph->AddFilter(b.Get(), u"B"), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", tee.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output1", a.Get(), u"In"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output2", b.Get(), u"In"), S_OK);
    EXPECT_TRUE(a->LastWasReadOnly());

    ASSERT_EQ(control->Run(), S_OK);
    stream->Step(4);
    ASSERT_TRUE(a->WaitForSamples(4));
    ASSERT_TRUE(b->WaitForSamples(4));
    EXPECT_EQ(a->ReceivedBuffers(), stream->FilledBuffers());
    EXPECT_EQ(b->ReceivedBuffers(), stream->FilledBuffers());
    int number = -1;
    std::memcpy(&number, b->LastData().data(), sizeof(number));
    EXPECT_EQ(number, 3);
}

TEST_F(InfTeeTest, AnInPlaceBranchWorksOnACopyOfReadOnlySamples) {
    auto source = TestSource::Create();
    auto* stream = source->AddStream(u"Out", UyvyType(32, 32), 0x22);
    auto marker = TestMarker::Create();
    auto marked = TestSink::Create(MEDIATYPE_Video);
    auto plain = TestSink::Create(MEDIATYPE_Video);
    ASSERT_EQ(graph->AddFilter(source.Get(), u"Source"), S_OK);
    ASSERT_EQ(graph->AddFilter(marker.Get(), u"Title"), S_OK);
    ASSERT_EQ(graph->AddFilter(marked.Get(), u"Marked"), S_OK);
    ASSERT_EQ(graph->AddFilter(plain.Get(), u"Plain"), S_OK);
    ASSERT_EQ(Plug(source.Get(), u"Out", tee.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output1", marker.Get(), u"Input"), S_OK);
    ASSERT_EQ(Plug(marker.Get(), u"Output", marked.Get(), u"In"), S_OK);
    ASSERT_EQ(Plug(tee.Get(), u"Output2", plain.Get(), u"In"), S_OK);

    ASSERT_EQ(control->Run(), S_OK);
    stream->Step(3);
    ASSERT_TRUE(marked->WaitForSamples(3));
    ASSERT_TRUE(plain->WaitForSamples(3));
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(marked->LastData()[4], 0xEE);
    EXPECT_EQ(plain->LastData()[4], 0x22);  // the shared sample was not written
}

TEST_F(InfTeeTest, ListedByTheDeviceEnumeratorUnderItsName) {
    ComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices),
              S_OK);
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory,
                                             monikers.ReleaseAndGetAddressOf(), 0),
              S_OK);
    ComPtr<IMoniker> first;
    ASSERT_EQ(monikers->Next(1, first.ReleaseAndGetAddressOf(), nullptr), S_OK);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(
        first->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.ReleaseAndGetVoidAddressOf()),
        S_OK);
    CLSID clsid{};
    ASSERT_EQ(filter->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_InfTee);
}

}  // namespace
}  // namespace media_test

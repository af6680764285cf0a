#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/graph/device_registry.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/imedia_control.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "tests/viewer/capture/capture_fixture.h"
#include "viewer/capture/device_commands.h"

using namespace std::chrono_literals;

namespace {

struct Peer {
    IBaseFilter* filter = nullptr;  // not owned; compared only
    std::u16string pin;
};

// The filter and pin at the other end of `filter`'s pin `name`; an empty Peer when unconnected.
Peer PeerOf(IBaseFilter* filter, LPCWSTR name, int direction) {
    ComPtr<IPin> pin, peer;
    if (FindPinByName(filter, name, direction, pin.ReleaseAndGetAddressOf()) != S_OK) return {};
    if (pin->ConnectedTo(peer.ReleaseAndGetAddressOf()) != S_OK) return {};
    PIN_INFO info{};
    peer->QueryPinInfo(&info);
    Peer result{info.pFilter, info.achName};
    if (info.pFilter) info.pFilter->Release();
    return result;
}

// The first input pin of `filter`, by enumeration.
std::u16string FirstInputName(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.ReleaseAndGetAddressOf());
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_INFO info{};
        pin->QueryPinInfo(&info);
        if (info.pFilter) info.pFilter->Release();
        if (info.dir == PINDIR_INPUT) return info.achName;
    }
    return {};
}

OAFilterState StateOf(CaptureGraph* record) {
    OAFilterState state = -1;
    record->mediaControl->GetState(-1, &state);
    return state;
}

TEST_F(CaptureTest, TheGraphHasTheTopologyOfTheTableAndLiveFramesReachThePanesWithSignal) {
    Attach("signal=1,2,4");
    ASSERT_TRUE(CaptureDevicesPresent());
    CaptureGraph* record = BuildWithPanes();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), record);
    EXPECT_EQ(GetCaptureGraph(), record) << "the singleton is made once";

    Peer p = PeerOf(record->crossbar.Get(), u"0: Video Decoder Out", PINDIR_OUTPUT);
    EXPECT_EQ(p.filter, record->grabber.Get());
    EXPECT_EQ(p.pin, u"Video Tuner In");
    p = PeerOf(record->crossbar.Get(), u"1: Audio Decoder Out", PINDIR_OUTPUT);
    EXPECT_EQ(p.filter, record->grabber.Get());
    EXPECT_EQ(p.pin, u"Audio Tuner In");
    p = PeerOf(record->grabber.Get(), u"Audio PCM Out", PINDIR_OUTPUT);
    EXPECT_EQ(p.filter, record->audioTee.Get());
    EXPECT_EQ(p.pin, FirstInputName(record->audioTee.Get()));
    for (int k = 0; k < 4; ++k) {
        p = PeerOf(record->grabber.Get(), kPreviewPinNames[k], PINDIR_OUTPUT);
        EXPECT_EQ(p.filter, record->renderers[k].Get()) << k;
        EXPECT_EQ(p.pin, FirstInputName(record->renderers[k].Get())) << k;
    }
    EXPECT_EQ(PeerOf(record->grabber.Get(), u"Capture Out", PINDIR_OUTPUT).filter, nullptr);
    ASSERT_TRUE(record->device && record->device->PropertySet());

    // The hardware cycles quickly over the inputs: each camera with a signal reaches its pane.
    record->device->StartCycling();
    record->device->SetCycleTiming(1, true);
    ASSERT_EQ(RunGraph(record), S_OK);
    Step(2s);
    for (int k : {0, 1, 3}) EXPECT_TRUE(panes_[k].WaitForFrame()) << "pane " << k;
    EXPECT_EQ(panes_[2].Frames(), 0) << "a camera without signal sends nothing";

    ComPtr<IVMRWindowlessControl9> control;
    ASSERT_EQ(record->renderers[0].As(&control), S_OK);
    BYTE* dib = nullptr;
    ASSERT_EQ(control->GetCurrentImage(&dib), S_OK);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    EXPECT_EQ(header->biWidth, 720);
    EXPECT_EQ(header->biHeight, 576);
    CoTaskMemFree(dib);
}

TEST_F(CaptureTest, RunPauseAndStopChangeTheStateOnlyWhenNeeded) {
    Attach("");
    CaptureGraph* record = BuildWithPanes();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(RunGraph(record), S_OK);
    EXPECT_EQ(RunGraph(record), S_OK);
    EXPECT_EQ(StateOf(record), State_Running);
    EXPECT_EQ(PauseGraph(record), S_OK);
    EXPECT_EQ(StateOf(record), State_Paused);
    EXPECT_EQ(StopGraph(record), S_OK);
    EXPECT_EQ(StopGraph(record), S_OK);
    EXPECT_EQ(StateOf(record), State_Stopped);
    CaptureGraph empty;
    EXPECT_EQ(RunGraph(&empty), E_FAIL);
    EXPECT_EQ(SetupPreviewPanes(&empty, nullptr), E_INVALIDARG);
    const PaneLayout layout = Layout();
    EXPECT_EQ(SetupPreviewPanes(&empty, &layout), E_FAIL);
}

TEST_F(CaptureTest, PanesDetachAndReattachWithoutReconnecting) {
    Attach("");
    CaptureGraph* record = BuildWithPanes();
    ASSERT_NE(record, nullptr);
    const PaneLayout none{};
    ASSERT_EQ(SetupPreviewPanes(record, &none), S_OK);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PeerOf(record->grabber.Get(), kPreviewPinNames[k], PINDIR_OUTPUT).filter,
                  nullptr);
        ASSERT_TRUE(record->renderers[k]) << "the renderer stays";
        FILTER_INFO info{};
        ASSERT_EQ(record->renderers[k]->QueryFilterInfo(&info), S_OK);
        EXPECT_NE(info.pGraph, nullptr) << "and stays in the graph";
        if (info.pGraph) info.pGraph->Release();
    }
    // Giving the panes back only moves the video; the pins stay apart.
    PaneLayout moved = Layout();
    moved.rect[2] = RECT{10, 20, 110, 220};
    ASSERT_EQ(SetupPreviewPanes(record, &moved), S_OK);
    EXPECT_EQ(PeerOf(record->grabber.Get(), kPreviewPinNames[2], PINDIR_OUTPUT).filter, nullptr);
    ComPtr<IVMRWindowlessControl9> control;
    ASSERT_EQ(record->renderers[2].As(&control), S_OK);
    RECT destination{};
    ASSERT_EQ(control->GetVideoPosition(nullptr, &destination), S_OK);
    EXPECT_EQ(destination.left, 10);
    EXPECT_EQ(destination.bottom, 220);
    EXPECT_EQ(DetachPaneRenderer(record, 4), E_INVALIDARG);
}

TEST_F(CaptureTest, PinSearchStopsAtTheFirstUnconnectedPinWhenAConnectedOneIsWanted) {
    Attach("");
    CaptureGraph* record = GetCaptureGraph();  // no panes: the preview pins are free
    ASSERT_NE(record, nullptr);
    ComPtr<IPin> pin;
    // "Audio PCM Out" is connected, but "PreView One" comes first and is not.
    EXPECT_EQ(FindPin(record->grabber.Get(), u"Audio PCM Out", PINDIR_OUTPUT, true,
                      pin.ReleaseAndGetAddressOf()),
              VFW_E_NOT_CONNECTED);
    EXPECT_EQ(FindPin(record->grabber.Get(), u"Video Tuner In", PINDIR_INPUT, true,
                      pin.ReleaseAndGetAddressOf()),
              S_OK);
    EXPECT_EQ(FindPin(record->grabber.Get(), u"Capture Out", PINDIR_OUTPUT, false,
                      pin.ReleaseAndGetAddressOf()),
              S_OK);
    EXPECT_EQ(FindPin(record->grabber.Get(), u"Video Tuner In", PINDIR_INPUT, false,
                      pin.ReleaseAndGetAddressOf()),
              E_FAIL)
        << "connected pins are skipped when an unconnected one is wanted";
    EXPECT_EQ(DisconnectSide(record, record->crossbar.Get(), PINDIR_OUTPUT), S_OK);
    EXPECT_EQ(PeerOf(record->crossbar.Get(), u"0: Video Decoder Out", PINDIR_OUTPUT).filter,
              nullptr);
    EXPECT_EQ(PeerOf(record->crossbar.Get(), u"1: Audio Decoder Out", PINDIR_OUTPUT).filter,
              record->grabber.Get())
        << "only the first pin of that direction is handled";
}

TEST_F(CaptureTest, DeviceFiltersAreFoundByExactNameInTheirCategory) {
    ComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices),
              S_OK);
    const CLSID empty = {0x1234, 5, 6, {7, 8, 9, 10, 11, 12, 13, 14}};
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(FindDeviceFilter(devices.Get(), empty, u"x", filter.ReleaseAndGetAddressOf()),
              S_FALSE);
    EXPECT_FALSE(filter);

    // Two devices with one name: the first one listed wins.
    Attach("");
    int made[2] = {0, 0};
    auto maker = [&](int which) {
        return [&, which](IBaseFilter** out) {
            ++made[which];
            return Grabber().Status().attached
                       ? CoCreateInstance(CLSID_InfTee, nullptr, CLSCTX_INPROC_SERVER,
                                          IBaseFilter::kIid, reinterpret_cast<void**>(out))
                       : E_FAIL;
        };
    };
    const CLSID twins = {0x4321, 5, 6, {7, 8, 9, 10, 11, 12, 13, 14}};
    const auto first = DeviceRegistry::Instance().Add(twins, u"Twin", maker(0));
    const auto second = DeviceRegistry::Instance().Add(twins, u"Twin", maker(1));
    EXPECT_EQ(FindDeviceFilter(devices.Get(), twins, u"Twin", filter.ReleaseAndGetAddressOf()),
              S_OK);
    EXPECT_TRUE(filter);
    EXPECT_EQ(made[0], 1);
    EXPECT_EQ(made[1], 0);
    // Names compare exactly.
    EXPECT_TRUE(SUCCEEDED(
        FindDeviceFilter(devices.Get(), twins, u"twin", filter.ReleaseAndGetAddressOf())));
    EXPECT_FALSE(filter);
    DeviceRegistry::Instance().Remove(first);
    DeviceRegistry::Instance().Remove(second);
}

TEST_F(CaptureTest, NoGrabberMeansNoGraphAndNothingLeftBehind) {
    Attach("absent");
    EXPECT_FALSE(CaptureDevicesPresent());
    EXPECT_EQ(GetCaptureGraph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
}

TEST_F(CaptureTest, RemovalAndArrivalFollowTheScenario) {
    Attach("3s remove; 6s arrive");
    EXPECT_TRUE(CaptureDevicesPresent());
    Step(3s);
    EXPECT_FALSE(CaptureDevicesPresent());
    Step(3s);
    EXPECT_TRUE(CaptureDevicesPresent());
}

}  // namespace

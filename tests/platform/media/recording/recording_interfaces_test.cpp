// The recording filters' interfaces: identities, the published identifiers, the file name, the
// interleaving mode, and hosting an unknown media object.
#include <gtest/gtest.h>

#include <string>

#include "platform/com/runtime.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/iconfig_interleaving.h"
#include "platform/media/interfaces/idmo_wrapper_filter.h"
#include "platform/media/interfaces/iencoder_quality.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/ifile_sink_filter.h"
#include "platform/media/interfaces/imedia_object.h"
#include "platform/media/interfaces/ipin.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "platform/media/runtime/media_runtime.h"

namespace {

class RecordingInterfacesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        RegisterMediaRuntime();
    }
    void TearDown() override { CoUninitialize(); }
};

int PinCount(IBaseFilter* filter) {
    ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.ReleaseAndGetAddressOf());
    int count = 0;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) ++count;
    return count;
}

TEST_F(RecordingInterfacesTest, IdentifiersAreThePublishedOnes) {
    EXPECT_EQ(guid::ToString(CLSID_DMOWrapperFilter), "{94297043-BD82-4DFD-B0DE-8177739C6D20}");
    EXPECT_EQ(guid::ToString(IID_IDMOWrapperFilter), "{52D6F586-9F0F-4824-8FC8-E32CA04930C2}");
    EXPECT_EQ(guid::ToString(CLSID_VideoEncoderDmo), "{7EDAB071-9BAA-4E34-B2EC-A4B95DD4FFC1}");
    EXPECT_EQ(guid::ToString(DMOCATEGORY_VIDEO_ENCODER), "{33D9A760-90C8-11D0-BD43-00A0C911CE86}");
    EXPECT_EQ(guid::ToString(CLSID_AudioEncoderDmo), "{70F598E9-F4AB-495A-99E2-A7C4D3D89ABF}");
    EXPECT_EQ(guid::ToString(DMOCATEGORY_AUDIO_ENCODER), "{33D9A761-90C8-11D0-BD43-00A0C911CE86}");
    EXPECT_EQ(guid::ToString(CLSID_AviDest), "{E2510970-F137-11CE-8B67-00AA00A3F1A6}");
    EXPECT_EQ(guid::ToString(IID_IConfigInterleaving), "{5ACD6AA0-F482-11CE-8B67-00AA00A3F1A6}");
    EXPECT_EQ(guid::ToString(CLSID_FileWriter), "{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}");
    EXPECT_EQ(guid::ToString(IID_IFileSinkFilter), "{A2104830-7C70-11CF-8BCE-00AA00A3F1A6}");
    EXPECT_EQ(guid::ToString(IID_IMediaObject), "{D8AD0F58-5494-4102-97C5-EC798E59BCF4}");
}

TEST_F(RecordingInterfacesTest, HostedObjectSharesTheWrapperIdentity) {
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, &filter),
              S_OK);
    ComPtr<IMediaObject> none;
    EXPECT_EQ(filter.As(&none), E_NOINTERFACE);  // nothing hosted yet
    EXPECT_EQ(PinCount(filter.Get()), 0);
    ComPtr<IDMOWrapperFilter> wrapper;
    ASSERT_EQ(filter.As(&wrapper), S_OK);
    ASSERT_EQ(wrapper->Init(CLSID_AudioEncoderDmo, DMOCATEGORY_AUDIO_ENCODER), S_OK);
    EXPECT_EQ(wrapper->Init(CLSID_AudioEncoderDmo, DMOCATEGORY_AUDIO_ENCODER), VFW_E_WRONG_STATE);
    EXPECT_EQ(PinCount(filter.Get()), 2);

    ComPtr<IMediaObject> object;
    ASSERT_EQ(filter.As(&object), S_OK);
    EXPECT_EQ(object->Flush(), S_OK);  // what stopping a recording calls first
    ComPtr<IUnknown> fromFilter, fromObject;
    ASSERT_EQ(filter.As(&fromFilter), S_OK);
    ASSERT_EQ(object.As(&fromObject), S_OK);
    EXPECT_EQ(fromFilter.Get(), fromObject.Get());
    ComPtr<IBaseFilter> back;
    ASSERT_EQ(object.As(&back), S_OK);
    EXPECT_EQ(back.Get(), filter.Get());
    ComPtr<IEncoderQuality> quality;
    ASSERT_EQ(filter.As(&quality), S_OK);
    EXPECT_EQ(quality->put_Quality(3), E_INVALIDARG);
    EXPECT_EQ(quality->put_Quality(2), S_OK);
    LONG value = -1;
    EXPECT_EQ(quality->get_Quality(&value), S_OK);
    EXPECT_EQ(value, 2);
}

TEST_F(RecordingInterfacesTest, UnknownMediaObjectFailsCleanly) {
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, &filter),
              S_OK);
    ComPtr<IDMOWrapperFilter> wrapper;
    ASSERT_EQ(filter.As(&wrapper), S_OK);
    constexpr CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(wrapper->Init(unknown, DMOCATEGORY_VIDEO_ENCODER), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(wrapper->Init(CLSID_VideoEncoderDmo, GUID_NULL), E_INVALIDARG);
    EXPECT_EQ(PinCount(filter.Get()), 0);
    // Still usable after the failures.
    EXPECT_EQ(wrapper->Init(CLSID_VideoEncoderDmo, DMOCATEGORY_VIDEO_ENCODER), S_OK);
    EXPECT_EQ(PinCount(filter.Get()), 2);
}

TEST_F(RecordingInterfacesTest, FileWriterKeepsItsFileName) {
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, &sink), S_OK);
    LPWSTR name = nullptr;
    EXPECT_EQ(sink->GetCurFile(&name, nullptr), E_FAIL);
    EXPECT_EQ(sink->SetFileName(nullptr, nullptr), E_POINTER);
    const std::u16string path = u"/tmp/录像 2011-05-22-08-05-09.avi";
    ASSERT_EQ(sink->SetFileName(path.c_str(), nullptr), S_OK);
    AM_MEDIA_TYPE type{};
    type.majortype = GUID_NULL;
    ASSERT_EQ(sink->GetCurFile(&name, &type), S_OK);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::u16string(name), path);
    EXPECT_EQ(type.majortype, GUID_NULL);
    CoTaskMemFree(name);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(sink.As(&filter), S_OK);
    EXPECT_EQ(PinCount(filter.Get()), 1);
}

TEST_F(RecordingInterfacesTest, MultiplexerTakesTheFourInterleavingModes) {
    ComPtr<IConfigInterleaving> interleaving;
    ASSERT_EQ(CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, &interleaving), S_OK);
    EXPECT_EQ(interleaving->put_Mode(INTERLEAVE_CAPTURE), S_OK);
    InterleavingMode mode = INTERLEAVE_NONE;
    EXPECT_EQ(interleaving->get_Mode(&mode), S_OK);
    EXPECT_EQ(mode, INTERLEAVE_CAPTURE);
    EXPECT_EQ(interleaving->put_Mode(static_cast<InterleavingMode>(4)), E_INVALIDARG);
    EXPECT_EQ(interleaving->get_Mode(&mode), S_OK);
    EXPECT_EQ(mode, INTERLEAVE_CAPTURE);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(interleaving.As(&filter), S_OK);
    EXPECT_EQ(PinCount(filter.Get()), 3);
    // Pausing with nothing connected refuses and keeps the filter stopped.
    EXPECT_EQ(filter->Pause(), VFW_E_NOT_CONNECTED);
    FILTER_STATE state = State_Running;
    EXPECT_EQ(filter->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

}  // namespace

#include <gtest/gtest.h>

#include <new>

#include "platform/media/base/transform_filter.h"
#include "platform/media/graph/device_registry.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/media_guids.h"
#include "platform/media/interfaces/media_type.h"
#include "tests/viewer/capture/capture_fixture.h"

namespace {

// Stands in for the audio tee: takes any sound and offers 8-bit mono PCM, which the audio
// renderer connects to but cannot play.
class EightBitTee final : public CTransformFilter {
  public:
    static HRESULT Create(IBaseFilter** filter) {
        auto* tee = new (std::nothrow) EightBitTee();
        if (!tee) return E_OUTOFMEMORY;
        tee->NonDelegatingAddRef();
        const HRESULT hr =
            tee->NonDelegatingQueryInterface(IBaseFilter::kIid, reinterpret_cast<void**>(filter));
        tee->NonDelegatingRelease();
        return hr;
    }
    HRESULT CheckInputType(const CMediaType* type) override {
        return *type->Type() == MEDIATYPE_Audio ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT CheckTransform(const CMediaType*, const CMediaType*) override { return S_OK; }
    HRESULT GetMediaType(int position, CMediaType* type) override {
        if (position != 0) return VFW_S_NO_MORE_ITEMS;
        const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
        type->SetType(&MEDIATYPE_Audio);
        type->SetSubtype(&MEDIASUBTYPE_PCM);
        type->SetFormatType(&FORMAT_WaveFormatEx);
        type->SetFormat(reinterpret_cast<const BYTE*>(&format), sizeof format);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cBuffers = 1;
        request->cbBuffer = 8000;
        ALLOCATOR_PROPERTIES actual{};
        return allocator->SetProperties(request, &actual);
    }

  private:
    EightBitTee() : CTransformFilter("EightBitTee", nullptr, GUID_NULL) {}
};

TEST_F(CaptureTest, SoundThatCannotBePlayedTearsTheWholeGraphDown) {
    Attach("");
    // Devices listed at run time come before the built-in tee of the same name.
    const auto fake = DeviceRegistry::Instance().Add(CLSID_LegacyAmFilterCategory, kAudioTeeName,
                                                     EightBitTee::Create);
    EXPECT_EQ(GetCaptureGraph(), nullptr);
    EXPECT_EQ(CurrentCaptureGraph(), nullptr);
    DeviceRegistry::Instance().Remove(fake);
    // The teardown left nothing alive (checked by the fixture) and a later build works.
    EXPECT_NE(GetCaptureGraph(), nullptr);
}

}  // namespace

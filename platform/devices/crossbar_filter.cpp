#include "platform/devices/crossbar_filter.h"

#include <algorithm>

#include "platform/devices/grabber_identity.h"
#include "platform/devices/grabber_media_types.h"
#include "platform/media/interfaces/imem_allocator.h"
#include "platform/media/interfaces/media_errors.h"

namespace devices {

HRESULT CCrossbarFilter::Create(IBaseFilter** filter) {
    if (!filter) return E_POINTER;
    ComPtr<CCrossbarFilter> created;
    created.Attach(new CCrossbarFilter());
    created->AddRef();
    *filter = created.Detach();
    return S_OK;
}

CCrossbarFilter::CCrossbarFilter()
    : CBaseFilter("crossbar", nullptr, &lock_, CLSID_SimulatedCrossbar),
      video_(std::make_unique<Pin>(this, kVideoDecoderOutName, MEDIATYPE_AnalogVideo)),
      audio_(std::make_unique<Pin>(this, kAudioDecoderOutName, MEDIATYPE_AnalogAudio)) {}

CBasePin* CCrossbarFilter::GetPin(int n) {
    if (n == 0) return video_.get();
    if (n == 1) return audio_.get();
    return nullptr;
}

CCrossbarFilter::Pin::Pin(CCrossbarFilter* filter, LPCWSTR name, const GUID& majorType)
    : CBaseOutputPin("crossbar pin", filter, &filter->lock_, nullptr, name),
      majorType_(majorType) {}

HRESULT CCrossbarFilter::Pin::CheckMediaType(const CMediaType* type) {
    if (!type) return E_POINTER;
    return *type->Type() == majorType_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CCrossbarFilter::Pin::GetMediaType(int position, CMediaType* type) {
    if (!type) return E_POINTER;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = AnalogMediaType(majorType_);
    return S_OK;
}

HRESULT CCrossbarFilter::Pin::DecideBufferSize(IMemAllocator* allocator,
                                               ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request) return E_POINTER;
    request->cBuffers = std::max<LONG>(request->cBuffers, 1);
    request->cbBuffer = std::max<LONG>(request->cbBuffer, 1);
    request->cbAlign = std::max<LONG>(request->cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

}  // namespace devices

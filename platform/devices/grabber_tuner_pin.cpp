#include "platform/devices/grabber_tuner_pin.h"

#include "platform/devices/grabber_media_types.h"
#include "platform/media/interfaces/media_errors.h"

namespace devices {

CGrabberTunerPin::CGrabberTunerPin(CBaseFilter* filter, CCritSec* lock, LPCWSTR name,
                                   const GUID& majorType)
    : CBaseInputPin("grabber tuner pin", filter, lock, nullptr, name), majorType_(majorType) {}

HRESULT CGrabberTunerPin::CheckMediaType(const CMediaType* type) {
    if (!type) return E_POINTER;
    return *type->Type() == majorType_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CGrabberTunerPin::GetMediaType(int position, CMediaType* type) {
    if (!type) return E_POINTER;
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = AnalogMediaType(majorType_);
    return S_OK;
}

}  // namespace devices

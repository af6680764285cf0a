#include "platform/media/base/enum_media_types.h"

#include <new>
#include <utility>

HRESULT CEnumMediaTypes::Create(std::vector<CMediaType> types, IEnumMediaTypes** result) {
    if (!result) return E_POINTER;
    auto* object = new (std::nothrow) CEnumMediaTypes(std::move(types), 0);
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    *result = object;
    return S_OK;
}

CEnumMediaTypes::CEnumMediaTypes(std::vector<CMediaType> types, std::size_t position)
    : CUnknown(nullptr), types_(std::move(types)), position_(position) {}

HRESULT CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IEnumMediaTypes) return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
    if (!types) return E_POINTER;
    if (!fetched && count != 1) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && position_ < types_.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(&types_[position_]);
        if (!copy) break;
        types[n++] = copy;
        ++position_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Skip(ULONG count) {
    const std::size_t left = types_.size() - position_;
    if (count > left) {
        position_ = types_.size();
        return S_FALSE;
    }
    position_ += count;
    return S_OK;
}

HRESULT CEnumMediaTypes::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT CEnumMediaTypes::Clone(IEnumMediaTypes** clone) {
    if (!clone) return E_POINTER;
    auto* object = new (std::nothrow) CEnumMediaTypes(types_, position_);
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    *clone = object;
    return S_OK;
}

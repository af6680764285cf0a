#include "platform/media/graph/property_bag.h"

#include <new>

#include "platform/base/utf16.h"
#include "platform/media/interfaces/media_errors.h"

HRESULT CPropertyBag::Create(Values values, IPropertyBag** bag) {
    if (!bag) return E_POINTER;
    auto* object = new (std::nothrow) CPropertyBag(std::move(values));
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    *bag = object;
    return S_OK;
}

CPropertyBag::CPropertyBag(Values values) : CUnknown(nullptr), values_(std::move(values)) {}

HRESULT CPropertyBag::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IPropertyBag) return GetInterface(static_cast<IPropertyBag*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CPropertyBag::Read(LPCWSTR name, VARIANT* value, IErrorLog* /*errorLog*/) {
    if (!name || !value) return E_POINTER;
    for (const auto& [key, text] : values_) {
        if (!utf16::EqualsIgnoreAsciiCase(key, name)) continue;
        if (value->vt != VT_EMPTY && value->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
        BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!copy) return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        value->bstrVal = copy;
        return S_OK;
    }
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

HRESULT CPropertyBag::Write(LPCWSTR, VARIANT*) {
    return E_ACCESSDENIED;
}

#include "platform/media/base/cmedia_type.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/com/runtime.h"

namespace {

void InitEmpty(AM_MEDIA_TYPE& mt) {
    std::memset(&mt, 0, sizeof(mt));
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = 1;
}

}  // namespace

CMediaType::CMediaType() : AM_MEDIA_TYPE() {
    InitEmpty(*this);
}

CMediaType::CMediaType(const GUID& majorType) : CMediaType() {
    majortype = majorType;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& other) : CMediaType() {
    Set(other);
}

CMediaType::CMediaType(const CMediaType& other) : CMediaType() {
    Set(other);
}

CMediaType::CMediaType(CMediaType&& other) noexcept : AM_MEDIA_TYPE(other) {
    InitEmpty(other);
}

CMediaType::~CMediaType() {
    FreeMediaType(*this);
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& other) {
    Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& other) {
    Set(other);
    return *this;
}

CMediaType& CMediaType::operator=(CMediaType&& other) noexcept {
    if (this != &other) {
        FreeMediaType(*this);
        static_cast<AM_MEDIA_TYPE&>(*this) = other;
        InitEmpty(other);
    }
    return *this;
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& other) {
    if (&other == this) return S_OK;
    FreeMediaType(*this);
    const HRESULT hr = CopyMediaType(this, &other);
    if (FAILED(hr)) InitEmpty(*this);
    return hr;
}

bool CMediaType::operator==(const CMediaType& other) const {
    return majortype == other.majortype && subtype == other.subtype &&
           formattype == other.formattype && cbFormat == other.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

void CMediaType::SetSampleSize(ULONG size) {
    if (size == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = size;
    }
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
    ResetFormatBuffer();
    if (length == 0) return nullptr;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!pbFormat) return nullptr;
    std::memset(pbFormat, 0, length);
    cbFormat = length;
    return pbFormat;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length) {
    if (length == cbFormat) return pbFormat;
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(length == 0 ? 1 : length));
    if (!block) return nullptr;
    std::memset(block, 0, length);
    if (pbFormat) std::memcpy(block, pbFormat, std::min(length, cbFormat));
    ResetFormatBuffer();
    pbFormat = block;
    cbFormat = length;
    return pbFormat;
}

bool CMediaType::SetFormat(const BYTE* format, ULONG length) {
    if (!AllocFormatBuffer(length)) return length == 0;
    std::memcpy(pbFormat, format, length);
    return true;
}

void CMediaType::ResetFormatBuffer() {
    if (pbFormat) CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

bool CMediaType::IsPartiallySpecified() const {
    return majortype == GUID_NULL || subtype == GUID_NULL || formattype == GUID_NULL;
}

bool CMediaType::MatchesPartial(const CMediaType* partial) const {
    if (partial->majortype != GUID_NULL && partial->majortype != majortype) return false;
    if (partial->subtype != GUID_NULL && partial->subtype != subtype) return false;
    if (partial->formattype != GUID_NULL) {
        if (partial->formattype != formattype) return false;
        if (partial->cbFormat != cbFormat) return false;
        if (cbFormat != 0 && std::memcmp(partial->pbFormat, pbFormat, cbFormat) != 0) return false;
    }
    return true;
}

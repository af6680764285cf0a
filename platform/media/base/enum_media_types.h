// CEnumMediaTypes: an enumerator over a copy of a pin's preferred media types.
#pragma once

#include <vector>

#include "platform/com/object_base.h"
#include "platform/media/base/cmedia_type.h"
#include "platform/media/interfaces/ienum_media_types.h"

class CEnumMediaTypes final : public CUnknown, public IEnumMediaTypes {
  public:
    // A new enumerator over `types`, with one reference for the caller.
    static HRESULT Create(std::vector<CMediaType> types, IEnumMediaTypes** result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumMediaTypes** clone) override;

  private:
    CEnumMediaTypes(std::vector<CMediaType> types, std::size_t position);
    ~CEnumMediaTypes() override = default;

    // The caller's thread only.
    std::vector<CMediaType> types_;
    std::size_t position_;
};

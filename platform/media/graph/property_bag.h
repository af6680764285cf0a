// CPropertyBag: a read-only IPropertyBag over a fixed list of text values.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/com/object_base.h"
#include "platform/media/interfaces/iproperty_bag.h"

class CPropertyBag final : public CUnknown, public IPropertyBag {
  public:
    using Values = std::vector<std::pair<std::u16string, std::u16string>>;

    // A new bag with one reference for the caller. Names compare without regard to ASCII case.
    static HRESULT Create(Values values, IPropertyBag** bag);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT Read(LPCWSTR name, VARIANT* value, IErrorLog* errorLog) override;
    HRESULT Write(LPCWSTR name, VARIANT* value) override;

  private:
    explicit CPropertyBag(Values values);
    ~CPropertyBag() override = default;

    const Values values_;  // immutable
};

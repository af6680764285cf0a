// CSystemDeviceEnum: the system device enumerator (CLSID_SystemDeviceEnum). Lists, per category,
// the devices attached at run time (DeviceRegistry), the built-in filters, and the filters
// registered through IFilterMapper2.
#pragma once

#include "platform/com/object_base.h"
#include "platform/media/interfaces/icreate_dev_enum.h"

inline constexpr CLSID CLSID_AudioRendererCategory = {
    0xE0F158E1, 0xCB04, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

class CSystemDeviceEnum final : public CUnknown, public ICreateDevEnum {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD flags) override;

  private:
    explicit CSystemDeviceEnum(IUnknown* outer) : CUnknown(outer) {}
    ~CSystemDeviceEnum() override = default;
};

// CDeviceMoniker: the moniker of one device or filter listed by the system device enumerator.
// It binds to the filter through a binder function and to storage as a read-only property bag
// ("FriendlyName", and "CLSID" for filters created by class).
#pragma once

#include <functional>
#include <string>

#include "platform/com/object_base.h"
#include "platform/media/graph/property_bag.h"
#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/imoniker.h"

inline constexpr CLSID CLSID_CDeviceMoniker = {
    0x4315D437, 0x5B8C, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

class CDeviceMoniker final : public CUnknown, public IMoniker {
  public:
    // Creates the named filter with a reference for the caller; called by BindToObject.
    using Binder = std::function<HRESULT(IBaseFilter** filter)>;

    // A new moniker with one reference for the caller.
    static HRESULT Create(std::u16string displayName, CPropertyBag::Values properties,
                          Binder binder, IMoniker** moniker);
    // A moniker for a filter created with CoCreateInstance(clsid).
    static HRESULT CreateForClass(std::u16string displayName, std::u16string friendlyName,
                                  REFCLSID clsid, IMoniker** moniker);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT GetClassID(CLSID* clsid) override;
    HRESULT IsDirty() override { return S_FALSE; }
    HRESULT Load(IStream*) override { return E_NOTIMPL; }
    HRESULT Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT GetSizeMax(ULONGLONG*) override { return E_NOTIMPL; }

    HRESULT BindToObject(IBindCtx* context, IMoniker* left, REFIID riid, void** ppv) override;
    HRESULT BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid, void** ppv) override;
    HRESULT Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) override { return E_NOTIMPL; }
    HRESULT ComposeWith(IMoniker*, BOOL, IMoniker**) override { return E_NOTIMPL; }
    HRESULT Enum(BOOL, IEnumMoniker**) override { return E_NOTIMPL; }
    // S_OK when `other` has the same display name.
    HRESULT IsEqual(IMoniker* other) override;
    HRESULT Hash(DWORD*) override { return E_NOTIMPL; }
    HRESULT IsRunning(IBindCtx*, IMoniker*, IMoniker*) override { return E_NOTIMPL; }
    HRESULT GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) override { return E_NOTIMPL; }
    HRESULT Inverse(IMoniker**) override { return E_NOTIMPL; }
    HRESULT CommonPrefixWith(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT RelativePathTo(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    HRESULT GetDisplayName(IBindCtx* context, IMoniker* left, LPWSTR* name) override;
    HRESULT ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*, IMoniker**) override {
        return E_NOTIMPL;
    }
    HRESULT IsSystemMoniker(DWORD* kind) override;

  private:
    CDeviceMoniker(std::u16string displayName, CPropertyBag::Values properties, Binder binder);
    ~CDeviceMoniker() override = default;

    // Immutable.
    const std::u16string displayName_;
    const CPropertyBag::Values properties_;
    const Binder binder_;
};

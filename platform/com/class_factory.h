// The class-factory table of a module: one template per creatable class, and the class factory
// that DllGetClassObject (or the built-in class table) hands out for it.
#pragma once

#include <cstddef>
#include <span>

#include "platform/com/object_base.h"

// Creates a new object with no references yet; sets *hr to a failure (and may return null) when
// construction fails. `outer` is the controlling unknown when aggregated.
using CreateInstanceFn = CUnknown* (*)(IUnknown* outer, HRESULT* hr);

struct CFactoryTemplate {
    const WCHAR* name;
    const CLSID* clsid;
    CreateInstanceFn createInstance;
};

class CClassFactory final : public IClassFactory, public CUnknown {
  public:
    // `entry` must outlive the factory (factory tables are static data).
    static HRESULT Create(const CFactoryTemplate* entry, REFIID riid, void** ppv);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Aggregation is allowed only when the caller asks for IUnknown (CLASS_E_NOAGGREGATION else).
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    HRESULT LockServer(BOOL lock) override;

  private:
    explicit CClassFactory(const CFactoryTemplate* entry) : CUnknown(nullptr), entry_(entry) {}
    ~CClassFactory() override = default;

    const CFactoryTemplate* entry_;  // static table entry
};

// DllGetClassObject over a factory table: CLASS_E_CLASSNOTAVAILABLE for a class not in it.
HRESULT GetClassObjectFromTable(std::span<const CFactoryTemplate> table, REFCLSID clsid,
                                REFIID riid, void** ppv);

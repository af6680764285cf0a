// CFilterMapper2: filter registration in the classes hive (CLSID_FilterMapper2), and the helper
// that registers a filter's setup record with it.
#pragma once

#include "platform/com/object_base.h"
#include "platform/media/interfaces/ifilter_mapper2.h"

class CFilterMapper2 final : public CUnknown, public IFilterMapper2 {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CreateCategory(REFCLSID category, DWORD merit, LPCWSTR description) override;
    HRESULT UnregisterFilter(const CLSID* category, LPCWSTR instance, REFCLSID filter) override;
    HRESULT RegisterFilter(REFCLSID filter, LPCWSTR name, IMoniker** moniker, const CLSID* category,
                           LPCWSTR instance, const REGFILTER2* record) override;
    HRESULT EnumMatchingFilters(IEnumMoniker** monikers, DWORD flags, BOOL exactMatch,
                                DWORD minMerit, BOOL inputNeeded, DWORD inputTypes,
                                const GUID* inputTypeList, const REGPINMEDIUM* inMedium,
                                const CLSID* inCategory, BOOL render, BOOL outputNeeded,
                                DWORD outputTypes, const GUID* outputTypeList,
                                const REGPINMEDIUM* outMedium, const CLSID* outCategory) override;

  private:
    explicit CFilterMapper2(IUnknown* outer) : CUnknown(outer) {}
    ~CFilterMapper2() override = default;
};

// Registers (`reg` TRUE) or unregisters the filter described by `setup` in the filters category
// through `mapper`. Unregistering a filter that is not registered succeeds.
HRESULT AMovieSetupRegisterFilter2(const AMOVIESETUP_FILTER* setup, IFilterMapper2* mapper,
                                   BOOL reg);

// CFilterMapper2: filter registration in the classes hive (CLSID_FilterMapper2). Filters register
// their setup records with it through AMovieSetupRegisterFilter2
// (platform/media/base/filter_setup.h).
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

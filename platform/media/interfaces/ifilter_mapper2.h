// IFilterMapper2: registration of filters under a category, and the registration records.
//
// A registered filter is stored in the classes hive under
// CLSID\{category}\Instance\{instance}: "FriendlyName" and "CLSID" (REG_SZ), "Merit"
// (REG_DWORD), and a sub-key "Pins\<n>" per pin with "Name", "Output", "Rendered", "Zero",
// "Many" and its types under "Types\<m>" ("Major", "Minor" as GUID text).
#pragma once

#include "platform/com/unknown.h"

struct IMoniker;
struct IEnumMoniker;

inline constexpr DWORD MERIT_PREFERRED = 0x800000;
inline constexpr DWORD MERIT_NORMAL = 0x600000;
inline constexpr DWORD MERIT_UNLIKELY = 0x400000;
inline constexpr DWORD MERIT_DO_NOT_USE = 0x200000;

struct REGPINTYPES {
    const CLSID* clsMajorType;
    const CLSID* clsMinorType;
};

struct REGFILTERPINS {
    LPWSTR strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    LPCWSTR strConnectsToPin;
    UINT nMediaTypes;
    const REGPINTYPES* lpMediaType;
};

struct REGPINMEDIUM {
    CLSID clsMedium;
    DWORD dw1;
    DWORD dw2;
};

// Version 1 records (REGFILTERPINS) are the ones supported.
struct REGFILTER2 {
    DWORD dwVersion;
    DWORD dwMerit;
    ULONG cPins;
    const REGFILTERPINS* rgPins;
};

// The same records under the names a filter's setup data uses.
using AMOVIESETUP_MEDIATYPE = REGPINTYPES;
using AMOVIESETUP_PIN = REGFILTERPINS;
struct AMOVIESETUP_FILTER {
    const CLSID* clsID;
    LPCWSTR strName;
    DWORD dwMerit;
    UINT nPins;
    const AMOVIESETUP_PIN* lpPin;
};

struct IFilterMapper2 : IUnknown {
    static constexpr IID kIid = {
        0xB79BB0B0, 0x33C1, 0x11D1, {0xAB, 0xE1, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};

    // Creates the category key with its "FriendlyName" and "Merit".
    virtual HRESULT CreateCategory(REFCLSID category, DWORD merit, LPCWSTR description) = 0;
    // Removes the record of `filter` (instance `instance`, or the class id's text when null) from
    // `category` (the filters category when null). S_OK also when there was none.
    virtual HRESULT UnregisterFilter(const CLSID* category, LPCWSTR instance, REFCLSID filter) = 0;
    // Writes (replacing) the record of `filter` under `category` (the filters category
    // {083863F1-70DE-11D0-BD40-00A0C911CE86} when null) and instance `instance` (the class id's
    // text when null). `moniker` may be null; when not, it receives the record's moniker.
    // E_INVALIDARG for a null name or record, or a record version other than 1.
    virtual HRESULT RegisterFilter(REFCLSID filter, LPCWSTR name, IMoniker** moniker,
                                   const CLSID* category, LPCWSTR instance,
                                   const REGFILTER2* record) = 0;
    // Not offered: E_NOTIMPL.
    virtual HRESULT EnumMatchingFilters(IEnumMoniker** monikers, DWORD flags, BOOL exactMatch,
                                        DWORD minMerit, BOOL inputNeeded, DWORD inputTypes,
                                        const GUID* inputTypeList, const REGPINMEDIUM* inMedium,
                                        const CLSID* inCategory, BOOL render, BOOL outputNeeded,
                                        DWORD outputTypes, const GUID* outputTypeList,
                                        const REGPINMEDIUM* outMedium,
                                        const CLSID* outCategory) = 0;

  protected:
    ~IFilterMapper2() = default;
};

inline constexpr IID IID_IFilterMapper2 = IFilterMapper2::kIid;

#include "platform/media/base/filter_setup.h"

#include "platform/media/interfaces/media_clsids.h"

HRESULT AMovieSetupRegisterFilter2(const AMOVIESETUP_FILTER* setup, IFilterMapper2* mapper,
                                   BOOL reg) {
    if (!setup || !setup->clsID || !mapper) return E_POINTER;
    if (!reg)
        return mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *setup->clsID);
    REGFILTER2 record{};
    record.dwVersion = 1;
    record.dwMerit = setup->dwMerit;
    record.cPins = setup->nPins;
    record.rgPins = setup->lpPin;
    return mapper->RegisterFilter(*setup->clsID, setup->strName, nullptr,
                                  &CLSID_LegacyAmFilterCategory, nullptr, &record);
}

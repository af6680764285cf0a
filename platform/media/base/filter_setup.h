// Registration of a filter's setup record (AMOVIESETUP_FILTER) through IFilterMapper2: what
// IAMovieSetup::Register of the base filter and the in-process servers' DllRegisterServer use.
// It needs only the mapper's interface, so filters register without depending on the graph.
#pragma once

#include "platform/media/interfaces/ifilter_mapper2.h"

// Registers (`reg` TRUE) or unregisters the filter described by `setup` in the filters category
// through `mapper`. Unregistering a filter that is not registered succeeds.
HRESULT AMovieSetupRegisterFilter2(const AMOVIESETUP_FILTER* setup, IFilterMapper2* mapper,
                                   BOOL reg);

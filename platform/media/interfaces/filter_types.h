// Small value types shared by the filter interfaces: states, pin directions, pin and filter
// descriptions, allocator properties.
#pragma once

#include "platform/base/win_types.h"

struct IBaseFilter;
struct IFilterGraph;

enum FILTER_STATE : LONG { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

enum PIN_DIRECTION : LONG { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

inline constexpr int MAX_PIN_NAME = 128;
inline constexpr int MAX_FILTER_NAME = 128;

// Filled by IPin::QueryPinInfo; pFilter is a counted reference the caller releases.
struct PIN_INFO {
    IBaseFilter* pFilter;
    PIN_DIRECTION dir;
    WCHAR achName[MAX_PIN_NAME];
};

// Filled by IBaseFilter::QueryFilterInfo; pGraph is a counted reference (or null) the caller
// releases.
struct FILTER_INFO {
    WCHAR achName[MAX_FILTER_NAME];
    IFilterGraph* pGraph;
};

// Buffer count, size, alignment and prefix bytes of an allocator.
struct ALLOCATOR_PROPERTIES {
    LONG cBuffers;
    LONG cbBuffer;
    LONG cbAlign;
    LONG cbPrefix;
};

// Durations in 100-nanosecond units.
inline constexpr REFERENCE_TIME UNITS = 10'000'000;
inline constexpr REFERENCE_TIME MILLISECONDS = 10'000;

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;

// IBaseFilter: a filter's pins, its name and its membership of a graph.
#pragma once

#include "platform/media/interfaces/imedia_filter.h"

struct IEnumPins;
struct IPin;

struct IBaseFilter : IMediaFilter {
    static constexpr IID kIid = {
        0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // An enumerator over the pins in the filter's order, as they are when it is created.
    virtual HRESULT EnumPins(IEnumPins** pins) = 0;
    // The pin whose identifier (its name) equals `id`; VFW_E_NOT_FOUND when there is none.
    virtual HRESULT FindPin(LPCWSTR id, IPin** pin) = 0;
    // The name given by JoinFilterGraph and the graph (with a new reference, or null).
    virtual HRESULT QueryFilterInfo(FILTER_INFO* info) = 0;
    // Called by the graph manager only. The filter keeps `graph` without a reference (the graph
    // holds the filter) and a copy of `name` (cut to MAX_FILTER_NAME - 1 characters); a null
    // graph means the filter left the graph.
    virtual HRESULT JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) = 0;
    // Optional vendor text in task memory; E_NOTIMPL when the filter has none.
    virtual HRESULT QueryVendorInfo(LPWSTR* vendorInfo) = 0;

  protected:
    ~IBaseFilter() = default;
};

inline constexpr IID IID_IBaseFilter = IBaseFilter::kIid;

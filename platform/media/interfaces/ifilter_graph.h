// IFilterGraph: the filters of a graph and the connections between their pins.
//
// All methods are called on the application thread; the graph serialises them.
#pragma once

#include "platform/media/interfaces/ibase_filter.h"
#include "platform/media/interfaces/ipin.h"

struct IEnumFilters;

struct IFilterGraph : IUnknown {
    static constexpr IID kIid = {
        0x56A8689F, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Adds `filter` under `name` (a generated name when null) and holds a reference to it.
    // A name already in use gets a number appended and the result is VFW_S_DUPLICATE_NAME.
    // E_INVALIDARG when the filter is already in this graph.
    virtual HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) = 0;
    // Stops the filter if needed, disconnects each of its connected pins and their peers, and
    // releases the graph's reference. VFW_E_NOT_FOUND when the filter is not in the graph.
    virtual HRESULT RemoveFilter(IBaseFilter* filter) = 0;
    // The filters in the order they were added.
    virtual HRESULT EnumFilters(IEnumFilters** filters) = 0;
    // Exact (case-sensitive) name match; VFW_E_NOT_FOUND and null when none.
    virtual HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) = 0;
    // Connects output pin `output` to input pin `input` with no intermediate filter.
    // VFW_E_NOT_IN_GRAPH when a pin's filter is not in this graph; otherwise the result of
    // IPin::Connect.
    virtual HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) = 0;
    // Not offered: E_NOTIMPL.
    virtual HRESULT Reconnect(IPin* pin) = 0;
    // Disconnects this one pin (IPin::Disconnect); the caller disconnects the peer too.
    virtual HRESULT Disconnect(IPin* pin) = 0;
    // S_OK; the graph runs without a reference clock.
    virtual HRESULT SetDefaultSyncSource() = 0;

  protected:
    ~IFilterGraph() = default;
};

inline constexpr IID IID_IFilterGraph = IFilterGraph::kIid;

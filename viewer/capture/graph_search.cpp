// Finding device filters by name and pins by name, direction and connection state; connecting,
// disconnecting and removing filters.
#include "platform/base/utf16.h"
#include "platform/media/interfaces/ienum_moniker.h"
#include "platform/media/interfaces/ienum_pins.h"
#include "platform/media/interfaces/imoniker.h"
#include "platform/media/interfaces/iproperty_bag.h"
#include "platform/media/interfaces/media_errors.h"
#include "viewer/capture/capture_graph.h"

HRESULT FindDeviceFilter(ICreateDevEnum* devices, REFCLSID category, LPCWSTR name,
                         IBaseFilter** filter) {
    if (!devices || !name || !filter) return E_POINTER;
    *filter = nullptr;
    ComPtr<IEnumMoniker> monikers;
    HRESULT hr = devices->CreateClassEnumerator(category, monikers.ReleaseAndGetAddressOf(), 0);
    if (hr != S_OK) return hr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        hr = moniker->BindToStorage(nullptr, nullptr, IPropertyBag::kIid,
                                    bag.ReleaseAndGetVoidAddressOf());
        if (FAILED(hr)) continue;
        VARIANT friendlyName;
        VariantInit(&friendlyName);
        hr = bag->Read(u"FriendlyName", &friendlyName, nullptr);
        const bool match = SUCCEEDED(hr) && friendlyName.vt == VT_BSTR &&
                           std::u16string_view(friendlyName.bstrVal) == std::u16string_view(name);
        VariantClear(&friendlyName);
        if (match)
            return moniker->BindToObject(nullptr, nullptr, IBaseFilter::kIid,
                                         reinterpret_cast<void**>(filter));
    }
    return hr;
}

HRESULT FindPin(IBaseFilter* filter, LPCWSTR name, int direction, bool wantConnected, IPin** pin) {
    if (!filter || !pin) return E_POINTER;
    *pin = nullptr;
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(pins.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    ComPtr<IPin> candidate;
    while (pins->Next(1, candidate.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ComPtr<IPin> peer;
        hr = candidate->ConnectedTo(peer.ReleaseAndGetAddressOf());
        if (wantConnected) {
            // The first unconnected pin (or any failing answer) ends the search.
            if (FAILED(hr)) return hr;
        } else if (hr != VFW_E_NOT_CONNECTED) {
            continue;
        }
        PIN_INFO info{};
        hr = candidate->QueryPinInfo(&info);
        if (FAILED(hr)) return hr;
        if (info.pFilter) info.pFilter->Release();
        if (info.dir == direction &&
            (!name || std::u16string_view(info.achName) == std::u16string_view(name))) {
            *pin = candidate.Detach();
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT FindPinByName(IBaseFilter* filter, LPCWSTR name, int direction, IPin** pin) {
    if (!filter || !name || !pin) return E_POINTER;
    *pin = nullptr;
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(pins.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    ComPtr<IPin> candidate;
    while (pins->Next(1, candidate.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_INFO info{};
        hr = candidate->QueryPinInfo(&info);
        if (FAILED(hr)) return hr;
        if (info.pFilter) info.pFilter->Release();
        if (info.dir == direction &&
            std::u16string_view(info.achName) == std::u16string_view(name)) {
            *pin = candidate.Detach();
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT ConnectFromUpstream(CaptureGraph* record, IBaseFilter* downstream, LPCWSTR pinName,
                            IBaseFilter* upstream) {
    if (!downstream || !upstream) return E_INVALIDARG;
    if (!record || !record->graph) return E_FAIL;
    ComPtr<IPin> output, input;
    HRESULT hr = FindPin(upstream, pinName, PINDIR_OUTPUT, false, output.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    hr = FindPin(downstream, nullptr, PINDIR_INPUT, false, input.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return record->graph->ConnectDirect(output.Get(), input.Get(), nullptr);
}

HRESULT DisconnectSide(CaptureGraph* record, IBaseFilter* filter, int direction) {
    if (!record || !record->graph) return E_FAIL;
    ComPtr<IPin> pin, peer;
    HRESULT hr = FindPin(filter, nullptr, direction, true, pin.ReleaseAndGetAddressOf());
    if (hr == VFW_E_NOT_CONNECTED) return S_OK;
    if (FAILED(hr)) return hr;
    hr = pin->ConnectedTo(peer.ReleaseAndGetAddressOf());
    if (hr == VFW_E_NOT_CONNECTED) return S_OK;
    if (FAILED(hr)) return hr;
    hr = record->graph->Disconnect(pin.Get());
    if (FAILED(hr)) return hr;
    return record->graph->Disconnect(peer.Get());
}

HRESULT RemoveFromGraph(IBaseFilter* filter) {
    if (!filter) return E_POINTER;
    FILTER_INFO info{};
    const HRESULT hr = filter->QueryFilterInfo(&info);
    if (FAILED(hr)) return hr;
    if (!info.pGraph) return S_OK;
    const HRESULT removed = info.pGraph->RemoveFilter(filter);
    info.pGraph->Release();
    return removed;
}

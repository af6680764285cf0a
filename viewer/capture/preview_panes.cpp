// Giving each preview pane its video renderer, and taking it away.
#include "platform/com/runtime.h"
#include "platform/media/interfaces/ivmr_filter_config9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "viewer/capture/capture_graph.h"

namespace {

HRESULT PlaceVideo(IBaseFilter* renderer, HWND window, const RECT& rect) {
    ComPtr<IVMRWindowlessControl9> control;
    HRESULT hr = ComPtr<IBaseFilter>::Retain(renderer).As(&control);
    if (FAILED(hr)) return hr;
    hr = control->SetVideoClippingWindow(window);
    if (FAILED(hr)) return hr;
    return control->SetVideoPosition(nullptr, &rect);
}

// Creates a renderer for `window` in windowless mode with two mixer streams (the second one
// carries no video; it makes the renderer mix, which the preview stamp's bitmap needs).
HRESULT CreateRenderer(CaptureGraph* record, HWND window, const RECT& rect,
                       ComPtr<IBaseFilter>* result) {
    ComPtr<IBaseFilter> renderer;
    HRESULT hr = CoCreateInstance(CLSID_VideoMixingRenderer9, nullptr, CLSCTX_INPROC, &renderer);
    if (FAILED(hr)) return hr;
    hr = record->graph->AddFilter(renderer.Get(), kRendererName);
    if (FAILED(hr)) return hr;
    ComPtr<IVMRFilterConfig9> config;
    hr = renderer.As(&config);
    if (SUCCEEDED(hr)) hr = config->SetRenderingMode(VMR9Mode_Windowless);
    if (SUCCEEDED(hr)) hr = config->SetNumberOfStreams(2);
    if (SUCCEEDED(hr)) hr = PlaceVideo(renderer.Get(), window, rect);
    if (FAILED(hr)) {
        record->graph->RemoveFilter(renderer.Get());
        return hr;
    }
    *result = renderer;
    return S_OK;
}

HRESULT AttachPane(CaptureGraph* record, UINT k, HWND window, const RECT& rect) {
    if (record->renderers[k]) return PlaceVideo(record->renderers[k].Get(), window, rect);
    HRESULT hr = CreateRenderer(record, window, rect, &record->renderers[k]);
    if (FAILED(hr)) return hr;
    ComPtr<IPin> output, input;
    hr = FindPin(record->grabber.Get(), kPreviewPinNames[k], PINDIR_OUTPUT, false,
                 output.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    hr = FindPin(record->renderers[k].Get(), nullptr, PINDIR_INPUT, false,
                 input.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return record->graph->ConnectDirect(output.Get(), input.Get(), nullptr);
}

}  // namespace

HRESULT SetupPreviewPanes(CaptureGraph* record, const PaneLayout* layout) {
    if (!layout) return E_INVALIDARG;
    if (!record || !record->graph) return E_FAIL;
    HRESULT hr = S_OK;
    for (UINT k = 0; k < 4; ++k) {
        hr = layout->window[k] ? AttachPane(record, k, layout->window[k], layout->rect[k])
                               : DetachPaneRenderer(record, k);
        if (FAILED(hr)) return hr;
    }
    return hr;
}

HRESULT DetachPaneRenderer(CaptureGraph* record, UINT pane) {
    if (pane > 3) return E_INVALIDARG;
    if (!record || !record->graph) return E_FAIL;
    if (!record->renderers[pane]) return S_OK;
    // The pane's own pin, looked up by name whatever the state of the pins before it: a
    // connected-pin search would stop at an earlier pane's pin that is already detached.
    ComPtr<IPin> pin, peer;
    HRESULT hr = FindPinByName(record->grabber.Get(), kPreviewPinNames[pane], PINDIR_OUTPUT,
                               pin.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    hr = pin->ConnectedTo(peer.ReleaseAndGetAddressOf());
    if (hr == VFW_E_NOT_CONNECTED) return S_OK;
    if (FAILED(hr)) return hr;
    hr = record->graph->Disconnect(peer.Get());
    if (FAILED(hr)) return hr;
    return record->graph->Disconnect(pin.Get());
}

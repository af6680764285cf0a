#include "viewer/capture/device_commands.h"

#include "platform/com/ispecify_property_pages.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"
#include "platform/ui/property_frame.h"

namespace {

CBDADevice* Device(CaptureGraph* record) {
    return record && record->graph && record->device ? record->device.get() : nullptr;
}

}  // namespace

HRESULT StartSearch(CaptureGraph* record) {
    CBDADevice* device = Device(record);
    if (!device) return E_FAIL;
    device->StartSearch();
    return S_OK;
}

HRESULT SetValidChannels(CaptureGraph* record, int c1, int c2, int c3, int c4) {
    CBDADevice* device = Device(record);
    if (!device) return E_FAIL;
    device->SetValidChannels(c1, c2, c3, c4);
    return S_OK;
}

HRESULT GetSignalMask(CaptureGraph* record, std::uint32_t* mask) {
    CBDADevice* device = Device(record);
    if (!device) return E_FAIL;
    const std::uint32_t value = device->GetSignalMask();
    if (mask) *mask = value;
    return S_OK;
}

HRESULT SetRecordQuality(CaptureGraph* record, int quality) {
    CBDADevice* device = Device(record);
    if (!device) return E_FAIL;
    device->SetRecordQuality(quality >= 0 && quality <= 2 ? quality : 0);
    return S_OK;
}

bool IsCycling(CaptureGraph* record) {
    CBDADevice* device = Device(record);
    return device && device->IsCycling();
}

int GetSearchState(CaptureGraph* record) {
    CBDADevice* device = Device(record);
    return device ? device->GetSearchState() : -1;
}

HRESULT SetTVFormat(CaptureGraph* record, LONG value) {
    if (value < 0) return E_FAIL;
    if (!record || !record->grabber) return E_POINTER;
    ComPtr<IAMAnalogVideoDecoder> decoder;
    const HRESULT hr = record->grabber.As(&decoder);
    if (FAILED(hr)) return hr;
    return decoder->put_TVFormat(value);
}

HRESULT GetTVFormat(CaptureGraph* record, LONG* value) {
    if (!value) return E_POINTER;
    if (!record || !record->grabber) return E_POINTER;
    ComPtr<IAMAnalogVideoDecoder> decoder;
    HRESULT hr = record->grabber.As(&decoder);
    if (FAILED(hr)) return hr;
    LONG format = 0;
    hr = decoder->get_TVFormat(&format);
    if (SUCCEEDED(hr)) *value = format;
    return hr;
}

HRESULT ShowDevicePropertyPage(CaptureGraph* record, IPrompts& prompts, QWidget* owner) {
    if (!record || !record->grabber) return E_FAIL;
    ComPtr<ISpecifyPropertyPages> specify;
    HRESULT hr = record->grabber.As(&specify);
    if (FAILED(hr)) return hr;
    CAUUID pages{};
    hr = specify->GetPages(&pages);
    if (FAILED(hr)) return hr;
    IUnknown* objects[] = {record->grabber.Get()};
    hr = OleCreatePropertyFrame(prompts, owner, 30, 30, nullptr, 1, objects, pages.cElems,
                                pages.pElems, 0);
    CoTaskMemFree(pages.pElems);
    return hr;
}

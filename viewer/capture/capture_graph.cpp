// Building the capture graph around the grabber, the singleton that holds it, its teardown, and
// running, pausing and stopping it.
#include "viewer/capture/capture_graph.h"

#include "platform/com/runtime.h"
#include "platform/media/interfaces/iam_analog_video_decoder.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

// AnalogVideo_PAL_D, the standard used when "TV Format" is missing.
constexpr LONG kDefaultTvFormat = 32;
constexpr LONG kInfiniteWait = static_cast<LONG>(INFINITE);

std::unique_ptr<CaptureGraph>& Singleton() {
    static std::unique_ptr<CaptureGraph> record;
    return record;
}

// Finds a device filter by name in `category` and adds it to the graph under that name.
HRESULT AddDevice(CaptureGraph* record, ICreateDevEnum* devices, REFCLSID category, LPCWSTR name,
                  ComPtr<IBaseFilter>* slot) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = FindDeviceFilter(devices, category, name, filter.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    if (!filter) return E_POINTER;  // no device of that name: nothing to add
    hr = record->graph->AddFilter(filter.Get(), name);
    if (FAILED(hr)) return hr;
    *slot = filter;
    return S_OK;
}

HRESULT AddDeviceFilters(CaptureGraph* record) {
    if (!record->graph) return E_FAIL;
    DWORD tvFormat = kDefaultTvFormat;
    if (SettingsKeyHolder* holder = OpenSettingsKey())
        ReadSettingDword(holder, setting::kTvFormat, &tvFormat);

    ComPtr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, &devices);
    if (FAILED(hr)) return hr;
    hr = AddDevice(record, devices.Get(), AM_KSCATEGORY_CROSSBAR, kCrossbarName, &record->crossbar);
    if (FAILED(hr)) return hr;
    hr = AddDevice(record, devices.Get(), CLSID_VideoInputDeviceCategory, kGrabberName,
                   &record->grabber);
    if (FAILED(hr)) return hr;
    if (static_cast<LONG>(tvFormat) < 0) return E_FAIL;
    ComPtr<IAMAnalogVideoDecoder> decoder;
    hr = record->grabber.As(&decoder);
    if (FAILED(hr)) return hr;
    hr = decoder->put_TVFormat(static_cast<LONG>(tvFormat));
    if (FAILED(hr)) return hr;
    hr = AddDevice(record, devices.Get(), KSCATEGORY_DEVICECONTROL, kDeviceControlName,
                   &record->deviceControl);
    if (FAILED(hr)) return hr;
    record->device = std::make_unique<CBDADevice>(record->deviceControl.Get());
    if (FAILED(record->deviceControl.As(&record->device->PropertySet()))) return E_FAIL;
    return AddDevice(record, devices.Get(), CLSID_LegacyAmFilterCategory, kAudioTeeName,
                     &record->audioTee);
}

HRESULT ConnectPins(CaptureGraph* record, IBaseFilter* from, LPCWSTR output, IBaseFilter* to,
                    LPCWSTR input) {
    ComPtr<IPin> out, in;
    HRESULT hr = FindPin(from, output, PINDIR_OUTPUT, false, out.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    hr = FindPin(to, input, PINDIR_INPUT, false, in.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return record->graph->ConnectDirect(out.Get(), in.Get(), nullptr);
}

HRESULT ConnectDeviceFilters(CaptureGraph* record) {
    if (!record->grabber || !record->crossbar) return E_POINTER;
    HRESULT hr = ConnectPins(record, record->crossbar.Get(), u"0: Video Decoder Out",
                             record->grabber.Get(), u"Video Tuner In");
    if (FAILED(hr)) return hr;
    hr = ConnectPins(record, record->crossbar.Get(), u"1: Audio Decoder Out", record->grabber.Get(),
                     u"Audio Tuner In");
    if (FAILED(hr)) return hr;
    hr = ConnectPins(record, record->grabber.Get(), u"Audio PCM Out", record->audioTee.Get(),
                     nullptr);
    if (FAILED(hr)) return hr;
    ComPtr<IPin> teeOutput;
    hr = FindPin(record->audioTee.Get(), nullptr, PINDIR_OUTPUT, false,
                 teeOutput.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return hr;
    return record->graph->Render(teeOutput.Get());
}

void RemoveAndRelease(ComPtr<IBaseFilter>* filter) {
    if (!*filter) return;
    RemoveFromGraph(filter->Get());
    filter->Reset();
}

HRESULT ChangeState(CaptureGraph* record, OAFilterState wanted) {
    if (!record || !record->mediaControl) return E_FAIL;
    OAFilterState state = State_Stopped;
    HRESULT hr = record->mediaControl->GetState(kInfiniteWait, &state);
    if (FAILED(hr)) return hr;
    if (state == wanted) return S_OK;
    switch (wanted) {
        case State_Running:
            return record->mediaControl->Run();
        case State_Paused:
            return record->mediaControl->Pause();
        default:
            return record->mediaControl->Stop();
    }
}

}  // namespace

bool CaptureDevicesPresent() {
    if (FAILED(CoInitialize(nullptr))) return false;
    bool present = false;
    {
        ComPtr<ICreateDevEnum> devices;
        if (SUCCEEDED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                       &devices))) {
            const struct {
                const CLSID* category;
                LPCWSTR name;
            } wanted[] = {{&AM_KSCATEGORY_CROSSBAR, kCrossbarName},
                          {&CLSID_VideoInputDeviceCategory, kGrabberName},
                          {&KSCATEGORY_DEVICECONTROL, kDeviceControlName}};
            present = true;
            for (const auto& device : wanted) {
                ComPtr<IBaseFilter> filter;
                FindDeviceFilter(devices.Get(), *device.category, device.name,
                                 filter.ReleaseAndGetAddressOf());
                if (!filter) {
                    present = false;
                    break;
                }
            }
        }
    }
    CoUninitialize();
    return present;
}

CaptureGraph* GetCaptureGraph() {
    std::unique_ptr<CaptureGraph>& singleton = Singleton();
    if (singleton) return singleton.get();
    auto record = std::make_unique<CaptureGraph>();
    const HRESULT hr = InitCaptureGraph(record.get());
    if (hr != S_OK) {
        // A failure has torn the record down already; a partial success has not.
        if (SUCCEEDED(hr)) DestroyCaptureGraph(record.get());
        return nullptr;
    }
    singleton = std::move(record);
    return singleton.get();
}

CaptureGraph* CurrentCaptureGraph() {
    return Singleton().get();
}

void FreeCaptureGraph() {
    std::unique_ptr<CaptureGraph>& singleton = Singleton();
    if (!singleton) return;
    DestroyCaptureGraph(singleton.get());
    singleton.reset();
}

HRESULT InitCaptureGraph(CaptureGraph* record) {
    HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr)) return hr;
    if (!record->graph) {
        hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &record->graph);
        if (SUCCEEDED(hr)) hr = record->graph.As(&record->mediaControl);
        if (FAILED(hr)) {
            DestroyCaptureGraph(record);
            return hr;
        }
    }
    hr = AddDeviceFilters(record);
    if (SUCCEEDED(hr)) hr = ConnectDeviceFilters(record);
    if (FAILED(hr)) {
        DestroyCaptureGraph(record);
        return hr;
    }
    record->device->DeviceCommand3();
    return hr;
}

void DestroyCaptureGraph(CaptureGraph* record) {
    if (!record) return;
    if (record->mediaControl) {
        OAFilterState state = State_Stopped;
        if (SUCCEEDED(record->mediaControl->GetState(kInfiniteWait, &state)) &&
            state != State_Stopped)
            record->mediaControl->Stop();
    }
    for (ComPtr<IBaseFilter>* branch : {&record->videoEncoder, &record->audioEncoder,
                                        &record->aviMux, &record->fileWriter, &record->titleFilter})
        RemoveAndRelease(branch);
    for (ComPtr<IBaseFilter>& renderer : record->renderers) RemoveAndRelease(&renderer);
    RemoveAndRelease(&record->audioTee);
    RemoveAndRelease(&record->grabber);
    RemoveAndRelease(&record->crossbar);
    if (record->device) {
        record->device->PropertySet().Reset();
        record->device.reset();
    }
    RemoveAndRelease(&record->deviceControl);
    record->mediaControl.Reset();
    record->graph.Reset();
    CoUninitialize();
}

HRESULT RunGraph(CaptureGraph* record) {
    return ChangeState(record, State_Running);
}
HRESULT PauseGraph(CaptureGraph* record) {
    return ChangeState(record, State_Paused);
}
HRESULT StopGraph(CaptureGraph* record) {
    return ChangeState(record, State_Stopped);
}

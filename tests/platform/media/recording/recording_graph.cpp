#include "tests/platform/media/recording/recording_graph.h"

#include "platform/base/utf16.h"
#include "platform/com/runtime.h"
#include "platform/media/base/free_pin.h"
#include "platform/media/interfaces/iconfig_interleaving.h"
#include "platform/media/interfaces/idmo_wrapper_filter.h"
#include "platform/media/interfaces/iencoder_quality.h"
#include "platform/media/interfaces/ifile_sink_filter.h"
#include "platform/media/interfaces/ipin.h"
#include "platform/media/interfaces/media_clsids.h"
#include "platform/media/interfaces/media_errors.h"
#include "platform/media/interfaces/recording_clsids.h"

namespace recording_test {

HRESULT RecordingGraph::CreateGraph() {
    Release();
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, &graph);
    if (SUCCEEDED(hr)) hr = graph.As(&control);
    return hr;
}

void RecordingGraph::Release() {
    if (control) control->Stop();
    status = nullptr;
    videoEncoder = audioEncoder = mux = writer = nullptr;
    video = audio = nullptr;
    source = nullptr;
    control = nullptr;
    graph = nullptr;
}

HRESULT RecordingGraph::AddEncoder(REFCLSID dmo, REFGUID category, const char16_t* name,
                                   ComPtr<IBaseFilter>* filter) {
    HRESULT hr = CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, filter);
    if (FAILED(hr)) return hr;
    ComPtr<IDMOWrapperFilter> wrapper;
    hr = filter->As(&wrapper);
    if (SUCCEEDED(hr)) hr = wrapper->Init(dmo, category);
    if (SUCCEEDED(hr)) hr = graph->AddFilter(filter->Get(), name);
    return hr;
}

// Connects `from`'s pin named `pin` (the first free output when null) to `to`'s first free input.
HRESULT RecordingGraph::Connect(IBaseFilter* from, const char16_t* pin, IBaseFilter* to) {
    ComPtr<IPin> out;
    if (pin)
        from->FindPin(pin, out.ReleaseAndGetAddressOf());
    else
        out = FirstFreePin(from, PINDIR_OUTPUT);
    ComPtr<IPin> in = FirstFreePin(to, PINDIR_INPUT);
    if (!out || !in) return VFW_E_NOT_FOUND;
    return graph->ConnectDirect(out.Get(), in.Get(), nullptr);
}

HRESULT RecordingGraph::Assemble(const std::string& path, bool withAudio, LONG quality, LONG height,
                                 REFERENCE_TIME frameDuration) {
    source = RecordingSource::Create();
    video = source->AddVideo(720, height, frameDuration);
    if (withAudio) audio = source->AddAudio();
    HRESULT hr = graph->AddFilter(source.Get(), u"Source");
    if (SUCCEEDED(hr))
        hr = AddEncoder(CLSID_VideoEncoderDmo, DMOCATEGORY_VIDEO_ENCODER, u"Video Encoder",
                        &videoEncoder);
    ComPtr<IEncoderQuality> encoderQuality;
    if (SUCCEEDED(hr)) hr = videoEncoder.As(&encoderQuality);
    if (SUCCEEDED(hr)) hr = encoderQuality->put_Quality(quality);
    if (SUCCEEDED(hr)) hr = CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, &mux);
    if (SUCCEEDED(hr)) hr = graph->AddFilter(mux.Get(), u"Mux");
    if (SUCCEEDED(hr)) hr = Connect(source.Get(), u"Video", videoEncoder.Get());
    if (SUCCEEDED(hr)) hr = Connect(videoEncoder.Get(), nullptr, mux.Get());
    if (SUCCEEDED(hr) && withAudio) {
        hr = AddEncoder(CLSID_AudioEncoderDmo, DMOCATEGORY_AUDIO_ENCODER, u"Audio Encoder",
                        &audioEncoder);
        if (SUCCEEDED(hr)) hr = Connect(source.Get(), u"Audio", audioEncoder.Get());
        if (SUCCEEDED(hr)) hr = Connect(audioEncoder.Get(), nullptr, mux.Get());
    }
    ComPtr<IConfigInterleaving> interleaving;
    if (SUCCEEDED(hr)) hr = mux.As(&interleaving);
    if (SUCCEEDED(hr)) hr = interleaving->put_Mode(INTERLEAVE_CAPTURE);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, &writer);
    ComPtr<IFileSinkFilter> sink;
    if (SUCCEEDED(hr)) hr = writer.As(&sink);
    if (SUCCEEDED(hr)) hr = sink->SetFileName(utf16::FromUtf8(path).c_str(), nullptr);
    if (SUCCEEDED(hr)) hr = graph->AddFilter(writer.Get(), u"File");
    if (SUCCEEDED(hr)) hr = Connect(mux.Get(), nullptr, writer.Get());
    if (SUCCEEDED(hr)) hr = writer.As(&status);
    return hr;
}

}  // namespace recording_test

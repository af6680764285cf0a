// The recording branch: creating, connecting, disconnecting and removing its filters, and the
// start and stop of a recording on the running capture graph.
#include "viewer/capture/recording_branch.h"

#include <string>

#include "overlay/interface/imerge_overlay.h"
#include "platform/com/runtime.h"
#include "platform/media/interfaces/iconfig_interleaving.h"
#include "platform/media/interfaces/idmo_wrapper_filter.h"
#include "platform/media/interfaces/ifile_sink_filter.h"
#include "platform/media/interfaces/ifile_writer_status.h"
#include "platform/media/interfaces/imedia_object.h"
#include "platform/media/interfaces/recording_clsids.h"
#include "viewer/capture/device_commands.h"

namespace {

constexpr LONG kInfiniteWait = static_cast<LONG>(INFINITE);

void RemoveAndRelease(ComPtr<IBaseFilter>* filter) {
    if (!*filter) return;
    RemoveFromGraph(filter->Get());
    filter->Reset();
}

HRESULT CreateEncoder(CaptureGraph* record, REFCLSID dmo, REFCLSID category, LPCWSTR name,
                      ComPtr<IBaseFilter>* slot) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, &filter);
    if (FAILED(hr)) return hr;
    ComPtr<IDMOWrapperFilter> wrapper;
    hr = filter.As(&wrapper);
    if (FAILED(hr)) return hr;
    hr = wrapper->Init(dmo, category);
    if (FAILED(hr)) return hr;
    hr = record->graph->AddFilter(filter.Get(), name);
    if (FAILED(hr)) return hr;
    *slot = filter;
    return S_OK;
}

HRESULT CreateAndAdd(CaptureGraph* record, REFCLSID clsid, LPCWSTR name,
                     ComPtr<IBaseFilter>* slot) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, &filter);
    if (FAILED(hr)) return hr;
    hr = record->graph->AddFilter(filter.Get(), name);
    if (FAILED(hr)) return hr;
    *slot = filter;
    return S_OK;
}

HRESULT GraphState(CaptureGraph* record, OAFilterState* state) {
    *state = State_Stopped;
    return record->mediaControl->GetState(kInfiniteWait, state);
}

HRESULT RestoreState(CaptureGraph* record, OAFilterState state) {
    if (state == State_Paused) return record->mediaControl->Pause();
    if (state == State_Running) return record->mediaControl->Run();
    return S_OK;
}

// Steps 6 to 8 of a start: the file writer, the title and the recorded input.
HRESULT AttachFileWriter(std::u16string_view title, CaptureGraph* record, LPCWSTR fileName,
                         int channel) {
    ComPtr<IBaseFilter> writer;
    HRESULT hr = CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, &writer);
    if (FAILED(hr)) return hr;
    record->fileWriter = writer;
    ComPtr<IFileSinkFilter> sink;
    hr = writer.As(&sink);
    if (FAILED(hr)) return hr;
    hr = sink->SetFileName(fileName, nullptr);
    if (FAILED(hr)) return hr;
    hr = record->graph->AddFilter(writer.Get(), u"File");
    if (FAILED(hr)) return hr;
    hr = ConnectFromUpstream(record, writer.Get(), nullptr, record->aviMux.Get());
    if (FAILED(hr)) return hr;

    ComPtr<IMergeOverlay> overlay;
    hr = record->titleFilter.As(&overlay);
    if (FAILED(hr)) return hr;
    // The filter takes the size in bytes including the terminator; the graph is stopped here.
    const std::u16string text(title);
    hr = overlay->SetTitle(text.c_str(), static_cast<int>(text.size() * sizeof(WCHAR)) + 2);
    if (FAILED(hr)) return hr;
    record->device->SetRecordChannel(channel);
    return S_OK;
}

}  // namespace

HRESULT CreateRecordingFilters(CaptureGraph* record) {
    if (!record || !record->graph) return E_FAIL;
    HRESULT hr = CreateEncoder(record, CLSID_VideoEncoderDmo, DMOCATEGORY_VIDEO_ENCODER,
                               u"Video Encoder", &record->videoEncoder);
    if (SUCCEEDED(hr))
        hr = CreateEncoder(record, CLSID_AudioEncoderDmo, DMOCATEGORY_AUDIO_ENCODER,
                           u"Audio Encoder", &record->audioEncoder);
    if (SUCCEEDED(hr)) hr = CreateAndAdd(record, CLSID_AviDest, u"Mux", &record->aviMux);
    if (SUCCEEDED(hr))
        hr = CreateAndAdd(record, CLSID_MergeOverlay, u"Title", &record->titleFilter);
    if (FAILED(hr)) RemoveRecordingFilters(record);
    return hr;
}

HRESULT ConnectRecordingBranch(CaptureGraph* record) {
    if (!record || !record->graph || !record->audioEncoder || !record->aviMux ||
        !record->titleFilter)
        return E_POINTER;
    HRESULT hr = ConnectFromUpstream(record, record->titleFilter.Get(), u"Capture Out",
                                     record->grabber.Get());
    if (FAILED(hr)) return hr;
    hr =
        ConnectFromUpstream(record, record->videoEncoder.Get(), nullptr, record->titleFilter.Get());
    if (FAILED(hr)) return hr;
    hr = ConnectFromUpstream(record, record->aviMux.Get(), nullptr, record->videoEncoder.Get());
    if (FAILED(hr)) return hr;
    hr = ConnectFromUpstream(record, record->audioEncoder.Get(), nullptr, record->audioTee.Get());
    if (FAILED(hr)) return hr;
    hr = ConnectFromUpstream(record, record->aviMux.Get(), nullptr, record->audioEncoder.Get());
    if (FAILED(hr)) return hr;
    ComPtr<IConfigInterleaving> interleaving;
    if (FAILED(record->aviMux.As(&interleaving))) return E_FAIL;
    return interleaving->put_Mode(INTERLEAVE_CAPTURE);
}

HRESULT DisconnectRecordingBranch(CaptureGraph* record) {
    if (!record || !record->graph || !record->audioEncoder || !record->aviMux ||
        !record->titleFilter)
        return E_POINTER;
    HRESULT hr = S_OK;
    if (record->fileWriter) {
        hr = DisconnectSide(record, record->fileWriter.Get(), PINDIR_INPUT);
        if (FAILED(hr)) return hr;
    }
    if (record->videoEncoder) {
        hr = DisconnectSide(record, record->videoEncoder.Get(), PINDIR_INPUT);
        if (FAILED(hr)) return hr;
        hr = DisconnectSide(record, record->videoEncoder.Get(), PINDIR_OUTPUT);
        if (FAILED(hr)) return hr;
    }
    hr = DisconnectSide(record, record->audioEncoder.Get(), PINDIR_INPUT);
    if (FAILED(hr)) return hr;
    hr = DisconnectSide(record, record->audioEncoder.Get(), PINDIR_OUTPUT);
    if (FAILED(hr)) return hr;
    return DisconnectSide(record, record->titleFilter.Get(), PINDIR_INPUT);
}

HRESULT RemoveRecordingFilters(CaptureGraph* record) {
    if (!record) return E_POINTER;
    for (ComPtr<IBaseFilter>* slot : {&record->videoEncoder, &record->audioEncoder, &record->aviMux,
                                      &record->fileWriter, &record->titleFilter})
        RemoveAndRelease(slot);
    return S_OK;
}

HRESULT StartRecording(std::u16string_view title, CaptureGraph* record, LPCWSTR fileName,
                       int channel, int quality) {
    if (!record || !record->graph || !record->mediaControl || !record->device) return E_FAIL;
    OAFilterState state = State_Stopped;
    HRESULT hr = GraphState(record, &state);
    if (FAILED(hr)) return hr;
    if (state != State_Stopped) {
        hr = record->mediaControl->Stop();
        if (FAILED(hr)) return hr;
    }
    // A previous branch goes first; so do the filters a failed start left without a file
    // writer, which would otherwise stay in the graph holding "Capture Out".
    if (record->fileWriter || record->videoEncoder || record->audioEncoder || record->aviMux ||
        record->titleFilter) {
        if (record->audioEncoder && record->aviMux && record->titleFilter)
            DisconnectRecordingBranch(record);
        RemoveRecordingFilters(record);
    }
    SetRecordQuality(record, quality);
    hr = CreateRecordingFilters(record);
    if (FAILED(hr)) return hr;
    hr = ConnectRecordingBranch(record);
    if (FAILED(hr)) return hr;
    hr = AttachFileWriter(title, record, fileName, channel);
    if (SUCCEEDED(hr)) hr = RestoreState(record, state);
    if (FAILED(hr)) RemoveAndRelease(&record->fileWriter);
    return hr;
}

HRESULT StopRecording(CaptureGraph* record, bool restoreState) {
    if (!record || !record->graph || !record->mediaControl || !record->device) return E_FAIL;
    if (record->fileWriter) {
        ComPtr<IMediaObject> encoder;
        HRESULT hr = record->audioEncoder ? record->audioEncoder.As(&encoder) : E_POINTER;
        if (FAILED(hr)) return hr;
        encoder->Flush();
        OAFilterState state = State_Stopped;
        hr = GraphState(record, &state);
        if (FAILED(hr)) return hr;
        if (state != State_Stopped) {
            hr = record->mediaControl->Stop();
            if (FAILED(hr)) return hr;
        }
        DisconnectRecordingBranch(record);
        RemoveRecordingFilters(record);
        record->device->SetRecordQuality(0);
        if (restoreState) {
            hr = RestoreState(record, state);
            if (FAILED(hr)) return hr;
        }
    }
    record->device->DeviceCommand3();
    return S_OK;
}

HRESULT RecordingWriteError(CaptureGraph* record) {
    if (!record || !record->fileWriter) return S_OK;
    ComPtr<IFileWriterStatus> status;
    if (FAILED(record->fileWriter.As(&status))) return S_OK;
    HRESULT error = S_OK;
    if (FAILED(status->GetError(&error))) return S_OK;
    return error;
}

// CFilterGraph: the filter graph manager (CLSID_FilterGraph). Holds the filters of one graph,
// connects their pins, renders audio streams and changes the state of all filters together.
//
// Every method is meant for the application thread and serialised by the graph lock; filters
// never call back into the graph from a streaming thread. Connected pins hold each other (and so
// their filters); the graph breaks every connection of a filter it removes and, on destruction,
// stops all its filters and removes them.
#pragma once

#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/object_base.h"
#include "platform/media/base/crit_sec.h"
#include "platform/media/interfaces/ibasic_audio.h"
#include "platform/media/interfaces/igraph_builder.h"
#include "platform/media/interfaces/imedia_control.h"

class CFilterGraph final : public CUnknown,
                           public IGraphBuilder,
                           public IMediaControl,
                           public IBasicAudio {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    DECLARE_IUNKNOWN
    // IFilterGraph, IGraphBuilder, IMediaControl (and IDispatch), IBasicAudio.
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFilterGraph
    HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    // While the graph is not stopped, only a filter without connections can be removed
    // (VFW_E_NOT_STOPPED else): its peers could not be disconnected.
    HRESULT RemoveFilter(IBaseFilter* filter) override;
    HRESULT EnumFilters(IEnumFilters** filters) override;
    HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) override;
    HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) override;
    HRESULT Reconnect(IPin* pin) override;
    HRESULT Disconnect(IPin* pin) override;
    HRESULT SetDefaultSyncSource() override;

    // IGraphBuilder. Render adds the audio renderer as "Audio Renderer".
    HRESULT Connect(IPin* output, IPin* input) override;
    HRESULT Render(IPin* output) override;
    HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) override;
    HRESULT AddSourceFilter(LPCWSTR file, LPCWSTR filterName, IBaseFilter** filter) override;
    HRESULT SetLogFile(DWORD_PTR file) override;
    HRESULT Abort() override;
    HRESULT ShouldOperationContinue() override;

    // IMediaControl
    DECLARE_NO_DISPATCH
    HRESULT Run() override;
    HRESULT Pause() override;
    HRESULT Stop() override;
    HRESULT GetState(LONG milliseconds, OAFilterState* state) override;
    HRESULT RenderFile(BSTR file) override;
    HRESULT AddSourceFilter(BSTR file, IDispatch** filter) override;
    HRESULT get_FilterCollection(IDispatch** collection) override;
    HRESULT get_RegFilterCollection(IDispatch** collection) override;
    HRESULT StopWhenReady() override;

    // IBasicAudio: forwarded to the first filter of the graph that offers it (E_NOTIMPL when
    // none does).
    HRESULT put_Volume(LONG volume) override;
    HRESULT get_Volume(LONG* volume) override;
    HRESULT put_Balance(LONG balance) override;
    HRESULT get_Balance(LONG* balance) override;

  private:
    explicit CFilterGraph(IUnknown* outer);
    ~CFilterGraph() override;

    struct Entry {
        ComPtr<IBaseFilter> filter;
        ComPtr<IUnknown> identity;  // the filter's IUnknown, to recognise it through any pointer
        std::u16string name;
    };

    // All below: graph lock held.
    std::vector<Entry>::iterator Find(IUnknown* object);
    bool Contains(IBaseFilter* filter);
    HRESULT CheckPinInGraph(IPin* pin, PIN_DIRECTION wanted);
    // Filters ordered so that each comes before the filters that feed it.
    std::vector<IBaseFilter*> DownstreamFirst();
    // Takes every filter to `target`; on a failure the filters go back to the previous state.
    HRESULT ChangeState(FILTER_STATE target);
    HRESULT SetAllFilters(FILTER_STATE target, const std::vector<IBaseFilter*>& order);
    HRESULT DisconnectAll(IBaseFilter* filter);
    ComPtr<IBasicAudio> AudioFilter();

    CCritSec lock_;  // the graph lock
    // Guarded by lock_.
    std::vector<Entry> filters_;
    FILTER_STATE state_ = State_Stopped;
    REFERENCE_TIME start_ = 0;
    unsigned generatedNames_ = 0;
};

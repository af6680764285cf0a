// IMediaControl: running, pausing and stopping a whole graph.
#pragma once

#include "platform/media/interfaces/idispatch.h"

using OAFilterState = LONG;

struct IMediaControl : IDispatch {
    static constexpr IID kIid = {
        0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Each changes every filter of the graph, downstream filters before the filters that feed
    // them, and returns when they have all changed. When one fails, the filters already changed
    // are taken back to the graph's previous state and the failure is returned. Asking for the
    // current state does nothing and succeeds.
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    // The graph's state (State_Stopped 0, State_Paused 1, State_Running 2). `milliseconds`
    // bounds a wait for filters still changing (INFINITE allowed).
    virtual HRESULT GetState(LONG milliseconds, OAFilterState* state) = 0;
    // Not offered: E_NOTIMPL.
    virtual HRESULT RenderFile(BSTR file) = 0;
    virtual HRESULT AddSourceFilter(BSTR file, IDispatch** filter) = 0;
    virtual HRESULT get_FilterCollection(IDispatch** collection) = 0;
    virtual HRESULT get_RegFilterCollection(IDispatch** collection) = 0;
    // Pauses, then stops.
    virtual HRESULT StopWhenReady() = 0;

  protected:
    ~IMediaControl() = default;
};

inline constexpr IID IID_IMediaControl = IMediaControl::kIid;

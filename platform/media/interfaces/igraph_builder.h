// IGraphBuilder: connecting and rendering pins.
#pragma once

#include "platform/media/interfaces/ifilter_graph.h"

struct IGraphBuilder : IFilterGraph {
    static constexpr IID kIid = {
        0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // A direct connection with any type (no intermediate filters are inserted).
    virtual HRESULT Connect(IPin* output, IPin* input) = 0;
    // Completes the stream of unconnected output pin `output` with a renderer added to the
    // graph: an audio stream gets the audio renderer. S_OK when the stream is played;
    // VFW_S_PARTIAL_RENDER when it is connected but its format cannot be played (it is
    // consumed silently); VFW_E_CANNOT_RENDER when no renderer takes it (nothing is added);
    // VFW_E_ALREADY_CONNECTED, VFW_E_INVALID_DIRECTION, VFW_E_NOT_IN_GRAPH for a wrong pin.
    virtual HRESULT Render(IPin* output) = 0;
    // Not offered: E_NOTIMPL.
    virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
    virtual HRESULT AddSourceFilter(LPCWSTR file, LPCWSTR filterName, IBaseFilter** filter) = 0;
    virtual HRESULT SetLogFile(DWORD_PTR file) = 0;
    virtual HRESULT Abort() = 0;
    virtual HRESULT ShouldOperationContinue() = 0;

  protected:
    ~IGraphBuilder() = default;
};

inline constexpr IID IID_IGraphBuilder = IGraphBuilder::kIid;

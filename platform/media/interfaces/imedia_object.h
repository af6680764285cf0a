// IMediaObject: a synchronous media object (an encoder here) with numbered input and output
// streams, driven by a host filter (the DMO wrapper filter). Standard IID and method order.
//
// Calls come from one thread at a time: the host's application thread for types and
// resources, its streaming thread for ProcessInput/ProcessOutput/Discontinuity, and Flush from
// any thread (the object serialises them with a lock of its own).
#pragma once

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/imedia_buffer.h"
#include "platform/media/interfaces/media_type.h"

// A media object's types are the graph's media types.
using DMO_MEDIA_TYPE = AM_MEDIA_TYPE;

// One output buffer of ProcessOutput with what the object says about its content.
struct DMO_OUTPUT_DATA_BUFFER {
    IMediaBuffer* pBuffer;  // the caller's, not counted by the callee
    DWORD dwStatus;         // DMO_OUTPUT_DATA_BUFFERF_* set by the object
    REFERENCE_TIME rtTimestamp;
    REFERENCE_TIME rtTimelength;
};

inline constexpr HRESULT DMO_E_INVALIDSTREAMINDEX = static_cast<HRESULT>(0x80040201u);
inline constexpr HRESULT DMO_E_INVALIDTYPE = static_cast<HRESULT>(0x80040202u);
inline constexpr HRESULT DMO_E_TYPE_NOT_SET = static_cast<HRESULT>(0x80040203u);
inline constexpr HRESULT DMO_E_NOTACCEPTING = static_cast<HRESULT>(0x80040204u);
inline constexpr HRESULT DMO_E_TYPE_NOT_ACCEPTED = static_cast<HRESULT>(0x80040205u);
inline constexpr HRESULT DMO_E_NO_MORE_ITEMS = static_cast<HRESULT>(0x80040206u);

inline constexpr DWORD DMO_SET_TYPEF_TEST_ONLY = 0x1;
inline constexpr DWORD DMO_SET_TYPEF_CLEAR = 0x2;
inline constexpr DWORD DMO_INPUT_DATA_BUFFERF_SYNCPOINT = 0x1;
inline constexpr DWORD DMO_INPUT_DATA_BUFFERF_TIME = 0x2;
inline constexpr DWORD DMO_INPUT_DATA_BUFFERF_TIMELENGTH = 0x4;
inline constexpr DWORD DMO_OUTPUT_DATA_BUFFERF_SYNCPOINT = 0x1;
inline constexpr DWORD DMO_OUTPUT_DATA_BUFFERF_TIME = 0x2;
inline constexpr DWORD DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH = 0x4;
inline constexpr DWORD DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE = 0x01000000;
inline constexpr DWORD DMO_INPUT_STATUSF_ACCEPT_DATA = 0x1;

struct IMediaObject : IUnknown {
    static constexpr IID kIid = {
        0xD8AD0F58, 0x5494, 0x4102, {0x97, 0xC5, 0xEC, 0x79, 0x8E, 0x59, 0xBC, 0xF4}};

    virtual HRESULT GetStreamCount(DWORD* inputs, DWORD* outputs) = 0;
    virtual HRESULT GetInputStreamInfo(DWORD index, DWORD* flags) = 0;
    virtual HRESULT GetOutputStreamInfo(DWORD index, DWORD* flags) = 0;
    // The object's preferred type number `typeIndex`; DMO_E_NO_MORE_ITEMS past the end. A null
    // `type` only tests that the entry exists. The caller frees the type (FreeMediaType).
    virtual HRESULT GetInputType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type) = 0;
    virtual HRESULT GetOutputType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type) = 0;
    // Sets (or with DMO_SET_TYPEF_TEST_ONLY tests, with DMO_SET_TYPEF_CLEAR clears) a stream's
    // type; DMO_E_TYPE_NOT_ACCEPTED when refused. The output type is offered once the input's
    // is set.
    virtual HRESULT SetInputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) = 0;
    virtual HRESULT SetOutputType(DWORD index, const DMO_MEDIA_TYPE* type, DWORD flags) = 0;
    virtual HRESULT GetInputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) = 0;
    virtual HRESULT GetOutputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) = 0;
    virtual HRESULT GetInputSizeInfo(DWORD index, DWORD* size, DWORD* maxLookahead,
                                     DWORD* alignment) = 0;
    // The smallest output buffer that holds one output unit.
    virtual HRESULT GetOutputSizeInfo(DWORD index, DWORD* size, DWORD* alignment) = 0;
    virtual HRESULT GetInputMaxLatency(DWORD index, REFERENCE_TIME* latency) = 0;
    virtual HRESULT SetInputMaxLatency(DWORD index, REFERENCE_TIME latency) = 0;
    // Drops every input held and output pending; the next input starts afresh.
    virtual HRESULT Flush() = 0;
    // No more input follows the data given so far before a gap: pending output is drained by
    // the following ProcessOutput calls.
    virtual HRESULT Discontinuity(DWORD index) = 0;
    // Opens the codec (types set); FreeStreamingResources closes it.
    virtual HRESULT AllocateStreamingResources() = 0;
    virtual HRESULT FreeStreamingResources() = 0;
    virtual HRESULT GetInputStatus(DWORD index, DWORD* flags) = 0;
    // Takes one input buffer (DMO_INPUT_DATA_BUFFERF_* say which times are valid). The object
    // copies what it needs before returning. DMO_E_NOTACCEPTING while output is pending.
    virtual HRESULT ProcessInput(DWORD index, IMediaBuffer* buffer, DWORD flags,
                                 REFERENCE_TIME timestamp, REFERENCE_TIME timelength) = 0;
    // Fills the output buffers; S_FALSE when nothing was produced. A buffer flagged
    // DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE means more output waits: call again.
    virtual HRESULT ProcessOutput(DWORD flags, DWORD count, DMO_OUTPUT_DATA_BUFFER* buffers,
                                  DWORD* status) = 0;
    // Non-zero takes the object's lock, zero releases it; calls come in pairs on one thread.
    virtual HRESULT Lock(LONG lock) = 0;

  protected:
    ~IMediaObject() = default;
};

inline constexpr IID IID_IMediaObject = IMediaObject::kIid;

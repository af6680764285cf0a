// CSampleMediaBuffer: an IMediaBuffer view of a graph sample, for handing a sample's bytes to a
// media object. It lives on the stack for one ProcessInput or ProcessOutput call and is not
// reference counted (AddRef and Release do nothing): the media objects used here copy what they
// need before returning and keep no reference to the buffer.
#pragma once

#include "platform/media/interfaces/imedia_buffer.h"
#include "platform/media/interfaces/imedia_sample.h"

class CSampleMediaBuffer final : public IMediaBuffer {
  public:
    // `sample` outlives this view (not counted).
    explicit CSampleMediaBuffer(IMediaSample* sample) : m_sample(sample) {}
    CSampleMediaBuffer(const CSampleMediaBuffer&) = delete;
    CSampleMediaBuffer& operator=(const CSampleMediaBuffer&) = delete;
    ~CSampleMediaBuffer() = default;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT SetLength(DWORD length) override;
    HRESULT GetMaxLength(DWORD* maxLength) override;
    HRESULT GetBufferAndLength(BYTE** buffer, DWORD* length) override;

  private:
    // Owner's thread only (one call's duration).
    IMediaSample* const m_sample;  // not counted
};

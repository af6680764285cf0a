// CSource: a filter made of CSourceStream output pins, each with its own streaming thread.
#pragma once

#include <memory>
#include <vector>

#include "platform/media/base/base_filter.h"
#include "platform/media/base/source_stream.h"

class CSource : public CBaseFilter {
  public:
    CSource(const char* objectName, IUnknown* outer, REFCLSID clsid, HRESULT* hr = nullptr);

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;
    // From running: the streams stop pushing (their threads stay until Stop).
    HRESULT Pause() override;

    // Takes ownership of a stream created with this filter as its owner. Application thread,
    // while stopped; usually in the derived constructor.
    void AddPin(std::unique_ptr<CSourceStream> stream);
    CSourceStream* Stream(int n) const;

  protected:
    ~CSource() override;

    CCritSec m_cStateLock;  // the filter lock; declared before the pins that use it
    // Guarded by m_cStateLock; changed only while stopped.
    std::vector<std::unique_ptr<CSourceStream>> m_paStreams;
};

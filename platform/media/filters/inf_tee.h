// CInfTee: the Infinite Pin Tee (CLSID_InfTee). One input "Input"; outputs "Output1",
// "Output2", ... of which one is always free: connecting the last free output adds the next.
// Every input sample goes to every connected output (the same sample, read-only, when the
// downstream pin takes the input's allocator). Output pins are never removed while the filter
// lives; disconnected ones are reused by the next connection.
#pragma once

#include <memory>
#include <vector>

#include "platform/media/base/base_filter.h"
#include "platform/media/filters/inf_tee_pins.h"

class CInfTee final : public CBaseFilter {
  public:
    // Class-table creation function.
    static CUnknown* CreateInstance(IUnknown* outer, HRESULT* hr);

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;
    // Also waits for a sample in progress to finish.
    HRESULT Stop() override;

    // Pins' side. Filter lock held, while stopped.
    void AddFreeOutputIfNeeded();
    CInfTeeInputPin* Input() const { return input_.get(); }
    // Any thread while streaming (the list changes only while stopped).
    const std::vector<std::unique_ptr<CInfTeeOutputPin>>& Outputs() const { return outputs_; }
    CCritSec* ReceiveLock() { return &receiveLock_; }

  private:
    explicit CInfTee(IUnknown* outer);
    ~CInfTee() override;

    CCritSec lock_;         // the filter lock
    CCritSec receiveLock_;  // held around each sample
    std::unique_ptr<CInfTeeInputPin> input_;
    // Guarded by the filter lock and the receive lock; grows only.
    std::vector<std::unique_ptr<CInfTeeOutputPin>> outputs_;
};

// The pins of the Infinite Pin Tee: one input, and outputs that pass every input sample on.
#pragma once

#include "platform/media/base/base_input_pin.h"
#include "platform/media/base/base_output_pin.h"

class CInfTee;

class CInfTeeInputPin final : public CBaseInputPin {
  public:
    CInfTeeInputPin(CInfTee* tee, HRESULT* hr);

    // Any type; once outputs are connected, their peers must accept it too.
    HRESULT CheckMediaType(const CMediaType* type) override;
    // Receive lock held: the sample goes to every connected output.
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT ReceiveCanBlock() override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  private:
    CInfTee* const tee_;  // owner
};

class CInfTeeOutputPin final : public CBaseOutputPin {
  public:
    CInfTeeOutputPin(CInfTee* tee, HRESULT* hr, LPCWSTR name);

    // Needs a connected input (VFW_E_NOT_CONNECTED).
    HRESULT CheckConnect(IPin* pin) override;
    // Exactly the input's type.
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    // The input's allocator, read-only, when the downstream pin takes it; else our own.
    HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    // Adds a new free output when this was the last free one.
    HRESULT CompleteConnect(IPin* receivePin) override;

    // Streaming thread: delivers `sample` itself when the downstream pin shares the input's
    // allocator, else a copy from our own allocator.
    HRESULT DeliverSample(IMediaSample* sample);

  private:
    CInfTee* const tee_;  // owner
};

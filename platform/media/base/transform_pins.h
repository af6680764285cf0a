// The input and output pins of CTransformFilter. They pass connection steps and stream calls
// on to the filter's overridable operations.
#pragma once

#include "platform/media/base/base_input_pin.h"
#include "platform/media/base/base_output_pin.h"

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin {
  public:
    CTransformInputPin(const char* objectName, CTransformFilter* filter, HRESULT* hr, LPCWSTR name);

    // CheckInputType, and CheckTransform against a connected output.
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    // Takes the filter's receive lock, checks streaming, then CTransformFilter::Receive.
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    HRESULT ReceiveCanBlock() override;

  protected:
    CTransformFilter* const m_pTransformFilter;  // owner
};

class CTransformOutputPin : public CBaseOutputPin {
  public:
    CTransformOutputPin(const char* objectName, CTransformFilter* filter, HRESULT* hr,
                        LPCWSTR name);

    // Needs a connected input (VFW_E_NOT_CONNECTED else).
    HRESULT CheckConnect(IPin* pin) override;
    // CheckTransform against the input's type.
    HRESULT CheckMediaType(const CMediaType* type) override;
    // The filter's GetMediaType once the input is connected.
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

    // Replaces the allocator the output delivers from (in-place filters share one allocator
    // between input and output). Filter lock held, while stopped.
    void SetAllocator(IMemAllocator* allocator);

  protected:
    CTransformFilter* const m_pTransformFilter;  // owner
};

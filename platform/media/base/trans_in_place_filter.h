// CTransInPlaceFilter: a transform filter that changes each sample in place and passes the same
// sample on, so that input and output share one allocator and no frame is copied.
//
// The input accepts what CheckInputType accepts (and, once the output is connected, what the
// downstream pin accepts); the output offers and accepts exactly the input's type. The output
// delivers from the input's allocator when the downstream pin takes it. A sample is copied into
// an output buffer first only when the allocators differ or when the filter modifies data and
// the upstream gave its samples read-only.
//
// Overridable operations (see CTransformFilter for the others and their defaults):
//   CheckInputType            Required. S_OK when the input type is acceptable.
//   Transform(IMediaSample*)  Required. Changes the sample's data in place, streaming thread,
//                             receive lock held. S_OK passes it on, S_FALSE drops it; times,
//                             length and type pass through unchanged unless it changes them.
//   CompleteConnect           Optional. After a pin's connection (the input's media type is
//                             available as m_pInput->CurrentMediaType()); a failure undoes the
//                             connection. Default: S_OK.
//   SetMediaType              Optional. Default: S_OK.
//   CheckConnect              Optional. Default: S_OK.
//   BreakConnect              Optional. Default: S_OK.
//   StartStreaming            Optional. Stopped -> paused with both pins connected; a failure
//                             keeps the filter stopped. Default: S_OK.
//   StopStreaming             Optional. Back to stopped, after the last Transform. Default: S_OK.
//   CheckTransform            Provided: S_OK.
//   GetMediaType              Provided: E_UNEXPECTED (the output offers the input's type).
//   DecideBufferSize          Provided: the input allocator's properties, at least one buffer.
//   Transform(in, out)        Provided: E_UNEXPECTED (never called).
#pragma once

#include "platform/media/base/trans_in_place_pins.h"
#include "platform/media/base/transform_filter.h"

class CTransInPlaceFilter : public CTransformFilter {
  public:
    // `modifiesData` false promises that Transform only reads, so read-only samples pass
    // without a copy.
    CTransInPlaceFilter(const char* objectName, IUnknown* outer, REFCLSID clsid, HRESULT* hr,
                        bool modifiesData = true);

    // Pins "Input" and "Output".
    HRESULT CreatePins() override;

    virtual HRESULT Transform(IMediaSample* sample) = 0;

    HRESULT CheckTransform(const CMediaType* input, const CMediaType* output) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* input, IMediaSample* output) final;
    // In place, or on a copy as described above; then Deliver.
    HRESULT Receive(IMediaSample* sample) override;

    bool ModifiesData() const { return m_bModifiesData; }

  protected:
    ~CTransInPlaceFilter() override;

    // Streaming thread: an output sample with the times, flags and data of `source`.
    HRESULT Copy(IMediaSample* source, IMediaSample** copy);
    bool UsingDifferentAllocators() const;

    const bool m_bModifiesData;
};

// The pins of CTransInPlaceFilter: they pass the upstream allocator through to the downstream
// pin so that samples travel through the filter without a copy.
#pragma once

#include "platform/media/base/transform_pins.h"

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CTransformInputPin {
  public:
    CTransInPlaceInputPin(const char* objectName, CTransInPlaceFilter* filter, HRESULT* hr,
                          LPCWSTR name);

    // With the output connected: the downstream pin's allocator (which then also becomes the
    // output's); else our own.
    HRESULT GetAllocator(IMemAllocator** allocator) override;
    // Also offers the allocator to a connected downstream pin; when it takes it, the output
    // delivers from it too.
    HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    // CheckInputType, and the downstream pin must accept the type when the output is connected.
    HRESULT CheckMediaType(const CMediaType* type) override;
    // The output's type when it is connected.
    HRESULT GetMediaType(int position, CMediaType* type) override;

  private:
    CTransInPlaceFilter* const m_pTIPFilter;  // owner
};

class CTransInPlaceOutputPin : public CTransformOutputPin {
  public:
    CTransInPlaceOutputPin(const char* objectName, CTransInPlaceFilter* filter, HRESULT* hr,
                           LPCWSTR name);

    // Exactly the input's connection type (VFW_E_NOT_CONNECTED before the input connects).
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    // The input's allocator when the downstream pin takes it; else the default choice.
    HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;

  private:
    CTransInPlaceFilter* const m_pTIPFilter;  // owner
};

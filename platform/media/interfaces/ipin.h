// IPin: one connection point of a filter.
//
// Connections are made, and broken, only while the owning filter is stopped (VFW_E_NOT_STOPPED
// else), on the application thread. The data calls (EndOfStream, BeginFlush, EndFlush,
// NewSegment) arrive on input pins from the upstream filter's streaming thread.
#pragma once

#include "platform/media/interfaces/filter_types.h"
#include "platform/media/interfaces/media_type.h"

struct IEnumMediaTypes;

struct IPin : IUnknown {
    static constexpr IID kIid = {
        0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

    // Called on an output pin: connects it to the input pin `receivePin`. With a fully specified
    // `type` only that type is tried; otherwise the input pin's preferred types and then ours
    // that match the partial type. VFW_E_ALREADY_CONNECTED when this pin is connected; on any
    // failure neither pin is left connected.
    virtual HRESULT Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) = 0;
    // Called by the output pin `connector` on an input pin during Connect.
    // VFW_E_TYPE_NOT_ACCEPTED when the type is refused.
    virtual HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) = 0;
    // Breaks this side of a connection only (the caller disconnects the peer as well).
    // S_FALSE when the pin was not connected. Returns only when no sample is received on the pin.
    virtual HRESULT Disconnect() = 0;
    // The connected pin with a new reference; VFW_E_NOT_CONNECTED (and null) when unconnected.
    virtual HRESULT ConnectedTo(IPin** pin) = 0;
    // A deep copy of the connection's type (the caller frees it with FreeMediaType);
    // VFW_E_NOT_CONNECTED when unconnected.
    virtual HRESULT ConnectionMediaType(AM_MEDIA_TYPE* type) = 0;
    // Owning filter (new reference), direction and name.
    virtual HRESULT QueryPinInfo(PIN_INFO* info) = 0;
    virtual HRESULT QueryDirection(PIN_DIRECTION* direction) = 0;
    // The pin's identifier in task memory (the caller frees it with CoTaskMemFree).
    virtual HRESULT QueryId(LPWSTR* id) = 0;
    // S_OK when the pin would accept `type`, S_FALSE when not.
    virtual HRESULT QueryAccept(const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT EnumMediaTypes(IEnumMediaTypes** types) = 0;
    // E_NOTIMPL: every input feeds every output.
    virtual HRESULT QueryInternalConnections(IPin** pins, ULONG* count) = 0;
    virtual HRESULT EndOfStream() = 0;
    virtual HRESULT BeginFlush() = 0;
    virtual HRESULT EndFlush() = 0;
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) = 0;

  protected:
    ~IPin() = default;
};

inline constexpr IID IID_IPin = IPin::kIid;

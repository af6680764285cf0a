#include "platform/devices/property_handler.h"

#include <cstring>

#include "platform/devices/command_block.h"
#include "platform/devices/frame_tick.h"

namespace devices {
namespace {

bool IsInput(int n) {
    return n >= 1 && n <= kInputCount;
}

HRESULT CheckBlock(const std::uint8_t* block, DWORD bytes) {
    if (bytes < kCommandBlockBytes) return E_INVALIDARG;
    const auto magic = static_cast<std::uint16_t>(block[0] | (block[1] << 8));
    if (magic != kCommandMagic || block[kOffsetCount] > kMaxDataBytes) return E_INVALIDARG;
    return S_OK;
}

}  // namespace

HRESULT SetDeviceProperty(GrabberHardware& device, REFGUID set, DWORD id, const void*, DWORD,
                          const void* data, DWORD dataBytes) {
    if (set != kGrabberPropertySet) return kE_PropSetUnsupported;
    if (id != kCommandProperty) return kE_PropIdUnsupported;
    if (!data) return E_POINTER;
    const auto* block = static_cast<const std::uint8_t*>(data);
    if (HRESULT hr = CheckBlock(block, dataBytes); FAILED(hr)) return hr;
    const int parameter = block[kOffsetParameter];
    const int count = block[kOffsetCount];
    const std::uint8_t* bytes = block + kOffsetData;
    switch (block[kOffsetCode]) {
        case kCmdStartSearch:
            device.StartSearch();
            return S_OK;
        case kCmdSetRecordChannel:
            if (!IsInput(parameter)) return E_INVALIDARG;
            device.SetRecordInput(parameter);
            return S_OK;
        case kCmdEndRecordStream:
            device.EndRecordStream();
            return S_OK;
        case kCmdStartCycling:
            device.StartCycling();
            return S_OK;
        case kCmdSelectDisplayChannel:
            if (!IsInput(parameter)) return E_INVALIDARG;
            device.SelectInput(parameter);
            return S_OK;
        case kCmdGetSignalMask:
        case kCmdIsCycling:
            return S_OK;
        case kCmdSetCycleTiming:
            if (count < 1) return E_INVALIDARG;
            device.SetCycleTiming(bytes[0], bytes[1] != 0);
            return S_OK;
        case kCmdSetValidChannels: {
            if (count < kInputCount) return E_INVALIDARG;
            std::uint8_t mask = 0;
            for (int n = 1; n <= kInputCount; ++n)
                if (bytes[n - 1] != 0) mask |= InputBit(n);
            device.SetValidInputs(mask);
            return S_OK;
        }
        case kCmdStopSearch:
            device.StopSearch();
            return S_OK;
        case kCmdSetRecordQuality:
            if (parameter > 2) return E_INVALIDARG;
            device.SetRecordQuality(parameter);
            return S_OK;
        default:
            return E_NOTIMPL;
    }
}

HRESULT GetDeviceProperty(const GrabberHardware& device, REFGUID set, DWORD id,
                          const void* instance, DWORD instanceBytes, void* data, DWORD dataBytes,
                          DWORD* returned) {
    if (set != kGrabberPropertySet) return kE_PropSetUnsupported;
    if (!data) return E_POINTER;
    auto* out = static_cast<std::uint8_t*>(data);
    if (id == kSearchStateProperty) {
        if (dataBytes < 1) return E_INVALIDARG;
        out[0] = static_cast<std::uint8_t>(device.GetSearchState());
        if (returned) *returned = 1;
        return S_OK;
    }
    if (id != kCommandProperty) return kE_PropIdUnsupported;
    if (dataBytes < kCommandBlockBytes) return E_INVALIDARG;
    // The request: the instance data when it holds a whole block (clients pass the same buffer
    // for both), else the block already in the property data.
    std::uint8_t request[kCommandBlockBytes];
    const bool fromInstance = instance && instanceBytes >= kCommandBlockBytes;
    std::memcpy(request, fromInstance ? instance : data, kCommandBlockBytes);
    if (HRESULT hr = CheckBlock(request, kCommandBlockBytes); FAILED(hr)) return hr;
    switch (request[kOffsetCode]) {
        case kCmdGetSignalMask: {
            const std::uint8_t mask = device.SignalMask();
            for (int n = 1; n <= kInputCount; ++n)
                out[kOffsetData + n - 1] = (mask & InputBit(n)) ? 1 : 0;
            break;
        }
        case kCmdIsCycling:
            out[kOffsetData] = device.IsCycling() ? 1 : 0;
            break;
        default:
            return E_INVALIDARG;
    }
    if (returned) *returned = kCommandBlockBytes;
    return S_OK;
}

HRESULT QueryDevicePropertySupport(REFGUID set, DWORD id, DWORD* support) {
    if (set != kGrabberPropertySet) return kE_PropSetUnsupported;
    if (!support) return E_POINTER;
    if (id == kCommandProperty) {
        *support = kPropertySupportGet | kPropertySupportSet;
        return S_OK;
    }
    if (id == kSearchStateProperty) {
        *support = kPropertySupportGet;
        return S_OK;
    }
    return kE_PropIdUnsupported;
}

}  // namespace devices

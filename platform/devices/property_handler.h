// The device side of the private property set: decodes what arrives through Set and Get and
// carries it out on the hardware of the back-end. Byte-level, so that a block is handled exactly as
// it arrives from any client.
//
// Set, property 2: the 40-byte command block in the property data. Rejected with E_INVALIDARG:
// a block shorter than 40 bytes, a first word other than 0x7001, a count above 33, an input
// parameter outside 1..4 (commands 2 and 5), a quality above 2 (command 12), a valid-input
// command with fewer than 4 data bytes or a timing command with none; E_NOTIMPL for an unknown
// command code. The timing command's fast flag is read from data[1] although the count byte
// says 1: that is how the block arrives. Commands 6 and 7 are accepted and change nothing.
// Get, property 2: the request is the block in the instance data (the property data when the
// instance data is shorter than a block); command 6 writes 1 or 0 per input into data[0..3],
// command 7 writes 1 or 0 into data[0]; nothing else of the buffer changes. Other commands
// answer E_INVALIDARG and leave the buffer alone. 40 bytes are reported returned.
// Get, property 4: one byte, the search state 0..3.
#pragma once

#include "platform/base/win_types.h"
#include "platform/com/guid.h"
#include "platform/devices/grabber_hardware.h"

namespace devices {

// Results of the kernel-streaming property calls, with their Windows values.
inline constexpr HRESULT kE_PropIdUnsupported = static_cast<HRESULT>(0x80070490u);
inline constexpr HRESULT kE_PropSetUnsupported = static_cast<HRESULT>(0x80070492u);
inline constexpr HRESULT kE_DeviceNotConnected = static_cast<HRESULT>(0x8007048Fu);

// QuerySupported flags.
inline constexpr DWORD kPropertySupportGet = 1;
inline constexpr DWORD kPropertySupportSet = 2;

HRESULT SetDeviceProperty(GrabberHardware& device, REFGUID set, DWORD id, const void* instance,
                          DWORD instanceBytes, const void* data, DWORD dataBytes);

HRESULT GetDeviceProperty(const GrabberHardware& device, REFGUID set, DWORD id,
                          const void* instance, DWORD instanceBytes, void* data, DWORD dataBytes,
                          DWORD* returned);

HRESULT QueryDevicePropertySupport(REFGUID set, DWORD id, DWORD* support);

}  // namespace devices

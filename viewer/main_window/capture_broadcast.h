// The test a device-change record passes before the viewer reacts to it: a device-interface
// broadcast whose class (16 bytes at offset 12) is KSCATEGORY_CAPTURE and whose device name
// (UTF-16 from offset 28) begins with the seven characters "\\?\USB", compared case-sensitively.
// Any USB capture device passes; the grabber itself is not identified.
#pragma once

#include <cstddef>

// `record` holds `size` bytes (any alignment); records too short to hold the class and the
// seven characters do not pass.
bool IsUsbCaptureBroadcast(const void* record, std::size_t size);

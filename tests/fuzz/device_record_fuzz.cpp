// Feeds arbitrary bytes, at any alignment, to the test a device-change record passes before the
// main window reacts to it. The record sits in a buffer of exactly its size, so a read past its
// end is caught. Oracle: the answer is the one read byte by byte from the record's layout (class
// at offset 12, "\\?\USB" in UTF-16 from offset 28), and one built by DeviceBroadcast for its
// own class and path gives the same answer as the path's prefix says.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/devices/device_broadcast.h"
#include "viewer/main_window/capture_broadcast.h"

namespace {

// The same test, written from the layout alone.
bool ExpectedPass(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t kPrefixBytes = 14;
    if (size < 28 + kPrefixBytes) return false;
    if (std::memcmp(bytes + 12, &devices::KSCATEGORY_CAPTURE, sizeof(GUID)) != 0) return false;
    const char prefix[] = "\\\\?\\USB";
    for (std::size_t i = 0; i < 7; ++i) {
        if (bytes[28 + 2 * i] != static_cast<std::uint8_t>(prefix[i]) || bytes[29 + 2 * i] != 0)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FuzzInput in(data, size);
    const auto shift = static_cast<std::size_t>(in.Take<std::uint8_t>() % 4);
    const auto bytes = in.Rest();

    // The record `shift` bytes into its own allocation, ending where the allocation ends.
    std::vector<std::uint8_t> storage(shift + bytes.size());
    std::copy(bytes.begin(), bytes.end(), storage.begin() + static_cast<std::ptrdiff_t>(shift));
    const std::uint8_t* record = storage.data() + shift;
    FUZZ_CHECK(IsUsbCaptureBroadcast(record, bytes.size()) == ExpectedPass(record, bytes.size()));
    FUZZ_CHECK(!IsUsbCaptureBroadcast(nullptr, bytes.size()));

    // The rest of the input read as a device path under the capture class.
    std::u16string path(bytes.size() / 2, u'\0');
    if (!path.empty()) std::memcpy(path.data(), bytes.data(), path.size() * 2);
    const devices::DeviceBroadcast built(devices::KSCATEGORY_CAPTURE, path);
    FUZZ_CHECK(built.Size() >= 28 + 2 * (path.size() + 1));
    FUZZ_CHECK(built.Record()->dbcc_size == built.Size());
    const bool usb = std::u16string_view(path).substr(0, 7) == u"\\\\?\\USB";
    FUZZ_CHECK(IsUsbCaptureBroadcast(built.Bytes(), built.Size()) == usb);
    return 0;
}

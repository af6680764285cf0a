// Feeds arbitrary bytes, at any alignment, to the test a device-change record passes before the
// main window reacts to it. The record sits in a buffer of exactly its size, so a read past its
// end is caught. Oracle: the answer is the one read byte by byte from the record's layout (class
// at offset 12, "\\?\USB" in UTF-16 from offset 28), and one built by DeviceBroadcast for its
// own class and path gives the same answer as the path's prefix says. The input's first bytes also
// fill the properties of a udev event: the path made from them keeps its four '#'-separated
// parts and its class suffix whatever the properties hold, and passes the test exactly when the
// bus is USB.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/devices/device_broadcast.h"
#include "viewer/main_window/capture_broadcast.h"
#include "viewer/main_window/udev_event.h"

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

std::string_view TakeText(FuzzInput& in) {
    const auto bytes = in.TakeBytes(in.Take<std::uint8_t>() % 24);
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void CheckUdevPath(FuzzInput in) {
    UdevDeviceInfo device;
    device.action = TakeText(in);
    device.bus = TakeText(in);
    device.vendorId = TakeText(in);
    device.modelId = TakeText(in);
    device.serial = TakeText(in);
    device.sysName = TakeText(in);
    const std::u16string path = CaptureInterfacePath(device);
    constexpr std::u16string_view kSuffix = u"#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    FUZZ_CHECK(path.starts_with(u"\\\\?\\") && path.ends_with(kSuffix));
    const std::u16string_view middle =
        std::u16string_view(path).substr(4, path.size() - 4 - kSuffix.size());
    FUZZ_CHECK(std::count(middle.begin(), middle.end(), u'#') == 2);
    FUZZ_CHECK(middle.find(u'\\') == std::u16string_view::npos);

    std::string bus(device.bus);
    std::erase_if(
        bus, [](char c) { return c == '#' || c == '\\' || static_cast<unsigned char>(c) < 0x20; });
    const bool usb = bus.size() >= 3 && (bus[0] | 0x20) == 'u' && (bus[1] | 0x20) == 's' &&
                     (bus[2] | 0x20) == 'b';
    const devices::DeviceBroadcast record(devices::KSCATEGORY_CAPTURE, path);
    FUZZ_CHECK(IsUsbCaptureBroadcast(record.Bytes(), record.Size()) == usb);

    const std::optional<UINT> event = DeviceEventOf(device.action);
    FUZZ_CHECK(event.has_value() == (device.action == "add" || device.action == "remove"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FuzzInput in(data, size);
    const auto shift = static_cast<std::size_t>(in.Take<std::uint8_t>() % 4);
    const auto bytes = in.Rest();
    CheckUdevPath(FuzzInput(bytes.data(), bytes.size()));

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

#include "viewer/main_window/capture_broadcast.h"

#include <cstring>

#include "platform/devices/device_broadcast.h"

namespace {

constexpr std::size_t kClassOffset = 12;
constexpr std::size_t kNameOffset = 28;
constexpr char16_t kUsbPrefix[] = u"\\\\?\\USB";
constexpr std::size_t kPrefixUnits = 7;
static_assert(sizeof kUsbPrefix == (kPrefixUnits + 1) * sizeof(char16_t));

}  // namespace

bool IsUsbCaptureBroadcast(const void* record, std::size_t size) {
    if (!record || size < kNameOffset + kPrefixUnits * sizeof(char16_t)) return false;
    const auto* bytes = static_cast<const unsigned char*>(record);
    GUID interfaceClass;
    std::memcpy(&interfaceClass, bytes + kClassOffset, sizeof interfaceClass);
    if (interfaceClass != devices::KSCATEGORY_CAPTURE) return false;
    char16_t name[kPrefixUnits];
    std::memcpy(name, bytes + kNameOffset, sizeof name);
    return std::memcmp(name, kUsbPrefix, sizeof name) == 0;
}

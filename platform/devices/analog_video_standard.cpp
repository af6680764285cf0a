#include "platform/devices/analog_video_standard.h"

#include <bit>

namespace devices {

std::optional<VideoFormat> FormatOfStandard(LONG standard) {
    const auto bits = static_cast<std::uint32_t>(standard);
    if (std::popcount(bits) != 1 ||
        (bits & static_cast<std::uint32_t>(kSupportedVideoStandards)) == 0)
        return std::nullopt;
    // PAL-M and PAL-60 carry PAL colour on the 525-line, 30-frame raster of NTSC.
    constexpr LONG k525Lines = AnalogVideoMask_NTSC | AnalogVideo_PAL_M | AnalogVideo_PAL_60;
    if (standard & k525Lines) return VideoFormat{720, 480, 30};
    return VideoFormat{720, 576, 25};
}

}  // namespace devices

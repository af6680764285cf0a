#include "platform/devices/v4l2/v4l2_standard.h"

#include <linux/videodev2.h>

#include <array>
#include <utility>

#include "platform/devices/analog_video_standard.h"

namespace devices {
namespace {

constexpr std::array<std::pair<LONG, v4l2_std_id>, 12> kStandards = {{
    {AnalogVideo_NTSC_M, V4L2_STD_NTSC_M},
    {AnalogVideo_NTSC_M_J, V4L2_STD_NTSC_M_JP},
    {AnalogVideo_NTSC_433, V4L2_STD_NTSC_443},
    {AnalogVideo_PAL_B, V4L2_STD_PAL_B},
    {AnalogVideo_PAL_D, V4L2_STD_PAL_D},
    {AnalogVideo_PAL_G, V4L2_STD_PAL_G},
    {AnalogVideo_PAL_H, V4L2_STD_PAL_H},
    {AnalogVideo_PAL_I, V4L2_STD_PAL_I},
    {AnalogVideo_PAL_M, V4L2_STD_PAL_M},
    {AnalogVideo_PAL_N, V4L2_STD_PAL_N},
    {AnalogVideo_PAL_60, V4L2_STD_PAL_60},
    {AnalogVideo_PAL_N_COMBO, V4L2_STD_PAL_Nc},
}};

}  // namespace

std::optional<std::uint64_t> V4l2StandardOf(LONG standard) {
    for (const auto& [flag, id] : kStandards)
        if (flag == standard) return id;
    return std::nullopt;
}

LONG StandardOfV4l2(std::uint64_t id) {
    for (const auto& [flag, v4l2] : kStandards)
        if (id & v4l2) return flag;
    return AnalogVideo_None;
}

}  // namespace devices

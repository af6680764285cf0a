#include "platform/device_pages/video_standard_names.h"

#include <array>

#include "platform/devices/analog_video_standard.h"

namespace device_pages {
namespace {

struct NamedStandard {
    LONG flag;
    const char* name;
};

using namespace devices;

// In ascending flag order, which is the order of the list.
constexpr std::array kNames = {
    NamedStandard{AnalogVideo_NTSC_M, "NTSC-M"},
    NamedStandard{AnalogVideo_NTSC_M_J, "NTSC-M-J"},
    NamedStandard{AnalogVideo_NTSC_433, "NTSC-4.43"},
    NamedStandard{AnalogVideo_PAL_B, "PAL-B"},
    NamedStandard{AnalogVideo_PAL_D, "PAL-D"},
    NamedStandard{AnalogVideo_PAL_G, "PAL-G"},
    NamedStandard{AnalogVideo_PAL_H, "PAL-H"},
    NamedStandard{AnalogVideo_PAL_I, "PAL-I"},
    NamedStandard{AnalogVideo_PAL_M, "PAL-M"},
    NamedStandard{AnalogVideo_PAL_N, "PAL-N"},
    NamedStandard{AnalogVideo_PAL_60, "PAL-60"},
    NamedStandard{AnalogVideo_SECAM_B, "SECAM-B"},
    NamedStandard{AnalogVideo_SECAM_D, "SECAM-D"},
    NamedStandard{AnalogVideo_SECAM_G, "SECAM-G"},
    NamedStandard{AnalogVideo_SECAM_H, "SECAM-H"},
    NamedStandard{AnalogVideo_SECAM_K, "SECAM-K"},
    NamedStandard{AnalogVideo_SECAM_K1, "SECAM-K1"},
    NamedStandard{AnalogVideo_SECAM_L, "SECAM-L"},
    NamedStandard{AnalogVideo_SECAM_L1, "SECAM-L1"},
    NamedStandard{AnalogVideo_PAL_N_COMBO, "PAL-Nc"},
};

}  // namespace

const char* VideoStandardName(LONG standard) {
    for (const NamedStandard& entry : kNames) {
        if (entry.flag == standard) return entry.name;
    }
    return nullptr;
}

std::vector<LONG> ListedVideoStandards(LONG standards) {
    std::vector<LONG> listed;
    for (const NamedStandard& entry : kNames) {
        if ((standards & entry.flag) != 0) listed.push_back(entry.flag);
    }
    return listed;
}

}  // namespace device_pages

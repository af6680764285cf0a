// The decoder's video standard in both vocabularies: the analogue video standard flag the
// filters take ("TV Format") and the V4L2 standard id that VIDIOC_S_STD takes.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/base/win_types.h"

namespace devices {

// The V4L2 id of one supported standard flag; nothing for anything else.
std::optional<std::uint64_t> V4l2StandardOf(LONG standard);
// The standard flag of a V4L2 id as VIDIOC_QUERYSTD reports it (possibly several ids at once):
// the first supported flag whose id it contains; AnalogVideo_None when none.
LONG StandardOfV4l2(std::uint64_t id);

}  // namespace devices

// Display names of the analogue video standards ("PAL-D", "NTSC-M", ...) and the standards of a
// set of standard flags in the order they are listed to the user.
#pragma once

#include <vector>

#include "platform/base/win_types.h"

namespace device_pages {

// The name of one standard flag; null for zero, a combination of flags or an unknown bit.
const char* VideoStandardName(LONG standard);

// The named standards among the flags of `standards`, lowest flag first (the NTSC family, then
// PAL, SECAM and the PAL-N combination). Bits without a name are left out.
std::vector<LONG> ListedVideoStandards(LONG standards);

}  // namespace device_pages

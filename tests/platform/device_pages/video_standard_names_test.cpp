#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device_pages/video_standard_names.h"
#include "platform/devices/analog_video_standard.h"

namespace device_pages {
namespace {

using namespace devices;

std::vector<std::string> NamesOf(LONG standards) {
    std::vector<std::string> names;
    for (const LONG standard : ListedVideoStandards(standards))
        names.emplace_back(VideoStandardName(standard));
    return names;
}

TEST(VideoStandardNamesTest, SupportedStandardsAreListedByNameNtscFirst) {
    const std::vector<std::string> expected = {"NTSC-M", "NTSC-M-J", "NTSC-4.43", "PAL-B",
                                               "PAL-D",  "PAL-G",    "PAL-H",     "PAL-I",
                                               "PAL-M",  "PAL-N",    "PAL-60",    "PAL-Nc"};
    EXPECT_EQ(NamesOf(kSupportedVideoStandards), expected);
}

TEST(VideoStandardNamesTest, OnlySingleKnownFlagsHaveNames) {
    EXPECT_STREQ(VideoStandardName(AnalogVideo_SECAM_L1), "SECAM-L1");
    EXPECT_EQ(VideoStandardName(AnalogVideo_None), nullptr);
    EXPECT_EQ(VideoStandardName(AnalogVideo_PAL_D | AnalogVideo_PAL_B), nullptr);
    EXPECT_EQ(VideoStandardName(0x00200000), nullptr);
    // Unknown bits in a set are left out of the list.
    EXPECT_EQ(NamesOf(0x40000000 | AnalogVideo_NTSC_M), std::vector<std::string>{"NTSC-M"});
    EXPECT_TRUE(ListedVideoStandards(AnalogVideo_None).empty());
}

}  // namespace
}  // namespace device_pages

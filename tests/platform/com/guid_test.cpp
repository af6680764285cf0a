#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace {

TEST(GuidTest, ParsesAndFormatsTheRegistryForm) {
    const auto g = guid::Parse("{33c3c615-8E30-4874-9C74-10880261C7E8}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0x33C3C615u);
    EXPECT_EQ(g->Data2, 0x8E30);
    EXPECT_EQ(g->Data3, 0x4874);
    EXPECT_EQ(g->Data4[0], 0x9C);
    EXPECT_EQ(g->Data4[7], 0xE8);
    EXPECT_EQ(guid::ToString(*g), "{33C3C615-8E30-4874-9C74-10880261C7E8}");
    EXPECT_EQ(guid::Parse(guid::ToWide(*g)), g);
    // The in-memory layout is the standard little-endian one.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&*g);
    EXPECT_EQ(bytes[0], 0x15);
    EXPECT_EQ(bytes[3], 0x33);
    EXPECT_EQ(bytes[4], 0x30);
    EXPECT_EQ(bytes[8], 0x9C);
}

TEST(GuidTest, RejectsMalformedText) {
    for (const char* bad :
         {"", "33C3C615-8E30-4874-9C74-10880261C7E8", "{33C3C615-8E30-4874-9C74-10880261C7E}",
          "{33C3C615-8E30-4874-9C74-10880261C7E8 ", "{33C3C615+8E30-4874-9C74-10880261C7E8}",
          "{33C3C615-8E30-4874-9C74-10880261C7G8}"})
        EXPECT_FALSE(guid::Parse(bad)) << bad;
}

}  // namespace

#include "viewer/alerts/base64.h"

#include <gtest/gtest.h>

#include <string>

TEST(Base64Encode, MatchesTheStandardVectorsForEveryPaddingLength) {
    // RFC 4648, section 10.
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : vectors)
        EXPECT_EQ(Base64Encode(plain.data(), plain.size()), encoded) << plain;
}

TEST(Base64Encode, UsesTheLastTwoAlphabetCharactersAndKeepsHighBytes) {
    const std::string bytes("\xfb\xff\xbf\x00\xe4", 5);
    EXPECT_EQ(Base64Encode(bytes.data(), bytes.size()), "+/+/AOQ=");
    EXPECT_EQ(Base64Encode(nullptr, 3), "");
}

#include "viewer/alerts/mail_date.h"

#include <gtest/gtest.h>

#include <ctime>

#include "tests/support/temp_dir.h"

namespace {

// 2026-12-05 23:18:50 UTC.
constexpr std::time_t kMoment = 1796512730;

std::string FormatIn(const char* zone, std::time_t when) {
    testing_support::ScopedEnv tz("TZ", zone);
    ::tzset();
    std::string text = FormatMailDate(when);
    return text;
}

}  // namespace

TEST(FormatMailDate, WritesLocalTimeWithEnglishNamesAndTheZoneOffset) {
    // POSIX zone strings need no zone database: "XST-8" is eight hours east of UTC.
    EXPECT_EQ(FormatIn("XST-8", kMoment), "Sun, 06 Dec 2026 07:18:50 +0800");
    EXPECT_EQ(FormatIn("YST+3:30", kMoment), "Sat, 05 Dec 2026 19:48:50 -0330");
    EXPECT_EQ(FormatIn("UTC0", 0), "Thu, 01 Jan 1970 00:00:00 +0000");
    ::tzset();
}

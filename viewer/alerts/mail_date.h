// The value of a mail's Date header line for a moment in local time.
#pragma once

#include <ctime>
#include <string>

// English day and month names whatever the user's locale, 24-hour time and the local zone's
// offset from UTC, as in "Sun, 06 Dec 2026 07:18:50 +0800".
std::string FormatMailDate(std::time_t when);

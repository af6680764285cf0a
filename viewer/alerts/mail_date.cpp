#include "viewer/alerts/mail_date.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

std::string FormatMailDate(std::time_t when) {
    std::tm local{};
    if (!::localtime_r(&when, &local)) return {};
    const long offsetMinutes = local.tm_gmtoff / 60;
    const long absMinutes = std::labs(offsetMinutes);
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                      kDayNames[local.tm_wday % 7], local.tm_mday, kMonthNames[local.tm_mon % 12],
                      local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
                      offsetMinutes < 0 ? '-' : '+', absMinutes / 60, absMinutes % 60);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) return {};
    return std::string(text, static_cast<std::size_t>(length));
}

#include "viewer/settings/schedule_date.h"

#include <cstdio>

#include "platform/base/utf16.h"

namespace {

// The decimal number at the start of `field` (after blanks), as atoi reads it.
int FieldNumber(std::u16string_view text, std::size_t first, std::size_t count) {
    if (first >= text.size()) return 0;
    const std::u16string_view field = text.substr(first, count);
    std::size_t k = 0;
    while (k < field.size() && (field[k] == u' ' || field[k] == u'\t')) ++k;
    bool negative = false;
    if (k < field.size() && (field[k] == u'-' || field[k] == u'+')) negative = field[k++] == u'-';
    int value = 0;
    for (; k < field.size() && field[k] >= u'0' && field[k] <= u'9'; ++k)
        value = value * 10 + (field[k] - u'0');
    return negative ? -value : value;
}

}  // namespace

ScheduleDate ParseScheduleDate(std::u16string_view text) {
    return ScheduleDate{FieldNumber(text, 0, 4), FieldNumber(text, 5, 2), FieldNumber(text, 8, 2)};
}

std::u16string FormatScheduleDate(const ScheduleDate& date) {
    char text[40];
    std::snprintf(text, sizeof text, "%4d-%02d-%02d", date.year, date.month, date.day);
    return utf16::FromUtf8(text);
}

ScheduleDate DateOf(const std::tm& time) {
    return ScheduleDate{time.tm_year + 1900, time.tm_mon + 1, time.tm_mday};
}

bool DateBefore(const ScheduleDate& a, const ScheduleDate& b) {
    if (a.year != b.year) return a.year < b.year;
    if (a.month != b.month) return a.month < b.month;
    return a.day < b.day;
}

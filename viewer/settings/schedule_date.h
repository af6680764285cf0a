// The calendar dates of the snapshot schedule ("Schedule snap start", "Schedule snap end"): their
// stored text "%4d-%02d-%02d", read back by position, and their order by day.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

struct ScheduleDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

// Year from characters 1 to 4, month from 6 and 7, day from 9 and 10, each read as a decimal
// number (leading blanks skipped, digits up to the first other character; 0 when none).
ScheduleDate ParseScheduleDate(std::u16string_view text);
// "%4d-%02d-%02d".
std::u16string FormatScheduleDate(const ScheduleDate& date);
// The date of a broken-down local time.
ScheduleDate DateOf(const std::tm& time);
// True when `a` is an earlier day than `b` (year, then month, then day).
bool DateBefore(const ScheduleDate& a, const ScheduleDate& b);

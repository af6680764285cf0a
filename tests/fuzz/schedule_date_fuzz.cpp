// Feeds arbitrary UTF-16 text to ParseScheduleDate, and arbitrary dates to FormatScheduleDate.
// Oracle: each field comes only from its own characters (so it stays within what four or two
// characters can spell), text made by FormatScheduleDate reads back as the date it was made from
// for every date the schedule can store, and DateBefore orders dates strictly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "fuzz_input.h"
#include "viewer/settings/schedule_date.h"

namespace {

bool Same(const ScheduleDate& a, const ScheduleDate& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    ScheduleDate made;
    made.year = in.Take<std::int32_t>();
    made.month = in.Take<std::int32_t>();
    made.day = in.Take<std::int32_t>();
    const auto bytes = in.Rest();
    std::u16string text(bytes.size() / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * 2);

    const ScheduleDate read = ParseScheduleDate(text);
    FUZZ_CHECK(read.year >= -999 && read.year <= 9999);
    FUZZ_CHECK(read.month >= -9 && read.month <= 99);
    FUZZ_CHECK(read.day >= -9 && read.day <= 99);
    // Characters after the day never matter.
    if (text.size() > 10)
        FUZZ_CHECK(Same(ParseScheduleDate(std::u16string_view(text).substr(0, 10)), read));

    const std::u16string formatted = FormatScheduleDate(made);
    if (made.year >= 0 && made.year <= 9999 && made.month >= 0 && made.month <= 99 &&
        made.day >= 0 && made.day <= 99) {
        FUZZ_CHECK(formatted.size() == 10);
        FUZZ_CHECK(Same(ParseScheduleDate(formatted), made));
    }

    FUZZ_CHECK(!DateBefore(read, read));
    FUZZ_CHECK(!(DateBefore(read, made) && DateBefore(made, read)));
    if (!Same(read, made)) FUZZ_CHECK(DateBefore(read, made) != DateBefore(made, read));
    return 0;
}

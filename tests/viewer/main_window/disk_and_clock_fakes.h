// A disk whose free space and file sizes the test sets, and a local clock the test sets, for the
// window's recordings and snapshots.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/storage/recording_disk.h"
#include "viewer/capture/recording_clock.h"

namespace main_window_test {

class FakeDisk final : public storage::RecordingDisk {
  public:
    bool FreeBytes(const std::string& folder, std::uint64_t* bytes) const override {
        asked = folder;
        *bytes = freeBytes;
        return true;
    }
    std::int64_t FileBytes(const std::string&) const override { return fileBytes; }
    void SetFreeMiB(std::uint64_t mib) { freeBytes = mib << 20; }

    std::uint64_t freeBytes = std::uint64_t{5000} << 20;
    std::int64_t fileBytes = -1;
    mutable std::string asked;
};

// 2011-05-22 08:05:09.000 unless the test moves it.
class FakeClock final : public RecordingClock {
  public:
    std::tm LocalNow() const override { return now; }
    std::tm LocalNowWithMilliseconds(int* ms) const override {
        *ms = milliseconds;
        return now;
    }
    // Sets the date and time of day (month 1 to 12).
    void Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        now = std::tm{};
        now.tm_year = year - 1900;
        now.tm_mon = month - 1;
        now.tm_mday = day;
        now.tm_hour = hour;
        now.tm_min = minute;
        now.tm_sec = second;
    }

    std::tm now = [] {
        std::tm t{};
        t.tm_year = 2011 - 1900;
        t.tm_mon = 4;
        t.tm_mday = 22;
        t.tm_hour = 8;
        t.tm_min = 5;
        t.tm_sec = 9;
        return t;
    }();
    int milliseconds = 0;
};

}  // namespace main_window_test

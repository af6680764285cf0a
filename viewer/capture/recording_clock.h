// The local time recordings and snapshots name their files after, and the date timed snapshots
// compare their days with. Tests give their own; the program reads the system clock.
#pragma once

#include <ctime>

class RecordingClock {
  public:
    virtual ~RecordingClock() = default;
    // The local time now, broken down.
    virtual std::tm LocalNow() const = 0;
    // The same with the milliseconds of the second (0 to 999) in *milliseconds; the default
    // gives LocalNow() and 0.
    virtual std::tm LocalNowWithMilliseconds(int* milliseconds) const {
        *milliseconds = 0;
        return LocalNow();
    }

    static const RecordingClock& System();
};

// The local time a recording names its file after. Tests give their own; the program reads the
// system clock.
#pragma once

#include <ctime>

class RecordingClock {
  public:
    virtual ~RecordingClock() = default;
    // The local time now, broken down.
    virtual std::tm LocalNow() const = 0;

    static const RecordingClock& System();
};

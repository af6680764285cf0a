#include "viewer/capture/recording_clock.h"

const RecordingClock& RecordingClock::System() {
    class SystemClock final : public RecordingClock {
      public:
        std::tm LocalNow() const override {
            int milliseconds = 0;
            return LocalNowWithMilliseconds(&milliseconds);
        }
        std::tm LocalNowWithMilliseconds(int* milliseconds) const override {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::tm local{};
            localtime_r(&now.tv_sec, &local);
            *milliseconds = static_cast<int>(now.tv_nsec / 1000000);
            return local;
        }
    };
    static const SystemClock clock;
    return clock;
}

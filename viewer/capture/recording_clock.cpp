#include "viewer/capture/recording_clock.h"

const RecordingClock& RecordingClock::System() {
    class SystemClock final : public RecordingClock {
      public:
        std::tm LocalNow() const override {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            return local;
        }
    };
    static const SystemClock clock;
    return clock;
}

// LockState: whether the viewer's controls are locked and how long until the automatic lock.
// The viewer starts locked.
#pragma once

#include <cstdint>

struct LockState {
    std::int32_t lockCountdown = 0;  // seconds until the automatic lock; -1 while locked
    std::int32_t locked = 1;         // 1 while the controls are locked
};

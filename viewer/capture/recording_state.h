// RecordingState: whether a recording runs and the file it writes.
#pragma once

#include <array>

#include "platform/base/win_types.h"

struct RecordingState {
    bool recording = false;
    std::array<WCHAR, 260> path{};  // the file being written, terminated; empty when none
};

// One frame period of the grabber's decoder: which input it is on, and where that input's frame
// goes. The decoder is shared by the four inputs, so at each tick at most one input has a frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/devices/analog_video_standard.h"
#include "platform/devices/frame_picture.h"
#include "platform/devices/sound_piece.h"

namespace devices {

inline constexpr int kInputCount = 4;

// Bit (n - 1) of a signal, valid-input or input mask stands for input n.
constexpr std::uint8_t InputBit(int input) {
    return static_cast<std::uint8_t>(1u << (input - 1));
}

struct FrameTick {
    std::uint64_t frame = 0;          // ticks since the device was attached
    std::chrono::nanoseconds time{};  // device time of the tick (start of the frame)
    VideoFormat format;               // the picture of the current video standard
    int input = 0;                    // input 1..4 the decoder is on; 0 none (no valid input)
    bool signal = false;              // that input has a camera signal
    bool recorded = false;            // that input is the one the capture stream records
    // The input's captured picture; null when the stream draws the input's camera scene itself
    // (the simulated device has no pictures of its own).
    std::shared_ptr<const FramePicture> picture;
    // This tick is one period of the device's sound (a device with one node per input has
    // one tick per node and period; only one of them carries the sound).
    bool soundPeriod = true;
    // The device has no sound of its own: the period is silence.
    bool silent = false;
    // The period's sound as the device captured it (a device with a sound card of its own);
    // null: the audio stream makes the period's sound (tone or silence).
    std::shared_ptr<const SoundPiece> sound;

    // The input's frame goes out on its preview output.
    bool HasPreviewFrame() const { return input != 0 && signal; }
    // The same frame also goes out on the capture output.
    bool HasCaptureFrame() const { return HasPreviewFrame() && recorded; }
    std::chrono::nanoseconds Duration() const { return format.FrameTime(1); }
};

}  // namespace devices

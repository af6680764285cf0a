// ScriptedV4l2Node: a capture device for tests behind the V4l2Node interface. By default a
// four-input analogue grabber: every input has a camera, the decoder takes any standard, the
// format asked for is the format given, and each NextFrame returns at once with a frame of the
// current input (uniform picture whose luma tells the input: 20 x input number). The test
// scripts signals, status flags, the detected standard, the format the driver chooses, short
// frames, failing calls and the device's disappearance, and reads back what was asked of it.
//
// Gated mode (for tests that run the grabber's capture thread): NextFrame waits until the test
// releases a frame, the device is removed or the wait is aborted.
//
// Thread-safe: guarded by mutex_.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/devices/v4l2/v4l2_node.h"

namespace devices_test {

using devices::V4l2Capabilities;
using devices::V4l2Format;
using devices::V4l2Frame;
using devices::V4l2Input;

class ScriptedV4l2Node final : public devices::V4l2Node {
  public:
    enum class Call { QueryCap, EnumInput, SetInput, QueryStd, SetStd, SetFormat, Start, Frame };

    // `inputs` inputs; `firstInput` is the input number that index 0 stands for in frame
    // markers (a one-node-per-input card's node k shows input k + 1).
    explicit ScriptedV4l2Node(int inputs = 4, int firstInput = 1);

    // Input n (1-based index + 1) has a camera; off sets V4L2_IN_ST_NO_SIGNAL.
    void SetSignal(int input, bool signal);
    // Extra status flags of input n (no power, no horizontal lock, ...).
    void SetStatusFlags(int input, std::uint32_t flags);
    // What VIDIOC_QUERYSTD answers for an input with a signal (PAL unless told; 0: nothing
    // detected); ENOTTY when `supported` is false.
    void SetDetectedStandard(std::uint64_t standard, bool supported = true);
    // The format the driver chooses whatever is asked (pixel format and size).
    void ForceFormat(std::uint32_t pixelFormat, std::uint32_t width, std::uint32_t height);
    // The next frames are `bytes` long (0: full length again).
    void SetFrameBytes(std::size_t bytes);
    // `call` fails with `error` the next `times` times (times < 0: always).
    void Fail(Call call, int error, int times = 1);
    // The device goes away: every call from now answers ENODEV.
    void Remove();
    // Gated frames: NextFrame waits for Release.
    void SetGated(bool gated);
    void Release(int frames);

    // What was asked of it.
    std::vector<int> Switches() const;  // S_INPUT indexes in order
    std::vector<std::uint64_t> StandardsSet() const;
    std::vector<V4l2Format> FormatsSet() const;
    int CurrentIndex() const;
    bool Streaming() const;
    int Count(Call call) const;

    int QueryCapabilities(V4l2Capabilities* caps) override;
    int EnumInput(int index, V4l2Input* input) override;
    int GetInput(int* index) override;
    int SetInput(int index) override;
    int QueryStandard(std::uint64_t* standard) override;
    int SetStandard(std::uint64_t standard) override;
    int GetStandard(std::uint64_t* standard) override;
    int SetFormat(V4l2Format* format) override;
    int GetFormat(V4l2Format* format) override;
    int StartStreaming() override;
    int StopStreaming() override;
    int NextFrame(V4l2Frame* frame) override;
    void Abort() override;

  private:
    // mutex_ held: the scripted failure of `call`, or 0.
    int Failure(Call call);
    void FillFrame(V4l2Frame* frame);

    const int firstInput_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    // Guarded by mutex_.
    std::vector<std::uint32_t> status_;
    std::uint64_t detected_ = 0x000000FF;  // V4L2_STD_PAL
    bool queryStdSupported_ = true;
    std::uint32_t forcedFourcc_ = 0;
    std::uint32_t forcedWidth_ = 0;
    std::uint32_t forcedHeight_ = 0;
    std::size_t frameBytes_ = 0;
    std::map<Call, std::pair<int, int>> failures_;  // error, times left
    std::map<Call, int> counts_;
    bool removed_ = false;
    bool gated_ = false;
    bool aborted_ = false;
    int releasedFrames_ = 0;
    int index_ = 0;
    std::uint64_t standard_ = 0;
    V4l2Format format_;
    bool streaming_ = false;
    std::uint32_t sequence_ = 0;
    std::vector<int> switches_;
    std::vector<std::uint64_t> standards_;
    std::vector<V4l2Format> formats_;
};

// The luma marker of input n's frames.
constexpr int MarkerOf(int input) {
    return 20 * input;
}

}  // namespace devices_test

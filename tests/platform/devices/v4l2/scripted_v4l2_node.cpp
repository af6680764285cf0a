#include "tests/platform/devices/v4l2/scripted_v4l2_node.h"

#include <linux/videodev2.h>

#include <cerrno>

namespace devices_test {

ScriptedV4l2Node::ScriptedV4l2Node(int inputs, int firstInput)
    : firstInput_(firstInput), status_(static_cast<std::size_t>(inputs), 0) {}

void ScriptedV4l2Node::SetSignal(int input, bool signal) {
    std::lock_guard lock(mutex_);
    std::uint32_t& status = status_.at(static_cast<std::size_t>(input - 1));
    status = signal ? status & ~V4L2_IN_ST_NO_SIGNAL : status | V4L2_IN_ST_NO_SIGNAL;
}

void ScriptedV4l2Node::SetStatusFlags(int input, std::uint32_t flags) {
    std::lock_guard lock(mutex_);
    status_.at(static_cast<std::size_t>(input - 1)) = flags;
}

void ScriptedV4l2Node::SetDetectedStandard(std::uint64_t standard, bool supported) {
    std::lock_guard lock(mutex_);
    detected_ = standard;
    queryStdSupported_ = supported;
}

void ScriptedV4l2Node::ForceFormat(std::uint32_t pixelFormat, std::uint32_t width,
                                   std::uint32_t height) {
    std::lock_guard lock(mutex_);
    forcedFourcc_ = pixelFormat;
    forcedWidth_ = width;
    forcedHeight_ = height;
}

void ScriptedV4l2Node::SetFrameBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    frameBytes_ = bytes;
}

void ScriptedV4l2Node::Fail(Call call, int error, int times) {
    std::lock_guard lock(mutex_);
    failures_[call] = {error, times};
}

void ScriptedV4l2Node::Remove() {
    {
        std::lock_guard lock(mutex_);
        removed_ = true;
    }
    released_.notify_all();
}

void ScriptedV4l2Node::SetGated(bool gated) {
    std::lock_guard lock(mutex_);
    gated_ = gated;
}

void ScriptedV4l2Node::Release(int frames) {
    {
        std::lock_guard lock(mutex_);
        releasedFrames_ += frames;
    }
    released_.notify_all();
}

std::vector<int> ScriptedV4l2Node::Switches() const {
    std::lock_guard lock(mutex_);
    return switches_;
}

std::vector<std::uint64_t> ScriptedV4l2Node::StandardsSet() const {
    std::lock_guard lock(mutex_);
    return standards_;
}

std::vector<V4l2Format> ScriptedV4l2Node::FormatsSet() const {
    std::lock_guard lock(mutex_);
    return formats_;
}

int ScriptedV4l2Node::CurrentIndex() const {
    std::lock_guard lock(mutex_);
    return index_;
}

bool ScriptedV4l2Node::Streaming() const {
    std::lock_guard lock(mutex_);
    return streaming_;
}

int ScriptedV4l2Node::Count(Call call) const {
    std::lock_guard lock(mutex_);
    const auto it = counts_.find(call);
    return it == counts_.end() ? 0 : it->second;
}

int ScriptedV4l2Node::Failure(Call call) {
    ++counts_[call];
    if (removed_) return ENODEV;
    auto it = failures_.find(call);
    if (it == failures_.end() || it->second.second == 0) return 0;
    if (it->second.second > 0) --it->second.second;
    return it->second.first;
}

int ScriptedV4l2Node::QueryCapabilities(V4l2Capabilities* caps) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::QueryCap)) return e;
    caps->driver = "scripted";
    caps->card = "Scripted four-input grabber";
    caps->busInfo = "usb-0000:00:14.0-1";
    caps->deviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    return 0;
}

int ScriptedV4l2Node::EnumInput(int index, V4l2Input* input) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::EnumInput)) return e;
    if (index < 0 || index >= static_cast<int>(status_.size())) return EINVAL;
    input->name = "Composite " + std::to_string(index + firstInput_);
    input->type = V4L2_INPUT_TYPE_CAMERA;
    // Like most decoders, the status is only known for the input the decoder is on.
    input->status = index == index_ ? status_[static_cast<std::size_t>(index)] : 0;
    input->standards = V4L2_STD_ALL;
    return 0;
}

int ScriptedV4l2Node::GetInput(int* index) {
    std::lock_guard lock(mutex_);
    if (removed_) return ENODEV;
    *index = index_;
    return 0;
}

int ScriptedV4l2Node::SetInput(int index) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::SetInput)) return e;
    if (index < 0 || index >= static_cast<int>(status_.size())) return EINVAL;
    index_ = index;
    switches_.push_back(index);
    return 0;
}

int ScriptedV4l2Node::QueryStandard(std::uint64_t* standard) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::QueryStd)) return e;
    if (!queryStdSupported_) return ENOTTY;
    const bool signal = !(status_[static_cast<std::size_t>(index_)] & V4L2_IN_ST_NO_SIGNAL);
    *standard = signal ? detected_ : 0;
    return 0;
}

int ScriptedV4l2Node::SetStandard(std::uint64_t standard) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::SetStd)) return e;
    if (streaming_) return EBUSY;
    standard_ = standard;
    standards_.push_back(standard);
    return 0;
}

int ScriptedV4l2Node::GetStandard(std::uint64_t* standard) {
    std::lock_guard lock(mutex_);
    if (removed_) return ENODEV;
    *standard = standard_;
    return 0;
}

int ScriptedV4l2Node::SetFormat(V4l2Format* format) {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::SetFormat)) return e;
    if (streaming_) return EBUSY;
    formats_.push_back(*format);
    if (forcedFourcc_) {
        format->pixelFormat = forcedFourcc_;
        format->width = forcedWidth_;
        format->height = forcedHeight_;
    }
    const std::uint32_t bpp = format->pixelFormat == V4L2_PIX_FMT_RGB24 ? 3 : 2;
    format->bytesPerLine = format->width * bpp;
    format->imageBytes = format->bytesPerLine * format->height;
    format_ = *format;
    return 0;
}

int ScriptedV4l2Node::GetFormat(V4l2Format* format) {
    std::lock_guard lock(mutex_);
    if (removed_) return ENODEV;
    *format = format_;
    return 0;
}

int ScriptedV4l2Node::StartStreaming() {
    std::lock_guard lock(mutex_);
    if (int e = Failure(Call::Start)) return e;
    streaming_ = true;
    return 0;
}

int ScriptedV4l2Node::StopStreaming() {
    std::lock_guard lock(mutex_);
    streaming_ = false;
    return removed_ ? ENODEV : 0;
}

void ScriptedV4l2Node::FillFrame(V4l2Frame* frame) {
    const auto luma = static_cast<std::uint8_t>(MarkerOf(index_ + firstInput_));
    frame->bytes.assign(format_.imageBytes, 128);
    if (format_.pixelFormat == V4L2_PIX_FMT_UYVY) {
        for (std::size_t i = 1; i < frame->bytes.size(); i += 2) frame->bytes[i] = luma;
    } else if (format_.pixelFormat == V4L2_PIX_FMT_YUYV) {
        for (std::size_t i = 0; i < frame->bytes.size(); i += 2) frame->bytes[i] = luma;
    } else {
        // RGB: a grey whose luma is the marker (full-range grey g has luma 16 + 219 g / 255).
        const int grey = (luma - 16) * 255 / 219;
        std::fill(frame->bytes.begin(), frame->bytes.end(), static_cast<std::uint8_t>(grey));
    }
    if (frameBytes_ != 0 && frameBytes_ < frame->bytes.size()) frame->bytes.resize(frameBytes_);
    frame->sequence = sequence_++;
}

int ScriptedV4l2Node::NextFrame(V4l2Frame* frame) {
    std::unique_lock lock(mutex_);
    if (gated_) {
        released_.wait(lock, [&] { return releasedFrames_ > 0 || removed_ || aborted_; });
        if (aborted_) return ECANCELED;
        if (!removed_) --releasedFrames_;
    }
    if (aborted_) return ECANCELED;
    if (int e = Failure(Call::Frame)) return e;
    if (!streaming_) return EINVAL;
    FillFrame(frame);
    return 0;
}

void ScriptedV4l2Node::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
    }
    released_.notify_all();
}

}  // namespace devices_test

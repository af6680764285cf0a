#include "platform/devices/v4l2/v4l2_grabber.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/devices/property_handler.h"
#include "platform/devices/v4l2/v4l2_standard.h"

namespace devices {
namespace {

constexpr std::uint32_t kNoSignalFlags =
    V4L2_IN_ST_NO_POWER | V4L2_IN_ST_NO_SIGNAL | V4L2_IN_ST_NO_H_LOCK;

}  // namespace

V4l2Grabber::V4l2Grabber(std::vector<std::unique_ptr<V4l2Node>> nodes, V4l2GrabberConfig config,
                         std::shared_ptr<const DeviceClock> clock,
                         std::unique_ptr<SoundSource> sound)
    : clock_(std::move(clock)),
      config_(std::move(config)),
      changes_(config_.devicePath),
      sound_(std::move(sound)),
      schedule_(config_.settleFrames, config_.shortChecks),
      format_(*FormatOfStandard(kDefaultVideoStandard)) {
    for (std::unique_ptr<V4l2Node>& node : nodes) {
        auto capture = std::make_unique<Capture>();
        capture->node = std::move(node);
        nodes_.push_back(std::move(capture));
    }
    schedule_.SetFramesPerSecond(format_.framesPerSecond);
}

V4l2Grabber::~V4l2Grabber() {
    Stop();
}

int V4l2Grabber::ConfigureNode(Capture& capture, LONG standard) {
    const VideoFormat picture = *FormatOfStandard(standard);
    // Cameras without an analogue decoder have no standard to set.
    const int stdError = capture.node->SetStandard(*V4l2StandardOf(standard));
    if (stdError == ENODEV) return stdError;
    V4l2Format format;
    format.width = static_cast<std::uint32_t>(picture.width);
    format.height = static_cast<std::uint32_t>(picture.height);
    format.pixelFormat = V4L2_PIX_FMT_UYVY;
    if (int e = capture.node->SetFormat(&format)) return e;
    if (!capture.converter.Configure(format, picture)) return EINVAL;
    capture.appliedStandard = standard;
    return 0;
}

int V4l2Grabber::Open() {
    LONG standard;
    {
        std::lock_guard lock(mutex_);
        standard = standard_;
    }
    for (std::unique_ptr<Capture>& capture : nodes_) {
        V4l2Capabilities caps;
        if (int e = capture->node->QueryCapabilities(&caps)) return e;
        if (!(caps.deviceCaps & V4L2_CAP_VIDEO_CAPTURE)) return ENOTSUP;
        if (int e = ConfigureNode(*capture, standard)) return e;
        if (!OneNodePerInput())
            if (int e = capture->node->SetInput(0)) return e;
    }
    for (std::unique_ptr<Capture>& capture : nodes_)
        if (int e = capture->node->StartStreaming()) return e;
    std::lock_guard lock(mutex_);
    attached_ = true;
    return 0;
}

void V4l2Grabber::Start() {
    if (!threads_.empty()) return;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        threads_.emplace_back([this, i] {
            while (PumpFrame(i)) {
            }
        });
}

void V4l2Grabber::Stop() {
    for (std::unique_ptr<Capture>& capture : nodes_) capture->node->Abort();
    for (std::thread& thread : threads_) {
        if (thread.get_id() == std::this_thread::get_id())
            thread.detach();
        else if (thread.joinable())
            thread.join();
    }
    threads_.clear();
}

void V4l2Grabber::MarkRemoved() {
    {
        std::lock_guard lock(mutex_);
        if (!attached_) return;
        attached_ = false;
    }
    changes_.Post(DBT_DEVICEREMOVECOMPLETE);
    changes_.Deliver();
}

bool V4l2Grabber::HandleFailure(Capture& capture, int error) {
    if (error == ENODEV) {
        MarkRemoved();
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        ++counts_.failures;
    }
    if (++capture.failuresInRow >= kFailuresMeaningRemoval) {
        MarkRemoved();
        return false;
    }
    return true;
}

bool V4l2Grabber::PumpFrame(std::size_t index) {
    if (index >= nodes_.size()) return false;
    Capture& capture = *nodes_[index];
    LONG wanted;
    {
        std::lock_guard lock(mutex_);
        if (!attached_) return false;
        wanted = standard_;
    }
    if (wanted != capture.appliedStandard) {
        // A new standard: the node stops, takes the standard and the new size, and restarts;
        // the decoder locks again.
        capture.node->StopStreaming();
        int e = ConfigureNode(capture, wanted);
        if (!e) e = capture.node->StartStreaming();
        if (e) return HandleFailure(capture, e);
        capture.dwell = 0;
    }
    const int error = capture.node->NextFrame(&capture.frame);
    if (error == ECANCELED) return false;
    if (error) return HandleFailure(capture, error);
    capture.failuresInRow = 0;
    if (OneNodePerInput()) return PumpPerInput(capture, static_cast<int>(index) + 1);
    return PumpShared(capture);
}

int V4l2Grabber::ReadSignal(Capture& capture, int nodeInput, bool searching, bool* signal) {
    *signal = false;
    V4l2Input input;
    const int e = capture.node->EnumInput(nodeInput, &input);
    if (e == ENODEV) return e;
    if (e) {
        // An input whose status cannot be read counts as one without a signal.
        std::lock_guard lock(mutex_);
        ++counts_.failures;
        return 0;
    }
    if (input.status & kNoSignalFlags) return 0;
    *signal = true;
    if (!searching) return 0;
    // The search asks the decoder as well: a detected standard confirms the signal. A decoder
    // that cannot tell (no QUERYSTD) leaves the input status alone.
    std::uint64_t detected = 0;
    const int q = capture.node->QueryStandard(&detected);
    if (q == ENODEV) return q;
    *signal = q != 0 || detected != 0;
    return 0;
}

bool V4l2Grabber::PumpShared(Capture& capture) {
    InputSchedule::Frame frame;
    bool searching;
    {
        std::lock_guard lock(mutex_);
        ++counts_.frames;
        frame = schedule_.OnFrame();
        searching = schedule_.Searching();
    }
    bool signal = false;
    if (frame.check) {
        if (ReadSignal(capture, frame.input - 1, searching, &signal) == ENODEV) {
            MarkRemoved();
            return false;
        }
    }
    {
        std::lock_guard lock(mutex_);
        if (frame.check) schedule_.SetSignal(frame.input, signal);
        if (frame.input != 0 && !frame.deliver) ++counts_.settleDrops;
    }
    Deliver(capture, frame.deliver ? frame.input : 0, true);
    int next;
    {
        std::lock_guard lock(mutex_);
        next = schedule_.AfterFrame();
    }
    if (next == 0) return true;
    const int e = capture.node->SetInput(next - 1);
    if (e == ENODEV) {
        MarkRemoved();
        return false;
    }
    std::lock_guard lock(mutex_);
    if (e) {
        ++counts_.failures;
        schedule_.SwitchFailed(next);
    } else {
        schedule_.Switched(next);
    }
    return true;
}

bool V4l2Grabber::PumpPerInput(Capture& capture, int input) {
    // Every node streams its own input: it settles once, when its stream starts.
    if (capture.dwell < std::numeric_limits<int>::max()) ++capture.dwell;
    const bool settled = capture.dwell > config_.settleFrames;
    bool signal = false;
    if (capture.dwell >= config_.settleFrames) {
        bool searching;
        {
            std::lock_guard lock(mutex_);
            searching = schedule_.Searching();
        }
        if (ReadSignal(capture, 0, searching, &signal) == ENODEV) {
            MarkRemoved();
            return false;
        }
    }
    {
        std::lock_guard lock(mutex_);
        ++counts_.frames;
        if (!settled) ++counts_.settleDrops;
        if (capture.dwell >= config_.settleFrames) schedule_.SetSignal(input, signal);
        // The first node's frames keep the time of the device's own round (the input shown
        // while cycling); no node is switched.
        if (input == 1) {
            schedule_.OnFrame();
            if (const int next = schedule_.AfterFrame()) schedule_.Switched(next);
        }
    }
    Deliver(capture, settled ? input : 0, input == 1);
    return true;
}

void V4l2Grabber::Deliver(Capture& capture, int input, bool soundPeriod) {
    std::shared_ptr<FramePicture> picture;
    bool refused = false;
    if (input != 0) {
        picture = pictures_.Take();
        if (!capture.converter.Convert(capture.frame.bytes, picture.get())) {
            picture.reset();
            refused = true;
        }
    }
    std::shared_ptr<SoundPiece> sound;
    int soundError = 0;
    if (soundPeriod && sound_) {
        sound = sounds_.Take();
        sound->samples.clear();
        // One frame period of the standard the node streams in.
        const int fps = FormatOfStandard(capture.appliedStandard)
                            .value_or(VideoFormat{0, 0, 25})
                            .framesPerSecond;
        const std::size_t frames = static_cast<std::size_t>(48000 / std::max(fps, 1));
        soundError = sound_->Read(&sound->samples, frames);
    }
    std::lock_guard lock(mutex_);
    if (!attached_) return;
    if (refused) ++counts_.shortFrames;
    if (soundError) ++counts_.soundFailures;
    FrameTick tick;
    tick.frame = frameCount_++;
    tick.time = clock_->Now();
    tick.format = format_;
    tick.soundPeriod = soundPeriod;
    tick.silent = !sound;
    tick.sound = std::move(sound);
    if (picture) {
        tick.input = input;
        tick.signal = (schedule_.SignalMask() & InputBit(input)) != 0;
        tick.recorded = schedule_.RecordInput() == input;
        tick.picture = std::move(picture);
        if (tick.signal) ++counts_.delivered[static_cast<std::size_t>(input - 1)];
    }
    for (FrameListener* listener : frameListeners_) listener->OnFrameTick(tick);
}

V4l2CaptureCounts V4l2Grabber::Counts() {
    std::lock_guard lock(mutex_);
    return counts_;
}

HRESULT V4l2Grabber::SetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                                 const void* data, DWORD dataBytes) {
    std::lock_guard lock(mutex_);
    if (!attached_) return kE_DeviceNotConnected;
    return SetDeviceProperty(schedule_, set, id, instance, instanceBytes, data, dataBytes);
}

HRESULT V4l2Grabber::GetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                                 void* data, DWORD dataBytes, DWORD* returned) {
    std::lock_guard lock(mutex_);
    if (!attached_) return kE_DeviceNotConnected;
    return GetDeviceProperty(schedule_, set, id, instance, instanceBytes, data, dataBytes,
                             returned);
}

HRESULT V4l2Grabber::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    return QueryDevicePropertySupport(set, id, support);
}

HRESULT V4l2Grabber::PutVideoStandard(LONG standard) {
    std::lock_guard lock(mutex_);
    if (!attached_) return kE_DeviceNotConnected;
    const std::optional<VideoFormat> format = FormatOfStandard(standard);
    if (!format || !V4l2StandardOf(standard)) return E_INVALIDARG;
    standard_ = standard;
    format_ = *format;
    schedule_.SetFramesPerSecond(format->framesPerSecond);
    return S_OK;
}

HRESULT V4l2Grabber::GetVideoStandard(LONG* standard) {
    if (!standard) return E_POINTER;
    std::lock_guard lock(mutex_);
    if (!attached_) return kE_DeviceNotConnected;
    *standard = standard_;
    return S_OK;
}

GrabberStatus V4l2Grabber::Status() {
    GrabberStatus status;
    std::lock_guard lock(mutex_);
    status.time = clock_->Now();
    status.attached = attached_;
    status.searchState = schedule_.GetSearchState();
    status.cycling = schedule_.IsCycling();
    status.input = schedule_.ShownInput();
    status.signalMask = schedule_.SignalMask();
    status.validInputs = schedule_.ValidInputs();
    status.turnSpan = schedule_.TurnSpan();
    status.fastTurning = schedule_.FastTurning();
    status.recordInput = schedule_.RecordInput();
    status.recordQuality = schedule_.RecordQuality();
    status.videoStandard = standard_;
    status.format = format_;
    return status;
}

void V4l2Grabber::AddFrameListener(FrameListener* listener) {
    std::lock_guard lock(mutex_);
    frameListeners_.push_back(listener);
}

void V4l2Grabber::RemoveFrameListener(FrameListener* listener) {
    std::lock_guard lock(mutex_);
    std::erase(frameListeners_, listener);
}

void V4l2Grabber::AddDeviceChangeListener(DeviceChangeListener* listener) {
    changes_.Add(listener);
}

void V4l2Grabber::RemoveDeviceChangeListener(DeviceChangeListener* listener) {
    changes_.Remove(listener);
}

}  // namespace devices

// V4l2Grabber: the grabber device over Linux capture hardware, behind the same three device
// filters as the simulated grabber. Two shapes:
// - one video node whose inputs share one decoder (analogue capture cards, USB grabbers): the
//   inputs are switched with VIDIOC_S_INPUT as the InputSchedule says, the first frames after a
//   switch are dropped until the decoder locks (the settle count), and each frame goes out as
//   the frame of the input it shows;
// - several nodes, one per input (multi-decoder cards): node k is input k + 1, every node
//   streams at once and settles once when its stream starts; cycling then only moves the input
//   the device reports as shown (the first node's frames keep its time).
//
// The private property set drives the schedule (search pass over ENUMINPUT status and
// QUERYSTD, live signal mask, cycling at the turn span, fixed mode, the recorded input);
// "TV Format" becomes VIDIOC_S_STD, applied by the capture thread between frames. Frames are
// converted to UYVY at the standard's picture size. A node that answers ENODEV, or keeps
// failing for kFailuresMeaningRemoval frames in a row, is taken as removed: the streams end and
// the change listeners get the removal. Sound: the device's sound card when it has one (read
// once per frame period), else silence.
//
// Thread-safe. Each node is used only by its capture thread (started by Start), or, without
// Start, by whoever calls PumpFrame (tests step the device frame by frame that way).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/devices/device_change_dispatcher.h"
#include "platform/devices/grabber_device.h"
#include "platform/devices/v4l2/buffer_pool.h"
#include "platform/devices/v4l2/frame_converter.h"
#include "platform/devices/v4l2/input_schedule.h"
#include "platform/devices/v4l2/sound_source.h"
#include "platform/devices/v4l2/v4l2_node.h"

namespace devices {

// Frames dropped after a switch of input while the decoder locks: six frames (a quarter of a
// second at 25 frames per second) is what common analogue decoders need to lock and deliver a
// clean picture.
inline constexpr int kDefaultSettleFrames = 6;
// Frames in a row that fail to arrive (errors other than ENODEV) before the device counts as
// removed.
inline constexpr int kFailuresMeaningRemoval = 50;

struct V4l2GrabberConfig {
    std::u16string devicePath;  // of the broadcast record ("\\?\USB#..." for USB devices)
    int settleFrames = kDefaultSettleFrames;
    bool shortChecks = true;  // dead inputs get a short check only while cycling
};

// What the capture did, counted since Open.
struct V4l2CaptureCounts {
    std::array<std::uint64_t, 4> delivered{};  // frames with a signal handed out, per input
    std::uint64_t frames = 0;                  // every frame dequeued
    std::uint64_t settleDrops = 0;             // dropped while the decoder locked
    std::uint64_t shortFrames = 0;             // refused: shorter than the format
    std::uint64_t failures = 0;                // failed frame waits and ioctls
    std::uint64_t soundFailures = 0;           // failed reads of the sound card
};

class V4l2Grabber final : public GrabberDevice {
  public:
    // `nodes`: one node with several inputs, or one node per input. The nodes are not used
    // before Open.
    // `sound`: the device's sound card, read by the first node's capture thread; null: the
    // audio output sends silence.
    V4l2Grabber(std::vector<std::unique_ptr<V4l2Node>> nodes, V4l2GrabberConfig config,
                std::shared_ptr<const DeviceClock> clock, std::unique_ptr<SoundSource> sound = {});
    ~V4l2Grabber() override;
    V4l2Grabber(const V4l2Grabber&) = delete;
    V4l2Grabber& operator=(const V4l2Grabber&) = delete;

    // Owner's thread, before Start: checks that every node captures video, sets the default
    // standard and the UYVY format and starts streaming on input 1. 0 or the errno value of
    // the step that failed (then nothing streams).
    int Open();
    // Owner's thread: one capture thread per node / aborts the nodes' waits and joins them.
    // Stopping is final: an aborted node waits for nothing again (a device that comes back is
    // a new grabber on newly opened nodes).
    void Start();
    void Stop();
    // One frame of node `index` (the capture thread's loop body): false when the capture of
    // that node has ended (aborted, removed).
    bool PumpFrame(std::size_t index = 0);

    bool OneNodePerInput() const { return nodes_.size() > 1; }
    V4l2CaptureCounts Counts();

    // GrabberDevice.
    const DeviceClock& Clock() const override { return *clock_; }
    HRESULT SetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                        const void* data, DWORD dataBytes) override;
    HRESULT GetProperty(REFGUID set, DWORD id, const void* instance, DWORD instanceBytes,
                        void* data, DWORD dataBytes, DWORD* returned) override;
    HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override;
    HRESULT PutVideoStandard(LONG standard) override;
    HRESULT GetVideoStandard(LONG* standard) override;
    GrabberStatus Status() override;
    void AddFrameListener(FrameListener* listener) override;
    void RemoveFrameListener(FrameListener* listener) override;
    void AddDeviceChangeListener(DeviceChangeListener* listener) override;
    void RemoveDeviceChangeListener(DeviceChangeListener* listener) override;

  private:
    // One node and what only its capture thread touches.
    struct Capture {
        std::unique_ptr<V4l2Node> node;
        FrameConverter converter;
        V4l2Frame frame;
        LONG appliedStandard = 0;  // the standard the node streams in
        int failuresInRow = 0;
        int dwell = 0;  // one node per input: frames since the stream started
    };

    int ConfigureNode(Capture& capture, LONG standard);
    // Reads whether the node's input `nodeInput` has a signal (during the search, the detected
    // standard too). ENODEV when the device is gone, else 0.
    int ReadSignal(Capture& capture, int nodeInput, bool searching, bool* signal);
    void MarkRemoved();
    bool HandleFailure(Capture& capture, int error);
    bool PumpShared(Capture& capture);
    bool PumpPerInput(Capture& capture, int input);
    void Deliver(Capture& capture, int input, bool signal);

    const std::shared_ptr<const DeviceClock> clock_;
    const V4l2GrabberConfig config_;
    DeviceChangeDispatcher changes_;
    // The nodes: the vector is immutable after construction; each Capture is its capture
    // thread's (or the PumpFrame caller's).
    std::vector<std::unique_ptr<Capture>> nodes_;
    // The first node's capture thread (or the PumpFrame caller).
    const std::unique_ptr<SoundSource> sound_;

    // Guarded by mutex_ (frame listeners are called with it held).
    std::mutex mutex_;
    InputSchedule schedule_;
    bool attached_ = false;
    LONG standard_ = kDefaultVideoStandard;  // wanted; the capture threads apply it
    VideoFormat format_;
    std::uint64_t frameCount_ = 0;
    V4l2CaptureCounts counts_;
    std::vector<FrameListener*> frameListeners_;
    BufferPool<FramePicture> pictures_;  // thread-safe
    BufferPool<SoundPiece> sounds_;      // thread-safe

    // Owner's thread.
    std::vector<std::thread> threads_;
};

}  // namespace devices

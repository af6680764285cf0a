// RetainedPicture: the latest input frame of a video renderer, kept as it arrived, from which the
// full-size picture (GetCurrentImage, the shared picture of snapshots) is made when somebody asks
// for it. The panes show pictures of their own size, so the full-size conversion is not done for
// every frame; it is done once for a frame that is asked for, and kept.
//
// The frame is kept either by a reference on the input sample (its buffer goes back to the
// upstream allocator when the reference is released) or, when the allocator has too few buffers
// to lend one, as a copy of its bytes.
//
// Threads: made on the streaming thread; Picture and ReleaseSample may be called from any
// thread.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/media/interfaces/imedia_sample.h"
#include "platform/media/renderers/overlay_plan.h"
#include "platform/media/renderers/video_frame.h"
#include "platform/media/renderers/video_input_format.h"

namespace media {

class RetainedPicture {
  public:
    // Keeps `sample` referenced; `data` is its buffer, `format.FrameBytes()` long.
    RetainedPicture(const VideoInputFormat& format, ComPtr<IMediaSample> sample, const BYTE* data,
                    std::shared_ptr<const OverlayPlan> overlay);
    // Copies the frame at `data`.
    RetainedPicture(const VideoInputFormat& format, const BYTE* data,
                    std::shared_ptr<const OverlayPlan> overlay);
    // The full-size picture made already (the renderer's frame when the pane shows it unscaled).
    explicit RetainedPicture(std::shared_ptr<const VideoFrame> picture);

    // The full-size picture with the overlay laid over it; made on the first call, then the same.
    std::shared_ptr<const VideoFrame> Picture();
    // Makes the picture if not made yet and lets the frame go (the sample back to its allocator).
    void ReleaseFrame();

  private:
    std::shared_ptr<const VideoFrame> PictureLocked();

    // Set at construction.
    const VideoInputFormat format_;
    const std::shared_ptr<const OverlayPlan> overlay_;

    std::mutex lock_;  // guards the members below
    ComPtr<IMediaSample> sample_;
    std::vector<BYTE> copy_;
    const BYTE* data_ = nullptr;  // the frame's bytes: in sample_ or copy_; null once let go
    std::shared_ptr<const VideoFrame> picture_;
};

}  // namespace media

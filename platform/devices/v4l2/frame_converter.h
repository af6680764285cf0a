// FrameConverter: turns what a video node captures into the UYVY picture of the channel's size.
// UYVY and YUYV are taken directly: libyuv copies or repacks them when they have the picture's
// size, swscale scales them otherwise; any other format the node delivers is decoded by
// libv4lconvert to planar YUV 4:2:0 first (then swscale). A frame shorter than
// its format says is refused, never read past its end.
//
// Thread contract: one capture thread uses a converter (its node's); not shared.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/devices/frame_picture.h"
#include "platform/devices/v4l2/v4l2_node.h"

namespace devices {

class FrameConverter {
  public:
    FrameConverter();
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    // The node's format and the picture wanted. False when the format cannot be converted.
    bool Configure(const V4l2Format& from, const VideoFormat& to);
    // Converts `frame` into `picture` (sized and formatted to the target). False, `picture`
    // untouched, for a frame shorter than its format or a conversion that fails.
    bool Convert(std::span<const std::uint8_t> frame, FramePicture* picture);
    // The least bytes a frame of the configured format must have.
    std::size_t MinimumFrameBytes() const { return minimumBytes_; }

  private:
    struct Impl;
    // The capture thread's.
    std::unique_ptr<Impl> impl_;
    std::size_t minimumBytes_ = 0;
};

}  // namespace devices

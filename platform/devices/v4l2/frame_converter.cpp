#include "platform/devices/v4l2/frame_converter.h"

#include <libv4l-plugin.h>
#include <libv4lconvert.h>
#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>

#include <libyuv/planar_functions.h>

#include <algorithm>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace devices {
namespace {

// libv4lconvert wants a device to ask for its capabilities; the converter is used detached
// from any node, so it gets a stand-in that is a plain capture device and knows no controls.
int DetachedIoctl(void*, int, unsigned long request, void* arg) {
    if (request == VIDIOC_QUERYCAP) {
        auto* caps = static_cast<v4l2_capability*>(arg);
        std::memset(caps, 0, sizeof(*caps));
        std::memcpy(caps->driver, "quadrel", 8);
        caps->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_DEVICE_CAPS;
        caps->device_caps = V4L2_CAP_VIDEO_CAPTURE;
        return 0;
    }
    errno = ENOTTY;
    return -1;
}

const libv4l_dev_ops* DetachedOps() {
    static const libv4l_dev_ops ops = [] {
        libv4l_dev_ops o{};
        o.ioctl = DetachedIoctl;
        return o;
    }();
    return &ops;
}

v4l2_format PixFormat(std::uint32_t width, std::uint32_t height, std::uint32_t fourcc,
                      std::uint32_t bytesPerLine, std::uint32_t imageBytes) {
    v4l2_format f{};
    f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    f.fmt.pix.width = width;
    f.fmt.pix.height = height;
    f.fmt.pix.pixelformat = fourcc;
    f.fmt.pix.field = V4L2_FIELD_NONE;
    f.fmt.pix.bytesperline = bytesPerLine;
    f.fmt.pix.sizeimage = imageBytes;
    return f;
}

// YUYV (Y0 U Y1 V) to UYVY (U Y0 V Y1): each pair of pixels is one 32-bit word to reorder.
constexpr std::uint8_t kYuyvToUyvy[16] = {1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14};

}  // namespace

struct FrameConverter::Impl {
    ~Impl() {
        if (sws) sws_freeContext(sws);
        if (v4lconvert) v4lconvert_destroy(v4lconvert);
    }

    V4l2Format from;
    VideoFormat to;
    AVPixelFormat swsInput = AV_PIX_FMT_NONE;
    // Null for UYVY and YUYV of the picture's size: libyuv copies or repacks those (for YUYV
    // many times faster than swscale); swscale scales (faster than libyuv's planar 4:2:2 path).
    SwsContext* sws = nullptr;
    v4lconvert_data* v4lconvert = nullptr;  // only for formats swscale is not given directly
    std::vector<std::uint8_t> planar;       // libv4lconvert's YUV 4:2:0 output, reused
};

FrameConverter::FrameConverter() = default;
FrameConverter::~FrameConverter() = default;

bool FrameConverter::Configure(const V4l2Format& from, const VideoFormat& to) {
    impl_.reset();
    minimumBytes_ = 0;
    if (from.width == 0 || from.height == 0 || to.width <= 0 || to.height <= 0) return false;
    auto impl = std::make_unique<Impl>();
    impl->from = from;
    impl->to = to;
    const auto width = static_cast<int>(from.width);
    const auto height = static_cast<int>(from.height);
    if (from.pixelFormat == V4L2_PIX_FMT_UYVY || from.pixelFormat == V4L2_PIX_FMT_YUYV) {
        impl->swsInput =
            from.pixelFormat == V4L2_PIX_FMT_UYVY ? AV_PIX_FMT_UYVY422 : AV_PIX_FMT_YUYV422;
        const std::uint32_t stride = std::max(from.bytesPerLine, from.width * 2);
        impl->from.bytesPerLine = stride;
        minimumBytes_ = static_cast<std::size_t>(stride) * from.height;
        if (to.width == width && to.height == height) {
            impl_ = std::move(impl);
            return true;
        }
    } else {
        impl->v4lconvert = v4lconvert_create_with_dev_ops(-1, nullptr, DetachedOps());
        if (!impl->v4lconvert) return false;
        impl->swsInput = AV_PIX_FMT_YUV420P;
        impl->planar.resize(static_cast<std::size_t>(from.width) * from.height * 3 / 2);
        // Compressed formats have no fixed size; anything at all must be there.
        minimumBytes_ = 1;
    }
    impl->sws = sws_getContext(width, height, impl->swsInput, to.width, to.height,
                               AV_PIX_FMT_UYVY422, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!impl->sws) return false;
    impl_ = std::move(impl);
    return true;
}

bool FrameConverter::Convert(std::span<const std::uint8_t> frame, FramePicture* picture) {
    if (!impl_ || !picture || frame.size() < minimumBytes_) return false;
    Impl& c = *impl_;
    if (!c.sws) {
        // The picture's size already: copied, or repacked pair by pair.
        picture->format = c.to;
        picture->bytes.resize(c.to.FrameBytes());
        const auto stride = static_cast<int>(c.from.bytesPerLine);
        const int outStride = c.to.width * 2;
        if (c.from.pixelFormat == V4L2_PIX_FMT_UYVY)
            libyuv::CopyPlane(frame.data(), stride, picture->bytes.data(), outStride, outStride,
                              c.to.height);
        else
            libyuv::ARGBShuffle(frame.data(), stride, picture->bytes.data(), outStride, kYuyvToUyvy,
                                c.to.width / 2, c.to.height);
        return true;
    }
    const std::uint8_t* planes[4] = {};
    int strides[4] = {};
    if (c.v4lconvert) {
        const v4l2_format src = PixFormat(c.from.width, c.from.height, c.from.pixelFormat,
                                          c.from.bytesPerLine, c.from.imageBytes);
        const v4l2_format dst =
            PixFormat(c.from.width, c.from.height, V4L2_PIX_FMT_YUV420, c.from.width,
                      static_cast<std::uint32_t>(c.planar.size()));
        const int written = v4lconvert_convert(
            c.v4lconvert, &src, &dst, const_cast<std::uint8_t*>(frame.data()),
            static_cast<int>(frame.size()), c.planar.data(), static_cast<int>(c.planar.size()));
        if (written < static_cast<int>(c.planar.size())) return false;
        const std::size_t luma = static_cast<std::size_t>(c.from.width) * c.from.height;
        planes[0] = c.planar.data();
        planes[1] = c.planar.data() + luma;
        planes[2] = c.planar.data() + luma + luma / 4;
        strides[0] = static_cast<int>(c.from.width);
        strides[1] = strides[2] = static_cast<int>(c.from.width / 2);
    } else {
        planes[0] = frame.data();
        strides[0] = static_cast<int>(c.from.bytesPerLine);
    }
    picture->format = c.to;
    picture->bytes.resize(c.to.FrameBytes());
    std::uint8_t* out[4] = {picture->bytes.data(), nullptr, nullptr, nullptr};
    int outStrides[4] = {c.to.width * 2, 0, 0, 0};
    sws_scale(c.sws, planes, strides, 0, static_cast<int>(c.from.height), out, outStrides);
    return true;
}

}  // namespace devices

#include "platform/devices/v4l2/kernel_v4l2_node.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace devices {
namespace {

constexpr unsigned kBufferCount = 4;
// A wait for a frame ends after this long so that a silent device is noticed (EAGAIN).
constexpr int kFrameWaitMilliseconds = 2000;

std::string Text(const __u8* bytes, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(bytes),
                       strnlen(reinterpret_cast<const char*>(bytes), size));
}

}  // namespace

std::unique_ptr<KernelV4l2Node> KernelV4l2Node::Open(const std::string& path, int* error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = errno;
        return nullptr;
    }
    const int abortFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (abortFd < 0) {
        if (error) *error = errno;
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<KernelV4l2Node>(fd, abortFd, Opened{});
}

KernelV4l2Node::~KernelV4l2Node() {
    StopStreaming();
    ::close(abortFd_);
    ::close(fd_);
}

int KernelV4l2Node::Ioctl(unsigned long request, void* arg) {
    int r;
    do {
        r = ::ioctl(fd_, request, arg);
    } while (r < 0 && errno == EINTR);
    return r < 0 ? errno : 0;
}

int KernelV4l2Node::QueryCapabilities(V4l2Capabilities* caps) {
    v4l2_capability cap{};
    if (int e = Ioctl(VIDIOC_QUERYCAP, &cap)) return e;
    caps->driver = Text(cap.driver, sizeof(cap.driver));
    caps->card = Text(cap.card, sizeof(cap.card));
    caps->busInfo = Text(cap.bus_info, sizeof(cap.bus_info));
    caps->deviceCaps =
        (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    return 0;
}

int KernelV4l2Node::EnumInput(int index, V4l2Input* input) {
    v4l2_input in{};
    in.index = static_cast<__u32>(index);
    if (int e = Ioctl(VIDIOC_ENUMINPUT, &in)) return e;
    input->name = Text(in.name, sizeof(in.name));
    input->type = in.type;
    input->status = in.status;
    input->standards = in.std;
    return 0;
}

int KernelV4l2Node::GetInput(int* index) {
    int i = 0;
    if (int e = Ioctl(VIDIOC_G_INPUT, &i)) return e;
    *index = i;
    return 0;
}

int KernelV4l2Node::SetInput(int index) {
    int i = index;
    return Ioctl(VIDIOC_S_INPUT, &i);
}

int KernelV4l2Node::QueryStandard(std::uint64_t* standard) {
    v4l2_std_id id = 0;
    if (int e = Ioctl(VIDIOC_QUERYSTD, &id)) return e;
    *standard = id;
    return 0;
}

int KernelV4l2Node::SetStandard(std::uint64_t standard) {
    v4l2_std_id id = standard;
    return Ioctl(VIDIOC_S_STD, &id);
}

int KernelV4l2Node::GetStandard(std::uint64_t* standard) {
    v4l2_std_id id = 0;
    if (int e = Ioctl(VIDIOC_G_STD, &id)) return e;
    *standard = id;
    return 0;
}

int KernelV4l2Node::SetFormat(V4l2Format* format) {
    v4l2_format f{};
    f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    f.fmt.pix.width = format->width;
    f.fmt.pix.height = format->height;
    f.fmt.pix.pixelformat = format->pixelFormat;
    f.fmt.pix.field = V4L2_FIELD_INTERLACED;
    if (int e = Ioctl(VIDIOC_S_FMT, &f)) return e;
    format->width = f.fmt.pix.width;
    format->height = f.fmt.pix.height;
    format->pixelFormat = f.fmt.pix.pixelformat;
    format->bytesPerLine = f.fmt.pix.bytesperline;
    format->imageBytes = f.fmt.pix.sizeimage;
    imageBytes_ = f.fmt.pix.sizeimage;
    return 0;
}

int KernelV4l2Node::GetFormat(V4l2Format* format) {
    v4l2_format f{};
    f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (int e = Ioctl(VIDIOC_G_FMT, &f)) return e;
    format->width = f.fmt.pix.width;
    format->height = f.fmt.pix.height;
    format->pixelFormat = f.fmt.pix.pixelformat;
    format->bytesPerLine = f.fmt.pix.bytesperline;
    format->imageBytes = f.fmt.pix.sizeimage;
    imageBytes_ = f.fmt.pix.sizeimage;
    return 0;
}

int KernelV4l2Node::StartStreaming() {
    if (streaming_) return 0;
    V4l2Capabilities caps;
    if (int e = QueryCapabilities(&caps)) return e;
    if (!(caps.deviceCaps & V4L2_CAP_STREAMING)) {
        if (!(caps.deviceCaps & V4L2_CAP_READWRITE)) return ENOTSUP;
        useRead_ = true;
        streaming_ = true;
        return 0;
    }
    v4l2_requestbuffers request{};
    request.count = kBufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (int e = Ioctl(VIDIOC_REQBUFS, &request)) return e;
    for (unsigned i = 0; i < request.count; ++i) {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = i;
        if (int e = Ioctl(VIDIOC_QUERYBUF, &buffer)) {
            ReleaseBuffers();
            return e;
        }
        void* address = ::mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_,
                               buffer.m.offset);
        if (address == MAP_FAILED) {
            const int e = errno;
            ReleaseBuffers();
            return e;
        }
        buffers_.push_back({address, buffer.length});
        if (int e = Ioctl(VIDIOC_QBUF, &buffer)) {
            ReleaseBuffers();
            return e;
        }
    }
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (int e = Ioctl(VIDIOC_STREAMON, &type)) {
        ReleaseBuffers();
        return e;
    }
    streaming_ = true;
    return 0;
}

void KernelV4l2Node::ReleaseBuffers() {
    for (const Mapping& m : buffers_) ::munmap(m.address, m.length);
    buffers_.clear();
    v4l2_requestbuffers request{};
    request.count = 0;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    Ioctl(VIDIOC_REQBUFS, &request);
}

int KernelV4l2Node::StopStreaming() {
    if (!streaming_) return 0;
    streaming_ = false;
    if (useRead_) return 0;
    int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    const int e = Ioctl(VIDIOC_STREAMOFF, &type);
    ReleaseBuffers();
    return e;
}

int KernelV4l2Node::WaitReadable() {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {abortFd_, POLLIN, 0}};
    for (;;) {
        const int r = ::poll(fds, 2, kFrameWaitMilliseconds);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return errno;
        if (r == 0) return EAGAIN;
        if (fds[1].revents) return ECANCELED;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return ENODEV;
        return 0;
    }
}

int KernelV4l2Node::NextFrame(V4l2Frame* frame) {
    if (!streaming_) return EINVAL;
    if (int e = WaitReadable()) return e;
    if (useRead_) {
        frame->bytes.resize(imageBytes_);
        const ssize_t n = ::read(fd_, frame->bytes.data(), frame->bytes.size());
        if (n < 0) return errno;
        frame->bytes.resize(static_cast<std::size_t>(n));
        ++frame->sequence;
        return 0;
    }
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    if (int e = Ioctl(VIDIOC_DQBUF, &buffer)) return e;
    if (buffer.index < buffers_.size()) {
        const Mapping& m = buffers_[buffer.index];
        const std::size_t used = std::min<std::size_t>(buffer.bytesused, m.length);
        frame->bytes.resize(used);
        std::memcpy(frame->bytes.data(), m.address, used);
    } else {
        frame->bytes.clear();
    }
    frame->sequence = buffer.sequence;
    const bool bad = buffer.flags & V4L2_BUF_FLAG_ERROR;
    if (int e = Ioctl(VIDIOC_QBUF, &buffer)) return e;
    // A buffer the driver marks as damaged counts as a short frame.
    if (bad) frame->bytes.clear();
    return 0;
}

void KernelV4l2Node::Abort() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(abortFd_, &one, sizeof(one));
}

}  // namespace devices

// V4l2Node: the narrow interface through which the V4L2 back-end talks to one video node. The
// kernel implementation (KernelV4l2Node) is a thin layer over ioctl on the node's descriptor;
// tests put a scripted device behind it. Every call returns 0 or an errno value (ENODEV once
// the device is gone).
//
// Thread contract: one capture thread makes every call except Abort, which any thread may make
// to end a NextFrame that is waiting (and every later one) with ECANCELED.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace devices {

// VIDIOC_QUERYCAP, the parts the back-end looks at.
struct V4l2Capabilities {
    std::string driver;
    std::string card;
    std::string busInfo;
    std::uint32_t deviceCaps = 0;  // V4L2_CAP_* of this node
};

// VIDIOC_ENUMINPUT of one input.
struct V4l2Input {
    std::string name;
    std::uint32_t type = 0;    // V4L2_INPUT_TYPE_*
    std::uint32_t status = 0;  // V4L2_IN_ST_* (no power, no signal, no horizontal lock, ...)
    std::uint64_t standards = 0;
};

// The single-planar capture format (VIDIOC_S_FMT / VIDIOC_G_FMT).
struct V4l2Format {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t pixelFormat = 0;  // fourcc
    std::uint32_t bytesPerLine = 0;
    std::uint32_t imageBytes = 0;
};

// One captured frame: `bytes` holds what the device filled (bytesused), reused between calls.
struct V4l2Frame {
    std::vector<std::uint8_t> bytes;
    std::uint32_t sequence = 0;
};

class V4l2Node {
  public:
    virtual ~V4l2Node() = default;

    virtual int QueryCapabilities(V4l2Capabilities* caps) = 0;
    // EINVAL past the last input.
    virtual int EnumInput(int index, V4l2Input* input) = 0;
    virtual int GetInput(int* index) = 0;
    virtual int SetInput(int index) = 0;
    virtual int QueryStandard(std::uint64_t* standard) = 0;
    virtual int SetStandard(std::uint64_t standard) = 0;
    virtual int GetStandard(std::uint64_t* standard) = 0;
    // In: the format wanted; out: what the driver chose.
    virtual int SetFormat(V4l2Format* format) = 0;
    virtual int GetFormat(V4l2Format* format) = 0;
    // Buffers requested and queued and the stream on (or read() set up where the node has no
    // streaming I/O); off again, buffers released.
    virtual int StartStreaming() = 0;
    virtual int StopStreaming() = 0;
    // Waits for the next filled buffer, copies it into `frame` and gives the buffer back.
    virtual int NextFrame(V4l2Frame* frame) = 0;
    virtual void Abort() = 0;
};

}  // namespace devices

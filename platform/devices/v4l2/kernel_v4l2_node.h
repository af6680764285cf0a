// KernelV4l2Node: a video node of the kernel, through ioctl on its descriptor. Streaming uses
// memory-mapped buffers, or read() on a node without streaming I/O. An eventfd lets Abort end a
// wait in NextFrame from another thread.
//
// Thread contract: see V4l2Node (one capture thread; Abort from any thread).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/v4l2/v4l2_node.h"

namespace devices {

class KernelV4l2Node final : public V4l2Node {
  public:
    // Opens `path` (read and write, non-blocking). Null, with the errno value in *error, when
    // it cannot be opened.
    static std::unique_ptr<KernelV4l2Node> Open(const std::string& path, int* error);

  private:
    struct Opened {};  // only Open makes nodes

  public:
    KernelV4l2Node(int fd, int abortFd, Opened) : fd_(fd), abortFd_(abortFd) {}
    ~KernelV4l2Node() override;
    KernelV4l2Node(const KernelV4l2Node&) = delete;
    KernelV4l2Node& operator=(const KernelV4l2Node&) = delete;

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
    int Ioctl(unsigned long request, void* arg);
    int WaitReadable();
    void ReleaseBuffers();

    struct Mapping {
        void* address = nullptr;
        std::size_t length = 0;
    };

    // Immutable after Open (closed by the destructor).
    const int fd_;
    const int abortFd_;
    // Capture thread only.
    std::vector<Mapping> buffers_;
    bool streaming_ = false;
    bool useRead_ = false;
    std::uint32_t imageBytes_ = 0;
};

}  // namespace devices

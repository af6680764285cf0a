// The capture devices of this machine, for --list-devices: every video node that captures
// video, with its stable names (/dev/v4l/by-id/..., /dev/v4l/by-path/...), its card and driver,
// and its inputs with whether each has a signal.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/devices/v4l2/v4l2_node.h"

namespace devices {

struct CaptureInputInfo {
    std::string name;
    bool signal = false;
    bool known = true;  // false: the status could not be read
};

struct CaptureNodeInfo {
    std::string node;                      // /dev/videoN
    std::vector<std::string> stableNames;  // links under /dev/v4l that lead to it
    std::string card;
    std::string driver;
    std::string busInfo;
    std::vector<CaptureInputInfo> inputs;
    int openError = 0;  // the node could not be opened (errno value; permissions: EACCES)
};

// Reads the inputs of `node`: each one selected in turn, `settle` called (the decoder locks),
// its status read; the input selected before is selected again. False when the node does not
// capture video (a metadata node, an output).
bool ProbeCaptureNode(V4l2Node& node, const std::function<void()>& settle, CaptureNodeInfo* info);

// Every /dev/video* node that captures video (and those that cannot be opened, with the
// error), in node number order.
std::vector<CaptureNodeInfo> ListCaptureDevices();

// The text --list-devices prints.
std::string FormatCaptureDevices(const std::vector<CaptureNodeInfo>& devices);

}  // namespace devices

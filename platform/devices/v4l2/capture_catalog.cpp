#include "platform/devices/v4l2/capture_catalog.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/devices/v4l2/kernel_v4l2_node.h"

namespace devices {
namespace {

constexpr std::uint32_t kNoSignalFlags =
    V4L2_IN_ST_NO_POWER | V4L2_IN_ST_NO_SIGNAL | V4L2_IN_ST_NO_H_LOCK;
// How long the listing lets a decoder lock on each input before it reads the status.
constexpr auto kListingSettle = std::chrono::milliseconds(250);

int NodeNumber(const std::string& node) {
    const std::size_t digits = node.find_last_not_of("0123456789");
    return digits + 1 < node.size() ? std::stoi(node.substr(digits + 1)) : -1;
}

}  // namespace

bool ProbeCaptureNode(V4l2Node& node, const std::function<void()>& settle, CaptureNodeInfo* info) {
    V4l2Capabilities caps;
    if (node.QueryCapabilities(&caps) != 0 || !(caps.deviceCaps & V4L2_CAP_VIDEO_CAPTURE))
        return false;
    info->card = caps.card;
    info->driver = caps.driver;
    info->busInfo = caps.busInfo;
    int before = 0;
    const bool knowsInput = node.GetInput(&before) == 0;
    for (int index = 0; index < 32; ++index) {
        V4l2Input input;
        if (node.EnumInput(index, &input) != 0) break;
        CaptureInputInfo seen;
        seen.name = input.name;
        // The status is the decoder's: it holds for the input it is on.
        if (node.SetInput(index) == 0) {
            if (settle) settle();
            seen.known = node.EnumInput(index, &input) == 0;
            seen.signal = seen.known && !(input.status & kNoSignalFlags);
        } else {
            seen.known = false;
        }
        info->inputs.push_back(seen);
    }
    if (knowsInput) node.SetInput(before);
    return true;
}

std::vector<CaptureNodeInfo> ListCaptureDevices() {
    namespace fs = std::filesystem;
    std::vector<CaptureNodeInfo> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("video", 0) != 0 || NodeNumber(name) < 0) continue;
        CaptureNodeInfo info;
        info.node = entry.path().string();
        int openError = 0;
        std::unique_ptr<KernelV4l2Node> node = KernelV4l2Node::Open(info.node, &openError);
        if (!node) {
            info.openError = openError;
            found.push_back(info);
            continue;
        }
        if (!ProbeCaptureNode(
                *node, [] { std::this_thread::sleep_for(kListingSettle); }, &info))
            continue;
        found.push_back(info);
    }
    for (const char* folder : {"/dev/v4l/by-id", "/dev/v4l/by-path"}) {
        for (const fs::directory_entry& link : fs::directory_iterator(folder, error)) {
            const fs::path target = fs::canonical(link.path(), error);
            if (error) continue;
            for (CaptureNodeInfo& info : found)
                if (info.node == target.string()) info.stableNames.push_back(link.path().string());
        }
    }
    std::sort(found.begin(), found.end(), [](const CaptureNodeInfo& a, const CaptureNodeInfo& b) {
        return NodeNumber(a.node) < NodeNumber(b.node);
    });
    for (CaptureNodeInfo& info : found) std::sort(info.stableNames.begin(), info.stableNames.end());
    return found;
}

std::string FormatCaptureDevices(const std::vector<CaptureNodeInfo>& devices) {
    if (devices.empty()) return "No capture devices found (the simulated grabber is used).\n";
    std::string text;
    for (const CaptureNodeInfo& info : devices) {
        text += info.node;
        if (info.openError != 0) {
            text += ": cannot be opened (" + std::string(std::strerror(info.openError)) + ")";
            if (info.openError == EACCES) text += "; is the user in the video group?";
            text += "\n";
            continue;
        }
        text += ": " + info.card + " (" + info.driver;
        if (!info.busInfo.empty()) text += ", " + info.busInfo;
        text += ")\n";
        for (const std::string& name : info.stableNames) text += "  " + name + "\n";
        if (info.inputs.empty()) text += "  no inputs\n";
        for (std::size_t i = 0; i < info.inputs.size(); ++i) {
            const CaptureInputInfo& input = info.inputs[i];
            text += "  input " + std::to_string(i + 1) + " \"" + input.name + "\": ";
            text += !input.known ? "status unknown" : input.signal ? "signal" : "no signal";
            text += "\n";
        }
    }
    return text;
}

}  // namespace devices

// Starting the capture: the graph around the grabber, its panes, titles and device settings;
// the stamp refresh, the sound and freeing the graph.
#include "viewer/capture/capture_session.h"

#include "platform/media/interfaces/ibasic_audio.h"
#include "viewer/capture/device_commands.h"
#include "viewer/capture/preview_stamp.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

// A channel name of at most 512 bytes, terminator included.
constexpr LONG kSilence = -10000;
constexpr LONG kFullVolume = 0;

}  // namespace

CCaptureSession::~CCaptureSession() {
    FreeGraph();
}

int CCaptureSession::StartCapture() {
    if (graph_) return 0;
    const int result = ConfigureCapture();
    if (result != 0) return result;
    graph_->snapIcon = snapIcon_ ? &snapIcon_->bitmap : nullptr;
    host_.OnCaptureStarted();
    return 0;
}

int CCaptureSession::ConfigureCapture() {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return 3;
    const int built = BuildGraph();
    if (built != 0) return built;

    // A title that cannot be read is the first-run one: one bad value takes no title away and
    // does not stop the channels from being configured.
    WCHAR names[4][kChannelTitleReadUnits];
    for (int k = 0; k < 4; ++k)
        if (!ReadChannelTitle(holder, k, names[k], kChannelTitleReadUnits)) return 3;
    for (int k = 0; k < 4; ++k) SetChannelTitle(graph_, names[k], k);

    DWORD mode = setting::kManualChannelControl;
    ReadSettingDword(holder, setting::kChannelControlMode, &mode);
    if (mode == setting::kManualChannelControl) {
        const GrabberSettings* settings = host_.Settings();
        const auto on = [settings](int k) { return settings && settings->channelEnabled[k]; };
        if (FAILED(SetValidChannels(graph_, on(0), on(1), on(2), on(3)))) return 2;
        host_.OnManualChannelsSet();
    } else if (FAILED(SetValidChannels(graph_, 1, 1, 1, 1))) {
        return 2;
    }
    host_.ApplyChannelControl();
    SetRecordQuality(graph_, 0);
    return 0;
}

int CCaptureSession::BuildGraph() {
    if (graph_) return 0;
    if (!CaptureDevicesPresent()) return 1;
    graph_ = GetCaptureGraph();
    if (!graph_) return 2;

    const PaneLayout panes = host_.PreviewPanes();
    if (FAILED(SetupPreviewPanes(graph_, &panes)) || !graph_->device) {
        FreeGraph();
        return 2;
    }
    StartSearch(graph_);
    host_.OnSearchStarted();
    if (FAILED(RunGraph(graph_))) {
        FreeGraph();
        return 2;
    }
    host_.OnGraphRunning();
    return 0;
}

void CCaptureSession::FreeGraph() {
    if (!graph_) return;
    FreeCaptureGraph();
    graph_ = nullptr;
    volumeOn_ = true;
}

void CCaptureSession::RefreshStamps() {
    if (graph_) RefreshAllStamps(graph_);
}

void CCaptureSession::LoadSnapIcon(const QImage& picture) {
    if (picture.isNull()) {
        snapIcon_.reset();
        return;
    }
    snapIcon_ = std::make_unique<SnapIcon>();
    snapIcon_->pixels = picture.convertToFormat(QImage::Format_BGR888);
    snapIcon_->bitmap = BITMAP{0,
                               snapIcon_->pixels.width(),
                               snapIcon_->pixels.height(),
                               static_cast<LONG>(snapIcon_->pixels.bytesPerLine()),
                               1,
                               24,
                               snapIcon_->pixels.bits()};
}

void CCaptureSession::SetStampVisible(bool shown) {
    if (!graph_) return;
    SetTitleVisible(graph_, shown);
    SetTimeVisible(graph_, shown);
}

void CCaptureSession::SetVolume(bool on) {
    if (!graph_) return;
    ComPtr<IBasicAudio> audio;
    if (graph_->graph && SUCCEEDED(graph_->graph.As(&audio)))
        audio->put_Volume(on ? kFullVolume : kSilence);
    volumeOn_ = on;
}

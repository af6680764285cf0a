// The Recorder button, the recording's file names, the free-space and file-size checks and the
// file split.
#include "viewer/capture/recording.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>

#include "platform/base/utf16.h"
#include "platform/storage/make_folder.h"
#include "platform/ui/dialog_codes.h"
#include "platform/ui/prompts.h"
#include "platform/ui/ui_text.h"
#include "viewer/capture/device_commands.h"
#include "viewer/capture/recording_branch.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

namespace {

constexpr int kSearchFinished = 3;
constexpr std::size_t kPathUnits = 260;  // "Save File Path": at most 520 bytes
const QString kDiskFull = QStringLiteral("请检查磁盘剩余空间!");
const QString kWarning = QStringLiteral("警告");
const QString kError = QStringLiteral("错误");

// "Save File Path" of the settings; false when it cannot be read.
bool ReadSaveFolder(SettingsKeyHolder* holder, std::u16string* folder) {
    WCHAR text[kPathUnits] = {};
    if (!holder || !ReadSettingString(holder, setting::kSaveFilePath, text, kPathUnits))
        return false;
    *folder = text;
    return true;
}

}  // namespace

std::u16string CRecording::RecordingFileName(std::u16string_view folder, const std::tm& time) {
    char name[96];
    std::snprintf(name, sizeof name, "%4d-%02d-%02d-%02d-%02d-%02d.avi", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    std::u16string file(folder);
    file += utf16::FromUtf8(name);
    if (file.size() > kPathUnits - 1) file.resize(kPathUnits - 1);
    return file;
}

int CRecording::FreeSpaceMiB(std::u16string_view folder) const {
    return disk_.FreeMiB(utf16::ToUtf8(folder));
}

int CRecording::FileSizeMiB(std::u16string_view path) const {
    const std::int64_t bytes = disk_.FileBytes(utf16::ToUtf8(path));
    if (bytes < 0) return -1;
    return static_cast<int>(std::min<std::int64_t>(bytes >> 20, 0x7FFFFFFF));
}

void CRecording::RecordingStarted(std::u16string_view path) {
    state_.path.fill(WCHAR{0});
    const std::size_t kept = std::min(path.size(), state_.path.size() - 1);
    std::copy_n(path.begin(), kept, state_.path.begin());
    state_.recording = true;
}

void CRecording::StopRecording(bool restoreState) {
    if (CaptureGraph* graph = host_.Graph()) {
        EndFile(graph, restoreState);
    } else if (state_.recording) {
        // The graph has gone with its branch, whose stop finished the file.
        journal_.Remove(utf16::ToUtf8(state_.path.data()));
    }
    state_.recording = false;
}

HRESULT CRecording::EndFile(CaptureGraph* graph, bool restoreState) {
    const HRESULT hr = ::StopRecording(graph, restoreState);
    if (SUCCEEDED(hr) && state_.recording) journal_.Remove(utf16::ToUtf8(state_.path.data()));
    // The encoder's buffers of the file just ended were allocated on the branch's streaming
    // thread, in a malloc arena of its own; freed, they would stay in the process (about 3 MiB
    // a file, in a new arena at each split) until the arenas run out. They go back to the
    // system here, once a file.
    malloc_trim(0);
    return hr;
}

void CRecording::ClearPath() {
    state_.path.fill(WCHAR{0});
}

void CRecording::OnRecorder() {
    CaptureGraph* graph = host_.Graph();
    if (!graph || !host_.EnsureUnlocked()) return;
    if (GetSearchState(graph) != kSearchFinished) {
        host_.RecordingMessageBox(QStringLiteral("请在搜索信号结束后启动录制功能"), kWarning,
                                  MB_OK);
        return;
    }
    if (state_.recording)
        StopFromButton(graph);
    else
        StartFromButton(graph);
}

bool CRecording::StopFromButton(CaptureGraph* graph) {
    if (FAILED(EndFile(graph, true))) return false;
    FinishStop();
    return true;
}

void CRecording::FinishStop() {
    host_.SelectDeviceChannel(host_.CurrentChannel());
    host_.KillRecordingTimers();
    ClearPath();
    state_.recording = false;
    host_.ShowRecordingControls(false);
}

void CRecording::StartFromButton(CaptureGraph* graph) {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return;
    std::u16string folder;
    if (!ReadSaveFolder(holder, &folder) || !storage::MakeFolder(utf16::ToUtf8(folder))) return;
    const int free = FreeSpaceMiB(folder);
    if (free <= kMinimumFreeMiB) {
        host_.RecordingMessageBox(kDiskFull, kError, MB_OK);
        return;
    }
    const UINT spacePeriod = free < kLowSpaceMiB ? kLowSpacePeriodMs : kSpacePeriodMs;

    std::uint32_t mask = 0;
    GetSignalMask(graph, &mask);
    if ((mask & 0x0F) == 0) {
        host_.RecordingMessageBox(QStringLiteral("对不起, 不能搜索到信号!"), kError, MB_OK);
        return;
    }
    int channel = host_.CurrentChannel();
    if (channel < 1 || channel > 4 || !(mask & (1u << (channel - 1)))) {
        channel = ChooseChannel(mask);
        if (channel == 0) return;
        host_.ShowChannel(channel);
    }
    std::u16string file;
    if (!StartFile(graph, channel, &file)) return;
    host_.SelectDeviceChannel(channel);
    host_.ArmRecordingTimers(spacePeriod, kFileSizePeriodMs);
    RecordingStarted(file);
    host_.ShowRecordingControls(true);
}

int CRecording::ChooseChannel(std::uint32_t mask) {
    SettingsKeyHolder* holder = OpenSettingsKey();
    bool anyEnabled = false;
    int chosen = 0;
    for (int k = 0; k < 4; ++k) {
        DWORD enabled = 1;
        if (holder) ReadSettingDword(holder, setting::kChannelEnable[k], &enabled);
        anyEnabled = anyEnabled || enabled != 0;
        if (chosen == 0 && enabled != 0 && (mask & (1u << k))) chosen = k + 1;
    }
    if (chosen == 0) {
        host_.RecordingMessageBox(anyEnabled ? QStringLiteral("选择的通道没有信号")
                                             : QStringLiteral("选择的通道没有信号或者被禁止"),
                                  kWarning, MB_OK);
        return 0;
    }
    const QString question =
        ui_text::Message(QStringLiteral("选择的录制通道没有信号!\n是否自动转到通道%1?"))
            .arg(chosen);
    if (host_.RecordingMessageBox(question, kWarning, MB_YESNO) != IDYES) return 0;
    return chosen;
}

bool CRecording::StartFile(CaptureGraph* graph, int channel, std::u16string* file) {
    SettingsKeyHolder* holder = OpenSettingsKey();
    std::u16string folder;
    if (!ReadSaveFolder(holder, &folder)) return false;
    *file = RecordingFileName(folder, clock_.LocalNow());
    WCHAR title[kChannelTitleReadUnits] = {};
    const int index = channel >= 2 && channel <= 4 ? channel - 1 : 0;
    if (!ReadChannelTitle(holder, index, title, kChannelTitleReadUnits)) return false;
    DWORD quality = 0;
    if (!ReadSettingDword(holder, setting::kSaveResolution, &quality) || quality > 2) quality = 0;
    // Named before the file exists, so that no crash can leave a file the journal misses.
    const std::string path = utf16::ToUtf8(*file);
    journal_.Add(path);
    if (SUCCEEDED(
            ::StartRecording(title, graph, file->c_str(), channel, static_cast<int>(quality))))
        return true;
    journal_.Remove(path);
    return false;
}

bool CRecording::CheckRecordingSpace(CaptureGraph* graph) {
    if (!graph) return false;
    std::u16string folder;
    ReadSaveFolder(OpenSettingsKey(), &folder);
    // A file that can no longer be written (the disk filled up before the space check saw it)
    // ends the recording as a full disk does.
    const bool writeFailed = state_.recording && RecordingWriteError(graph) != S_OK;
    if (!writeFailed && FreeSpaceMiB(folder) > kMinimumFreeMiB) return true;
    if (state_.recording) StopFromButton(graph);
    host_.ShowMessage(kDiskFull);
    return true;
}

bool CRecording::CheckRecordingSize(CaptureGraph* graph) {
    if (!graph) return false;
    if (!state_.recording) return true;
    if (FileSizeMiB(state_.path.data()) < splitSizeMiB_) return true;
    EndFile(graph, true);
    std::u16string file;
    if (StartFile(graph, host_.CurrentChannel(), &file)) {
        RecordingStarted(file);
        return true;
    }
    // The next file could not be started: the recording has ended, and the user is told.
    FinishStop();
    host_.ShowMessage(QStringLiteral("无法开始新的录制文件, 录制已停止!"));
    return true;
}

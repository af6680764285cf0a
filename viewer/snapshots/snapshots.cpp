// The SnapShot button, the snapshot folder and file names, the free-space rule, and the reading
// of the pictures that the writer then saves.
#include "viewer/snapshots/snapshots.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/base/utf16.h"
#include "platform/storage/make_folder.h"
#include "platform/ui/prompts.h"
#include "viewer/capture/device_commands.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"
#include "viewer/snapshots/snapshot_capture.h"

namespace {

constexpr std::size_t kPathUnits = 260;  // a folder setting: at most 520 bytes
constexpr DWORD kFromRecordingFolder = 1;

}  // namespace

bool CSnapshots::ReadSnapshotFolder(std::u16string* folder) {
    SettingsKeyHolder* holder = OpenSettingsKey();
    if (!holder) return false;
    DWORD from = kFromRecordingFolder;
    ReadSettingDword(holder, setting::kSnapSavePathFrom, &from);
    WCHAR text[kPathUnits] = {};
    const LPCWSTR name =
        from == kFromRecordingFolder ? setting::kSaveFilePath : setting::kSnapSavePath;
    if (!ReadSettingString(holder, name, text, kPathUnits)) return false;
    *folder = text;
    return true;
}

int CSnapshots::FreeSpaceMiB(std::u16string_view folder) const {
    return disk_.FreeMiB(utf16::ToUtf8(folder));
}

std::u16string CSnapshots::SnapshotFileName(std::u16string_view folder, int channel,
                                            const std::tm& time, int milliseconds) {
    char name[96];
    std::snprintf(name, sizeof name, "ch%d_%4d-%02d-%02d-%02d-%02d-%02d-%04d.jpg", channel,
                  time.tm_year + 1900, time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min,
                  time.tm_sec, milliseconds);
    std::u16string file(folder);
    file += utf16::FromUtf8(name);
    if (file.size() > kPathUnits - 1) file.resize(kPathUnits - 1);
    return file;
}

void CSnapshots::OnSnapShot() {
    if (!host_.Graph() || !host_.EnsureUnlocked()) return;
    TakeSnapshots();
}

long CSnapshots::TakeSnapshots() {
    CaptureGraph* graph = host_.Graph();
    if (!graph) return 0;
    std::u16string folder;
    if (!ReadSnapshotFolder(&folder)) return 0;
    if (!storage::MakeFolder(utf16::ToUtf8(folder))) return errno;
    if (FreeSpaceMiB(folder) <= kSnapshotMinimumFreeMiB)
        return host_.SnapshotMessageBox(QStringLiteral("请检查磁盘剩余空间!"),
                                        QStringLiteral("错误"), MB_OK);
    int milliseconds = 0;
    const std::tm now = clock_.LocalNowWithMilliseconds(&milliseconds);
    std::uint32_t mask = 0;
    if (!graph->device || FAILED(GetSignalMask(graph, &mask))) return 0;
    const GrabberSettings* settings = host_.Settings();
    long result = S_OK;
    for (int n = 1; n <= 4; ++n) {
        const bool enabled = settings && settings->channelEnabled[n - 1] != 0;
        if (!enabled || !(mask & (1u << (n - 1)))) continue;
        std::unique_ptr<CImageAction> image;
        result = ReadSnapshotImage(graph, n, &image);
        if (SUCCEEDED(result))
            writer_.Post(std::move(image),
                         utf16::ToUtf8(SnapshotFileName(folder, n, now, milliseconds)));
    }
    return result;
}

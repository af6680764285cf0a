#include "viewer/settings/default_settings.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/base/utf16.h"
#include "viewer/settings/channel_title.h"
#include "viewer/settings/settings_key.h"
#include "viewer/settings/settings_schema.h"

HRESULT ChooseDefaultSavePath(LPCWSTR subfolder, WCHAR* path, const storage::DiskSpace& disks) {
    if (!subfolder || !path) return E_POINTER;
    const std::vector<std::string> candidates = disks.SaveFolderCandidates();
    std::string best;
    if (!candidates.empty()) {
        best = candidates.front();
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        best = home;
    } else {
        best = "/";
    }
    std::uint64_t bestFree = 0;
    for (const std::string& candidate : candidates) {
        std::uint64_t free = 0;
        if (!disks.FreeBytesForUser(candidate, &free)) return E_FAIL;
        if (free > bestFree) {
            best = candidate;
            bestFree = free;
        }
    }
    const std::u16string full =
        utf16::FromUtf8(storage::JoinFolder(best, utf16::ToUtf8(subfolder)));
    if (full.size() + 1 > kSavePathUnits) return STRSAFE_E_INSUFFICIENT_BUFFER;
    utf16::CopyTerminated(path, kSavePathUnits, full.c_str());
    return S_OK;
}

HRESULT WriteDefaultSettings(SettingsKeyHolder* holder, const storage::DiskSpace& disks) {
    if (!holder) return E_POINTER;
    if (!holder->key &&
        RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, kSettingsKeyAccess, &holder->key) !=
            ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        kSettingsKeyAccess, nullptr, &holder->key, nullptr) != ERROR_SUCCESS) {
        holder->key = nullptr;
        return E_FAIL;
    }

    WCHAR recordPath[kSavePathUnits] = {};
    WCHAR picturePath[kSavePathUnits] = {};
    struct Step {
        LPCWSTR name;
        LPCWSTR text;              // for REG_SZ values; null for REG_DWORD
        DWORD number;              // for REG_DWORD values
        LPCWSTR folder = nullptr;  // non-null: `text` is chosen as the save folder + this
        WCHAR* chosen = nullptr;   // where the chosen folder goes (the buffer `text` points at)
    };
    using namespace setting;
    const Step steps[] = {
        {kChannelName[0], FirstRunChannelTitle(0), 0},
        {kChannelName[1], FirstRunChannelTitle(1), 0},
        {kChannelName[2], FirstRunChannelTitle(2), 0},
        {kChannelName[3], FirstRunChannelTitle(3), 0},
        {kChannelEnable[0], nullptr, 1},
        {kChannelEnable[1], nullptr, 1},
        {kChannelEnable[2], nullptr, 1},
        {kChannelEnable[3], nullptr, 1},
        {kChannelControlMode, nullptr, 2},
        {kChannelTurnSpan, nullptr, 1},
        {kChannelFastTurn, nullptr, 1},
        {kSaveFilePath, recordPath, 0, u"Record/", recordPath},
        {kSaveFileCount, nullptr, 8},
        {kSaveFileWidth, nullptr, 320},
        {kSaveFileHeight, nullptr, 240},
        {kUserName, u"Admin", 0},
        {kUserPassword, u"", 0},
        {kLoginTimeout, nullptr, 900},
        {kLoginTimeoutFlag, nullptr, 1},
        {kSignalLoseAlarm, nullptr, 2},
        {kMotionDetectAlarm, nullptr, 2},
        {kSmtpServer, u"", 0},
        {kSmtpServerAuth, nullptr, 0},
        {kMailSrc, u"plomtek", 0},
        {kMailPassword, u"plomtek", 0},
        {kMailDst, u"", 0},
        {kMailTitle, u"Alarm", 0},
        {kScheduleSnapStart, u"2011-05-22", 0},
        {kScheduleSnapEnd, u"2011-05-22", 0},
        {kSnapSavePath, picturePath, 0, u"Picture/", picturePath},
        {kScheduleSnapSpan, nullptr, 300},
        {kScheduleSnapMode, nullptr, 1},
        {kSnapSavePathFrom, nullptr, 1},
        {kMailFromAddr, u"plomtek", 0},
        {kMailFromName, u"plomtek", 0},
        {kTvFormat, nullptr, 32},
        {kFirstRun, nullptr, 0},
        {kSaveResolution, nullptr, 0},
        {kFastTurning, nullptr, 0},
    };
    static_assert(std::size(steps) == kLastSettingId);

    for (const Step& step : steps) {
        if (step.folder) {
            if (const HRESULT hr = ChooseDefaultSavePath(step.folder, step.chosen, disks);
                FAILED(hr))
                return hr;
        }
        const bool written = step.text ? WriteSettingString(holder, step.name, step.text)
                                       : WriteSettingDword(holder, step.name, step.number);
        if (!written) return E_FAIL;
    }
    return S_OK;
}

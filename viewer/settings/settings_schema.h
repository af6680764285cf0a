// The settings values: their ids, names and types, in id order.
#pragma once

#include "platform/base/win_types.h"

enum class SettingType { kString, kDword };

struct SettingInfo {
    int id;            // 1 to 39
    LPCWSTR name;      // registry value name
    SettingType type;  // REG_SZ or REG_DWORD
};

inline constexpr int kFirstSettingId = 1;
inline constexpr int kLastSettingId = 39;

// The value with the given id, or null when the id is outside 1 to 39.
const SettingInfo* FindSetting(int id);

// Value names used across the viewer.
namespace setting {
inline constexpr LPCWSTR kChannelName[4] = {u"Channel I Name", u"Channel II Name",
                                            u"Channel III Name", u"Channel IV Name"};
inline constexpr LPCWSTR kChannelEnable[4] = {u"Channel I Enable", u"Channel II Enable",
                                              u"Channel III Enable", u"Channel IV Enable"};
inline constexpr LPCWSTR kChannelControlMode = u"Channel Control Mode";
// The "Channel Control Mode" of manual control (the default): only the enabled channels are
// valid, with the stored turn span.
inline constexpr DWORD kManualChannelControl = 1;
inline constexpr LPCWSTR kChannelTurnSpan = u"Channel Turn Span";
inline constexpr LPCWSTR kChannelFastTurn = u"Channel Fast Turn";
inline constexpr LPCWSTR kSaveFilePath = u"Save File Path";
inline constexpr LPCWSTR kSaveFileCount = u"Save File Count";
inline constexpr LPCWSTR kSaveFileWidth = u"Save File Width";
inline constexpr LPCWSTR kSaveFileHeight = u"Save File Height";
inline constexpr LPCWSTR kUserName = u"User Mode I";
inline constexpr LPCWSTR kUserPassword = u"User Mode II";
inline constexpr LPCWSTR kLoginTimeout = u"Login Timeout";
inline constexpr LPCWSTR kSignalLoseAlarm = u"Signal Lose Alarm";
inline constexpr LPCWSTR kMotionDetectAlarm = u"Motion Detect Alarm";
inline constexpr LPCWSTR kSmtpServer = u"SMTP Server";
inline constexpr LPCWSTR kMailSrc = u"Mail Src";
inline constexpr LPCWSTR kMailPassword = u"Mail";
inline constexpr LPCWSTR kMailDst = u"Mail Dst";
inline constexpr LPCWSTR kMailTitle = u"Mail Title";
inline constexpr LPCWSTR kSmtpServerAuth = u"SMTP Server Auth";
inline constexpr LPCWSTR kLoginTimeoutFlag = u"Login Timeout Flag";
inline constexpr LPCWSTR kScheduleSnapStart = u"Schedule snap start";
inline constexpr LPCWSTR kScheduleSnapEnd = u"Schedule snap end";
inline constexpr LPCWSTR kScheduleSnapSpan = u"Schedule snap span";
inline constexpr LPCWSTR kScheduleSnapMode = u"Schedule snap mode";
inline constexpr LPCWSTR kSnapSavePathFrom = u"Snap save path from";
inline constexpr LPCWSTR kSnapSavePath = u"Snap save path";
inline constexpr LPCWSTR kMailFromAddr = u"Mail From Addr";
inline constexpr LPCWSTR kMailFromName = u"Mail From Name";
inline constexpr LPCWSTR kTvFormat = u"TV Format";
inline constexpr LPCWSTR kFirstRun = u"First Run";
inline constexpr LPCWSTR kSaveResolution = u"Save Resolution";
inline constexpr LPCWSTR kFastTurning = u"Fast Turning";
// Values outside the id table: never written at the first run; a missing value means the
// default, port 25 and no transport security.
inline constexpr LPCWSTR kSmtpPort = u"SMTP Port";
inline constexpr LPCWSTR kSmtpSecurity = u"SMTP Security";
}  // namespace setting

#include "viewer/settings/settings_schema.h"

#include <iterator>

namespace {

using enum SettingType;

constexpr SettingInfo kSettings[] = {
    {1, setting::kChannelName[0], kString},    {2, setting::kChannelName[1], kString},
    {3, setting::kChannelName[2], kString},    {4, setting::kChannelName[3], kString},
    {5, setting::kChannelEnable[0], kDword},   {6, setting::kChannelEnable[1], kDword},
    {7, setting::kChannelEnable[2], kDword},   {8, setting::kChannelEnable[3], kDword},
    {9, setting::kChannelControlMode, kDword}, {10, setting::kChannelTurnSpan, kDword},
    {11, setting::kChannelFastTurn, kDword},   {12, setting::kSaveFilePath, kString},
    {13, setting::kSaveFileCount, kDword},     {14, setting::kSaveFileWidth, kDword},
    {15, setting::kSaveFileHeight, kDword},    {16, setting::kUserName, kString},
    {17, setting::kUserPassword, kString},     {18, setting::kLoginTimeout, kDword},
    {19, setting::kSignalLoseAlarm, kDword},   {20, setting::kMotionDetectAlarm, kDword},
    {21, setting::kSmtpServer, kString},       {22, setting::kMailSrc, kString},
    {23, setting::kMailPassword, kString},     {24, setting::kMailDst, kString},
    {25, setting::kMailTitle, kString},        {26, setting::kSmtpServerAuth, kDword},
    {27, setting::kLoginTimeoutFlag, kDword},  {28, setting::kScheduleSnapStart, kString},
    {29, setting::kScheduleSnapEnd, kString},  {30, setting::kScheduleSnapSpan, kDword},
    {31, setting::kScheduleSnapMode, kDword},  {32, setting::kSnapSavePathFrom, kDword},
    {33, setting::kSnapSavePath, kString},     {34, setting::kMailFromAddr, kString},
    {35, setting::kMailFromName, kString},     {36, setting::kTvFormat, kDword},
    {37, setting::kFirstRun, kDword},          {38, setting::kSaveResolution, kDword},
    {39, setting::kFastTurning, kDword},
};
static_assert(std::size(kSettings) == kLastSettingId);

}  // namespace

const SettingInfo* FindSetting(int id) {
    if (id < kFirstSettingId || id > kLastSettingId) return nullptr;
    return &kSettings[id - 1];
}

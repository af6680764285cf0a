// Identifiers of the main window: its template, its controls, its six timers, its private message
// and its system-menu command.
#pragma once

#include "platform/base/win_types.h"

inline constexpr int IDD_QUADREL_DIALOG = 102;

// Skinned buttons.
inline constexpr int IDC_CHANNEL1 = 1000;
inline constexpr int IDC_CHANNEL2 = 1001;
inline constexpr int IDC_CHANNEL3 = 1002;
inline constexpr int IDC_CHANNEL4 = 1003;
inline constexpr int IDC_SEARCH = 1009;
inline constexpr int IDC_OFF = 1010;
inline constexpr int IDC_ALARM = 1011;
inline constexpr int IDC_ON = 1012;
inline constexpr int IDC_STYLE1 = 1013;
inline constexpr int IDC_STYLE2 = 1014;
inline constexpr int IDC_STYLE3 = 1015;
inline constexpr int IDC_LOCKED = 1018;
inline constexpr int IDC_VOLUME_ON = 1019;
inline constexpr int IDC_VOLUME_OFF = 1020;
inline constexpr int IDC_UNLOCK = 1021;
inline constexpr int IDC_HELP = 1022;
inline constexpr int IDC_MINIMISE = 1023;  // "Mininum"
inline constexpr int IDC_CLOSE = 1024;
inline constexpr int IDC_CHANNEL_SETTING = 1025;
inline constexpr int IDC_SYSTEM = 1026;
inline constexpr int IDC_RECORDER = 1027;
inline constexpr int IDC_PROPERTY = 1028;
inline constexpr int IDC_SECURITY = 1029;
inline constexpr int IDC_SHOW_STAMP = 1030;
inline constexpr int IDC_TIMER_SNAP = 1031;
inline constexpr int IDC_SNAPSHOT = 1032;
inline constexpr int IDC_SAVE_IMAGE = 1033;

// Video panes; pane k (0 to 3) shows channel k + 1.
inline constexpr int kPaneIds[4] = {1005, 1006, 1007, 1008};

// Timers of the main window (ids and periods in milliseconds).
inline constexpr UINT ID_TIMER_STAMP = 34817;
inline constexpr UINT ID_TIMER_SNAP = 34818;
inline constexpr UINT ID_TIMER_WATCH = 34819;
inline constexpr UINT ID_TIMER_DISKSPACE = 34820;
inline constexpr UINT ID_TIMER_SEARCH = 34821;
inline constexpr UINT ID_TIMER_FILESIZE = 34822;
inline constexpr UINT kStampPeriodMs = 1000;
inline constexpr UINT kWatchPeriodMs = 3000;
inline constexpr UINT kSearchPeriodMs = 800;

// The private message the channel setting dialog posts after it restarted the signal search.
inline constexpr UINT WM_SIGNAL_RESET = 0x0400 + 100;

// The system-menu command of the About box.
inline constexpr UINT IDM_ABOUTBOX = 16;

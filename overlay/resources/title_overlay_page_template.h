// Resources of the filter's property page: dialog 101 with its control ids, and string 1, the
// page's title.
#pragma once

#include "platform/ui/dialog_template.h"

inline constexpr int IDD_TITLE_OVERLAY_PAGE = 101;
inline constexpr int IDS_TITLE_OVERLAY = 1;

inline constexpr int IDC_OVERLAY_TYPE = 1000;  // drop-down list: "None", "Static"
inline constexpr int IDC_BY_COVER = 1001;      // radio button
inline constexpr int IDC_BY_REVERSE = 1002;    // radio button
inline constexpr int IDC_TITLE = 1003;
inline constexpr int IDC_START_X = 1004;
inline constexpr int IDC_START_Y = 1005;
inline constexpr int IDC_RED = 1006;
inline constexpr int IDC_GREEN = 1007;
inline constexpr int IDC_BLUE = 1008;
inline constexpr int IDC_CHANGE_FONT = 1009;  // push button
inline constexpr int IDC_DURATION_START = 1010;
inline constexpr int IDC_DURATION_END = 1011;

const DialogTemplate& TitleOverlayPageTemplate();
// String IDS_TITLE_OVERLAY: "Title Overlay".
const char16_t* TitleOverlayPageTitle();

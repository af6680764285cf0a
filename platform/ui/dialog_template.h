// Control tables: a dialog described as data (size in dialog units, caption, style, font and one
// row per control with its id, kind, text and rectangle), from which dialog_builder.h makes the
// widgets. Tables are static data; the strings are UTF-8 and must outlive every dialog built
// from them.
#pragma once

#include <span>

#include "platform/base/win_types.h"

enum class ControlKind {
    kPushButton,
    kDefPushButton,    // the button Enter presses
    kEdit,             // one-line edit; see the kEdit* styles
    kStatic,           // text label (wraps, left aligned unless kCenter / kRight)
    kGroupBox,         // frame with a title, drawn beneath the controls it surrounds
    kAutoRadioButton,  // radio button; kGroup starts a new group of mutually exclusive buttons
    kAutoCheckBox,     // check box that toggles itself
    kDropDownList,     // combo box whose text is always one of its items
    kDropDown,         // combo box with an edit field
    kListBox,
    kFrame,       // black frame (an empty rectangle, e.g. a video pane)
    kPicture,     // static picture; its pixmap is set by the dialog
    kDatePicker,  // date picker showing a short date
};

// Control styles (bit flags of ControlTemplate::style).
namespace control_style {
inline constexpr UINT kGroup = 1u << 0;        // starts a group (radio buttons)
inline constexpr UINT kTabStop = 1u << 1;      // reached with Tab (focusable controls are anyway)
inline constexpr UINT kDisabled = 1u << 2;     // created disabled
inline constexpr UINT kHidden = 1u << 3;       // created hidden
inline constexpr UINT kBorder = 1u << 4;       // thin border
inline constexpr UINT kVScroll = 1u << 5;      // vertical scroll bar (list and combo boxes)
inline constexpr UINT kPassword = 1u << 6;     // edit shows bullets instead of the text
inline constexpr UINT kNumber = 1u << 7;       // edit accepts typed digits only
inline constexpr UINT kReadOnly = 1u << 8;     // edit cannot be changed by the user
inline constexpr UINT kAutoHScroll = 1u << 9;  // edit scrolls sideways while typing
inline constexpr UINT kCenter = 1u << 10;      // centred text or group title
inline constexpr UINT kRight = 1u << 11;       // right-aligned text
}  // namespace control_style

struct ControlTemplate {
    int id;  // IDC_STATIC (-1) for controls nobody looks up
    ControlKind kind;
    const char* text;  // UTF-8, may be null
    int x, y, cx, cy;  // dialog units, relative to the dialog's client area
    UINT style = 0;
};

// Dialog styles (bit flags of DialogTemplate::style).
namespace dialog_style {
inline constexpr UINT kChild = 1u << 0;       // a child window inside another (property pages)
inline constexpr UINT kPopup = 1u << 1;       // a top-level window
inline constexpr UINT kBorder = 1u << 2;      // thin border
inline constexpr UINT kCaption = 1u << 3;     // title bar with the caption
inline constexpr UINT kSysMenu = 1u << 4;     // window menu and close box
inline constexpr UINT kModalFrame = 1u << 5;  // dialog frame, not resizable
inline constexpr UINT kCenter = 1u << 6;      // centred on its owner (or the screen) when shown
inline constexpr UINT kVisible = 1u << 7;     // shown when created
}  // namespace dialog_style

// How dialog units become pixels.
enum class DialogUnits {
    kFontAverage,   // from the average character size of the dialog's font (ordinary dialogs)
    kSevenFourths,  // 7/4 pixel per unit on both axes (the skinned main dialog)
};

struct DialogTemplate {
    int id;               // resource id, for reference
    int cx, cy;           // client size in dialog units
    const char* caption;  // UTF-8, may be null
    UINT style;
    const char* fontFace;  // e.g. "MS Shell Dlg"; null for the default dialog font
    int pointSize;         // 0 for the default (8 points)
    DialogUnits units;
    std::span<const ControlTemplate> controls;
};

// A property page's template: a child window with a border and no caption, in the usual page font
// and its dialog units.
constexpr DialogTemplate PropertyPageTemplate(int id, int cx, int cy,
                                              std::span<const ControlTemplate> controls) {
    return DialogTemplate{.id = id,
                          .cx = cx,
                          .cy = cy,
                          .caption = nullptr,
                          .style = dialog_style::kChild | dialog_style::kBorder,
                          .fontFace = "MS Shell Dlg",
                          .pointSize = 8,
                          .units = DialogUnits::kFontAverage,
                          .controls = controls};
}

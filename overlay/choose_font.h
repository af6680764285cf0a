// The font dialog: a face, size, style and effects, and with CF_EFFECTS a text colour too, chosen
// by the user in a modal dialog run through the program's prompts (so a test's script can play
// the user).
#pragma once

#include "platform/text/colorref.h"
#include "platform/text/logfont.h"

class IPrompts;
class QWidget;

inline constexpr DWORD CF_SCREENFONTS = 0x00000001;
inline constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
inline constexpr DWORD CF_EFFECTS = 0x00000100;

struct CHOOSEFONTW {
    DWORD lStructSize;    // sizeof(CHOOSEFONTW)
    QWidget* hwndOwner;   // the window the dialog is modal to; may be null
    LOGFONTW* lpLogFont;  // in (with CF_INITTOLOGFONTSTRUCT) and out; required
    INT iPointSize;       // out: the chosen size in tenths of a point
    DWORD Flags;          // CF_*
    COLORREF rgbColors;   // in and out with CF_EFFECTS
};

// The dialog's window title and the object names of its parts, by which a script finds them: a
// QFontDialog for face, style, size and effects, a QComboBox of colours, a QDialogButtonBox.
inline constexpr char kChooseFontTitle[] = "Font";
inline constexpr char kChooseFontColorName[] = "color";

// Shows the dialog and waits for the user. TRUE when the user pressed OK: *lpLogFont, iPointSize
// and (with CF_EFFECTS) rgbColors then hold the choice. FALSE, with nothing changed, for Cancel
// or for a request without a LOGFONTW or with the wrong size.
BOOL ChooseFontW(IPrompts& prompts, CHOOSEFONTW* request);

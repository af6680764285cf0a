// The artwork of the main window's skinned buttons: for each button the shape bitmap (its window
// region and transparency mask), the four state bitmaps in the order hover, normal, pressed,
// spare, and the bitmap drawn while it is disabled (0 for none). Bitmap 216 is the skin itself.
#pragma once

#include <span>

#include "platform/base/win_types.h"

inline constexpr UINT IDB_SKIN = 216;
inline constexpr UINT IDB_SNAP_ICON = 297;

struct ButtonArtwork {
    int id;
    UINT shape;
    UINT hover, normal, pressed, spare;
    UINT disabled;
};

// The 27 buttons, in the order the window binds them.
std::span<const ButtonArtwork> ButtonArtworkTable();

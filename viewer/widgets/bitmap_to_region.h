// The shape of a window from a bitmap: every pixel whose blue, green and red equal the key colour
// exactly is transparent, every other pixel is opaque (no tolerance: (0, 254, 0) is opaque under
// a pure green key). The result is the union of the opaque pixels as one-pixel-high runs, built
// in batches of 2000 rectangles; usable as a widget mask.
#pragma once

#include <QImage>
#include <QRegion>
#include <optional>

#include "platform/base/win_types.h"

inline constexpr QRgb kDialogShapeKey = qRgb(0, 255, 0);      // the main dialog's skin
inline constexpr QRgb kButtonShapeKey = qRgb(255, 255, 255);  // skinned buttons

// How a conversion went, for tests and measurements.
struct RegionBuildStats {
    int batches = 0;          // regions created from the buffer (the last one may be empty)
    DWORD finalCapacity = 0;  // rectangle room of the working buffer at the end
    int growths = 0;          // times the buffer grew by 100 rectangles
};

// Null for a null bitmap. The alpha channel of the bitmap is ignored.
std::optional<QRegion> BitmapToRegion(const QImage& bitmap, QRgb key,
                                      RegionBuildStats* stats = nullptr);

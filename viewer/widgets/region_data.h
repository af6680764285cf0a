// The working buffer of the bitmap-to-region conversion: a rectangle list with the header a
// region is created from. Capacity starts at 100 rectangles and grows by 100 whenever it is
// full; the bounding rectangle follows the rectangles held.
#pragma once

#include <QRegion>
#include <cstddef>
#include <vector>

#include "platform/base/win_types.h"

inline constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATAHEADER {
    DWORD dwSize;    // 32
    DWORD iType;     // RDH_RECTANGLES
    DWORD nCount;    // rectangles held
    DWORD nRgnSize;  // 0
    RECT rcBound;    // (0x7FFFFFFF, 0x7FFFFFFF, 0, 0) while empty
};
static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == 16);

class CRegionData {
  public:
    static constexpr DWORD kInitialCapacity = 100;
    static constexpr DWORD kGrowth = 100;

    CRegionData();

    // Appends `rect`, growing the buffer first when it is full, and widens the bound.
    void Append(const RECT& rect);
    // Forgets the rectangles held (the capacity stays).
    void Reset();
    // The region of the rectangles held. They must be one-pixel-high runs appended row by row,
    // left to right, as the conversion produces them.
    QRegion ToRegion() const;

    const RGNDATAHEADER& Header() const { return header_; }
    DWORD Capacity() const { return static_cast<DWORD>(rects_.size()); }
    // Header and rectangle room, as one block: 32 + 16 × capacity bytes.
    std::size_t SizeInBytes() const { return sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT); }
    int Growths() const { return growths_; }

  private:
    RGNDATAHEADER header_;
    std::vector<RECT> rects_;  // the room; the first header_.nCount are held
    int growths_ = 0;
};

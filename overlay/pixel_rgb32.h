// CPixelRGB32: 32-bit frames, bytes blue, green, red and a fourth byte that cover clears.
#pragma once

#include "overlay/base_pixel.h"

class CPixelRGB32 : public CBasePixel {
  public:
    void Cover(BYTE* pixel) override;
};

// CPixelRGB24: 24-bit frames, bytes blue, green, red.
#pragma once

#include "overlay/base_pixel.h"

class CPixelRGB24 : public CBasePixel {
  public:
    void Cover(BYTE* pixel) override;
};

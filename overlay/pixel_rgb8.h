// CPixelRGB8: 8-bit palettised frames. The text takes palette index 10 whatever its colour, as
// there is no palette to map the colour into.
#pragma once

#include "overlay/base_pixel.h"

class CPixelRGB8 : public CBasePixel {
  public:
    void Cover(BYTE* pixel) override;

  private:
    INT m_paletteIndex = 10;
};

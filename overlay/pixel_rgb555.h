// CPixelRGB555: 16-bit frames with five bits each of red, green and blue (bit 15 unused), stored
// little-endian.
#pragma once

#include "overlay/base_pixel.h"

class CPixelRGB555 : public CBasePixel {
  public:
    void Cover(BYTE* pixel) override;
    void Prepare() override;

  private:
    BYTE m_encoded[2] = {0, 0};  // low byte, high byte
};

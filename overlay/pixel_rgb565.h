// CPixelRGB565: 16-bit frames with five bits of red, six of green and five of blue, stored
// little-endian.
#pragma once

#include "overlay/base_pixel.h"

class CPixelRGB565 : public CBasePixel {
  public:
    void Cover(BYTE* pixel) override;
    void Prepare() override;

  private:
    BYTE m_encoded[2] = {0, 0};  // low byte, high byte
};

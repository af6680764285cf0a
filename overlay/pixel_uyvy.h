// CPixelUYVY: packed 4:2:2 frames, each pixel pair stored as U, Y0, V, Y1; pixel x is addressed at
// byte 2x. Cover paints a near-white grey whatever the colour: it writes 0x7F, 0xEA, 0x7F from the
// pixel's address, which neutralises the chroma the pixel shares (for an odd x, the U of the next
// pair too) and sets its luma. Reverse inverts the two bytes at 2x.
#pragma once

#include "overlay/base_pixel.h"

class CPixelUYVY : public CBasePixel {
  public:
    // The third byte is left out when it would lie at or beyond the buffer end.
    void Cover(BYTE* pixel) override;
};

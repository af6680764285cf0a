#include "overlay/pixel_rgb8.h"

void CPixelRGB8::Cover(BYTE* pixel) {
    if (pixel == nullptr) return;
    pixel[0] = static_cast<BYTE>(m_paletteIndex & 0xFF);
}

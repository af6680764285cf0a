#include "overlay/pixel_rgb32.h"

void CPixelRGB32::Cover(BYTE* pixel) {
    if (pixel == nullptr) return;
    pixel[0] = m_blue;
    pixel[1] = m_green;
    pixel[2] = m_red;
    pixel[3] = 0;
}

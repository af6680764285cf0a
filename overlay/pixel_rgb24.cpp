#include "overlay/pixel_rgb24.h"

void CPixelRGB24::Cover(BYTE* pixel) {
    if (pixel == nullptr) return;
    pixel[0] = m_blue;
    pixel[1] = m_green;
    pixel[2] = m_red;
}

#include "overlay/pixel_uyvy.h"

void CPixelUYVY::Cover(BYTE* pixel) {
    if (pixel == nullptr) return;
    pixel[0] = 0x7F;
    pixel[1] = 0xEA;
    if (m_pBufferEnd == nullptr || pixel + 2 < m_pBufferEnd) pixel[2] = 0x7F;
}

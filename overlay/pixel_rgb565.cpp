#include "overlay/pixel_rgb565.h"

void CPixelRGB565::Cover(BYTE* pixel) {
    if (pixel == nullptr) return;
    pixel[0] = m_encoded[0];
    pixel[1] = m_encoded[1];
}

void CPixelRGB565::Prepare() {
    const unsigned value = ((m_red >> 3u) << 11u) | ((m_green >> 2u) << 5u) | (m_blue >> 3u);
    m_encoded[0] = static_cast<BYTE>(value & 0xFF);
    m_encoded[1] = static_cast<BYTE>(value >> 8u);
}

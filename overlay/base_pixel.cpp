#include "overlay/base_pixel.h"

void CBasePixel::Cover(BYTE*) {}

void CBasePixel::Reverse(BYTE* pixel) {
    if (pixel == nullptr) return;
    for (BYTE i = 0; i < m_bytesPerPixel; ++i) pixel[i] = static_cast<BYTE>(~pixel[i]);
}

void CBasePixel::Prepare() {}

void CBasePixel::SetColor(BYTE r, BYTE g, BYTE b) {
    m_red = r;
    m_green = g;
    m_blue = b;
    Prepare();
}

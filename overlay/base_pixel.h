// CBasePixel: how text pixels are merged into frame pixels of one pixel format. The controller
// owns one object of a subclass per frame format and calls it once for every frame pixel under a
// text pixel: Cover writes the text colour there, Reverse inverts the pixel's bytes.
#pragma once

#include "platform/base/win_types.h"

class CBasePixel {
  public:
    CBasePixel() = default;
    virtual ~CBasePixel() = default;
    CBasePixel(const CBasePixel&) = delete;
    CBasePixel& operator=(const CBasePixel&) = delete;

    // Writes the prepared text colour at `pixel`; nothing for a null address. This base version
    // writes nothing.
    virtual void Cover(BYTE* pixel);
    // Replaces each of the BytesPerPixel() bytes at `pixel` by its complement, so applying it twice
    // restores the pixel. Shared by every format.
    virtual void Reverse(BYTE* pixel);
    // Recomputes the format's encoding of the colour after SetColor; the base has none.
    virtual void Prepare();

    // Stores the text colour and prepares its encoding.
    void SetColor(BYTE r, BYTE g, BYTE b);
    void SetBytesPerPixel(BYTE n) { m_bytesPerPixel = n; }
    BYTE BytesPerPixel() const { return m_bytesPerPixel; }
    BYTE* PixelAddress(BYTE* rowStart, int x) const {
        return rowStart + static_cast<std::ptrdiff_t>(x) * m_bytesPerPixel;
    }

    // One past the last byte of the frame being drawn. A Cover that writes beyond its pixel's own
    // bytes (UYVY) leaves out what would lie at or after it; null (the initial value) sets no
    // bound. The controller sets it for every frame.
    void SetBufferEnd(const BYTE* end) { m_pBufferEnd = end; }

  protected:
    BYTE m_red = 0;
    BYTE m_green = 0;
    BYTE m_blue = 0;
    BYTE m_bytesPerPixel = 1;
    const BYTE* m_pBufferEnd = nullptr;
};

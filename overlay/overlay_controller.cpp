#include "overlay/overlay_controller.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "overlay/pixel_format.h"
#include "overlay/pixel_rgb24.h"
#include "overlay/pixel_rgb32.h"
#include "overlay/pixel_rgb555.h"
#include "overlay/pixel_rgb565.h"
#include "overlay/pixel_rgb8.h"
#include "overlay/pixel_uyvy.h"
#include "platform/text/font_cache.h"
#include "platform/text/text_out.h"

namespace {

// Largest text bitmap rendered (a title of thousands of characters is still far below it).
constexpr long long kMaxTextBitmapBytes = 64ll << 20;
// Largest frame a geometry may describe.
constexpr long long kMaxFrameBytes = 0x7FFFFFFF;

// The font every overlay text is drawn in: "Arial", cell height 24, average width 15, normal
// weight, proof quality (rendered hard-edged into the one-bit bitmap).
LOGFONTW OverlayFont() {
    LOGFONTW font{};
    font.lfHeight = 24;
    font.lfWidth = 15;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = 0x12;
    const char16_t face[] = u"Arial";
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return font;
}

// A frame number from seconds x rate, truncated toward zero and kept inside int.
int ToFrame(double frames) {
    if (std::isnan(frames)) return 0;
    const double limit = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(frames), -limit, limit));
}

}  // namespace

COverlayController::COverlayController() = default;
COverlayController::~COverlayController() = default;

int COverlayController::SetTitle(const WCHAR* text, unsigned byteCount) {
    // Read no further than byteCount / 2 - 1 characters, and stop at a NUL: only what is copied
    // is allocated, however large the count claims the text to be.
    m_pszTitle.clear();
    if (text != nullptr && byteCount >= 2) {
        const std::size_t limit = byteCount / 2 - 1;
        std::size_t n = 0;
        while (n < limit && text[n] != 0) ++n;
        m_pszTitle.assign(text, n);
    }
    return RenderText(m_pszTitle.c_str(), &m_sizeTitle, &m_pTitleBits, &m_cbTitleBits,
                      &m_nTitleStride);
}

int COverlayController::StartStreaming() {
    m_bReady = m_pPixel != nullptr ? 1 : 0;
    return m_bReady;
}

int COverlayController::StopStreaming() {
    m_bReady = 0;
    return 1;
}

int COverlayController::CanRenderText() {
    return 1;
}

void COverlayController::UpdateTitleFrames() {
    std::lock_guard rate(m_csRate);
    m_nTitleStartFrame = ToFrame(m_dTitleStart * m_dFrameRate);
    m_nTitleEndFrame = -1;
    if (m_dTitleEnd > 0) m_nTitleEndFrame = ToFrame(m_dFrameRate * m_dTitleEnd);
}

void COverlayController::CreatePixel() {
    BYTE bytesPerPixel = 0;
    switch (m_nPixelFormat) {
        case kPixelFormatRGB8:
            m_pPixel = std::make_unique<CPixelRGB8>();
            bytesPerPixel = 1;
            break;
        case kPixelFormatRGB555:
            m_pPixel = std::make_unique<CPixelRGB555>();
            bytesPerPixel = 2;
            break;
        case kPixelFormatRGB565:
            m_pPixel = std::make_unique<CPixelRGB565>();
            bytesPerPixel = 2;
            break;
        case kPixelFormatRGB24:
            m_pPixel = std::make_unique<CPixelRGB24>();
            bytesPerPixel = 3;
            break;
        case kPixelFormatRGB32:
            m_pPixel = std::make_unique<CPixelRGB32>();
            bytesPerPixel = 4;
            break;
        case kPixelFormatUYVY:
            m_pPixel = std::make_unique<CPixelUYVY>();
            bytesPerPixel = 2;
            break;
        default:
            m_pPixel.reset();
            return;
    }
    m_pPixel->SetBytesPerPixel(bytesPerPixel);
    m_pPixel->SetColor(m_rgbText[0], m_rgbText[1], m_rgbText[2]);
}

int COverlayController::ResetFontAngles() {
    m_lfTitle.lfEscapement = 0;
    m_lfTitle.lfOrientation = 0;
    return 0;
}

int COverlayController::UpdateTimeStamp() {
    const StampTime t = m_clock();
    char ascii[kStampChars];
    std::snprintf(ascii, sizeof ascii, "%4d-%02d-%02d(%02d:%02d:%02d)", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::size_t n = 0;
    for (; ascii[n] != 0; ++n) m_pszStamp[n] = static_cast<unsigned char>(ascii[n]);
    m_pszStamp[n] = 0;

    // The bitmap depends on nothing but the text: render only when the text changed.
    if (m_bStampShown != 0 &&
        std::char_traits<WCHAR>::compare(m_pszStamp.data(), m_szStampShown.data(), n + 1) == 0) {
        return 1;
    }
    m_bStampShown = 0;
    const int rendered =
        RenderText(m_pszStamp.data(), &m_sizeStamp, &m_pStampBits, &m_cbStampBits, &m_nStampStride);
    if (rendered != 0) {
        m_szStampShown = m_pszStamp;
        m_bStampShown = 1;
    }
    return rendered;
}

int COverlayController::OnOverlayDrawn() {
    return 1;
}

int COverlayController::BlendText(BYTE* frame, const WCHAR*, const SIZE* size, const BYTE* bits,
                                  int stride, const POINT* position) {
    if (frame == nullptr || size == nullptr || bits == nullptr || position == nullptr ||
        m_pPixel == nullptr) {
        return 0;
    }
    const long long cx = size->cx;
    const long long cy = size->cy;
    const long long x = position->x;
    const long long y = position->y;
    if (x >= m_nWidth || y >= m_nHeight || cx <= 0 || cy <= 0) return 0;
    if (stride < (cx + 7) / 8) return 0;  // rows too short for the text: not a bitmap of `size`

    // Text rows and columns that land inside the frame.
    const long long firstRow = std::max(0ll, -y);
    const long long endRow = std::min<long long>(cy, m_nHeight - y);
    long long firstCol = std::max(0ll, -x);
    long long endCol = std::min<long long>(cx, m_nWidth - x);
    if (firstRow >= endRow || firstCol >= endCol) return 0;

    // Also keep every merged pixel's bytes inside its frame row, whatever the bit count says.
    const long long bytesPerPixel = m_pPixel->BytesPerPixel();
    if (bytesPerPixel == 0) return 0;
    const long long xOffset = static_cast<long long>(m_wBitCount) * x / 8;
    if (xOffset < 0) firstCol = std::max(firstCol, (-xOffset + bytesPerPixel - 1) / bytesPerPixel);
    endCol = std::min(endCol, (m_nStride - xOffset) / bytesPerPixel);
    if (firstCol >= endCol) return 1;

    m_pPixel->SetBufferEnd(frame + FrameBytes());
    const bool bottomUp = m_bPositiveHeight != 0 && IsRgbPixelFormat(m_nPixelFormat);
    const bool cover = m_bByCover != 0;
    for (long long i = firstRow; i < endRow; ++i) {
        const long long frameRow = y + i;
        const long long storedRow = bottomUp ? m_nHeight - 1 - frameRow : frameRow;
        // Target of text column firstCol; PixelAddress steps from there.
        BYTE* target = frame + (storedRow * m_nStride + xOffset + firstCol * bytesPerPixel);
        const BYTE* source = bits + (cy - 1 - i) * stride;
        for (long long j = firstCol; j < endCol; ++j) {
            const BYTE byte = source[j >> 3];
            if (byte == 0xFF && (j & 7) == 0) {  // eight background pixels
                j += 7;
                continue;
            }
            if ((byte & (0x80 >> (j & 7))) != 0) continue;
            BYTE* pixel = m_pPixel->PixelAddress(target, static_cast<int>(j - firstCol));
            if (cover) {
                m_pPixel->Cover(pixel);
            } else {
                m_pPixel->Reverse(pixel);
            }
        }
    }
    return 1;
}

int COverlayController::GetTitle(WCHAR* buffer) const {
    if (buffer != nullptr) {
        std::copy(m_pszTitle.c_str(), m_pszTitle.c_str() + m_pszTitle.size() + 1, buffer);
    }
    return static_cast<int>(2 * m_pszTitle.size());
}

void COverlayController::SetFrameRate(double framesPerSecond) {
    {
        std::lock_guard rate(m_csRate);
        m_dFrameRate = framesPerSecond;
    }
    UpdateTitleFrames();
}

double COverlayController::GetFrameRate() const {
    std::lock_guard rate(m_csRate);
    return m_dFrameRate;
}

int COverlayController::GetTitleStartFrame() const {
    std::lock_guard rate(m_csRate);
    return m_nTitleStartFrame;
}

int COverlayController::GetTitleEndFrame() const {
    std::lock_guard rate(m_csRate);
    return m_nTitleEndFrame;
}

void COverlayController::SetVideoInfo(const VIDEOINFOHEADER* vih) {
    if (vih == nullptr) return;
    SetFrameGeometry(vih->bmiHeader.biWidth, vih->bmiHeader.biHeight, vih->bmiHeader.biBitCount,
                     vih->AvgTimePerFrame);
}

void COverlayController::SetFrameGeometry(LONG width, LONG height, WORD bitCount,
                                          REFERENCE_TIME avgTimePerFrame) {
    const long long w = std::max<long long>(0, width);
    const long long h = std::llabs(static_cast<long long>(height));
    const long long stride = bitCount != 0 && bitCount % 8 == 0 ? (w * bitCount / 8 + 3) & ~3ll : w;
    if (stride > kMaxFrameBytes || (h > 0 && stride > kMaxFrameBytes / h)) {
        m_nWidth = m_nHeight = m_nStride = 0;
    } else {
        m_nWidth = static_cast<LONG>(w);
        m_nHeight = static_cast<LONG>(h);
        m_nStride = static_cast<LONG>(stride);
    }
    m_wBitCount = bitCount;
    m_bPositiveHeight = height > 0 ? 1 : 0;
    if (avgTimePerFrame > 0) SetFrameRate(10000000.0 / static_cast<double>(avgTimePerFrame));
}

std::size_t COverlayController::FrameBytes() const {
    return static_cast<std::size_t>(m_nStride) * static_cast<std::size_t>(m_nHeight);
}

void COverlayController::SetPixelFormat(int code) {
    if (code == m_nPixelFormat) return;
    DeletePixel();
    m_nPixelFormat = code;
    CreatePixel();
}

void COverlayController::DeletePixel() {
    m_pPixel.reset();
    m_bReady = 0;
}

int COverlayController::DrawOverlay(BYTE* frame) {
    if (m_bReady == 0 || m_pPixel == nullptr || frame == nullptr) return 0;
    if (UpdateTimeStamp() == 0) return 0;
    BlendText(frame, m_pszTitle.c_str(), &m_sizeTitle, m_pTitleBits.get(), m_nTitleStride,
              &m_ptTitle);
    m_ptStamp = POINT{m_nWidth - m_sizeStamp.cx, m_nHeight - m_sizeStamp.cy};
    if (BlendText(frame, m_pszStamp.data(), &m_sizeStamp, m_pStampBits.get(), m_nStampStride,
                  &m_ptStamp) != 0) {
        return OnOverlayDrawn();
    }
    return 0;
}

int COverlayController::DrawOverlay(BYTE* frame, std::size_t frameBytes) {
    if (frameBytes < FrameBytes()) return 0;
    return DrawOverlay(frame);
}

int COverlayController::RenderText(const WCHAR* text, SIZE* size, std::unique_ptr<BYTE[]>* bits,
                                   int* capacity, int* stride) {
    *size = SIZE{0, 0};
    *stride = 0;
    const std::shared_ptr<const gdi::Font> font = gdi::CreateFontIndirectW(OverlayFont());
    if (!font) return 0;
    int count = 0;
    if (text != nullptr) {
        while (text[count] != 0 && count < std::numeric_limits<int>::max()) ++count;
    }
    const SIZE extent = font->GetTextExtent(text, count);
    if (CanRenderText() == 0) return 0;
    if (extent.cx <= 0 || extent.cy <= 0) {  // nothing to draw: an empty bitmap
        *size = extent;
        return 1;
    }
    const long long rowBytes = ((static_cast<long long>(extent.cx) + 31) >> 3) & ~3ll;
    const long long total = rowBytes * extent.cy;
    if (total > kMaxTextBitmapBytes) return 0;
    if (*bits != nullptr && total > *capacity) {
        bits->reset();
        *capacity = 0;
    }
    if (*bits == nullptr) {
        try {
            *bits = std::make_unique_for_overwrite<BYTE[]>(static_cast<std::size_t>(total));
        } catch (const std::bad_alloc&) {
            return 0;
        }
        *capacity = static_cast<int>(total);
    }
    std::memset(bits->get(), 0, static_cast<std::size_t>(total));
    const gdi::MonoBitmap target{bits->get(), extent.cx, extent.cy, static_cast<LONG>(rowBytes),
                                 true};
    if (!gdi::TextOutMono(*font, POINT{0, 0}, text, count, target)) return 0;
    *size = extent;
    *stride = static_cast<int>(rowBytes);
    return 1;
}

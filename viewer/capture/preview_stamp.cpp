#include "viewer/capture/preview_stamp.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/base/utf16.h"
#include "platform/media/interfaces/ivmr_mixer_bitmap9.h"
#include "platform/media/interfaces/ivmr_windowless_control9.h"
#include "platform/text/font_cache.h"
#include "platform/text/logfont.h"
#include "platform/text/text_out.h"
#include "viewer/capture/device_commands.h"

namespace {

constexpr LONG kTextHeight = 12;

LOGFONTW StampFont() {
    LOGFONTW font{};
    font.lfHeight = kTextHeight;
    font.lfWidth = 10;
    font.lfWeight = 400;
    font.lfCharSet = 0;
    // Hard-edged glyphs: an antialiased edge would blend towards the black colour key and show
    // as a dark fringe around the text.
    font.lfQuality = NONANTIALIASED_QUALITY;
    font.lfPitchAndFamily = 32;  // Swiss
    utf16::CopyTerminated(font.lfFaceName, 32, u"Arial");
    return font;
}

void CopyIcon(const BITMAP& icon, const gdi::ColorBitmap24& target, LONG left, LONG top) {
    if (!icon.bmBits || (icon.bmBitsPixel != 24 && icon.bmBitsPixel != 32)) return;
    const int bytesPerPixel = icon.bmBitsPixel / 8;
    for (LONG y = 0; y < icon.bmHeight; ++y) {
        const LONG ty = top + y;
        if (ty < 0 || ty >= target.height) continue;
        const BYTE* src = static_cast<const BYTE*>(icon.bmBits) + y * icon.bmWidthBytes;
        BYTE* dst = target.bits + (target.bottomUp ? target.height - 1 - ty : ty) * target.stride;
        for (LONG x = 0; x < icon.bmWidth; ++x) {
            const LONG tx = left + x;
            if (tx < 0 || tx >= target.width) continue;
            std::memcpy(dst + tx * 3, src + x * bytesPerPixel, 3);
        }
    }
}

}  // namespace

std::u16string StampTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%4d-%02d-%02d(%02d:%02d:%02d)", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return utf16::FromUtf8(text);
}

HRESULT SetChannelTitle(CaptureGraph* record, LPCWSTR text, int k) {
    if (!text || utf16::Length(text) > 256 || k < 0 || k > 3 || !record) return E_INVALIDARG;
    utf16::CopyTerminated(record->channelTitles[k], kChannelTitleUnits, text);
    if (!record->graph || !record->device) return E_FAIL;
    GetSignalMask(record, nullptr);
    return record->showTitle ? RefreshStamp(record, k) : S_OK;
}

HRESULT RefreshStamp(CaptureGraph* record, int k) {
    if (k < 0 || k > 3) return E_INVALIDARG;
    if (!record || !record->graph || !record->renderers[k]) return E_FAIL;
    const std::u16string time = StampTimeText();

    ComPtr<IVMRWindowlessControl9> control;
    HRESULT hr = record->renderers[k].As(&control);
    if (FAILED(hr)) return hr;
    RECT d{};
    hr = control->GetVideoPosition(nullptr, &d);
    if (FAILED(hr)) return hr;

    const LONG width = std::max<LONG>(d.right - d.left, 1);
    const LONG height = std::max<LONG>(d.bottom - d.top, 1);
    std::vector<BYTE> pixels(static_cast<std::size_t>(gdi::Color24Stride(width)) * height, 0);
    const gdi::ColorBitmap24 stamp{pixels.data(), width, height, gdi::Color24Stride(width), false};
    const gdi::TextColors colors{RGB(255, 255, 255), RGB(0, 0, 0), true};
    if (record->showTitle || record->showTime) {
        const std::shared_ptr<const gdi::Font> font = gdi::CreateFontIndirectW(StampFont());
        if (font && record->showTitle)
            gdi::DrawText24(*font, record->channelTitles[k], -1, RECT{0, 0, d.right, kTextHeight},
                            gdi::DT_LEFT, colors, stamp);
        if (font && record->showTime)
            gdi::DrawText24(*font, time.c_str(), -1,
                            RECT{0, d.bottom - kTextHeight, d.right, d.bottom}, gdi::DT_RIGHT,
                            colors, stamp);
    }
    if (record->showSnapIcon && record->snapIcon)
        CopyIcon(*record->snapIcon, stamp, 5, d.bottom - record->snapIcon->bmHeight);

    ComPtr<IVMRMixerBitmap9> mixer;
    hr = record->renderers[k].As(&mixer);
    if (FAILED(hr)) return hr;
    const BITMAP bitmap{0, width, height, stamp.stride, 1, 24, pixels.data()};
    VMR9AlphaBitmap alpha{};
    alpha.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey;
    alpha.pBitmap = &bitmap;
    alpha.rSrc = d;
    alpha.rDest = {0.0f, 0.0f, 1.0f, 1.0f};
    alpha.fAlpha = record->showTitle || record->showTime || record->showSnapIcon ? 1.0f : 0.0f;
    alpha.clrSrcKey = 0x000000;
    alpha.dwFilterMode = 0;
    return mixer->SetAlphaBitmap(&alpha);
}

HRESULT RefreshAllStamps(CaptureGraph* record) {
    if (!record || !record->graph || !record->device) return E_FAIL;
    GetSignalMask(record, nullptr);
    HRESULT hr = S_OK;
    for (int k = 0; k < 4; ++k) {
        hr = RefreshStamp(record, k);
        if (FAILED(hr)) return hr;
    }
    return hr;
}

namespace {

void SetFlag(CaptureGraph* record, BYTE CaptureGraph::*flag, bool on) {
    if (!record) return;
    const BYTE value = on ? 1 : 0;
    const bool changed = record->*flag != value;
    record->*flag = value;
    if (changed && record->graph) RefreshAllStamps(record);
}

}  // namespace

void SetTitleVisible(CaptureGraph* record, bool on) {
    SetFlag(record, &CaptureGraph::showTitle, on);
}
void SetTimeVisible(CaptureGraph* record, bool on) {
    SetFlag(record, &CaptureGraph::showTime, on);
}

bool SetSnapIndicator(CaptureGraph* record, bool on) {
    SetFlag(record, &CaptureGraph::showSnapIcon, on);
    return on;
}

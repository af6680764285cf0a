#include "overlay/qt_logfont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr double kPixelsPerPoint = 96.0 / 72.0;
}  // namespace

QFont QFontFromLogFont(const LOGFONTW& font) {
    QFont result;
    const std::size_t faceLength =
        std::find(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0') -
        std::begin(font.lfFaceName);
    if (faceLength > 0) {
        result.setFamily(QString::fromUtf16(font.lfFaceName, static_cast<qsizetype>(faceLength)));
    }
    if (font.lfHeight != 0) {
        const long long pixels = std::llabs(static_cast<long long>(font.lfHeight));
        result.setPixelSize(static_cast<int>(std::min<long long>(pixels, 0xFFFF)));
    }
    if (font.lfWeight > 0) {
        result.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(font.lfWeight, 1, 1000)));
    }
    result.setItalic(font.lfItalic != 0);
    result.setUnderline(font.lfUnderline != 0);
    result.setStrikeOut(font.lfStrikeOut != 0);
    return result;
}

LOGFONTW LogFontFromQFont(const QFont& font) {
    LOGFONTW result{};
    int pixels = font.pixelSize();
    if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * kPixelsPerPoint));
    result.lfHeight = -std::max(pixels, 1);
    result.lfWeight = std::clamp(static_cast<int>(font.weight()), 1, 1000);
    result.lfItalic = font.italic() ? 1 : 0;
    result.lfUnderline = font.underline() ? 1 : 0;
    result.lfStrikeOut = font.strikeOut() ? 1 : 0;
    result.lfCharSet = DEFAULT_CHARSET;
    result.lfQuality = DEFAULT_QUALITY;
    result.lfPitchAndFamily = font.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    const QString family = font.family();
    const qsizetype count = std::min<qsizetype>(family.size(), LF_FACESIZE - 1);
    for (qsizetype i = 0; i < count; ++i) result.lfFaceName[i] = family.at(i).unicode();
    return result;
}
